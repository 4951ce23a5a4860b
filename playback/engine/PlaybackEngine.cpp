#include "PlaybackEngine.h"

#include "DecoderParams.h"
#include "GraphEvents.h"
#include "GraphFilters.h"
#include "PlaybackLog.h"
#include "SeekQueue.h"
#include "StreamParseFilter.h"
#include "VideoRenderer.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace zq {

namespace {

constexpr qint64 kNsPer100ns = 100;
constexpr GstClockTime kGraphPollNs = 20 * GST_MSECOND;

GstElement* ChildByName(GstElement* bin, const char* name)
{
    return bin != nullptr && GST_IS_BIN(bin) ? gst_bin_get_by_name(GST_BIN(bin), name) : nullptr;
}

void SetSyncProperty(GstElement* element, bool sync)
{
    if (element != nullptr && g_object_class_find_property(G_OBJECT_GET_CLASS(element), "sync") != nullptr)
        g_object_set(element, "sync", gboolean(sync), nullptr);
}

} // namespace

PlaybackEngine::PlaybackEngine(int screenCount, const Screens& screens)
    : m_screenCount(std::clamp(screenCount, 0, kMaxChannels))
{
    for (int k = 0; k < m_screenCount; ++k)
        m_screenWindows[k] = screens[k];
}

PlaybackEngine::~PlaybackEngine()
{
    m_screenWindows.fill(nullptr);
    TearDownGraph();
}

HRESULT PlaybackEngine::BuildGraph(const QString& path, qint32 first, qint32 second)
{
    if (m_built || m_graph != nullptr)
        TearDownGraph();
    if (path.isNull())
        return S_FALSE;
    // The path is kept whole: a recording or its repaired copy may sit deeper than 260 characters.
    m_fileName = path;
    m_durationCache = 0;
    m_lastPositionNs = 0;
    m_graph = gst_pipeline_new("ZQ481K playback graph");
    if (m_graph == nullptr)
        return LogFailure(E_FAIL);
    gst_object_ref_sink(m_graph);
    m_events = std::make_unique<GraphEvents>(m_graph);
    m_seeks = std::make_unique<SeekQueue>(m_graph, m_events->EndClearer());
    m_events->SetAsyncDoneHandler(m_seeks->AsyncDoneHandler());

    HRESULT hr
        = AddFilterByClsid(bin(), FilterClass::StreamParse, "TQStreamParseFilter", m_factories, &m_source);
    if (Failed(hr))
        return LogFailure(hr);
    if (m_source == nullptr)
        return -1;
    StreamParseFilter* parser = StreamParseFilter::Query(m_source);
    if (parser == nullptr)
        return S_FALSE;
    parser->SetFlag(m_parseOption);
    parser->SetPair(first, second);
    const HRESULT loaded = parser->Load(m_fileName);
    if (Failed(loaded))
        return S_FALSE;

    m_videoPinCount = CountVideoPins(m_source);
    HRESULT result = loaded;
    if (m_videoPinCount == 1)
        result = BuildSingleChannel();
    else if (m_videoPinCount >= 2)
        result = BuildMultiChannel(m_screenCount);
    SaveGraphFile(bin());
    return result;
}

HRESULT PlaybackEngine::AddAudioFilters(int audioCode, const char* aacDecoderName, bool* audioOk)
{
    *audioOk = true;
    if (audioCode > 0 && audioCode < kPcmAudioCode) {
        const HRESULT hr
            = AddFilterByClsid(bin(), FilterClass::AacDecoder, aacDecoderName, m_factories, &m_aacDecoder);
        if (Failed(hr))
            return LogFailure(hr);
    }
    if (audioCode > 0) {
        const HRESULT hr = AddFilterByClsid(
            bin(), FilterClass::AudioRenderer, "DirectSound Audio Renderer", m_factories, &m_audioRenderer);
        if (Failed(hr)) {
            // Without an audio output the recording still shows its pictures.
            LogFailure(hr);
            *audioOk = false;
        }
    }
    return S_OK;
}

void PlaybackEngine::ConnectAudio(int audioCode, bool audioOk)
{
    if (!audioOk)
        return;
    if (audioCode > 0 && audioCode < kPcmAudioCode) {
        ConnectFilters(bin(), m_source, m_aacDecoder);
        ConnectFilters(bin(), m_aacDecoder, m_audioRenderer);
    } else if (audioCode >= kPcmAudioCode) {
        ConnectFilters(bin(), m_source, m_audioRenderer);
    }
}

HRESULT PlaybackEngine::AddVideoChain(int channel, const QByteArray& rendererName)
{
    const QByteArray number = QByteArray::number(channel + 1);
    HRESULT hr = AddFilterByClsid(
        bin(), FilterClass::VideoDecoder, "FFDShow Decoder" + number, m_factories, &m_decoders[channel]);
    if (Failed(hr))
        return LogFailure(hr);
    hr = AddFilterByClsid(bin(), FilterClass::ColourConverter, "Color Space Convertor " + number, m_factories,
        &m_converters[channel]);
    if (Failed(hr))
        return LogFailure(hr);
    hr = AddFilterByClsid(
        bin(), FilterClass::VideoRenderer, rendererName, m_factories, &m_renderers[channel]);
    if (Failed(hr))
        return LogFailure(hr);

    VideoRenderer* display = VideoRenderer::Query(m_renderers[channel]);
    if (display == nullptr)
        return S_FALSE;
    // The frame is stretched over the whole screen; the screens paint no border around it.
    hr = display->SetVideoWindow(m_screenWindows[channel]);
    if (Succeeded(hr))
        hr = display->SetVideoPosition();
    if (Failed(hr))
        return LogFailure(hr);
    return S_OK;
}

// DirectShow's intelligent connect put the colour conversion between decoder and renderer by itself;
// here the converter of the channel is linked in that place.
void PlaybackEngine::ConnectVideo(int channel)
{
    ConnectFilters(bin(), m_source, m_decoders[channel]);
    ConnectFilters(bin(), m_decoders[channel], m_converters[channel]);
    ConnectFilters(bin(), m_converters[channel], m_renderers[channel]);
    // Captures take the decoder's own frame, before it is scaled down for the screen.
    if (VideoRenderer* display = VideoRenderer::Query(m_renderers[channel]))
        display->WatchDecodedFrames(m_converters[channel]);
}

HRESULT PlaybackEngine::BuildSingleChannel()
{
    const int audioCode = ProbeAudioPins(m_source);
    bool audioOk = true;
    HRESULT hr = AddAudioFilters(audioCode, "COREAAC AUDIO", &audioOk);
    if (hr != S_OK)
        return hr;
    hr = AddVideoChain(0, "Enhanced Video Renderer");
    if (hr != S_OK)
        return hr;
    ConnectAudio(audioCode, audioOk);
    ConnectVideo(0);
    return CueFirstFrames();
}

HRESULT PlaybackEngine::BuildMultiChannel(int screens)
{
    const int audioCode = ProbeAudioPins(m_source);
    bool audioOk = true;
    HRESULT hr = AddAudioFilters(audioCode, "CoreAAC Decoder", &audioOk);
    if (hr != S_OK)
        return hr;
    ConnectAudio(audioCode, audioOk);
    // Channels are capped by the screens handed over: a fifth stream, or a third with two screens, ends
    // in the parse filter's fake sink.
    for (int channel = 0; channel < kMaxChannels; ++channel) {
        if (screens < channel + 1 || m_videoPinCount < channel + 1)
            continue;
        hr = AddVideoChain(channel, "Enhanced Video Renderer-" + QByteArray::number(channel + 1));
        if (hr != S_OK)
            return hr;
        ConnectVideo(channel);
    }
    return CueFirstFrames();
}

bool PlaybackEngine::FedBySource(GstElement* element) const
{
    constexpr int kMaxChainLength = 8;
    GstElement* current = element;
    for (int step = 0; step < kMaxChainLength && current != nullptr; ++step) {
        if (current == m_source)
            return true;
        GstPad* input = nullptr;
        GstIterator* pads = gst_element_iterate_sink_pads(current);
        GValue item = G_VALUE_INIT;
        if (gst_iterator_next(pads, &item) == GST_ITERATOR_OK) {
            input = GST_PAD(g_value_dup_object(&item));
            g_value_unset(&item);
        }
        gst_iterator_free(pads);
        if (input == nullptr)
            return false;
        GstPad* peer = gst_pad_get_peer(input);
        gst_object_unref(input);
        if (peer == nullptr)
            return false;
        current = GST_PAD_PARENT(peer) != nullptr && GST_IS_ELEMENT(GST_PAD_PARENT(peer))
            ? GST_ELEMENT(GST_PAD_PARENT(peer))
            : nullptr;
        gst_object_unref(peer);
    }
    return false;
}

// A renderer that no stream reaches (a chain whose connection failed) would hold up the first frame and
// the end of the recording for ever. It leaves the running graph; the engine still holds it.
void PlaybackEngine::DetachUnfedSinks()
{
    std::array<GstElement*, kMaxChannels + 1> sinks {};
    std::copy(m_renderers.begin(), m_renderers.end(), sinks.begin());
    sinks[kMaxChannels] = m_audioRenderer;
    for (GstElement* sink : sinks) {
        if (sink != nullptr && GST_OBJECT_PARENT(sink) == GST_OBJECT(m_graph) && !FedBySource(sink))
            gst_bin_remove(bin(), sink);
    }
}

void PlaybackEngine::ApplySync()
{
    for (GstElement* renderer : m_renderers)
        SetSyncProperty(renderer, m_syncToClock);
    GstElement* output = ChildByName(m_audioRenderer, "sink");
    SetSyncProperty(output, m_syncToClock);
    if (output != nullptr)
        gst_object_unref(output);
}

// StopWhenReady: the graph pauses until every channel has its first frame, and the engine reads
// "stopped". When that cannot happen (an element fails, nothing arrives) the build fails and the graph
// is stopped at once, so no streaming thread is left behind.
HRESULT PlaybackEngine::CueFirstFrames()
{
    DetachUnfedSinks();
    ApplySync();
    if (gst_element_set_state(m_graph, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE || !WaitForGraph()) {
        qCWarning(lcPlayback).noquote() << "the graph cannot cue its first frames:" << m_events->LastError();
        gst_element_set_state(m_graph, GST_STATE_NULL);
        return LogFailure(m_events->HasError() ? E_FAIL : VFW_E_TIMEOUT);
    }
    m_state = PlayState::kStopped;
    m_built = true;
    m_durationCache = 0;
    m_lastPositionNs = 0;
    GetDuration(&m_durationCache);
    return S_OK;
}

bool PlaybackEngine::WaitForGraph()
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const GstStateChangeReturn result = gst_element_get_state(m_graph, nullptr, nullptr, kGraphPollNs);
        if (result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL)
            return true;
        if (result == GST_STATE_CHANGE_FAILURE || m_events->HasError() || clock.elapsed() > kCueTimeoutMs)
            return false;
    }
}

bool PlaybackEngine::WaitForPendingChange()
{
    if (!m_changePending)
        return true;
    m_changePending = false;
    return WaitForGraph();
}

void PlaybackEngine::RemoveFilter(GstElement*& filter)
{
    if (filter == nullptr)
        return;
    if (GST_OBJECT_PARENT(filter) == GST_OBJECT(m_graph))
        gst_bin_remove(bin(), filter);
    gst_element_set_state(filter, GST_STATE_NULL);
    gst_object_unref(filter);
    filter = nullptr;
}

void PlaybackEngine::TearDownGraph()
{
    if (m_graph == nullptr)
        return;
    // Stopping the whole graph first joins every streaming thread; only then are the filters taken out.
    gst_element_set_state(m_graph, GST_STATE_NULL);
    m_events.reset();
    m_seeks.reset();
    m_state = PlayState::kStopped;
    for (GstElement* renderer : m_renderers) {
        if (VideoRenderer* display = VideoRenderer::Query(renderer))
            display->Detach();
    }
    RemoveFilter(m_audioRenderer);
    for (GstElement*& renderer : m_renderers)
        RemoveFilter(renderer);
    for (GstElement*& decoder : m_decoders)
        RemoveFilter(decoder);
    RemoveFilter(m_aacDecoder);
    RemoveFilter(m_source);
    for (GstElement*& converter : m_converters)
        RemoveFilter(converter);
    gst_object_unref(m_graph);
    m_graph = nullptr;
    m_built = false;
    m_changePending = false;
    m_appliedRate = 1.0;
}

HRESULT PlaybackEngine::Play()
{
    if (m_state != PlayState::kPaused && m_state != PlayState::kStopped)
        return VFW_E_WRONG_STATE;
    if (m_graph == nullptr)
        return LogFailure(E_NOINTERFACE);
    qint64 position = 0;
    qint64 duration = 0;
    GetCurrentPosition(&position);
    GetDuration(&duration);
    // Played to its end: Play starts the recording again.
    if (position == duration)
        SetCurrentPosition(0);
    if (m_rate != 1.0f)
        m_rate = std::clamp(m_rate, kMinRate, kMaxRate);
    HRESULT hr = ApplyRate(m_rate);
    if (Failed(hr))
        return LogFailure(hr);
    if (gst_element_set_state(m_graph, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return LogFailure(E_FAIL);
    m_state = PlayState::kRunning;
    return PutBalance(0);
}

HRESULT PlaybackEngine::Pause()
{
    if (m_state != PlayState::kRunning)
        return S_OK;
    m_state = PlayState::kPaused;
    return PauseGraph();
}

// Stop leaves the graph paused where it is: it does not rewind.
HRESULT PlaybackEngine::Stop()
{
    if (m_state != PlayState::kRunning && m_state != PlayState::kPaused)
        return VFW_E_WRONG_STATE;
    m_state = PlayState::kStopped;
    return PauseGraph();
}

// The sinks stand still only once they hold a frame again; until then the position still moves, so the
// next question about position or frames waits for that.
HRESULT PlaybackEngine::PauseGraph()
{
    if (m_graph == nullptr)
        return LogFailure(E_NOINTERFACE);
    if (gst_element_set_state(m_graph, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return LogFailure(E_FAIL);
    m_changePending = true;
    return S_OK;
}

HRESULT PlaybackEngine::GetCurrentPosition(qint64* position100ns)
{
    if (position100ns == nullptr)
        return E_POINTER;
    *position100ns = 0;
    if (m_graph == nullptr)
        return LogFailure(E_NOINTERFACE);
    qint64 targetNs = 0;
    if (m_seeks->Pending(&targetNs)) {
        *position100ns = targetNs / kNsPer100ns;
        return S_OK;
    }
    WaitForPendingChange();
    // At the end the position is the duration exactly, so that Play knows to start again.
    if (m_events->AtEnd()) {
        qint64 duration = 0;
        if (Succeeded(GetDuration(&duration)) && duration > 0) {
            *position100ns = duration;
            return S_OK;
        }
    }
    gint64 positionNs = 0;
    if (gst_element_query_position(m_graph, GST_FORMAT_TIME, &positionNs) && positionNs >= 0)
        m_lastPositionNs = positionNs;
    *position100ns = m_lastPositionNs / kNsPer100ns;
    return S_OK;
}

HRESULT PlaybackEngine::GetDuration(qint64* duration100ns)
{
    if (duration100ns == nullptr)
        return E_POINTER;
    if (m_graph == nullptr) {
        *duration100ns = 0;
        return LogFailure(E_NOINTERFACE);
    }
    if (m_durationCache == 0) {
        gint64 durationNs = 0;
        if (gst_element_query_duration(m_graph, GST_FORMAT_TIME, &durationNs) && durationNs > 0)
            m_durationCache = durationNs / kNsPer100ns;
    }
    *duration100ns = m_durationCache;
    return m_durationCache > 0 ? S_OK : E_FAIL;
}

HRESULT PlaybackEngine::Seek(double rate, qint64 positionNs)
{
    // The end reached before no longer holds, even while the seek waits for its turn.
    m_events->ClearEnd();
    m_lastPositionNs = positionNs;
    return m_seeks->Request(rate, positionNs) ? S_OK : E_FAIL;
}

HRESULT PlaybackEngine::SetCurrentPosition(qint64 position100ns)
{
    if (m_graph == nullptr)
        return LogFailure(E_NOINTERFACE);
    // A pause still settling is overtaken by the seek, whose own end is what counts now.
    m_changePending = false;
    return Seek(m_appliedRate, position100ns * kNsPer100ns);
}

bool PlaybackEngine::SeekPending()
{
    return m_seeks && m_seeks->Pending();
}

bool PlaybackEngine::WaitForSeeks()
{
    return m_graph == nullptr || SettleAll();
}

quint64 PlaybackEngine::seeksSent() const
{
    return m_seeks ? m_seeks->sent() : 0;
}

// Every seek asked for has its frames, and the graph stands still (or plays) again.
bool PlaybackEngine::SettleAll()
{
    const bool seeks = m_seeks->Settle(kCueTimeoutMs);
    m_changePending = true;
    return WaitForPendingChange() && seeks;
}

HRESULT PlaybackEngine::ApplyRate(double rate)
{
    if (rate == m_appliedRate)
        return S_OK;
    SettleAll();
    gint64 positionNs = 0;
    if (!gst_element_query_position(m_graph, GST_FORMAT_TIME, &positionNs))
        positionNs = 0;
    const HRESULT hr = Seek(rate, positionNs);
    if (Failed(hr))
        return hr;
    m_appliedRate = rate;
    return SettleAll() ? S_OK : E_FAIL;
}

HRESULT PlaybackEngine::PutVolume(qint32 volume)
{
    if (volume > 0 || volume < kSilenceVolume)
        return E_INVALIDARG;
    GstElement* element = ChildByName(m_audioRenderer, "volume");
    if (element == nullptr)
        return E_NOTIMPL;
    // Hundredths of a decibel to an amplitude factor; the bottom of the scale is silence.
    constexpr double kHundredthsDbPerDecade = 2000.0;
    const double factor = volume <= kSilenceVolume ? 0.0 : std::pow(10.0, volume / kHundredthsDbPerDecade);
    g_object_set(element, "volume", factor, nullptr);
    gst_object_unref(element);
    return S_OK;
}

// Without an audio renderer, or without a panorama element, there is nothing to move off centre: the
// call succeeds, so that a silent recording still starts as a successful Play.
HRESULT PlaybackEngine::PutBalance(qint32 balance)
{
    constexpr qint32 kBalanceLimit = 10000;
    if (balance < -kBalanceLimit || balance > kBalanceLimit)
        return E_INVALIDARG;
    GstElement* panorama = ChildByName(m_audioRenderer, "panorama");
    if (panorama == nullptr)
        return S_OK;
    g_object_set(panorama, "panorama", gfloat(balance) / kBalanceLimit, nullptr);
    gst_object_unref(panorama);
    return S_OK;
}

HRESULT PlaybackEngine::PutDecoderParam(int channel, qint32 id, qint32 value)
{
    if (channel < 0 || channel >= kMaxChannels)
        return E_INVALIDARG;
    DecoderParams* params = DecoderParams::Query(m_decoders[channel]);
    if (params == nullptr)
        return E_NOINTERFACE;
    return params->PutParam(id, value);
}

QString PlaybackEngine::GraphError() const
{
    return m_events && m_events->HasError() ? m_events->LastError() : QString();
}

bool PlaybackEngine::PlayedToEnd() const
{
    return m_events && m_events->AtEnd();
}

bool PlaybackEngine::HasRenderer(int channel) const
{
    return channel >= 0 && channel < kMaxChannels && m_renderers[channel] != nullptr;
}

VideoRenderer* PlaybackEngine::Renderer(int channel) const
{
    return HasRenderer(channel) ? VideoRenderer::Query(m_renderers[channel]) : nullptr;
}

HRESULT PlaybackEngine::GetCurrentImage(int channel, QImage* image, qint64* streamTime100ns)
{
    VideoRenderer* display = Renderer(channel);
    if (display == nullptr)
        return E_NOINTERFACE;
    // A capture shows the frame at the newest position asked for: that one is waited for.
    SettleAll();
    return display->GetCurrentImage(image, streamTime100ns);
}

void PlaybackEngine::RepaintVideo()
{
    for (int channel = 0; channel < kMaxChannels; ++channel) {
        if (VideoRenderer* display = Renderer(channel))
            display->RepaintVideo();
    }
}

void PlaybackEngine::UpdateVideoWindows()
{
    for (int channel = 0; channel < kMaxChannels; ++channel) {
        VideoRenderer* display = Renderer(channel);
        if (m_screenCount < channel + 1 || m_videoPinCount < channel + 1 || display == nullptr)
            continue;
        display->SetVideoWindow(m_screenWindows[channel]);
        display->SetVideoPosition();
        display->RepaintVideo();
    }
}

HRESULT PlaybackEngine::StepFrame(bool forward)
{
    if (!m_graph || m_state != PlayState::kPaused)
        return E_FAIL;
    // An accurate seek into the neighbouring frame, not a step event: a step leaves a sink waiting for a
    // buffer that never comes when the demuxer is held up by the other paused branches, and it moves the
    // pictures but not the position.
    qint64 shown100ns = 0;
    int rateN = 0;
    int rateD = 0;
    const VideoRenderer* display = Renderer(0) ? Renderer(0) : Renderer(1);
    const bool known = display != nullptr && display->NewestFrameTiming(&shown100ns, &rateN, &rateD);
    // Steps pressed faster than the frames arrive count from the frame the last one is going to.
    qint64 fromNs = shown100ns * kNsPer100ns;
    qint64 pendingNs = 0;
    if (m_seeks->Pending(&pendingNs)) {
        fromNs = pendingNs;
    } else if (!known) {
        qint64 position100ns = 0;
        GetCurrentPosition(&position100ns);
        fromNs = position100ns * kNsPer100ns;
    }
    qint64 targetNs = 0;
    if (known) {
        // Frames of a fixed rate start at whole multiples of their length; aim at the middle of the one
        // wanted, so that rounding of the frame times cannot show the same frame again.
        const qint64 frame = qint64(gst_util_uint64_scale(
            quint64(std::max<qint64>(0, fromNs)) + 1000, guint64(rateN), guint64(rateD) * GST_SECOND));
        const qint64 wanted = std::max<qint64>(0, forward ? frame + 1 : frame - 1);
        targetNs = qint64(
            gst_util_uint64_scale(quint64(wanted * 2 + 1), guint64(rateD) * GST_SECOND, guint64(rateN) * 2));
    } else {
        const qint64 lengthNs = kFrameStepFallbackMs * 1000000;
        targetNs = std::max<qint64>(0, forward ? fromNs + lengthNs : fromNs - lengthNs);
    }
    return SetCurrentPosition(targetNs / kNsPer100ns);
}

} // namespace zq
