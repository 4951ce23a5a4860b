#include "ContactSheet.h"

#include "LanguageTable.h"
#include "SkinPreview.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace zq::skin {
namespace {

constexpr int kSheetWidthPx = 1800;
constexpr int kGapPx = 10;
constexpr int kLabelHeightPx = 26;
constexpr int kRowTitleWidthPx = 84;
const QColor kSheetBack(72, 74, 80);
const QColor kPanelGrey(51, 51, 51);

char StateLetter(SkinState state)
{
    switch (state) {
    case SkinState::Normal:
        return 'N';
    case SkinState::Pressed:
        return 'P';
    case SkinState::Hover:
        return 'H';
    case SkinState::Disabled:
        return 'D';
    case SkinState::Selected:
        return 'S';
    case SkinState::None:
        break;
    }
    return ' ';
}

int ScaleOf(const SkinImage& image)
{
    const int side = std::max(image.width, image.height);
    if (image.width >= 200)
        return 1;
    if (side <= 24)
        return 3;
    if (side <= 48)
        return 2;
    return 1;
}

struct Cell {
    const SkinGenerator::Rendered* rendered;
    QRect frame; // where the (scaled) image goes
    QRect label;
};

} // namespace

QImage ContactSheet::Build(const std::vector<SkinGenerator::Rendered>& images)
{
    QFont idFont(QStringLiteral("Liberation Sans"));
    idFont.setPixelSize(11);
    idFont.setBold(true);
    QFont nameFont(QStringLiteral("Liberation Sans"));
    nameFont.setPixelSize(9);
    const QFontMetrics idMetrics(idFont), nameMetrics(nameFont);

    // Lay the cells out in rows; a new language starts a new row with its name in front.
    std::vector<Cell> cells;
    std::vector<std::pair<int, int>> rowTitles; // y, language
    int x = kGapPx, y = kGapPx, rowHeight = 0;
    int language = -2;
    for (const auto& r : images) {
        const SkinImage& image = *r.image;
        const int scale = ScaleOf(image);
        const QString name
            = QStringLiteral("%1 %2").arg(QString::fromLatin1(image.name)).arg(StateLetter(image.state));
        const int width = std::max({ image.width * scale + 2,
            idMetrics.horizontalAdvance(QString::number(image.id)), nameMetrics.horizontalAdvance(name) });
        const int height = image.height * scale + 2 + kLabelHeightPx;
        const bool newLanguage = image.language != language;
        if (newLanguage || x + width > kSheetWidthPx - kGapPx) {
            if (x > kGapPx || rowHeight > 0) {
                y += rowHeight + kGapPx;
                x = kGapPx;
                rowHeight = 0;
            }
            if (newLanguage && image.language >= 0) {
                y += 6;
                rowTitles.push_back({ y, image.language });
            }
            if (image.language >= 0)
                x = kGapPx + kRowTitleWidthPx;
            language = image.language;
        }
        cells.push_back({ &r, QRect(x, y, image.width * scale + 2, image.height * scale + 2),
            QRect(x, y + image.height * scale + 3, width, kLabelHeightPx) });
        x += width + kGapPx;
        rowHeight = std::max(rowHeight, height);
    }
    const QImage preview = SkinPreview::Build(images);
    const int previewTop = y + rowHeight + kGapPx + 24;
    const int sheetHeight = previewTop + preview.height() + kGapPx;

    QImage sheet(kSheetWidthPx, sheetHeight, QImage::Format_RGB32);
    sheet.fill(kSheetBack);
    QPainter p(&sheet);
    for (const Cell& cell : cells) {
        const SkinImage& image = *cell.rendered->image;
        const int scale = ScaleOf(image);
        p.fillRect(cell.frame, QColor(140, 142, 148));
        const QRect inner = cell.frame.adjusted(1, 1, -1, -1);
        if (image.kind == SkinKind::Png)
            p.fillRect(inner, kPanelGrey);
        p.drawImage(inner, cell.rendered->pixels.scaled(image.width * scale, image.height * scale));
        p.setPen(QColor(240, 240, 240));
        p.setFont(idFont);
        p.drawText(cell.label.topLeft() + QPoint(0, idMetrics.ascent()), QString::number(image.id));
        p.setPen(QColor(200, 202, 206));
        p.setFont(nameFont);
        p.drawText(cell.label.topLeft() + QPoint(0, idMetrics.height() + nameMetrics.ascent()),
            QStringLiteral("%1 %2").arg(QString::fromLatin1(image.name)).arg(StateLetter(image.state)));
    }
    QFont titleFont(QStringLiteral("Liberation Sans"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(QColor(255, 255, 255));
    for (const auto& [titleY, lang] : rowTitles)
        p.drawText(
            QPoint(kGapPx, titleY + 14), QStringLiteral("%1 %2").arg(lang).arg(LanguageLibraryName(lang)));
    p.drawText(QPoint(kGapPx, previewTop - 8), QStringLiteral("In place, as the controls draw them"));
    p.drawImage(kGapPx, previewTop, preview);
    return sheet;
}

} // namespace zq::skin
