#pragma once

#include <QObject>

namespace zq {

class CRkSpeedCtrl;
class CRkTextCtrl;

/// Moves the sensor displays with playback: speed, G-sensor values and GPS position for a moment of the
/// open recording. The map marker is announced by a signal for whichever map shows it.
class SensorDisplaySync : public QObject {
    Q_OBJECT
public:
    SensorDisplaySync(
        CRkSpeedCtrl* speed, CRkTextCtrl* gsensorText, CRkTextCtrl* positionText, QObject* parent = nullptr);

    /// The values at position p of a recording of duration d (ms). The video-only layout moves only the
    /// speed and the marker.
    void Update(qint64 positionMs, qint64 durationMs, bool normalLayout);
    /// Back to the state without a recording.
    void Reset();
    float LastLatitude() const { return m_latitude; }
    float LastLongitude() const { return m_longitude; }

signals:
    void markerMoved(qint64 positionMs, qint64 durationMs);
    void positionChanged(float latitude, float longitude);

private:
    CRkSpeedCtrl* m_speed;
    CRkTextCtrl* m_gsensorText;
    CRkTextCtrl* m_positionText;
    float m_latitude = 0.0f;
    float m_longitude = 0.0f;
};

} // namespace zq
