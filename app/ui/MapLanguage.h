#pragma once

class QWidget;

namespace zq {

/// Hands the interface language to the map area the window holds (its stand-in panels and the floating
/// map window), when it holds one.
void ApplyMapLanguage(QWidget* window, int language);

} // namespace zq
