#pragma once

#include "SensorRecords.h"

namespace zq {

/// The sensor values a report prints for one moment of a recording; zero where the lookup finds nothing.
struct ReportValues {
    /// Decimal degrees. The lookup delivers them at single precision, widened back to double, so their
    /// last printed decimals show the rounding of a float.
    double latitude = 0.0;
    double longitude = 0.0;
    /// Acceleration in g (the sample's 1/32 g counts scaled).
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    /// A fix at exactly 0 degrees on either axis counts as no fix: no map picture is printed for it.
    bool HasPosition() const { return latitude != 0.0 && longitude != 0.0; }
};

/// Looks the G-sensor sample and the GPS fix up for a playback position of a recording lasting durationMs,
/// with samples spread evenly over the duration. Only a valid fix gives a position.
ReportValues ReportValuesAt(const SensorRecords& records, qint64 positionMs, qint64 durationMs);

} // namespace zq
