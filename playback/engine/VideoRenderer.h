#pragma once

#include "FilterFactories.h"
#include "FrameScaler.h"
#include "HResult.h"

#include <QImage>
#include <QSize>
#include <gst/gst.h>
#include <memory>

namespace zq {

class VideoSurface;

/// The display control of one "Enhanced Video Renderer": an appsink that keeps only the newest frame
/// and hands it to its channel's surface on the GUI thread, scaled and converted to the size the surface
/// shows. The converter in front of the sink only brings frames that are not I420 to I420, and converts
/// nothing while the surface shows nothing. The newest decoded frame is kept as the decoder gave it and
/// converted at its own size only when a capture asks for it. The object belongs to its
/// appsink element and lives as long as that element.
class VideoRenderer {
public:
    /// Frames counted by the sink and by the hand-over since the graph was built.
    struct Statistics {
        quint64 rendered = 0; // frames the sink took in time
        quint64 dropped = 0; // frames the sink dropped as late, or replaced before the surface got them
        quint64 presented = 0; // frames handed to the surface
        QSize frameSize; // size of the newest frame handed to the surface
    };

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
    /// Stretches the whole frame over the surface's whole client area, and asks for frames of the size
    /// that area has in device pixels.
    HRESULT SetVideoPosition();
    HRESULT RepaintVideo();
    /// The newest frame at the stream's own size (RGB32, top-down, brightness and mirror applied) and
    /// its stream time in 100-ns units; E_FAIL when no frame has arrived yet. image is untouched on
    /// failure.
    HRESULT GetCurrentImage(QImage* image, qint64* streamTime100ns) const;
    /// The stream time of the newest frame (in 100-ns units) and the stream's frame rate; false before
    /// the first frame or when the stream has no fixed rate.
    bool NewestFrameTiming(qint64* streamTime100ns, int* rateNumerator, int* rateDenominator) const;
    /// Forgets the surface and the newest frame; the surface is told to clear its picture.
    void Detach();

    /// Keeps every frame that enters converter (the decoder's output) until the sink shows it: that is
    /// the frame a capture converts.
    void WatchDecodedFrames(GstElement* converter);
    /// The size the sink asks for now (empty: frames pass unconverted).
    QSize DisplaySize() const;
    Statistics GetStatistics() const;

private:
    struct HandOver;
    VideoRenderer();
    static GstFlowReturn OnNewSample(GstElement* sink, VideoRenderer* self, bool preroll);
    void Accept(GstSample* sample);

    std::shared_ptr<HandOver> m_handOver;
    FrameScaler m_scaler; // used on the sink's streaming thread only
};

} // namespace zq
