// Record walk of a user-data block over arbitrary bytes.
#include "DispatchRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // libFuzzer's buffer holds exactly size bytes, so ASan sees any read past the block's end.
    const QByteArrayView block(reinterpret_cast<const char*>(data), qsizetype(size));
    const zq::SensorRecords records = zq::ParseUserData(block);
    // Every record takes at least two bytes of the block.
    if (2 * (records.gsensor.size() + records.gps.size()) > qsizetype(size))
        __builtin_trap();
    for (const zq::CGSensorData& sample : records.gsensor) {
        if (sample.x == 0 || sample.x < -256 || sample.x > 256)
            __builtin_trap();
    }
    return 0;
}
