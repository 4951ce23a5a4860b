#pragma once

#include <QObject>

namespace zq {

/// The object the map page reaches through the web channel (as "mapBridge"): a click on the track asks
/// the viewer to seek.
class CMapBridge : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Called by the page with the playback position (ms) of the track point nearest the click.
    Q_INVOKABLE void seekTo(double positionMs);

signals:
    void seekRequested(qint64 positionMs);
};

} // namespace zq
