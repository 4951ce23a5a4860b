#include "PlaybackController.h"

#include "CRkSliderCtrl.h"
#include "CRkTextCtrl.h"
#include "PlayState.h"
#include "Player.h"
#include "SensorDisplaySync.h"

#include <QCoreApplication>
#include <QFocusEvent>

namespace zq {

PlaybackController::PlaybackController(
    Player* player, CRkSliderCtrl* slider, CRkTextCtrl* timeText, SensorDisplaySync* sync, QObject* parent)
    : QObject(parent)
    , m_player(player)
    , m_slider(slider)
    , m_timeText(timeText)
    , m_sync(sync)
{
    m_timer.setInterval(kTickIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &PlaybackController::Tick);
}

void PlaybackController::StartTick()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void PlaybackController::StopTick()
{
    m_timer.stop();
}

void PlaybackController::Tick()
{
    ++m_ticks;
    // The slider loses the keyboard focus at every tick, as it does on the recorder's viewer.
    QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(m_slider, &focusOut);
    // The worker drives the player while an open is in progress; calls must not overlap.
    if (m_busy && m_busy())
        return;
    const qint32 state = m_player->GetState();
    m_slider->update();
    if (state == PlayState::kRunning || state == PlayState::kPaused) {
        m_timeText->SetDuration(int(m_player->GetDurationMs()));
        m_timeText->SetPosition(int(m_player->GetPositionMs()));
    } else {
        m_timeText->SetDuration(0);
        m_timeText->SetPosition(0);
    }
    if (state != PlayState::kRunning)
        return;
    const qint64 p = m_player->GetPositionMs();
    const qint64 d = m_player->GetDurationMs();
    if (p >= 0 && p < d) {
        m_slider->setRange(0, int(d));
        m_slider->setValue(int(p));
        m_sync->Update(p, d, m_normalLayout);
        return;
    }
    m_slider->setValue(int(p));
    emit recordingEnded();
}

} // namespace zq
