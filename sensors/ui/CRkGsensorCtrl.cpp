#include "CRkGsensorCtrl.h"

#include "CGSensorData.h"
#include "DotumFont.h"
#include "Menu149.h"
#include "SeekTarget.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

namespace zq {

namespace {

const QColor kBackground(10, 10, 10);
const QColor kGridGrey(120, 120, 120);
const QColor kCurveColours[3] = { QColor(255, 100, 0), QColor(255, 255, 0), QColor(0, 255, 0) };

constexpr int kLabelFontPx = 10;
// Label offsets from the plot's left edge and from the line they name.
constexpr int kLabelLeftPx = 10;
constexpr int kMinusLabelLeftPx = 14;
constexpr int kLabelRaisePx = 5;

// The dotted lines are 3 pixels on, 3 off, counted from the start of each line.
constexpr int kDotOnPx = 3;
constexpr int kDotPeriodPx = 6;

void DottedVertical(QPainter& painter, int x, int top, int bottom)
{
    for (int y = top; y < bottom; y += kDotPeriodPx)
        painter.fillRect(x, y, 1, std::min(kDotOnPx, bottom - y), kGridGrey);
}

void DottedHorizontal(QPainter& painter, int y, int left, int right)
{
    for (int x = left; x < right; x += kDotPeriodPx)
        painter.fillRect(x, y, std::min(kDotOnPx, right - x), 1, kGridGrey);
}

// A 1-pixel line from a to b, b itself left out, so that the segments of a polyline join without
// overlap as they did on the recorder's viewer. Pixels outside the image are skipped.
void LineExcludingEnd(QImage& image, QPoint a, QPoint b, QRgb colour)
{
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int error = dx + dy;
    int x = a.x();
    int y = a.y();
    while (x != b.x() || y != b.y()) {
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void Label(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

} // namespace

CRkGsensorCtrl::CRkGsensorCtrl(QWidget* parent)
    : CRkWindow(parent)
{
}

bool CRkGsensorCtrl::Create(QWidget* parent, int id, int x, int y, int width, int height)
{
    return CreateWindow(parent, QStringLiteral("RkGsensorWnd"), id, x, y, width, height);
}

void CRkGsensorCtrl::SetSamples(const QVector<CGSensorData>& samples)
{
    m_x.resize(samples.size());
    m_y.resize(samples.size());
    m_z.resize(samples.size());
    for (qsizetype i = 0; i < samples.size(); ++i) {
        m_x[i] = samples[i].x;
        m_y[i] = samples[i].y;
        m_z[i] = samples[i].z;
    }
    m_pictureValid = false;
    update();
}

void CRkGsensorCtrl::RebuildGrid()
{
    m_geometry = GsensorGeometry::ForClientSize(width(), height());
    m_grid = QImage(size(), QImage::Format_RGB32);
    if (m_grid.isNull())
        return;
    m_grid.fill(kBackground);
    const GsensorGeometry& g = m_geometry;
    QPainter painter(&m_grid);
    // Lines end one pixel short of their end point, as the recorder's viewer drew them.
    painter.fillRect(g.left, g.top, 1, g.bottom - g.top, kGridGrey);
    painter.fillRect(g.right, g.top, 1, g.bottom - g.top, kGridGrey);
    for (int i = 1; i < GsensorGeometry::kDivisions; ++i)
        DottedVertical(painter, g.left + g.gridStep * i, g.top, g.bottom);
    for (const int y : { g.mid, g.mid - g.bandOffset, g.mid + g.bandOffset })
        DottedHorizontal(painter, y, g.left, g.right);

    painter.setFont(DotumFont(kLabelFontPx));
    painter.setPen(kGridGrey);
    Label(painter, g.left - kLabelLeftPx, g.top - kLabelRaisePx, QStringLiteral("2"));
    Label(painter, g.left - kLabelLeftPx, g.mid - kLabelRaisePx, QStringLiteral("0"));
    Label(painter, g.left - kMinusLabelLeftPx, g.bottom - kLabelRaisePx, QStringLiteral("-2"));
}

void CRkGsensorCtrl::RebuildPicture()
{
    if (m_grid.size() != size())
        RebuildGrid();
    m_picture = m_grid.copy();
    m_pictureValid = true;
    if (m_picture.isNull() || m_x.isEmpty())
        return;
    const QVector<int>* axes[3] = { &m_x, &m_y, &m_z };
    for (int axis = 0; axis < 3; ++axis) {
        const QVector<QPoint> curve = m_geometry.Curve(*axes[axis]);
        for (qsizetype i = 1; i < curve.size(); ++i)
            LineExcludingEnd(m_picture, curve[i - 1], curve[i], kCurveColours[axis].rgb());
    }
}

QImage CRkGsensorCtrl::Render()
{
    if (!m_pictureValid || m_picture.size() != size())
        RebuildPicture();
    return m_picture;
}

void CRkGsensorCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

void CRkGsensorCtrl::mousePressEvent(QMouseEvent* event)
{
    // The menu's commands go to the main window, which handles them as its own. A language outside
    // 0..11 shows no menu, as on the screens and the main window.
    // The press stops here: the window behind would open a second menu under this one.
    if (event->button() == Qt::RightButton) {
        ShowLanguageMenu(m_language, event->globalPosition().toPoint(), window());
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && m_seekTarget) {
        SeekTo(event->position().toPoint().x());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CRkGsensorCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_seekTarget) {
        SeekTo(event->position().toPoint().x());
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CRkGsensorCtrl::SetSeekTarget(SeekTarget* target, std::function<qint64()> rangeMs)
{
    m_seekTarget = target;
    m_rangeMs = std::move(rangeMs);
}

qint64 CRkGsensorCtrl::PositionAt(int x) const
{
    const qint64 range = m_rangeMs ? m_rangeMs() : 0;
    if (range <= 0)
        return -1;
    // The geometry of the current size, also before the first paint.
    const GsensorGeometry g = GsensorGeometry::ForClientSize(width(), height());
    const int plotWidth = g.right - g.left;
    if (plotWidth <= 0)
        return -1;
    const qint64 position = range * qBound(0, x - g.left, plotWidth) / plotWidth;
    return qBound(qint64(0), position, range);
}

void CRkGsensorCtrl::SeekTo(int x)
{
    // The target keeps only the newest of seeks that come faster than the engine answers them.
    if (m_seekTarget->IsBusy())
        return;
    const qint64 position = PositionAt(x);
    if (position >= 0)
        m_seekTarget->SetPosition(position);
}

} // namespace zq
