#include "SkinGenerator.h"

#include "ButtonPainter.h"
#include "IconPainter.h"
#include "PanelPainter.h"
#include "PartsPainter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace zq::skin {

int SkinGenerator::WordStringId(const QString& name)
{
    // The words of the buttons' tool tips and of the about box. The All-channels button says "All" (131):
    // its tool tip (114) names both channels, which does not fit 43 pixels.
    static const QHash<QString, int> ids = {
        { QStringLiteral("channel-front"), 112 },
        { QStringLiteral("channel-rear"), 113 },
        { QStringLiteral("channel-all"), 131 },
        { QStringLiteral("category-all"), 131 },
        { QStringLiteral("category-event"), 132 },
        { QStringLiteral("category-normal"), 133 },
        { QStringLiteral("category-parking"), 134 },
        { QStringLiteral("rear-mirror"), 211 },
        { QStringLiteral("about-ok"), 103 },
        { QStringLiteral("about-title"), 109 },
    };
    return ids.value(name, 0);
}

QImage SkinGenerator::Render(const SkinImage& image) const
{
    const QString name = QString::fromLatin1(image.name);
    const QStringList families = SkinTexts::FontFamilies(image.language);
    QImage out;
    if (const int stringId = WordStringId(name); stringId != 0) {
        const QString words = m_texts.Word(image.language, stringId);
        out = name == QLatin1String("about-title") ? PanelPainter::AboutTitle(image, words, families)
                                                   : ButtonPainter::WordButton(image, words, families);
    } else if (name == QLatin1String("not-connected") || name == QLatin1String("no-data")) {
        const bool offline = name == QLatin1String("not-connected");
        const QStringList lines = m_texts.PanelLines(
            image.language, offline ? SkinTexts::Panel::NotConnected : SkinTexts::Panel::NoData);
        out = PanelPainter::MapPanel(
            image, offline ? PanelPainter::Sign::NotConnected : PanelPainter::Sign::NoData, lines, families);
    } else if (name == QLatin1String("about-second")) {
        out = ButtonPainter::PlateIconButton(image, QStringLiteral("details"));
    } else if (IconPainter::Has(name)) {
        out = ButtonPainter::IconButton(image);
    } else {
        out = PartsPainter::Draw(image);
    }
    if (out.isNull() || out.width() != image.width || out.height() != image.height) {
        out = QImage(image.width, image.height, QImage::Format_RGB32);
        out.fill(QColor(255, 0, 255));
    }
    return out;
}

std::vector<SkinGenerator::Rendered> SkinGenerator::RenderAll() const
{
    std::vector<Rendered> all;
    for (const SkinImage& image : SkinImages())
        all.push_back({ &image, Render(image) });
    return all;
}

bool SkinGenerator::Write(const std::vector<Rendered>& images, const QString& folder, QString* error)
{
    QDir root(folder);
    if (!root.mkpath(QStringLiteral("bmp")) || !root.mkpath(QStringLiteral("png"))) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/skin\">\n";
    for (const Rendered& r : images) {
        const bool png = r.image->kind == SkinKind::Png;
        const QString relative = png ? QStringLiteral("png/%1.png").arg(r.image->id)
                                     : QStringLiteral("bmp/%1.bmp").arg(r.image->id);
        // Bitmaps are opaque: the controls key colours out themselves where they need transparency.
        const QImage pixels = png ? r.pixels.convertToFormat(QImage::Format_ARGB32)
                                  : r.pixels.convertToFormat(QImage::Format_RGB32);
        if (!pixels.save(root.filePath(relative), png ? "PNG" : "BMP")) {
            *error = QStringLiteral("cannot write %1").arg(root.filePath(relative));
            return false;
        }
        qrc += "  <file>" + relative.toUtf8() + "</file>\n";
    }
    qrc += "</qresource>\n</RCC>\n";
    QSaveFile file(root.filePath(QStringLiteral("skin.qrc")));
    if (!file.open(QIODevice::WriteOnly) || file.write(qrc) != qrc.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1").arg(file.fileName());
        return false;
    }
    return true;
}

} // namespace zq::skin
