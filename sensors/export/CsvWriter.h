#pragma once

#include "ExportRecording.h"

#include <QIODevice>

namespace zq {

/// A field as RFC 4180 writes it: in double quotes, with inner quotes doubled, when it holds a comma, a
/// quote, a carriage return or a line feed; as it is otherwise.
QString CsvField(const QString& text);

/// Writes every fix of the trip, valid or not, one row each in recording order, under the header
/// "recording,time_utc,latitude,longitude,speed_kmh,valid"; time_utc is empty when the fix's date is not
/// usable. Lines end in CR LF. False when the device fails.
bool WriteTrackCsv(const QVector<ExportRecording>& recordings, QIODevice* device);

/// Writes every G-sensor sample of the trip under "recording,offset_ms,x_g,y_g,z_g": the offset is where the
/// sample's slice of the recording begins (SampleOffsetMs), the axes are in g. False when the device fails.
bool WriteGsensorCsv(const QVector<ExportRecording>& recordings, QIODevice* device);

/// Where sample index of count lies in a recording of durationMs: the samples are spread evenly, sample i
/// covering the positions after step * i up to step * (i + 1) with step = duration / count (whole
/// milliseconds; only the low 32 bits of the duration count, as in the viewer's lookup), so this is step * i.
qint64 SampleOffsetMs(qsizetype index, qint64 durationMs, qsizetype count);

/// The G-sensor file beside a track file: "-gsensor" before the extension ("trip.csv" gives
/// "trip-gsensor.csv", "trip" gives "trip-gsensor").
QString GsensorCsvPath(const QString& trackPath);

} // namespace zq
