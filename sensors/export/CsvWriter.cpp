#include "CsvWriter.h"

#include "FixTime.h"
#include "XmlText.h"

#include <QFileInfo>
#include <charconv>

namespace zq {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr double kUnitsPerG = 32.0; // the recorder's axis values are in 1/32 g

/// The shortest decimal that reads back as the same value, without an exponent.
template <typename Number> QByteArray Shortest(Number value)
{
    char buffer[400];
    const std::to_chars_result result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return result.ec == std::errc() ? QByteArray(buffer, result.ptr - buffer) : QByteArray("0");
}

/// Rows are gathered per recording and written in one go, so a failing device is noticed early.
bool Flush(QIODevice* device, QByteArray* rows)
{
    const bool written = device->write(*rows) == rows->size();
    rows->clear();
    return written;
}

} // namespace

QString CsvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool WriteTrackCsv(const QVector<ExportRecording>& recordings, QIODevice* device)
{
    QByteArray rows = QByteArray("recording,time_utc,latitude,longitude,speed_kmh,valid") + kLineEnd;
    for (const ExportRecording& recording : recordings) {
        const QByteArray name = CsvField(recording.name).toUtf8();
        for (const CGPSData& fix : recording.records.gps) {
            rows += name + ',' + IsoUtc(FixTimeUtc(fix)).toLatin1() + ','
                + DegreesText(LatitudeDegrees(fix)).toLatin1() + ','
                + DegreesText(LongitudeDegrees(fix)).toLatin1() + ',' + Shortest(float(SpeedKmh(fix))) + ','
                + (fix.valid == 1 ? '1' : '0') + kLineEnd;
        }
        if (!Flush(device, &rows))
            return false;
    }
    return Flush(device, &rows);
}

bool WriteGsensorCsv(const QVector<ExportRecording>& recordings, QIODevice* device)
{
    QByteArray rows = QByteArray("recording,offset_ms,x_g,y_g,z_g") + kLineEnd;
    for (const ExportRecording& recording : recordings) {
        const QByteArray name = CsvField(recording.name).toUtf8();
        const QVector<CGSensorData>& samples = recording.records.gsensor;
        for (qsizetype i = 0; i < samples.size(); ++i) {
            const CGSensorData& sample = samples[i];
            rows += name + ',' + QByteArray::number(SampleOffsetMs(i, recording.durationMs, samples.size()))
                + ',' + Shortest(sample.x / kUnitsPerG) + ',' + Shortest(sample.y / kUnitsPerG) + ','
                + Shortest(sample.z / kUnitsPerG) + kLineEnd;
        }
        if (!Flush(device, &rows))
            return false;
    }
    return Flush(device, &rows);
}

qint64 SampleOffsetMs(qsizetype index, qint64 durationMs, qsizetype count)
{
    if (count < 1 || index < 0)
        return 0;
    const quint64 step = quint64(quint32(durationMs)) / quint64(count);
    return qint64(step * quint64(index));
}

QString GsensorCsvPath(const QString& trackPath)
{
    const QFileInfo info(trackPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString gsensorName = dot > 0 ? name.left(dot) + QStringLiteral("-gsensor") + name.mid(dot)
                                        : name + QStringLiteral("-gsensor");
    const qsizetype folderEnd = trackPath.size() - name.size();
    return trackPath.left(folderEnd) + gsensorName;
}

} // namespace zq
