#include "MapDecision.h"

namespace zq {

MapPanelChoice ChooseMapPanel(bool hasGpsFixes, bool online)
{
    if (!hasGpsFixes)
        return MapPanelChoice::NoData;
    return online ? MapPanelChoice::Map : MapPanelChoice::NotConnected;
}

MapAreaShown ShownMapArea(MapPanelChoice choice, MapPlacement placement, int layout)
{
    MapAreaShown shown;
    if (layout != kLayoutNormal)
        return shown;
    const bool docked = placement == MapPlacement::Docked;
    shown.mapPanel = choice == MapPanelChoice::Map;
    shown.noDataPanel = choice == MapPanelChoice::NoData;
    shown.notConnectedPanel = choice == MapPanelChoice::NotConnected;
    shown.mapButton = docked && shown.mapPanel;
    shown.captions = docked;
    return shown;
}

MapAfterOpen DecideAfterOpen(
    bool hasGpsFixes, bool online, MapPlacement placement, int layout, bool pageRequested)
{
    MapAfterOpen d;
    const bool normal = layout == kLayoutNormal;
    const bool docked = placement == MapPlacement::Docked;
    d.panel = ChooseMapPanel(hasGpsFixes, online);
    switch (d.panel) {
    case MapPanelChoice::Map:
        d.loadPage = !pageRequested;
        d.showMapPanel = normal;
        d.mapActive = true;
        d.mapButton = docked ? (normal ? MapAfterOpen::Button::Show : MapAfterOpen::Button::Hide)
                             : MapAfterOpen::Button::Keep;
        d.sendTrack = true;
        break;
    case MapPanelChoice::NotConnected:
        d.showNotConnected = normal;
        // A floating map keeps its state until the user docks it.
        d.mapButton = docked ? MapAfterOpen::Button::Hide : MapAfterOpen::Button::Keep;
        break;
    case MapPanelChoice::NoData:
        d.dock = !docked;
        d.showNoData = normal;
        d.mapActive = false;
        d.mapButton = MapAfterOpen::Button::Hide;
        break;
    }
    return d;
}

} // namespace zq
