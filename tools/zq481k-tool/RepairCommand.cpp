#include "CheckAviLayout.h"
#include "Commands.h"
#include "RepairAvi.h"

#include <QFileInfo>

namespace zq::tool {

namespace {

constexpr int kRepairFailed = 1;
constexpr int kWrongArguments = 2;

const char* const kRepairHelp
    = "usage: zq481k-tool repair SRC DST\n"
      "\n"
      "Writes a repaired copy of a recording whose index (\"idx1\") stands in front of its media list\n"
      "(\"movi\"): DST gets the same bytes with the index moved behind the media list, as the viewer plays\n"
      "it. SRC is only read. An existing DST is replaced; a failed repair leaves no DST behind.\n"
      "\n"
      "exit status: 0 when DST was written; 1 when SRC is unusable, needs no repair, or the copy failed;\n"
      "2 for wrong arguments, DST naming SRC itself, or a SRC that is missing or cannot be read.\n"
      "\n"
      "options:\n"
      "  --help   show this text\n";

bool SameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.absoluteFilePath() == second.absoluteFilePath())
        return true;
    return second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

int runRepair(const QStringList& args, CommandIo io)
{
    auto wrong = [&](const QString& message) {
        io.err << "zq481k-tool repair: " << message << "\n"
               << "Try \"zq481k-tool repair --help\".\n";
        return kWrongArguments;
    };
    QStringList paths;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            io.out << kRepairHelp;
            return 0;
        }
        if (arg.startsWith(QLatin1String("--")))
            return wrong(QStringLiteral("unknown option \"%1\"").arg(arg));
        paths.append(arg);
    }
    if (paths.size() != 2)
        return wrong(QStringLiteral("give SRC and DST"));
    const QString& source = paths[0];
    const QString& destination = paths[1];
    const QString unreadable = UnreadableReason(source);
    if (!unreadable.isEmpty()) {
        io.err << "zq481k-tool repair: " << unreadable << "\n";
        return kWrongArguments;
    }
    if (SameFile(source, destination))
        return wrong(QStringLiteral("DST is SRC itself; the source is never overwritten"));

    ChunkLocations locations;
    const qint32 layout = CheckAviLayout(source, &locations);
    if (layout == kAviLayoutUnusable) {
        io.err << "zq481k-tool repair: " << source << " is not a usable recording (no RIFF AVI header, or no "
               << "\"idx1\" or \"movi\")\n";
        return kRepairFailed;
    }
    if (layout == kAviLayoutPlayable) {
        io.err << "zq481k-tool repair: " << source
               << " needs no repair (its index already follows the media)\n";
        return kRepairFailed;
    }
    QString error;
    if (!RepairAvi(source, destination, locations, &error)) {
        io.err << "zq481k-tool repair: cannot write " << destination << ": " << error << "\n";
        return kRepairFailed;
    }
    io.out << "repaired: " << destination << "\n";
    return 0;
}

} // namespace zq::tool
