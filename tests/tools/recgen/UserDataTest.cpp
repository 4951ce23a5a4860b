#include "GeneratedFile.h"
#include "TestBlock.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace zq::test {
namespace {

using recgen::GpsPoint;
using recgen::GSample;
using recgen::RecordingRequest;

TEST(UserData, InformationRecordComesFirstAndEndsInTheDigit)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 1.0;
    request.infoDigit = '4';
    request.startUtc = QDateTime(QDate(2019, 3, 4), QTime(5, 6, 7), QTimeZone::utc());
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    const QByteArray block = BlockOf(file.riff);
    ASSERT_GE(block.size(), 30);
    EXPECT_EQ(block.left(2), "$I");
    EXPECT_EQ(block.at(29), '4');
    EXPECT_EQ(block.at(30), '$') << "the next record starts right behind the 30 bytes";
    EXPECT_TRUE(block.left(30).contains("20190304050607"));
}

TEST(UserData, RecordCountsFollowRatesAndDuration)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 4.0;
    request.gsensorPerSecond = 10;
    request.gpsPerSecond = 2;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    bool complete = false;
    const QVector<Record> records = WalkBlock(BlockOf(file.riff), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(RecordsOf(records, 'M').size(), 40);
    EXPECT_EQ(RecordsOf(records, 'G').size(), 8);
    EXPECT_EQ(RecordsOf(records, 'I').size(), 1 + 4); // the information record and one per second
    EXPECT_EQ(file.result.gsensor.size(), 40);
    EXPECT_EQ(file.result.fixes.size(), 8);

    // In recording order: between two inner "$I" records lie exactly one second of samples and fixes.
    int samples = -1;
    int fixes = 0;
    for (const Record& record : records.mid(1)) {
        if (record.type == 'I') {
            if (samples >= 0) {
                EXPECT_EQ(samples, 10);
                EXPECT_EQ(fixes, 2);
            }
            samples = 0;
            fixes = 0;
        } else if (record.type == 'M') {
            ++samples;
        } else {
            ++fixes;
        }
    }

    request.innerInfoRecords = false;
    request.gsensorPerSecond = 5;
    request.gpsPerSecond = 1;
    request.durationSeconds = 2.5;
    const GeneratedFile plain = Generate(request, folder, QStringLiteral("plain.avi"));
    ASSERT_TRUE(plain.ok);
    const QVector<Record> plainRecords = WalkBlock(BlockOf(plain.riff), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(RecordsOf(plainRecords, 'I').size(), 1);
    EXPECT_EQ(RecordsOf(plainRecords, 'M').size(), 13); // at 0, 0.2, .., 2.4 s
    EXPECT_EQ(RecordsOf(plainRecords, 'G').size(), 3);
}

TEST(UserData, GSensorBytesDecodeToTheValuesPutIn)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 0.5;
    request.gsensor
        = { { 1, -1, 256 }, { -256, 2, -32 }, { 35, -36, 37 }, { 127, 128, -129 }, { 0, 300, -300 } };
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    bool complete = false;
    const QVector<QByteArray> records = RecordsOf(WalkBlock(BlockOf(file.riff), &complete), 'M');
    EXPECT_TRUE(complete) << "'$' bytes inside sample records must not break the walk";
    ASSERT_EQ(records.size(), 5);
    for (int index = 0; index < 4; ++index) {
        const GSample decoded = DecodeSample(records[index]);
        EXPECT_EQ(decoded.x, request.gsensor[index].x) << index;
        EXPECT_EQ(decoded.y, request.gsensor[index].y) << index;
        EXPECT_EQ(decoded.z, request.gsensor[index].z) << index;
    }
    // 0 and magnitudes above 256 cannot be stored; what was written is reported.
    const GSample clamped = DecodeSample(records[4]);
    EXPECT_EQ(clamped.x, 1);
    EXPECT_EQ(clamped.y, 256);
    EXPECT_EQ(clamped.z, -256);
    ASSERT_EQ(file.result.gsensor.size(), 5);
    for (int index = 0; index < 5; ++index) {
        const GSample decoded = DecodeSample(records[index]);
        EXPECT_EQ(file.result.gsensor[index].x, decoded.x);
        EXPECT_EQ(file.result.gsensor[index].y, decoded.y);
        EXPECT_EQ(file.result.gsensor[index].z, decoded.z);
    }
}

TEST(UserData, RmcSentencesCarryTheFixesWithRightChecksums)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 1.0;
    request.startUtc = QDateTime(QDate(2017, 12, 31), QTime(15, 0, 0), QTimeZone::utc());
    request.gpsPerSecond = 2;
    GpsPoint north;
    north.latitude = 37.558333;
    north.longitude = 126.983333;
    north.speedKnots = 10.0;
    north.courseDegrees = 271.5;
    GpsPoint south;
    south.latitude = -33.8688;
    south.longitude = -70.6693;
    south.speedKnots = 0.5;
    south.courseDegrees = 359.999; // rounds to 0.00, never to 360
    request.fixes = { north, south };
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    bool complete = false;
    const QVector<QByteArray> sentences = RecordsOf(WalkBlock(BlockOf(file.riff), &complete), 'G');
    ASSERT_EQ(sentences.size(), 2);
    static const QRegularExpression shape(
        QStringLiteral("^\\$GPRMC,\\d{6}\\.\\d{2},[AV],\\d{4}\\.\\d{4},[NS],\\d{5}\\.\\d{4},[EW],[0-9.]+,[0-"
                       "9.]+,\\d{6},,,[AN]\\*[0-9A-F]{2}$"));
    for (const QByteArray& sentence : sentences) {
        EXPECT_TRUE(ChecksumIsRight(sentence)) << sentence.constData();
        EXPECT_TRUE(shape.match(QString::fromLatin1(sentence)).hasMatch()) << sentence.constData();
    }
    const QList<QByteArray> first = sentences[0].split(',');
    EXPECT_EQ(first[1], "150000.00");
    EXPECT_EQ(first[2], "A");
    EXPECT_EQ(first[3], "3733.5000");
    EXPECT_EQ(first[4], "N");
    EXPECT_EQ(first[6], "E");
    EXPECT_DOUBLE_EQ(first[7].toDouble(), 10.0);
    EXPECT_DOUBLE_EQ(first[8].toDouble(), 271.5);
    EXPECT_EQ(first[9], "311217");
    EXPECT_NEAR(NmeaDegrees(first[5], first[6]), 126.983333, 1e-6);

    const QList<QByteArray> second = sentences[1].split(',');
    EXPECT_EQ(second[1], "150000.50");
    EXPECT_EQ(second[4], "S");
    EXPECT_EQ(second[6], "W");
    EXPECT_NEAR(NmeaDegrees(second[3], second[4]), -33.8688, 1e-6);
    EXPECT_NEAR(NmeaDegrees(second[5], second[6]), -70.6693, 1e-6);
    EXPECT_DOUBLE_EQ(second[8].toDouble(), 0.0);

    // The reported fixes are the values the sentences state.
    ASSERT_EQ(file.result.fixes.size(), 2);
    for (int index = 0; index < 2; ++index) {
        const QList<QByteArray> fields = sentences[index].split(',');
        EXPECT_DOUBLE_EQ(file.result.fixes[index].latitude, NmeaDegrees(fields[3], fields[4]));
        EXPECT_DOUBLE_EQ(file.result.fixes[index].longitude, NmeaDegrees(fields[5], fields[6]));
        EXPECT_DOUBLE_EQ(file.result.fixes[index].speedKnots, fields[7].toDouble());
    }
}

TEST(UserData, InvalidFixesAndNoGps)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 3.0;
    request.invalidFixes = true;
    const GeneratedFile invalid = Generate(request, folder, QStringLiteral("invalid.avi"));
    ASSERT_TRUE(invalid.ok) << invalid.error.toStdString();
    bool complete = false;
    const QVector<QByteArray> sentences = RecordsOf(WalkBlock(BlockOf(invalid.riff), &complete), 'G');
    ASSERT_EQ(sentences.size(), 3);
    for (const QByteArray& sentence : sentences) {
        EXPECT_EQ(sentence.split(',').value(2), "V");
        EXPECT_TRUE(ChecksumIsRight(sentence));
    }

    request.invalidFixes = false;
    request.gps = false;
    const GeneratedFile noGps = Generate(request, folder, QStringLiteral("nogps.avi"));
    ASSERT_TRUE(noGps.ok);
    const QVector<Record> records = WalkBlock(BlockOf(noGps.riff), &complete);
    EXPECT_TRUE(complete);
    EXPECT_TRUE(RecordsOf(records, 'G').isEmpty());
    EXPECT_EQ(RecordsOf(records, 'M').size(), 30);
    EXPECT_TRUE(noGps.result.fixes.isEmpty());
}

TEST(UserData, MadeUpDriveIsPlausible)
{
    QTemporaryDir folder;
    RecordingRequest request;
    request.durationSeconds = 20.0;
    request.frontWidth = request.rearWidth = 96;
    request.frontHeight = request.rearHeight = 64;
    const GeneratedFile file = Generate(request, folder);
    ASSERT_TRUE(file.ok) << file.error.toStdString();
    const QVector<GpsPoint>& fixes = file.result.fixes;
    ASSERT_EQ(fixes.size(), 20);
    for (int index = 0; index < fixes.size(); ++index) {
        EXPECT_NEAR(fixes[index].latitude, 37.56, 0.1);
        EXPECT_NEAR(fixes[index].longitude, 126.98, 0.1);
        EXPECT_TRUE(fixes[index].valid);
        EXPECT_EQ(fixes[index].utc, QDateTime(QDate(2017, 5, 31), QTime(0, 5, 7 + index), QTimeZone::utc()));
        if (index > 0) {
            // Smooth: under 8 km/h (about 4.3 knots) of change in a second, and the car really moves.
            EXPECT_LT(std::fabs(fixes[index].speedKnots - fixes[index - 1].speedKnots), 4.3);
            EXPECT_NE(fixes[index].latitude, fixes[index - 1].latitude);
        }
    }
    // Near rest (0, 0, 32) and never 0, which a record cannot hold; the knock is checked on the sample card.
    ASSERT_EQ(file.result.gsensor.size(), 200);
    for (const GSample& sample : file.result.gsensor) {
        EXPECT_LE(std::max({ std::abs(sample.x), std::abs(sample.y), std::abs(sample.z - 32) }), 16);
        EXPECT_TRUE(sample.x != 0 && sample.y != 0 && sample.z != 0);
    }
}

} // namespace
} // namespace zq::test
