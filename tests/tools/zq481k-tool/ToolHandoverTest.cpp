#include "RunProgram.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ToolPath(const char* name)
{
    return zq::test::bundleDir() + QLatin1Char('/') + QLatin1String(name);
}

/// The shared libraries a program names in its dynamic section, as readelf lists them.
QStringList NeededLibraries(const QString& program)
{
    const zq::test::ProgramResult run = zq::test::RunProgram(QStringLiteral("readelf"), { "-d", program });
    QStringList needed;
    static const QRegularExpression line(QStringLiteral(R"(\(NEEDED\)\s+Shared library: \[([^\]]+)\])"));
    for (auto match = line.globalMatch(run.OutText()); match.hasNext();)
        needed.append(match.next().captured(1));
    return needed;
}

TEST(ToolHandoverTest, TheListingProgramLoadsNothingThatDrawsDecodesOrPrints)
{
    const QStringList tool = NeededLibraries(ToolPath("zq481k-tool"));
    if (tool.isEmpty())
        GTEST_SKIP() << "readelf (binutils) is not installed";
    EXPECT_TRUE(tool.contains(QStringLiteral("libQt6Core.so.6"))) << tool.join(' ').toStdString();
    static const QRegularExpression heavy(
        QStringLiteral("^lib(Qt6(Gui|Widgets|PrintSupport|DBus|WebEngine)|gst|X11)"));
    for (const QString& library : tool)
        EXPECT_FALSE(heavy.match(library).hasMatch()) << library.toStdString();
    // The second program is the one that carries them.
    const QStringList media = NeededLibraries(ToolPath("zq481k-tool-media"));
    EXPECT_TRUE(media.contains(QStringLiteral("libQt6Gui.so.6"))) << media.join(' ').toStdString();
    EXPECT_TRUE(media.contains(QStringLiteral("libgstreamer-1.0.so.0"))) << media.join(' ').toStdString();
}

TEST(ToolHandoverTest, MediaCommandsKeepTheirOutputAndStatusThroughTheHandover)
{
    // Help and wrong arguments come from the second program, unchanged.
    for (const char* command : { "snapshot", "report", "play" }) {
        const zq::test::ProgramResult help = zq::test::RunTool({ command, "--help" });
        EXPECT_EQ(help.exitCode, 0) << command << ": " << help.err.constData();
        EXPECT_TRUE(help.OutText().startsWith(QStringLiteral("usage: zq481k-tool %1").arg(command)))
            << help.out.constData();
        const zq::test::ProgramResult wrong = zq::test::RunTool({ command, "--no-such-option" });
        EXPECT_EQ(wrong.exitCode, 2) << command;
        EXPECT_TRUE(wrong.ErrText().contains(QStringLiteral("zq481k-tool %1").arg(command)))
            << wrong.err.constData();
    }
    // The commands of the listing program are not the second program's to run.
    const zq::test::ProgramResult stray
        = zq::test::RunProgram(ToolPath("zq481k-tool-media"), { "scan", "." });
    EXPECT_EQ(stray.exitCode, 2);
    EXPECT_TRUE(stray.ErrText().contains(QStringLiteral("zq481k-tool --help"))) << stray.err.constData();
}

TEST(ToolHandoverTest, AToolWithoutItsSecondProgramSaysWhatIsMissing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString lone = folder.filePath(QStringLiteral("zq481k-tool"));
    ASSERT_TRUE(QFile::copy(ToolPath("zq481k-tool"), lone));

    const zq::test::ProgramResult play = zq::test::RunProgram(lone, { "play", "--help" });
    EXPECT_EQ(play.exitCode, 127);
    EXPECT_TRUE(play.out.isEmpty());
    EXPECT_TRUE(play.ErrText().contains(QStringLiteral("play command needs zq481k-tool-media")))
        << play.err.constData();
    EXPECT_TRUE(play.ErrText().contains(folder.filePath(QStringLiteral("zq481k-tool-media"))))
        << play.err.constData();

    // Present but not a program it can start.
    ASSERT_TRUE(zq::test::writeFile(folder.filePath(QStringLiteral("zq481k-tool-media")), "not a program"));
    const zq::test::ProgramResult report = zq::test::RunProgram(lone, { "report", "--help" });
    EXPECT_EQ(report.exitCode, 126) << report.err.constData();

    // The listing commands need nothing beside the program.
    const QString card = folder.filePath(QStringLiteral("card"));
    ASSERT_TRUE(
        zq::test::writeFile(card + QStringLiteral("/NORMAL/20170531_090000D.avi"), QByteArray(4096, 'x')));
    const zq::test::ProgramResult scan = zq::test::RunProgram(lone, { "scan", card });
    EXPECT_EQ(scan.exitCode, 0) << scan.err.constData();
    EXPECT_TRUE(scan.OutText().contains(QStringLiteral("\t20170531_090000D.avi\t4\n")))
        << scan.out.constData();
}

} // namespace
