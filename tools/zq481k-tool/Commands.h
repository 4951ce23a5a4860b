#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <memory>

// One function per sub-command of zq481k-tool. Each takes the arguments after the command name and
// returns the process exit status: 0 success, 2 wrong arguments or unreadable input (unless the
// command defines other statuses).
namespace zq::tool {

struct CommandIo {
    QTextStream& out;
    QTextStream& err;
};

/// Why a FILE argument cannot be read at all (missing, a folder, no permission); empty when it opens.
QString UnreadableReason(const QString& path);

int runScan(const QStringList& args, CommandIo io);
int runCheck(const QStringList& args, CommandIo io);
int runRepair(const QStringList& args, CommandIo io);
int runInfo(const QStringList& args, CommandIo io);
int runSnapshot(const QStringList& args, CommandIo io);
int runGenerate(const QStringList& args, CommandIo io);
int runMakeCard(const QStringList& args, CommandIo io);
int runExport(const QStringList& args, CommandIo io);
int runReport(const QStringList& args, CommandIo io);

/// The application object for the command in argv[1]: a GUI one (off screen) for the commands that draw.
std::unique_ptr<QCoreApplication> CreateApplication(int& argc, char** argv);
int runPlay(const QStringList& args, CommandIo io);
int runCardSettings(const QStringList& args, CommandIo io);

} // namespace zq::tool
