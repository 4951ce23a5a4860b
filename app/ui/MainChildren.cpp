#include "MainChildren.h"

#include "CMapNoConnectedWnd.h"
#include "CMapNoDataWnd.h"
#include "CRkButtonCtrl.h"
#include "CRkGsensorCtrl.h"
#include "CRkListCtrl.h"
#include "CRkMapPanelCtrl.h"
#include "CRkScreenCtrl.h"
#include "CRkSimpleSliderCtrl.h"
#include "CRkSliderCtrl.h"
#include "CRkSpeedCtrl.h"
#include "CRkTextCtrl.h"
#include "CRkVolumeCtrl.h"
#include "CommandIds.h"
#include "MapArea.h"
#include "SkinDraw.h"
#include "SkinImageTable.h"
#include "TextLookup.h"

namespace zq {

namespace {

struct ButtonSpec {
    int id;
    int normal, pressed, hover, disabled;
    int toolTip;
    bool topBar;
};

// The buttons whose images are the same in every language; the top bar's carry the top strip's look.
constexpr ButtonSpec kButtons[] = {
    { kCmdOpen, 19101, 19102, 19103, 0, 101, true },
    { kCmdMerge, 19294, 19295, 19296, 19297, 272, false },
    { kCmdCapture, 19111, 19112, 19113, 19114, 102, true },
    { kCmdZoom, 19121, 19122, 19123, 19124, 208, true },
    { kCmdPrint, 19131, 19132, 19133, 19134, 105, true },
    { kCmdSetting, 19141, 19142, 19143, 0, 106, true },
    { kCmdLayoutToggle, 19151, 19152, 19153, 0, 107, true },
    { kCmdAbout, 19161, 19162, 19163, 0, 109, true },
    { kCmdMinimize, 18101, 18102, 18103, 0, 108, false },
    { kCmdMaximize, 18111, 18112, 18113, 0, 107, false },
    { kCmdClose, 18121, 18122, 18123, 0, 209, false },
    { kCmdPrev, 19171, 19172, 19173, 19174, 115, false },
    { kCmdRewind, 19181, 19182, 19183, 19184, 116, false },
    { kCmdPlay, 19191, 19192, 19193, 19194, 117, false },
    { kCmdPause, 19195, 19196, 19197, 19198, 118, false },
    { kCmdFastForward, 19201, 19202, 19203, 19204, 119, false },
    { kCmdNext, 19211, 19212, 19213, 19214, 120, false },
    { kCmdSpeedDefault, 19221, 19222, 0, 0, 121, false },
    { kCmdBrightDefault, 19231, 19232, 0, 0, 122, false },
    { kCmdMute, 19243, 19244, 0, 0, 124, false },
    { kCmdMap, 19251, 19252, 0, 19253, 0, false },
};

struct LanguageButton {
    int id;
    int englishNormal; // selected is normal + 1; categories have disabled at normal + 2
    int toolTip;
    bool category;
};

constexpr LanguageButton kLanguageButtons[] = {
    { kCmdChannelFront, kChannelFrontNormalEnglish, 112, false },
    { kCmdChannelRear, kChannelFrontNormalEnglish + 2, 113, false },
    { kCmdChannelAll, kChannelFrontNormalEnglish + 4, 114, false },
    { kCmdCategoryAll, kCategoryAllNormalEnglish, 131, true },
    { kCmdCategoryNormal, kCategoryAllNormalEnglish + 3, 133, true },
    { kCmdCategoryEvent, kCategoryAllNormalEnglish + 6, 132, true },
    { kCmdCategoryParking, kCategoryAllNormalEnglish + 9, 134, true },
};

constexpr int kGraphId = 1040;
constexpr int kVolumeId = 1041;
constexpr int kSpeedId = 1042;
constexpr int kFrontScreenId = 1043;
constexpr int kRearScreenId = 1044;
constexpr int kOverlayIds[] = { 1051, 1052, 1053, 1054, 1057 };
constexpr int kPositionStrip = 1034;
constexpr int kPositionThumb = 1036;
constexpr int kSimpleChannel = 1040;
constexpr int kSimpleThumb = 1042;
constexpr int kSpeedSliderTip = 111;
constexpr int kBrightSliderTip = 123;
constexpr int kVolumeTip = 125;
// Thirteen pixels make "2024-05-01" as wide as its 72-pixel column; eleven leave a gap in every table.
constexpr int kListFontPx = 11;

void SetToolTip(QWidget* widget, int id)
{
    QString text;
    widget->setToolTip(id != 0 && LookupText(id, &text) ? text : QString());
}

} // namespace

int MainChildren::ListFontPixelSize()
{
    return kListFontPx;
}

void MainChildren::Create(QWidget* owner, int language)
{
    graph = new CRkGsensorCtrl;
    graph->Create(owner, kGraphId, 0, 0, 10, 10);
    volume = new CRkVolumeCtrl;
    volume->Create(owner, kVolumeId, 0, 0, 70, 24);
    speed = new CRkSpeedCtrl;
    speed->Create(owner, kSpeedId, 0, 0, 120, 40);
    front = new CRkScreenCtrl;
    front->Create(owner, kFrontScreenId, 0, 0, 10, 10);
    rear = new CRkScreenCtrl;
    rear->Create(owner, kRearScreenId, 0, 0, 10, 10);
    // The map area makes the map panel, the no-data and the not-connected panels on the owner.
    map = new MapArea(owner, language);
    mapPanel = map->MapPanel();
    noDataPanel = map->NoDataPanel();
    notConnectedPanel = map->NotConnectedPanel();
    mapPanel->setObjectName(QStringLiteral("mapPanel"));
    noDataPanel->setObjectName(QStringLiteral("noDataPanel"));
    notConnectedPanel->setObjectName(QStringLiteral("notConnectedPanel"));
    CRkTextCtrl** overlays[] = { &overlay1, &overlay2, &overlay3, &overlay4, &overlay7 };
    const int kinds[] = { 1, 2, 3, 4, 7 };
    for (int i = 0; i < 5; ++i) {
        *overlays[i] = new CRkTextCtrl;
        (*overlays[i])->Create(owner, kOverlayIds[i], 0, 0, 10, 10);
        (*overlays[i])->SetKind(kinds[i]);
    }
    const QColor panelGrey(kOverlayBackgroundGrey, kOverlayBackgroundGrey, kOverlayBackgroundGrey);
    for (CRkTextCtrl* text : { overlay3, overlay4, overlay7 })
        text->SetBackground(panelGrey);

    for (const ButtonSpec& spec : kButtons) {
        auto* button = new CRkButtonCtrl(spec.id, owner);
        button->setObjectName(QStringLiteral("button%1").arg(spec.id));
        button->SetImages(spec.normal, spec.pressed, spec.hover, spec.disabled);
        button->SetTopBarLook(spec.topBar);
        SetToolTip(button, spec.toolTip);
        buttons.insert(spec.id, button);
    }
    for (const LanguageButton& spec : kLanguageButtons) {
        auto* button = new CRkButtonCtrl(spec.id, owner);
        button->setObjectName(QStringLiteral("button%1").arg(spec.id));
        buttons.insert(spec.id, button);
    }
    auto* mirror = new CRkButtonCtrl(kCmdRearMirror, owner);
    mirror->setObjectName(QStringLiteral("button%1").arg(kCmdRearMirror));
    buttons.insert(kCmdRearMirror, mirror);

    position = new CRkSliderCtrl(owner);
    position->setObjectName(QStringLiteral("positionSlider"));
    position->SetImages(kPositionStrip, kPositionThumb);
    speedSlider = new CRkSimpleSliderCtrl(owner);
    speedSlider->setObjectName(QStringLiteral("speedSlider"));
    brightSlider = new CRkSimpleSliderCtrl(owner);
    brightSlider->setObjectName(QStringLiteral("brightSlider"));
    for (CRkSimpleSliderCtrl* slider : { speedSlider, brightSlider }) {
        slider->SetImages(kSimpleChannel, kSimpleThumb);
        slider->setRange(0, 100);
        slider->setValue(50);
        slider->setPageStep(10);
    }
    map->SetMainWindowControls(buttons.value(kCmdMap), overlay3, overlay4);
    list = new CRkListCtrl(owner);
    list->setObjectName(QStringLiteral("recordingList"));
    list->InitList();
    QFont font = list->font();
    font.setPixelSize(kListFontPx);
    list->setFont(font);
    LoadLanguage(language);
}

void MainChildren::LoadLanguage(int language)
{
    graph->SetLanguage(language);
    front->SetLanguage(language);
    rear->SetLanguage(language);
    for (QWidget* window :
        { static_cast<QWidget*>(graph), static_cast<QWidget*>(front), static_cast<QWidget*>(rear) })
        window->update();
    for (const ButtonSpec& spec : kButtons)
        SetToolTip(buttons.value(spec.id), spec.toolTip);
    for (const LanguageButton& spec : kLanguageButtons) {
        const int normal = LanguageImageId(spec.englishNormal, language);
        const int selected = normal ? normal + 1 : 0;
        const int disabled = spec.category && normal ? normal + 2 : 0;
        CRkButtonCtrl* button = buttons.value(spec.id);
        button->SetImages(normal, 0, 0, disabled, selected);
        SetToolTip(button, spec.toolTip);
        button->Redraw();
    }
    const int mirror = LanguageImageId(kRearMirrorNormalEnglish, language);
    buttons.value(kCmdRearMirror)->SetImages(mirror, 0, 0, 0, mirror ? mirror + 1 : 0);
    for (CRkButtonCtrl* button : std::as_const(buttons))
        button->Redraw();
    SetToolTip(speedSlider, kSpeedSliderTip);
    SetToolTip(brightSlider, kBrightSliderTip);
    SetToolTip(volume, kVolumeTip);
    const QHash<int, QString> labels = CRkTextCtrl::LanguageLabels();
    for (CRkTextCtrl* text : { overlay1, overlay2, overlay3, overlay4, overlay7 })
        text->SetLabels(labels);
    map->SetLanguage(language);
    list->LoadColumnTitles();
}

QWidget* MainChildren::Widget(Child child) const
{
    switch (child) {
    case Child::Open:
        return Button(kCmdOpen);
    case Child::Merge:
        return Button(kCmdMerge);
    case Child::Capture:
        return Button(kCmdCapture);
    case Child::Zoom:
        return Button(kCmdZoom);
    case Child::Print:
        return Button(kCmdPrint);
    case Child::Setting:
        return Button(kCmdSetting);
    case Child::LayoutToggle:
        return Button(kCmdLayoutToggle);
    case Child::About:
        return Button(kCmdAbout);
    case Child::Min:
        return Button(kCmdMinimize);
    case Child::Max:
        return Button(kCmdMaximize);
    case Child::Close:
        return Button(kCmdClose);
    case Child::Prev:
        return Button(kCmdPrev);
    case Child::Rw:
        return Button(kCmdRewind);
    case Child::Play:
        return Button(kCmdPlay);
    case Child::Pause:
        return Button(kCmdPause);
    case Child::Ff:
        return Button(kCmdFastForward);
    case Child::Next:
        return Button(kCmdNext);
    case Child::Speed:
        return Button(kCmdSpeedDefault);
    case Child::Bright:
        return Button(kCmdBrightDefault);
    case Child::Mute:
        return Button(kCmdMute);
    case Child::Map:
        return Button(kCmdMap);
    case Child::Front:
        return Button(kCmdChannelFront);
    case Child::Rear:
        return Button(kCmdChannelRear);
    case Child::AllChannels:
        return Button(kCmdChannelAll);
    case Child::RearMirror:
        return Button(kCmdRearMirror);
    case Child::CategoryAll:
        return Button(kCmdCategoryAll);
    case Child::CategoryNormal:
        return Button(kCmdCategoryNormal);
    case Child::CategoryEvent:
        return Button(kCmdCategoryEvent);
    case Child::CategoryParking:
        return Button(kCmdCategoryParking);
    case Child::PositionSlider:
        return position;
    case Child::SpeedSlider:
        return speedSlider;
    case Child::BrightSlider:
        return brightSlider;
    case Child::Volume:
        return volume;
    case Child::SpeedDisplay:
        return speed;
    case Child::Graph:
        return graph;
    case Child::FrontScreen:
        return front;
    case Child::RearScreen:
        return rear;
    case Child::MapPanel:
        return mapPanel;
    case Child::NoDataPanel:
        return noDataPanel;
    case Child::NotConnectedPanel:
        return notConnectedPanel;
    case Child::Overlay1:
        return overlay1;
    case Child::Overlay2:
        return overlay2;
    case Child::Overlay3:
        return overlay3;
    case Child::Overlay4:
        return overlay4;
    case Child::Overlay7:
        return overlay7;
    case Child::List:
        return list;
    case Child::Count:
        break;
    }
    return nullptr;
}

} // namespace zq
