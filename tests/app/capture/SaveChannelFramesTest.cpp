#include "SaveChannelFrames.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace zq;

namespace {

// Stands in for the Player: real pictures, a chosen state and channel count, frames that can be missing.
class FakeFrames : public ChannelFrameSource {
public:
    qint32 GetState() const override { return state; }
    qint32 GetChannelCount() const override { return qint32(frames.size()); }
    bool CaptureFrame(int channel, QImage* frame) override
    {
        ++grabs;
        if (channel < 0 || channel >= frames.size() || frames[channel].isNull())
            return false;
        *frame = frames[channel];
        return true;
    }

    qint32 state = 0;
    QVector<QImage> frames;
    int grabs = 0;
};

// A picture with a gradient and a mark, so a JPEG of it is not trivially uniform.
QImage TestFrame(int width, int height, QColor mark)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    QPainter painter(&image);
    painter.fillRect(width / 4, height / 4, width / 2, height / 2, mark);
    return image;
}

const QDateTime kTaken(QDate(2017, 5, 4), QTime(13, 7, 9, 42));

class SaveChannelFramesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString folder() const { return m_dir.path(); }
    QTemporaryDir m_dir;
};

TEST_F(SaveChannelFramesTest, WritesBothChannelsAsJpegOfTheFrameSize)
{
    FakeFrames source;
    source.frames = { TestFrame(320, 180, Qt::red), TestFrame(160, 120, Qt::blue) };
    const SnapshotResult result = SaveSnapshot(source, folder(), QStringLiteral("NAME.avi"), kTaken);
    ASSERT_TRUE(result.Saved());
    EXPECT_TRUE(result.failures.isEmpty());
    ASSERT_EQ(result.written, QStringList({ result.paths.front, result.paths.rear }));
    EXPECT_EQ(result.paths.front, folder() + QStringLiteral("/NAME-2017-05-04-13h07m09s042(Track1).jpg"));

    for (int channel = 0; channel < 2; ++channel) {
        QImageReader reader(result.written[channel]);
        EXPECT_EQ(reader.format(), QByteArray("jpeg"));
        const QImage back = reader.read();
        ASSERT_EQ(back.size(), source.frames[channel].size()) << channel;
        // The centre shows the channel's own mark, within JPEG's loss.
        const QColor centre = back.pixelColor(back.width() / 2, back.height() / 2);
        const QColor mark = channel == 0 ? QColor(Qt::red) : QColor(Qt::blue);
        EXPECT_LT(std::abs(centre.red() - mark.red()) + std::abs(centre.blue() - mark.blue()), 40) << channel;
    }
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files).size(), 2) << "no temporary file is left behind";
}

TEST_F(SaveChannelFramesTest, OneChannelRecordingWritesOnlyTheFrontPicture)
{
    FakeFrames source;
    source.state = 1; // paused works as well as running
    source.frames = { TestFrame(64, 48, Qt::green) };
    const SnapshotResult result = SaveSnapshot(source, folder(), QStringLiteral("NAME.avi"), kTaken);
    EXPECT_TRUE(result.Saved());
    EXPECT_EQ(result.written, QStringList({ result.paths.front }));
    EXPECT_FALSE(QFile::exists(result.paths.rear));
    EXPECT_EQ(source.grabs, 1);
}

TEST_F(SaveChannelFramesTest, TwoCapturesInOneMillisecondKeepBothPictures)
{
    FakeFrames source;
    source.frames = { TestFrame(64, 48, Qt::red), TestFrame(64, 48, Qt::blue) };
    const SnapshotResult first = SaveSnapshot(source, folder(), QStringLiteral("NAME.avi"), kTaken);
    source.frames = { TestFrame(80, 60, Qt::red), TestFrame(80, 60, Qt::blue) };
    const SnapshotResult second = SaveSnapshot(source, folder(), QStringLiteral("NAME.avi"), kTaken);
    ASSERT_TRUE(first.Saved());
    ASSERT_TRUE(second.Saved());
    EXPECT_EQ(second.paths.rear, folder() + QStringLiteral("/NAME-2017-05-04-13h07m09s042-2(Track2).jpg"));
    EXPECT_EQ(QImage(first.paths.front).size(), QSize(64, 48));
    EXPECT_EQ(QImage(second.paths.front).size(), QSize(80, 60));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files).size(), 4);
}

TEST_F(SaveChannelFramesTest, NothingHappensUnlessPlayingOrPaused)
{
    FakeFrames source;
    source.frames = { TestFrame(64, 48, Qt::red), TestFrame(64, 48, Qt::blue) };
    for (const qint32 state : { 2, 3, -1 }) {
        source.state = state;
        const SnapshotResult result = SaveSnapshot(source, folder(), QStringLiteral("NAME.avi"), kTaken);
        EXPECT_EQ(result.outcome, SnapshotResult::Outcome::NotPlaying) << state;
        EXPECT_TRUE(result.written.isEmpty());
    }
    EXPECT_EQ(source.grabs, 0);
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files).isEmpty());
}

TEST_F(SaveChannelFramesTest, MissingFramesStopAsTheChannelOrderSays)
{
    FakeFrames source;
    source.frames = { QImage(), TestFrame(64, 48, Qt::blue) };
    SnapshotResult result = SaveSnapshot(source, folder(), QStringLiteral("A.avi"), kTaken);
    EXPECT_EQ(result.outcome, SnapshotResult::Outcome::NoFrontFrame);
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files).isEmpty()) << "no rear picture without a front one";

    source.frames = { TestFrame(64, 48, Qt::red), QImage() };
    result = SaveSnapshot(source, folder(), QStringLiteral("A.avi"), kTaken);
    EXPECT_EQ(result.outcome, SnapshotResult::Outcome::NoRearFrame);
    EXPECT_FALSE(result.Saved());
    EXPECT_EQ(result.written, QStringList({ result.paths.front }));
    EXPECT_TRUE(QFile::exists(result.paths.front));
}

TEST_F(SaveChannelFramesTest, PicturesThatCannotBeWrittenAreReportedWithPathAndReason)
{
    FakeFrames source;
    source.frames = { TestFrame(64, 48, Qt::red), TestFrame(64, 48, Qt::blue) };

    // A save folder that is gone (a pulled card): nothing is created, both failures are named.
    const QString gone = folder() + QStringLiteral("/gone");
    SnapshotResult result = SaveSnapshot(source, gone, QStringLiteral("A.avi"), kTaken);
    EXPECT_EQ(result.outcome, SnapshotResult::Outcome::WriteFailed);
    EXPECT_TRUE(result.written.isEmpty());
    ASSERT_EQ(result.failures.size(), 2);
    EXPECT_EQ(result.failures[0].path, result.paths.front);
    EXPECT_EQ(result.failures[1].path, result.paths.rear);
    EXPECT_FALSE(result.failures[0].reason.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(gone));

    // A save "folder" that is a file fails even for a privileged user.
    const QString file = folder() + QStringLiteral("/plain-file");
    ASSERT_TRUE(test::writeFile(file, "x"));
    result = SaveSnapshot(source, file, QStringLiteral("A.avi"), kTaken);
    EXPECT_EQ(result.outcome, SnapshotResult::Outcome::WriteFailed);
    EXPECT_EQ(result.failures.size(), 2);

    // A folder without write permission (not meaningful for root, who may write anyway).
    if (::geteuid() != 0) {
        const QString locked = folder() + QStringLiteral("/locked");
        ASSERT_TRUE(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        result = SaveSnapshot(source, locked, QStringLiteral("A.avi"), kTaken);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(result.outcome, SnapshotResult::Outcome::WriteFailed);
        ASSERT_EQ(result.failures.size(), 2);
        EXPECT_TRUE(QDir(locked).entryList(QDir::Files).isEmpty());
    }
}

} // namespace
