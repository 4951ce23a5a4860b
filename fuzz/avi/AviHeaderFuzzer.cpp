// Header reader (user-data block and information record) over arbitrary bytes.
#include "ReadAviInfo.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    zq::AviInfo info;
    zq::ReadAviInfo(buffer, &info);
    if (info.userDataSize != quint32(info.userData.size()) || info.userData.size() > qsizetype(size))
        __builtin_trap();
    // The same reader on the block alone, as the open routine would see a bare strd payload.
    zq::AviInfo direct;
    zq::ExtractInfoRecord(bytes, &direct);
    return 0;
}
