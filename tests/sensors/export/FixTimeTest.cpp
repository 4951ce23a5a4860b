#include "FixTime.h"

#include "CsvWriter.h"
#include "SampleIndexForTime.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

QString TimeOf(const char* sentence)
{
    return IsoUtc(FixTimeUtc(CGPSData::FromRmcSentence(QByteArrayView(sentence))));
}

TEST(FixTimeTest, IsTheSentencesOwnUtcDateAndTime)
{
    // The viewer's hour field is UTC + 9 (here 32, 24 and 9); the export takes the nine hours off again, so
    // each fix keeps its own date, also across midnight and the turn of the year.
    EXPECT_EQ(TimeOf("$GPRMC,235959.50,A,3733.5,N,12659.0,E,10,0,311217,,,A*00"), "2017-12-31T23:59:59Z");
    EXPECT_EQ(TimeOf("$GPRMC,150000,A,3733.5,N,12659.0,E,10,0,311217"), "2017-12-31T15:00:00Z");
    EXPECT_EQ(TimeOf("$GPRMC,000001,A,3733.5,N,12659.0,E,10,0,010118"), "2018-01-01T00:00:01Z");
    EXPECT_EQ(TimeOf("$GPRMC,000000,A,0,N,0,E,0,0,290224"), "2024-02-29T00:00:00Z");
    // Two-digit years as the viewer reads them: 70-99 are 1970-1999, 00-69 are 2000-2069.
    EXPECT_EQ(TimeOf("$GPRMC,120000,A,0,N,0,E,0,0,010170"), "1970-01-01T12:00:00Z");
    EXPECT_EQ(TimeOf("$GPRMC,120000,A,0,N,0,E,0,0,311269"), "2069-12-31T12:00:00Z");
}

TEST(FixTimeTest, AnUnusableDateGivesNoTimeButKeepsThePosition)
{
    for (const char* sentence : {
             "$GPRMC,120000,A,3351.8,S,15112.6,W,5,0,,,,A", // no date yet (a receiver before its first fix)
             "$GPRMC,120000,A,3351.8,S,15112.6,W,5,0,000000", // all zero
             "$GPRMC,120000,A,3351.8,S,15112.6,W,5,0,311317", // month 13
             "$GPRMC,120000,A,3351.8,S,15112.6,W,5,0,310417", // 31 April
             "$GPRMC,120000,A,3351.8,S,15112.6,W,5,0,290223", // 29 February of a common year
             "$GPRMC,250000,A,3351.8,S,15112.6,W,5,0,010118", // hour 25
             "$GPRMC,126100,A,3351.8,S,15112.6,W,5,0,010118", // minute 61
             "$GPRMC,120000,A,3351.8,S,15112.6,W,5,0", // cut short before the date
             "$GPRMC,120000,A,3351.8,S,15112.6,W", // cut short before the speed
         }) {
        const CGPSData fix = CGPSData::FromRmcSentence(QByteArrayView(sentence));
        EXPECT_FALSE(FixTimeUtc(fix).has_value()) << sentence;
        EXPECT_EQ(IsoUtc(FixTimeUtc(fix)), QString()) << sentence;
        EXPECT_TRUE(HasMapPosition(fix)) << sentence;
        EXPECT_NEAR(LatitudeDegrees(fix), -33.863333, 1e-6) << sentence;
        EXPECT_NEAR(LongitudeDegrees(fix), -151.21, 1e-6) << sentence;
    }
}

TEST(FixTimeTest, OnlyValidFixesOnTheGlobeHaveAMapPosition)
{
    auto parse = [](const char* sentence) { return CGPSData::FromRmcSentence(QByteArrayView(sentence)); };
    EXPECT_TRUE(HasMapPosition(parse("$GPRMC,120000,A,8959.9999,N,17959.9999,E,0,0,010118")));
    EXPECT_TRUE(HasMapPosition(parse("$GPRMC,120000,A,9000.0,S,18000.0,W,0,0,010118")));
    EXPECT_TRUE(HasMapPosition(parse("$GPRMC,120000,A,0,N,0,E,0,0,010118"))); // the recorder says valid
    EXPECT_FALSE(HasMapPosition(parse("$GPRMC,120000,V,3733.5,N,12659.0,E,0,0,010118")));
    EXPECT_FALSE(HasMapPosition(parse("$GPRMC,120000,,3733.5,N,12659.0,E,0,0,010118")));
    EXPECT_FALSE(HasMapPosition(parse("$GPRMC,120000,A,9912.0,N,12659.0,E,0,0,010118"))); // latitude 99.2
    EXPECT_FALSE(HasMapPosition(parse("$GPRMC,120000,A,3733.5,N,18100.0,E,0,0,010118"))); // longitude 181
    EXPECT_FALSE(HasMapPosition(parse("$GPRMC,120000,A,1e308,N,0,E,0,0,010118")));
}

TEST(SampleOffsetTest, EachOffsetIsWhereTheViewerStartsShowingThatSample)
{
    // The viewer shows sample i from just after step * i; the export's offset must agree with its lookup.
    for (const auto& [duration, count] : { std::pair<qint64, qsizetype> { 60000, 120 }, { 60000, 7 },
             { 999, 1000 }, { (qint64(1) << 32) + 60000, 600 }, { 3000, 30 } }) {
        for (qsizetype i = 0; i < count; ++i) {
            const qint64 offset = SampleOffsetMs(i, duration, count);
            const std::optional<qsizetype> shown
                = SampleIndexForTime(offset + (i > 0 ? 1 : 0), duration, count);
            if (offset == 0 && i > 0) {
                // A step of 0 (more samples than milliseconds): every sample starts at 0.
                EXPECT_EQ(SampleIndexForTime(0, duration, count), 0);
                continue;
            }
            ASSERT_TRUE(shown.has_value()) << duration << " " << count << " " << i;
            EXPECT_EQ(*shown, i) << duration << " " << count << " " << i;
            if (i > 0) {
                EXPECT_EQ(SampleIndexForTime(offset, duration, count), i - 1);
            }
        }
    }
    EXPECT_EQ(SampleOffsetMs(119, 60000, 120), 59500);
    EXPECT_EQ(SampleOffsetMs(5, 0, 10), 0); // no duration known
    EXPECT_EQ(SampleOffsetMs(0, 60000, 0), 0);
}

} // namespace
} // namespace zq
