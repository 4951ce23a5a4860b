// zq481k-tool-media: the commands of zq481k-tool that decode, draw or print. zq481k-tool hands them over
// with their arguments unchanged, so the messages and statuses are the same as if it ran them itself.
#include "Commands.h"
#include "MediaTool.h"

#include <QCoreApplication>

namespace {

struct MediaCommand {
    const char* name;
    int (*run)(const QStringList&, zq::tool::CommandIo);
};

constexpr MediaCommand kMediaCommands[] = {
    { "snapshot", zq::tool::runSnapshot },
    { "report", zq::tool::runReport },
    { "play", zq::tool::runPlay },
};

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = zq::tool::CreateApplication(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app->arguments().mid(1);
    const QString name = args.isEmpty() ? QString() : args.takeFirst();
    for (const MediaCommand& command : kMediaCommands) {
        if (name == QLatin1String(command.name))
            return command.run(args, { out, err });
    }
    err << zq::tool::kMediaToolName << ": runs the snapshot, report and play commands of zq481k-tool; "
        << "\"zq481k-tool --help\" lists the commands\n";
    return 2;
}
