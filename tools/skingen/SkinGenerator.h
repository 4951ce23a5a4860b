#pragma once

#include "SkinImageTable.h"
#include "SkinTexts.h"

#include <QImage>
#include <QString>
#include <vector>

namespace zq::skin {

/// Draws every image of the skin table and writes them as "bmp/<id>.bmp" and "png/<id>.png" under one
/// folder, with the resource list "skin.qrc" that compiles them in under ":/skin".
class SkinGenerator {
public:
    explicit SkinGenerator(const SkinTexts& texts)
        : m_texts(texts)
    {
    }

    /// The image of one table entry, at the entry's size (a magenta square for an entry nobody draws,
    /// so a forgotten image shows at once).
    QImage Render(const SkinImage& image) const;

    struct Rendered {
        const SkinImage* image;
        QImage pixels;
    };
    /// Renders the whole table in table order.
    std::vector<Rendered> RenderAll() const;

    /// Writes the images and skin.qrc into `folder`; false with a message when a file cannot be written.
    static bool Write(const std::vector<Rendered>& images, const QString& folder, QString* error);

    /// The string-table identifier of the words on a per-language button (0 for images without words).
    static int WordStringId(const QString& name);

private:
    const SkinTexts& m_texts;
};

} // namespace zq::skin
