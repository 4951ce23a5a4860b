#pragma once

#include <QPoint>
#include <QVector>

namespace zq {

/// The plot rectangle of the G-sensor graph for a client area, and where each curve point falls in it.
/// Windowless arithmetic: the main window uses the plot edges to line the position slider up with the
/// graph's time axis.
struct GsensorGeometry {
    static constexpr int kDivisions = 12;
    static constexpr int kLeftMarginPx = 20;
    static constexpr int kTopMarginPx = 10;
    static constexpr int kRightMarginPx = 10;
    static constexpr int kBottomMarginPx = 5;
    /// The position range that the plot's width stands for, whatever the recording's duration.
    static constexpr unsigned kSpanMs = 60000;

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int gridStep = 0;
    int bandOffset = 0;
    int half = 0;
    int mid = 0;

    /// Geometry for a client area of width x height; right is snapped to a whole number of grid steps.
    static GsensorGeometry ForClientSize(int width, int height);

    /// The vertex of one axis value: sample `index` of `count` spread evenly over the span.
    QPoint CurvePoint(int value, int index, int count) const;

    /// The whole polyline of one axis: from (left, mid) through every sample, closed by a line to
    /// (right, last y). Empty when there are no values.
    QVector<QPoint> Curve(const QVector<int>& values) const;
};

} // namespace zq
