#include "SensorLookup.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

CGPSData Fix(int i, bool valid)
{
    CGPSData fix;
    fix.valid = valid ? 1 : 0;
    fix.latitude = 3730.0 + i; // 37 degrees 30+i minutes
    fix.longitude = -12700.0;
    fix.speed = 10.0 * (i + 1);
    return fix;
}

TEST(SensorLookup, TenFixesOverAMinuteStepEverySixSeconds)
{
    SensorRecords records;
    for (int i = 0; i < 10; ++i)
        records.gps.append(Fix(i, true));
    EXPECT_DOUBLE_EQ(LookupSensors(records, 0, 60000, false).speed, 10.0);
    EXPECT_DOUBLE_EQ(LookupSensors(records, 6000, 60000, false).speed, 10.0);
    EXPECT_DOUBLE_EQ(LookupSensors(records, 6001, 60000, false).speed, 20.0);
    const SensorValues last = LookupSensors(records, 60000, 60000, false);
    EXPECT_DOUBLE_EQ(last.speed, 100.0);
    EXPECT_TRUE(last.hasPosition);
    EXPECT_FLOAT_EQ(last.latitude, float(37.0 + 39.0 / 60.0));
    EXPECT_FLOAT_EQ(last.longitude, -127.0f);
    EXPECT_NEAR(LookupSensors(records, 0, 60000, true).speed, 6.21371, 1e-9) << "miles";
    EXPECT_FALSE(last.hasAcceleration) << "no G-sensor samples";
}

TEST(SensorLookup, InvalidFixesAndEmptyStepsGiveNoValue)
{
    SensorRecords records;
    records.gps.append(Fix(0, false));
    const SensorValues invalid = LookupSensors(records, 0, 1000, false);
    EXPECT_EQ(invalid.speed, 0.0);
    EXPECT_FALSE(invalid.hasPosition);

    // More samples than milliseconds: step 0, only position 0 maps.
    for (int i = 0; i < 20; ++i)
        records.gsensor.append({ 32, -16, 0 });
    EXPECT_TRUE(LookupSensors(records, 0, 10, false).hasAcceleration);
    EXPECT_FALSE(LookupSensors(records, 1, 10, false).hasAcceleration);
    const SensorValues g = LookupSensors(records, 0, 10, false);
    EXPECT_DOUBLE_EQ(g.x, 1.0);
    EXPECT_DOUBLE_EQ(g.y, -0.5);
}

} // namespace
} // namespace zq
