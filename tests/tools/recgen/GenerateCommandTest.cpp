#include "GeneratedFile.h"
#include "TestPrograms.h"

#include <QFileInfo>

namespace zq::test {
namespace {

QString Tool()
{
    return bundleDir() + QStringLiteral("/zq481k-tool");
}

TEST(GenerateCommand, WrongArgumentsExitWithTwo)
{
    ASSERT_TRUE(QFileInfo::exists(Tool())) << Tool().toStdString();
    QTemporaryDir folder;
    const QString out = folder.filePath("out.avi");
    const QList<QStringList> wrong = {
        { "generate" },
        { "generate", "--video-streams", "3", out },
        { "generate", "--size", "320x", out },
        { "generate", "--audio", "mp3", out },
        { "generate", "--strd", "rear", "--video-streams", "1", out },
        { "generate", "--duration", "-1", out },
        { "generate", "--fps", out },
        { "generate", "--frobnicate", out },
        { "generate", out, folder.filePath("second.avi") },
        { "make-card" },
        { "make-card", folder.filePath("a"), folder.filePath("b") },
    };
    for (const QStringList& args : wrong) {
        const ProgramResult run = RunProgram(Tool(), args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << args.join(' ').toStdString();
    }
    const ProgramResult help = RunProgram(Tool(), { "generate", "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--idx1-before-movi"));
    EXPECT_TRUE(help.out.contains("--target-bytes"));
}

TEST(GenerateCommand, OptionsReachTheFile)
{
    QTemporaryDir folder;
    const QString out = folder.filePath("four.avi");
    const ProgramResult run = RunProgram(Tool(),
        { "generate", "--video-streams", "4", "--audio", "pcm", "--strd", "audio", "--idx1-before-movi",
            "--duration", "1", "--size", "160x90", "--rear-size", "128x72", "--fps", "15", "--no-gps",
            "--info-digit", "4", "--start", "2018-01-02T03:04:05Z", out });
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const RiffFile riff = ParseRiff(readFile(out));
    ASSERT_TRUE(riff.wellFormed);
    const QVector<const RiffChunk*> strls = StreamLists(riff);
    ASSERT_EQ(strls.size(), 5);
    EXPECT_EQ(U16At(riff.payload(*strls[4]->child("strf")), 0), 1u);
    EXPECT_EQ(U32At(riff.payload(*strls[0]->child("strf")), 4), 160u);
    EXPECT_EQ(U32At(riff.payload(*strls[3]->child("strf")), 8), 72u);
    EXPECT_EQ(U32At(riff.payload(*strls[0]->child("strh")), 24), 15u);
    ASSERT_NE(strls[4]->child("strd"), nullptr);
    EXPECT_EQ(strls[0]->child("strd"), nullptr);
    const QByteArray block = riff.payload(*strls[4]->child("strd"));
    EXPECT_EQ(block.at(29), '4');
    EXPECT_TRUE(block.left(30).contains("20180102030405"));
    EXPECT_FALSE(block.contains("$G"));
    int idx1 = -1;
    int movi = -1;
    for (int index = 0; index < riff.root.children.size(); ++index) {
        if (riff.root.children[index].id == "idx1")
            idx1 = index;
        if (riff.root.children[index].listType == "movi")
            movi = index;
    }
    EXPECT_GE(idx1, 0);
    EXPECT_LT(idx1, movi);

    const QString cut = folder.filePath("cut.avi");
    const ProgramResult truncated
        = RunProgram(Tool(), { "generate", "--truncate", "5000", "--invalid-fixes", cut });
    ASSERT_EQ(truncated.exitCode, 0) << truncated.err.constData();
    EXPECT_EQ(QFileInfo(cut).size(), 5000);
}

} // namespace
} // namespace zq::test
