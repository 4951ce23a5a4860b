#pragma once

#include "FilterFactories.h"
#include "HResult.h"
#include "PlayState.h"

#include <QImage>
#include <QString>
#include <array>
#include <gst/gst.h>
#include <memory>

namespace zq {

class GraphEvents;
class SeekQueue;
class VideoRenderer;
class VideoSurface;

/// The media graph of one open recording: the stream-parse filter, one decoder, converter and renderer
/// per video channel, and an optional audio chain, all in one GstPipeline whose elements carry the
/// filters' display names. Created by the Player for each recording and destroyed when it is closed.
/// Positions are in 100-ns units. Built on one thread and then driven from another is fine; calls must
/// not overlap.
class PlaybackEngine {
public:
    static constexpr int kMaxChannels = 4;
    static constexpr float kMinRate = 0.5f;
    static constexpr float kMaxRate = 2.0f;
    /// How long building waits for the first frame of every channel, and a seek for its new frame.
    static constexpr int kCueTimeoutMs = 10000;
    static constexpr qint32 kSilenceVolume = -10000; // hundredths of a decibel

    using Screens = std::array<VideoSurface*, kMaxChannels>;

    /// screenCount is the number of screens handed over (1 ... 4); screens beyond it are ignored.
    PlaybackEngine(int screenCount, const Screens& screens);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    /// The element factories used for the next build (FilterFactories::FromEnvironment() by default).
    void SetFactories(const FilterFactories& factories) { m_factories = factories; }
    /// Whether the sinks play in time with the clock (true) or as fast as the chain runs (benchmarks).
    void SetSyncToClock(bool sync) { m_syncToClock = sync; }

    /// 0 built, with the first frame of every channel cued (state 2); 1 the file was not accepted or a
    /// renderer has no display control; negative a failing call. A file without a video pin gives the
    /// result of Load with nothing else built. A failed build leaves nothing running.
    HRESULT BuildGraph(const QString& path, qint32 first, qint32 second);
    /// Stops and releases the whole graph; harmless when nothing is built.
    void TearDownGraph();

    HRESULT Play();
    HRESULT Pause();
    HRESULT Stop();
    /// While a seek is on its way this is its target (the newest one asked for), without waiting.
    HRESULT GetCurrentPosition(qint64* position100ns);
    HRESULT GetDuration(qint64* duration100ns);
    /// Never waits: while an earlier seek is on its way only the newest target is kept, and it is sent
    /// when that seek has its frames (a slider drag sends few seeks and never blocks).
    HRESULT SetCurrentPosition(qint64 position100ns);
    /// True while a seek is on its way or kept for later.
    bool SeekPending();
    /// The frame length assumed while no frame has arrived yet (a little more than one frame at 30 a second).
    static constexpr qint64 kFrameStepFallbackMs = 40;
    /// Paused only: every channel shows the frame after (or before) the one on screen, and the sound
    /// follows. The position becomes a time inside that frame.
    HRESULT StepFrame(bool forward);
    /// Waits until every seek asked for has its frames; false when that does not happen in time.
    bool WaitForSeeks();
    /// Seeks sent to the graph since it was built (kept targets that were replaced are not sent).
    quint64 seeksSent() const;
    /// Stores the rate; it is clamped and applied at the next Play.
    void SetRate(float rate) { m_rate = rate; }
    float rate() const { return m_rate; }
    /// Hundredths of a decibel, -10000 (silence) ... 0 (full). E_NOTIMPL without an audio renderer.
    HRESULT PutVolume(qint32 volume);
    /// -10000 (left) ... 10000 (right); 0 centres.
    HRESULT PutBalance(qint32 balance);
    /// A decoder parameter of channel index 0 ... 3; E_NOINTERFACE when the channel has no decoder.
    HRESULT PutDecoderParam(int channel, qint32 id, qint32 value);
    /// The newest frame of channel index 0 ... 3 (see VideoRenderer::GetCurrentImage).
    HRESULT GetCurrentImage(int channel, QImage* image, qint64* streamTime100ns);
    /// Every present renderer repaints its screen.
    void RepaintVideo();
    /// Every built channel takes its screen's whole client area again and repaints.
    void UpdateVideoWindows();

    qint32 state() const { return m_state; }
    void SetState(qint32 state) { m_state = state; }
    bool built() const { return m_built; }
    int videoPinCount() const { return m_videoPinCount; }
    int screenCount() const { return m_screenCount; }
    quint8 parseOption() const { return m_parseOption; }
    void SetParseOption(quint8 option) { m_parseOption = option; }
    const QString& fileName() const { return m_fileName; }
    bool HasRenderer(int channel) const;
    VideoRenderer* Renderer(int channel) const;
    bool HasAudioRenderer() const { return m_audioRenderer != nullptr; }
    /// What went wrong in the running graph (an element's error), empty while all is well.
    QString GraphError() const;
    /// Every sink has received the end of its stream. Played as fast as it goes, the position reaches the
    /// end with the sound, before the last pictures have been shown: this is when they all have.
    bool PlayedToEnd() const;
    /// The pipeline, for inspection (tests, graph dumps); null before building and after tear-down.
    GstElement* graph() const { return m_graph; }

private:
    HRESULT BuildSingleChannel();
    HRESULT BuildMultiChannel(int screens);
    HRESULT AddAudioFilters(int audioCode, const char* aacDecoderName, bool* audioOk);
    void ConnectAudio(int audioCode, bool audioOk);
    HRESULT AddVideoChain(int channel, const QByteArray& rendererName);
    void ConnectVideo(int channel);
    HRESULT CueFirstFrames();
    void DetachUnfedSinks();
    bool FedBySource(GstElement* element) const;
    void ApplySync();
    HRESULT PauseGraph();
    HRESULT ApplyRate(double rate);
    HRESULT Seek(double rate, qint64 positionNs);
    bool SettleAll();
    bool WaitForGraph();
    bool WaitForPendingChange();
    void RemoveFilter(GstElement*& filter);
    GstBin* bin() const { return GST_BIN(m_graph); }

    std::array<GstElement*, kMaxChannels> m_renderers {};
    GstElement* m_graph = nullptr;
    GstElement* m_source = nullptr;
    std::array<GstElement*, kMaxChannels> m_decoders {};
    GstElement* m_aacDecoder = nullptr;
    GstElement* m_audioRenderer = nullptr;
    std::array<GstElement*, kMaxChannels> m_converters {};
    int m_screenCount = 0;
    Screens m_screenWindows {};
    bool m_built = false;
    float m_rate = 1.0f;
    qint64 m_durationCache = 0;
    // The last position the graph answered or a seek asked for: a query made while the graph changes state
    // can fail for a moment, and the position must not jump back to 0 then.
    qint64 m_lastPositionNs = 0;
    qint32 m_state = PlayState::kCreated;
    int m_videoPinCount = 0;
    QString m_fileName;
    quint8 m_parseOption = 1;

    FilterFactories m_factories = FilterFactories::FromEnvironment();
    bool m_syncToClock = true;
    std::unique_ptr<GraphEvents> m_events;
    std::unique_ptr<SeekQueue> m_seeks;
    double m_appliedRate = 1.0; // the rate of the segment that plays now
    bool m_changePending = false; // a pause whose end is awaited before a position or frame is answered
};

} // namespace zq
