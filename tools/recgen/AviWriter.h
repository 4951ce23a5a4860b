#pragma once

#include "EncodedStream.h"

#include <QString>
#include <QVector>

namespace zq::recgen {

/// One stream as the AVI header describes it, with the encoded units its chunks carry. When more chunks
/// are asked for than units exist, the units are used again from the first (each stream starts with a unit
/// that decodes on its own), so a recording can be made long without encoding it all.
struct AviStream {
    bool video = true;
    // Video: frame size. Audio: WAVEFORMATEX fields; formatExtra follows cbSize (AudioSpecificConfig).
    int width = 0;
    int height = 0;
    quint16 formatTag = 0;
    int channels = 1;
    int sampleRate = 0;
    int bitsPerSample = 0;
    quint16 blockAlign = 0;
    QByteArray formatExtra;
    // Timing in the "strh" sense: a chunk lasts chunkScale / rate seconds; sampleSize 0 means one chunk is
    // one sample of the stream (video frames, AAC frames), otherwise dwLength counts sampleSize-byte units.
    quint32 scale = 1;
    quint32 rate = 30;
    quint32 sampleSize = 0;
    quint32 chunkScale = 1; // scale units per chunk: 1 for video and AAC, samples per block for PCM
    QByteArray strd; // the "strd" chunk of this stream's header list (empty: none)
    qint64 chunkCount = 0; // chunks to write
    EncodedStream encoded;
};

struct AviLayoutOptions {
    bool idx1BeforeMovi = false;
    int junkBeforeIdx1Bytes = 0;
};

/// Writes the recorder's layout: "RIFF" "AVI " with "LIST" "hdrl" ("avih", one "LIST" "strl" per stream with
/// "strh", "strf", the optional "strd" and a "JUNK" reserve), a "LIST" "INFO", a "JUNK" pad, "LIST" "movi"
/// with the chunks of all streams interleaved by time ("00dc", "01dc", .., "NNwb"), and "idx1" (behind
/// "movi", or in front of it when asked) with offsets counted from the "movi" fourcc.
class AviWriter {
public:
    static constexpr quint32 kIndexKeyframe = 0x10;

    /// Total bytes of the file the streams would make, without writing it.
    static qint64 PlannedSize(const QVector<AviStream>& streams, const AviLayoutOptions& options);
    static bool Write(const QString& path, const QVector<AviStream>& streams, const AviLayoutOptions& options,
        QString* error);
};

} // namespace zq::recgen
