#include "ButtonPainter.h"

#include "IconPainter.h"
#include "SkinPalette.h"
#include "WordBreaker.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace zq::skin {
namespace {

// Top-bar buttons stand at y 9 of the window, below the first 9 rows of the top tile.
constexpr int kTopButtonYPx = 9;
constexpr double kIconBoxPx = 20.0;

enum class Look { TopBar, Window, Round, Bare, Plate };

Look LookOf(const SkinImage& image)
{
    const QString name = QString::fromLatin1(image.name);
    if (name == QLatin1String("map-close") || name == QLatin1String("map"))
        return Look::Plate;
    if (image.width == 30 && image.height == 24)
        return Look::Window;
    if (image.width == 32 && image.height == 31)
        return Look::TopBar;
    if (image.width == 24)
        return Look::Bare;
    return Look::Round;
}

QColor BackdropOf(const SkinImage& image)
{
    const QString name = QString::fromLatin1(image.name);
    if (name == QLatin1String("map-close"))
        return kMapDialogBack;
    if (name == QLatin1String("map") || name.startsWith(QLatin1String("category-")))
        return kMapPanelBack;
    if (LookOf(image) == Look::Round || LookOf(image) == Look::Bare)
        return kPlaybackBand;
    return kWindowBack;
}

void FillBackdrop(QImage& out, const SkinImage& image, Look look)
{
    if (look == Look::TopBar || look == Look::Window) {
        QPainter p(&out);
        for (int y = 0; y < out.height(); ++y)
            p.fillRect(0, y, out.width(), 1, TopTileColor(y + kTopButtonYPx));
        return;
    }
    out.fill(BackdropOf(image));
}

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// The plate behind a control in one state; `hidden` states draw no plate (the bare top-bar look).
void DrawPlate(QPainter& p, const QPainterPath& shape, SkinState state, bool closeButton = false)
{
    const QRectF r = shape.boundingRect();
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (state) {
    case SkinState::Hover:
        if (closeButton) {
            p.setPen(QPen(kCloseHover.lighter(130), 1));
            p.setBrush(Vertical(r, kCloseHover.lighter(115), kCloseHover.darker(120)));
        } else {
            p.setPen(QPen(kAccentBright, 1));
            p.setBrush(Vertical(r, kPlateHoverTop, kPlateHoverBottom));
        }
        break;
    case SkinState::Pressed:
        p.setPen(QPen(closeButton ? kCloseHover : kAccent, 1));
        p.setBrush(Vertical(r, closeButton ? kCloseHover.darker(200) : kPlatePressedTop,
            closeButton ? kCloseHover.darker(140) : kPlatePressedBottom));
        break;
    case SkinState::Disabled:
        p.setPen(QPen(kPlateDisabledBorder, 1));
        p.setBrush(kPlateDisabled);
        break;
    case SkinState::Selected:
        p.setPen(QPen(kAccentBright, 1));
        p.setBrush(Vertical(r, kPlateSelectedTop, kPlateSelectedBottom));
        break;
    case SkinState::Normal:
    case SkinState::None:
        p.setPen(QPen(kPlateBorder, 1));
        p.setBrush(Vertical(r, kPlateTop, kPlateBottom));
        break;
    }
    p.drawPath(shape);
    if (state == SkinState::Normal || state == SkinState::Hover) {
        // A one-pixel shine under the top edge gives the plate its raised look; pressed plates lack it.
        p.save();
        p.setClipPath(shape);
        p.setPen(QPen(QColor(255, 255, 255, state == SkinState::Hover ? 46 : 30), 1));
        p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
        p.restore();
    }
}

QColor IconColour(SkinState state)
{
    switch (state) {
    case SkinState::Hover:
    case SkinState::Selected:
        return kIconHover;
    case SkinState::Pressed:
        return kAccentBright;
    case SkinState::Disabled:
        return kIconDisabled;
    default:
        return kIconNormal;
    }
}

QPainterPath RoundedRect(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath Circle(const QPointF& centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

struct WordLayout {
    QStringList lines;
    QFont font;
    double squeeze = 1.0; // horizontal scale for words that are still too wide
};

QFont WordFont(const QStringList& families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

double WidestLine(const QFont& font, const QStringList& lines)
{
    double widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, QFontMetricsF(font).horizontalAdvance(line));
    return widest;
}

// One line at the largest size that fits, or slightly narrowed at 9 pixels; else, on buttons tall
// enough, two lines; else one line at the smallest size, narrowed to the button.
WordLayout FitWords(const QString& text, const QStringList& families, int width, int height)
{
    constexpr int kSidePaddingPx = 3;
    constexpr int kSmallestPx = 8;
    constexpr int kTwoLineHeightPx = 23;
    const double room = width - 2 * kSidePaddingPx;
    const int largest = height <= 19 ? 11 : (height <= 23 ? 12 : 14);
    constexpr int kSmallestSinglePx = 9;
    constexpr double kMildSqueeze = 0.85;
    for (int px = largest; px >= kSmallestSinglePx; --px) {
        const QFont font = WordFont(families, px);
        if (QFontMetricsF(font).horizontalAdvance(text) <= room)
            return { { text }, font, 1.0 };
    }
    const QFont nine = WordFont(families, kSmallestSinglePx);
    if (const double w = QFontMetricsF(nine).horizontalAdvance(text); w * kMildSqueeze <= room)
        return { { text }, nine, room / w };
    WordLayout single { { text }, WordFont(families, kSmallestPx), 1.0 };
    single.squeeze = std::min(1.0, room / WidestLine(single.font, single.lines));
    const QStringList two = height >= kTwoLineHeightPx ? WordBreaker::SplitInTwo(text) : QStringList();
    if (two.size() == 2) {
        for (int px = largest; px >= kSmallestPx; --px) {
            const QFont font = WordFont(families, px);
            if (QFontMetricsF(font).height() * 2 > height - 1)
                continue;
            const double widest = WidestLine(font, two);
            if (widest <= room)
                return { two, font, 1.0 };
            if (px == kSmallestPx && room / widest > single.squeeze)
                return { two, font, room / widest };
        }
    }
    return single;
}

} // namespace

QImage ButtonPainter::IconButton(const SkinImage& image)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    const Look look = LookOf(image);
    FillBackdrop(out, image, look);
    const QString icon = QString::fromLatin1(image.name);
    const SkinState state = image.state;
    const bool closeButton = icon == QLatin1String("close") || icon == QLatin1String("map-close");
    const QPointF pressOffset = state == SkinState::Pressed ? QPointF(1, 1) : QPointF(0, 0);

    QPainter p(&out);
    QRectF box;
    switch (look) {
    case Look::TopBar:
        if (state == SkinState::Hover || state == SkinState::Pressed)
            DrawPlate(p, RoundedRect(QRectF(1.5, 1.5, 29, 28), 4), state);
        box = QRectF(6, 5, kIconBoxPx, kIconBoxPx);
        break;
    case Look::Window:
        if (state == SkinState::Hover || state == SkinState::Pressed)
            DrawPlate(p, RoundedRect(QRectF(1.5, 1.5, 27, 21), 3), state, closeButton);
        box = QRectF(5, 3, kIconBoxPx, kIconBoxPx);
        break;
    case Look::Plate:
        if (image.width == 30)
            DrawPlate(p, RoundedRect(QRectF(1.5, 1.5, 27, 21), 3), state, closeButton);
        else
            DrawPlate(p, RoundedRect(QRectF(1.5, 1.5, 29, 29), 5), state);
        box = image.width == 30 ? QRectF(5, 3, kIconBoxPx, kIconBoxPx) : QRectF(6, 6, kIconBoxPx, kIconBoxPx);
        break;
    case Look::Round:
        DrawPlate(p, Circle(QPointF(16, 16), 14.5), state);
        box = QRectF(6, 6, kIconBoxPx, kIconBoxPx);
        break;
    case Look::Bare:
        if (state == SkinState::Pressed)
            DrawPlate(p, Circle(QPointF(12, 12), 11), state);
        box = QRectF(4, 4, 16, 16);
        break;
    }
    QColor colour = IconColour(state);
    if (closeButton && state == SkinState::Pressed)
        colour = kIconHover;
    IconPainter::Draw(p, icon, box.translated(pressOffset), colour);
    return out;
}

QImage ButtonPainter::PlateIconButton(const SkinImage& image, const QString& icon)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    out.fill(BackdropOf(image));
    QPainter p(&out);
    DrawPlate(p, RoundedRect(QRectF(0.5, 0.5, image.width - 1, image.height - 1), 4), image.state);
    const double side = std::min(image.height - 8, 20);
    QRectF box((image.width - side) / 2, (image.height - side) / 2, side, side);
    if (image.state == SkinState::Pressed)
        box.translate(1, 1);
    IconPainter::Draw(p, icon, box, IconColour(image.state));
    return out;
}

QImage ButtonPainter::WordButton(const SkinImage& image, const QString& text, const QStringList& families)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    out.fill(BackdropOf(image));
    QPainter p(&out);
    DrawPlate(p, RoundedRect(QRectF(0.5, 0.5, image.width - 1, image.height - 1), 3), image.state);

    const WordLayout layout = FitWords(text, families, image.width, image.height);
    p.setFont(layout.font);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QRectF area(0, 0, image.width, image.height);
    if (image.state == SkinState::Pressed)
        area.translate(1, 1);
    p.translate(area.center());
    p.scale(layout.squeeze, 1.0);
    p.translate(-area.center());
    // Selected words are white on the accent; normal ones light grey; disabled ones barely there.
    const QColor colour
        = image.state == SkinState::Selected ? QColor(255, 255, 255) : IconColour(image.state);
    const double lineHeight = QFontMetricsF(layout.font).height();
    const double top = area.top() + (area.height() - lineHeight * layout.lines.size()) / 2.0;
    for (int i = 0; i < layout.lines.size(); ++i) {
        const QRectF line(area.left(), top + i * lineHeight, area.width(), lineHeight);
        if (image.state != SkinState::Disabled) {
            p.setPen(QColor(0, 0, 0, 150));
            p.drawText(line.translated(0, 1), Qt::AlignCenter | Qt::TextDontClip, layout.lines[i]);
        }
        p.setPen(colour);
        p.drawText(line, Qt::AlignCenter | Qt::TextDontClip, layout.lines[i]);
    }
    return out;
}

} // namespace zq::skin
