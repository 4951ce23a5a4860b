#pragma once

#include "SensorRecords.h"

namespace zq {

// The process-wide sensor arrays of the open recording. The worker that opens a recording builds the new
// records apart and swaps them in under a lock, so a reader on another thread sees either the old arrays or
// the new ones, never a half-built one. Readers get copies; the arrays are implicitly shared, so a copy costs
// a reference count until the next swap.

/// Both arrays at one moment.
SensorRecords SensorSnapshot();
/// The G-sensor samples of the open recording.
QVector<CGSensorData> GSensorSamples();
/// The GPS fixes of the open recording.
QVector<CGPSData> GpsFixes();

/// Empties both arrays and frees their storage.
void ClearSensorArrays();
/// Replaces both arrays at once.
void ReplaceSensorArrays(SensorRecords records);
/// Appends one sample or one fix (a single element, under the lock).
void AppendSensorSample(const CGSensorData& sample);
void AppendGpsFix(const CGPSData& fix);

} // namespace zq
