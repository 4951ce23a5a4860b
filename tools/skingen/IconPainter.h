#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace zq::skin {

/// The vector icons of the skin. Each is designed on a 20 × 20 grid with its edges on whole pixels, so
/// a 20-pixel box (the 32-pixel buttons) draws it crisply at 1:1; other boxes scale it.
class IconPainter {
public:
    /// Draws icon `name` ("play", "open", "sound", ...) into `box`; false for an unknown name.
    static bool Draw(QPainter& painter, const QString& name, const QRectF& box, const QColor& color);
    /// True when `name` is an icon of this painter.
    static bool Has(const QString& name);
};

} // namespace zq::skin
