#include "Commands.h"
#include "RecordingGenerator.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>
#include <limits>

namespace zq::tool {

namespace {

constexpr int kWrongArguments = 2;
constexpr int kGenerationFailed = 1;

const char* const kGenerateHelp
    = "usage: zq481k-tool generate [OPTIONS] OUT.avi\n"
      "\n"
      "Writes a test recording in the recorder's AVI layout: H.264 video (ffmpeg + libx264), audio, and the\n"
      "\"strd\" block with the information record, G-sensor records and GPS sentences.\n"
      "\n"
      "options:\n"
      "  --video-streams N      1, 2 or 4 video streams (default 2)\n"
      "  --audio aac|pcm|none   audio stream (default aac)\n"
      "  --strd front|rear|audio|none\n"
      "                         stream header that carries the strd block (default front)\n"
      "  --idx1-before-movi     put the index in front of the media list (a recording that needs repair)\n"
      "  --truncate BYTES       cut the finished file to BYTES bytes\n"
      "  --duration S           seconds of video (default 3)\n"
      "  --size WxH             front picture size (default 320x180)\n"
      "  --rear-size WxH        picture size of the other channels (default 320x180)\n"
      "  --fps N                frames per second (default 30)\n"
      "  --bitrate KBPS         video rate of the whole recording; adds noise so it is reached\n"
      "  --target-bytes N       grow the file to about N bytes by repeating the encoded pictures\n"
      "  --no-gps               write no GPS sentences\n"
      "  --invalid-fixes        GPS sentences with status V\n"
      "  --info-digit D         last byte of the information record (default 2)\n"
      "  --start ISO-UTC        start time, e.g. 2017-05-31T00:05:07Z (default that time)\n"
      "  --help                 show this text\n";

bool ParseSize(const QString& text, int* width, int* height)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *width = match.captured(1).toInt();
    *height = match.captured(2).toInt();
    return true;
}

bool ParseInteger(const QString& text, qint64 minimum, qint64 maximum, qint64* value)
{
    bool ok = false;
    const qint64 parsed = text.toLongLong(&ok);
    if (!ok || parsed < minimum || parsed > maximum)
        return false;
    *value = parsed;
    return true;
}

} // namespace

int runGenerate(const QStringList& args, CommandIo io)
{
    recgen::RecordingRequest request;
    QString output;
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool generate: " << message << "\n"
               << "Try \"zq481k-tool generate --help\".\n";
        return kWrongArguments;
    };
    for (int index = 0; index < args.size(); ++index) {
        const QString& arg = args.at(index);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kGenerateHelp;
            return 0;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!output.isEmpty())
                return wrong(QStringLiteral("more than one output file given"));
            output = arg;
            continue;
        }
        // Flags without a value.
        if (arg == QLatin1String("--idx1-before-movi")) {
            request.idx1BeforeMovi = true;
            continue;
        }
        if (arg == QLatin1String("--no-gps")) {
            request.gps = false;
            continue;
        }
        if (arg == QLatin1String("--invalid-fixes")) {
            request.invalidFixes = true;
            continue;
        }
        if (index + 1 >= args.size())
            return wrong(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = args.at(++index);
        qint64 number = 0;
        if (arg == QLatin1String("--video-streams")) {
            if (value != QLatin1String("1") && value != QLatin1String("2") && value != QLatin1String("4"))
                return wrong(QStringLiteral("--video-streams must be 1, 2 or 4"));
            request.videoStreams = value.toInt();
        } else if (arg == QLatin1String("--audio")) {
            if (value == QLatin1String("aac"))
                request.audio = recgen::AudioKind::Aac;
            else if (value == QLatin1String("pcm"))
                request.audio = recgen::AudioKind::Pcm;
            else if (value == QLatin1String("none"))
                request.audio = recgen::AudioKind::None;
            else
                return wrong(QStringLiteral("--audio must be aac, pcm or none"));
        } else if (arg == QLatin1String("--strd")) {
            if (value == QLatin1String("front"))
                request.strd = recgen::StrdPlacement::FirstVideo;
            else if (value == QLatin1String("rear"))
                request.strd = recgen::StrdPlacement::RearVideo;
            else if (value == QLatin1String("audio"))
                request.strd = recgen::StrdPlacement::Audio;
            else if (value == QLatin1String("none"))
                request.strd = recgen::StrdPlacement::None;
            else
                return wrong(QStringLiteral("--strd must be front, rear, audio or none"));
        } else if (arg == QLatin1String("--truncate")) {
            if (!ParseInteger(value, 0, std::numeric_limits<qint64>::max(), &number))
                return wrong(QStringLiteral("--truncate needs a byte count"));
            request.truncateAt = number;
        } else if (arg == QLatin1String("--duration")) {
            bool ok = false;
            request.durationSeconds = value.toDouble(&ok);
            if (!ok || !(request.durationSeconds > 0.0))
                return wrong(QStringLiteral("--duration needs a number of seconds above 0"));
        } else if (arg == QLatin1String("--size")) {
            if (!ParseSize(value, &request.frontWidth, &request.frontHeight))
                return wrong(QStringLiteral("--size needs WIDTHxHEIGHT"));
        } else if (arg == QLatin1String("--rear-size")) {
            if (!ParseSize(value, &request.rearWidth, &request.rearHeight))
                return wrong(QStringLiteral("--rear-size needs WIDTHxHEIGHT"));
        } else if (arg == QLatin1String("--fps")) {
            if (!ParseInteger(value, 1, 120, &number))
                return wrong(QStringLiteral("--fps must be 1 to 120"));
            request.framesPerSecond = int(number);
        } else if (arg == QLatin1String("--bitrate")) {
            if (!ParseInteger(value, 0, 200000, &number))
                return wrong(QStringLiteral("--bitrate must be 0 to 200000 kbit/s"));
            request.videoBitrateKbps = int(number);
        } else if (arg == QLatin1String("--target-bytes")) {
            if (!ParseInteger(value, 0, std::numeric_limits<qint64>::max(), &number))
                return wrong(QStringLiteral("--target-bytes needs a byte count"));
            request.targetBytes = number;
        } else if (arg == QLatin1String("--info-digit")) {
            if (value.size() != 1 || value.at(0).unicode() > 0x7F)
                return wrong(QStringLiteral("--info-digit needs one character"));
            request.infoDigit = char(value.at(0).unicode());
        } else if (arg == QLatin1String("--start")) {
            QDateTime start = QDateTime::fromString(value, Qt::ISODate);
            if (!start.isValid())
                return wrong(QStringLiteral("--start needs an ISO date and time, e.g. 2017-05-31T00:05:07Z"));
            // A time without a zone is UTC, as the option says.
            if (start.timeSpec() == Qt::LocalTime)
                start = QDateTime(start.date(), start.time(), QTimeZone::utc());
            request.startUtc = start.toUTC();
        } else {
            return wrong(QStringLiteral("unknown option %1").arg(arg));
        }
    }
    if (output.isEmpty())
        return wrong(QStringLiteral("no output file given"));

    const QString problem = recgen::CheckRecordingRequest(request);
    if (!problem.isEmpty())
        return wrong(problem);
    recgen::GeneratedRecording result;
    QString error;
    if (!recgen::WriteRecording(output, request, &result, &error)) {
        io.err << "zq481k-tool generate: " << error << "\n";
        return kGenerationFailed;
    }
    io.out << result.path << ": " << result.sizeBytes << " bytes, " << result.videoFramesPerStream
           << " frames per stream, " << QString::number(result.durationSeconds, 'f', 3) << " s, "
           << result.gsensor.size() << " G-sensor samples, " << result.fixes.size() << " GPS fixes\n";
    return 0;
}

} // namespace zq::tool
