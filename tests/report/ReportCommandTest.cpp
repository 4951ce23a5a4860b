#include "EngineTestSupport.h"
#include "HeadlessVideoSurface.h"
#include "Player.h"
#include "ReportTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gst/gst.h>
#include <gtest/gtest.h>

using zq::recgen::GpsPoint;
using zq::recgen::GSample;
using zq::recgen::RecordingRequest;

namespace {

constexpr int kRenderDpi = 100;
constexpr double kSamePicture = 12.0;

struct ToolRun {
    int exitCode = -1;
    QString errors;
};

ToolRun RunReport(const QStringList& args)
{
    QProcess tool;
    tool.start(zq::test::bundleDir() + QStringLiteral("/zq481k-tool"), QStringList { "report" } + args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    ToolRun run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

/// A recording whose every G-sensor sample and fix has the same values, so any position shows them.
RecordingRequest Steady(int videoStreams, bool gps)
{
    RecordingRequest request;
    request.videoStreams = videoStreams;
    request.durationSeconds = 2.0;
    request.audio = zq::recgen::AudioKind::None;
    request.gps = gps;
    request.gsensor = QVector<GSample>(20, GSample { 16, -8, 40 });
    if (gps) {
        const QDateTime start(QDate(2017, 5, 31), QTime(0, 5, 7), Qt::UTC);
        for (int second = 0; second < 2; ++second) {
            GpsPoint point;
            point.utc = start.addSecs(second);
            point.latitude = 37.5012345;
            point.longitude = 126.9833;
            point.speedKnots = 20.0;
            request.fixes.append(point);
        }
    }
    return request;
}

/// The frames of a recording at a position, taken through the Player as the tool takes them.
QVector<QImage> FramesAt(const QString& path, int positionMs)
{
    gst_init(nullptr, nullptr);
    zq::FilterFactories factories = zq::FilterFactories::FromEnvironment();
    factories.audioSink = "fakesink";
    zq::HeadlessVideoSurface front;
    zq::HeadlessVideoSurface rear;
    zq::Player player;
    player.SetFilterFactories(factories);
    player.Initialize(2, &front, &rear);
    player.SetParseOption(0);
    QVector<QImage> frames;
    if (!player.Open(path, 0, -1)) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return frames;
    }
    player.SeekMs(positionMs);
    for (int channel = 0; channel < player.GetChannelCount(); ++channel) {
        QImage frame;
        EXPECT_TRUE(player.CaptureFrame(channel, &frame));
        frames.append(frame);
    }
    player.Close();
    return frames;
}

class ReportCommandTest : public ::testing::Test {
protected:
    QString Copy(const QString& source, const QString& name)
    {
        const QString target = m_folder.filePath(name);
        EXPECT_TRUE(QFile::copy(source, target));
        return target;
    }
    QTemporaryDir m_folder;
};

TEST_F(ReportCommandTest, PrintsTheFramesAndSensorValuesOfTheMoment)
{
    const QString file = Copy(zq::test::Recording("steady-two", Steady(2, true)), "20170531_090507D.avi");
    const QString pdf = m_folder.filePath("report.pdf");
    const ToolRun run = RunReport({ file, "--at", "1.2", "--out", pdf });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    const QString page1 = zq::test::PdfText(pdf, 1);
    const QString page2 = zq::test::PdfText(pdf, 2);
    EXPECT_TRUE(page1.contains("ZQ481K Report"));
    EXPECT_TRUE(page1.contains("-Rear Camera"));
    EXPECT_TRUE(page1.contains(QRegularExpression(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    EXPECT_TRUE(page2.contains("Lat : 37.50123596")) << page2.toStdString();
    EXPECT_TRUE(page2.contains("Lon : 126.98329926"));
    EXPECT_TRUE(page2.contains("G-Sensor Values : X = 0.50000000, Y = -0.25000000, Z = 1.25000000"));

    const QVector<QImage> frames = FramesAt(file, 1200);
    ASSERT_EQ(frames.size(), 2);
    const zq::test::PdfReportLayout layout = zq::test::ReportLayoutOfPdf();
    const QImage page = zq::test::PdfPage(pdf, 1, kRenderDpi);
    EXPECT_LT(zq::test::RegionDifference(page, kRenderDpi, layout.frontFrame, frames[0]), kSamePicture);
    EXPECT_LT(zq::test::RegionDifference(page, kRenderDpi, layout.rearFrame, frames[1]), kSamePicture);
    EXPECT_GT(zq::test::RegionDifference(page, kRenderDpi, layout.frontFrame, frames[1]), kSamePicture);
    // There is no map view in the command.
    EXPECT_GT(
        zq::test::WhiteShare(zq::test::PdfPage(pdf, 2, kRenderDpi), kRenderDpi, layout.mapPicture), 0.99);
}

TEST_F(ReportCommandTest, OneChannelWithoutGpsInKoreanForAnotherModel)
{
    const QString file = Copy(zq::test::Recording("steady-one", Steady(1, false)), "20170531_090507D.avi");
    const QString pdf = m_folder.filePath("report.pdf");
    const ToolRun run = RunReport({ file, "--at", "0.5", "--out", pdf, "--language", "1", "--model", "1" });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QString page1 = zq::test::Squeezed(zq::test::PdfText(pdf, 1));
    const QString page2 = zq::test::Squeezed(zq::test::PdfText(pdf, 2));
    EXPECT_TRUE(page1.contains("-전방카메라")) << page1.toStdString();
    EXPECT_FALSE(page1.contains("후방"));
    EXPECT_FALSE(page1.contains("ZQ481K"));
    EXPECT_TRUE(page1.contains("Page1of2"));
    EXPECT_TRUE(page2.contains("위도:0.00000000"));
    EXPECT_TRUE(page2.contains("경도:0.00000000"));

    const zq::test::PdfReportLayout layout = zq::test::ReportLayoutOfPdf();
    const QImage page = zq::test::PdfPage(pdf, 1, kRenderDpi);
    const QVector<QImage> frames = FramesAt(file, 500);
    ASSERT_EQ(frames.size(), 1);
    EXPECT_LT(zq::test::RegionDifference(page, kRenderDpi, layout.frontFrame, frames[0]), kSamePicture);
    EXPECT_GT(zq::test::WhiteShare(page, kRenderDpi, layout.rearFrame), 0.99);
}

TEST_F(ReportCommandTest, ARecordingThatNeedsRepairIsPrintedFromACopy)
{
    RecordingRequest request = Steady(2, true);
    request.idx1BeforeMovi = true;
    const QString file = Copy(zq::test::Recording("needs-repair", request), "20170531_090507D.avi");
    const QByteArray before = zq::test::readFile(file);
    const QString pdf = m_folder.filePath("repaired.pdf");
    const ToolRun run = RunReport({ file, "--at", "1", "--out", pdf });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(zq::test::PdfText(pdf, 2).contains("Lat : 37.50123596"));
    // The frame after the seek is a real picture, not the grey of a broken index.
    const zq::test::PdfReportLayout layout = zq::test::ReportLayoutOfPdf();
    const QImage page = zq::test::PdfPage(pdf, 1, kRenderDpi);
    EXPECT_LT(zq::test::WhiteShare(page, kRenderDpi, layout.frontFrame), 0.5);
    // The recording itself is left as it was, and no copy stays beside it.
    EXPECT_EQ(zq::test::readFile(file), before);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(ReportCommandTest, TheEndOfARecordingPrintsItsLastPicture)
{
    const QString file = Copy(zq::test::Recording("steady-one", Steady(1, false)), "20170531_090507D.avi");
    const QString pdf = m_folder.filePath("end.pdf");
    const ToolRun run = RunReport({ file, "--at", "2", "--out", pdf });
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QVector<QImage> last = FramesAt(file, 1999);
    const QVector<QImage> first = FramesAt(file, 0);
    ASSERT_EQ(last.size(), 1);
    ASSERT_EQ(first.size(), 1);
    const zq::test::PdfReportLayout layout = zq::test::ReportLayoutOfPdf();
    const QImage page = zq::test::PdfPage(pdf, 1, kRenderDpi);
    const double toLast = zq::test::RegionDifference(page, kRenderDpi, layout.frontFrame, last[0]);
    EXPECT_LT(toLast, kSamePicture);
    EXPECT_LT(toLast, zq::test::RegionDifference(page, kRenderDpi, layout.frontFrame, first[0]));
}

TEST_F(ReportCommandTest, RefusesWrongArgumentsAndReportsAFileItCannotWrite)
{
    const QString file = Copy(zq::test::Recording("steady-one", Steady(1, false)), "20170531_090507D.avi");
    const QString out = m_folder.filePath("report.pdf");
    QFile text(m_folder.filePath("notes.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no recording");
    text.close();
    for (const QStringList& args :
        { QStringList { file, "--at", "9.5", "--out", out }, QStringList { file, "--at", "-1", "--out", out },
            QStringList { file, "--out", out }, QStringList { file, "--at", "1" },
            QStringList { file, "--at", "1", "--out", out, "--language", "12" },
            QStringList { file, "--at", "1", "--out", out, "--model", "x" },
            QStringList { m_folder.filePath("gone.avi"), "--at", "0", "--out", out },
            QStringList { text.fileName(), "--at", "0", "--out", out } }) {
        const ToolRun run = RunReport(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.errors.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));

    const ToolRun unwritable
        = RunReport({ file, "--at", "1", "--out", m_folder.filePath("missing/report.pdf") });
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errors.contains("missing")) << unwritable.errors.toStdString();
}

TEST_F(ReportCommandTest, LanguageComesFromTheOptionFileBesideTheProgram)
{
    // A program folder of its own: the tool (both of its programs), its string tables and an option file
    // choosing Korean.
    const QDir program(m_folder.filePath("program"));
    ASSERT_TRUE(QDir().mkpath(program.filePath("lang")));
    for (const char* name : { "zq481k-tool", "zq481k-tool-media" })
        ASSERT_TRUE(QFile::copy(zq::test::bundleDir() + "/" + name, program.filePath(name)));
    for (const char* name : { "English.lng", "Korean.lng" })
        ASSERT_TRUE(
            QFile::copy(zq::test::bundleDir() + "/lang/" + name, program.filePath(QString("lang/") + name)));
    ASSERT_TRUE(zq::test::writeFile(program.filePath("config/option.ini"), "[OPTION]\r\nLANGUAGE=1\r\n"));
    const QString file = Copy(zq::test::Recording("steady-one", Steady(1, false)), "20170531_090507D.avi");

    auto run = [&](const QStringList& extra, const QString& pdf) {
        QProcess tool;
        tool.start(program.filePath("zq481k-tool"),
            QStringList { "report", file, "--at", "0", "--out", m_folder.filePath(pdf) } + extra);
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return zq::test::Squeezed(zq::test::PdfText(m_folder.filePath(pdf), 1));
    };
    EXPECT_TRUE(run({}, "korean.pdf").contains("1.영상"));
    EXPECT_TRUE(run({ "--language", "0" }, "english.pdf").contains("1.Video"));
    // Without a string table the pages keep their header and footer, and the tool says why.
    ASSERT_TRUE(QFile::remove(program.filePath("lang/Korean.lng")));
    const QString bare = run({}, "bare.pdf");
    EXPECT_TRUE(bare.contains("ZQ481KReport"));
    EXPECT_FALSE(bare.contains("1."));
}

} // namespace
