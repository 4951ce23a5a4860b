#include "BackgroundPainter.h"

#include "MainLayout.h"
#include "SkinDraw.h"

#include <QPainter>

namespace zq {

namespace {
const QColor kWindowColour(10, 10, 10);
const QColor kFrameColour(100, 100, 100);
const QColor kBandColour(30, 30, 30);
const QColor kPanelColour(20, 20, 20);
constexpr int kTileWidth = 100;
constexpr int kTileHeight = 33;

void Framed(QPainter& p, const QRect& r, const QColor& fill)
{
    p.fillRect(r, kFrameColour);
    p.fillRect(r.adjusted(1, 1, -1, -1), fill);
}
} // namespace

const QPixmap& BackgroundPainter::Background(
    const MainLayout& layout, const QSize& client, int layoutMode, bool screensShown)
{
    if (m_valid && m_size == client && m_mode == layoutMode && m_screensShown == screensShown)
        return m_pixmap;
    m_valid = true;
    m_size = client;
    m_mode = layoutMode;
    m_screensShown = screensShown;
    ++m_builds;

    QImage image(client, QImage::Format_RGB32);
    image.fill(kWindowColour);
    QPainter p(&image);
    const QImage tile = LoadSkinBitmap(kTopTileImage);
    for (int i = 0; i <= client.width() / kTileWidth; ++i)
        p.drawImage(QRect(i * kTileWidth, 0, kTileWidth, kTileHeight), tile);

    const QRect video = layout.videoArea;
    if (screensShown) {
        Framed(p, video.adjusted(-1, -1, 1, 1), kWindowColour);
    } else {
        const QImage idle = LoadSkinBitmap(kIdleImage);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(video, idle);
    }
    // The band behind the playback bar's speed display.
    const QRect speed = layout.Rect(Child::SpeedDisplay);
    const QRect lower = layout.lowerPanel;
    Framed(p,
        MainLayout::FromEdges(
            lower.left() + 5, speed.top() - 10, lower.right() + 1 - 5, speed.bottom() + 1 + 10),
        kBandColour);
    if (layoutMode == kLayoutNormal) {
        const QRect map = layout.mapPanel;
        Framed(p, MainLayout::FromEdges(map.left() - 2, map.top(), map.right() + 1 + 2, map.bottom() + 1 - 3),
            kPanelColour);
        const QRect list = layout.listPanel;
        const QRect listCtrl = layout.Rect(Child::List);
        Framed(p,
            MainLayout::FromEdges(
                list.left() - 2, list.top(), list.right() + 1 + 2, listCtrl.bottom() + 1 + 2),
            kPanelColour);
    }
    p.end();
    m_pixmap = QPixmap::fromImage(image);
    return m_pixmap;
}

} // namespace zq
