#include "CsvWriter.h"

#include "ExportTesting.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ParseCsv;
using test::RecordingOf;

QByteArray Write(
    bool (*writer)(const QVector<ExportRecording>&, QIODevice*), const QVector<ExportRecording>& trip)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writer(trip, &buffer));
    return buffer.data();
}

TEST(CsvWriterTest, EveryFixWithItsValidFlagInRecordingOrder)
{
    const QVector<ExportRecording> trip {
        RecordingOf(QStringLiteral("20180101_085959D.avi"),
            { "$GPRMC,235959,A,3733.5000,N,12659.0000,E,10.0,90.0,311217,,,A*00",
                "$GPRMC,000000,V,3733.5500,N,12659.0500,E,10.0,90.0,010118,,,N*00" }),
        RecordingOf(QStringLiteral("20180101_090100D.avi"), {}),
        RecordingOf(QStringLiteral("20180615_210000D.avi"),
            { "$GPRMC,120001,A,3351.9000,S,15112.7000,W,20,180,000000", "$GPRMC,120002,A,9912.0,N,1,E" }),
    };
    const QByteArray text = Write(WriteTrackCsv, trip);
    EXPECT_EQ(text,
        "recording,time_utc,latitude,longitude,speed_kmh,valid\r\n"
        "20180101_085959D.avi,2017-12-31T23:59:59Z,37.5583333,126.9833333,18.52,1\r\n"
        "20180101_085959D.avi,2018-01-01T00:00:00Z,37.5591667,126.9841667,18.52,0\r\n"
        "20180615_210000D.avi,,-33.8650000,-151.2116667,37.04,1\r\n"
        "20180615_210000D.avi,,99.2000000,0.0166667,0,1\r\n");
}

TEST(CsvWriterTest, NamesWithCommasQuotesAndLineBreaksReadBackWhole)
{
    const QStringList names { QStringLiteral("20180101_000000D,\"quoted\", 주행.avi"),
        QStringLiteral("20180101_000100D\r\nsecond line.avi"),
        QStringLiteral("20180101_000200D 'plain'; <x> & y.avi") };
    QVector<ExportRecording> trip;
    for (const QString& name : names) {
        ExportRecording recording = RecordingOf(name, { "$GPRMC,000000,A,3733.5,N,12659.0,E,0,0,010118" });
        recording.records.gsensor.append(CGSensorData { 32, -1, 256 });
        recording.durationMs = 1000;
        trip.append(recording);
    }
    for (auto writer : { WriteTrackCsv, WriteGsensorCsv }) {
        const QByteArray text = Write(writer, trip);
        const std::optional<QVector<QStringList>> rows = ParseCsv(text);
        ASSERT_TRUE(rows.has_value()) << text.toStdString();
        ASSERT_EQ(rows->size(), 4);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(rows->at(i + 1).size(), rows->at(0).size());
            EXPECT_EQ(rows->at(i + 1).value(0), names[i]);
        }
    }
    EXPECT_EQ(CsvField(QStringLiteral("a\"b")), "\"a\"\"b\"");
    EXPECT_EQ(CsvField(QStringLiteral("plain name.avi")), "plain name.avi");
}

TEST(CsvWriterTest, GsensorSamplesInGAtTheStartOfTheirShare)
{
    ExportRecording first = RecordingOf(QStringLiteral("a.avi"), {});
    first.durationMs = 3000;
    first.records.gsensor = { { 32, -32, 1 }, { -256, 256, -1 }, { 16, -8, 33 } };
    ExportRecording second = RecordingOf(QStringLiteral("b.avi"), {});
    second.durationMs = 0; // a header without a length: every sample at 0
    second.records.gsensor = { { 1, 1, 1 }, { 2, 2, 2 } };
    EXPECT_EQ(Write(WriteGsensorCsv, { first, second }),
        "recording,offset_ms,x_g,y_g,z_g\r\n"
        "a.avi,0,1,-1,0.03125\r\n"
        "a.avi,1000,-8,8,-0.03125\r\n"
        "a.avi,2000,0.5,-0.25,1.03125\r\n"
        "b.avi,0,0.03125,0.03125,0.03125\r\n"
        "b.avi,0,0.0625,0.0625,0.0625\r\n");
}

TEST(CsvWriterTest, FailsWhenTheDeviceFails)
{
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QVector<ExportRecording> trip { RecordingOf(
        QStringLiteral("a.avi"), { "$GPRMC,000000,A,1,N,1,E,0,0,010118" }) };
    EXPECT_FALSE(WriteTrackCsv(trip, &full));
    EXPECT_FALSE(WriteGsensorCsv(trip, &full));
}

TEST(CsvWriterTest, GsensorFileSitsBesideTheTrackFile)
{
    EXPECT_EQ(GsensorCsvPath(QStringLiteral("/out/trip.csv")), "/out/trip-gsensor.csv");
    EXPECT_EQ(GsensorCsvPath(QStringLiteral("/out/trip.2017.csv")), "/out/trip.2017-gsensor.csv");
    EXPECT_EQ(GsensorCsvPath(QStringLiteral("/out.d/trip")), "/out.d/trip-gsensor");
    EXPECT_EQ(GsensorCsvPath(QStringLiteral("trip.csv")), "trip-gsensor.csv");
    EXPECT_EQ(GsensorCsvPath(QStringLiteral("/out/.csv")), "/out/.csv-gsensor");
}

} // namespace
} // namespace zq
