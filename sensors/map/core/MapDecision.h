#pragma once

#include <optional>

// Which of the three map panels stands in the main window's map area, and what goes with it. Windowless,
// so the main window's layout and the tests can ask without a web view.
namespace zq {

/// Where the map browser sits: docked in the main window's panel, or in the floating window.
enum class MapPlacement : int { Docked = 1, Floating = 2 };

/// The main window's layout modes: all panels, or video only.
inline constexpr int kLayoutNormal = 1;
inline constexpr int kLayoutVideoOnly = 2;

/// The panel that stands for the map.
enum class MapPanelChoice { Map, NotConnected, NoData };

/// What the map area does after a recording was opened.
struct MapAfterOpen {
    MapPanelChoice panel = MapPanelChoice::NoData;
    bool loadPage = false; ///< request the page now (it was not requested before)
    bool dock = false; ///< bring the floating map back into the main window first
    /// The main window's map flag (the map shows live GPS data): set, cleared, or left as it is.
    std::optional<bool> mapActive;
    bool showMapPanel = false;
    bool showNotConnected = false;
    bool showNoData = false;
    /// The map button: shown, hidden, or left as it is (floating map with GPS fixes).
    enum class Button { Show, Hide, Keep } mapButton = Button::Hide;
    bool sendTrack = false; ///< hand the page the recording's track
};

/// What of the map area the main window shows for a panel choice, placement and layout.
struct MapAreaShown {
    bool mapPanel = false;
    bool noDataPanel = false;
    bool notConnectedPanel = false;
    bool mapButton = false; ///< command 1020, floats the map
    bool captions = false; ///< overlays 3 and 4: only beside a docked map
};

/// The panel for a recording: the map with GPS fixes and a connection, the not-connected panel with GPS
/// fixes but none, the no-data panel without GPS fixes.
MapPanelChoice ChooseMapPanel(bool hasGpsFixes, bool online);

/// The map area in a layout: nothing in the video-only layout; otherwise the chosen panel, the captions
/// while the map is docked, and the map button while a docked map is the choice.
MapAreaShown ShownMapArea(MapPanelChoice choice, MapPlacement placement, int layout);

/// The whole decision after an open. `layout` is kLayoutNormal or kLayoutVideoOnly.
MapAfterOpen DecideAfterOpen(
    bool hasGpsFixes, bool online, MapPlacement placement, int layout, bool pageRequested);

} // namespace zq
