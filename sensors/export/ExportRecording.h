#pragma once

#include "SensorRecords.h"

#include <QString>
#include <QVector>

namespace zq {

/// One recording of an exported trip: its name as the list shows it and the records the viewer reads.
struct ExportRecording {
    QString name; // file name without folder
    QString path;
    SensorRecords records;
    qint64 durationMs = 0; // as the header states it; 0 when it states none
};

/// Reads the sensor records of a recording with the viewer's walk (the user data behind the information
/// record of the header) and the duration its header states. False, with the reason in *error, when the
/// file cannot be opened or is no RIFF AVI file; a recording without user data reads as one without records.
bool ReadExportRecording(const QString& path, ExportRecording* recording, QString* error);

/// A name for the whole trip: the recording's name, or the first and the last name of several.
QString TripName(const QVector<ExportRecording>& recordings);

} // namespace zq
