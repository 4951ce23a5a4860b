#include "CheckAviLayout.h"
#include "Commands.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace zq::tool {

namespace {

constexpr int kUnusableStatus = 1;
constexpr int kNeedsRepairStatus = 2;
constexpr int kWrongArguments = 2;

const char* const kCheckHelp
    = "usage: zq481k-tool check [--json] FILE\n"
      "\n"
      "Classifies a recording by the order of its index (\"idx1\") and media list (\"movi\"):\n"
      "  0  unusable: not a RIFF AVI file, or the index or the media list is missing\n"
      "  1  plays unchanged: the index follows the media list\n"
      "  2  must be repaired first: the index stands in front of the media list\n"
      "and prints the four chunk locations (offsets of the chunk headers, and their size fields).\n"
      "\n"
      "exit status: 0 for class 1, 2 for class 2, 1 for class 0; 2 also for wrong arguments and for a\n"
      "file that is missing or cannot be read (with a message on standard error).\n"
      "\n"
      "options:\n"
      "  --json   print one JSON object\n"
      "  --help   show this text\n";

} // namespace

int runCheck(const QStringList& args, CommandIo io)
{
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool check: " << message << "\n"
               << "Try \"zq481k-tool check --help\".\n";
        return kWrongArguments;
    };
    bool json = false;
    QStringList files;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kCheckHelp;
            return 0;
        }
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg.startsWith(QLatin1String("--")))
            return wrong(QStringLiteral("unknown option \"%1\"").arg(arg));
        else
            files.append(arg);
    }
    if (files.size() != 1)
        return wrong(
            files.isEmpty() ? QStringLiteral("no FILE given") : QStringLiteral("give exactly one FILE"));
    const QString& path = files.first();
    const QString unreadable = UnreadableReason(path);
    if (!unreadable.isEmpty()) {
        io.err << "zq481k-tool check: " << unreadable << "\n";
        return kWrongArguments;
    }

    ChunkLocations locations;
    const qint32 layout = CheckAviLayout(path, &locations);
    if (json) {
        const QJsonObject object { { "file", path }, { "layout", layout },
            { "idx1Offset", qint64(locations.idx1Offset) }, { "idx1Size", qint64(locations.idx1Size) },
            { "moviOffset", qint64(locations.moviOffset) }, { "moviSize", qint64(locations.moviSize) } };
        io.out << QJsonDocument(object).toJson(QJsonDocument::Compact) << "\n";
    } else {
        const char* const meaning[] = { "unusable", "plays unchanged", "must be repaired" };
        io.out << "layout: " << layout << " (" << meaning[layout] << ")\n"
               << "idx1Offset: " << locations.idx1Offset << "\n"
               << "idx1Size: " << locations.idx1Size << "\n"
               << "moviOffset: " << locations.moviOffset << "\n"
               << "moviSize: " << locations.moviSize << "\n";
    }
    if (layout == kAviLayoutPlayable)
        return 0;
    return layout == kAviLayoutNeedsRepair ? kNeedsRepairStatus : kUnusableStatus;
}

} // namespace zq::tool
