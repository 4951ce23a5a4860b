#include "SensorLookup.h"

#include "SampleIndexForTime.h"

namespace zq {

SensorValues LookupSensors(const SensorRecords& records, qint64 positionMs, qint64 durationMs, bool miles)
{
    SensorValues v;
    if (const auto i = SampleIndexForTime(positionMs, durationMs, records.gsensor.size())) {
        const CGSensorData& s = records.gsensor[*i];
        v.hasAcceleration = true;
        v.x = s.x * kGPerCount;
        v.y = s.y * kGPerCount;
        v.z = s.z * kGPerCount;
    }
    if (const auto i = SampleIndexForTime(positionMs, durationMs, records.gps.size())) {
        const CGPSData& fix = records.gps[*i];
        if (fix.valid) {
            v.speed = SpeedKmh(fix) * (miles ? kMilesPerKm : 1.0);
            v.hasPosition = true;
            v.latitude = float(LatitudeDegrees(fix));
            v.longitude = float(LongitudeDegrees(fix));
        }
    }
    return v;
}

} // namespace zq
