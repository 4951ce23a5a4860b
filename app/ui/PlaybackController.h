#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace zq {

class CRkSliderCtrl;
class CRkTextCtrl;
class Player;
class SensorDisplaySync;

/// The playback tick and the transport state: every 200 ms it reads the player and moves the position
/// slider, the time overlay and (through the sensor sync) the sensor displays; at the end of a recording
/// it reports the end to its owner, which steps on.
class PlaybackController : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickIntervalMs = 200;

    PlaybackController(Player* player, CRkSliderCtrl* slider, CRkTextCtrl* timeText, SensorDisplaySync* sync,
        QObject* parent = nullptr);

    /// While this says so, the tick leaves the player and the sensor arrays alone.
    void SetBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }
    void SetNormalLayout(bool normal) { m_normalLayout = normal; }

    void StartTick();
    void StopTick();
    bool TickRunning() const { return m_timer.isActive(); }
    /// One tick (also run at once after a seek so the display follows it).
    void Tick();
    /// How many ticks have run.
    qint64 TickCount() const { return m_ticks; }

signals:
    /// The position reached the duration (or the duration is 0).
    void recordingEnded();

private:
    Player* m_player;
    CRkSliderCtrl* m_slider;
    CRkTextCtrl* m_timeText;
    SensorDisplaySync* m_sync;
    std::function<bool()> m_busy;
    bool m_normalLayout = true;
    QTimer m_timer;
    qint64 m_ticks = 0;
};

} // namespace zq
