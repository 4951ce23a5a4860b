#pragma once

#include <functional>

namespace zq {

/// Runs fn on the application's (GUI) thread: at once when called there, otherwise as a queued call.
/// Surfaces and widgets are only ever touched through this.
void RunOnGuiThread(std::function<void()> fn);

/// True on the application's thread (and when there is no application object at all).
bool OnGuiThread();

} // namespace zq
