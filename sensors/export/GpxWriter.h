#pragma once

#include "ExportRecording.h"

#include <QIODevice>

namespace zq {

/// Writes the trip as one GPX 1.1 track with one segment per recording, in the order given. A segment holds
/// the fixes whose status is valid and whose position lies on the globe, each with its UTC time when the
/// fix's date is usable and its speed in metres per second (Garmin's TrackPointExtension v2, which map
/// programs read). False when the device fails.
bool WriteGpx(const QVector<ExportRecording>& recordings, QIODevice* device);

} // namespace zq
