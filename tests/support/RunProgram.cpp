#include "RunProgram.h"

#include "TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace zq::test {

ProgramResult RunProgram(
    const QString& program, const QStringList& arguments, const QStringList& environment, int timeoutMs)
{
    ProgramResult result;
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment) {
            const qsizetype equals = entry.indexOf(QLatin1Char('='));
            if (equals > 0)
                variables.insert(entry.left(equals), entry.mid(equals + 1));
        }
        process.setProcessEnvironment(variables);
    }
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return result;
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(timeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    // Whatever was written before a crash or a kill helps to explain it.
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    if (finished && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

ProgramResult RunTool(const QStringList& arguments, const QStringList& environment, int timeoutMs)
{
    return RunProgram(bundleDir() + QStringLiteral("/zq481k-tool"), arguments, environment, timeoutMs);
}

} // namespace zq::test
