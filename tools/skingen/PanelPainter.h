#pragma once

#include "SkinImageTable.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace zq::skin {

/// Images with sentences: the map panels shown instead of the map (PNG with alpha, drawn centred on the
/// panel's grey) and the about box's title bar.
class PanelPainter {
public:
    enum class Sign { NotConnected, NoData };
    /// A panel card with its sign, a heading and an explanation in `families`.
    static QImage MapPanel(
        const SkinImage& image, Sign sign, const QStringList& lines, const QStringList& families);
    /// The about box's title bar with `title` in `families`.
    static QImage AboutTitle(const SkinImage& image, const QString& title, const QStringList& families);
};

} // namespace zq::skin
