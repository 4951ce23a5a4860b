#include "CSkinVerticleScrollbar.h"

#include "SkinDraw.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>
#include <cmath>

namespace zq {

namespace {

constexpr QRgb kBackgroundColor = qRgb(74, 82, 107);
constexpr int kPieceHeight = 18;
constexpr int kTopCapBitmap = 162;
constexpr int kUpArrowBitmap = 163;
constexpr int kTrackBitmap = 164;
constexpr int kTrackBitmapWidth = 12;
constexpr int kTrackBitmapHeight = 1;
constexpr int kDownArrowBitmap = 165;
constexpr int kBottomCapBitmap = 166;
constexpr int kBottomCapX = 1;
constexpr int kThumbBitmap = 167;
// Five pieces of 18 pixels do not belong to the thumb's travel: caps, arrows and the thumb itself.
constexpr int kPiecesOutsideTravel = 5;
constexpr int kFirstRepeatDelayMs = 250;
constexpr int kRepeatIntervalMs = 50;

} // namespace

CSkinVerticleScrollbar::CSkinVerticleScrollbar(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSkinVerticleScrollbar::SetList(QAbstractItemView* list)
{
    if (m_list)
        disconnect(m_list->verticalScrollBar(), nullptr, this, nullptr);
    m_list = list;
    if (m_list) {
        // The thumb follows every change of the list's position, whoever makes it.
        connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
            if (!m_thumbDragging)
                UpdateThumb();
        });
        connect(m_list->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { UpdateThumb(); });
    }
    UpdateThumb();
}

int CSkinVerticleScrollbar::ScrollPosition() const
{
    return m_list ? m_list->verticalScrollBar()->value() : 0;
}

int CSkinVerticleScrollbar::ScrollLimit() const
{
    return m_list ? qMax(0, m_list->verticalScrollBar()->maximum()) : 0;
}

void CSkinVerticleScrollbar::UpdateThumb()
{
    const int limit = ScrollLimit();
    // Nothing to scroll: the thumb rests at the top of the track (and is not drawn).
    m_pixelsPerLine = limit > 0 ? double(height() - kPiecesOutsideTravel * kPieceHeight) / limit : 0.0;
    m_thumbTop = int(std::trunc(m_pixelsPerLine * ScrollPosition())) + kTopOffset;
    ClampThumb();
    update();
}

void CSkinVerticleScrollbar::ClampThumb()
{
    if (height() - kTopOffset < m_thumbTop + kThumbHeight)
        m_thumbTop = height() - kTopOffset - kThumbHeight;
    if (m_thumbTop < kTopOffset)
        m_thumbTop = kTopOffset;
}

void CSkinVerticleScrollbar::LineUp()
{
    if (m_list)
        m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    UpdateThumb();
}

void CSkinVerticleScrollbar::LineDown()
{
    if (m_list)
        m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    UpdateThumb();
}

void CSkinVerticleScrollbar::PageUp()
{
    if (m_list)
        m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    UpdateThumb();
}

void CSkinVerticleScrollbar::PageDown()
{
    if (m_list)
        m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    UpdateThumb();
}

void CSkinVerticleScrollbar::ScrollToLine(int line)
{
    if (m_list)
        m_list->verticalScrollBar()->setValue(qBound(0, line, ScrollLimit()));
}

void CSkinVerticleScrollbar::paintEvent(QPaintEvent*)
{
    const int h = height();
    QPainter target(this);
    CMemDC2 dc(&target, rect());
    dc.fillRect(rect(), QColor(kBackgroundColor));
    DrawBitmap(dc, kTopCapBitmap, 0, 0, kBarWidth, kPieceHeight);
    DrawBitmap(dc, kUpArrowBitmap, 0, kPieceHeight, kBarWidth, kPieceHeight);
    DrawBitmapStretched(dc, kTrackBitmap, 0, kTopOffset, kBarWidth, h - kTopOffset, 0, 0, kTrackBitmapWidth,
        kTrackBitmapHeight);
    DrawBitmap(dc, kDownArrowBitmap, 0, h - 2 * kPieceHeight, kBarWidth, kPieceHeight);
    DrawBitmap(dc, kBottomCapBitmap, kBottomCapX, h - kPieceHeight, kBarWidth, kPieceHeight);
    if (ScrollLimit() != 0)
        DrawBitmap(dc, kThumbBitmap, 0, m_thumbTop, kBarWidth, kThumbHeight);
}

void CSkinVerticleScrollbar::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const int h = height();
    if (at.x() >= 0 && at.x() <= kBarWidth && at.y() >= m_thumbTop && at.y() <= m_thumbTop + kThumbHeight) {
        m_thumbDragging = true;
    } else if (at.y() >= h - 2 * kPieceHeight && at.y() <= h - kPieceHeight) {
        m_downPressed = true;
        m_firstRepeatTimer.start(kFirstRepeatDelayMs, Qt::PreciseTimer, this);
    } else if (at.y() >= kPieceHeight && at.y() <= kTopOffset) {
        m_upPressed = true;
        m_firstRepeatTimer.start(kFirstRepeatDelayMs, Qt::PreciseTimer, this);
    }
}

void CSkinVerticleScrollbar::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_thumbDragging)
        return;
    m_thumbTop = event->position().toPoint().y() - kThumbHeight / 2;
    if (m_pixelsPerLine > 0.0) {
        const double targetLine = (m_thumbTop - kTopOffset) / m_pixelsPerLine;
        ScrollToLine(int(std::trunc(targetLine)));
    }
    ClampThumb();
    update();
}

void CSkinVerticleScrollbar::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const int y = event->position().toPoint().y();
    const int h = height();
    const bool onThumb = y >= m_thumbTop && y <= m_thumbTop + kThumbHeight;
    const bool wasArrowOrDrag = m_upPressed || m_downPressed || m_thumbDragging;
    m_thumbDragging = false;
    UpdateThumb();
    m_repeatTimer.stop();
    m_firstRepeatTimer.stop();

    if (m_upPressed && y >= kPieceHeight && y <= kTopOffset) {
        LineUp();
    } else if (m_downPressed && y >= h - 2 * kPieceHeight && y <= h - kPieceHeight) {
        LineDown();
    } else if (!onThumb && !wasArrowOrDrag) {
        if (y > m_thumbTop + kThumbHeight && y < h - 2 * kPieceHeight)
            PageDown();
        else if (y >= kTopOffset && y < m_thumbTop)
            PageUp();
    }
    m_upPressed = false;
    m_downPressed = false;
}

void CSkinVerticleScrollbar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_firstRepeatTimer.timerId()) {
        m_firstRepeatTimer.stop();
        if (!m_upPressed && !m_downPressed)
            return;
        // The first repeated line comes with the end of the delay, the next ones every 50 ms.
        if (m_downPressed)
            LineDown();
        else
            LineUp();
        m_repeatTimer.start(kRepeatIntervalMs, Qt::PreciseTimer, this);
        return;
    }
    if (event->timerId() == m_repeatTimer.timerId()) {
        if (m_downPressed)
            LineDown();
        else if (m_upPressed)
            LineUp();
        return;
    }
    QWidget::timerEvent(event);
}

} // namespace zq
