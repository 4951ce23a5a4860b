#pragma once

#include "MainLayout.h"

#include <QHash>
#include <QString>

class QLabel;
class QWidget;

namespace zq {

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
/// area's three panels are plain stand-ins that the map windows replace.
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
    QLabel* mapPanel = nullptr;
    QLabel* noDataPanel = nullptr;
    QLabel* notConnectedPanel = nullptr;
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
