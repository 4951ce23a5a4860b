#include "CGSensorData.h"

namespace zq {

namespace {

qint32 AxisValue(uchar magnitude, uchar sign)
{
    const qint32 value = qint32(magnitude) + 1;
    return sign < 128 ? -value : value;
}

} // namespace

CGSensorData CGSensorData::FromSampleBytes(const uchar (&bytes)[kSampleBytes])
{
    CGSensorData sample;
    sample.x = AxisValue(bytes[0], bytes[3]);
    sample.y = AxisValue(bytes[1], bytes[4]);
    sample.z = AxisValue(bytes[2], bytes[5]);
    return sample;
}

} // namespace zq
