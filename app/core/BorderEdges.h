#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>

namespace zq {

/// The edges of a frameless window whose resize border (border pixels wide) lies under p, in the window's
/// client coordinates: a corner when p is in two borders at once, no edge inside.
Qt::Edges BorderEdges(const QSize& window, const QPoint& p, int border);

} // namespace zq
