#include "OptionFile.h"

#include "LanguageTable.h"
#include "ProgramFolder.h"
#include "TestSupport.h"
#include "TextLookup.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;

namespace {

class OptionFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldHome = qgetenv("HOME");
        qputenv("HOME", m_dir.filePath("home").toLocal8Bit());
        QDir().mkpath(m_dir.filePath("home/Documents"));
        QDir().mkpath(m_dir.filePath("program/config"));
        SetProgramFolder(m_dir.filePath("program"));
        TheOptionFile() = {};
        ASSERT_TRUE(TheOptionFile().BuildOptionFilePath());
    }
    void TearDown() override
    {
        SetProgramFolder({});
        qputenv("HOME", m_oldHome);
        TheOptionFile() = {};
    }

    COptionFile& options() { return TheOptionFile(); }
    bool writeOptionText(const QByteArray& text) { return test::writeFile(OptionFilePath(), text); }
    QString captureFolder() const { return m_dir.filePath("home/Documents/CAM_CAPTURE"); }

    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};

TEST_F(OptionFileTest, PathLiesInTheConfigFolderBesideTheProgram)
{
    EXPECT_EQ(OptionFilePath(), m_dir.filePath("program/config/option.ini"));
}

TEST_F(OptionFileTest, MissingFileKeepsDefaults)
{
    EXPECT_FALSE(options().ReadOptionFile());
    EXPECT_EQ(options().m_playValue, 5);
    EXPECT_FALSE(options().m_rearMirror);
    EXPECT_TRUE(options().m_saveDirectory.isEmpty());
}

TEST_F(OptionFileTest, ReadsEveryKnownKey)
{
    ASSERT_TRUE(
        writeOptionText("[OPTION]\r\nSAVE_DIRECTORY=/media/stills\r\nPLAY_VALUE=12\r\nREAR_MIRROR=1\r\n"
                        "LANGUAGE=3\r\nDEFAULT_LANGUAGE=4\r\nMODEL=2\r\nSPEED=1\r\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_saveDirectory, "/media/stills");
    EXPECT_EQ(options().m_playValue, 12);
    EXPECT_TRUE(options().m_rearMirror);
    EXPECT_EQ(options().m_language, 3);
    EXPECT_EQ(options().m_defaultLanguage, 4);
    EXPECT_EQ(options().m_model, 2);
    EXPECT_TRUE(options().m_speedInMiles);
    // A folder named in the file is taken as it is, not created.
    EXPECT_FALSE(QDir("/media/stills").exists());
}

TEST_F(OptionFileTest, EmptySaveDirectoryBecomesTheCreatedCaptureFolder)
{
    ASSERT_TRUE(writeOptionText("SAVE_DIRECTORY=\n"));
    ASSERT_FALSE(QDir(captureFolder()).exists());
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_saveDirectory, captureFolder());
    EXPECT_TRUE(QDir(captureFolder()).exists());
}

TEST_F(OptionFileTest, BooleansFollowTheirOwnRules)
{
    ASSERT_TRUE(writeOptionText("REAR_MIRROR=2\nSPEED=2\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_FALSE(options().m_rearMirror); // only 1 is on
    EXPECT_TRUE(options().m_speedInMiles); // anything but 0 is on
    ASSERT_TRUE(options().WriteOptionFile());
    const QByteArray written = test::readFile(OptionFilePath());
    EXPECT_TRUE(written.contains("\r\nREAR_MIRROR=0\r\n"));
    EXPECT_TRUE(written.contains("\r\nSPEED=1\r\n"));
}

TEST_F(OptionFileTest, OnlyControlCharactersAreTrimmed)
{
    ASSERT_TRUE(writeOptionText(" PLAY_VALUE=7\nLANGUAGE=2\t\n\tMODEL\t=\t3\nSPEED = 1\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_playValue, 5); // the leading space makes another key
    EXPECT_EQ(options().m_language, 2); // a trailing tab is trimmed
    EXPECT_EQ(options().m_model, 3); // tabs around key and value are trimmed
    EXPECT_FALSE(options().m_speedInMiles); // "SPEED " is not a key
}

TEST_F(OptionFileTest, NumbersReadLikeAtoiAndLastValueWins)
{
    ASSERT_TRUE(writeOptionText("PLAY_VALUE=12abc\nMODEL=abc\nLANGUAGE=-3\nDEFAULT_LANGUAGE=1\n"
                                "DEFAULT_LANGUAGE=9\nplay_value=40\nPLAY_VALUE\n[PLAY_VALUE=30]\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_playValue, 12);
    EXPECT_EQ(options().m_model, 0);
    EXPECT_EQ(options().m_language, -3);
    EXPECT_EQ(options().m_defaultLanguage, 9);
}

TEST_F(OptionFileTest, SectionOnlyFileLeavesDefaults)
{
    ASSERT_TRUE(writeOptionText("[OPTION]\r\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_playValue, 5);
    EXPECT_EQ(options().m_language, 0);
    EXPECT_TRUE(options().m_saveDirectory.isEmpty());
}

TEST_F(OptionFileTest, LongLinesAreReadInPiecesOf255Bytes)
{
    // The piece that starts at byte 255 of a long line is a line of its own.
    const QByteArray filler(255, 'x');
    ASSERT_TRUE(writeOptionText(filler + "PLAY_VALUE=8\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_playValue, 8);
}

TEST_F(OptionFileTest, WriteProducesExactlyTheFifteenLines)
{
    ASSERT_TRUE(writeOptionText("# a comment\nUNKNOWN=1\nPLAY_VALUE=3\n"));
    ASSERT_TRUE(options().ReadOptionFile());
    options().m_saveDirectory = QStringLiteral("/home/user/사진");
    options().m_rearMirror = true;
    options().m_language = 1;
    options().m_defaultLanguage = 2;
    options().m_model = 4;
    ASSERT_TRUE(options().WriteOptionFile());
    const QByteArray expected = "[DIRECTORY]\r\nROOT_DIRECTORY=TQ_CORVANE\r\nEVENT_DIRECTORY=MP4_EVENT\r\n"
                                "CONTINUOS_DIRECTORY=MP4_INFINITE\r\n[OPTION]\r\nSAVE_DIRECTORY=/home/user/"
        + QStringLiteral("사진").toUtf8()
        + "\r\nPLAY_VALUE=3\r\nUSE_LOG=FALSE\r\nLOG_LEVEL=3\r\nLOG_TYPE=3\r\nREAR_MIRROR=1\r\n"
          "LANGUAGE=1\r\nDEFAULT_LANGUAGE=2\r\nMODEL=4\r\nSPEED=0\r\n";
    EXPECT_EQ(test::readFile(OptionFilePath()), expected);
    // The replacement leaves no temporary file behind.
    EXPECT_EQ(QDir(m_dir.filePath("program/config")).entryList(QDir::Files | QDir::Hidden),
        QStringList { "option.ini" });
}

TEST_F(OptionFileTest, WrittenFileReadsBackTheSameSettings)
{
    options().m_saveDirectory = QStringLiteral("/tmp/with = sign");
    options().m_playValue = 30;
    options().m_speedInMiles = true;
    ASSERT_TRUE(options().WriteOptionFile());
    TheOptionFile() = {};
    ASSERT_TRUE(options().ReadOptionFile());
    EXPECT_EQ(options().m_saveDirectory, "/tmp/with = sign");
    EXPECT_EQ(options().m_playValue, 30);
    EXPECT_TRUE(options().m_speedInMiles);
}

TEST_F(OptionFileTest, WriteFailsWithoutConfigFolder)
{
    ASSERT_TRUE(QDir(m_dir.filePath("program/config")).removeRecursively());
    EXPECT_FALSE(options().WriteOptionFile());
    EXPECT_FALSE(QDir(m_dir.filePath("program/config")).exists()); // the viewer never creates it
}

TEST_F(OptionFileTest, LanguageIndexChoosesTheStringTable)
{
    ASSERT_TRUE(test::writeFile(m_dir.filePath("program/lang/Italien.lng"), "131\tTutti\n"));
    ASSERT_TRUE(test::writeFile(m_dir.filePath("program/lang/English.lng"), "131\tAll\n"));
    options().m_language = 7;
    EXPECT_EQ(Text(131), "Tutti"); // the first lookup loads the table
    options().m_language = 0;
    options().LoadLanguageDll();
    EXPECT_EQ(Text(131), "All");
    options().m_language = 12;
    options().LoadLanguageDll();
    EXPECT_FALSE(options().HasLanguageLibrary());
    QString text = "unchanged";
    EXPECT_FALSE(LookupText(131, &text));
    EXPECT_EQ(text, "unchanged");
}

TEST(LanguageTable, NamesFollowTheRecorderLibraries)
{
    EXPECT_EQ(LanguageLibraryName(0), "English");
    EXPECT_EQ(LanguageLibraryName(7), "Italien");
    EXPECT_EQ(LanguageLibraryName(11), "Spanish");
    EXPECT_TRUE(LanguageLibraryName(12).isEmpty());
    EXPECT_TRUE(LanguageLibraryName(-1).isEmpty());
}

} // namespace
