#pragma once

#include "SkinImageTable.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace zq::skin {

/// Buttons of the skin: icon buttons in the four looks of the main window (top bar, window buttons,
/// round transport buttons, bare 24-pixel buttons) and word buttons that carry a text. Every state has
/// its own plate and icon colour, so normal, hover, pressed, disabled and selected never look alike.
class ButtonPainter {
public:
    /// The icon button of a table entry (its name is the icon's name).
    static QImage IconButton(const SkinImage& image);
    /// A word button of the entry's size and state showing `text` in one of `families`.
    static QImage WordButton(const SkinImage& image, const QString& text, const QStringList& families);
    /// A button of the entry's size and state showing icon `icon` in the word-button plate.
    static QImage PlateIconButton(const SkinImage& image, const QString& icon);
};

} // namespace zq::skin
