#include "Commands.h"
#include "HeadlessPlayer.h"
#include "SnapshotNames.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace zq::tool {

namespace {

constexpr int kSnapshotFailed = 1;
constexpr int kWrongArguments = 2;
constexpr int kSnapshotChannels = 2; // the viewer saves the front and the rear picture

const char* const kSnapshotHelp
    = "usage: zq481k-tool snapshot FILE --at SECONDS --out DIR\n"
      "\n"
      "Opens a recording as the viewer does, moves to SECONDS and saves the picture of each channel as a\n"
      "JPEG file in DIR, named as the viewer names its snapshots: the file name without its extension, "
      "\"-\",\n"
      "the local time of the snapshot and \"(Track1)\" for the front or \"(Track2)\" for the rear channel.\n"
      "Prints one JSON object: the channel count, the duration and, for every picture written, its track,\n"
      "the position of the frame and the file.\n"
      "\n"
      "exit status: 0 when every picture was written; 1 when a picture could not be taken or written;\n"
      "2 for wrong arguments, a missing DIR, SECONDS beyond the end, or a FILE that does not play.\n"
      "\n"
      "options:\n"
      "  --at SECONDS   position of the pictures, from 0 up to the duration\n"
      "  --out DIR      existing folder for the pictures\n"
      "  --help         show this text\n";

} // namespace

int runSnapshot(const QStringList& args, CommandIo io)
{
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool snapshot: " << message << "\n"
               << "Try \"zq481k-tool snapshot --help\".\n";
        return kWrongArguments;
    };
    QString path;
    QString outDir;
    double atSeconds = -1.0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kSnapshotHelp;
            return 0;
        }
        if (arg == QLatin1String("--at") || arg == QLatin1String("--out")) {
            if (i + 1 >= args.size())
                return wrong(QStringLiteral("%1 needs a value").arg(arg));
            const QString& value = args[++i];
            if (arg == QLatin1String("--out")) {
                outDir = value;
                continue;
            }
            bool ok = false;
            atSeconds = value.toDouble(&ok);
            if (!ok || !std::isfinite(atSeconds) || atSeconds < 0.0)
                return wrong(QStringLiteral("--at needs a number of seconds from 0"));
        } else if (arg.startsWith(QLatin1String("--"))) {
            return wrong(QStringLiteral("unknown option \"%1\"").arg(arg));
        } else if (path.isEmpty()) {
            path = arg;
        } else {
            return wrong(QStringLiteral("give one FILE"));
        }
    }
    if (path.isEmpty() || outDir.isEmpty() || atSeconds < 0.0)
        return wrong(QStringLiteral("give FILE, --at SECONDS and --out DIR"));
    const QString unreadable = UnreadableReason(path);
    if (!unreadable.isEmpty()) {
        io.err << "zq481k-tool snapshot: " << unreadable << "\n";
        return kWrongArguments;
    }
    // As in the viewer, the pictures go into a folder that exists: none is created here.
    if (!QFileInfo(outDir).isDir())
        return wrong(QStringLiteral("\"%1\" is not an existing folder").arg(outDir));

    HeadlessPlayer headless;
    if (!headless.Open(path)) {
        io.err << "zq481k-tool snapshot: " << path
               << " does not play (not a recording, or no decoder for it)\n";
        return kWrongArguments;
    }
    Player& player = headless.player();
    const qint64 durationMs = player.GetDurationMs();
    const qint64 atMs = std::llround(atSeconds * 1000.0);
    if (atMs > durationMs)
        return wrong(QStringLiteral("--at %1 lies beyond the end (%2 ms)").arg(atSeconds).arg(durationMs));
    player.SeekMs(qint32(atMs));

    const QString stamp = SnapshotTimeStamp(QDateTime::currentDateTime());
    const QString baseName
        = QDir(outDir).filePath(SnapshotNameStem(QFileInfo(path).fileName()) + "-" + stamp);
    const int channels = player.GetChannelCount();
    QJsonArray frames;
    int status = 0;
    for (int channel = 0; channel < std::min(channels, kSnapshotChannels); ++channel) {
        QImage frame;
        qint64 positionMs = 0;
        if (!player.CaptureFrame(channel, &frame, &positionMs)) {
            io.err << "zq481k-tool snapshot: no picture on channel " << channel + 1 << "\n";
            status = kSnapshotFailed;
            break;
        }
        const QString file = baseName + QStringLiteral("(Track%1).jpg").arg(channel + 1);
        if (!frame.save(file, "JPG")) {
            io.err << "zq481k-tool snapshot: cannot write " << file << "\n";
            status = kSnapshotFailed;
            break;
        }
        frames.append(
            QJsonObject { { "track", channel + 1 }, { "position_ms", positionMs }, { "file", file } });
    }
    player.Close();
    const QJsonObject result { { "channels", channels }, { "duration_ms", durationMs },
        { "frames", frames } };
    io.out << QJsonDocument(result).toJson(QJsonDocument::Indented);
    return status;
}

} // namespace zq::tool
