#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace zq::recgen {

/// Paints the pictures of one camera channel as planar YUV 4:2:0 (BT.601, limited range), the input the
/// encoder reads. Every channel has its own palette and a large letter ("F", "R", "3", "4") on the left, a
/// grey ramp along the bottom that brightens to the right, a square that moves with time, the time as text,
/// and the frame stamp of FrameStampLayout.h in the top band. None of it is symmetric, so a mirrored picture
/// or a changed brightness can be told apart from the original.
class FramePainter {
public:
    /// width and height must be even. noiseAmplitude > 0 adds that much random noise to the luma below the
    /// stamp band of every frame, so the encoder cannot compress the pictures to nothing.
    FramePainter(int width, int height, int channel, int framesPerSecond, int noiseAmplitude);

    int frameBytes() const { return int(m_background.size()); }
    /// The picture of one frame, frameBytes() long.
    const QByteArray& paint(int frameIndex);

private:
    struct Yuv {
        quint8 y, u, v;
    };
    static Yuv FromRgb(int r, int g, int b);

    void paintBackground();
    void fillRect(QByteArray& planes, int x, int y, int width, int height, Yuv colour) const;
    void drawText(QByteArray& planes, int x, int y, int scale, const char* text, Yuv colour) const;
    void drawStamp(QByteArray& planes, int frameIndex) const;
    void addNoise(QByteArray& planes);

    int m_width;
    int m_height;
    int m_channel;
    int m_fps;
    int m_noise;
    int m_band;
    quint64 m_random = 0x9E3779B97F4A7C15ull;
    QByteArray m_background;
    QByteArray m_frame;
};

} // namespace zq::recgen
