#include "RunProgram.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace zq::test {
namespace {

ProgramResult Shell(const QString& script, const QStringList& environment = {}, int timeoutMs = 30000)
{
    return RunProgram(QStringLiteral("sh"), { QStringLiteral("-c"), script }, environment, timeoutMs);
}

TEST(RunProgram, CollectsExitCodeAndBothOutputsWithTheEnvironmentAdded)
{
    const ProgramResult run
        = Shell(QStringLiteral("printf 'out %s' \"$ZQ_RUN_VALUE\"; echo oops >&2; exit 3"),
            { QStringLiteral("ZQ_RUN_VALUE=a=b c") });
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "out a=b c");
    EXPECT_EQ(run.ErrText(), QStringLiteral("oops\n"));
    // The program's input is closed, so one that reads it does not wait.
    EXPECT_EQ(Shell(QStringLiteral("cat; echo done")).out, "done\n");
}

TEST(RunProgram, CrashesTimeoutsAndMissingProgramsGiveMinusOne)
{
    const ProgramResult crash = Shell(QStringLiteral("echo before; kill -SEGV $$"));
    EXPECT_EQ(crash.exitCode, -1);
    EXPECT_EQ(crash.out, "before\n");

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Shell(QStringLiteral("sleep 20"), {}, 300).exitCode, -1);
    EXPECT_LT(timer.elapsed(), 10000);

    EXPECT_EQ(RunProgram(QStringLiteral("/nonexistent/zq-no-such-program"), {}).exitCode, -1);
}

} // namespace
} // namespace zq::test
