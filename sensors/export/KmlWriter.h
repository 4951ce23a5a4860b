#pragma once

#include "ExportRecording.h"

#include <QIODevice>

namespace zq {

/// Writes the trip as a KML 2.2 document: one folder with a line per recording (named after it, spanning
/// the UTC times of its fixes; a recording with a single usable fix gets a point, one without none), and a
/// "Start" and an "End" placemark at the first and the last usable fix of the trip. Usable are the fixes
/// whose status is valid and whose position lies on the globe. False when the device fails.
bool WriteKml(const QVector<ExportRecording>& recordings, QIODevice* device);

} // namespace zq
