#include "ReportFormat.h"

#include "ReportTexts.h"
#include "ReportValues.h"
#include "StringTable.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

CGPSData Fix(double latitudeRaw, double longitudeRaw, bool valid)
{
    CGPSData fix;
    fix.latitude = latitudeRaw;
    fix.longitude = longitudeRaw;
    fix.valid = valid ? 1 : 0;
    return fix;
}

CGSensorData Sample(int x, int y, int z)
{
    CGSensorData sample;
    sample.x = x;
    sample.y = y;
    sample.z = z;
    return sample;
}

TEST(ReportValues, CoordinatesPassThroughSinglePrecisionBeforeEightDecimals)
{
    SensorRecords records;
    // 37 degrees 30.07407 minutes is 37.5012345 degrees; south and west carry their sign.
    records.gps = { Fix(3730.07407, 12659.0, true), Fix(-3730.07407, -12659.0, true) };
    const ReportValues north = ReportValuesAt(records, 1000, 2000);
    EXPECT_EQ(ReportCoordinateLine("Lat", north.latitude), "Lat : 37.50123596");
    EXPECT_EQ(ReportCoordinateLine("Lon", north.longitude), "Lon : 126.98332977");
    EXPECT_TRUE(north.HasPosition());
    const ReportValues south = ReportValuesAt(records, 1001, 2000);
    EXPECT_EQ(ReportCoordinateLine("Lat", south.latitude), "Lat : -37.50123596");
}

TEST(ReportValues, InvalidMissingOrZeroFixesGiveNoPosition)
{
    SensorRecords records;
    records.gps = { Fix(3730.0, 12659.0, false), Fix(3730.0, 0.0, true) };
    const ReportValues invalid = ReportValuesAt(records, 0, 2000);
    EXPECT_EQ(ReportCoordinateLine("Lat", invalid.latitude), "Lat : 0.00000000");
    EXPECT_EQ(invalid.longitude, 0.0);
    // A fix on the meridian prints its latitude but counts as no position for the map picture.
    const ReportValues meridian = ReportValuesAt(records, 2000, 2000);
    EXPECT_NE(meridian.latitude, 0.0);
    EXPECT_FALSE(meridian.HasPosition());
    // Beyond the last slice the lookup finds nothing.
    const ReportValues beyond = ReportValuesAt(records, 2001, 2000);
    EXPECT_EQ(beyond.latitude, 0.0);
    EXPECT_FALSE(ReportValuesAt(SensorRecords {}, 0, 2000).HasPosition());
}

TEST(ReportValues, GsensorSampleOfTheSliceInG)
{
    SensorRecords records;
    for (int i = 0; i < 10; ++i)
        records.gsensor.append(Sample(i + 1, -(i + 1), 32));
    // Ten samples over 60 s: 6000 ms is still sample 0, 6001 ms is sample 1.
    const ReportValues first = ReportValuesAt(records, 6000, 60000);
    EXPECT_EQ(ReportGsensorLine("G", first.x, first.y, first.z),
        "G : X = 0.03125000, Y = -0.03125000, Z = 1.00000000");
    const ReportValues second = ReportValuesAt(records, 6001, 60000);
    EXPECT_DOUBLE_EQ(second.x, 2.0 / 32.0);
    const ReportValues none = ReportValuesAt(records, 60001, 60000);
    EXPECT_EQ(
        ReportGsensorLine("G", none.x, none.y, none.z), "G : X = 0.00000000, Y = 0.00000000, Z = 0.00000000");
}

TEST(ReportFormat, TitlesOnlyForModelZeroAndFixedFormats)
{
    EXPECT_EQ(ReportHeaderTitle(0), "ZQ481K Viewer");
    EXPECT_EQ(ReportTitle(0), "ZQ481K Report");
    EXPECT_TRUE(ReportHeaderTitle(1).isEmpty());
    EXPECT_TRUE(ReportTitle(-1).isEmpty());
    EXPECT_EQ(ReportPageText(2), "Page 2 of 2");
    EXPECT_EQ(ReportPrintDate(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))), "2026-03-04 05:06:07");
    EXPECT_EQ(ReportSection(3, "G"), "3. G");
    EXPECT_EQ(ReportItem("Front"), "-Front");
}

TEST(ReportTexts, TakenFromTheTableOrNotAvailable)
{
    EXPECT_FALSE(ReportTexts::FromTable(nullptr).available);
    StringTable table;
    table.Parse("57344\tTitle\n126\tMap\n203\tRear\n206\tValues\n");
    const ReportTexts texts = ReportTexts::FromTable(&table);
    EXPECT_TRUE(texts.available);
    EXPECT_EQ(texts.documentName, "Title");
    EXPECT_EQ(texts.map, "Map");
    EXPECT_EQ(texts.rearCamera, "Rear");
    EXPECT_EQ(texts.gsensorValues, "Values");
    EXPECT_TRUE(texts.frontCamera.isEmpty());
}

} // namespace
} // namespace zq
