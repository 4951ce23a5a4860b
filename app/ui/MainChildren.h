#pragma once

#include "CMapNoConnectedWnd.h"
#include "CMapNoDataWnd.h"
#include "CRkMapPanelCtrl.h"
#include "MainLayout.h"

#include <QHash>
#include <QString>

class QWidget;

namespace zq {

class MapArea;
class CRkButtonCtrl;
class CRkGsensorCtrl;
class CRkListCtrl;
class CRkScreenCtrl;
class CRkSimpleSliderCtrl;
class CRkSliderCtrl;
class CRkSpeedCtrl;
class CRkTextCtrl;
class CRkVolumeCtrl;

/// Every child window of the main window, created with its identifier, skin images and tool tip. The map
/// area owns the map's three panels, the browser and the floating map window.
struct MainChildren {
    static constexpr int kOverlayBackgroundGrey = 20;

    QHash<int, CRkButtonCtrl*> buttons;
    CRkSliderCtrl* position = nullptr;
    CRkSimpleSliderCtrl* speedSlider = nullptr;
    CRkSimpleSliderCtrl* brightSlider = nullptr;
    CRkVolumeCtrl* volume = nullptr;
    CRkSpeedCtrl* speed = nullptr;
    CRkGsensorCtrl* graph = nullptr;
    CRkListCtrl* list = nullptr;
    CRkScreenCtrl* front = nullptr;
    CRkScreenCtrl* rear = nullptr;
    MapArea* map = nullptr;
    CRkMapPanelCtrl* mapPanel = nullptr;
    CMapNoDataWnd* noDataPanel = nullptr;
    CMapNoConnectedWnd* notConnectedPanel = nullptr;
    CRkTextCtrl* overlay1 = nullptr;
    CRkTextCtrl* overlay2 = nullptr;
    CRkTextCtrl* overlay3 = nullptr;
    CRkTextCtrl* overlay4 = nullptr;
    CRkTextCtrl* overlay7 = nullptr;

    /// Creates every child on the owner, in the order the window initialises them.
    void Create(QWidget* owner, int language);
    /// The images and texts that depend on the interface language: channel, category and rear_mirror
    /// buttons, the panels' pictures, tool tips, the overlays' texts and the list's column titles.
    void LoadLanguage(int language);
    CRkButtonCtrl* Button(int id) const { return buttons.value(id); }
    /// The widget the layout places for a child.
    QWidget* Widget(Child child) const;
    /// The font size of the list that lets every column show its text with a gap.
    static int ListFontPixelSize();
};

} // namespace zq
