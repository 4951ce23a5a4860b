#include "Commands.h"
#include "HeadlessVideoSurface.h"
#include "Player.h"
#include "VideoRenderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <array>
#include <cmath>
#include <gst/gst.h>
#include <memory>

namespace zq::tool {

namespace {

constexpr int kPlayFailed = 1;
constexpr int kWrongArguments = 2;
constexpr int kPollMs = 20;
// Playback that moves no further for this long (wall time) has failed.
constexpr qint64 kStallMs = 10000;

const char* const kPlayHelp
    = "usage: zq481k-tool play FILE [--screen WxH]... [--rate R] [--no-sync] [--seconds S] [--json]\n"
      "\n"
      "Plays a recording as the viewer does, into screens without a window, from the start to the end\n"
      "(or for S seconds of media). Prints, per channel, the frames presented to its screen, the frames\n"
      "dropped (late at the sink, or replaced before the screen took them) and the size of the frames\n"
      "received, and the wall time.\n"
      "\n"
      "exit status: 0 when it played to the end (or for S seconds); 1 when playback failed on the way;\n"
      "2 for wrong arguments or a FILE that does not play.\n"
      "\n"
      "options:\n"
      "  --screen WxH   size of the next channel's screen in pixels, in channel order (default: the\n"
      "                 channel's own size); 0x0 hides that screen, so its frames are not converted\n"
      "  --rate R       playback rate, 0.5 ... 2.0 (default 1)\n"
      "  --no-sync      as fast as the chain goes, not in time with the clock\n"
      "  --seconds S    stop after S seconds of media\n"
      "  --json         print one JSON object:\n"
      "                 {\"channels\": [{\"presented\": N, \"dropped\": N, \"frame_size\": \"WxH\"}, ...],\n"
      "                  \"wall_ms\": N}\n"
      "  --help         show this text\n";

struct PlayOptions {
    QString path;
    QList<QSize> screens;
    double rate = 1.0;
    bool sync = true;
    double seconds = -1.0;
    bool json = false;
};

bool ParseSize(const QString& text, QSize* size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    // Both zero hides the screen; one of them zero is no size at all.
    return size->isEmpty() == (size->width() == 0 && size->height() == 0);
}

QString SizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(qMax(size.width(), 0)).arg(qMax(size.height(), 0));
}

} // namespace

int runPlay(const QStringList& args, CommandIo io)
{
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool play: " << message << "\n"
               << "Try \"zq481k-tool play --help\".\n";
        return kWrongArguments;
    };
    PlayOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kPlayHelp;
            return 0;
        }
        if (arg == QLatin1String("--no-sync")) {
            options.sync = false;
        } else if (arg == QLatin1String("--json")) {
            options.json = true;
        } else if (arg == QLatin1String("--screen") || arg == QLatin1String("--rate")
            || arg == QLatin1String("--seconds")) {
            if (i + 1 >= args.size())
                return wrong(QStringLiteral("%1 needs a value").arg(arg));
            const QString& value = args[++i];
            if (arg == QLatin1String("--screen")) {
                QSize size;
                if (!ParseSize(value, &size))
                    return wrong(QStringLiteral("--screen needs WIDTHxHEIGHT, not \"%1\"").arg(value));
                if (options.screens.size() >= PlaybackEngine::kMaxChannels)
                    return wrong(QStringLiteral("at most %1 screens").arg(PlaybackEngine::kMaxChannels));
                options.screens.append(size);
                continue;
            }
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (arg == QLatin1String("--rate")) {
                if (!ok || !(number >= PlaybackEngine::kMinRate && number <= PlaybackEngine::kMaxRate))
                    return wrong(QStringLiteral("--rate needs a number from 0.5 to 2"));
                options.rate = number;
            } else {
                if (!ok || !std::isfinite(number) || number <= 0.0)
                    return wrong(QStringLiteral("--seconds needs a number of seconds above 0"));
                options.seconds = number;
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            return wrong(QStringLiteral("unknown option \"%1\"").arg(arg));
        } else if (options.path.isEmpty()) {
            options.path = arg;
        } else {
            return wrong(QStringLiteral("give one FILE"));
        }
    }
    if (options.path.isEmpty())
        return wrong(QStringLiteral("give FILE"));
    const QString unreadable = UnreadableReason(options.path);
    if (!unreadable.isEmpty()) {
        io.err << "zq481k-tool play: " << unreadable << "\n";
        return kWrongArguments;
    }

    gst_init(nullptr, nullptr);
    FilterFactories factories = FilterFactories::FromEnvironment();
    if (qEnvironmentVariableIsEmpty("ZQ_AUDIO_SINK") && !options.sync)
        factories.audioSink = "fakesink"; // as fast as it goes: no sound card can keep up
    std::array<std::unique_ptr<HeadlessVideoSurface>, PlaybackEngine::kMaxChannels> screens;
    for (auto& screen : screens) {
        screen = std::make_unique<HeadlessVideoSurface>();
        // Until the channel's size is known nothing is converted.
        screen->SetShown(false);
    }
    Player player;
    player.SetFilterFactories(factories);
    player.SetSyncToClock(options.sync);
    player.Initialize(
        PlaybackEngine::kMaxChannels, screens[0].get(), screens[1].get(), screens[2].get(), screens[3].get());
    player.SetParseOption(0);
    if (!player.Open(options.path, 0, -1)) {
        io.err << "zq481k-tool play: " << options.path
               << " does not play (not a recording, or no decoder for it)\n";
        return kWrongArguments;
    }
    const int channels = qMin(player.GetChannelCount(), PlaybackEngine::kMaxChannels);
    for (int channel = 0; channel < channels; ++channel) {
        QSize size;
        if (channel < options.screens.size()) {
            size = options.screens[channel];
        } else {
            QImage own;
            if (player.CaptureFrame(channel, &own))
                size = own.size();
        }
        screens[channel]->SetClientSize(size);
        screens[channel]->SetShown(!size.isEmpty());
    }
    player.UpdateVideoWindows();

    const qint64 durationMs = player.GetDurationMs();
    const qint64 endMs = options.seconds > 0.0
        ? qMin(durationMs, qint64(std::llround(options.seconds * 1000.0)))
        : durationMs;
    player.SetRate(float(options.rate));
    QElapsedTimer wall;
    wall.start();
    if (!player.Play()) {
        io.err << "zq481k-tool play: the recording does not start\n";
        return kPlayFailed;
    }
    QString failure;
    qint64 lastPosition = -1;
    quint64 lastFrames = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    // To the end means every frame has reached its screen or been dropped, not only that the position
    // (which the sound carries, when nothing waits for the clock) has arrived there.
    const bool toTheEnd = endMs >= durationMs;
    const auto framesSoFar = [&] {
        quint64 frames = 0;
        for (int channel = 0; channel < channels; ++channel) {
            const VideoRenderer* renderer
                = player.engine() != nullptr ? player.engine()->Renderer(channel) : nullptr;
            if (renderer != nullptr) {
                const VideoRenderer::Statistics statistics = renderer->GetStatistics();
                frames += statistics.rendered + statistics.dropped;
            }
        }
        return frames;
    };
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const QString error = player.engine() != nullptr ? player.engine()->GraphError() : QString();
        const qint64 position = player.GetPositionMs();
        const quint64 frames = error.isEmpty() ? framesSoFar() : 0;
        if (!error.isEmpty()) {
            failure = error;
        } else if (position >= endMs
            && (!toTheEnd || player.engine() == nullptr || player.engine()->PlayedToEnd())) {
            loop.quit();
            return;
        } else if (position != lastPosition || frames != lastFrames) {
            lastPosition = position;
            lastFrames = frames;
            sinceProgress.restart();
            return;
        } else if (sinceProgress.elapsed() > kStallMs) {
            failure = QStringLiteral("playback stopped moving at %1 ms of %2 ms").arg(position).arg(endMs);
        } else {
            return;
        }
        loop.quit();
    });
    poll.start(kPollMs);
    loop.exec();
    const qint64 wallMs = wall.elapsed();
    player.Pause();
    // Frames handed over before the end reach their screens before the counts are read.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    QStringList json;
    for (int channel = 0; channel < channels; ++channel) {
        const VideoRenderer* renderer = player.engine()->Renderer(channel);
        const VideoRenderer::Statistics statistics
            = renderer != nullptr ? renderer->GetStatistics() : VideoRenderer::Statistics {};
        const HeadlessVideoSurface& screen = *screens[channel];
        const QSize frameSize = screen.frame().isNull() ? QSize(0, 0) : screen.frame().size();
        // Written by hand: the fields keep the order the command promises.
        // Each frame counts once, also when a new screen size or the start of playing hands it over again.
        json.append(QStringLiteral("{\"presented\": %1, \"dropped\": %2, \"frame_size\": \"%3\"}")
                        .arg(statistics.presented)
                        .arg(statistics.dropped)
                        .arg(SizeText(frameSize)));
        if (!options.json) {
            io.out << "channel " << channel + 1 << ": " << statistics.presented << " presented, "
                   << statistics.dropped << " dropped, frames " << SizeText(frameSize) << "\n";
        }
    }
    if (options.json) {
        io.out << "{\"channels\": [" << json.join(QStringLiteral(", ")) << "], \"wall_ms\": " << wallMs
               << "}\n";
    } else {
        io.out << "wall time: " << wallMs << " ms for " << endMs << " ms of media\n";
    }
    player.Close();
    if (!failure.isEmpty()) {
        io.err << "zq481k-tool play: " << failure << "\n";
        return kPlayFailed;
    }
    return 0;
}

} // namespace zq::tool
