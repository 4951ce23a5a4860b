#pragma once

#include "CGPSData.h"
#include "MapDecision.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QVector>

class QWidget;

namespace zq {

class CMapDlg;
class CMapNoConnectedWnd;
class CMapNoDataWnd;
class CMapViewWnd;
class CRkMapPanelCtrl;

/// The main window's map area: the docked map panel, the not-connected and no-data panels (children of
/// the main window), the one map browser and the floating map window. The main window creates it once,
/// places the panels with SetPanelGeometry, hands it the map button and the two overlays that go with a
/// docked map, and then calls StartUp, AfterOpen, OnTick, SetLayoutMode and FloatMap at the moments their
/// names say. Everything runs on the GUI thread.
class MapArea : public QObject {
    Q_OBJECT
public:
    static constexpr int kMapPanelId = 1200;
    static constexpr int kNotConnectedId = 1204;
    static constexpr int kNoDataId = 1205;
    /// Where the floating window first appears, and its size.
    static constexpr QRect kFloatingStart { 800, 100, 300, 300 };

    MapArea(QWidget* mainWindow, int language);
    ~MapArea() override;

    CRkMapPanelCtrl* MapPanel() const { return m_mapPanel; }
    CMapNoConnectedWnd* NotConnectedPanel() const { return m_notConnected; }
    CMapNoDataWnd* NoDataPanel() const { return m_noData; }
    CMapViewWnd* View() const { return m_view; }
    CMapDlg* Dialog() const { return m_dialog; }

    /// The main window's map button (command 1020), map caption (overlay 3) and position line (overlay 4):
    /// shown only while the map is docked in the normal layout. Any may be null.
    void SetMainWindowControls(QWidget* mapButton, QWidget* caption, QWidget* positionLine);
    /// The rectangle the three panels share in the main window.
    void SetPanelGeometry(const QRect& rect);
    /// The interface language of the stand-in panels' pictures.
    void SetLanguage(int language);
    /// The main window's layout (kLayoutNormal, kLayoutVideoOnly): shows or hides the panels to fit.
    void SetLayoutMode(int layout);
    int LayoutMode() const { return m_layout; }

    /// At start-up: requests the page when online; the no-data panel stands until a recording opens.
    void StartUp(bool online);
    /// After a recording was opened, with its GPS fixes: chooses the panel, docks a floating map when the
    /// recording has no GPS, and hands the page the track. `durationMs` is the recording's duration.
    void AfterOpen(const QVector<CGPSData>& fixes, bool online, qint64 durationMs);
    /// As AfterOpen, once the online check has an answer (at most about 1.5 s later, never blocking). A later
    /// open supersedes an earlier one still waiting.
    void AfterOpenWhenOnlineKnown(const QVector<CGPSData>& fixes, qint64 durationMs);
    /// The playback tick: shows the browser once the page was requested, moves the marker, and updates the
    /// floating window's position line. Reads the process-wide fixes; the overload takes them.
    void OnTick(qint64 positionMs, qint64 durationMs);
    void OnTick(qint64 positionMs, qint64 durationMs, const QVector<CGPSData>& fixes);
    /// After the main window laid itself out again: the marker is pushed again.
    void AfterRelayout();
    /// The recording was closed for good (card removed): dock, show the no-data panel, forget the position.
    void ResetForNoRecording();

    /// The map button (command 1020): float the map. The caller skips it while an open is in progress.
    void FloatMap();
    /// The floating window's close button: dock the map.
    void DockMap();
    /// Puts the browser in the main window's panel (Docked) or in the floating window (Floating).
    void SetMapPlacement(MapPlacement placement, int layout);

    MapPlacement Placement() const { return m_placement; }
    bool IsMapActive() const { return m_mapActive; }
    bool IsPageRequested() const { return m_pageRequested; }
    MapPanelChoice PanelChoice() const { return m_choice; }

signals:
    /// The user clicked the track on the map: seek playback to this position (ms).
    void seekRequested(qint64 positionMs);

private:
    void ApplyPanels();
    void ShowDockedControls(bool show);
    void RequestPage();

    QPointer<QWidget> m_mainWindow;
    CRkMapPanelCtrl* m_mapPanel = nullptr;
    CMapNoConnectedWnd* m_notConnected = nullptr;
    CMapNoDataWnd* m_noData = nullptr;
    CMapViewWnd* m_view = nullptr;
    CMapDlg* m_dialog = nullptr;
    QPointer<QWidget> m_mapButton;
    QPointer<QWidget> m_caption;
    QPointer<QWidget> m_positionLine;
    MapPlacement m_placement = MapPlacement::Docked;
    MapPanelChoice m_choice = MapPanelChoice::NoData;
    int m_layout = kLayoutNormal;
    bool m_pageRequested = false;
    bool m_mapActive = false;
    quint64 m_openGeneration = 0;
    qint64 m_lastPositionMs = 0;
    qint64 m_lastDurationMs = 0;
};

} // namespace zq
