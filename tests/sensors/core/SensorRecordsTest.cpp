#include "CGSensorData.h"
#include "DispatchRecord.h"
#include "SampleIndexForTime.h"
#include "SensorArrays.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

QByteArray SensorRecord(uchar x, uchar y, uchar z, uchar sx, uchar sy, uchar sz)
{
    const char bytes[] = { '$', 'M', char(x), char(y), char(z), char(sx), char(sy), char(sz) };
    return QByteArray(bytes, sizeof bytes) + "unread!!"; // bytes 8-15 are not read
}

const QByteArray kInnerInfo = "$I" + QByteArray(16, '$'); // the skip must not stop at the "$" bytes

TEST(UserDataWalkTest, DecodesAndDispatchesEveryRecordInOrder)
{
    const QByteArray block = SensorRecord(0, 255, 31, 0, 200, 128) + kInnerInfo
        + "$GPRMC,150000,A,3733.5,N,12659.0,E,10,90,311217,,,A*00\r\n"
        + SensorRecord(127, 127, 0, 127, 255, 129) + "$GPRMC,150001,V,3733.6,S,12659.1,W,0.5,0,311217*00"
        + kInnerInfo + SensorRecord(3, 4, 5, 0, 0, 0);
    const SensorRecords records = ParseUserData(block);
    ASSERT_EQ(records.gsensor.size(), 3);
    // Value = magnitude + 1, negative when the sign byte is below 128; 32 is 1 g.
    EXPECT_EQ(records.gsensor[0].x, -1);
    EXPECT_EQ(records.gsensor[0].y, 256);
    EXPECT_EQ(records.gsensor[0].z, 32);
    EXPECT_EQ(records.gsensor[1].x, -128);
    EXPECT_EQ(records.gsensor[1].y, 128);
    EXPECT_EQ(records.gsensor[1].z, 1);
    EXPECT_EQ(records.gsensor[2].z, -6);
    ASSERT_EQ(records.gps.size(), 2);
    EXPECT_EQ(records.gps[0].valid, 1);
    EXPECT_EQ(records.gps[0].day, 31);
    EXPECT_EQ(records.gps[1].second, 1);
    EXPECT_DOUBLE_EQ(records.gps[1].latitude, -3733.6);
}

TEST(UserDataWalkTest, StoppingRules)
{
    const QByteArray m = SensorRecord(1, 1, 1, 200, 200, 200);
    // A byte other than "$" where a record begins, and an unknown type letter, end the walk.
    EXPECT_EQ(ParseUserData(m + "x" + m).gsensor.size(), 1);
    EXPECT_EQ(ParseUserData(m + "$Q" + QByteArray(14, '\0') + m).gsensor.size(), 1);
    EXPECT_EQ(ParseUserData(m + "$").gsensor.size(), 1);
    // A zero byte behind a sentence ends the walk after it; the later records are not read.
    SensorRecords records = ParseUserData(m + "$GPRMC,010203,A" + QByteArray(1, '\0') + "junk" + m);
    EXPECT_EQ(records.gsensor.size(), 1);
    ASSERT_EQ(records.gps.size(), 1);
    EXPECT_EQ(records.gps[0].minute, 2);
    // A block that ends inside a sentence still gives that fix.
    records = ParseUserData(m + "$GPRMC,150000,A,3733");
    ASSERT_EQ(records.gps.size(), 1);
    EXPECT_DOUBLE_EQ(records.gps[0].latitude, 3733.0);
    // A G-sensor record cut short by the end of the block gives no sample; "$M" and six bytes are enough.
    EXPECT_EQ(ParseUserData(m + m.left(7)).gsensor.size(), 1);
    EXPECT_EQ(ParseUserData(m + m.left(8)).gsensor.size(), 2);
}

TEST(UserDataWalkTest, DispatchUserDataSwapsTheProcessWideArrays)
{
    ClearSensorArrays();
    DispatchRecord(SensorRecord(4, 4, 4, 200, 200, 200).mid(1)); // the walk hands over the "M"
    DispatchRecord("$GPRMC,000000,A,1,N,1,E,0,0,010117");
    DispatchRecord("$X not a record");
    EXPECT_EQ(GSensorSamples().size(), 1);
    EXPECT_EQ(GSensorSamples()[0].x, 5);
    EXPECT_EQ(GpsFixes().size(), 1);

    const QVector<CGSensorData> before = GSensorSamples();
    DispatchUserData(SensorRecord(1, 2, 3, 0, 0, 0) + SensorRecord(1, 2, 3, 0, 0, 0));
    const SensorRecords now = SensorSnapshot();
    EXPECT_EQ(now.gsensor.size(), 2);
    EXPECT_TRUE(now.gps.isEmpty());
    EXPECT_EQ(before.size(), 1); // a copy taken earlier keeps what it saw
    ClearSensorArrays();
    EXPECT_TRUE(GSensorSamples().isEmpty());
}

TEST(SampleIndexForTimeTest, SpreadsSamplesEvenlyOverTheDuration)
{
    EXPECT_EQ(SampleIndexForTime(0, 60000, 120), 0);
    EXPECT_EQ(SampleIndexForTime(500, 60000, 120), 0);
    EXPECT_EQ(SampleIndexForTime(501, 60000, 120), 1);
    EXPECT_EQ(SampleIndexForTime(60000, 60000, 120), 119);
    EXPECT_EQ(SampleIndexForTime(60001, 60000, 120), std::nullopt);
    // The integer step leaves the remainder of the duration uncovered: 1000 / 3 = 333, so 999 is the last.
    EXPECT_EQ(SampleIndexForTime(999, 1000, 3), 2);
    EXPECT_EQ(SampleIndexForTime(1000, 1000, 3), std::nullopt);
    EXPECT_EQ(SampleIndexForTime(0, 60000, 0), std::nullopt);
    // Step 0 (fewer milliseconds than samples): only position 0 maps.
    EXPECT_EQ(SampleIndexForTime(0, 50, 100), 0);
    EXPECT_EQ(SampleIndexForTime(1, 50, 100), std::nullopt);
    // Only the low 32 bits of position and duration count, as unsigned.
    constexpr qint64 kWrap = qint64(1) << 32;
    EXPECT_EQ(SampleIndexForTime(kWrap + 501, 60000, 120), 1);
    EXPECT_EQ(SampleIndexForTime(501, kWrap + 60000, 120), 1);
    EXPECT_EQ(SampleIndexForTime(-1, 60000, 120), std::nullopt);
    EXPECT_EQ(SampleIndexForTime(0xFFFFFFFFll, 0xFFFFFFFFll, 2), std::nullopt);
}

} // namespace
} // namespace zq
