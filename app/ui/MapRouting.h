#pragma once

#include "MainLayout.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace zq {

class CRkSliderCtrl;
class CommandTable;
class MapArea;
class SeekTarget;

/// Joins the map area to the main window: the start-up and after-open decisions (the connection is
/// asked without ever blocking the GUI thread), the tick's push of the position, the Map command, the
/// layout, the reset when the card goes, and the track's clicks into the player's seek.
///
/// ZQ_MAP_MARKER_FILE (for tests): after every push, the marker's position as the page holds it
/// ("latitude longitude", or empty before the first one) is written to that file.
class MapRouting : public QObject {
    Q_OBJECT
public:
    MapRouting(MapArea* map, QObject* parent = nullptr);

    /// Command 1020 floats the map; refused while a recording is being opened.
    void RegisterCommands(CommandTable& commands);
    /// The track's clicks seek through the same target as the position slider, and move the slider.
    void SetSeekTarget(SeekTarget* target, CRkSliderCtrl* slider);

    /// At start-up: the no-data panel stands at once; the page is requested when the connection check
    /// answers "online" (through SetOnline).
    void StartUp();
    /// The start-up answer of the connection check. An open that has already chosen its panel keeps it.
    void SetOnline(bool online);
    /// A recording was opened and its sensor records are in place.
    void AfterOpen(qint64 durationMs);
    /// The playback tick moved to this position.
    void OnTick(qint64 positionMs, qint64 durationMs);
    /// The main window laid itself out: the panels' rectangle and the layout mode.
    void AfterLayout(const QRect& panelRect, int layoutMode);
    /// The card went away with the recording.
    void ResetForNoRecording();

    /// What the main window's layout needs to know of the map.
    MapState State() const;
    MapArea* Area() const { return m_map; }

private:
    void OnSeekRequested(qint64 positionMs);
    void WriteMarkerForTests();

    MapArea* m_map;
    SeekTarget* m_seekTarget = nullptr;
    QPointer<CRkSliderCtrl> m_slider;
    QString m_markerFile;
};

} // namespace zq
