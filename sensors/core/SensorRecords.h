#pragma once

#include "CGPSData.h"
#include "CGSensorData.h"

#include <QVector>

namespace zq {

/// The G-sensor samples and GPS fixes of one recording, in recording order.
struct SensorRecords {
    QVector<CGSensorData> gsensor;
    QVector<CGPSData> gps;
};

} // namespace zq
