#include "EngineTestSupport.h"
#include "HeadlessVideoSurface.h"
#include "PlayState.h"
#include "Player.h"
#include "SaveChannelFrames.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;
using zq::recgen::AudioKind;
using zq::recgen::RecordingRequest;

namespace {

RecordingRequest Request(int videoStreams)
{
    RecordingRequest request;
    request.videoStreams = videoStreams;
    request.audio = AudioKind::Aac;
    request.durationSeconds = 3.0;
    request.framesPerSecond = 30;
    return request;
}

// Snapshots of a real recording through the Player: the pictures on disk are the frames the screens show.
class SnapshotPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void OpenAndPause(const QString& key, int videoStreams)
    {
        m_player.Initialize(2, &m_front, &m_rear);
        ASSERT_TRUE(m_player.Open(test::Recording(key, Request(videoStreams)), 0, -1));
        ASSERT_TRUE(m_player.Play());
        ASSERT_TRUE(test::PumpUntil([&] { return m_player.GetPositionMs() >= 500; }));
        ASSERT_TRUE(m_player.Pause());
        ASSERT_EQ(m_player.GetState(), PlayState::kPaused);
    }

    QTemporaryDir m_dir;
    HeadlessVideoSurface m_front;
    HeadlessVideoSurface m_rear;
    Player m_player;
};

TEST_F(SnapshotPlayerTest, PausedTwoChannelRecordingGivesBothPictures)
{
    OpenAndPause(QStringLiteral("two-aac"), 2);
    QImage front;
    QImage rear;
    ASSERT_TRUE(m_player.CaptureFrame(0, &front));
    ASSERT_TRUE(m_player.CaptureFrame(1, &rear));

    PlayerFrameSource<Player> source(m_player);
    const SnapshotResult result = SaveSnapshot(
        source, m_dir.path(), QStringLiteral("REC.avi"), QDateTime(QDate(2026, 12, 7), QTime(0, 1, 2, 3)));
    ASSERT_TRUE(result.Saved());
    ASSERT_EQ(result.written.size(), 2);
    EXPECT_TRUE(result.written[0].endsWith(QStringLiteral("/REC-2026-12-07-00h01m02s003(Track1).jpg")));

    const QImage frontBack(result.paths.front);
    const QImage rearBack(result.paths.rear);
    ASSERT_EQ(frontBack.size(), front.size());
    ASSERT_EQ(rearBack.size(), rear.size());
    // Each file holds its own channel's picture, within JPEG's loss.
    EXPECT_LT(test::MeanDifference(frontBack.convertToFormat(QImage::Format_RGB32), front), 6.0);
    EXPECT_LT(test::MeanDifference(rearBack.convertToFormat(QImage::Format_RGB32), rear), 6.0);
    EXPECT_EQ(test::FrameChannel(frontBack.convertToFormat(QImage::Format_RGB32)), test::FrameChannel(front));
    EXPECT_EQ(test::FrameChannel(rearBack.convertToFormat(QImage::Format_RGB32)), test::FrameChannel(rear));
    EXPECT_NE(test::FrameChannel(front), test::FrameChannel(rear));
    EXPECT_EQ(m_player.GetState(), PlayState::kPaused) << "saving leaves playback as it was";
}

TEST_F(SnapshotPlayerTest, OneChannelRecordingAndAStoppedPlayer)
{
    OpenAndPause(QStringLiteral("one-aac"), 1);
    PlayerFrameSource<Player> source(m_player);
    const QDateTime taken(QDate(2026, 12, 7), QTime(0, 1, 2, 3));
    SnapshotResult result = SaveSnapshot(source, m_dir.path(), QStringLiteral("ONE.avi"), taken);
    ASSERT_TRUE(result.Saved());
    EXPECT_EQ(result.written, QStringList({ result.paths.front }));

    ASSERT_TRUE(m_player.Stop());
    result = SaveSnapshot(source, m_dir.path(), QStringLiteral("ONE.avi"), taken);
    EXPECT_EQ(result.outcome, SnapshotResult::Outcome::NotPlaying);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 1);
}

} // namespace
