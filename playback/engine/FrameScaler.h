#pragma once

#include <QImage>
#include <QSize>
#include <array>
#include <gst/gst.h>
#include <vector>

namespace zq {

/// Turns a decoded I420 frame into the RGB32 picture a screen shows, at the screen's size, in one pass
/// over the decoder's frame: halving steps that average 2x2 pixels while the picture is still at least
/// twice the target, then a bilinear step to the exact size, then the colour conversion on the small
/// picture. Scaling down this way averages every source pixel (no shimmering of fine detail) and costs
/// a fraction of a full-size conversion. One scaler serves one thread: it keeps its work planes and the
/// pictures it hands out between calls, and reuses a picture once nobody else holds it.
class FrameScaler {
public:
    /// The picture of sample at size (RGB32, top-down); null when the sample is not I420 or the size is
    /// empty. The colour matrix and range follow the sample's caps.
    QImage Convert(GstSample* sample, QSize size);

private:
    struct Planes {
        int width = 0;
        int height = 0;
        std::vector<quint8> y, u, v;
        void Resize(int newWidth, int newHeight);
    };
    QImage& Target(QSize size);

    std::array<Planes, 2> m_work; // halving steps alternate between the two
    std::array<QImage, 4> m_images; // handed out before; reused once the screen has let go of one
    size_t m_nextImage = 0;
};

} // namespace zq
