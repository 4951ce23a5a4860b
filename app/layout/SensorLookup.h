#pragma once

#include "SensorRecords.h"

#include <optional>

namespace zq {

/// The sensor values shown for one playback moment.
struct SensorValues {
    bool hasAcceleration = false;
    double x = 0.0, y = 0.0, z = 0.0; // g
    /// Speed in the display unit; 0 when no valid fix covers the moment.
    double speed = 0.0;
    bool hasPosition = false;
    float latitude = 0.0f, longitude = 0.0f; // decimal degrees
};

inline constexpr double kGPerCount = 1.0 / 32.0;
inline constexpr double kMilesPerKm = 0.621371;

/// Maps a position (ms) of a recording of the duration to the G-sensor sample and the GPS fix that cover
/// it: accelerations from the sample, speed and position only from a valid fix.
SensorValues LookupSensors(const SensorRecords& records, qint64 positionMs, qint64 durationMs, bool miles);

} // namespace zq
