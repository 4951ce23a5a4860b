#include "MapArea.h"

#include "CMapDlg.h"
#include "CMapNoConnectedWnd.h"
#include "CMapNoDataWnd.h"
#include "CMapViewWnd.h"
#include "CRkMapPanelCtrl.h"
#include "CRkTextCtrl.h"
#include "Online.h"
#include "SampleIndexForTime.h"
#include "SensorArrays.h"

#include <QWidget>

namespace zq {

MapArea::MapArea(QWidget* mainWindow, int language)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
{
    m_mapPanel = new CRkMapPanelCtrl(mainWindow);
    m_mapPanel->Create(mainWindow, kMapPanelId, 0, 0, 276, 200);
    m_mapPanel->hide();
    m_notConnected = new CMapNoConnectedWnd(mainWindow);
    m_notConnected->Create(mainWindow, kNotConnectedId, 0, 0, 276, 200);
    m_noData = new CMapNoDataWnd(mainWindow);
    m_noData->Create(mainWindow, kNoDataId, 0, 0, 276, 200);

    m_view = new CMapViewWnd(m_mapPanel);
    m_view->setGeometry(0, 0, 300, 300);
    HostIn(m_mapPanel, m_view);
    connect(m_view, &CMapViewWnd::seekRequested, this, &MapArea::seekRequested);

    m_dialog = new CMapDlg(mainWindow);
    m_dialog->setGeometry(kFloatingStart);
    m_dialog->hide();
    SetLanguage(language);
    connect(m_dialog, &CMapDlg::dockRequested, this, &MapArea::DockMap);
    connect(m_dialog, &CMapDlg::resized, this, [this] {
        if (m_placement == MapPlacement::Floating)
            m_view->PushPosition(m_lastPositionMs, m_lastDurationMs);
    });
}

MapArea::~MapArea()
{
    // The floating window is a top-level child of the main window; the browser may sit in it.
    delete m_dialog;
}

void MapArea::SetMainWindowControls(QWidget* mapButton, QWidget* caption, QWidget* positionLine)
{
    m_mapButton = mapButton;
    m_caption = caption;
    m_positionLine = positionLine;
}

void MapArea::SetPanelGeometry(const QRect& rect)
{
    m_mapPanel->setGeometry(rect);
    m_notConnected->setGeometry(rect);
    m_noData->setGeometry(rect);
}

void MapArea::SetLanguage(int language)
{
    m_notConnected->SetLanguage(language);
    m_noData->SetLanguage(language);
    // The floating window's caption and position line take their words from the loaded table.
    const QHash<int, QString> labels = CRkTextCtrl::LanguageLabels();
    m_dialog->Caption()->SetLabels(labels);
    m_dialog->PositionText()->SetLabels(labels);
    m_dialog->update();
}

void MapArea::SetLayoutMode(int layout)
{
    m_layout = layout;
    ApplyPanels();
    const MapAreaShown shown = ShownMapArea(m_choice, m_placement, layout);
    ShowDockedControls(shown.captions);
    if (m_mapButton)
        m_mapButton->setVisible(shown.mapButton);
}

void MapArea::RequestPage()
{
    if (m_pageRequested)
        return;
    m_view->LoadMapPage();
    m_pageRequested = m_view->IsNavigated();
}

void MapArea::StartUp(bool online)
{
    if (online)
        RequestPage();
    m_choice = MapPanelChoice::NoData;
    ApplyPanels();
    if (m_mapButton)
        m_mapButton->hide();
}

void MapArea::AfterOpen(const QVector<CGPSData>& fixes, bool online, qint64 durationMs)
{
    ++m_openGeneration;
    const MapAfterOpen d = DecideAfterOpen(!fixes.isEmpty(), online, m_placement, m_layout, m_pageRequested);
    if (d.dock)
        SetMapPlacement(MapPlacement::Docked, m_layout);
    if (d.loadPage)
        RequestPage();
    m_choice = d.panel;
    if (d.mapActive)
        m_mapActive = *d.mapActive;
    m_mapPanel->setVisible(d.showMapPanel);
    m_notConnected->setVisible(d.showNotConnected);
    m_noData->setVisible(d.showNoData);
    if (m_mapButton && d.mapButton != MapAfterOpen::Button::Keep)
        m_mapButton->setVisible(d.mapButton == MapAfterOpen::Button::Show);
    if (d.sendTrack)
        m_view->SetTrack(fixes, durationMs);
}

void MapArea::AfterOpenWhenOnlineKnown(const QVector<CGPSData>& fixes, qint64 durationMs)
{
    const quint64 generation = ++m_openGeneration;
    platform::OnlineCheck::Instance().WhenKnown(this, [this, generation, fixes, durationMs](bool online) {
        if (generation == m_openGeneration)
            AfterOpen(fixes, online, durationMs);
    });
}

void MapArea::OnTick(qint64 positionMs, qint64 durationMs)
{
    OnTick(positionMs, durationMs, GpsFixes());
}

void MapArea::OnTick(qint64 positionMs, qint64 durationMs, const QVector<CGPSData>& fixes)
{
    m_lastPositionMs = positionMs;
    m_lastDurationMs = durationMs;
    if (m_layout == kLayoutNormal && m_pageRequested)
        m_view->show();
    m_view->PushPosition(positionMs, durationMs, fixes);
    if (m_layout != kLayoutNormal)
        return;
    float latitude = 0.0f;
    float longitude = 0.0f;
    const auto index = SampleIndexForTime(positionMs, durationMs, fixes.size());
    if (index && fixes[*index].valid != 0) {
        latitude = float(LatitudeDegrees(fixes[*index]));
        longitude = float(LongitudeDegrees(fixes[*index]));
    }
    m_dialog->SetCoordinates(latitude, longitude);
}

void MapArea::AfterRelayout()
{
    // Before the first valid fix there is no position: repeating (0, 0) would pan the map to the ocean.
    if (m_view->HasPosition())
        m_view->RepeatPosition();
}

void MapArea::ResetForNoRecording()
{
    ++m_openGeneration;
    m_lastPositionMs = 0;
    m_lastDurationMs = 0;
    m_dialog->SetCoordinates(0.0f, 0.0f);
    m_view->ForgetPosition();
    if (m_placement != MapPlacement::Docked)
        SetMapPlacement(MapPlacement::Docked, m_layout);
    m_choice = MapPanelChoice::NoData;
    m_mapActive = false;
    m_mapPanel->hide();
    if (m_mapButton)
        m_mapButton->hide();
    m_noData->setVisible(m_layout == kLayoutNormal);
    m_notConnected->hide();
}

void MapArea::FloatMap()
{
    SetMapPlacement(MapPlacement::Floating, m_layout);
}

void MapArea::DockMap()
{
    SetMapPlacement(MapPlacement::Docked, m_layout);
}

void MapArea::SetMapPlacement(MapPlacement placement, int layout)
{
    m_placement = placement;
    if (placement == MapPlacement::Docked) {
        m_dialog->hide();
        HostIn(m_mapPanel, m_view);
        const bool normal = layout == kLayoutNormal;
        if (m_mapButton)
            m_mapButton->setVisible(normal);
        ShowDockedControls(normal);
        return;
    }
    m_dialog->show();
    m_dialog->raise();
    HostIn(m_dialog->Panel(), m_view);
    m_view->show();
    if (m_mapButton)
        m_mapButton->hide();
    ShowDockedControls(false);
}

void MapArea::ApplyPanels()
{
    const MapAreaShown shown = ShownMapArea(m_choice, m_placement, m_layout);
    m_mapPanel->setVisible(shown.mapPanel);
    m_notConnected->setVisible(shown.notConnectedPanel);
    m_noData->setVisible(shown.noDataPanel);
}

void MapArea::ShowDockedControls(bool show)
{
    if (m_caption)
        m_caption->setVisible(show);
    if (m_positionLine)
        m_positionLine->setVisible(show);
}

} // namespace zq
