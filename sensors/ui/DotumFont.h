#pragma once

#include <QFont>

namespace zq {

/// The face the sensor displays write in ("돋움", Korean Dotum, which Linux draws with NanumGothic), at a
/// pixel height and normal weight.
QFont DotumFont(int pixelHeight);

} // namespace zq
