// CPU cost of the engine's display path against a plain decode of the same file, in one process and in
// alternating rounds: CPU seconds (user + system, every thread) per second of media for
// The screens paint every frame they get (the GUI thread's share of the display path is counted).
//   - decode only: filesrc ! avidemux, then h264parse ! avdec_h264 ! fakesink per video stream and
//     aacparse ! avdec_aac ! fakesink for the sound, as fast as it goes;
//   - the engine with one screen of 720x405 (one channel shown, the other hidden);
//   - the engine with two screens side by side (360x202 each: the both-channels view of a 1034x742
//     window);
//   - the engine full screen at 1920x1080 (one channel shown);
// each as fast as it goes, and the ratio of each to decode only. Then real-time playback at 2x with both
// screens shown: wall time against media time / 2, and the frames the sinks dropped.
//
// usage: playback_bench [RECORDING.avi]   (without a file, a 1080p + 720p recording at ~15 Mb/s is made;
//                                          a given file must not carry its strd block in a video header)

#include "HeadlessVideoSurface.h"
#include "PlaybackEngine.h"
#include "RecordingGenerator.h"
#include "VideoRenderer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <gst/gst.h>
#include <map>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kRounds = 3;
constexpr qint64 kTimeoutMs = 180000;
constexpr double kGoalTwoScreens = 1.15;
constexpr double kGoalFullScreen = 1.4;

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
        + usage.ru_stime.tv_usec / 1e6;
}

QByteArray DecodeOnlyPipeline(const QString& path)
{
    const QByteArray video = "queue ! h264parse ! avdec_h264 ! fakesink sync=false ";
    return "filesrc location=\"" + path.toLocal8Bit() + "\" ! avidemux name=d d.video_0 ! " + video
        + "d.video_1 ! " + video + "d.audio_0 ! queue ! aacparse ! avdec_aac ! fakesink sync=false";
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

struct Run {
    double cpu = 0; // seconds
    double wallMs = 0;
    quint64 dropped = 0;
};

Run RunDecodeOnly(const QString& path)
{
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(DecodeOnlyPipeline(path).constData(), &error);
    if (pipeline == nullptr)
        Fail("the decode-only pipeline cannot be made");
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
    if (gst_element_get_state(pipeline, nullptr, nullptr, kTimeoutMs * GST_MSECOND)
        != GST_STATE_CHANGE_SUCCESS)
        Fail("the decode-only pipeline does not preroll");
    Run run;
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, kTimeoutMs * GST_MSECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (message == nullptr || GST_MESSAGE_TYPE(message) != GST_MESSAGE_EOS)
        Fail("the decode-only pipeline did not play to its end");
    run.cpu = CpuSeconds() - cpu;
    run.wallMs = wall.nsecsElapsed() / 1e6;
    gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return run;
}

/// A screen paints every frame it gets, as the viewer's screens do: into a backing store that lives as
/// long as the window, stretched over its area, or copied when the frame already has the area's size;
/// only what the frame does not cover is filled. That cost is part of the display path.
class PaintingSurface : public zq::HeadlessVideoSurface {
public:
    using HeadlessVideoSurface::HeadlessVideoSurface;
    void PresentFrame(const QImage& frame) override
    {
        HeadlessVideoSurface::PresentFrame(frame);
        const QRect area = ClientRect();
        if (m_backingStore.size() != area.size())
            m_backingStore = QImage(area.size(), QImage::Format_RGB32);
        QPainter painter(&m_backingStore);
        const QRect video = videoRect().isValid() ? videoRect() : area;
        if (!video.contains(area))
            painter.fillRect(area, Qt::black);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, frame.size() != video.size());
        painter.drawImage(QRectF(video), frame, QRectF(frame.rect()));
    }

private:
    QImage m_backingStore;
};

/// Plays the whole recording through the engine into two windowless screens (an empty size hides one).
Run RunEngine(const QString& path, QSize front, QSize rear, bool sync, float rate)
{
    PaintingSurface screens[2] = { PaintingSurface(front), PaintingSurface(rear) };
    screens[0].SetShown(!front.isEmpty());
    screens[1].SetShown(!rear.isEmpty());
    zq::PlaybackEngine engine(2, { &screens[0], &screens[1], nullptr, nullptr });
    engine.SetSyncToClock(sync);
    if (engine.BuildGraph(path, 0, -1) != zq::S_OK)
        Fail("the engine cannot build a graph for the recording");
    engine.SetRate(rate);
    Run run;
    QElapsedTimer wall;
    wall.start();
    const double cpu = CpuSeconds();
    engine.Play();
    // The GUI thread sleeps between polls, as a viewer's would: frames reach the screens as queued calls.
    QEventLoop loop;
    QTimer poll;
    // The end is when every sink has had the end of its stream: as fast as it goes, the position gets
    // there with the sound while pictures are still being decoded and shown.
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (engine.PlayedToEnd() || wall.elapsed() > kTimeoutMs)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    run.cpu = CpuSeconds() - cpu;
    run.wallMs = wall.nsecsElapsed() / 1e6;
    for (int channel = 0; channel < 2; ++channel) {
        if (const zq::VideoRenderer* renderer = engine.Renderer(channel))
            run.dropped += renderer->GetStatistics().dropped;
    }
    engine.TearDownGraph();
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ZQ_AUDIO_SINK", "fakesink");
    gst_init(&argc, &argv);
    QGuiApplication app(argc, argv);

    QTemporaryDir folder;
    QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (path.isEmpty()) {
        zq::recgen::RecordingRequest request;
        request.frontWidth = 1920;
        request.frontHeight = 1080;
        request.rearWidth = 1280;
        request.rearHeight = 720;
        request.durationSeconds = 10.0;
        request.videoBitrateKbps = 15000;
        // A plain decoder refuses the strd block as codec data in a video header: keep it in the audio one.
        request.strd = zq::recgen::StrdPlacement::Audio;
        path = folder.filePath("bench-1080p-720p.avi");
        std::printf("writing %s ...\n", qPrintable(path));
        std::fflush(stdout);
        zq::recgen::GeneratedRecording written;
        QString error;
        if (!zq::recgen::WriteRecording(path, request, &written, &error)) {
            std::fprintf(stderr, "generator: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("recording: 1920x1080 + 1280x720, %.1f s, %.1f Mb/s\n", written.durationSeconds,
            written.sizeBytes * 8.0 / written.durationSeconds / 1e6);
    } else {
        std::printf("recording: %s, %.1f MB\n", qPrintable(path), QFileInfo(path).size() / 1e6);
    }
    double mediaSeconds = 0;
    {
        zq::HeadlessVideoSurface probe;
        zq::PlaybackEngine engine(1, { &probe, nullptr, nullptr, nullptr });
        if (engine.BuildGraph(path, 0, -1) != zq::S_OK)
            Fail("the engine cannot open the recording");
        qint64 duration = 0;
        engine.GetDuration(&duration);
        mediaSeconds = duration / 1e7;
    }

    struct Config {
        const char* name;
        QSize front;
        QSize rear;
    };
    const Config configs[] = {
        { "engine, one screen 720x405", QSize(720, 405), QSize() },
        { "engine, two screens 360x202", QSize(360, 202), QSize(360, 202) },
        { "engine, full screen 1920x1080", QSize(1920, 1080), QSize() },
    };
    RunDecodeOnly(path); // warm the file cache and the plugin registry
    std::vector<double> decodeOnly;
    std::map<int, std::vector<double>> engine;
    for (int round = 0; round < kRounds; ++round) {
        decodeOnly.push_back(RunDecodeOnly(path).cpu / mediaSeconds);
        std::printf("round %d: decode only %.3f", round + 1, decodeOnly.back());
        for (int k = 0; k < int(std::size(configs)); ++k) {
            engine[k].push_back(
                RunEngine(path, configs[k].front, configs[k].rear, false, 1.0f).cpu / mediaSeconds);
            std::printf(", %s %.3f", configs[k].name, engine[k].back());
        }
        std::printf("  (CPU s per media s)\n");
        std::fflush(stdout);
    }
    const double base = Median(decodeOnly);
    std::printf("\nCPU seconds per second of media, median of %d, as fast as it goes:\n", kRounds);
    std::printf("  %-32s %.3f\n", "decode only", base);
    for (int k = 0; k < int(std::size(configs)); ++k) {
        const double ratio = Median(engine[k]) / base;
        const double goal = k == 1 ? kGoalTwoScreens : k == 2 ? kGoalFullScreen : 0.0;
        std::printf("  %-32s %.3f  ratio to decode only %.2f", configs[k].name, Median(engine[k]), ratio);
        if (goal > 0)
            std::printf("  (goal <= %.2f: %s)", goal, ratio <= goal ? "ok" : "ABOVE GOAL");
        std::printf("\n");
    }

    const Run fast = RunEngine(path, QSize(360, 202), QSize(360, 202), true, 2.0f);
    const double mediaMs = mediaSeconds * 1000.0 / 2.0;
    std::printf(
        "\nreal time at 2x, two screens 360x202: %.0f ms of wall time for %.0f ms (lag %.0f ms), %llu "
        "frames dropped by the sinks, %.3f CPU s per media s\n",
        fast.wallMs, mediaMs, fast.wallMs - mediaMs, static_cast<unsigned long long>(fast.dropped),
        fast.cpu / mediaSeconds);
    return 0;
}
