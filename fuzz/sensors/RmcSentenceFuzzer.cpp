// RMC sentence parser and the degree conversions over arbitrary text.
#include "CGPSData.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));
    const zq::CGPSData fix = zq::CGPSData::FromRmcSentence(text);
    const double values[] = { fix.latitude, fix.longitude, fix.speed, fix.course, zq::LatitudeDegrees(fix),
        zq::LongitudeDegrees(fix), zq::SpeedKmh(fix) };
    for (const double value : values) {
        if (std::isnan(value))
            __builtin_trap(); // numbers are read as finite decimals, so no NaN can come out
    }
    if (fix.valid != 0 && fix.valid != 1)
        __builtin_trap();
    return 0;
}
