#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVector>

namespace zq {

/// One stream of an AVI file as its header list describes it ("strh" and "strf").
struct AviStreamInfo {
    QByteArray type; // "vids", "auds", ...
    QByteArray handler; // fccHandler of "strh" (for video, e.g. "H264")
    QByteArray compression; // biCompression of a video "strf" (e.g. "H264"), empty otherwise
    quint16 formatTag = 0; // wFormatTag of an audio "strf": 1 PCM, 0xFF AAC, ...
    quint16 channels = 0; // audio channels
    quint32 sampleRate = 0; // audio samples per second
    qint32 width = 0; // video frame size
    qint32 height = 0;
    bool hasStrd = false; // the stream header list carries a "strd" chunk
};

/// Reads the streams of the "hdrl" list, in stream order. False when the file cannot be opened or is not
/// a RIFF "AVI " file; every read is bounds-checked, so a damaged header gives the streams read so far.
bool ReadAviStreamList(const QString& path, QVector<AviStreamInfo>* streams);
/// The same on an open random-access device (a file or bytes in memory).
bool ReadAviStreamList(QIODevice& device, QVector<AviStreamInfo>* streams);

} // namespace zq
