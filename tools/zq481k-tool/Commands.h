#pragma once

#include <QStringList>
#include <QTextStream>

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
int runCardSettings(const QStringList& args, CommandIo io);

}  // namespace zq::tool
