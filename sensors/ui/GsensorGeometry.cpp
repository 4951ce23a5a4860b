#include "GsensorGeometry.h"

#include <algorithm>

namespace zq {

namespace {
// A value of about 63.5 (2 g at 1/32 g a unit) reaches the edge of the plot.
constexpr double kUnitsToHalfPlot = 0.0315;
// The recorder's axis values run from -256 to 256; anything beyond is held there so that a stray
// value cannot overflow the pixel arithmetic.
constexpr int kMaxAxisValue = 256;
} // namespace

GsensorGeometry GsensorGeometry::ForClientSize(int width, int height)
{
    GsensorGeometry g;
    g.left = kLeftMarginPx;
    g.top = kTopMarginPx;
    g.right = width - kRightMarginPx;
    g.bottom = height - kBottomMarginPx;
    // Integer division truncates toward zero, so a client area narrower than 42 gives step 0.
    g.gridStep = (g.right - g.left) / kDivisions;
    g.right = g.left + kDivisions * g.gridStep;
    g.bandOffset = (g.bottom - g.top) / 4 + 5;
    g.half = (g.bottom - g.top) / 2;
    g.mid = g.top + g.half;
    return g;
}

QPoint GsensorGeometry::CurvePoint(int value, int index, int count) const
{
    // Unsigned arithmetic as the recorder's viewer always did: with more samples than the span has
    // milliseconds every sample lands on the left edge.
    const unsigned step = count > 0 ? kSpanMs / unsigned(count) : 0u;
    const unsigned t = step * unsigned(index + 1);
    const int clamped = std::clamp(value, -kMaxAxisValue, kMaxAxisValue);
    const int y = int(mid - clamped * kUnitsToHalfPlot * (half * 0.5));
    const int x = int(left + t * ((right - left) / double(kSpanMs)));
    return QPoint(x, y);
}

QVector<QPoint> GsensorGeometry::Curve(const QVector<int>& values) const
{
    QVector<QPoint> points;
    if (values.isEmpty())
        return points;
    const int count = int(values.size());
    points.reserve(count + 2);
    points.append(QPoint(left, mid));
    int lastY = mid;
    for (int i = 0; i < count; ++i) {
        const QPoint p = CurvePoint(values.at(i), i, count);
        points.append(p);
        lastY = p.y();
    }
    points.append(QPoint(right, lastY));
    return points;
}

} // namespace zq
