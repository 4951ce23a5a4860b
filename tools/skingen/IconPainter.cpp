#include "IconPainter.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace zq::skin {
namespace {

constexpr double kGrid = 20.0;

using IconFunction = std::function<void(QPainter&, const QColor&)>;

QPolygonF Poly(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

void FillPolygon(QPainter& p, const QColor& c, std::initializer_list<QPointF> points)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(Poly(points));
}

void FillRect(QPainter& p, const QColor& c, double x, double y, double w, double h)
{
    p.fillRect(QRectF(x, y, w, h), c);
}

QPen Stroke(const QColor& c, double width, Qt::PenCapStyle cap = Qt::FlatCap)
{
    QPen pen(c, width, Qt::SolidLine, cap, Qt::MiterJoin);
    return pen;
}

void FillPath(QPainter& p, const QColor& c, const QPainterPath& path)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

// Transport icons: solid shapes with straight edges on the pixel grid.
void Play(QPainter& p, const QColor& c)
{
    FillPolygon(p, c, { { 6, 3 }, { 6, 17 }, { 17, 10 } });
}

void Pause(QPainter& p, const QColor& c)
{
    FillRect(p, c, 5, 3, 4, 14);
    FillRect(p, c, 11, 3, 4, 14);
}

void Previous(QPainter& p, const QColor& c)
{
    FillRect(p, c, 3, 4, 2, 12);
    FillPolygon(p, c, { { 16, 4 }, { 16, 16 }, { 6, 10 } });
}

void Next(QPainter& p, const QColor& c)
{
    FillRect(p, c, 15, 4, 2, 12);
    FillPolygon(p, c, { { 4, 4 }, { 4, 16 }, { 14, 10 } });
}

void Rewind(QPainter& p, const QColor& c)
{
    FillPolygon(p, c, { { 10, 4 }, { 10, 16 }, { 2, 10 } });
    FillPolygon(p, c, { { 18, 4 }, { 18, 16 }, { 10, 10 } });
}

void FastForward(QPainter& p, const QColor& c)
{
    FillPolygon(p, c, { { 2, 4 }, { 2, 16 }, { 10, 10 } });
    FillPolygon(p, c, { { 10, 4 }, { 10, 16 }, { 18, 10 } });
}

// Top-bar icons.
void Open(QPainter& p, const QColor& c)
{
    QColor back = c;
    back.setAlphaF(0.45);
    FillPolygon(p, back, { { 2, 4 }, { 8, 4 }, { 10, 6 }, { 17, 6 }, { 17, 9 }, { 2, 9 } });
    FillPolygon(p, back, { { 2, 9 }, { 3, 9 }, { 3, 16 }, { 2, 16 } });
    FillPolygon(p, c, { { 5, 9 }, { 19, 9 }, { 16, 16 }, { 2, 16 } });
}

void Merge(QPainter& p, const QColor& c)
{
    p.setBrush(Qt::NoBrush);
    QPen pen = Stroke(c, 2);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.drawPolyline(Poly({ { 4, 2 }, { 4, 7 }, { 10, 12 }, { 10, 14 } }));
    p.drawPolyline(Poly({ { 16, 2 }, { 16, 7 }, { 10, 12 } }));
    FillPolygon(p, c, { { 5, 13 }, { 15, 13 }, { 10, 19 } });
}

void Capture(QPainter& p, const QColor& c)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRoundedRect(QRectF(1, 5, 18, 12), 2, 2);
    path.addEllipse(QPointF(10, 11), 4.5, 4.5);
    path.addEllipse(QPointF(10, 11), 2.5, 2.5);
    FillPath(p, c, path);
    FillRect(p, c, 6, 3, 6, 2);
    QColor flash = c;
    flash.setAlphaF(0.6);
    FillRect(p, flash, 15, 7, 2, 2);
}

void Zoom(QPainter& p, const QColor& c)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, 2));
    p.drawEllipse(QPointF(8, 8), 6, 6);
    p.setPen(Stroke(c, 3, Qt::RoundCap));
    p.drawLine(QPointF(13, 13), QPointF(18, 18));
    FillRect(p, c, 7, 5, 2, 6);
    FillRect(p, c, 5, 7, 6, 2);
}

void Print(QPainter& p, const QColor& c)
{
    FillRect(p, c, 5, 1, 10, 5);
    QPainterPath body;
    body.setFillRule(Qt::OddEvenFill);
    body.addRoundedRect(QRectF(1, 6, 18, 9), 2, 2);
    body.addRect(QRectF(4, 11, 12, 5));
    FillPath(p, c, body);
    QColor paper = c;
    paper.setAlphaF(0.85);
    FillRect(p, paper, 5, 12, 10, 7);
    QColor line = c.darker(260);
    FillRect(p, line, 7, 14, 6, 1);
    FillRect(p, line, 7, 16, 4, 1);
    FillRect(p, c.darker(200), 15, 8, 2, 1);
}

void Settings(QPainter& p, const QColor& c)
{
    QPainterPath gear;
    gear.setFillRule(Qt::OddEvenFill);
    constexpr int kTeeth = 8;
    constexpr double kOuter = 9.0;
    constexpr double kInner = 6.6;
    const QPointF centre(10, 10);
    QPolygonF outline;
    for (int i = 0; i < kTeeth; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kTeeth;
        const double half = std::numbers::pi / kTeeth;
        const auto at = [&](double r, double angle) {
            return centre + QPointF(r * std::cos(angle), r * std::sin(angle));
        };
        outline << at(kInner, a - half * 0.95) << at(kOuter, a - half * 0.45) << at(kOuter, a + half * 0.45)
                << at(kInner, a + half * 0.95);
    }
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(centre, 3, 3);
    FillPath(p, c, gear);
}

void Layout(QPainter& p, const QColor& c)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, 2));
    p.drawRect(QRectF(2, 3, 16, 14));
    FillRect(p, c, 4, 5, 8, 6);
    QColor dim = c;
    dim.setAlphaF(0.55);
    FillRect(p, dim, 4, 12, 8, 3);
    FillRect(p, dim, 13, 5, 3, 4);
    FillRect(p, dim, 13, 10, 3, 5);
}

void About(QPainter& p, const QColor& c)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, 2));
    p.drawEllipse(QPointF(10, 10), 8, 8);
    FillRect(p, c, 9, 5, 2, 2);
    FillRect(p, c, 9, 8, 2, 7);
}

void MapIcon(QPainter& p, const QColor& c)
{
    QColor dim = c;
    dim.setAlphaF(0.5);
    FillPolygon(p, dim, { { 1, 5 }, { 7, 3 }, { 7, 17 }, { 1, 19 } });
    FillPolygon(p, c, { { 7, 3 }, { 13, 5 }, { 13, 19 }, { 7, 17 } });
    FillPolygon(p, dim, { { 13, 5 }, { 19, 3 }, { 19, 17 }, { 13, 19 } });
    QPainterPath pin;
    pin.setFillRule(Qt::OddEvenFill);
    pin.moveTo(10, 14);
    pin.arcTo(QRectF(6, 3, 8, 8), 210, -240);
    pin.closeSubpath();
    pin.addEllipse(QPointF(10, 7), 1.6, 1.6);
    // The pin is red while the button works, and fades with the rest of a disabled icon.
    p.setPen(QPen(c.darker(300), 1));
    p.setBrush(c.lightness() < 110 ? c.lighter(125) : QColor(230, 80, 60));
    p.drawPath(pin);
}

void Details(QPainter& p, const QColor& c)
{
    for (int row = 0; row < 3; ++row) {
        FillRect(p, c, 3, 4 + row * 5, 3, 3);
        FillRect(p, c, 8, 5 + row * 5, 9, 1.5);
    }
}

// Playback-bar helpers.
void Speed(QPainter& p, const QColor& c)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, 2, Qt::FlatCap));
    p.drawArc(QRectF(2, 4, 16, 16), 200 * 16, -220 * 16);
    p.setPen(Stroke(c, 2, Qt::RoundCap));
    p.drawLine(QPointF(10, 12), QPointF(14.5, 7.5));
    FillPath(p, c, [] {
        QPainterPath dot;
        dot.addEllipse(QPointF(10, 12), 2, 2);
        return dot;
    }());
    FillRect(p, c, 9, 1, 2, 2);
}

void Brightness(QPainter& p, const QColor& c)
{
    QPainterPath sun;
    sun.addEllipse(QPointF(10, 10), 4, 4);
    FillPath(p, c, sun);
    p.setPen(Stroke(c, 2, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = std::numbers::pi * i / 4.0;
        p.drawLine(QPointF(10 + 6.5 * std::cos(a), 10 + 6.5 * std::sin(a)),
            QPointF(10 + 8.5 * std::cos(a), 10 + 8.5 * std::sin(a)));
    }
}

void Speaker(QPainter& p, const QColor& c)
{
    FillPolygon(p, c, { { 2, 7 }, { 6, 7 }, { 11, 2 }, { 11, 18 }, { 6, 13 }, { 2, 13 } });
}

void Sound(QPainter& p, const QColor& c)
{
    Speaker(p, c);
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, 1.6, Qt::RoundCap));
    p.drawArc(QRectF(8, 6, 8, 8), -50 * 16, 100 * 16);
    p.drawArc(QRectF(6, 3, 13, 14), -55 * 16, 110 * 16);
}

void Mute(QPainter& p, const QColor& c)
{
    Speaker(p, c);
    p.setPen(Stroke(QColor(230, 80, 60), 2, Qt::RoundCap));
    p.drawLine(QPointF(13.5, 7), QPointF(18.5, 13));
    p.drawLine(QPointF(18.5, 7), QPointF(13.5, 13));
}

// Window buttons: thin strokes centred on pixel rows so they stay sharp.
void Minimise(QPainter& p, const QColor& c)
{
    FillRect(p, c, 4, 13, 12, 2);
}

void Maximise(QPainter& p, const QColor& c)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c, 2));
    p.drawRect(QRectF(5, 4, 10, 10));
    FillRect(p, c, 4, 3, 12, 3);
}

void Close(QPainter& p, const QColor& c)
{
    p.setPen(Stroke(c, 2, Qt::FlatCap));
    p.drawLine(QPointF(5, 4), QPointF(15, 14));
    p.drawLine(QPointF(15, 4), QPointF(5, 14));
}

const std::map<QString, IconFunction>& Icons()
{
    static const std::map<QString, IconFunction> icons = {
        { QStringLiteral("play"), Play },
        { QStringLiteral("pause"), Pause },
        { QStringLiteral("previous"), Previous },
        { QStringLiteral("next"), Next },
        { QStringLiteral("rewind"), Rewind },
        { QStringLiteral("fast-forward"), FastForward },
        { QStringLiteral("open"), Open },
        { QStringLiteral("merge"), Merge },
        { QStringLiteral("capture"), Capture },
        { QStringLiteral("zoom"), Zoom },
        { QStringLiteral("print"), Print },
        { QStringLiteral("settings"), Settings },
        { QStringLiteral("layout"), Layout },
        { QStringLiteral("about"), About },
        { QStringLiteral("map"), MapIcon },
        { QStringLiteral("details"), Details },
        { QStringLiteral("speed"), Speed },
        { QStringLiteral("brightness"), Brightness },
        { QStringLiteral("sound"), Sound },
        { QStringLiteral("mute"), Mute },
        { QStringLiteral("minimise"), Minimise },
        { QStringLiteral("maximise"), Maximise },
        { QStringLiteral("close"), Close },
        { QStringLiteral("map-close"), Close },
    };
    return icons;
}

} // namespace

bool IconPainter::Has(const QString& name)
{
    return Icons().count(name) != 0;
}

bool IconPainter::Draw(QPainter& painter, const QString& name, const QRectF& box, const QColor& color)
{
    const auto it = Icons().find(name);
    if (it == Icons().end())
        return false;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(box.topLeft());
    painter.scale(box.width() / kGrid, box.height() / kGrid);
    it->second(painter, color);
    painter.restore();
    return true;
}

} // namespace zq::skin
