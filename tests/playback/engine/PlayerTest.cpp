#include "Player.h"

#include "CheckAviLayout.h"
#include "EngineTestSupport.h"
#include "FrameStamp.h"
#include "HeadlessVideoSurface.h"
#include "RepairAvi.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cmath>
#include <gst/audio/audio.h>
#include <gtest/gtest.h>
#include <thread>

using namespace zq;
using zq::recgen::AudioKind;
using zq::recgen::RecordingRequest;

namespace {

constexpr int kFramesPerSecond = 30;

RecordingRequest Request(int videoStreams = 2, AudioKind audio = AudioKind::Aac, double seconds = 3.0)
{
    RecordingRequest request;
    request.videoStreams = videoStreams;
    request.audio = audio;
    request.durationSeconds = seconds;
    request.framesPerSecond = kFramesPerSecond;
    return request;
}

int MeanGrey(const QImage& image)
{
    qint64 sum = 0;
    for (int y = image.height() / 4; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(line[x]);
    }
    return int(sum / (qint64(image.width()) * (image.height() - image.height() / 4)));
}

class PlayerTest : public ::testing::Test {
protected:
    HeadlessVideoSurface m_front;
    HeadlessVideoSurface m_rear;
    Player m_player;

    void OpenTwoChannels(const QString& key = "two-aac", const RecordingRequest& request = Request())
    {
        m_player.Initialize(2, &m_front, &m_rear);
        ASSERT_TRUE(m_player.Open(test::Recording(key, request), 0, -1));
    }
    QImage Capture(int channel, qint64* positionMs = nullptr)
    {
        QImage frame;
        EXPECT_TRUE(m_player.CaptureFrame(channel, &frame, positionMs)) << "channel " << channel;
        return frame;
    }
    double SegmentRate()
    {
        return test::RendererSegmentRate(m_player.engine()->graph(), "Enhanced Video Renderer-1");
    }
};

TEST_F(PlayerTest, EveryOperationIsHarmlessWithoutAnEngine)
{
    QImage untouched(4, 4, QImage::Format_RGB32);
    untouched.fill(Qt::red);
    QImage image = untouched;
    EXPECT_EQ(m_player.GetState(), PlayState::kNoEngine);
    EXPECT_TRUE(m_player.Play());
    EXPECT_TRUE(m_player.Pause());
    EXPECT_TRUE(m_player.Stop());
    EXPECT_EQ(m_player.GetPositionMs(), 0);
    EXPECT_EQ(m_player.GetDurationMs(), 0);
    EXPECT_TRUE(m_player.SeekMs(1000));
    EXPECT_FALSE(m_player.SetRate(1.5f));
    EXPECT_TRUE(m_player.SetVolumePercent(50));
    EXPECT_EQ(m_player.SetBrightness(0, 10), S_FALSE);
    EXPECT_EQ(m_player.SetMirror(1, true), S_FALSE);
    EXPECT_EQ(m_player.GetChannelCount(), 0);
    EXPECT_FALSE(m_player.CaptureFrame(0, &image));
    EXPECT_EQ(image, untouched);
    EXPECT_FALSE(m_player.Open(test::Recording("two-aac", Request()), 0, -1)); // no screen registered
    QPainter painter(&image);
    EXPECT_FALSE(m_player.Repaint(&painter));

    // Registered screens give an engine without a graph: state 3, nothing to play.
    m_player.Initialize(2, &m_front, &m_rear);
    EXPECT_EQ(m_player.GetState(), PlayState::kCreated);
    EXPECT_FALSE(m_player.Play());
    EXPECT_TRUE(m_player.Pause());
    EXPECT_EQ(m_player.GetPositionMs(), 0);
    EXPECT_EQ(m_player.GetDurationMs(), 0);
    EXPECT_FALSE(m_player.Repaint(nullptr));
    EXPECT_TRUE(m_player.Repaint(&painter));
}

TEST_F(PlayerTest, FailedOpensLeaveNoEngine)
{
    m_player.Initialize(2, &m_front, &m_rear);
    EXPECT_FALSE(m_player.Open(QStringLiteral("/nonexistent/20170531_000507I.avi"), 0, -1));
    EXPECT_EQ(m_player.GetState(), PlayState::kNoEngine);
    FilterFactories factories = FilterFactories::FromEnvironment();
    factories.aacDecoder = "zq-not-installed-aac";
    m_player.SetFilterFactories(factories);
    EXPECT_FALSE(m_player.Open(test::Recording("two-aac", Request()), 0, -1));
    EXPECT_EQ(m_player.engine(), nullptr);
}

TEST_F(PlayerTest, PlayPauseAndStopKeepThePosition)
{
    OpenTwoChannels();
    EXPECT_EQ(m_player.GetState(), PlayState::kStopped);
    EXPECT_EQ(m_player.GetChannelCount(), 2);
    EXPECT_NEAR(m_player.GetDurationMs(), 3000, 100);
    EXPECT_EQ(m_player.GetPositionMs(), 0);
    EXPECT_EQ(m_player.engine()->parseOption(), 1);

    ASSERT_TRUE(m_player.Play());
    EXPECT_EQ(m_player.GetState(), PlayState::kRunning);
    EXPECT_FALSE(m_player.Play()); // already running
    EXPECT_EQ(m_player.GetState(), PlayState::kRunning);
    ASSERT_TRUE(test::PumpUntil([&] { return m_player.GetPositionMs() >= 400; }));
    ASSERT_TRUE(m_player.Pause());
    EXPECT_EQ(m_player.GetState(), PlayState::kPaused);
    // A paused graph may still settle by a millisecond; playing on would move it by the 200 ms waited.
    constexpr int kFrameMs = 1000 / kFramesPerSecond + 1;
    const qint64 paused = m_player.GetPositionMs();
    test::PumpFor(200);
    EXPECT_NEAR(m_player.GetPositionMs(), paused, kFrameMs);
    ASSERT_TRUE(m_player.Stop());
    EXPECT_EQ(m_player.GetState(), PlayState::kStopped);
    EXPECT_NEAR(m_player.GetPositionMs(), paused, kFrameMs); // Stop does not rewind
    EXPECT_FALSE(m_player.Stop());
    EXPECT_TRUE(m_player.Pause()); // changes nothing while stopped
    EXPECT_EQ(m_player.GetState(), PlayState::kStopped);
    EXPECT_TRUE(m_player.Play());
    ASSERT_TRUE(test::PumpUntil([&] { return m_player.GetPositionMs() > paused + 100; }));

    EXPECT_TRUE(m_player.StopAndClose());
    EXPECT_EQ(m_player.GetState(), PlayState::kNoEngine);
    EXPECT_EQ(m_player.GetChannelCount(), 0);
}

TEST_F(PlayerTest, SeekShowsTheFrameAtTheTargetOnEveryChannel)
{
    OpenTwoChannels();
    for (const int targetMs : { 1500, 500, 2400 }) {
        ASSERT_TRUE(m_player.SeekMs(targetMs));
        EXPECT_NEAR(m_player.GetPositionMs(), targetMs, 1000 / kFramesPerSecond);
        for (int channel = 0; channel < 2; ++channel) {
            qint64 frameMs = -1;
            const QImage frame = Capture(channel, &frameMs);
            EXPECT_EQ(frame.format(), QImage::Format_RGB32);
            EXPECT_EQ(test::FrameChannel(frame), channel);
            EXPECT_NEAR(test::FrameIndex(frame), targetMs * kFramesPerSecond / 1000, 1) << targetMs;
            EXPECT_NEAR(frameMs, targetMs, 1000 / kFramesPerSecond);
        }
    }
    // The screens get the new frame too, on the GUI thread.
    EXPECT_TRUE(test::PumpUntil([&] { return test::FrameIndex(m_rear.frame()) == 72; }));
}

TEST_F(PlayerTest, FrameStepsShowTheNeighbouringFramesOnEveryChannel)
{
    OpenTwoChannels();
    EXPECT_FALSE(m_player.StepForward()) << "stopped: nothing to step";
    ASSERT_TRUE(m_player.Play());
    EXPECT_FALSE(m_player.StepForward()) << "playing: nothing to step";
    // Paused during play, the clock stands somewhere inside a frame, not at its start.
    ASSERT_TRUE(test::PumpUntil([&] { return m_player.GetPositionMs() >= 700; }));
    ASSERT_TRUE(m_player.Pause());
    const int paused = test::FrameIndex(Capture(0));
    ASSERT_GE(paused, 0);
    const auto expectFrame = [&](int index, const char* what) {
        ASSERT_TRUE(test::PumpUntil([&] { return !m_player.IsSeekPending(); }));
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_EQ(test::FrameIndex(Capture(channel)), index) << what << ", channel " << channel;
        const qint64 position = m_player.GetPositionMs();
        EXPECT_GE(position * kFramesPerSecond, qint64(index) * 1000) << what;
        EXPECT_LT(position * kFramesPerSecond, qint64(index + 1) * 1000) << what;
    };
    ASSERT_TRUE(m_player.StepForward());
    expectFrame(paused + 1, "one step");
    // Steps pressed faster than the frames come are all taken.
    ASSERT_TRUE(m_player.StepForward());
    ASSERT_TRUE(m_player.StepForward());
    expectFrame(paused + 3, "two quick steps");
    ASSERT_TRUE(m_player.StepBackward());
    expectFrame(paused + 2, "one step back");
    EXPECT_EQ(m_player.GetState(), PlayState::kPaused);

    ASSERT_TRUE(m_player.SeekMs(0));
    ASSERT_TRUE(m_player.StepBackward());
    expectFrame(0, "back from the first frame");
}

TEST_F(PlayerTest, PlayAtTheExactEndStartsAgainAndPlayBeforeItContinues)
{
    OpenTwoChannels();
    const qint64 duration = m_player.GetDurationMs();
    ASSERT_TRUE(m_player.SeekMs(qint32(duration - 300)));
    ASSERT_TRUE(m_player.Play());
    ASSERT_TRUE(test::PumpUntil([&] { return m_player.GetPositionMs() == duration; }));
    EXPECT_EQ(m_player.GetState(), PlayState::kRunning); // the end changes no state
    ASSERT_TRUE(m_player.Pause());
    ASSERT_TRUE(m_player.Play());
    EXPECT_LT(m_player.GetPositionMs(), 300);
    EXPECT_LT(test::FrameIndex(Capture(0)), 10);

    ASSERT_TRUE(m_player.Pause());
    ASSERT_TRUE(m_player.SeekMs(qint32(duration - 400)));
    ASSERT_TRUE(m_player.Play());
    EXPECT_GE(m_player.GetPositionMs(), duration - 400);
    // A second end is seen as well.
    EXPECT_TRUE(test::PumpUntil([&] { return m_player.GetPositionMs() == duration; }));
}

/// Counts every call that reaches the surface from a thread other than the GUI thread.
class GuiThreadSurface : public HeadlessVideoSurface {
public:
    std::atomic<int> offThread { 0 };

    void PresentFrame(const QImage& frame) override
    {
        Check();
        HeadlessVideoSurface::PresentFrame(frame);
    }
    void RepaintFrame() override
    {
        Check();
        HeadlessVideoSurface::RepaintFrame();
    }
    void SetVideoRect(const QRect& rect) override
    {
        Check();
        HeadlessVideoSurface::SetVideoRect(rect);
    }
    void ClearFrame() override
    {
        Check();
        HeadlessVideoSurface::ClearFrame();
    }

private:
    void Check()
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            ++offThread;
    }
};

TEST(PlayerThreads, AnOpenOnAWorkerThreadTouchesTheScreensOnlyFromTheGuiThread)
{
    GuiThreadSurface front;
    GuiThreadSurface rear;
    Player player;
    player.Initialize(2, &front, &rear);
    bool opened = false;
    bool played = false;
    // As the viewer's open routine does: open and start on a worker, drive from the GUI thread.
    std::thread worker([&] {
        opened = player.Open(test::Recording("two-aac", Request()), 0, -1);
        played = player.Play();
    });
    worker.join();
    ASSERT_TRUE(opened);
    ASSERT_TRUE(played);
    EXPECT_TRUE(test::PumpUntil([&] { return front.framesPresented() > 5 && rear.framesPresented() > 5; }));
    EXPECT_EQ(rear.videoRect(), rear.ClientRect());
    player.Pause();
    player.UpdateVideoWindows();
    std::thread closer([&] { player.Close(); });
    closer.join();
    EXPECT_TRUE(test::PumpUntil([&] { return front.clears() == 1 && rear.clears() == 1; }));
    EXPECT_TRUE(front.frame().isNull());
    EXPECT_EQ(front.offThread, 0);
    EXPECT_EQ(rear.offThread, 0);
}

TEST_F(PlayerTest, RateIsClampedAtPlayAndOnlyStoredWhilePaused)
{
    OpenTwoChannels();
    ASSERT_TRUE(m_player.Play());
    ASSERT_TRUE(m_player.SetRate(3.0f));
    EXPECT_EQ(m_player.engine()->rate(), 2.0f);
    EXPECT_EQ(m_player.GetState(), PlayState::kRunning);
    ASSERT_TRUE(test::PumpUntil([&] { return SegmentRate() == 2.0; }));

    ASSERT_TRUE(m_player.Pause());
    ASSERT_TRUE(m_player.SetRate(0.1f));
    EXPECT_EQ(m_player.engine()->rate(), 0.1f);
    EXPECT_EQ(m_player.GetState(), PlayState::kPaused);
    EXPECT_EQ(SegmentRate(), 2.0); // not applied yet
    ASSERT_TRUE(m_player.Play());
    EXPECT_EQ(m_player.engine()->rate(), 0.5f);
    EXPECT_TRUE(test::PumpUntil([&] { return SegmentRate() == 0.5; }));
    ASSERT_TRUE(m_player.SetRate(1.0f));
    EXPECT_TRUE(test::PumpUntil([&] { return SegmentRate() == 1.0; }));
}

TEST(PlayerVolume, PercentToHundredthsOfADecibel)
{
    EXPECT_EQ(Player::VolumeForPercent(0), -10000);
    EXPECT_EQ(Player::VolumeForPercent(1), -2000);
    EXPECT_EQ(Player::VolumeForPercent(10), -999); // the single-precision 0.1 lies just above a tenth
    EXPECT_EQ(Player::VolumeForPercent(50), -301);
    EXPECT_EQ(Player::VolumeForPercent(99), -4);
    EXPECT_EQ(Player::VolumeForPercent(100), -10000); // raw 0 is sent as silence
    EXPECT_EQ(Player::VolumeForPercent(-5), -10000);
    EXPECT_EQ(Player::VolumeForPercent(250), -10000);
}

/// The loudest sample that reached the audio output since the last reset.
struct AudioPeak {
    std::atomic<int> peak { 0 };
    std::atomic<int> buffers { 0 };

    static void OnHandoff(GstElement*, GstBuffer* buffer, GstPad* pad, AudioPeak* self)
    {
        GstCaps* caps = gst_pad_get_current_caps(pad);
        GstAudioInfo info;
        const bool known = caps != nullptr && gst_audio_info_from_caps(&info, caps);
        if (caps != nullptr)
            gst_caps_unref(caps);
        GstMapInfo map;
        if (!known || !gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        int peak = 0;
        if (GST_AUDIO_INFO_FORMAT(&info) == GST_AUDIO_FORMAT_S16) {
            const auto* samples = reinterpret_cast<const gint16*>(map.data);
            for (gsize i = 0; i < map.size / 2; ++i)
                peak = std::max(peak, std::abs(int(samples[i])));
        } else if (GST_AUDIO_INFO_FORMAT(&info) == GST_AUDIO_FORMAT_F32) {
            const auto* samples = reinterpret_cast<const float*>(map.data);
            for (gsize i = 0; i < map.size / 4; ++i)
                peak = std::max(peak, int(std::fabs(samples[i]) * 32767.0f));
        }
        gst_buffer_unmap(buffer, &map);
        self->peak = std::max(self->peak.load(), peak);
        ++self->buffers;
    }
};

TEST_F(PlayerTest, VolumeZeroAndFullSilenceTheOutput)
{
    OpenTwoChannels("two-pcm-long", Request(2, AudioKind::Pcm, 6.0));
    GstElement* renderer
        = gst_bin_get_by_name(GST_BIN(m_player.engine()->graph()), "DirectSound Audio Renderer");
    ASSERT_NE(renderer, nullptr);
    GstElement* output = gst_bin_get_by_name(GST_BIN(renderer), "sink");
    ASSERT_NE(output, nullptr);
    ASSERT_NE(g_object_class_find_property(G_OBJECT_GET_CLASS(output), "signal-handoffs"), nullptr)
        << "the media tests expect ZQ_AUDIO_SINK=fakesink";
    AudioPeak peak;
    g_object_set(output, "signal-handoffs", TRUE, nullptr);
    g_signal_connect(output, "preroll-handoff", G_CALLBACK(AudioPeak::OnHandoff), &peak);
    g_signal_connect(output, "handoff", G_CALLBACK(AudioPeak::OnHandoff), &peak);
    // The buffer that waits in the output for its time was scaled before the change: skip it.
    const auto peakAfter = [&](int percent) {
        EXPECT_TRUE(m_player.SetVolumePercent(percent));
        const int changed = peak.buffers;
        EXPECT_TRUE(test::PumpUntil([&] { return peak.buffers > changed + 1; }));
        peak.peak = 0;
        const int measured = peak.buffers;
        EXPECT_TRUE(test::PumpUntil([&] { return peak.buffers > measured + 3; }));
        return peak.peak.load();
    };
    ASSERT_TRUE(m_player.Play());
    EXPECT_EQ(peakAfter(0), 0);
    const int half = peakAfter(50);
    const int loud = peakAfter(99);
    EXPECT_GT(half, 1000);
    EXPECT_GT(loud, half);
    EXPECT_EQ(peakAfter(100), 0);
    g_signal_handlers_disconnect_by_data(output, &peak);
    gst_object_unref(output);
    gst_object_unref(renderer);
    m_player.Close();
}

TEST_F(PlayerTest, BrightnessChangesTheNextFramesOfItsChannelOnly)
{
    OpenTwoChannels();
    ASSERT_TRUE(m_player.SeekMs(1000));
    const int frontBefore = MeanGrey(Capture(0));
    const int rearBefore = MeanGrey(Capture(1));
    EXPECT_EQ(m_player.SetBrightness(0, 100), S_OK);
    ASSERT_TRUE(m_player.SeekMs(1000)); // the adjustment applies to frames decoded from now on
    const QImage brighter = Capture(0);
    EXPECT_GT(MeanGrey(brighter), frontBefore + 60);
    EXPECT_EQ(test::FrameIndex(brighter), 30);
    EXPECT_NEAR(MeanGrey(Capture(1)), rearBefore, 2);
    EXPECT_EQ(m_player.SetBrightness(0, -100), S_OK);
    ASSERT_TRUE(m_player.SeekMs(1000));
    EXPECT_LT(MeanGrey(Capture(0)), frontBefore - 40);
    EXPECT_EQ(m_player.SetBrightness(4, 10), S_OK); // no such channel
}

TEST_F(PlayerTest, MirrorFlipsTheRearPictureLeftToRight)
{
    OpenTwoChannels();
    ASSERT_TRUE(m_player.SeekMs(2000));
    const QImage plain = Capture(1);
    EXPECT_EQ(m_player.SetMirror(1, true), S_OK);
    ASSERT_TRUE(m_player.SeekMs(2000));
    const QImage mirrored = Capture(1);
    EXPECT_TRUE(recgen::DecodeFrameStamp(mirrored).mirrored);
    EXPECT_LT(test::MeanDifference(mirrored, plain.mirrored(true, false)), 3.0);
    EXPECT_GT(test::MeanDifference(mirrored, plain), 10.0);
    EXPECT_FALSE(recgen::DecodeFrameStamp(Capture(0)).mirrored);
    EXPECT_EQ(m_player.SetMirror(1, false), S_OK);
    ASSERT_TRUE(m_player.SeekMs(2000));
    EXPECT_LT(test::MeanDifference(Capture(1), plain), 3.0);
}

TEST_F(PlayerTest, CaptureFailsOnAChannelWithoutRendererAndLeavesTheImage)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QImage before = image;
    m_player.Initialize(2, &m_front, &m_rear);
    ASSERT_TRUE(m_player.Open(test::Recording("one-aac", Request(1)), 0, -1));
    EXPECT_EQ(m_player.GetChannelCount(), 1);
    EXPECT_FALSE(m_player.CaptureFrame(1, &image));
    EXPECT_FALSE(m_player.CaptureFrame(4, &image));
    EXPECT_EQ(image, before);
    const QImage front = Capture(0);
    EXPECT_EQ(front.size(), QSize(320, 180));
    EXPECT_EQ(test::FrameIndex(front), 0);

    // A two-channel recording on one screen builds only channel 1.
    Player oneScreen;
    oneScreen.Initialize(1, &m_front);
    ASSERT_TRUE(oneScreen.Open(test::Recording("two-aac", Request()), 0, -1));
    EXPECT_EQ(oneScreen.GetChannelCount(), 2);
    EXPECT_FALSE(oneScreen.CaptureFrame(1, &image));
    EXPECT_EQ(image, before);
}

TEST_F(PlayerTest, ScreensFollowLayoutChangesAndRepaints)
{
    OpenTwoChannels();
    EXPECT_EQ(m_rear.videoRect(), QRect(0, 0, 320, 180));
    m_rear.SetClientSize(QSize(640, 200));
    const int repaints = m_rear.repaints();
    m_player.UpdateVideoWindows();
    EXPECT_EQ(m_rear.videoRect(), QRect(0, 0, 640, 200));
    EXPECT_EQ(m_rear.repaints(), repaints + 1);
    QImage canvas(4, 4, QImage::Format_RGB32);
    QPainter painter(&canvas);
    EXPECT_TRUE(m_player.Repaint(&painter));
    EXPECT_EQ(m_rear.repaints(), repaints + 2);
    EXPECT_EQ(m_front.repaints(), 2);
    // What the screen shows is the frame stretched over the whole area.
    ASSERT_TRUE(test::PumpUntil([&] { return !m_rear.frame().isNull(); }));
    EXPECT_EQ(test::FrameChannel(m_rear.Paint()), 1);
}

TEST_F(PlayerTest, ARepairedRecordingSeeksToACleanPicture)
{
    RecordingRequest healthyRequest = Request(2, AudioKind::Aac, 4.0);
    RecordingRequest damagedRequest = healthyRequest;
    damagedRequest.idx1BeforeMovi = true;
    const QString healthy = test::Recording("healthy", healthyRequest);
    const QString damaged = test::Recording("idx1-first", damagedRequest);
    ChunkLocations locations;
    ASSERT_EQ(CheckAviLayout(damaged, &locations), kAviLayoutNeedsRepair);
    QTemporaryDir folder;
    const QString repaired = folder.filePath("20170531_000507I_REPAIR.avi");
    ASSERT_TRUE(RepairAvi(damaged, repaired, locations));

    const auto frameAfterSeek = [&](const QString& path) {
        m_player.Initialize(2, &m_front, &m_rear);
        EXPECT_TRUE(m_player.Open(path, 0, -1));
        EXPECT_TRUE(m_player.SeekMs(2500));
        QImage frame;
        m_player.CaptureFrame(0, &frame);
        m_player.Close();
        return frame;
    };
    const QImage reference = frameAfterSeek(healthy);
    ASSERT_EQ(test::FrameIndex(reference), 75);
    const QImage fixed = frameAfterSeek(repaired);
    EXPECT_EQ(test::FrameIndex(fixed), 75);
    EXPECT_LT(test::MeanDifference(fixed, reference), 1.0);
    const QImage corrupt = frameAfterSeek(damaged);
    EXPECT_GT(test::MeanDifference(corrupt, reference), 10.0);
}

} // namespace
