#include "CRkSliderCtrl.h"

#include "SeekTarget.h"
#include "SkinDraw.h"

#include <QMouseEvent>
#include <QPainter>

namespace zq {

namespace {

constexpr QRgb kBackgroundColor = qRgb(10, 10, 10);
constexpr int kChannelTop = 10;
constexpr int kChannelVerticalMargins = 20;
constexpr int kStripCapWidth = 10;
constexpr int kStripTileX = 10;
constexpr int kStripTileWidth = 10;
constexpr int kStripRightCapX = 537;
constexpr int kPlayedTileBitmap = 1055;
constexpr int kPlayedTileWidth = 3;
constexpr int kPlayedBandTop = 1;
constexpr int kPlayedBandHeight = 7;
constexpr int kThumbWidth = 11;
constexpr int kThumbHeight = 22;

} // namespace

CRkSliderCtrl::CRkSliderCtrl(QWidget* parent)
    : QAbstractSlider(parent)
{
    setOrientation(Qt::Horizontal);
    // The slider is worked with the mouse only; the keyboard stays with the main window.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRkSliderCtrl::SetImages(int stripImage, int thumbImage)
{
    m_stripImage = stripImage;
    m_thumbImage = thumbImage;
    RebuildChannel();
    update();
}

int CRkSliderCtrl::ChannelWidth() const
{
    return qMax(0, width() - 2 * kEndMarginPx);
}

qint64 CRkSliderCtrl::PositionFromX(int x) const
{
    if (width() <= 0)
        return 0;
    // 64-bit: a long recording's duration in milliseconds times a screen coordinate exceeds 32 bits.
    const qint64 position = qint64(maximum()) * x / width();
    return qBound(qint64(qMin(minimum(), maximum())), position, qint64(maximum()));
}

int CRkSliderCtrl::PlayedWidth() const
{
    if (maximum() <= 0)
        return 0;
    const qint64 played = qint64(qBound(0, value(), maximum())) * ChannelWidth() / maximum();
    return int(played);
}

QRect CRkSliderCtrl::ThumbRect() const
{
    return { kEndMarginPx + PlayedWidth() - kThumbWidth / 2, (height() - kThumbHeight) / 2, kThumbWidth,
        kThumbHeight };
}

void CRkSliderCtrl::RebuildChannel()
{
    const int channelWidth = ChannelWidth();
    const int channelHeight = height() - kChannelVerticalMargins;
    m_channel = QImage();
    m_playedTiles = QImage();
    if (channelWidth <= 0 || channelHeight <= 0)
        return;

    CMemoryDC strip;
    if (strip.Create(this, channelWidth, channelHeight)) {
        strip.fillRect(0, 0, channelWidth, channelHeight, QColor(kBackgroundColor));
        for (int x = 0; x < channelWidth + kStripTileWidth; x += kStripTileWidth)
            DrawBitmapPart(strip, m_stripImage, x, 0, kStripTileWidth, channelHeight, kStripTileX, 0);
        DrawBitmapPart(strip, m_stripImage, 0, 0, kStripCapWidth, channelHeight, 0, 0);
        DrawBitmapPart(strip, m_stripImage, channelWidth - kStripCapWidth, 0, kStripCapWidth, channelHeight,
            kStripRightCapX, 0);
        strip.end();
        m_channel = strip.Image();
    }
    CMemoryDC tiles;
    if (tiles.Create(this, channelWidth, kPlayedBandHeight)) {
        for (int x = 0; x < channelWidth + kPlayedTileWidth; x += kPlayedTileWidth)
            DrawBitmap(tiles, kPlayedTileBitmap, x, 0, kPlayedTileWidth, kPlayedBandHeight);
        tiles.end();
        m_playedTiles = tiles.Image();
    }
}

void CRkSliderCtrl::paintEvent(QPaintEvent*)
{
    QPainter target(this);
    CMemDC2 dc(&target, rect());
    dc.fillRect(rect(), QColor(kBackgroundColor));
    if (!m_channel.isNull()) {
        dc.drawImage(kEndMarginPx, kChannelTop, m_channel);
        const int played = PlayedWidth();
        if (played > 0 && !m_playedTiles.isNull())
            BlitImage(dc, kEndMarginPx, kChannelTop + kPlayedBandTop, played, kPlayedBandHeight,
                m_playedTiles, 0, 0);
    }
    const QRect thumb = ThumbRect();
    DrawBitmap(dc, m_thumbImage, thumb.left(), thumb.top(), kThumbWidth, kThumbHeight);
}

void CRkSliderCtrl::resizeEvent(QResizeEvent* event)
{
    RebuildChannel();
    QAbstractSlider::resizeEvent(event);
}

bool CRkSliderCtrl::Busy() const
{
    return m_seekTarget && m_seekTarget->IsBusy();
}

void CRkSliderCtrl::SeekToPointer(int x)
{
    const qint64 position = PositionFromX(x);
    if (m_seekTarget)
        m_seekTarget->SetPosition(position);
    setValue(int(position));
    repaint();
}

void CRkSliderCtrl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || Busy())
        return;
    m_dragging = true;
    SeekToPointer(event->position().toPoint().x());
}

void CRkSliderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (Busy())
        return;
    // A release that was ignored while busy must not leave the slider seeking on every move.
    if (m_dragging && !(event->buttons() & Qt::LeftButton))
        m_dragging = false;
    if (m_dragging)
        SeekToPointer(event->position().toPoint().x());
}

void CRkSliderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || Busy())
        return;
    m_dragging = false;
    SeekToPointer(event->position().toPoint().x());
    if (m_focusAfterSeek)
        m_focusAfterSeek->setFocus(Qt::MouseFocusReason);
}

void CRkSliderCtrl::wheelEvent(QWheelEvent* event)
{
    // Moving the thumb without seeking would show a position that is not playing.
    event->ignore();
}

void CRkSliderCtrl::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
}

} // namespace zq
