#pragma once

#include "RunProgram.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace zq::test {

/// One decoded picture of a video stream, through ffmpeg; null when ffmpeg cannot give it.
QImage DecodeFrame(const QString& path, int videoStream, int frameIndex, const QString& filter = {});

/// ffprobe's view of the streams: "codec_type:codec_name" per stream, in order.
QStringList ProbeStreams(const QString& path);

} // namespace zq::test
