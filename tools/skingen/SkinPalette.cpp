#include "SkinPalette.h"

#include <algorithm>
#include <cmath>

namespace zq::skin {

QColor TopTileColor(int y)
{
    constexpr int kTileHeightPx = 33;
    if (y <= 0)
        return QColor(92, 95, 102);
    if (y == 1)
        return QColor(30, 31, 34);
    const double t = std::clamp(double(y - 2) / double(kTileHeightPx - 3), 0.0, 1.0);
    const double ease = 1.0 - std::pow(1.0 - t, 1.6);
    const auto mix = [ease](int from, int to) { return int(std::lround(from + (to - from) * ease)); };
    return QColor(mix(56, kWindowBack.red()), mix(58, kWindowBack.green()), mix(64, kWindowBack.blue()));
}

} // namespace zq::skin
