#include "VideoRenderer.h"

#include "GuiThread.h"
#include "VideoSurface.h"

#include <QCoreApplication>
#include <QPointer>
#include <gst/app/gstappsink.h>
#include <gst/video/video.h>
#include <mutex>

namespace zq {

namespace {

// A video sink drops a frame that comes later than this, so a slow machine shows fewer frames instead of
// falling behind (the usual value of GStreamer's video sinks).
constexpr gint64 kMaxLatenessNs = 20 * GST_MSECOND;

GQuark RendererQuark()
{
    static const GQuark quark = g_quark_from_static_string("zq-video-renderer");
    return quark;
}

/// A sample of our own over the same buffer: the sink reuses the sample object it hands out, so it must
/// not be kept beyond the callback.
GstSample* KeepSample(GstSample* sample)
{
    return gst_sample_new(
        gst_sample_get_buffer(sample), gst_sample_get_caps(sample), gst_sample_get_segment(sample), nullptr);
}

bool SampleInfo(GstSample* sample, GstVideoInfo* info)
{
    GstCaps* caps = gst_sample_get_caps(sample);
    return gst_sample_get_buffer(sample) != nullptr && caps != nullptr
        && gst_video_info_from_caps(info, caps);
}

/// The picture of a raw video sample of any format converted to RGB32 at size (the sample's own size
/// when empty) by GStreamer's own converter: a capture, or a frame that is not I420.
QImage ConvertSample(GstSample* sample, QSize size)
{
    GstVideoInfo in;
    if (sample == nullptr || !SampleInfo(sample, &in))
        return {};
    if (size.isEmpty())
        size = QSize(GST_VIDEO_INFO_WIDTH(&in), GST_VIDEO_INFO_HEIGHT(&in));
    GstVideoFrame source;
    if (!gst_video_frame_map(&source, &in, gst_sample_get_buffer(sample), GST_MAP_READ))
        return {};
    QImage image(size, QImage::Format_RGB32);
    GstVideoInfo out;
    gst_video_info_set_format(&out, GST_VIDEO_FORMAT_BGRx, guint(size.width()), guint(size.height()));
    GST_VIDEO_INFO_FPS_N(&out) = GST_VIDEO_INFO_FPS_N(&in);
    GST_VIDEO_INFO_FPS_D(&out) = GST_VIDEO_INFO_FPS_D(&in);
    GST_VIDEO_INFO_PLANE_STRIDE(&out, 0) = gint(image.bytesPerLine());
    out.size = gsize(image.sizeInBytes());
    GstBuffer* target = gst_buffer_new_wrapped_full(
        GstMemoryFlags(0), image.bits(), out.size, 0, out.size, nullptr, nullptr);
    GstVideoFrame destination;
    bool converted = false;
    if (gst_video_frame_map(&destination, &out, target, GST_MAP_WRITE)) {
        if (GstVideoConverter* converter = gst_video_converter_new(&in, &out, nullptr)) {
            gst_video_converter_frame(converter, &source, &destination);
            gst_video_converter_free(converter);
            converted = true;
        }
        gst_video_frame_unmap(&destination);
    }
    gst_buffer_unref(target);
    gst_video_frame_unmap(&source);
    return converted ? image : QImage();
}

qint64 StreamTime100ns(GstSample* sample)
{
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    const GstSegment* segment = gst_sample_get_segment(sample);
    if (buffer == nullptr || !GST_BUFFER_PTS_IS_VALID(buffer))
        return 0;
    guint64 time = GST_BUFFER_PTS(buffer);
    if (segment != nullptr && segment->format == GST_FORMAT_TIME) {
        const guint64 streamTime = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, time);
        if (streamTime != GST_CLOCK_TIME_NONE)
            time = streamTime;
    }
    return qint64(time / 100);
}

GstClockTime SamplePts(GstSample* sample)
{
    GstBuffer* buffer = sample != nullptr ? gst_sample_get_buffer(sample) : nullptr;
    return buffer != nullptr ? GST_BUFFER_PTS(buffer) : GST_CLOCK_TIME_NONE;
}

void ReplaceSample(GstSample** slot, GstSample* sample)
{
    if (*slot != nullptr)
        gst_sample_unref(*slot);
    *slot = sample;
}

/// The screen's picture of a raw sample at size: scaled and converted from I420 in one pass, any other
/// format through the general converter.
QImage DisplayImage(FrameScaler& scaler, GstSample* sample, QSize size)
{
    if (size.isEmpty())
        return {};
    QImage image = scaler.Convert(sample, size);
    return image.isNull() ? ConvertSample(sample, size) : image;
}

GstCaps* DisplayCaps(QSize size)
{
    // Nothing shown: any raw format passes, so the converter stands aside and copies nothing. Shown: the
    // decoder's I420 still passes untouched at its own size, since the sink scales and converts it
    // (cheaper than the converter does, and a new screen size needs no new caps).
    if (size.isEmpty())
        return gst_caps_new_empty_simple("video/x-raw");
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "I420", nullptr);
}

} // namespace

struct VideoRenderer::HandOver {
    mutable std::mutex mutex;
    QImage newest; // the newest converted frame, as the sink got it
    GstSample* decoded = nullptr; // the decoder's frame behind the newest one the sink got
    GstSample* entering = nullptr; // the decoder's frame now on its way through the converter
    qint64 streamTime100ns = 0;
    bool hasFrame = false; // a frame has arrived since the graph was built (shown or not)
    VideoSurface* surface = nullptr;
    QPointer<QObject> context; // the surface's context: null once the surface is gone
    QSize displaySize; // what the sink asks for
    bool deliveryQueued = false; // a queued call will hand the newest frame over; do not queue another
    quint64 replaced = 0;
    quint64 presented = 0;
    // Each new frame gets the next number; a frame counts as presented once, when a hand-over first
    // takes it (a re-delivery at a new size, or the cued frame played, is no new frame).
    quint64 newestNumber = 0;
    quint64 presentedNumber = 0;
    QSize presentedSize;
    GWeakRef sink;

    HandOver() { g_weak_ref_init(&sink, nullptr); }
    ~HandOver()
    {
        ReplaceSample(&decoded, nullptr);
        ReplaceSample(&entering, nullptr);
        g_weak_ref_clear(&sink);
    }

    /// Runs fn with the surface on the GUI thread, unless the surface has died by then.
    static void CallSurface(const std::shared_ptr<HandOver>& self, std::function<void(VideoSurface*)> fn);
    /// GUI thread: asks the sink for the size the surface shows now.
    static void ApplyDisplaySize(const std::shared_ptr<HandOver>& self, VideoSurface* surface);
    /// GUI thread: hands the newest frame to the surface, at the size the surface shows.
    static void Deliver(const std::shared_ptr<HandOver>& self);
};

void VideoRenderer::HandOver::CallSurface(
    const std::shared_ptr<HandOver>& self, std::function<void(VideoSurface*)> fn)
{
    VideoSurface* surface = nullptr;
    QPointer<QObject> context;
    {
        std::lock_guard<std::mutex> lock(self->mutex);
        surface = self->surface;
        context = self->context;
    }
    if (surface == nullptr)
        return;
    // The context is only looked at on the GUI thread, where surfaces are destroyed.
    RunOnGuiThread([surface, context, fn = std::move(fn)] {
        if (!context.isNull())
            fn(surface);
    });
}

void VideoRenderer::HandOver::ApplyDisplaySize(const std::shared_ptr<HandOver>& self, VideoSurface* surface)
{
    const QSize size = surface->DisplaySize();
    bool shownBefore = false;
    {
        std::lock_guard<std::mutex> lock(self->mutex);
        if (self->surface != surface || size == self->displaySize)
            return;
        shownBefore = !self->displaySize.isEmpty();
        self->displaySize = size;
    }
    GstElement* sink = shownBefore != !size.isEmpty() ? GST_ELEMENT(g_weak_ref_get(&self->sink)) : nullptr;
    if (sink != nullptr) {
        GstCaps* caps = DisplayCaps(size);
        g_object_set(sink, "caps", caps, nullptr);
        gst_caps_unref(caps);
        // The converter in front asks again for the caps: it converts only for a shown screen.
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_push_event(pad, gst_event_new_reconfigure());
        gst_object_unref(pad);
        gst_object_unref(sink);
    }
    // A paused graph sends no new frame: the one on screen is converted to the new size here.
    Deliver(self);
}

void VideoRenderer::HandOver::Deliver(const std::shared_ptr<HandOver>& self)
{
    QImage frame;
    GstSample* decoded = nullptr;
    VideoSurface* surface = nullptr;
    QPointer<QObject> context;
    QSize size;
    {
        std::lock_guard<std::mutex> lock(self->mutex);
        self->deliveryQueued = false;
        frame = self->newest;
        surface = self->surface;
        context = self->context;
        size = self->displaySize;
        if (self->decoded != nullptr && frame.size() != size)
            decoded = gst_sample_ref(self->decoded);
        // Counted here, together with taking the frame: a newer frame that arrives meanwhile is the
        // next hand-over's, presented or dropped.
        if (surface != nullptr && !size.isEmpty() && (!frame.isNull() || decoded != nullptr)
            && self->newestNumber != self->presentedNumber) {
            ++self->presented;
            self->presentedNumber = self->newestNumber;
        }
    }
    if (decoded != nullptr) {
        // Only a frame that was under way while the size changed, or one cued before it, comes here.
        FrameScaler scaler;
        frame = DisplayImage(scaler, decoded, size);
        gst_sample_unref(decoded);
    }
    if (surface == nullptr || context.isNull() || size.isEmpty() || frame.isNull())
        return;
    {
        std::lock_guard<std::mutex> lock(self->mutex);
        self->presentedSize = frame.size();
    }
    surface->PresentFrame(frame);
}

VideoRenderer::VideoRenderer()
    : m_handOver(std::make_shared<HandOver>())
{
}

VideoRenderer::~VideoRenderer() = default;

GstElement* VideoRenderer::Create(const FilterFactories& factories)
{
    GstElement* sink = gst_element_factory_make(factories.videoSink.constData(), nullptr);
    if (sink == nullptr)
        return nullptr;
    if (!GST_IS_APP_SINK(sink)) {
        gst_object_unref(gst_object_ref_sink(sink));
        return nullptr;
    }
    // Until a surface tells its size the frames are only kept, unconverted.
    GstCaps* caps = DisplayCaps(QSize());
    g_object_set(sink, "caps", caps, "sync", TRUE, "max-buffers", 1u, "drop", TRUE, "qos", TRUE,
        "max-lateness", kMaxLatenessNs, nullptr);
    gst_caps_unref(caps);

    auto* renderer = new VideoRenderer;
    g_weak_ref_set(&renderer->m_handOver->sink, sink);
    g_object_set_qdata_full(G_OBJECT(sink), RendererQuark(), renderer,
        [](gpointer data) { delete static_cast<VideoRenderer*>(data); });
    GstAppSinkCallbacks callbacks {};
    callbacks.new_sample = [](GstAppSink* appSink, gpointer self) {
        return OnNewSample(GST_ELEMENT(appSink), static_cast<VideoRenderer*>(self), false);
    };
    callbacks.new_preroll = [](GstAppSink* appSink, gpointer self) {
        return OnNewSample(GST_ELEMENT(appSink), static_cast<VideoRenderer*>(self), true);
    };
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, renderer, nullptr);
    return sink;
}

VideoRenderer* VideoRenderer::Query(GstElement* element)
{
    if (element == nullptr)
        return nullptr;
    return static_cast<VideoRenderer*>(g_object_get_qdata(G_OBJECT(element), RendererQuark()));
}

GstFlowReturn VideoRenderer::OnNewSample(GstElement* sink, VideoRenderer* self, bool preroll)
{
    GstSample* sample = preroll ? gst_app_sink_pull_preroll(GST_APP_SINK(sink))
                                : gst_app_sink_pull_sample(GST_APP_SINK(sink));
    if (sample == nullptr)
        return GST_FLOW_OK;
    self->Accept(sample);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void VideoRenderer::WatchDecodedFrames(GstElement* converter)
{
    GstPad* pad = converter != nullptr ? gst_element_get_static_pad(converter, "sink") : nullptr;
    if (pad == nullptr)
        return;
    // The converter handles one frame at a time on the streaming thread, and the sink holds that thread
    // until the frame's time has come: the frame entering now is the next one the sink gets.
    gst_pad_add_probe(
        pad, GST_PAD_PROBE_TYPE_BUFFER,
        [](GstPad* probed, GstPadProbeInfo* info, gpointer data) {
            auto& self = *static_cast<std::shared_ptr<HandOver>*>(data);
            GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
            GstCaps* caps = gst_pad_get_current_caps(probed);
            if (buffer == nullptr || caps == nullptr) {
                if (caps != nullptr)
                    gst_caps_unref(caps);
                return GST_PAD_PROBE_OK;
            }
            GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
            gst_caps_unref(caps);
            std::lock_guard<std::mutex> lock(self->mutex);
            ReplaceSample(&self->entering, sample);
            return GST_PAD_PROBE_OK;
        },
        new std::shared_ptr<HandOver>(m_handOver),
        [](gpointer data) { delete static_cast<std::shared_ptr<HandOver>*>(data); });
    gst_object_unref(pad);
}

// Runs on a streaming thread: it only stores the frame and, unless a hand-over is already on its way,
// queues one. A GUI thread that falls behind therefore sees the newest frame, never a backlog.
void VideoRenderer::Accept(GstSample* sample)
{
    QSize size;
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        if (m_handOver->surface != nullptr)
            size = m_handOver->displaySize;
    }
    QImage image = DisplayImage(m_scaler, sample, size);
    const qint64 time = StreamTime100ns(sample);
    bool queue = false;
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        // The decoder's frame behind this one; without a watched converter the sample itself is the
        // nearest thing to it.
        if (m_handOver->entering != nullptr && SamplePts(m_handOver->entering) == SamplePts(sample)) {
            ReplaceSample(&m_handOver->decoded, m_handOver->entering);
            m_handOver->entering = nullptr;
        } else if (m_handOver->entering == nullptr) {
            ReplaceSample(&m_handOver->decoded, KeepSample(sample));
        }
        // The cued frame comes again as the first one played: the same frame is no new one, even when
        // it came while nothing was shown.
        const bool sameFrame = m_handOver->hasFrame && m_handOver->streamTime100ns == time;
        const bool shown = m_handOver->surface != nullptr && !m_handOver->displaySize.isEmpty();
        if (!sameFrame) {
            // A shown frame that no hand-over took is dropped now.
            if (shown && m_handOver->hasFrame && m_handOver->newestNumber != m_handOver->presentedNumber)
                ++m_handOver->replaced;
            ++m_handOver->newestNumber;
        }
        m_handOver->hasFrame = true;
        m_handOver->newest = std::move(image);
        m_handOver->streamTime100ns = time;
        if (shown && !m_handOver->deliveryQueued && QCoreApplication::instance()) {
            m_handOver->deliveryQueued = true;
            queue = true;
        }
    }
    if (!queue)
        return;
    std::shared_ptr<HandOver> handOver = m_handOver;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [handOver] { HandOver::Deliver(handOver); }, Qt::QueuedConnection);
}

HRESULT VideoRenderer::SetVideoWindow(VideoSurface* surface)
{
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        if (m_handOver->surface == surface)
            return S_OK;
        m_handOver->surface = surface;
        m_handOver->context = surface != nullptr ? surface->Context() : nullptr;
        m_handOver->displaySize = QSize();
    }
    // A surface that reports a new size (resized, shown, hidden) gets frames of that size from then on.
    std::weak_ptr<HandOver> weak = m_handOver;
    const void* owner = m_handOver.get();
    HandOver::CallSurface(m_handOver, [weak, owner](VideoSurface* shown) {
        shown->SetDisplaySizeListener(owner, [weak, shown] {
            if (std::shared_ptr<HandOver> handOver = weak.lock())
                HandOver::ApplyDisplaySize(handOver, shown);
        });
    });
    return S_OK;
}

VideoSurface* VideoRenderer::GetVideoWindow() const
{
    std::lock_guard<std::mutex> lock(m_handOver->mutex);
    return m_handOver->surface;
}

HRESULT VideoRenderer::SetVideoPosition()
{
    // Without a surface the renderer only keeps its frames (the tool, benchmarks): nothing to place.
    std::shared_ptr<HandOver> handOver = m_handOver;
    HandOver::CallSurface(m_handOver, [handOver](VideoSurface* surface) {
        surface->SetVideoRect(surface->ClientRect());
        HandOver::ApplyDisplaySize(handOver, surface);
    });
    return S_OK;
}

HRESULT VideoRenderer::RepaintVideo()
{
    HandOver::CallSurface(m_handOver, [](VideoSurface* surface) { surface->RepaintFrame(); });
    return S_OK;
}

bool VideoRenderer::NewestFrameTiming(qint64* streamTime100ns, int* rateNumerator, int* rateDenominator) const
{
    GstSample* decoded = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        if (!m_handOver->hasFrame || m_handOver->decoded == nullptr)
            return false;
        decoded = gst_sample_ref(m_handOver->decoded);
        *streamTime100ns = m_handOver->streamTime100ns;
    }
    // The buffer's own time and length are cut to the segment after a seek; the caps' rate is not.
    GstVideoInfo info;
    const bool known
        = gst_video_info_from_caps(&info, gst_sample_get_caps(decoded)) && info.fps_n > 0 && info.fps_d > 0;
    gst_sample_unref(decoded);
    if (!known)
        return false;
    *rateNumerator = info.fps_n;
    *rateDenominator = info.fps_d;
    return true;
}

HRESULT VideoRenderer::GetCurrentImage(QImage* image, qint64* streamTime100ns) const
{
    if (image == nullptr)
        return E_POINTER;
    GstSample* decoded = nullptr;
    QImage shown;
    qint64 time = 0;
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        if (m_handOver->decoded != nullptr)
            decoded = gst_sample_ref(m_handOver->decoded);
        shown = m_handOver->newest;
        time = m_handOver->streamTime100ns;
    }
    QImage frame;
    if (decoded != nullptr) {
        frame = ConvertSample(decoded, QSize());
        gst_sample_unref(decoded);
    } else if (!shown.isNull()) {
        frame = shown.copy();
    }
    if (frame.isNull())
        return E_FAIL;
    *image = frame;
    if (streamTime100ns != nullptr)
        *streamTime100ns = time;
    return S_OK;
}

void VideoRenderer::Detach()
{
    const void* owner = m_handOver.get();
    HandOver::CallSurface(m_handOver, [owner](VideoSurface* surface) {
        surface->ClearDisplaySizeListener(owner);
        surface->ClearFrame();
    });
    std::lock_guard<std::mutex> lock(m_handOver->mutex);
    m_handOver->surface = nullptr;
    m_handOver->context = nullptr;
    m_handOver->newest = QImage();
    m_handOver->hasFrame = false;
    ReplaceSample(&m_handOver->decoded, nullptr);
    ReplaceSample(&m_handOver->entering, nullptr);
}

QSize VideoRenderer::DisplaySize() const
{
    std::lock_guard<std::mutex> lock(m_handOver->mutex);
    return m_handOver->displaySize;
}

VideoRenderer::Statistics VideoRenderer::GetStatistics() const
{
    Statistics statistics;
    if (GstElement* sink = GST_ELEMENT(g_weak_ref_get(&m_handOver->sink))) {
        GstStructure* stats = nullptr;
        g_object_get(sink, "stats", &stats, nullptr);
        if (stats != nullptr) {
            guint64 rendered = 0;
            guint64 dropped = 0;
            gst_structure_get_uint64(stats, "rendered", &rendered);
            gst_structure_get_uint64(stats, "dropped", &dropped);
            statistics.rendered = rendered;
            statistics.dropped = dropped;
            gst_structure_free(stats);
        }
        gst_object_unref(sink);
    }
    std::lock_guard<std::mutex> lock(m_handOver->mutex);
    statistics.dropped += m_handOver->replaced;
    statistics.presented = m_handOver->presented;
    statistics.frameSize = m_handOver->presentedSize;
    return statistics;
}

} // namespace zq
