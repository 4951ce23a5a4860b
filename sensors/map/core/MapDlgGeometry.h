#pragma once

#include <QRect>
#include <QSize>

// Where the floating map window's parts go, and which border the pointer is on. Windowless arithmetic.
namespace zq {

inline constexpr int kMapDlgMinWidth = 300;
inline constexpr int kMapDlgMinHeight = 300;
inline constexpr int kMapDlgBorder = 10;

struct MapDlgLayout {
    QRect closeButton;
    QRect caption; ///< text 1202
    QRect position; ///< text 1203
    QRect panel;
};

/// The layout for a client area of width by height.
MapDlgLayout LayOutMapDlg(int width, int height);

/// The border under a point of a window of width by height: corners first (10 by 10), then the left,
/// top, right and bottom strips; no edge (empty) inside.
Qt::Edges MapDlgHitTest(int x, int y, int width, int height);

/// The geometry after dragging `edges` of `start` by (dx, dy), never smaller than the minimum; the
/// opposite edges stay where they are.
QRect ResizeMapDlg(const QRect& start, Qt::Edges edges, int dx, int dy);

} // namespace zq
