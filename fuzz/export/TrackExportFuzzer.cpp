// Header duration and the three writers over arbitrary bytes: the bytes are read as a header, as a record
// stream and, in part, as a recording's name; GPX and KML must stay well-formed XML whatever they hold.
#include "CsvWriter.h"
#include "DispatchRecord.h"
#include "GpxWriter.h"
#include "HeaderDuration.h"
#include "KmlWriter.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <cstddef>
#include <cstdint>

namespace {

bool WellFormed(const QByteArray& document)
{
    QXmlStreamReader xml(document);
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

template <typename Writer> QByteArray Write(Writer writer, const QVector<zq::ExportRecording>& trip)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writer(trip, &buffer))
        __builtin_trap(); // a buffer never fails
    return buffer.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const std::optional<qint64> duration = zq::HeaderDurationMs(device);
    if (duration && *duration <= 0)
        __builtin_trap();

    zq::ExportRecording recording;
    recording.name = QString::fromUtf8(bytes.left(24)) + QStringLiteral(".avi");
    recording.records = zq::ParseUserData(bytes);
    recording.durationMs = duration.value_or(qint64(size));
    const QVector<zq::ExportRecording> trip { recording, recording };
    if (!WellFormed(Write(zq::WriteGpx, trip)) || !WellFormed(Write(zq::WriteKml, trip)))
        __builtin_trap();
    Write(zq::WriteTrackCsv, trip);
    Write(zq::WriteGsensorCsv, trip);
    return 0;
}
