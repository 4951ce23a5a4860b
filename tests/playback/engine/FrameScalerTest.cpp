#include "FrameScaler.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gst/video/video.h>
#include <gtest/gtest.h>
#include <set>

using namespace zq;

namespace {

struct Yuv {
    int y, u, v;
};

/// The YCbCr of an RGB colour under a matrix (kr, kb), in the studio or the full range.
Yuv ToYuv(QColor colour, double kr, double kb, bool fullRange)
{
    const double r = colour.redF(), g = colour.greenF(), b = colour.blueF();
    const double luma = kr * r + (1 - kr - kb) * g + kb * b;
    const double cb = (b - luma) / (2 * (1 - kb));
    const double cr = (r - luma) / (2 * (1 - kr));
    const double lumaScale = fullRange ? 255 : 219;
    const double chromaScale = fullRange ? 255 : 224;
    return { int(std::lround((fullRange ? 0 : 16) + lumaScale * luma)),
        int(std::lround(128 + chromaScale * cb)), int(std::lround(128 + chromaScale * cr)) };
}

/// An I420 sample of width x height whose every pixel is pixel(x, y); colorimetry as caps give it
/// ("bt709", "bt601", "1:4:0:0" for full-range BT.601...), or left to GStreamer's default when empty.
GstSample* MakeSample(
    int width, int height, const char* colorimetry, const std::function<Yuv(int, int)>& pixel)
{
    GstVideoInfo info;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_I420, guint(width), guint(height));
    if (colorimetry != nullptr)
        gst_video_colorimetry_from_string(&info.colorimetry, colorimetry);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, info.size, nullptr);
    GstVideoFrame frame;
    EXPECT_TRUE(gst_video_frame_map(&frame, &info, buffer, GST_MAP_WRITE));
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<quint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0))
            + y * GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
        for (int x = 0; x < width; ++x)
            row[x] = quint8(pixel(x, y).y);
    }
    for (int y = 0; y < (height + 1) / 2; ++y) {
        auto* u = static_cast<quint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 1))
            + y * GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 1);
        auto* v = static_cast<quint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 2))
            + y * GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 2);
        for (int x = 0; x < (width + 1) / 2; ++x) {
            const Yuv value = pixel(2 * x, 2 * y);
            u[x] = quint8(value.u);
            v[x] = quint8(value.v);
        }
    }
    gst_video_frame_unmap(&frame);
    GstCaps* caps = gst_video_info_to_caps(&info);
    GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_caps_unref(caps);
    gst_buffer_unref(buffer);
    return sample;
}

GstSample* Plain(int width, int height, Yuv value)
{
    return MakeSample(width, height, "bt709", [value](int, int) { return value; });
}

int Distance(QRgb a, QColor b)
{
    return std::max(
        { std::abs(qRed(a) - b.red()), std::abs(qGreen(a) - b.green()), std::abs(qBlue(a) - b.blue()) });
}

constexpr double kBt709Kr = 0.2126, kBt709Kb = 0.0722;
constexpr double kBt601Kr = 0.299, kBt601Kb = 0.114;

} // namespace

TEST(FrameScaler, FineDetailIsAveragedIntoAnEvenPictureNotAliased)
{
    // One-pixel checks: a scaler that picks pixels instead of averaging them shows bands of black and
    // white (the shimmering of fine text and noise while playing). The screens' usual sizes: both
    // channels of the normal window, one channel of it, from 1080p and from 720p.
    const Yuv black { 16, 128, 128 };
    const Yuv white { 235, 128, 128 };
    struct Case {
        QSize from, to;
    };
    for (const Case& c : { Case { { 1920, 1080 }, { 360, 202 } }, Case { { 1280, 720 }, { 360, 202 } },
             Case { { 1920, 1080 }, { 720, 405 } }, Case { { 1280, 720 }, { 333, 187 } } }) {
        GstSample* sample = MakeSample(c.from.width(), c.from.height(), "bt709",
            [&](int x, int y) { return (x + y) % 2 == 0 ? black : white; });
        FrameScaler scaler;
        const QImage image = scaler.Convert(sample, c.to);
        gst_sample_unref(sample);
        ASSERT_EQ(image.size(), c.to);
        int worst = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                worst = std::max(worst, Distance(image.pixel(x, y), QColor(128, 128, 128)));
        }
        EXPECT_LE(worst, 12) << c.from.width() << "x" << c.from.height() << " to " << c.to.width() << "x"
                             << c.to.height();
    }
}

TEST(FrameScaler, ColoursFollowTheStreamsMatrixAndRangeAndStayInTheirPlace)
{
    // Four quadrants of known colours; each matrix's own YCbCr of them must come back as those colours,
    // where they were: a scaler that ignored the caps' matrix, or swapped the chroma planes, misses.
    // (libyuv's BT.709 blue falls up to 11 levels short at full saturation: these colours keep clear.)
    const QColor colours[4]
        = { QColor(220, 30, 30), QColor(60, 160, 60), QColor(230, 120, 30), QColor(240, 240, 240) };
    struct Case {
        const char* colorimetry;
        double kr, kb;
        bool full;
    };
    for (const Case& c : { Case { "bt709", kBt709Kr, kBt709Kb, false },
             Case { "bt601", kBt601Kr, kBt601Kb, false }, Case { "1:4:0:0", kBt601Kr, kBt601Kb, true } }) {
        GstSample* sample = MakeSample(1280, 720, c.colorimetry, [&](int x, int y) {
            return ToYuv(colours[(y >= 360 ? 2 : 0) + (x >= 640 ? 1 : 0)], c.kr, c.kb, c.full);
        });
        for (const QSize size : { QSize(1280, 720), QSize(360, 202), QSize(1920, 1080) }) {
            FrameScaler scaler;
            const QImage image = scaler.Convert(sample, size);
            ASSERT_EQ(image.size(), size);
            EXPECT_EQ(image.format(), QImage::Format_RGB32);
            const int w = size.width(), h = size.height();
            const QPoint centres[4]
                = { { w / 4, h / 4 }, { 3 * w / 4, h / 4 }, { w / 4, 3 * h / 4 }, { 3 * w / 4, 3 * h / 4 } };
            for (int k = 0; k < 4; ++k)
                EXPECT_LE(Distance(image.pixel(centres[k]), colours[k]), 6)
                    << c.colorimetry << " quadrant " << k << " at " << w << "x" << h;
        }
        gst_sample_unref(sample);
    }
}

TEST(FrameScaler, APictureStillShownIsKeptAndReleasedOnesAreDrawnIntoAgain)
{
    FrameScaler scaler;
    const QColor red(220, 30, 30);
    const QColor blue(60, 90, 180);
    GstSample* first = Plain(640, 360, ToYuv(red, kBt709Kr, kBt709Kb, false));
    GstSample* next = Plain(640, 360, ToYuv(blue, kBt709Kr, kBt709Kb, false));
    const QImage shown = scaler.Convert(first, QSize(320, 180));
    std::set<const uchar*> used { shown.constBits() };
    // More frames than the scaler keeps pictures for, while the screen holds the first one.
    QImage newest;
    for (int k = 0; k < 6; ++k) {
        newest = scaler.Convert(next, QSize(320, 180));
        used.insert(newest.constBits());
    }
    EXPECT_LE(Distance(shown.pixel(10, 10), red), 6);
    EXPECT_LE(Distance(shown.pixel(300, 170), red), 6);
    EXPECT_LE(Distance(newest.pixel(10, 10), blue), 6);
    // The pictures the screen has let go of are drawn into again: a full-screen picture is not
    // allocated, and its pages faulted in, thirty times a second.
    EXPECT_LE(used.size(), 3u);
    newest = QImage();
    newest = scaler.Convert(first, QSize(320, 180));
    EXPECT_EQ(used.count(newest.constBits()), 1u);
    EXPECT_NE(newest.constBits(), shown.constBits());
    EXPECT_LE(Distance(newest.pixel(10, 10), red), 6);
    gst_sample_unref(first);
    gst_sample_unref(next);
}

TEST(FrameScaler, OnlyI420AtASizeIsConverted)
{
    FrameScaler scaler;
    GstSample* i420 = Plain(64, 36, { 128, 128, 128 });
    EXPECT_TRUE(scaler.Convert(i420, QSize()).isNull());
    EXPECT_TRUE(scaler.Convert(nullptr, QSize(32, 18)).isNull());
    // Odd sizes both ways, up and down.
    EXPECT_EQ(scaler.Convert(i420, QSize(33, 17)).size(), QSize(33, 17));
    EXPECT_EQ(scaler.Convert(i420, QSize(641, 361)).size(), QSize(641, 361));
    gst_sample_unref(i420);

    GstVideoInfo info;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_NV12, 64, 36);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, info.size, nullptr);
    GstCaps* caps = gst_video_info_to_caps(&info);
    GstSample* nv12 = gst_sample_new(buffer, caps, nullptr, nullptr);
    EXPECT_TRUE(scaler.Convert(nv12, QSize(32, 18)).isNull());
    gst_sample_unref(nv12);
    gst_caps_unref(caps);
    gst_buffer_unref(buffer);
}
