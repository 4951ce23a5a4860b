#include "ExportTesting.h"
#include "GpxWriter.h"
#include "KmlWriter.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::RecordingOf;
using test::SchemaProblems;

const QString kGpx = QStringLiteral("http://www.topografix.com/GPX/1/1");
const QString kGarmin = QStringLiteral("http://www.garmin.com/xmlschemas/TrackPointExtension/v2");
const QString kKml = QStringLiteral("http://www.opengis.net/kml/2.2");

/// One recording across midnight UTC with valid, invalid, out-of-range and dateless fixes; one in the
/// southern and western quarter; one without GPS.
QVector<ExportRecording> MixedTrip()
{
    return {
        RecordingOf(QStringLiteral("20180101_085959D.avi"),
            { "$GPRMC,235959,A,3733.5000,N,12659.0000,E,10.0,90.0,311217,,,A*00",
                "$GPRMC,000000,V,3733.5500,N,12659.0500,E,10.0,90.0,010118,,,N*00",
                "$GPRMC,000001,A,3733.6000,N,12659.1000,E,0.5,90.0,010118,,,A*00",
                "$GPRMC,000002,A,9912.0000,N,12659.1000,E,0.5,90.0,010118,,,A*00" }),
        RecordingOf(QStringLiteral("20180615_210000D.avi"),
            { "$GPRMC,120000,A,3351.8000,S,15112.6000,W,20,180,150618",
                "$GPRMC,120001,A,3351.9000,S,15112.7000,W,20,180,000000" }),
        RecordingOf(QStringLiteral("20180615_210100D.avi"), {}),
    };
}

struct Point {
    double lat = 0;
    double lon = 0;
    QString time;
    QString speed;
};

struct Gpx {
    QString trackName;
    QVector<QVector<Point>> segments;
    int tracks = 0;
};

Gpx ReadGpx(const QByteArray& document)
{
    Gpx gpx;
    QXmlStreamReader xml(document);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (xml.namespaceUri() == kGpx && name == u"trk") {
            ++gpx.tracks;
        } else if (xml.namespaceUri() == kGpx && name == u"name") {
            gpx.trackName = xml.readElementText();
        } else if (xml.namespaceUri() == kGpx && name == u"trkseg") {
            gpx.segments.append(QVector<Point>());
        } else if (xml.namespaceUri() == kGpx && name == u"trkpt") {
            Point point;
            point.lat = xml.attributes().value(QLatin1String("lat")).toDouble();
            point.lon = xml.attributes().value(QLatin1String("lon")).toDouble();
            gpx.segments.last().append(point);
        } else if (xml.namespaceUri() == kGpx && name == u"time") {
            gpx.segments.last().last().time = xml.readElementText();
        } else if (xml.namespaceUri() == kGarmin && name == u"speed") {
            gpx.segments.last().last().speed = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return gpx;
}

QByteArray Write(
    bool (*writer)(const QVector<ExportRecording>&, QIODevice*), const QVector<ExportRecording>& trip)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writer(trip, &buffer));
    return buffer.data();
}

TEST(GpxWriterTest, OneSegmentPerRecordingWithTheValidFixesOnly)
{
    const QByteArray document = Write(WriteGpx, MixedTrip());
    EXPECT_EQ(SchemaProblems(document, QStringLiteral("gpx/Topografix_gpx11.xsd")), QString());
    const Gpx gpx = ReadGpx(document);
    EXPECT_EQ(gpx.tracks, 1);
    EXPECT_EQ(gpx.trackName, QStringLiteral("20180101_085959D.avi – 20180615_210100D.avi"));
    ASSERT_EQ(gpx.segments.size(), 3);

    // The invalid fix and the one with latitude 99.2 are left out; the others keep their own UTC date.
    const QVector<Point>& first = gpx.segments[0];
    ASSERT_EQ(first.size(), 2);
    EXPECT_NEAR(first[0].lat, 37.558333, 1e-6);
    EXPECT_NEAR(first[0].lon, 126.983333, 1e-6);
    EXPECT_EQ(first[0].time, "2017-12-31T23:59:59Z");
    EXPECT_EQ(first[0].speed, "5.144"); // 10 knots
    EXPECT_NEAR(first[1].lat, 37.56, 1e-6);
    EXPECT_EQ(first[1].time, "2018-01-01T00:00:01Z");
    EXPECT_EQ(first[1].speed, "0.000"); // up to one knot the recorder stands still

    const QVector<Point>& second = gpx.segments[1];
    ASSERT_EQ(second.size(), 2);
    EXPECT_NEAR(second[0].lat, -33.863333, 1e-6);
    EXPECT_NEAR(second[0].lon, -151.21, 1e-6);
    EXPECT_EQ(second[0].time, "2018-06-15T12:00:00Z");
    EXPECT_NEAR(second[1].lat, -33.865, 1e-6);
    EXPECT_EQ(second[1].time, QString()); // no usable date: the point stays, without a time
    EXPECT_EQ(second[1].speed, "10.289");

    EXPECT_TRUE(gpx.segments[2].isEmpty()); // no GPS in the third recording
}

TEST(GpxWriterTest, EmptyTripsAndTheAntimeridianStayValid)
{
    const QByteArray empty = Write(WriteGpx, {});
    EXPECT_EQ(SchemaProblems(empty, QStringLiteral("gpx/Topografix_gpx11.xsd")), QString());
    EXPECT_EQ(ReadGpx(empty).tracks, 1);

    // GPX longitudes stop short of 180: the meridian is written as -180, the same place.
    const QByteArray edge = Write(WriteGpx,
        { RecordingOf(QStringLiteral("a.avi"),
            { "$GPRMC,120000,A,9000.0,N,18000.0,E,0,0,010118",
                "$GPRMC,120001,A,9000.0,S,18000.0,W,0,0,010118" }) });
    EXPECT_EQ(SchemaProblems(edge, QStringLiteral("gpx/Topografix_gpx11.xsd")), QString());
    const Gpx gpx = ReadGpx(edge);
    ASSERT_EQ(gpx.segments.value(0).size(), 2);
    EXPECT_EQ(gpx.segments[0][0].lon, -180.0);
    EXPECT_EQ(gpx.segments[0][0].lat, 90.0);
    EXPECT_EQ(gpx.segments[0][1].lat, -90.0);
}

TEST(GpxWriterTest, FailsWhenTheDeviceFails)
{
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(WriteGpx(MixedTrip(), &full));
    EXPECT_FALSE(WriteKml(MixedTrip(), &full));
}

struct KmlPlacemark {
    QString name;
    QString description;
    QString lineCoordinates;
    QString pointCoordinates;
    QString begin;
    QString end;
    QString when;
    bool inFolder = false;
};

QVector<KmlPlacemark> ReadPlacemarks(const QByteArray& document, QString* documentName)
{
    QVector<KmlPlacemark> placemarks;
    QXmlStreamReader xml(document);
    int folderDepth = 0;
    QString geometry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"Folder")
            --folderDepth;
        if (!xml.isStartElement())
            continue;
        EXPECT_EQ(xml.namespaceUri(), kKml);
        const QStringView name = xml.name();
        if (name == u"Folder") {
            ++folderDepth;
        } else if (name == u"Placemark") {
            placemarks.append(KmlPlacemark());
            placemarks.last().inFolder = folderDepth > 0;
        } else if (name == u"LineString" || name == u"Point") {
            geometry = name.toString();
        } else if (placemarks.isEmpty()) {
            if (name == u"name" && documentName->isEmpty())
                *documentName = xml.readElementText();
        } else if (name == u"name") {
            placemarks.last().name = xml.readElementText();
        } else if (name == u"description") {
            placemarks.last().description = xml.readElementText();
        } else if (name == u"begin") {
            placemarks.last().begin = xml.readElementText();
        } else if (name == u"end") {
            placemarks.last().end = xml.readElementText();
        } else if (name == u"when") {
            placemarks.last().when = xml.readElementText();
        } else if (name == u"coordinates") {
            (geometry == u"Point" ? placemarks.last().pointCoordinates : placemarks.last().lineCoordinates)
                = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return placemarks;
}

TEST(KmlWriterTest, ALinePerRecordingInOneFolderAndPlacemarksAtStartAndEnd)
{
    QVector<ExportRecording> trip = MixedTrip();
    trip.append(RecordingOf(QStringLiteral("20180615_210200D.avi"),
        { "$GPRMC,120200,V,1,S,1,W,0,0,150618", "$GPRMC,120201,A,3352.0000,S,15112.8000,W,0,0,150618" }));
    const QByteArray document = Write(WriteKml, trip);
    EXPECT_EQ(SchemaProblems(document, QStringLiteral("gpx/ogckml22.xsd")), QString());
    QString documentName;
    const QVector<KmlPlacemark> placemarks = ReadPlacemarks(document, &documentName);
    EXPECT_EQ(documentName, QStringLiteral("20180101_085959D.avi – 20180615_210200D.avi"));
    // Lines for the first two recordings; the one without GPS has none; a single fix is a point.
    ASSERT_EQ(placemarks.size(), 5);
    EXPECT_EQ(placemarks[0].name, "20180101_085959D.avi");
    EXPECT_TRUE(placemarks[0].inFolder);
    EXPECT_EQ(placemarks[0].lineCoordinates, "126.9833333,37.5583333 126.9850000,37.5600000");
    EXPECT_EQ(placemarks[0].begin, "2017-12-31T23:59:59Z");
    EXPECT_EQ(placemarks[0].end, "2018-01-01T00:00:01Z");
    EXPECT_EQ(placemarks[1].name, "20180615_210000D.avi");
    EXPECT_EQ(placemarks[1].lineCoordinates, "-151.2100000,-33.8633333 -151.2116667,-33.8650000");
    EXPECT_EQ(placemarks[1].begin, "2018-06-15T12:00:00Z");
    EXPECT_EQ(placemarks[1].end, "2018-06-15T12:00:00Z"); // the second fix has no usable date
    EXPECT_EQ(placemarks[2].name, "20180615_210200D.avi");
    EXPECT_EQ(placemarks[2].pointCoordinates, "-151.2133333,-33.8666667");
    EXPECT_TRUE(placemarks[2].lineCoordinates.isEmpty());

    EXPECT_EQ(placemarks[3].name, "Start");
    EXPECT_FALSE(placemarks[3].inFolder);
    EXPECT_EQ(placemarks[3].pointCoordinates, "126.9833333,37.5583333");
    EXPECT_EQ(placemarks[3].when, "2017-12-31T23:59:59Z");
    EXPECT_TRUE(placemarks[3].description.contains("20180101_085959D.avi"));
    EXPECT_EQ(placemarks[4].name, "End");
    EXPECT_EQ(placemarks[4].pointCoordinates, "-151.2133333,-33.8666667");
    EXPECT_EQ(placemarks[4].when, "2018-06-15T12:02:01Z");
}

TEST(KmlWriterTest, ATripWithoutPositionsHasNoPlacemarks)
{
    const QByteArray document = Write(WriteKml,
        { RecordingOf(QStringLiteral("a.avi"), { "$GPRMC,120200,V,3733.5,N,12659.0,E,0,0,150618" }),
            RecordingOf(QStringLiteral("b.avi"), {}) });
    EXPECT_EQ(SchemaProblems(document, QStringLiteral("gpx/ogckml22.xsd")), QString());
    QString documentName;
    EXPECT_TRUE(ReadPlacemarks(document, &documentName).isEmpty());
}

TEST(TrackXmlTest, SpecialCharactersInNamesAreEscaped)
{
    // Markup characters, quotes and a Hangul word, and a control character that XML 1.0 cannot carry at all
    // (a Linux file name may hold one).
    const QString name = QStringLiteral("20180101_085959D <a href=\"x\">&amp; 'q' 주행\x01.avi");
    const QVector<ExportRecording> trip { RecordingOf(
        name, { "$GPRMC,000000,A,3733.5,N,12659.0,E,0,0,010118" }) };
    QString readable = name;
    readable.replace(QChar(1), QChar(0xFFFD));

    const QByteArray gpx = Write(WriteGpx, trip);
    EXPECT_EQ(SchemaProblems(gpx, QStringLiteral("gpx/Topografix_gpx11.xsd")), QString());
    EXPECT_EQ(ReadGpx(gpx).trackName, readable);
    EXPECT_FALSE(gpx.contains("<a href"));

    const QByteArray kml = Write(WriteKml, trip);
    EXPECT_EQ(SchemaProblems(kml, QStringLiteral("gpx/ogckml22.xsd")), QString());
    QString documentName;
    const QVector<KmlPlacemark> placemarks = ReadPlacemarks(kml, &documentName);
    EXPECT_EQ(documentName, readable);
    ASSERT_EQ(placemarks.size(), 3);
    EXPECT_EQ(placemarks[0].name, readable);
    EXPECT_TRUE(placemarks[1].description.startsWith(readable));
}

} // namespace
} // namespace zq
