#include "CGPSData.h"
#include "TestSupport.h"

#include <QFile>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

namespace zq {
namespace {

/// Sets the local time zone for a scope.
struct TimeZone {
    explicit TimeZone(const char* zone) { qputenv("TZ", zone), tzset(); }
    ~TimeZone() { m_had ? qputenv("TZ", m_saved) : qunsetenv("TZ"), tzset(); }
    const bool m_had = qEnvironmentVariableIsSet("TZ");
    const QByteArray m_saved = qgetenv("TZ");
};

CGPSData Parse(const QByteArray& sentence)
{
    return CGPSData::FromRmcSentence(sentence);
}

constexpr qint64 k2018Utc = 1514764800; // 2018-01-01 00:00:00 UTC

TEST(RmcSentenceTest, ReadsEveryFieldOfARecorderSentence)
{
    const TimeZone seoul("KST-9");
    const CGPSData fix = Parse("$GPRMC,150000.00,A,3733.5,N,12659.0,E,10,231.5,311217,,,A*7C\r\n");
    EXPECT_EQ(fix.hour, 24); // 15 UTC + 9, not wrapped
    EXPECT_EQ(fix.minute + fix.second, 0);
    EXPECT_EQ(fix.day, 31);
    EXPECT_EQ(fix.month, 12);
    EXPECT_EQ(fix.year, 17);
    EXPECT_EQ(fix.valid, 1);
    EXPECT_DOUBLE_EQ(fix.latitude, 3733.5);
    EXPECT_NEAR(LatitudeDegrees(fix), 37.558333333, 1e-9);
    EXPECT_NEAR(LongitudeDegrees(fix), 126.983333333, 1e-9);
    EXPECT_EQ(SpeedKmh(fix), double(float(18.52))); // rounded to single precision
    EXPECT_EQ(fix.course, double(231.5f));
    // Hour 24 of 31 December is 1 January 2018, 00:00:00 local time.
    EXPECT_EQ(fix.time, k2018Utc - 9 * 3600);
}

TEST(RmcSentenceTest, TimeIsLocalWithDaylightSavingOffAndTwoDigitYears)
{
    const QByteArray sentence = "$GPRMC,150000,A,3733.5,N,12659.0,E,10,0,311217*00";
    {
        const TimeZone newYork("EST5EDT,M3.2.0,M11.1.0");
        EXPECT_EQ(Parse(sentence).time, k2018Utc + 5 * 3600);
        // 03:00 UTC on 1 July gives 12:00 on the fields; read as standard time (UTC-5) that is 17:00 UTC,
        // not the 16:00 a daylight-saving reading would give.
        EXPECT_EQ(Parse("$GPRMC,030000,A,1,N,1,W,0,0,010718").time, 1530464400);
    }
    const TimeZone utc("UTC0");
    EXPECT_EQ(Parse(sentence).time, k2018Utc);
    const CGPSData seventy = Parse("$GPRMC,000000,A,0,N,0,E,0,0,020170");
    EXPECT_EQ(seventy.year, 70);
    EXPECT_EQ(seventy.time, 86400 + 9 * 3600); // 2 January 1970, 09:00
    EXPECT_EQ(Parse("$GPRMC,000000,A,0,N,0,E,0,0,010169").time, 3124224000 + 9 * 3600); // 1 January 2069
    const TimeZone tokyo("JST-10");
    EXPECT_EQ(Parse("$GPRMC,000000,A,0,N,0,E,0,0,010170").time, -1); // before 1970 UTC, as _mktime64 says
}

TEST(RmcSentenceTest, FieldEdges)
{
    // Knots up to 1.0 mean standing still; the hemisphere letters decide the signs.
    const CGPSData slow = Parse("$GPRMC,1,A,4807.038,S,01131.000,W,1.0,360.0,230394");
    EXPECT_EQ(slow.speed, 0.0);
    EXPECT_NEAR(LatitudeDegrees(slow), -48.1173, 1e-9);
    EXPECT_DOUBLE_EQ(slow.longitude, -1131.0);
    EXPECT_EQ(Parse("$GPRMC,1,A,1,N,1,E,1.01,0,230394").speed, double(float(1.01 * 1.852)));
    EXPECT_EQ(slow.hour, 10); // a one-digit time field: "1" is the hour, minute and second read 0
    EXPECT_EQ(slow.minute, 0);
    EXPECT_EQ(Parse("$GPRMC,123519,a,1,n,1,e,0,0,230394").valid, 0);

    // Fewer than ten fields: what was read stays, the rest is zero and so is the time.
    const CGPSData cut = Parse("$GPRMC,123519,A,4807.038,N,01131.000");
    EXPECT_EQ(cut.hour * 10000 + cut.minute * 100 + cut.second, 213519);
    EXPECT_EQ(cut.valid, 1);
    EXPECT_DOUBLE_EQ(cut.longitude, 1131.0); // its hemisphere is missing, so no sign is applied
    EXPECT_EQ(cut.day + cut.time, 0);
    // Empty fields are fields: all ten are there, so even an empty date is converted.
    const CGPSData empty = Parse("$GPRMC,,V,,,,,,,,,,N*53");
    EXPECT_EQ(empty.hour, 9);
    EXPECT_EQ(empty.latitude, 0.0);
    EXPECT_NE(empty.time, 0);
    // The sentence ends at the next "$" or a zero byte, before the "S" that would make the latitude negative.
    EXPECT_DOUBLE_EQ(CGPSData::FromRmcSentence(QByteArrayView("$GPRMC,1,A,48$07.038,S", 22)).latitude, 48.0);
    EXPECT_DOUBLE_EQ(CGPSData::FromRmcSentence(QByteArrayView("$GPRMC,1,A,48\0"
                                                              "07,S",
                                                   18))
                         .latitude,
        48.0);
}

TEST(RmcSentenceTest, LongSentencesAreCutAt1023Characters)
{
    const QByteArray head = "$GPRMC,150000,A,3733.5,N,12659.0,E,10,45.";
    CGPSData fix = Parse(head + QByteArray(1023 - head.size(), '0') + ",311217");
    EXPECT_EQ(fix.course, 45.0);
    EXPECT_EQ(fix.day + fix.time, 0) << "the date lies behind the cut";
    fix = Parse(head + QByteArray(1023 - head.size() - 8, '0') + ",311217");
    EXPECT_EQ(fix.day, 31);
    // Numbers of any length never overflow; out of range they read 0.
    fix = Parse("$GPRMC,1,A," + QByteArray(400, '9') + ",N,1e999,E,-1e400,1e-999,010101");
    EXPECT_EQ(fix.latitude + fix.longitude + fix.speed + fix.course, 0.0);
}

/// The public vectors: latitude, longitude, status and knots agree wherever the upstream gives a value.
TEST(RmcSentenceTest, AgreesWithUpstreamDecoders)
{
    QFile file(test::dataPath(QStringLiteral("nmea/rmc_vectors.tsv")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> header = file.readLine().trimmed().split('\t');
    const auto column = [&header](const char* name) { return header.indexOf(QByteArray(name)); };
    const qsizetype sentence = column("sentence"), valid = column("valid"), lat = column("lat_deg"),
                    lon = column("lon_deg"), knots = column("speed_knots"), repo = column("source_repo"),
                    note = column("note");
    int rows = 0, compared = 0;
    while (!file.atEnd()) {
        const QList<QByteArray> cells = file.readLine().chopped(1).split('\t');
        ASSERT_EQ(cells.size(), header.size());
        ++rows;
        const CGPSData fix = Parse(cells[sentence]);
        const std::string where = cells[sentence].toStdString();
        // Half a unit of the last decimal the upstream prints; the Arduino rows are single precision.
        const auto tolerance = [arduino = cells[repo].contains("Arduino")](const QByteArray& text) {
            const qsizetype dot = text.indexOf('.');
            return qMax(
                arduino ? 1e-5 : 0.0, 0.5 * std::pow(10.0, dot < 0 ? 0 : -(text.size() - dot - 1)) + 1e-12);
        };
        // gpsd takes its fix mode from the whole reporting cycle; the note marks the row where that disagrees
        // with the sentence's own status letter, which is all this parser reads.
        if (!cells[valid].isEmpty() && !cells[note].contains("but gpsd reports mode")) {
            ++compared;
            EXPECT_EQ(fix.valid, cells[valid] == "A" ? 1 : 0) << where;
        }
        if (!cells[lat].isEmpty()) {
            ++compared;
            EXPECT_NEAR(LatitudeDegrees(fix), cells[lat].toDouble(), tolerance(cells[lat])) << where;
        }
        if (!cells[lon].isEmpty()) {
            ++compared;
            EXPECT_NEAR(LongitudeDegrees(fix), cells[lon].toDouble(), tolerance(cells[lon])) << where;
        }
        if (!cells[knots].isEmpty()) {
            ++compared;
            const double upstream = cells[knots].toDouble();
            EXPECT_EQ(fix.speed, upstream > 1.0 ? double(float(upstream * 1.852)) : 0.0) << where;
        }
    }
    EXPECT_EQ(rows, 142);
    EXPECT_GT(compared, 300);
}

} // namespace
} // namespace zq
