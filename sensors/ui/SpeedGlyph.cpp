#include "SpeedGlyph.h"

#include <cmath>

namespace zq {

int SpeedGlyph::TenthsForSpeed(double speed)
{
    const double tenths = speed * 10.0;
    // The comparisons are false for not-a-number, which then shows as 0 as well.
    if (!(tenths > 0.0))
        return 0;
    if (!(tenths < double(kMaxTenths) + 1.0))
        return kMaxTenths;
    return int(tenths);
}

QVector<SpeedGlyph> SpeedGlyph::ForSpeed(double speed)
{
    const int v = TenthsForSpeed(speed);
    const SpeedGlyph point { kPointId, kPointXPx };
    if (v <= 9)
        return { SpeedGlyph { kDigitZeroId, kPlaceXPx[2] }, SpeedGlyph { kDigitZeroId + v, kPlaceXPx[3] },
            point };

    // The four places of the right-aligned number; leading places stay empty until the first non-zero
    // digit, every digit from there on is drawn, zeros included. The point always stands between the
    // units and the tenths, so there is one for any number.
    const int places[4] = { v / 1000 % 10, v / 100 % 10, v / 10 % 10, v % 10 };
    QVector<SpeedGlyph> glyphs;
    bool started = false;
    for (int i = 0; i < 4; ++i) {
        if (!started && places[i] == 0)
            continue;
        started = true;
        glyphs.append(SpeedGlyph { kDigitZeroId + places[i], kPlaceXPx[i] });
    }
    glyphs.append(point);
    return glyphs;
}

} // namespace zq
