// Layout walk and stream-list reader over arbitrary bytes.
#include "AviStreamList.h"
#include "CheckAviLayout.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    zq::ChunkLocations locations;
    const qint32 layout = zq::CheckAviLayout(buffer, &locations);
    if (layout < zq::kAviLayoutUnusable || layout > zq::kAviLayoutNeedsRepair)
        __builtin_trap();
    if (layout != zq::kAviLayoutUnusable
        && (qint64(locations.idx1Offset) >= qint64(size) || qint64(locations.moviOffset) >= qint64(size)))
        __builtin_trap(); // both chunk headers were read, so they lie inside the bytes
    buffer.seek(0);
    QVector<zq::AviStreamInfo> streams;
    zq::ReadAviStreamList(buffer, &streams);
    return 0;
}
