#pragma once

#include "MapDecision.h"

#include <QRect>
#include <QSize>
#include <array>
#include <optional>

namespace zq {

/// Every child of the main window that the layout places.
enum class Child {
    Open,
    Merge,
    Capture,
    Zoom,
    Print,
    Setting,
    LayoutToggle,
    About,
    Min,
    Max,
    Close,
    Prev,
    Rw,
    Play,
    Pause,
    Ff,
    Next,
    Speed,
    Bright,
    Mute,
    Map,
    Front,
    Rear,
    AllChannels,
    RearMirror,
    CategoryAll,
    CategoryNormal,
    CategoryEvent,
    CategoryParking,
    PositionSlider,
    SpeedSlider,
    BrightSlider,
    Volume,
    SpeedDisplay,
    Graph,
    FrontScreen,
    RearScreen,
    MapPanel,
    NoDataPanel,
    NotConnectedPanel,
    Overlay1,
    Overlay2,
    Overlay3,
    Overlay4,
    Overlay7,
    List,
    Count
};
inline constexpr int kChildCount = int(Child::Count);

inline constexpr int kViewFront = 1;
inline constexpr int kViewRear = 2;
inline constexpr int kViewBoth = 3;

/// What decides the map area: whether the open recording has GPS fixes, whether the computer is online and
/// whether the map sits in the main window (docked) or in its own dialog.
struct MapState {
    bool hasGps = false;
    bool online = false;
    bool docked = true;
};

/// Where one child goes and whether it is shown; no visibility means the layout leaves it as it is (the
/// transport buttons, the channel buttons and the screens are shown by playback, not by the layout).
struct Placement {
    QRect rect;
    std::optional<bool> visible;
};

/// The map area's shown state for a layout mode and map state (the map's own rule, see MapDecision.h).
using MapAreaVisibility = MapAreaShown;

/// The main window's pixel arithmetic, free of any window: every child's rectangle and visibility for a
/// client size, layout mode, channel view and map state.
class MainLayout {
public:
    static constexpr QSize kMinimumSize { 1034, 742 };
    static constexpr int kResizeEdgePx = 10;
    static constexpr int kPlaybackGroupWidth = 726;
    static constexpr int kGraphHeight = 97;
    static constexpr int kSliderEndMarginPx = 15;

    /// A rectangle from its left, top, right and bottom, the right and bottom edges outside it.
    static QRect FromEdges(int left, int top, int right, int bottom);
    /// The largest 16:9 rectangle centred in the area (integer arithmetic).
    static QRect Fit16x9(const QRect& area);
    /// The size a requested window size becomes: never below the minimum.
    static QSize Clamp(const QSize& requested);
    /// The resize edges a window point starts (empty: move or default handling); none on a maximised window.
    static Qt::Edges ResizeEdges(const QSize& window, const QPoint& point, bool maximised);
    static MapAreaVisibility MapArea(int layoutMode, const MapState& map);

    static MainLayout Compute(const QSize& client, int layoutMode, int channelView, const MapState& map);

    const Placement& At(Child child) const { return m_children[size_t(child)]; }
    QRect Rect(Child child) const { return At(child).rect; }
    std::optional<bool> Visible(Child child) const { return At(child).visible; }

    QRect videoArea;
    QRect lowerPanel;
    QRect playbackBar;
    QRect mapPanel;
    QRect listPanel;

private:
    void Place(Child child, const QRect& rect, std::optional<bool> visible = std::nullopt);
    void Place(Child child, int x, int y, const QSize& size, std::optional<bool> visible = std::nullopt);
    void Show(Child child, bool visible);

    std::array<Placement, kChildCount> m_children;
};

} // namespace zq
