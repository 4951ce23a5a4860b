#pragma once

#include "FilterFactories.h"
#include "HResult.h"
#include "PlaybackEngine.h"

#include <QImage>
#include <QString>
#include <memory>

class QPainter;

namespace zq {

class VideoSurface;

/// The one object through which the viewer drives playback. It creates a fresh PlaybackEngine for every
/// recording it opens and destroys it on close; every operation is a null-safe forward to that engine.
/// Positions and durations are milliseconds here and 100-ns units inside the engine.
class Player {
public:
    static constexpr qint64 k100nsPerMs = 10000;

    Player();
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    /// Registers the screens (one per channel); creates an engine when none exists, so the state reads 3
    /// until the first Open.
    void Initialize(int screenCount, VideoSurface* window1, VideoSurface* window2 = nullptr,
        VideoSurface* window3 = nullptr, VideoSurface* window4 = nullptr);
    /// Closes what is open and builds a new graph for path; false (and no engine) when it cannot be built.
    bool Open(const QString& path, qint32 first, qint32 second);
    bool Close();
    bool StopAndClose();
    bool Play();
    bool Pause();
    bool Stop();
    /// 0 running, 1 paused, 2 stopped, 3 nothing built, -1 no engine.
    qint32 GetState() const;
    qint32 GetChannelCount() const;
    qint64 GetPositionMs();
    qint64 GetDurationMs();
    /// Never waits for the seek: during a drag only the newest target is kept while one is on its way.
    /// GetPositionMs answers the target until the frames are there; CaptureFrame waits for them.
    bool SeekMs(qint32 ms);
    /// True while a seek is on its way or kept for later.
    bool IsSeekPending();
    /// While paused: shows the next frame (a step event) or the one before (a seek one frame back).
    bool StepForward();
    bool StepBackward();
    /// Stores the rate; while running it is applied at once, clamped to 0.5 ... 2.0.
    bool SetRate(float rate);
    bool SetVolumePercent(qint32 percent);
    /// Brightness -255 ... 255 on channel index 0 ... 3.
    HRESULT SetBrightness(int channel, qint32 value);
    HRESULT SetMirror(int channel, bool on);
    void SetParseOption(quint8 flag);
    /// The newest frame of channel index 0 ... 3 as a top-down RGB32 image, with its position when asked
    /// for; false, with bitmap untouched, when the channel has no renderer or no frame yet.
    bool CaptureFrame(int channel, QImage* bitmap, qint64* positionMs = nullptr);
    /// context is the paint handler's painter; it must be given.
    bool Repaint(QPainter* context);
    void UpdateVideoWindows();

    /// The volume sent to the graph for a percentage, in hundredths of a decibel (0 % and 100 % silence).
    static qint32 VolumeForPercent(qint32 percent);

    /// Whether engines created from now on play in time with the clock (the default) or as fast as
    /// they can (measurements).
    void SetSyncToClock(bool sync) { m_syncToClock = sync; }
    /// Factories for every engine created from now on (tests take filters away with them).
    void SetFilterFactories(const FilterFactories& factories) { m_factories = factories; }
    /// The engine of the open recording, null when none exists.
    PlaybackEngine* engine() const { return m_engine.get(); }

private:
    void CreateEngine();

    int m_screenCount = 0;
    PlaybackEngine::Screens m_screenWindows {};
    std::unique_ptr<PlaybackEngine> m_engine;
    quint8 m_parseOption = 1;
    FilterFactories m_factories = FilterFactories::FromEnvironment();
    bool m_syncToClock = true;
};

} // namespace zq
