#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace zq {

/// One G-sensor sample. Axis values are in 1/32 g (32 is 1 g), from -256 to -1 and 1 to 256.
struct CGSensorData {
    static constexpr int kSampleBytes = 6;

    qint32 x = 0;
    qint32 y = 0;
    qint32 z = 0;
    // Three further fields the recorder's format reserves; nothing reads them.
    qint32 reserved1 = 0;
    qint32 reserved2 = 0;
    qint32 reserved3 = 0;

    /// Decodes the six sample bytes: three magnitudes (value = byte + 1), then their three sign bytes
    /// (below 128 means negative).
    static CGSensorData FromSampleBytes(const uchar (&bytes)[kSampleBytes]);
};

} // namespace zq
