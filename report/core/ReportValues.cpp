#include "ReportValues.h"

#include "SampleIndexForTime.h"

namespace zq {

namespace {
constexpr double kGPerCount = 1.0 / 32.0;
} // namespace

ReportValues ReportValuesAt(const SensorRecords& records, qint64 positionMs, qint64 durationMs)
{
    ReportValues values;
    if (const auto index = SampleIndexForTime(positionMs, durationMs, records.gsensor.size())) {
        const CGSensorData& sample = records.gsensor.at(*index);
        values.x = sample.x * kGPerCount;
        values.y = sample.y * kGPerCount;
        values.z = sample.z * kGPerCount;
    }
    if (const auto index = SampleIndexForTime(positionMs, durationMs, records.gps.size())) {
        const CGPSData& fix = records.gps.at(*index);
        if (fix.valid) {
            values.latitude = double(float(LatitudeDegrees(fix)));
            values.longitude = double(float(LongitudeDegrees(fix)));
        }
    }
    return values;
}

} // namespace zq
