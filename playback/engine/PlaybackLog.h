#pragma once

#include "HResult.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPlayback)

namespace zq {

/// Writes "FAIL %d" with the result in signed decimal to the playback category; returns hr so a caller
/// can write `return LogFailure(hr);`.
HRESULT LogFailure(HRESULT hr);

} // namespace zq
