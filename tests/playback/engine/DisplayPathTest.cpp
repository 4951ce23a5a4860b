#include "EngineTestSupport.h"
#include "HeadlessVideoSurface.h"
#include "Player.h"
#include "VideoRenderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gst/video/video.h>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <mutex>
#include <set>

using namespace zq;
using zq::recgen::AudioKind;
using zq::recgen::RecordingRequest;

namespace {

constexpr int kFramesPerSecond = 30;

RecordingRequest SizedRequest(QSize front, QSize rear, double seconds, int fps = kFramesPerSecond)
{
    RecordingRequest request;
    request.videoStreams = 2;
    request.audio = AudioKind::Aac;
    request.durationSeconds = seconds;
    request.framesPerSecond = fps;
    request.frontWidth = front.width();
    request.frontHeight = front.height();
    request.rearWidth = rear.width();
    request.rearHeight = rear.height();
    return request;
}

/// The caps the renderer of channel k (1-based) negotiated, as "FORMAT WxH".
std::string RendererCaps(Player& player, int k)
{
    const QByteArray name = "Enhanced Video Renderer-" + QByteArray::number(k);
    GstElement* sink = gst_bin_get_by_name(GST_BIN(player.engine()->graph()), name.constData());
    if (sink == nullptr)
        return "no renderer";
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    GstCaps* caps = gst_pad_get_current_caps(pad);
    std::string text = "none";
    GstVideoInfo info;
    if (caps != nullptr && gst_video_info_from_caps(&info, caps)) {
        text = std::string(gst_video_format_to_string(GST_VIDEO_INFO_FORMAT(&info))) + " "
            + std::to_string(GST_VIDEO_INFO_WIDTH(&info)) + "x"
            + std::to_string(GST_VIDEO_INFO_HEIGHT(&info));
    }
    if (caps != nullptr)
        gst_caps_unref(caps);
    gst_object_unref(pad);
    gst_object_unref(sink);
    return text;
}

class DisplayPath : public ::testing::Test {
protected:
    HeadlessVideoSurface m_front { QSize(200, 112) };
    HeadlessVideoSurface m_rear { QSize(150, 84) };
    Player m_player;

    void Open(const RecordingRequest& request, const QString& key)
    {
        m_player.Initialize(2, &m_front, &m_rear);
        ASSERT_TRUE(m_player.Open(test::Recording(key, request), 0, -1));
    }
};

TEST_F(DisplayPath, ScreensGetFramesOfTheirOwnSizeAndCapturesTheStreamsSize)
{
    Open(SizedRequest(QSize(640, 360), QSize(480, 270), 3.0), "display-640-480");
    // The cued first frame already has each screen's size; the graph passes the decoder's own pictures
    // to the renderers, which scale and convert them.
    ASSERT_TRUE(test::PumpUntil([&] { return !m_front.frame().isNull() && !m_rear.frame().isNull(); }));
    EXPECT_EQ(m_front.frame().size(), QSize(200, 112));
    EXPECT_EQ(m_rear.frame().size(), QSize(150, 84));
    EXPECT_EQ(RendererCaps(m_player, 1), "I420 640x360");
    EXPECT_EQ(RendererCaps(m_player, 2), "I420 480x270");

    // A resize while stopped shows the frame at the new size at once; playing goes on at that size.
    m_rear.SetClientSize(QSize(320, 180));
    m_player.UpdateVideoWindows();
    ASSERT_TRUE(test::PumpUntil([&] { return m_rear.frame().size() == QSize(320, 180); }));
    EXPECT_EQ(test::FrameChannel(m_rear.frame()), 1);
    ASSERT_TRUE(m_player.Play());
    const int presented = m_rear.framesPresented();
    ASSERT_TRUE(test::PumpUntil([&] { return m_rear.framesPresented() > presented + 10; }));
    EXPECT_EQ(m_rear.frame().size(), QSize(320, 180));
    EXPECT_EQ(RendererCaps(m_player, 2), "I420 480x270");
    EXPECT_EQ(m_front.frame().size(), QSize(200, 112));

    // A capture while playing has the stream's own size and is the frame the sink got, not the one
    // behind it: its stamp matches its time.
    for (int i = 0; i < 5; ++i) {
        test::PumpFor(90);
        for (int channel = 0; channel < 2; ++channel) {
            QImage frame;
            qint64 positionMs = -1;
            ASSERT_TRUE(m_player.CaptureFrame(channel, &frame, &positionMs));
            EXPECT_EQ(frame.size(), channel == 0 ? QSize(640, 360) : QSize(480, 270));
            EXPECT_EQ(frame.format(), QImage::Format_RGB32);
            EXPECT_EQ(test::FrameChannel(frame), channel);
            EXPECT_EQ(test::FrameIndex(frame), int((positionMs * kFramesPerSecond + 500) / 1000))
                << "channel " << channel << " at " << positionMs << " ms";
        }
    }
    m_player.Pause();
    // Paused, the screen and the capture show the same frame.
    m_rear.SetClientSize(QSize(480, 270));
    m_player.UpdateVideoWindows();
    ASSERT_TRUE(test::PumpUntil([&] { return m_rear.frame().size() == QSize(480, 270); }));
    QImage captured;
    ASSERT_TRUE(m_player.CaptureFrame(1, &captured));
    test::PumpFor(50);
    EXPECT_EQ(test::FrameIndex(m_rear.frame()), test::FrameIndex(captured));
    EXPECT_LT(test::MeanDifference(m_rear.frame(), captured), 3.0);
    // What the screen paints of a frame of its own size is that frame, pixel for pixel.
    EXPECT_EQ(m_rear.Paint(), m_rear.frame().convertToFormat(QImage::Format_RGB32));
}

TEST_F(DisplayPath, AChannelNoScreenShowsIsNotConvertedButCanStillBeCaptured)
{
    m_rear.SetShown(false);
    Open(SizedRequest(QSize(640, 360), QSize(480, 270), 3.0), "display-640-480");
    ASSERT_TRUE(test::PumpUntil([&] { return !m_front.frame().isNull(); }));
    ASSERT_TRUE(m_player.Play());
    ASSERT_TRUE(test::PumpUntil([&] { return m_front.framesPresented() > 10; }));
    EXPECT_EQ(m_rear.framesPresented(), 0);
    // The decoder's own pictures pass the converter untouched.
    EXPECT_EQ(RendererCaps(m_player, 2), "I420 480x270");
    QImage rear;
    qint64 positionMs = 0;
    ASSERT_TRUE(m_player.CaptureFrame(1, &rear, &positionMs));
    EXPECT_EQ(rear.size(), QSize(480, 270));
    EXPECT_EQ(test::FrameChannel(rear), 1);
    EXPECT_EQ(test::FrameIndex(rear), int((positionMs * kFramesPerSecond + 500) / 1000));

    // Shown again, it gets frames of its size.
    m_rear.SetShown(true);
    ASSERT_TRUE(test::PumpUntil([&] { return m_rear.framesPresented() > 3; }));
    EXPECT_EQ(m_rear.frame().size(), QSize(150, 84));
    EXPECT_EQ(test::FrameChannel(m_rear.frame()), 1);
    m_player.Close();
}

/// Tells, at a renderer's input, whether each frame is the very buffer its decoder pushed out or a copy
/// made on the way (the chain after the decoder runs on the decoder's thread, one frame at a time).
struct CopyWatch {
    std::atomic<GstBuffer*> decoded { nullptr };
    std::atomic<int> same { 0 };
    std::atomic<int> copied { 0 };

    static GstPadProbeReturn OnDecoded(GstPad*, GstPadProbeInfo* info, gpointer data)
    {
        static_cast<CopyWatch*>(data)->decoded = GST_PAD_PROBE_INFO_BUFFER(info);
        return GST_PAD_PROBE_OK;
    }
    static GstPadProbeReturn OnRendered(GstPad*, GstPadProbeInfo* info, gpointer data)
    {
        auto* self = static_cast<CopyWatch*>(data);
        ++(GST_PAD_PROBE_INFO_BUFFER(info) == self->decoded.load() ? self->same : self->copied);
        return GST_PAD_PROBE_OK;
    }
    void Reset()
    {
        same = 0;
        copied = 0;
    }
};

GstPad* ChildPad(GstElement* graph, const char* bin, const char* child, const char* pad)
{
    GstElement* outer = gst_bin_get_by_name(GST_BIN(graph), bin);
    GstElement* inner
        = outer != nullptr && child != nullptr ? gst_bin_get_by_name(GST_BIN(outer), child) : nullptr;
    GstPad* result = gst_element_get_static_pad(child != nullptr ? inner : outer, pad);
    if (inner != nullptr)
        gst_object_unref(inner);
    if (outer != nullptr)
        gst_object_unref(outer);
    return result;
}

TEST_F(DisplayPath, TheDecodersFramesReachTheRendererUncopiedUnlessMirrored)
{
    Open(SizedRequest(QSize(640, 360), QSize(480, 270), 3.0), "display-640-480");
    CopyWatch watch;
    GstElement* graph = m_player.engine()->graph();
    GstPad* decoded = ChildPad(graph, "FFDShow Decoder2", "decoder", "src");
    GstPad* rendered = ChildPad(graph, "Enhanced Video Renderer-2", nullptr, "sink");
    ASSERT_NE(decoded, nullptr);
    ASSERT_NE(rendered, nullptr);
    gst_pad_add_probe(decoded, GST_PAD_PROBE_TYPE_BUFFER, &CopyWatch::OnDecoded, &watch, nullptr);
    gst_pad_add_probe(rendered, GST_PAD_PROBE_TYPE_BUFFER, &CopyWatch::OnRendered, &watch, nullptr);
    const auto frames = [&] { return watch.same + watch.copied; };

    // Brightness and mirror at their defaults: balance, flip and converter all stand aside.
    ASSERT_TRUE(m_player.Play());
    ASSERT_TRUE(test::PumpUntil([&] { return frames() >= 8; }));
    EXPECT_EQ(watch.copied, 0);
    // Mirrored, the flip makes a new picture of every frame (which the watch must see)...
    EXPECT_EQ(m_player.SetMirror(1, true), S_OK);
    test::PumpFor(150);
    watch.Reset();
    ASSERT_TRUE(test::PumpUntil([&] { return frames() >= 8; }));
    EXPECT_EQ(watch.same, 0);
    // ...and not mirrored any more, it stands aside again.
    EXPECT_EQ(m_player.SetMirror(1, false), S_OK);
    test::PumpFor(150);
    watch.Reset();
    ASSERT_TRUE(test::PumpUntil([&] { return frames() >= 8; }));
    EXPECT_EQ(watch.copied, 0);
    m_player.Pause();
    gst_object_unref(decoded);
    gst_object_unref(rendered);
    m_player.Close();
}

/// Records every call that reaches a surface after it was destroyed.
class MortalSurface : public HeadlessVideoSurface {
public:
    static std::mutex mutex;
    static std::set<const void*> dead;
    static std::atomic<int> callsAfterDeath;

    ~MortalSurface() override
    {
        std::lock_guard<std::mutex> lock(mutex);
        dead.insert(this);
    }
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
    void ClearFrame() override
    {
        Check();
        HeadlessVideoSurface::ClearFrame();
    }

private:
    void Check()
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (dead.count(this) != 0)
            ++callsAfterDeath;
    }
};
std::mutex MortalSurface::mutex;
std::set<const void*> MortalSurface::dead;
std::atomic<int> MortalSurface::callsAfterDeath { 0 };

TEST(DisplayPathLifetime, AScreenDestroyedWhileFramesAreInFlightGetsNoCall)
{
    auto front = std::make_unique<MortalSurface>();
    auto rear = std::make_unique<MortalSurface>();
    Player player;
    player.Initialize(2, front.get(), rear.get());
    ASSERT_TRUE(player.Open(
        test::Recording("display-640-480", SizedRequest(QSize(640, 360), QSize(480, 270), 3.0)), 0, -1));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(test::PumpUntil([&] { return front->framesPresented() > 3 && rear->framesPresented() > 3; }));
    // The GUI thread is busy while frames arrive: hand-overs queue up for both screens.
    QThread::msleep(150);
    const int rearBefore = rear->framesPresented();
    front.reset();
    test::PumpFor(300);
    EXPECT_GT(rear->framesPresented(), rearBefore); // the other screen goes on
    // Closing the recording clears the screens: the dead one is left alone.
    QThread::msleep(100);
    player.Close();
    test::PumpFor(100);
    EXPECT_EQ(rear->clears(), 1);
    rear.reset();
    test::PumpFor(50);
    EXPECT_EQ(MortalSurface::callsAfterDeath, 0);
}

/// Counts the flushing seeks that reach a renderer: every seek flushes each sink, once per sink that
/// passed it upstream, all with the seek's number.
struct FlushCounter {
    std::mutex mutex;
    std::set<guint32> seeks;

    static GstPadProbeReturn OnEvent(GstPad*, GstPadProbeInfo* info, gpointer data)
    {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_START) {
            auto* self = static_cast<FlushCounter*>(data);
            std::lock_guard<std::mutex> lock(self->mutex);
            self->seeks.insert(gst_event_get_seqnum(event));
        }
        return GST_PAD_PROBE_OK;
    }
    int count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return int(seeks.size());
    }
};

TEST(DisplayPathSeeks, ADragOfTwentyMovesSendsOneSeekPerSeekTimeAndEndsAtTheLastTarget)
{
    // Full-size streams with a key frame every second: an accurate seek decodes up to a second of video,
    // as on the recorder's own files.
    constexpr int kFps = 60;
    HeadlessVideoSurface front(QSize(320, 180));
    HeadlessVideoSurface rear(QSize(320, 180));
    Player player;
    player.Initialize(2, &front, &rear);
    ASSERT_TRUE(player.Open(
        test::Recording("display-1080-720", SizedRequest(QSize(1920, 1080), QSize(1280, 720), 4.0, kFps)), 0,
        -1));
    // How long one accurate seek takes on this machine: while the user drags, a new seek can go out only
    // when the one before it has completed, so a drag is served by at most one seek per that time, plus
    // the first and the last.
    qint64 loneSeekMs = std::numeric_limits<qint64>::max();
    for (const qint32 lone : { 2950, 930, 1960 }) {
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(player.SeekMs(lone));
        ASSERT_TRUE(test::PumpUntil([&] { return !player.IsSeekPending(); }, 10000));
        loneSeekMs = std::max<qint64>(1, std::min(loneSeekMs, timer.elapsed()));
    }
    const quint64 sentBefore = player.engine()->seeksSent();

    FlushCounter counter;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(player.engine()->graph()), "Enhanced Video Renderer-1");
    ASSERT_NE(sink, nullptr);
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_FLUSH, &FlushCounter::OnEvent, &counter, nullptr);

    // Twenty moves, 10 ms apart, each late in its second of video.
    qint32 target = 0;
    QElapsedTimer drag;
    drag.start();
    for (int move = 0; move < 20; ++move) {
        target = 900 + (move % 3) * 1000 + move * 3;
        ASSERT_TRUE(player.SeekMs(target));
        // While the seek is on its way, the position is the newest target.
        if (player.IsSeekPending()) {
            EXPECT_EQ(player.GetPositionMs(), target);
        }
        test::PumpFor(10);
    }
    const qint64 dragMs = drag.elapsed();
    // Nobody asks anything: the kept target is still sent when the seek before it completes.
    EXPECT_TRUE(test::PumpUntil([&] { return !player.IsSeekPending(); }, 10000));
    const int flushes = counter.count();
    EXPECT_GE(flushes, 2);
    // A seek during the drag can take half as long as the quickest lone one (targets close together, data
    // in the cache), so the bound allows seeks of half that time; without coalescing there would be 20.
    const qint64 quickSeekMs = std::max<qint64>(1, loneSeekMs / 2);
    EXPECT_LE(flushes, 2 + dragMs / quickSeekMs)
        << "drag " << dragMs << " ms, one seek " << loneSeekMs << " ms";
    EXPECT_LT(flushes, 10);
    EXPECT_EQ(player.engine()->seeksSent() - sentBefore, quint64(flushes));
    EXPECT_NEAR(player.GetPositionMs(), target, 1000 / kFps);
    QImage frame;
    ASSERT_TRUE(player.CaptureFrame(0, &frame));
    EXPECT_EQ(test::FrameIndex(frame), target * kFps / 1000);
    gst_object_unref(pad);
    gst_object_unref(sink);
    player.Close();
}

TEST(DisplayPathSeeks, ACaptureRightAfterASeekWaitsForItsFrame)
{
    HeadlessVideoSurface front;
    HeadlessVideoSurface rear;
    Player player;
    player.Initialize(2, &front, &rear);
    ASSERT_TRUE(player.Open(
        test::Recording("display-640-480", SizedRequest(QSize(640, 360), QSize(480, 270), 3.0)), 0, -1));
    ASSERT_TRUE(player.Play());
    for (const qint32 target : { 2500, 700, 1900 }) {
        ASSERT_TRUE(player.SeekMs(target - 400));
        ASSERT_TRUE(player.SeekMs(target)); // kept while the first is on its way
        QImage frame;
        qint64 frameMs = 0;
        ASSERT_TRUE(player.CaptureFrame(1, &frame, &frameMs));
        EXPECT_FALSE(player.IsSeekPending());
        // Playing on, the frame is at the target or a few frames after it, never before it.
        EXPECT_GE(test::FrameIndex(frame), target * kFramesPerSecond / 1000 - 1) << target;
        EXPECT_LT(test::FrameIndex(frame), target * kFramesPerSecond / 1000 + 10) << target;
    }
    player.Close();
}

} // namespace
