#include "PanelPainter.h"

#include "SkinPalette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zq::skin {
namespace {

const QColor kSignColour(150, 154, 162);
const QColor kSlashColour(226, 76, 62);

QFont FontOf(const QStringList& families, int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The largest size up to `pixelSize` at which `text` wraps into `box`.
QFont FittedFont(
    const QStringList& families, int pixelSize, bool bold, const QString& text, const QRectF& box)
{
    constexpr int kSmallestPx = 9;
    for (;; --pixelSize) {
        const QFont font = FontOf(families, pixelSize, bold);
        const QRectF needed
            = QFontMetricsF(font).boundingRect(box, Qt::AlignHCenter | Qt::TextWordWrap, text);
        if ((needed.width() <= box.width() && needed.height() <= box.height()) || pixelSize == kSmallestPx)
            return font;
    }
}

void DrawGlobe(QPainter& p, const QPointF& c, double r)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSignColour, 2.5));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kSignColour, 1.8));
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawArc(QRectF(c.x() - r * 0.9, c.y() - r * 0.9, r * 1.8, r * 0.8), 20 * 16, 140 * 16);
    p.drawArc(QRectF(c.x() - r * 0.9, c.y() + r * 0.1, r * 1.8, r * 0.8), -20 * 16, -140 * 16);
}

void DrawPin(QPainter& p, const QPointF& c, double r)
{
    QPainterPath pin;
    pin.setFillRule(Qt::OddEvenFill);
    const QPointF head(c.x(), c.y() - r * 0.3);
    pin.moveTo(c.x(), c.y() + r);
    pin.arcTo(QRectF(head.x() - r * 0.62, head.y() - r * 0.62, r * 1.24, r * 1.24), 220, -260);
    pin.closeSubpath();
    pin.addEllipse(head, r * 0.24, r * 0.24);
    p.setPen(Qt::NoPen);
    p.setBrush(kSignColour);
    p.drawPath(pin);
    p.setPen(QPen(kSignColour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(c.x() - r * 0.8, c.y() + r * 0.78, r * 1.6, r * 0.44));
}

void DrawSlash(QPainter& p, const QPointF& c, double r)
{
    p.setPen(QPen(QColor(36, 37, 40), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    p.setPen(QPen(kSlashColour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
}

} // namespace

QImage PanelPainter::MapPanel(
    const SkinImage& image, Sign sign, const QStringList& lines, const QStringList& families)
{
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(78, 80, 86), 1));
    QLinearGradient card(0, 0, 0, image.height);
    card.setColorAt(0, QColor(40, 41, 45, 245));
    card.setColorAt(1, QColor(28, 29, 32, 245));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(0.5, 0.5, image.width - 1, image.height - 1), 10, 10);

    const QPointF signCentre(image.width / 2.0, 38);
    constexpr double kSignRadius = 20;
    if (sign == Sign::NotConnected)
        DrawGlobe(p, signCentre, kSignRadius);
    else
        DrawPin(p, signCentre, kSignRadius);
    DrawSlash(p, signCentre, kSignRadius * 0.95);

    const QString heading = lines.value(0);
    const QString detail = lines.value(1);
    const QRectF headingBox(10, 66, image.width - 20, 40);
    const QRectF detailBox(12, 108, image.width - 24, image.height - 114);
    p.setFont(FittedFont(families, 16, true, heading, headingBox));
    p.setPen(QColor(228, 230, 234));
    p.drawText(headingBox, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, heading);
    p.setFont(FittedFont(families, 12, false, detail, detailBox));
    p.setPen(kTextDim);
    p.drawText(detailBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, detail);
    return out;
}

QImage PanelPainter::AboutTitle(const SkinImage& image, const QString& title, const QStringList& families)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    QPainter p(&out);
    QLinearGradient bar(0, 0, 0, image.height);
    bar.setColorAt(0, QColor(58, 60, 66));
    bar.setColorAt(1, QColor(22, 23, 26));
    p.fillRect(out.rect(), bar);
    p.fillRect(QRect(0, 0, image.width, 1), QColor(96, 99, 106));
    p.fillRect(QRect(0, image.height - 2, image.width, 2), kAccent);

    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF lens(15, 13);
    p.setPen(QPen(QColor(150, 154, 162), 2));
    p.setBrush(QColor(12, 40, 46));
    p.drawEllipse(lens, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(lens - QPointF(2, 2), 2, 1.5);

    QFont brand = FontOf({ QStringLiteral("Liberation Sans") }, 11, true);
    p.setFont(brand);
    const double brandWidth = QFontMetricsF(brand).horizontalAdvance(QStringLiteral("ZQ481K"));
    p.setPen(QColor(120, 124, 132));
    p.drawText(QRectF(image.width - brandWidth - 10, 0, brandWidth + 2, image.height - 2), Qt::AlignVCenter,
        QStringLiteral("ZQ481K"));

    const QRectF textBox(30, 0, image.width - 30 - brandWidth - 18, image.height - 2);
    int size = 14;
    QFont font = FontOf(families, size, true);
    while (size > 9 && QFontMetricsF(font).horizontalAdvance(title) > textBox.width())
        font = FontOf(families, --size, true);
    p.setFont(font);
    p.setPen(QColor(238, 240, 244));
    p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft,
        QFontMetricsF(font).elidedText(title, Qt::ElideRight, textBox.width()));
    return out;
}

} // namespace zq::skin
