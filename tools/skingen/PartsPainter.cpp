#include "PartsPainter.h"

#include "SkinPalette.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <cmath>
#include <functional>
#include <map>

namespace zq::skin {
namespace {

QImage Blank(const SkinImage& image, const QColor& fill)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    out.fill(fill);
    return out;
}

// Flattens an antialiased shape onto the colour it will stand on and puts `key` where the shape left
// nothing, so the control's colour-keyed copy shows the shape with clean edges.
QImage Keyed(const QImage& shape, const QColor& under, QRgb key)
{
    QImage out(shape.size(), QImage::Format_RGB32);
    for (int y = 0; y < shape.height(); ++y) {
        for (int x = 0; x < shape.width(); ++x) {
            const QRgb s = shape.pixel(x, y);
            const int a = qAlpha(s);
            if (a == 0) {
                out.setPixel(x, y, key);
                continue;
            }
            const auto mix = [a](int top, int bottom) { return (top * a + bottom * (255 - a) + 127) / 255; };
            QRgb c
                = qRgb(mix(qRed(s), under.red()), mix(qGreen(s), under.green()), mix(qBlue(s), under.blue()));
            if ((c & 0xffffff) == (key & 0xffffff))
                c = qRgb(qRed(c) ^ 1, qGreen(c), qBlue(c)); // never the key by accident
            out.setPixel(x, y, c);
        }
    }
    return out;
}

QImage Shape(const SkinImage& image)
{
    QImage shape(image.width, image.height, QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    return shape;
}

QLinearGradient Vertical(double top, double bottom, const QColor& from, const QColor& to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

// Position slider: a groove with rounded ends; the middle (x 10..19) is the same in every column, so
// the control can tile it.
QImage PositionChannel(const SkinImage& image)
{
    QImage out = Blank(image, kWindowBack);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(62, 64, 70), 1));
    p.setBrush(QColor(26, 27, 30));
    p.drawRoundedRect(QRectF(0.5, 0.5, image.width - 1, 8), 4, 4);
    return out;
}

QImage PositionPlayed(const SkinImage& image)
{
    QImage out = Blank(image, kAccent);
    const QColor rows[] = { { 110, 232, 238 }, { 50, 205, 214 }, { 0, 176, 186 }, { 0, 156, 166 },
        { 0, 138, 148 }, { 0, 120, 130 }, { 0, 100, 110 } };
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            out.setPixel(x, y, (x == 2 ? rows[y].darker(112) : rows[y]).rgb());
    return out;
}

QImage PositionThumb(const SkinImage& image)
{
    QImage out = Blank(image, kWindowBack);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(120, 124, 130), 1));
    p.setBrush(Vertical(0, image.height, QColor(228, 230, 234), QColor(150, 154, 160)));
    p.drawRoundedRect(QRectF(0.5, 0.5, image.width - 1, image.height - 1), 3, 3);
    p.fillRect(QRect(4, 5, 3, 12), kAccentDark);
    p.fillRect(QRect(5, 5, 1, 12), kAccentBright);
    return out;
}

QImage SimpleChannel(const SkinImage& image)
{
    QImage out = Blank(image, kPlaybackBand);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(72, 74, 80));
    p.drawRoundedRect(QRectF(1, 3, image.width - 2, 4), 2, 2);
    p.setBrush(QColor(10, 10, 11));
    p.drawRoundedRect(QRectF(1, 2, image.width - 2, 4), 2, 2);
    return out;
}

QImage SimpleThumb(const SkinImage& image)
{
    QImage shape = Shape(image);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    path.moveTo(0.5, 1.5);
    path.quadTo(0.5, 0.5, 1.5, 0.5);
    path.lineTo(9.5, 0.5);
    path.quadTo(10.5, 0.5, 10.5, 1.5);
    path.lineTo(10.5, 8);
    path.lineTo(5.5, 12.5);
    path.lineTo(0.5, 8);
    path.closeSubpath();
    p.setPen(QPen(QColor(24, 25, 27), 1));
    p.setBrush(Vertical(0, image.height, QColor(232, 234, 238), QColor(148, 152, 158)));
    p.drawPath(path);
    p.fillRect(QRect(5, 2, 1, 6), kAccent);
    p.end();
    return Keyed(shape, kPlaybackBand, PartsPainter::kSimpleThumbKey);
}

// Volume: ten rising bars of 7-pixel slots, so level L fills exactly L bars of a 70-pixel control.
QImage Volume(const SkinImage& image, bool full)
{
    QImage out = Blank(image, kPlaybackBand);
    QPainter p(&out);
    constexpr int kBars = 10;
    const int slot = image.width / kBars;
    for (int i = 0; i < kBars; ++i) {
        const int height = 6 + int(std::lround(i * 14.0 / (kBars - 1)));
        const QRect bar(i * slot + 1, image.height - 3 - height, slot - 2, height);
        if (full) {
            const double t = double(i) / (kBars - 1);
            const QColor low = kAccentDark, high = kAccentBright;
            const QColor c(int(low.red() + (high.red() - low.red()) * t),
                int(low.green() + (high.green() - low.green()) * t),
                int(low.blue() + (high.blue() - low.blue()) * t));
            p.fillRect(bar, c);
            p.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), c.lighter(130));
        } else {
            p.fillRect(bar, QColor(44, 46, 50));
            p.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), QColor(60, 62, 66));
        }
    }
    return out;
}

// Speed display. The control draws digits at x 20, 32, 44, 60 and the point at x 55, all at y 11 and
// 18 high; the background holds the dark window behind them and names the unit.
QImage SpeedBackground(const SkinImage& image, const QString& unit)
{
    QImage out = Blank(image, kPlaybackBand);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(58, 60, 66), 1));
    p.setBrush(Vertical(0, image.height, QColor(40, 42, 46), QColor(26, 27, 30)));
    p.drawRoundedRect(QRectF(0.5, 0.5, image.width - 1, image.height - 1), 5, 5);
    p.setPen(QPen(QColor(4, 6, 7), 1));
    p.setBrush(kLcdBack);
    p.drawRoundedRect(QRectF(14.5, 6.5, 60, 27), 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 24), 1));
    p.drawLine(QPointF(17, 33.5), QPointF(72, 33.5));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kTextDim);
    p.drawText(QRectF(76, 0, image.width - 78, image.height), Qt::AlignCenter, unit);
    return out;
}

// Seven-segment digits on the display's window colour; what is not a segment is the white key.
QImage SpeedDigit(const SkinImage& image, int digit)
{
    enum { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };
    constexpr int kSegments[10] = { A | B | C | D | E | F, B | C, A | B | D | E | G, A | B | C | D | G,
        B | C | F | G, A | C | D | F | G, A | C | D | E | F | G, A | B | C, A | B | C | D | E | F | G,
        A | B | C | D | F | G };
    const QRect rects[7] = { { 3, 1, 4, 2 }, { 7, 3, 2, 5 }, { 7, 10, 2, 5 }, { 3, 15, 4, 2 },
        { 1, 10, 2, 5 }, { 1, 3, 2, 5 }, { 3, 8, 4, 2 } };
    QImage out = Blank(image, QColor::fromRgb(PartsPainter::kSpeedDigitKey));
    QPainter p(&out);
    for (int s = 0; s < 7; ++s)
        if (kSegments[digit] & (1 << s))
            p.fillRect(rects[s], kLcdDigit);
    return out;
}

QImage SpeedPoint(const SkinImage& image)
{
    QImage out = Blank(image, QColor::fromRgb(PartsPainter::kSpeedDigitKey));
    QPainter p(&out);
    p.fillRect(QRect(2, 15, 2, 2), kLcdDigit);
    return out;
}

QImage TopTile(const SkinImage& image)
{
    QImage out = Blank(image, kWindowBack);
    QPainter p(&out);
    for (int y = 0; y < image.height; ++y)
        p.fillRect(0, y, image.width, 1, TopTileColor(y));
    return out;
}

// The picture of the video area while nothing plays: a lens on a dark stage and the model name.
QImage Idle(const SkinImage& image)
{
    QImage out = Blank(image, kWindowBack);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(image.width / 2.0, image.height * 0.42);
    QRadialGradient stage(centre, image.width * 0.62);
    stage.setColorAt(0, QColor(34, 37, 42));
    stage.setColorAt(1, QColor(12, 12, 13));
    p.fillRect(out.rect(), stage);

    p.setPen(QPen(QColor(255, 255, 255, 10), 1));
    for (int x = 0; x < image.width; x += 24)
        p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, image.height));
    for (int y = 0; y < image.height; y += 24)
        p.drawLine(QPointF(0, y + 0.5), QPointF(image.width, y + 0.5));

    p.setPen(QPen(QColor(72, 75, 82), 8));
    p.setBrush(QColor(20, 21, 24));
    p.drawEllipse(centre, 78, 78);
    p.setPen(QPen(QColor(44, 46, 52), 3));
    p.drawEllipse(centre, 62, 62);
    QRadialGradient glass(centre - QPointF(14, 16), 60);
    glass.setColorAt(0, QColor(40, 120, 130));
    glass.setColorAt(0.45, QColor(8, 52, 60));
    glass.setColorAt(1, QColor(4, 10, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(centre, 50, 50);
    p.setBrush(QColor(2, 4, 5));
    p.drawEllipse(centre, 18, 18);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(centre - QPointF(20, 22), 9, 6);
    p.setPen(QPen(QColor(230, 70, 60), 0));
    p.setBrush(QColor(230, 70, 60));
    p.drawEllipse(QPointF(centre.x() + 62, centre.y() - 62), 6, 6);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(font);
    p.setPen(QColor(168, 172, 180));
    const QRectF title(0, centre.y() + 100, image.width, 48);
    p.drawText(title, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("ZQ481K"));
    p.fillRect(QRectF(image.width / 2.0 - 90, title.top() + 54, 180, 2), kAccent);
    QFont small = font;
    small.setPixelSize(15);
    small.setBold(false);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(small);
    p.setPen(QColor(110, 114, 120));
    p.drawText(QRectF(0, title.top() + 64, image.width, 24), Qt::AlignHCenter | Qt::AlignTop,
        QStringLiteral("VIEWER"));
    return out;
}

// Scroll bar pieces. The track is stretched from 12 to the bar's 18 columns, so its profile is smooth.
QImage ScrollTrack(const SkinImage& image)
{
    QImage out = Blank(image, QColor(26, 26, 28));
    const int profile[12] = { 16, 24, 30, 32, 28, 22, 22, 28, 32, 30, 24, 16 };
    for (int x = 0; x < image.width; ++x)
        out.setPixel(x, 0, qRgb(profile[x], profile[x], profile[x] + 3));
    return out;
}

QImage ScrollCap(const SkinImage& image, bool top)
{
    QImage out = Blank(image, QColor(30, 30, 30));
    QPainter p(&out);
    p.fillRect(QRect(0, top ? image.height - 1 : 0, image.width, 1), QColor(54, 55, 58));
    p.fillRect(QRect(0, 0, 1, image.height), QColor(16, 16, 17));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(64, 66, 70));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(5.5 + 3 * i, image.height / 2.0), 1, 1);
    return out;
}

QImage ScrollArrow(const SkinImage& image, bool up)
{
    QImage out = Blank(image, QColor(26, 26, 28));
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(78, 80, 86), 1));
    p.setBrush(Vertical(0, image.height, QColor(60, 62, 68), QColor(40, 42, 46)));
    p.drawRoundedRect(QRectF(1.5, 1.5, image.width - 3, image.height - 3), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(kIconNormal);
    if (up)
        p.drawPolygon(QPolygonF({ QPointF(5, 11), QPointF(13, 11), QPointF(9, 6) }));
    else
        p.drawPolygon(QPolygonF({ QPointF(5, 7), QPointF(13, 7), QPointF(9, 12) }));
    return out;
}

QImage ScrollThumb(const SkinImage& image)
{
    QImage out = Blank(image, QColor(26, 26, 28));
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kAccentBright, 1));
    p.setBrush(Vertical(0, image.height, kPlateSelectedTop, kPlateSelectedBottom));
    p.drawRoundedRect(QRectF(2.5, 1.5, image.width - 5, image.height - 3), 4, 4);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRect(6, 6 + 3 * i, 6, 1), QColor(200, 245, 248));
    return out;
}

using PartFunction = std::function<QImage(const SkinImage&)>;

const std::map<QString, PartFunction>& Parts()
{
    static const std::map<QString, PartFunction> parts = [] {
        std::map<QString, PartFunction> m = {
            { QStringLiteral("position-channel"), PositionChannel },
            { QStringLiteral("position-played"), PositionPlayed },
            { QStringLiteral("position-thumb"), PositionThumb },
            { QStringLiteral("simple-channel"), SimpleChannel },
            { QStringLiteral("simple-thumb"), SimpleThumb },
            { QStringLiteral("volume-empty"), [](const SkinImage& i) { return Volume(i, false); } },
            { QStringLiteral("volume-full"), [](const SkinImage& i) { return Volume(i, true); } },
            { QStringLiteral("speed-kmh"),
                [](const SkinImage& i) { return SpeedBackground(i, QStringLiteral("km/h")); } },
            { QStringLiteral("speed-mph"),
                [](const SkinImage& i) { return SpeedBackground(i, QStringLiteral("mph")); } },
            { QStringLiteral("speed-point"), SpeedPoint },
            { QStringLiteral("top-tile"), TopTile },
            { QStringLiteral("idle"), Idle },
            { QStringLiteral("scroll-top-cap"), [](const SkinImage& i) { return ScrollCap(i, true); } },
            { QStringLiteral("scroll-bottom-cap"), [](const SkinImage& i) { return ScrollCap(i, false); } },
            { QStringLiteral("scroll-up"), [](const SkinImage& i) { return ScrollArrow(i, true); } },
            { QStringLiteral("scroll-down"), [](const SkinImage& i) { return ScrollArrow(i, false); } },
            { QStringLiteral("scroll-track"), ScrollTrack },
            { QStringLiteral("scroll-thumb"), ScrollThumb },
        };
        for (int d = 0; d < 10; ++d)
            m[QStringLiteral("speed-digit-%1").arg(d)] = [d](const SkinImage& i) { return SpeedDigit(i, d); };
        return m;
    }();
    return parts;
}

} // namespace

QImage PartsPainter::Draw(const SkinImage& image)
{
    const auto it = Parts().find(QString::fromLatin1(image.name));
    return it == Parts().end() ? QImage() : it->second(image);
}

} // namespace zq::skin
