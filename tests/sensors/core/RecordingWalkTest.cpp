#include "CGPSData.h"
#include "DispatchRecord.h"
#include "ReadAviInfo.h"
#include "RecordingGenerator.h"

#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(RecordingWalkTest, GivesBackEverySampleAndFixOfAGeneratedRecording)
{
    // In the recorder's own zone (UTC+9, no daylight saving) the +9 hours of the sentence cancel out, so
    // the fix time is the sentence's UTC second.
    qputenv("TZ", "KST-9");
    tzset();

    recgen::RecordingRequest wanted;
    wanted.durationSeconds = 4.0;
    wanted.framesPerSecond = 5;
    wanted.gsensorPerSecond = 10;
    wanted.gpsPerSecond = 2;
    wanted.startUtc = QDateTime(QDate(2017, 12, 31), QTime(14, 59, 58, 250), QTimeZone::utc());
    wanted.impactAtSeconds = 1.5;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("20171231_235958E.avi"));
    recgen::GeneratedRecording recording;
    QString error;
    ASSERT_TRUE(recgen::WriteRecording(path, wanted, &recording, &error)) << error.toStdString();
    ASSERT_GE(recording.gsensor.size(), 40);
    ASSERT_GE(recording.fixes.size(), 8);

    AviInfo info;
    ASSERT_TRUE(ReadAviInfo(path, &info));
    EXPECT_EQ(info.infoDigit(), wanted.infoDigit - '0');
    const SensorRecords records = ParseUserData(info.userData);

    ASSERT_EQ(records.gsensor.size(), recording.gsensor.size());
    for (qsizetype i = 0; i < records.gsensor.size(); ++i) {
        EXPECT_EQ(records.gsensor[i].x, recording.gsensor[i].x) << i;
        EXPECT_EQ(records.gsensor[i].y, recording.gsensor[i].y) << i;
        EXPECT_EQ(records.gsensor[i].z, recording.gsensor[i].z) << i;
    }
    ASSERT_EQ(records.gps.size(), recording.fixes.size());
    for (qsizetype i = 0; i < records.gps.size(); ++i) {
        const CGPSData& fix = records.gps[i];
        const recgen::GpsPoint& written = recording.fixes[i];
        const QDateTime utc = written.utc.toUTC();
        EXPECT_EQ(fix.hour, utc.time().hour() + 9) << i;
        EXPECT_EQ(fix.minute, utc.time().minute()) << i;
        EXPECT_EQ(fix.second, utc.time().second()) << i;
        EXPECT_EQ(fix.day, utc.date().day()) << i;
        EXPECT_EQ(fix.month, utc.date().month()) << i;
        EXPECT_EQ(fix.year, utc.date().year() % 100) << i;
        EXPECT_EQ(fix.time, utc.toSecsSinceEpoch()) << i;
        EXPECT_EQ(fix.valid, written.valid ? 1 : 0) << i;
        EXPECT_NEAR(LatitudeDegrees(fix), written.latitude, 1e-9) << i;
        EXPECT_NEAR(LongitudeDegrees(fix), written.longitude, 1e-9) << i;
        EXPECT_EQ(fix.speed, written.speedKnots > 1.0 ? double(float(written.speedKnots * 1.852)) : 0.0) << i;
        EXPECT_EQ(fix.course, double(float(written.courseDegrees))) << i;
    }
    // The drive crosses midnight of the recorder's zone: the hour runs past 23 unwrapped.
    EXPECT_EQ(records.gps.first().hour, 23);
    EXPECT_EQ(records.gps.last().hour, 24);
}

} // namespace
} // namespace zq
