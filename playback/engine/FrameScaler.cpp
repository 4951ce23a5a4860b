#include "FrameScaler.h"

#include <gst/video/video.h>
#include <libyuv/convert_argb.h>
#include <libyuv/scale.h>

namespace zq {

namespace {

/// Three planes of an I420 picture somewhere in memory.
struct PlaneView {
    const quint8* y = nullptr;
    const quint8* u = nullptr;
    const quint8* v = nullptr;
    int strideY = 0;
    int strideU = 0;
    int strideV = 0;
    int width = 0;
    int height = 0;
};

int ChromaSize(int size)
{
    return (size + 1) / 2;
}

/// The conversion GStreamer's own converter would make for these caps: the stream's matrix and range.
const libyuv::YuvConstants* ColourConstants(const GstVideoInfo& info)
{
    const bool full = info.colorimetry.range == GST_VIDEO_COLOR_RANGE_0_255;
    switch (info.colorimetry.matrix) {
    case GST_VIDEO_COLOR_MATRIX_BT709:
        return full ? &libyuv::kYuvF709Constants : &libyuv::kYuvH709Constants;
    case GST_VIDEO_COLOR_MATRIX_BT2020:
        return full ? &libyuv::kYuvV2020Constants : &libyuv::kYuv2020Constants;
    default:
        return full ? &libyuv::kYuvJPEGConstants : &libyuv::kYuvI601Constants;
    }
}

} // namespace

void FrameScaler::Planes::Resize(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    y.resize(size_t(width) * size_t(height));
    u.resize(size_t(ChromaSize(width)) * size_t(ChromaSize(height)));
    v.resize(u.size());
}

QImage& FrameScaler::Target(QSize size)
{
    // A picture is handed to the screen by reference: one that only this scaler still holds is free.
    for (QImage& image : m_images) {
        if (image.size() == size && image.isDetached())
            return image;
    }
    // Otherwise a new picture takes the place of the oldest; whoever still shows that one keeps it.
    QImage& slot = m_images[m_nextImage];
    m_nextImage = (m_nextImage + 1) % m_images.size();
    slot = QImage(size, QImage::Format_RGB32);
    return slot;
}

QImage FrameScaler::Convert(GstSample* sample, QSize size)
{
    GstCaps* caps = sample != nullptr ? gst_sample_get_caps(sample) : nullptr;
    GstBuffer* buffer = sample != nullptr ? gst_sample_get_buffer(sample) : nullptr;
    GstVideoInfo info;
    if (size.isEmpty() || caps == nullptr || buffer == nullptr || !gst_video_info_from_caps(&info, caps)
        || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_I420)
        return {};
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
        return {};
    PlaneView view;
    view.y = static_cast<const quint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    view.u = static_cast<const quint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 1));
    view.v = static_cast<const quint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 2));
    view.strideY = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    view.strideU = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 1);
    view.strideV = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 2);
    view.width = GST_VIDEO_FRAME_WIDTH(&frame);
    view.height = GST_VIDEO_FRAME_HEIGHT(&frame);

    const auto scaleInto = [&view](Planes& planes, int width, int height, libyuv::FilterMode filter) {
        planes.Resize(width, height);
        libyuv::I420Scale(view.y, view.strideY, view.u, view.strideU, view.v, view.strideV, view.width,
            view.height, planes.y.data(), width, planes.u.data(), ChromaSize(width), planes.v.data(),
            ChromaSize(width), width, height, filter);
        view = { planes.y.data(), planes.u.data(), planes.v.data(), width, ChromaSize(width),
            ChromaSize(width), width, height };
    };
    const int targetWidth = size.width();
    const int targetHeight = size.height();
    size_t work = 0;
    // Exact quarters and halves of a picture have fast averaging paths; each step reads the picture once.
    for (;;) {
        int factor = 0;
        if (view.width >= 4 * targetWidth && view.height >= 4 * targetHeight)
            factor = 4;
        else if (view.width >= 2 * targetWidth && view.height >= 2 * targetHeight)
            factor = 2;
        if (factor == 0)
            break;
        scaleInto(m_work[work], view.width / factor, view.height / factor, libyuv::kFilterBox);
        work = 1 - work;
    }
    if (view.width != targetWidth || view.height != targetHeight) {
        // Less than half way to go in one direction at least: libyuv interpolates bilinearly there (every
        // source pixel is still weighed in), and averages boxes where both shrink by more than half.
        scaleInto(m_work[work], targetWidth, targetHeight, libyuv::kFilterBox);
    }
    // Written while only this scaler holds it, so the pixels are not copied first.
    QImage& image = Target(size);
    // libyuv's ARGB is B, G, R, A in memory: QImage's RGB32 on a little-endian machine, alpha set to 255.
    const int failed
        = libyuv::I420ToARGBMatrix(view.y, view.strideY, view.u, view.strideU, view.v, view.strideV,
            image.bits(), int(image.bytesPerLine()), ColourConstants(info), targetWidth, targetHeight);
    gst_video_frame_unmap(&frame);
    return failed != 0 ? QImage() : image;
}

} // namespace zq
