#pragma once

#include "FilterFactories.h"
#include "HResult.h"

#include <QImage>
#include <gst/gst.h>
#include <memory>

namespace zq {

class VideoSurface;

/// The display control of one "Enhanced Video Renderer": an appsink that takes BGRx frames, keeps only
/// the newest one and hands it to its channel's surface on the GUI thread. The object belongs to its
/// appsink element and lives as long as that element.
class VideoRenderer {
public:
    /// A new appsink (floating reference) with its renderer attached; null when the sink factory is
    /// missing or does not make an appsink.
    static GstElement* Create(const FilterFactories& factories);
    /// The renderer attached to element, or null when element is not a video renderer.
    static VideoRenderer* Query(GstElement* element);

    ~VideoRenderer();
    VideoRenderer(const VideoRenderer&) = delete;
    VideoRenderer& operator=(const VideoRenderer&) = delete;

    /// The surface that shows this renderer's frames (null: frames are only kept).
    HRESULT SetVideoWindow(VideoSurface* surface);
    VideoSurface* GetVideoWindow() const;
    /// Stretches the whole frame over the surface's whole client area.
    HRESULT SetVideoPosition();
    HRESULT RepaintVideo();
    /// A copy of the newest frame (RGB32, top-down) and its stream time in 100-ns units; E_FAIL when no
    /// frame has arrived yet. image is untouched on failure.
    HRESULT GetCurrentImage(QImage* image, qint64* streamTime100ns) const;
    /// Forgets the surface and the newest frame; the surface is told to clear its picture.
    void Detach();

private:
    struct HandOver;
    VideoRenderer();
    static GstFlowReturn OnNewSample(GstElement* sink, VideoRenderer* self, bool preroll);
    void Accept(GstSample* sample);

    std::shared_ptr<HandOver> m_handOver;
};

} // namespace zq
