#include "MapRouting.h"

#include "CMapViewWnd.h"
#include "CRkSliderCtrl.h"
#include "CommandIds.h"
#include "CommandTable.h"
#include "MapArea.h"
#include "Online.h"
#include "SeekTarget.h"
#include "SensorArrays.h"

#include <QSaveFile>
#include <QWebEnginePage>

namespace zq {

namespace {

// The marker as the page holds it; empty while the page shows none.
constexpr char kMarkerQuery[]
    = "(typeof zqMap !== 'undefined' && zqMap && zqMap.hasLayer(zqMarker))"
      " ? zqMarker.getLatLng().lat.toFixed(6) + ' ' + zqMarker.getLatLng().lng.toFixed(6)"
      " : ''";

} // namespace

MapRouting::MapRouting(MapArea* map, QObject* parent)
    : QObject(parent)
    , m_map(map)
    , m_markerFile(qEnvironmentVariable("ZQ_MAP_MARKER_FILE"))
{
    connect(m_map, &MapArea::seekRequested, this, &MapRouting::OnSeekRequested);
}

void MapRouting::RegisterCommands(CommandTable& commands)
{
    commands.Add(kCmdMap, [this] { m_map->FloatMap(); });
}

void MapRouting::SetSeekTarget(SeekTarget* target, CRkSliderCtrl* slider)
{
    m_seekTarget = target;
    m_slider = slider;
}

void MapRouting::StartUp()
{
    m_map->StartUp(false);
    platform::OnlineCheck::Instance().WhenKnown(this, [this](bool online) { SetOnline(online); });
}

void MapRouting::SetOnline(bool online)
{
    // A recording opened before the answer came has chosen its panel already; StartUp would undo it.
    if (m_map->PanelChoice() == MapPanelChoice::NoData)
        m_map->StartUp(online);
}

void MapRouting::AfterOpen(qint64 durationMs)
{
    m_map->AfterOpenWhenOnlineKnown(GpsFixes(), durationMs);
}

void MapRouting::OnTick(qint64 positionMs, qint64 durationMs)
{
    m_map->OnTick(positionMs, durationMs);
    if (!m_markerFile.isEmpty())
        WriteMarkerForTests();
}

void MapRouting::AfterLayout(const QRect& panelRect, int layoutMode)
{
    m_map->SetPanelGeometry(panelRect);
    m_map->SetLayoutMode(layoutMode);
    m_map->AfterRelayout();
}

void MapRouting::ResetForNoRecording()
{
    m_map->ResetForNoRecording();
}

MapState MapRouting::State() const
{
    const MapPanelChoice choice = m_map->PanelChoice();
    return { choice != MapPanelChoice::NoData, choice == MapPanelChoice::Map,
        m_map->Placement() == MapPlacement::Docked };
}

void MapRouting::OnSeekRequested(qint64 positionMs)
{
    if (!m_seekTarget || m_seekTarget->IsBusy())
        return;
    m_seekTarget->SetPosition(positionMs);
    if (m_slider)
        m_slider->setValue(int(positionMs));
}

void MapRouting::WriteMarkerForTests()
{
    CMapViewWnd* view = m_map->View();
    if (!view->IsPageReady())
        return;
    const QString path = m_markerFile;
    // Asked after the push: the page runs scripts in order, so the answer holds this tick's position.
    view->page()->runJavaScript(QString::fromLatin1(kMarkerQuery), [path](const QVariant& result) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(result.toString().toUtf8() + '\n');
            file.commit();
        }
    });
}

} // namespace zq
