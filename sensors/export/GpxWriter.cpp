#include "GpxWriter.h"

#include "FixTime.h"
#include "XmlText.h"

#include <QXmlStreamWriter>

namespace zq {

namespace {

const QString kGpxNamespace = QStringLiteral("http://www.topografix.com/GPX/1/1");
const QString kGarminNamespace = QStringLiteral("http://www.garmin.com/xmlschemas/TrackPointExtension/v2");
const QString kSchemaInstanceNamespace = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
constexpr double kKmhPerMetrePerSecond = 3.6;

/// GPX longitudes run from -180 up to, not including, 180: the 180th meridian is written as -180.
double GpxLongitude(double longitude)
{
    return longitude >= 180.0 ? -180.0 : longitude;
}

void WritePoint(QXmlStreamWriter& xml, const CGPSData& fix)
{
    xml.writeStartElement(kGpxNamespace, QStringLiteral("trkpt"));
    xml.writeAttribute(QStringLiteral("lat"), DegreesText(LatitudeDegrees(fix)));
    xml.writeAttribute(QStringLiteral("lon"), DegreesText(GpxLongitude(LongitudeDegrees(fix))));
    const std::optional<QDateTime> time = FixTimeUtc(fix);
    if (time)
        xml.writeTextElement(kGpxNamespace, QStringLiteral("time"), IsoUtc(time));
    xml.writeStartElement(kGpxNamespace, QStringLiteral("extensions"));
    xml.writeStartElement(kGarminNamespace, QStringLiteral("TrackPointExtension"));
    xml.writeTextElement(kGarminNamespace, QStringLiteral("speed"),
        QString::number(SpeedKmh(fix) / kKmhPerMetrePerSecond, 'f', 3));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

bool WriteGpx(const QVector<ExportRecording>& recordings, QIODevice* device)
{
    QXmlStreamWriter xml(device);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kGpxNamespace);
    xml.writeNamespace(kGarminNamespace, QStringLiteral("gpxtpx"));
    xml.writeNamespace(kSchemaInstanceNamespace, QStringLiteral("xsi"));
    xml.writeStartElement(kGpxNamespace, QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("zq481k-tool"));
    xml.writeAttribute(kSchemaInstanceNamespace, QStringLiteral("schemaLocation"),
        kGpxNamespace + QStringLiteral(" http://www.topografix.com/GPX/1/1/gpx.xsd"));

    xml.writeStartElement(kGpxNamespace, QStringLiteral("trk"));
    if (!recordings.isEmpty())
        xml.writeTextElement(kGpxNamespace, QStringLiteral("name"), XmlText(TripName(recordings)));
    for (const ExportRecording& recording : recordings) {
        // A recording without a usable fix keeps its (empty) segment, so segments and recordings pair up.
        xml.writeStartElement(kGpxNamespace, QStringLiteral("trkseg"));
        for (const CGPSData& fix : recording.records.gps) {
            if (HasMapPosition(fix))
                WritePoint(xml, fix);
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

} // namespace zq
