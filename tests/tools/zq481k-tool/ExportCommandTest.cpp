#include "RecordingGenerator.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

using zq::recgen::GpsPoint;

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

ToolRun RunProgram(const QString& program, const QStringList& args, int timeoutMs = 60000)
{
    QProcess process;
    process.start(program, args);
    ToolRun run;
    if (!process.waitForFinished(timeoutMs))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ToolRun RunTool(const QStringList& args, int timeoutMs = 60000)
{
    return RunProgram(zq::test::bundleDir() + "/zq481k-tool", args, timeoutMs);
}

QDateTime Utc(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc());
}

GpsPoint Fix(const QDateTime& utc, double latitude, double longitude, bool valid = true)
{
    GpsPoint fix;
    fix.utc = utc;
    fix.latitude = latitude;
    fix.longitude = longitude;
    fix.speedKnots = 20.0;
    fix.valid = valid;
    return fix;
}

/// Writes a small one-channel recording with the given fixes (none: no GPS at all).
void Generate(const QString& path, const QVector<GpsPoint>& fixes)
{
    zq::recgen::RecordingRequest request;
    request.videoStreams = 1;
    request.framesPerSecond = 5;
    request.durationSeconds = 3.0;
    request.audio = zq::recgen::AudioKind::None;
    request.gsensorPerSecond = 10;
    request.fixes = fixes;
    request.gps = !fixes.isEmpty();
    if (!fixes.isEmpty())
        request.startUtc = fixes.first().utc;
    QDir().mkpath(QFileInfo(path).absolutePath());
    zq::recgen::GeneratedRecording result;
    QString error;
    ASSERT_TRUE(zq::recgen::WriteRecording(path, request, &result, &error)) << error.toStdString();
}

struct TrackPoint {
    double lat = 0;
    double lon = 0;
    QString time;
};

QVector<QVector<TrackPoint>> GpxSegments(const QByteArray& document)
{
    QVector<QVector<TrackPoint>> segments;
    QXmlStreamReader xml(document);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"trkseg") {
            segments.append(QVector<TrackPoint>());
        } else if (xml.name() == u"trkpt") {
            segments.last().append({ xml.attributes().value(QLatin1String("lat")).toDouble(),
                xml.attributes().value(QLatin1String("lon")).toDouble(), QString() });
        } else if (xml.name() == u"time") {
            segments.last().last().time = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return segments;
}

QString SchemaProblems(const QString& file, const QString& schema)
{
    const ToolRun run = RunProgram(QStringLiteral("xmllint"),
        { QStringLiteral("--noout"), QStringLiteral("--nonet"), QStringLiteral("--schema"),
            zq::test::dataPath(schema), file });
    return run.exitCode == 0 ? QString() : QStringLiteral("xmllint %1: %2").arg(run.exitCode).arg(run.err);
}

// Recordings named in the recorder's local time (UTC + 9) and written in another order than the list's.
const QString kFirst = QStringLiteral("NORMAL/20180101_085958D.avi"); // across midnight UTC
const QString kSecond = QStringLiteral("NORMAL/20180101_090001D.avi"); // south and west
const QString kThird = QStringLiteral("EVENT/20180101_090004E.avi"); // no GPS
const QString kOdd = QStringLiteral("odd/20180101_090007D, \"x\" & <y>.avi");

class ExportCommandTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        ASSERT_TRUE(s_dir->isValid());
        Generate(Trip(kThird), {});
        Generate(Trip(kSecond),
            { Fix(Utc(2018, 1, 1, 0, 0, 1), -33.8633, -151.21),
                Fix(Utc(2018, 1, 1, 0, 0, 2), -33.8650, -151.2117) });
        Generate(Trip(kFirst),
            { Fix(Utc(2017, 12, 31, 23, 59, 58), 37.5583, 126.9833),
                Fix(Utc(2017, 12, 31, 23, 59, 59), 37.5584, 126.9834, false),
                Fix(Utc(2018, 1, 1, 0, 0, 0), 37.5585, 126.9835) });
        Generate(Trip(kOdd), { Fix(Utc(2018, 1, 1, 0, 0, 7), 37.5, 127.0) });
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static QString Trip(const QString& relative)
    {
        return s_dir->filePath(QStringLiteral("trip/") + relative);
    }

    static QTemporaryDir* s_dir;
};

QTemporaryDir* ExportCommandTest::s_dir = nullptr;

TEST_F(ExportCommandTest, ATripOfThreeIsOneTrackWithASegmentPerRecordingInListOrder)
{
    // A file and a folder, given in another order than the list's: the scan puts them oldest first.
    const ToolRun run = RunTool({ QStringLiteral("export"), Trip(kThird), Trip(QStringLiteral("NORMAL")),
        QStringLiteral("--format"), QStringLiteral("gpx") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QVector<QVector<TrackPoint>> segments = GpxSegments(run.out);
    ASSERT_EQ(segments.size(), 3);
    // The invalid fix is left out; times are the sentences' own UTC, across midnight.
    ASSERT_EQ(segments[0].size(), 2);
    EXPECT_EQ(segments[0][0].time, "2017-12-31T23:59:58Z");
    EXPECT_NEAR(segments[0][0].lat, 37.5583, 1e-6);
    EXPECT_NEAR(segments[0][0].lon, 126.9833, 1e-6);
    EXPECT_EQ(segments[0][1].time, "2018-01-01T00:00:00Z");
    ASSERT_EQ(segments[1].size(), 2);
    EXPECT_NEAR(segments[1][0].lat, -33.8633, 1e-6);
    EXPECT_NEAR(segments[1][0].lon, -151.21, 1e-6);
    EXPECT_EQ(segments[1][1].time, "2018-01-01T00:00:02Z");
    EXPECT_TRUE(segments[2].isEmpty());

    QTemporaryDir out;
    const QString gpx = out.filePath(QStringLiteral("trip.gpx"));
    ASSERT_EQ(RunTool({ QStringLiteral("export"), Trip(QString()), QStringLiteral("--format=gpx"),
                          QStringLiteral("--out"), gpx })
                  .exitCode,
        0);
    EXPECT_EQ(SchemaProblems(gpx, QStringLiteral("gpx/Topografix_gpx11.xsd")), QString());
    EXPECT_EQ(GpxSegments(zq::test::readFile(gpx)).size(), 4); // the odd name joins the trip last
}

TEST_F(ExportCommandTest, KmlGoesToTheOutputFileWithALinePerRecording)
{
    QTemporaryDir out;
    const QString kml = out.filePath(QStringLiteral("trip.kml"));
    const ToolRun run
        = RunTool({ QStringLiteral("export"), Trip(QStringLiteral("NORMAL")), Trip(QStringLiteral("EVENT")),
            QStringLiteral("--format"), QStringLiteral("kml"), QStringLiteral("--out"), kml });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(SchemaProblems(kml, QStringLiteral("gpx/ogckml22.xsd")), QString());
    const QByteArray document = zq::test::readFile(kml);
    EXPECT_EQ(document.count("<LineString>"), 2); // the recording without GPS has no line
    EXPECT_TRUE(
        document.contains("<coordinates>-151.2100000,-33.8633000 -151.2117000,-33.8650000</coordinates>"));
}

TEST_F(ExportCommandTest, CsvHoldsEveryFixAndTheGsensorFileItsSamples)
{
    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("trip.csv"));
    const ToolRun run = RunTool(
        { QStringLiteral("export"), Trip(kFirst), Trip(kThird), Trip(kOdd), QStringLiteral("--format"),
            QStringLiteral("csv"), QStringLiteral("--gsensor"), QStringLiteral("--out"), csv });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(zq::test::readFile(csv),
        "recording,time_utc,latitude,longitude,speed_kmh,valid\r\n"
        "20180101_085958D.avi,2017-12-31T23:59:58Z,37.5583000,126.9833000,37.04,1\r\n"
        "20180101_085958D.avi,2017-12-31T23:59:59Z,37.5584000,126.9834000,37.04,0\r\n"
        "20180101_085958D.avi,2018-01-01T00:00:00Z,37.5585000,126.9835000,37.04,1\r\n"
        "\"20180101_090007D, \"\"x\"\" & <y>.avi\",2018-01-01T00:00:07Z,37.5000000,127.0000000,37.04,1\r\n");

    // 30 samples over 3000 ms each: one every 100 ms, restarting with each recording.
    const QList<QByteArray> lines
        = zq::test::readFile(out.filePath(QStringLiteral("trip-gsensor.csv"))).split('\n');
    ASSERT_EQ(lines.size(), 1 + 90 + 1);
    EXPECT_EQ(lines[0], "recording,offset_ms,x_g,y_g,z_g\r");
    EXPECT_TRUE(lines[1].startsWith("20180101_085958D.avi,0,"));
    EXPECT_TRUE(lines[30].startsWith("20180101_085958D.avi,2900,"));
    EXPECT_TRUE(lines[31].startsWith("20180101_090004E.avi,0,"));
    EXPECT_TRUE(lines[90].startsWith("\"20180101_090007D, \"\"x\"\" & <y>.avi\",2900,"));
    const QRegularExpression row(QStringLiteral("^[^\\r]+,\\d+,-?[\\d.]+,-?[\\d.]+,-?[\\d.]+\\r$"));
    for (int i = 1; i <= 90; ++i)
        EXPECT_TRUE(row.match(QString::fromUtf8(lines[i])).hasMatch()) << lines[i].toStdString();
}

TEST_F(ExportCommandTest, AnUnreadableRecordingIsNamedAndTheOthersAreStillExported)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("20180101_090010D.avi"));
    ASSERT_TRUE(zq::test::writeFile(bad, QByteArray("not a recording at all")));
    ASSERT_TRUE(QFile::copy(Trip(kSecond), dir.filePath(QStringLiteral("20180101_090013D.avi"))));
    const QString missing = dir.filePath(QStringLiteral("gone/20180101_090016D.avi"));

    const ToolRun run = RunTool(
        { QStringLiteral("export"), missing, dir.path(), QStringLiteral("--format"), QStringLiteral("gpx") });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(bad)) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(missing)) << run.err.toStdString();
    const QVector<QVector<TrackPoint>> segments = GpxSegments(run.out);
    ASSERT_EQ(segments.size(), 1);
    EXPECT_EQ(segments[0].size(), 2);

    // A standard output that cannot take the track (a full disk) is a failure, not a success.
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(zq::test::bundleDir() + "/zq481k-tool",
        { QStringLiteral("export"), Trip(kFirst), QStringLiteral("--format"), QStringLiteral("csv") });
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_TRUE(full.readAllStandardError().contains("standard output"));

    // An output that cannot be written is named too, and nothing is left half-written.
    const QString unwritable = dir.filePath(QStringLiteral("no-such-folder/trip.gpx"));
    const ToolRun write = RunTool({ QStringLiteral("export"), Trip(kFirst), QStringLiteral("--format"),
        QStringLiteral("gpx"), QStringLiteral("--out"), unwritable });
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_TRUE(write.err.contains(unwritable)) << write.err.toStdString();
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(ExportCommandTest, WrongArgumentsExitWithTwo)
{
    const QString file = Trip(kFirst);
    for (const QStringList& args :
        {
            QStringList { QStringLiteral("export") },
            QStringList { QStringLiteral("export"), file },
            QStringList { QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("gpx") },
            QStringList { QStringLiteral("export"), file, QStringLiteral("--format"), QStringLiteral("shp") },
            QStringList { QStringLiteral("export"), file, QStringLiteral("--format") },
            QStringList { QStringLiteral("export"), file, QStringLiteral("--format"), QStringLiteral("csv"),
                QStringLiteral("--gsensor") },
            QStringList { QStringLiteral("export"), file, QStringLiteral("--format"), QStringLiteral("gpx"),
                QStringLiteral("--gsensor"), QStringLiteral("--out"), QStringLiteral("/tmp/x.gpx") },
            QStringList { QStringLiteral("export"), file, QStringLiteral("--format"), QStringLiteral("gpx"),
                QStringLiteral("--bogus") },
            QStringList { QStringLiteral("export"), file, QStringLiteral("--format"), QStringLiteral("gpx"),
                QStringLiteral("--out"), QDir::tempPath() },
        }) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("export --help"))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    // Exporting over one of the recordings is refused, and the recording stays as it was.
    const QByteArray before = zq::test::readFile(file);
    const ToolRun over = RunTool({ QStringLiteral("export"), Trip(QStringLiteral("NORMAL")),
        QStringLiteral("--format"), QStringLiteral("gpx"), QStringLiteral("--out"), file });
    EXPECT_EQ(over.exitCode, 2);
    EXPECT_TRUE(over.err.contains(QStringLiteral("is one of the recordings"))) << over.err.toStdString();
    EXPECT_EQ(zq::test::readFile(file), before);

    const ToolRun help = RunTool({ QStringLiteral("export"), QStringLiteral("--help") });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--format"));
}

TEST(ExportSampleCardTest, GdalReadsAsManyPointsAsTheCardHasValidFixes)
{
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card"));
    const ToolRun made = RunTool({ QStringLiteral("make-card"), card }, 240000);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();

    // The valid fixes of every recording, counted through the info command.
    const ToolRun scan = RunTool({ QStringLiteral("scan"), QStringLiteral("--json"), card });
    ASSERT_EQ(scan.exitCode, 0);
    int validFixes = 0;
    const QJsonArray entries
        = QJsonDocument::fromJson(scan.out).object()[QStringLiteral("entries")].toArray();
    ASSERT_EQ(entries.size(), 8);
    for (const QJsonValue& entry : entries) {
        const ToolRun info = RunTool({ QStringLiteral("info"), QStringLiteral("--json"),
            entry.toObject()[QStringLiteral("path")].toString() });
        ASSERT_EQ(info.exitCode, 0);
        for (const QJsonValue& fix :
            QJsonDocument::fromJson(info.out).object()[QStringLiteral("gps")].toArray())
            validFixes += fix.toObject()[QStringLiteral("valid")].toInt();
    }
    ASSERT_GT(validFixes, 100);

    const QString gpx = dir.filePath(QStringLiteral("card.gpx"));
    ASSERT_EQ(RunTool({ QStringLiteral("export"), card, QStringLiteral("--format"), QStringLiteral("gpx"),
                          QStringLiteral("--out"), gpx })
                  .exitCode,
        0);
    EXPECT_EQ(SchemaProblems(gpx, QStringLiteral("gpx/Topografix_gpx11.xsd")), QString());
    const ToolRun ogr = RunProgram(QStringLiteral("ogrinfo"),
        { QStringLiteral("-ro"), QStringLiteral("-so"), gpx, QStringLiteral("track_points") });
    ASSERT_EQ(ogr.exitCode, 0) << "ogrinfo (gdal-bin) did not run: " << ogr.err.toStdString();
    const QRegularExpressionMatch count
        = QRegularExpression(QStringLiteral("Feature Count: (\\d+)")).match(QString::fromUtf8(ogr.out));
    ASSERT_TRUE(count.hasMatch()) << ogr.out.toStdString();
    EXPECT_EQ(count.captured(1).toInt(), validFixes);
    const ToolRun tracks = RunProgram(QStringLiteral("ogrinfo"),
        { QStringLiteral("-ro"), QStringLiteral("-so"), gpx, QStringLiteral("tracks") });
    EXPECT_TRUE(tracks.out.contains("Feature Count: 1")) << tracks.out.toStdString();
}

} // namespace
