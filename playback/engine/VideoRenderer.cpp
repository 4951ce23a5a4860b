#include "VideoRenderer.h"

#include "GuiThread.h"
#include "VideoSurface.h"

#include <QCoreApplication>
#include <gst/app/gstappsink.h>
#include <gst/video/video.h>
#include <mutex>

namespace zq {

namespace {

GQuark RendererQuark()
{
    static const GQuark quark = g_quark_from_static_string("zq-video-renderer");
    return quark;
}

/// Keeps a sample mapped for as long as a QImage looks at its pixels.
struct MappedSample {
    GstSample* sample = nullptr;
    GstBuffer* buffer = nullptr;
    GstMapInfo map {};
};

void ReleaseMappedSample(void* info)
{
    auto* mapped = static_cast<MappedSample*>(info);
    gst_buffer_unmap(mapped->buffer, &mapped->map);
    gst_sample_unref(mapped->sample);
    delete mapped;
}

/// Wraps the frame of a BGRx sample without copying it; a null image when the sample is not usable.
QImage ImageFromSample(GstSample* sample)
{
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstCaps* caps = gst_sample_get_caps(sample);
    GstVideoInfo info;
    if (buffer == nullptr || caps == nullptr || !gst_video_info_from_caps(&info, caps)
        || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGRx)
        return {};
    gsize offset = GST_VIDEO_INFO_PLANE_OFFSET(&info, 0);
    gint stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
    if (const GstVideoMeta* meta = gst_buffer_get_video_meta(buffer)) {
        offset = meta->offset[0];
        stride = meta->stride[0];
    }
    const int width = GST_VIDEO_INFO_WIDTH(&info);
    const int height = GST_VIDEO_INFO_HEIGHT(&info);
    auto* mapped = new MappedSample;
    if (!gst_buffer_map(buffer, &mapped->map, GST_MAP_READ)) {
        delete mapped;
        return {};
    }
    if (width <= 0 || height <= 0 || stride < width * 4
        || offset + gsize(stride) * gsize(height - 1) + gsize(width) * 4 > mapped->map.size) {
        gst_buffer_unmap(buffer, &mapped->map);
        delete mapped;
        return {};
    }
    mapped->sample = gst_sample_ref(sample);
    mapped->buffer = buffer;
    // BGRx in memory is 0xffRRGGBB read as a 32-bit word on a little-endian machine: QImage's RGB32.
    return QImage(
        mapped->map.data + offset, width, height, stride, QImage::Format_RGB32, ReleaseMappedSample, mapped);
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

} // namespace

struct VideoRenderer::HandOver {
    mutable std::mutex mutex;
    QImage newest;
    qint64 streamTime100ns = 0;
    VideoSurface* surface = nullptr;
    bool deliveryQueued = false; // a queued call will hand the newest frame over; do not queue another
};

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
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(sink, "caps", caps, "sync", TRUE, "max-buffers", 1u, "drop", TRUE, nullptr);
    gst_caps_unref(caps);

    auto* renderer = new VideoRenderer;
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

// Runs on a streaming thread: it only stores the frame and, unless a hand-over is already on its way,
// queues one. A GUI thread that falls behind therefore sees the newest frame, never a backlog.
void VideoRenderer::Accept(GstSample* sample)
{
    QImage image = ImageFromSample(sample);
    if (image.isNull())
        return;
    const qint64 time = StreamTime100ns(sample);
    bool queue = false;
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        m_handOver->newest = std::move(image);
        m_handOver->streamTime100ns = time;
        if (m_handOver->surface != nullptr && !m_handOver->deliveryQueued && QCoreApplication::instance()) {
            m_handOver->deliveryQueued = true;
            queue = true;
        }
    }
    if (!queue)
        return;
    std::shared_ptr<HandOver> handOver = m_handOver;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [handOver] {
            QImage frame;
            VideoSurface* surface = nullptr;
            {
                std::lock_guard<std::mutex> lock(handOver->mutex);
                handOver->deliveryQueued = false;
                frame = handOver->newest;
                surface = handOver->surface;
            }
            if (surface != nullptr && !frame.isNull())
                surface->PresentFrame(frame);
        },
        Qt::QueuedConnection);
}

HRESULT VideoRenderer::SetVideoWindow(VideoSurface* surface)
{
    std::lock_guard<std::mutex> lock(m_handOver->mutex);
    m_handOver->surface = surface;
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
    VideoSurface* surface = GetVideoWindow();
    if (surface != nullptr)
        RunOnGuiThread([surface] { surface->SetVideoRect(surface->ClientRect()); });
    return S_OK;
}

HRESULT VideoRenderer::RepaintVideo()
{
    VideoSurface* surface = GetVideoWindow();
    if (surface != nullptr)
        RunOnGuiThread([surface] { surface->RepaintFrame(); });
    return S_OK;
}

HRESULT VideoRenderer::GetCurrentImage(QImage* image, qint64* streamTime100ns) const
{
    if (image == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_handOver->mutex);
    if (m_handOver->newest.isNull())
        return E_FAIL;
    *image = m_handOver->newest.copy();
    if (image->isNull())
        return E_FAIL;
    if (streamTime100ns != nullptr)
        *streamTime100ns = m_handOver->streamTime100ns;
    return S_OK;
}

void VideoRenderer::Detach()
{
    VideoSurface* surface = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_handOver->mutex);
        surface = m_handOver->surface;
        m_handOver->surface = nullptr;
        m_handOver->newest = QImage();
    }
    if (surface != nullptr)
        RunOnGuiThread([surface] { surface->ClearFrame(); });
}

} // namespace zq
