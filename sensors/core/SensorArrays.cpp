#include "SensorArrays.h"

#include <mutex>

namespace zq {

namespace {

struct SensorStore {
    std::mutex mutex;
    SensorRecords records;
};

SensorStore& Store()
{
    static SensorStore store;
    return store;
}

} // namespace

SensorRecords SensorSnapshot()
{
    SensorStore& store = Store();
    std::lock_guard lock(store.mutex);
    return store.records;
}

QVector<CGSensorData> GSensorSamples()
{
    SensorStore& store = Store();
    std::lock_guard lock(store.mutex);
    return store.records.gsensor;
}

QVector<CGPSData> GpsFixes()
{
    SensorStore& store = Store();
    std::lock_guard lock(store.mutex);
    return store.records.gps;
}

void ClearSensorArrays()
{
    ReplaceSensorArrays({});
}

void ReplaceSensorArrays(SensorRecords records)
{
    SensorStore& store = Store();
    {
        std::lock_guard lock(store.mutex);
        std::swap(store.records, records);
    }
    // The old arrays are freed here, outside the lock.
}

void AppendSensorSample(const CGSensorData& sample)
{
    SensorStore& store = Store();
    std::lock_guard lock(store.mutex);
    store.records.gsensor.append(sample);
}

void AppendGpsFix(const CGPSData& fix)
{
    SensorStore& store = Store();
    std::lock_guard lock(store.mutex);
    store.records.gps.append(fix);
}

} // namespace zq
