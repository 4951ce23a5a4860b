#include "Commands.h"
#include "RecordingGenerator.h"

#include <QDir>
#include <QDirIterator>

namespace zq::tool {

namespace {

constexpr int kWrongArguments = 2;
constexpr int kGenerationFailed = 1;

const char* const kMakeCardHelp
    = "usage: zq481k-tool make-card DIR\n"
      "\n"
      "Writes a sample card below DIR: NORMAL, EVENT and PARKING folders with a few minutes of recordings "
      "of\n"
      "one drive, setup.cfg, time.cfg, system_info1.bin, system_info2.bin and ZQ481K_FMT.BIN.\n";

} // namespace

int runMakeCard(const QStringList& args, CommandIo io)
{
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        io.out << kMakeCardHelp;
        return 0;
    }
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--"))) {
        io.err << "zq481k-tool make-card: "
               << (args.isEmpty()           ? "no folder given"
                          : args.size() > 1 ? "more than one folder given"
                                            : "unknown option")
               << "\nTry \"zq481k-tool make-card --help\".\n";
        return kWrongArguments;
    }
    const QString root = args.first();
    QString error;
    if (!recgen::WriteSampleCard(root, &error)) {
        io.err << "zq481k-tool make-card: " << error << "\n";
        return kGenerationFailed;
    }
    const QDir card(root);
    QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
    QStringList written;
    while (files.hasNext())
        written << card.relativeFilePath(files.next());
    written.sort();
    for (const QString& file : written)
        io.out << file << "\n";
    return 0;
}

} // namespace zq::tool
