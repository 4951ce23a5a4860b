#include "BorderEdges.h"

namespace zq {

Qt::Edges BorderEdges(const QSize& window, const QPoint& p, int border)
{
    const bool left = p.x() < border;
    const bool top = p.y() < border;
    const bool right = p.x() >= window.width() - border;
    const bool bottom = p.y() >= window.height() - border;
    // Corners are tested first, then the edges in the order left, top, right, bottom.
    if (top && left)
        return Qt::TopEdge | Qt::LeftEdge;
    if (top && right)
        return Qt::TopEdge | Qt::RightEdge;
    if (bottom && left)
        return Qt::BottomEdge | Qt::LeftEdge;
    if (bottom && right)
        return Qt::BottomEdge | Qt::RightEdge;
    if (left)
        return Qt::LeftEdge;
    if (top)
        return Qt::TopEdge;
    if (right)
        return Qt::RightEdge;
    if (bottom)
        return Qt::BottomEdge;
    return {};
}

} // namespace zq
