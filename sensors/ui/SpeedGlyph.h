#pragma once

#include <QVector>

namespace zq {

/// One bitmap of the speed display: a digit or the decimal point at its x position (all stand at the
/// same y). The layout is windowless so that it can be checked without painting.
struct SpeedGlyph {
    static constexpr int kBackgroundKmhId = 20011;
    static constexpr int kBackgroundMphId = 20053;
    static constexpr int kPointId = 20012;
    static constexpr int kDigitZeroId = 20014; // digits 0 to 9 are 20014 to 20023

    static constexpr int kTopPx = 11;
    static constexpr int kDigitWidthPx = 10;
    static constexpr int kPointWidthPx = 6;
    static constexpr int kHeightPx = 18;
    static constexpr int kPointXPx = 55;
    /// x of the thousands, hundreds and tens of the units, and the units of the tenths.
    static constexpr int kPlaceXPx[4] = { 20, 32, 44, 60 };
    /// The largest tenths value the four places can show (999.9).
    static constexpr int kMaxTenths = 9999;

    int imageId = 0;
    int x = 0;

    bool IsPoint() const { return imageId == kPointId; }
    /// The digit 0 to 9 of a digit glyph, -1 for the point.
    int Digit() const { return IsPoint() ? -1 : imageId - kDigitZeroId; }

    /// The speed in tenths as shown: truncated toward zero, negative and not-a-number as 0, and values
    /// beyond the four places held at 999.9 rather than cut to their first four digits.
    static int TenthsForSpeed(double speed);

    /// The glyphs for a speed: the digits from the first non-zero one on, left to right, then the point
    /// (which stands between the units and the tenths).
    static QVector<SpeedGlyph> ForSpeed(double speed);
};

} // namespace zq
