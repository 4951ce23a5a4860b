#include "Commands.h"
#include "MediaTool.h"

#include <QCoreApplication>
#include <cstring>

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    int (*run)(const QStringList&, zq::tool::CommandIo); // nullptr: run by zq481k-tool-media
};

constexpr Command kCommands[] = {
    { "scan", "scan [--json] PATH...          list recordings as the viewer lists them", zq::tool::runScan },
    { "check", "check FILE                      layout class and chunk locations of a recording",
        zq::tool::runCheck },
    { "repair", "repair SRC DST                  write a repaired copy of a recording", zq::tool::runRepair },
    { "info", "info FILE [--at MS --duration MS] [--json]  information record and sensor data",
        zq::tool::runInfo },
    { "snapshot", "snapshot FILE --at SECONDS --out DIR  save the frames of each channel as JPEG", nullptr },
    { "generate", "generate [OPTIONS] OUT.avi     write a test recording in the recorder's layout",
        zq::tool::runGenerate },
    { "make-card", "make-card DIR                   write a sample card folder", zq::tool::runMakeCard },
    { "export", "export PATH... --format gpx|kml|csv [--out FILE] [--gsensor]  GPS track as GPX, KML or CSV",
        zq::tool::runExport },
    { "report", "report FILE --at SECONDS --out REPORT.pdf  print the report of a moment into a PDF file",
        nullptr },
    { "play", "play FILE [--screen WxH]... [--json]  play into windowless screens, count the frames",
        nullptr },
    { "card-settings",
        "card-settings ROOT [--set L=V]... [--clock T] [--write] [--json]  recorder settings of a card",
        zq::tool::runCardSettings },
};

void printUsage(QTextStream& stream)
{
    stream << "usage: zq481k-tool COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& command : kCommands)
        stream << "  " << command.synopsis << '\n';
    stream << "\nzq481k-tool COMMAND --help shows the options of one command.\n";
}

} // namespace

int main(int argc, char** argv)
{
    // A command of the second program is handed over before Qt starts here.
    if (argc > 1) {
        for (const Command& command : kCommands) {
            if (!command.run && std::strcmp(argv[1], command.name) == 0)
                return zq::tool::ExecMediaTool(argv);
        }
    }
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h" || args.first() == "help") {
        printUsage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& command : kCommands) {
        if (name == QLatin1String(command.name))
            return command.run(args, { out, err });
    }
    err << "zq481k-tool: unknown command \"" << name << "\"\n";
    printUsage(err);
    return 2;
}
