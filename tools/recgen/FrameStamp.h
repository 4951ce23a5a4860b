#pragma once

#include <QImage>

namespace zq::recgen {

/// What the stamp in the top band of a generated picture says (see FrameStampLayout.h for the cells).
struct FrameStamp {
    bool valid = false; // markers, parity and contrast all fit
    bool mirrored = false; // the stamp reads only from right to left: the picture is flipped horizontally
    int channel = -1; // 0 front, 1 rear, 2 and 3 the extra channels
    int frameIndex = -1; // encoded frame index (modulo 65536); time = frameIndex / frames per second
    int whiteLevel = 0; // mean grey of the white marker cell, 0..255
    int blackLevel = 0; // mean grey of the black marker cell; both rise with brightness
};

/// Reads the stamp of a decoded picture at any scale. Works on frames from ffmpeg, GStreamer or a screen
/// grab of the video area, as long as the top band of the picture is shown whole.
FrameStamp DecodeFrameStamp(const QImage& picture);

/// The frame index of an unmirrored picture, or -1 when the stamp cannot be read (or reads mirrored).
int DecodeFrameIndex(const QImage& picture);

} // namespace zq::recgen
