#pragma once

#include "CGPSData.h"

#include <QString>
#include <QVector>

namespace zq {

/// The playback position (ms) from which the fix at `index` of `count` shows, by the same equal-slices
/// rule that maps a position to a fix: 0 for the first fix, else just past the end of the slice before.
qint64 PositionOfFix(qsizetype index, qsizetype count, qint64 durationMs);

/// The page's track: a JSON array of {"t": position ms, "lat": degrees, "lon": degrees} for every valid
/// fix, in recording order. Invalid fixes, and valid ones at (0, 0) or out of range, are left out.
QString TrackJson(const QVector<CGPSData>& fixes, qint64 durationMs);

} // namespace zq
