#include "Player.h"

#include "DecoderParams.h"

#include <algorithm>
#include <cmath>

namespace zq {

Player::Player() = default;

Player::~Player()
{
    Close();
}

void Player::Initialize(int screenCount, VideoSurface* window1, VideoSurface* window2, VideoSurface* window3,
    VideoSurface* window4)
{
    m_screenCount = std::clamp(screenCount, 0, PlaybackEngine::kMaxChannels);
    const PlaybackEngine::Screens windows { window1, window2, window3, window4 };
    m_screenWindows.fill(nullptr);
    for (int k = 0; k < m_screenCount; ++k)
        m_screenWindows[k] = windows[k];
    if (!m_engine)
        CreateEngine();
}

void Player::CreateEngine()
{
    m_engine = std::make_unique<PlaybackEngine>(m_screenCount, m_screenWindows);
    m_engine->SetState(PlayState::kCreated);
    m_engine->SetParseOption(m_parseOption);
    m_engine->SetFactories(m_factories);
    m_engine->SetSyncToClock(m_syncToClock);
}

bool Player::Open(const QString& path, qint32 first, qint32 second)
{
    if (m_screenWindows[0] == nullptr || path.isNull())
        return false;
    if (m_engine)
        m_engine->Stop();
    SeekMs(0);
    Close();
    CreateEngine();
    const HRESULT result = m_engine->BuildGraph(path, first, second);
    if (result == S_FALSE || Failed(result)) {
        Close();
        return false;
    }
    return true;
}

bool Player::Close()
{
    if (m_engine) {
        m_engine->TearDownGraph();
        m_engine.reset();
    }
    return true;
}

bool Player::StopAndClose()
{
    if (m_engine)
        m_engine->Stop();
    return Close();
}

bool Player::Play()
{
    return !m_engine || Succeeded(m_engine->Play());
}

bool Player::Pause()
{
    return !m_engine || Succeeded(m_engine->Pause());
}

bool Player::Stop()
{
    return !m_engine || Succeeded(m_engine->Stop());
}

qint32 Player::GetState() const
{
    return m_engine ? m_engine->state() : PlayState::kNoEngine;
}

qint32 Player::GetChannelCount() const
{
    return m_engine ? m_engine->videoPinCount() : 0;
}

qint64 Player::GetPositionMs()
{
    if (!m_engine || m_engine->graph() == nullptr)
        return 0;
    qint64 position = 0;
    if (Failed(m_engine->GetCurrentPosition(&position)) || position <= 0)
        return 0;
    return qint64(quint64(position) / quint64(k100nsPerMs));
}

qint64 Player::GetDurationMs()
{
    if (!m_engine || m_engine->graph() == nullptr)
        return 0;
    qint64 duration = 0;
    if (Failed(m_engine->GetDuration(&duration)) || duration <= 0)
        return 0;
    return qint64(quint64(duration) / quint64(k100nsPerMs));
}

bool Player::SeekMs(qint32 ms)
{
    if (!m_engine || m_engine->graph() == nullptr)
        return true;
    return Succeeded(m_engine->SetCurrentPosition(qint64(ms) * k100nsPerMs));
}

bool Player::StepForward()
{
    if (!m_engine || m_engine->graph() == nullptr)
        return false;
    return Succeeded(m_engine->StepFrame(true));
}

bool Player::StepBackward()
{
    if (!m_engine || m_engine->graph() == nullptr)
        return false;
    return Succeeded(m_engine->StepFrame(false));
}

bool Player::IsSeekPending()
{
    return m_engine && m_engine->SeekPending();
}

// While paused or stopped the rate is only stored; the next Play clamps and applies it.
bool Player::SetRate(float rate)
{
    if (!m_engine)
        return false;
    const qint32 state = m_engine->state();
    m_engine->Pause();
    m_engine->SetRate(rate);
    if (state == PlayState::kRunning)
        m_engine->Play();
    return true;
}

qint32 Player::VolumeForPercent(qint32 percent)
{
    // A percentage outside 0 ... 100 has no logarithm (below) or would be louder than full (above).
    constexpr qint32 kFullPercent = 100;
    const float fraction = float(std::clamp(percent, 0, kFullPercent) / 100.0);
    const double floor = std::pow(10.0, -10.0);
    const double level = 1000.0 * std::log10(floor + double(fraction) * (1.0 - floor));
    const auto raw = qint32(std::trunc(level));
    // Full volume comes out as 0, which the graph is sent as silence.
    return raw == 0 ? PlaybackEngine::kSilenceVolume : raw;
}

bool Player::SetVolumePercent(qint32 percent)
{
    if (!m_engine)
        return true;
    return Succeeded(m_engine->PutVolume(VolumeForPercent(percent)));
}

HRESULT Player::SetBrightness(int channel, qint32 value)
{
    if (!m_engine)
        return S_FALSE;
    if (channel < 0 || channel >= PlaybackEngine::kMaxChannels)
        return S_OK;
    HRESULT hr = m_engine->PutDecoderParam(channel, DecoderParams::kPictureProperties, 1);
    if (hr == E_NOINTERFACE)
        return S_OK;
    hr = m_engine->PutDecoderParam(channel, DecoderParams::kBrightness, value);
    return hr;
}

HRESULT Player::SetMirror(int channel, bool on)
{
    if (!m_engine)
        return S_FALSE;
    if (channel < 0 || channel >= PlaybackEngine::kMaxChannels)
        return S_OK;
    HRESULT hr = m_engine->PutDecoderParam(channel, DecoderParams::kFlip, 1);
    if (hr == E_NOINTERFACE)
        return S_OK;
    hr = m_engine->PutDecoderParam(channel, DecoderParams::kFlipHorizontal, on ? 1 : 0);
    return hr;
}

void Player::SetParseOption(quint8 flag)
{
    m_parseOption = flag;
    if (m_engine)
        m_engine->SetParseOption(flag);
}

bool Player::CaptureFrame(int channel, QImage* bitmap, qint64* positionMs)
{
    if (!m_engine || bitmap == nullptr || !m_engine->HasRenderer(channel))
        return false;
    if (channel >= 1 && m_screenCount < channel + 1)
        return false;
    QImage frame;
    qint64 time100ns = 0;
    if (Failed(m_engine->GetCurrentImage(channel, &frame, &time100ns)))
        return false;
    *bitmap = frame;
    if (positionMs != nullptr)
        *positionMs = time100ns / k100nsPerMs;
    return true;
}

bool Player::Repaint(QPainter* context)
{
    if (m_screenWindows[0] == nullptr || context == nullptr)
        return false;
    if (m_engine)
        m_engine->RepaintVideo();
    return true;
}

void Player::UpdateVideoWindows()
{
    if (m_engine)
        m_engine->UpdateVideoWindows();
}

} // namespace zq
