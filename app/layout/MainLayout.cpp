#include "MainLayout.h"

#include "BorderEdges.h"
#include "GsensorGeometry.h"

#include <algorithm>

namespace zq {

namespace {

constexpr QSize kTopButton(32, 31);
constexpr QSize kWindowButton(30, 24);
constexpr QSize kTransportButton(32, 32);
constexpr QSize kSmallButton(24, 24);
constexpr QSize kChannelButton(43, 19);
constexpr QSize kMirrorButton(63, 19);
constexpr QSize kCategoryButton(43, 23);
constexpr QSize kSimpleSlider(95, 30);
constexpr QSize kVolume(70, 24);
constexpr QSize kSpeedDisplay(120, 40);
constexpr QSize kOverlay(400, 20);
constexpr QSize kMapCaption(270, 20);
constexpr QSize kListCaption(92, 20);

constexpr int kTopButtonY = 9;
constexpr int kPositionSliderHeight = 30;
constexpr int kMapPanelWidth = 276;
constexpr int kListWidth = 262;

} // namespace

QRect MainLayout::FromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QRect MainLayout::Fit16x9(const QRect& area)
{
    const int w = area.width();
    const int h = area.height();
    const int candidate = w * 9 / 16;
    if (candidate >= h) {
        const int width = h * 16 / 9;
        return QRect(area.left() + (w - width) / 2, area.top(), width, h);
    }
    return QRect(area.left(), area.top() + (h - candidate) / 2, w, candidate);
}

QSize MainLayout::Clamp(const QSize& requested)
{
    return QSize(std::max(requested.width(), kMinimumSize.width()),
        std::max(requested.height(), kMinimumSize.height()));
}

Qt::Edges MainLayout::ResizeEdges(const QSize& window, const QPoint& p, bool maximised)
{
    if (maximised)
        return {};
    return BorderEdges(window, p, kResizeEdgePx);
}

MapAreaVisibility MainLayout::MapArea(int layoutMode, const MapState& map)
{
    return ShownMapArea(ChooseMapPanel(map.hasGps, map.online),
        map.docked ? MapPlacement::Docked : MapPlacement::Floating, layoutMode);
}

void MainLayout::Place(Child child, const QRect& rect, std::optional<bool> visible)
{
    m_children[size_t(child)] = { rect, visible };
}

void MainLayout::Place(Child child, int x, int y, const QSize& size, std::optional<bool> visible)
{
    Place(child, QRect(QPoint(x, y), size), visible);
}

void MainLayout::Show(Child child, bool visible)
{
    m_children[size_t(child)].visible = visible;
}

MainLayout MainLayout::Compute(const QSize& client, int layoutMode, int channelView, const MapState& map)
{
    MainLayout l;
    const int w = client.width();
    const int h = client.height();
    const bool normal = layoutMode != kLayoutVideoOnly;

    if (normal) {
        l.videoArea = FromEdges(12, 50, w - 302, h - 271);
        l.lowerPanel = FromEdges(7, h - 259, w - 297, h - 70);
        l.playbackBar = FromEdges(7, h - 63, w - 302, h - 7);
    } else {
        l.videoArea = FromEdges(0, 0, w, h - 156);
        l.lowerPanel = FromEdges(0, h - 144, w, h - 70);
        l.playbackBar = FromEdges(7, h - 63, w, h - 7);
    }
    // The right column: 57 pixels of margins, two fifths map and three fifths list.
    const int columnHeight = h - 57;
    const int mapBottom = 50 + 2 * columnHeight / 5;
    l.mapPanel = FromEdges(w - 287, 50, w - 7, mapBottom);
    l.listPanel = FromEdges(w - 287, mapBottom, w - 7, mapBottom + 3 * columnHeight / 5);

    // Top bar and the right column: the same places in both modes, shown only in the normal one.
    const int topX[] = { 9, 53, 97, 141, 185, 229, 273 };
    const Child topButtons[] = { Child::Open, Child::Capture, Child::Print, Child::Zoom, Child::LayoutToggle,
        Child::Setting, Child::About };
    for (int i = 0; i < 7; ++i)
        l.Place(topButtons[i], topX[i], kTopButtonY, kTopButton, normal);
    l.Place(Child::Merge, 9, kTopButtonY, kTopButton, false);
    l.Place(Child::Close, w - 51, kTopButtonY, kWindowButton, normal);
    l.Place(Child::Max, w - 95, kTopButtonY, kWindowButton, normal);
    l.Place(Child::Min, w - 139, kTopButtonY, kWindowButton, normal);
    if (!normal)
        l.Place(Child::LayoutToggle, w - 50, h - 66, kTopButton, true);

    const int graphWidth = w - 304;
    l.Place(Child::Graph, 7, h - 209, QSize(graphWidth, kGraphHeight), normal);
    l.Place(Child::Overlay2, 10, h - 103, kOverlay, normal);

    const MapAreaVisibility area = MapArea(layoutMode, map);
    const QRect mapArea(w - 285, 88, kMapPanelWidth, (mapBottom - 50) - 71);
    l.Place(Child::Overlay3, w - 287, 63, kMapCaption, area.captions);
    l.Place(Child::Map, w - 54, 54, kTransportButton, area.mapButton);
    l.Place(Child::MapPanel, mapArea, area.mapPanel);
    l.Place(Child::NoDataPanel, mapArea, area.noDataPanel);
    l.Place(Child::NotConnectedPanel, mapArea, area.notConnectedPanel);
    l.Place(Child::Overlay4, w - 287, mapBottom - 26, kMapCaption, area.captions);

    const int listTop = l.listPanel.top();
    l.Place(Child::Overlay7, w - 287, listTop + 8, kListCaption, normal);
    l.Place(Child::CategoryAll, w - 189, listTop + 6, kCategoryButton, normal);
    l.Place(Child::CategoryEvent, w - 143, listTop + 6, kCategoryButton, normal);
    l.Place(Child::CategoryNormal, w - 97, listTop + 6, kCategoryButton, normal);
    l.Place(Child::CategoryParking, w - 51, listTop + 6, kCategoryButton, normal);
    l.Place(Child::List, FromEdges(w - 287, listTop + 34, w - 287 + kListWidth, l.listPanel.bottom() + 1),
        normal);

    // Both modes: screens, channel buttons, time overlay, position slider and the playback group.
    const QRect video = l.videoArea;
    if (channelView == kViewBoth) {
        const int half = video.width() / 2;
        l.Place(Child::FrontScreen, Fit16x9(QRect(video.left(), video.top(), half, video.height())));
        l.Place(Child::RearScreen, Fit16x9(QRect(video.left() + half, video.top(), half, video.height())));
    } else {
        const bool front = channelView != kViewRear;
        l.Place(Child::FrontScreen, front ? Fit16x9(video) : QRect());
        l.Place(Child::RearScreen, front ? QRect() : Fit16x9(video));
    }
    const int videoRight = video.left() + video.width();
    const int channelY = video.top() + video.height() + 10;
    l.Place(Child::AllChannels, videoRight - 55, channelY, kChannelButton);
    l.Place(Child::Rear, videoRight - 108, channelY, kChannelButton);
    l.Place(Child::Front, videoRight - 161, channelY, kChannelButton);
    l.Place(Child::RearMirror, videoRight - 254, channelY, kMirrorButton);

    const QRect lower = l.lowerPanel;
    l.Place(Child::Overlay1, lower.left() + 15, lower.top() + 3, kOverlay);
    const GsensorGeometry plot = GsensorGeometry::ForClientSize(graphWidth, kGraphHeight);
    l.Place(Child::PositionSlider, lower.left() + 2 + (plot.left - kSliderEndMarginPx), lower.top() + 25,
        QSize((plot.right - plot.left) + 2 * kSliderEndMarginPx, kPositionSliderHeight));

    const QRect bar = l.playbackBar;
    // The group's base is the centring offset alone, as the recorder's viewer placed it: in the video-only
    // layout the bar starts at 7 and the group sits 7 pixels left of the bar's centre.
    const int base = (bar.width() - kPlaybackGroupWidth) / 2;
    const int y = bar.top();
    l.Place(Child::Prev, base + 22, y, kTransportButton);
    l.Place(Child::Rw, base + 61, y, kTransportButton);
    l.Place(Child::Play, base + 100, y, kTransportButton);
    l.Place(Child::Pause, base + 100, y, kTransportButton);
    l.Place(Child::Ff, base + 139, y, kTransportButton);
    l.Place(Child::Next, base + 178, y, kTransportButton);
    l.Place(Child::Speed, base + 227, y + 4, kSmallButton);
    l.Place(Child::SpeedSlider, base + 252, y + 2, kSimpleSlider);
    l.Place(Child::Bright, base + 350, y + 4, kSmallButton);
    l.Place(Child::BrightSlider, base + 375, y + 2, kSimpleSlider);
    l.Place(Child::Mute, base + 473, y + 4, kSmallButton);
    l.Place(Child::Volume, base + 512, y + 4, kVolume);
    l.Place(Child::SpeedDisplay, base + 592, y - 3, kSpeedDisplay);
    return l;
}

} // namespace zq
