#include "MapDlgGeometry.h"

#include "BorderEdges.h"

#include <algorithm>

namespace zq {

MapDlgLayout LayOutMapDlg(int width, int height)
{
    MapDlgLayout layout;
    layout.closeButton = QRect(width - 40, 5, 30, 24);
    layout.caption = QRect(5, 10, 50, 20);
    layout.position = QRect(5, height - 26, 300, 20);
    layout.panel = QRect(5, 35, width - 10, height - 65);
    return layout;
}

Qt::Edges MapDlgHitTest(int x, int y, int width, int height)
{
    return BorderEdges(QSize(width, height), QPoint(x, y), kMapDlgBorder);
}

QRect ResizeMapDlg(const QRect& start, Qt::Edges edges, int dx, int dy)
{
    int left = start.left();
    int top = start.top();
    int right = start.left() + start.width();
    int bottom = start.top() + start.height();
    if (edges & Qt::LeftEdge)
        left = std::min(left + dx, right - kMapDlgMinWidth);
    if (edges & Qt::RightEdge)
        right = std::max(right + dx, left + kMapDlgMinWidth);
    if (edges & Qt::TopEdge)
        top = std::min(top + dy, bottom - kMapDlgMinHeight);
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + dy, top + kMapDlgMinHeight);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace zq
