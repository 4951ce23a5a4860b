#include "CheckAviLayout.h"
#include "Commands.h"
#include "DispatchRecord.h"
#include "HeadlessPlayer.h"
#include "LanguageTable.h"
#include "OptionFile.h"
#include "ReadAviInfo.h"
#include "RepairAvi.h"
#include "ReportDocument.h"
#include "ReportPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>

namespace zq::tool {

namespace {

constexpr int kReportFailed = 1;
constexpr int kWrongArguments = 2;

const char* const kReportHelp
    = "usage: zq481k-tool report FILE --at SECONDS --out REPORT.pdf [--language N] [--model N]\n"
      "\n"
      "Prints the viewer's two-page report of one moment of a recording into a PDF file (A4): opens the\n"
      "recording as the viewer does (a recording whose index stands in front of its media is repaired into "
      "a\n"
      "temporary copy first), moves to SECONDS, takes the picture of each channel and prints them on page "
      "1;\n"
      "page 2 has the GPS position and the G-sensor values at that position. There is no map view here, so\n"
      "page 2 has no map picture.\n"
      "\n"
      "options:\n"
      "  --at SECONDS     position, from 0 up to the duration\n"
      "  --out FILE       the PDF file to write (an earlier file is replaced)\n"
      "  --language N     string table 0-11 (0 English, 1 Korean, ...); default: the option file's\n"
      "                   language beside the program, else 0\n"
      "  --model N        model index: any other than 0 prints no titles (default 0)\n"
      "  --help           show this text\n"
      "\n"
      "exit status: 0 when the PDF was written; 1 when it could not be written (the reason on standard\n"
      "error); 2 for wrong arguments, a missing or unplayable FILE, or SECONDS beyond the end.\n";

bool ParseInt(const QString& text, int* value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok);
    if (ok)
        *value = parsed;
    return ok;
}

/// The file the Player plays: the recording itself, or a repaired copy in folder when its index stands in
/// front of its media. Empty, with a reason, when it cannot be played.
QString PlayableFile(const QString& path, const QTemporaryDir& folder, QString* reason, int* status)
{
    ChunkLocations locations {};
    const qint32 layout = CheckAviLayout(path, &locations);
    if (layout == kAviLayoutUnusable) {
        *reason
            = QStringLiteral("%1 is not a recording (no RIFF AVI file with an index and media)").arg(path);
        *status = kWrongArguments;
        return {};
    }
    if (layout != kAviLayoutNeedsRepair)
        return path;
    if (!folder.isValid()) {
        *reason = QStringLiteral("no temporary folder for the repaired copy: %1").arg(folder.errorString());
        *status = kReportFailed;
        return {};
    }
    // The copy is named as the viewer names it: the file name without its last four characters.
    const QString name = QFileInfo(path).fileName();
    const QString repaired
        = folder.filePath(name.left(std::max<qsizetype>(0, name.size() - 4)) + "_REPAIR.avi");
    QString error;
    if (!RepairAvi(path, repaired, locations, &error)) {
        *reason = QStringLiteral("cannot repair %1: %2").arg(path, error);
        *status = kReportFailed;
        return {};
    }
    return repaired;
}

} // namespace

std::unique_ptr<QCoreApplication> CreateApplication(int& argc, char** argv)
{
    // Only the report draws text, which needs the GUI side of Qt; it never shows a window, so it draws
    // off screen unless the caller chose a platform. Every other command keeps the plain core application.
    if (argc > 1 && std::strcmp(argv[1], "report") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

int runReport(const QStringList& args, CommandIo io)
{
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool report: " << message << "\n"
               << "Try \"zq481k-tool report --help\".\n";
        return kWrongArguments;
    };
    QString path;
    QString outPath;
    double atSeconds = -1.0;
    int language = -1;
    int model = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kReportHelp;
            return 0;
        }
        const bool takesValue = arg == QLatin1String("--at") || arg == QLatin1String("--out")
            || arg == QLatin1String("--language") || arg == QLatin1String("--model");
        if (takesValue) {
            if (i + 1 >= args.size())
                return wrong(QStringLiteral("%1 needs a value").arg(arg));
            const QString& value = args[++i];
            if (arg == QLatin1String("--out")) {
                outPath = value;
            } else if (arg == QLatin1String("--at")) {
                bool ok = false;
                atSeconds = value.toDouble(&ok);
                if (!ok || !std::isfinite(atSeconds) || atSeconds < 0.0)
                    return wrong(QStringLiteral("--at needs a number of seconds from 0"));
            } else if (arg == QLatin1String("--language")) {
                if (!ParseInt(value, &language) || language < 0 || language >= kLanguageCount)
                    return wrong(
                        QStringLiteral("--language needs a number from 0 to %1").arg(kLanguageCount - 1));
            } else if (!ParseInt(value, &model)) {
                return wrong(QStringLiteral("--model needs a whole number"));
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            return wrong(QStringLiteral("unknown option \"%1\"").arg(arg));
        } else if (path.isEmpty()) {
            path = arg;
        } else {
            return wrong(QStringLiteral("give one FILE"));
        }
    }
    if (path.isEmpty() || outPath.isEmpty() || atSeconds < 0.0)
        return wrong(QStringLiteral("give FILE, --at SECONDS and --out REPORT.pdf"));
    const QString unreadable = UnreadableReason(path);
    if (!unreadable.isEmpty()) {
        io.err << "zq481k-tool report: " << unreadable << "\n";
        return kWrongArguments;
    }

    // The string table as the viewer chooses it: the option file beside the program, unless overridden.
    COptionFile& options = TheOptionFile();
    if (options.BuildOptionFilePath())
        options.ReadOptionFile();
    if (language >= 0)
        options.m_language = language;
    options.LoadLanguageDll();
    if (!options.HasLanguageLibrary())
        io.err << "zq481k-tool report: no string table for language " << options.m_language
               << "; the pages get their header and footer only\n";

    QTemporaryDir repairFolder;
    QString reason;
    int status = 0;
    const QString playable = PlayableFile(path, repairFolder, &reason, &status);
    if (playable.isEmpty()) {
        io.err << "zq481k-tool report: " << reason << "\n";
        return status;
    }

    HeadlessPlayer headless;
    if (!headless.Open(playable)) {
        io.err << "zq481k-tool report: " << path
               << " does not play (not a recording, or no decoder for it)\n";
        return kWrongArguments;
    }
    Player& player = headless.player();
    const qint64 durationMs = player.GetDurationMs();
    const qint64 atMs = std::llround(atSeconds * 1000.0);
    if (atMs > durationMs)
        return wrong(QStringLiteral("--at %1 lies beyond the end (%2 ms)").arg(atSeconds).arg(durationMs));
    // At the very end there is no picture left to show (the engine answers a seek there with the first
    // one), so the end prints the last picture, the one just before it.
    player.SeekMs(qint32(durationMs > 0 ? std::min(atMs, durationMs - 1) : atMs));

    ReportInput input;
    input.channelCount = player.GetChannelCount();
    // A picture that cannot be taken is left out of the page, as the viewer does.
    if (!player.CaptureFrame(0, &input.frontFrame))
        io.err << "zq481k-tool report: no picture on channel 1\n";
    if (input.channelCount == 2 && !player.CaptureFrame(1, &input.rearFrame))
        io.err << "zq481k-tool report: no picture on channel 2\n";

    // The sensor records are read from the recording as chosen, even when a repaired copy plays.
    SensorRecords records;
    AviInfo info;
    if (ReadAviInfo(path, &info))
        records = ParseUserData(info.userData);
    input.values = ReportValuesAt(records, player.GetPositionMs(), durationMs);
    player.Close();

    input.model = model;
    input.texts = ReportTexts::FromTable(options.LanguageLibrary());
    QString error;
    if (!PrintReportToPdf(outPath, input, &error)) {
        io.err << "zq481k-tool report: " << error << "\n";
        return kReportFailed;
    }
    return 0;
}

} // namespace zq::tool
