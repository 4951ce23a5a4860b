#include "CardFiles.h"

#include "DeviceTestCard.h"
#include "SetupFile.h"
#include "TimeFile.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::device;
using zq::test::TestCard;

namespace {

TEST(CardFilesTest, LabelsAreTheRecordersByteForByte)
{
    for (int line = 0; line < kSetupLineCount; ++line) {
        EXPECT_EQ(SetupLabel(line), test::RecorderLabels()[line].toLatin1()) << line;
        EXPECT_EQ(SetupLabel(line).size(), kSetupLabelBytes);
    }
    EXPECT_EQ(SetupFieldName(4), "REC Video Qulity");
    EXPECT_EQ(SetupLineForName("night version onoff"), 24);
    EXPECT_EQ(SetupLineForName("Sensitivity_FCWS"), 18);
    EXPECT_EQ(SetupLineForName("Night Vision"), -1);
}

TEST(CardFilesTest, FileExistsInRootMatchesExactNamesOfFilesOnly)
{
    TestCard card;
    ASSERT_TRUE(card.put("SETUP.CFG", "x"));
    ASSERT_TRUE(QDir().mkpath(card.path("system_info1.bin")));
    EXPECT_FALSE(FileExistsInRoot(card.root(), "setup.cfg"));
    EXPECT_TRUE(FileExistsInRoot(card.root(), "SETUP.CFG"));
    EXPECT_TRUE(FileExistsInRoot(card.root(), "setup.cfg", Qt::CaseInsensitive));
    EXPECT_EQ(FindFileInRoot(card.root(), "Setup.Cfg", Qt::CaseInsensitive), "SETUP.CFG");
    EXPECT_FALSE(FileExistsInRoot(card.root(), "system_info1.bin")) << "a folder is not a file";
    EXPECT_FALSE(FileExistsInRoot(QString(), "SETUP.CFG"));
    EXPECT_FALSE(FileExistsInRoot(card.root() + "missing/", "SETUP.CFG"));
}

TEST(CardFilesTest, AtomicWriteReplacesWholeOrNotAtAll)
{
    TestCard card;
    ASSERT_TRUE(card.put("setup.cfg", "old"));
    EXPECT_TRUE(WriteFileAtomically(card.path("setup.cfg"), "new text").ok);
    EXPECT_EQ(card.get("setup.cfg"), "new text");

    bool asked = false;
    const CardWriteResult refused = WriteFileAtomically(
        card.path("setup.cfg"), "newer", [&] { return asked = true, false; }, "no card");
    EXPECT_TRUE(asked);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.reason, "no card");
    EXPECT_EQ(card.get("setup.cfg"), "new text");
    EXPECT_EQ(QDir(card.root()).entryList(QDir::Files), QStringList { "setup.cfg" });

    // A file standing where the folder should be: the write cannot even start.
    ASSERT_TRUE(card.put("blocked", "file"));
    const CardWriteResult failed = WriteFileAtomically(card.path("blocked/time.cfg"), "x");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.file, "time.cfg");
    EXPECT_FALSE(failed.reason.isEmpty());
}

TEST(CardFilesTest, TimeTextByPosition)
{
    const TimeFields f = ParseTimeText("17/05/31\r\n09/05/07\r\n");
    EXPECT_EQ(f.year, "2017");
    EXPECT_EQ(f.month, "05");
    EXPECT_EQ(f.day, "31");
    EXPECT_EQ(f.hour, "09");
    EXPECT_EQ(f.second, "07");
    const TimeFields shortLine = ParseTimeText("17/5\n");
    EXPECT_EQ(shortLine.month, "5");
    EXPECT_EQ(shortLine.day, "");
    EXPECT_EQ(ParseTimeText("\n").year, "") << "no year digits: no year, not \"20\"";
    EXPECT_EQ(
        FormatTimeLines({ "2017", "05", "31", "09", "05", "07" }), (QStringList { "17/05/31", "09/05/07" }));
}

TEST(CardFilesTest, LeadingIntReadsAsAtoiAndSaturates)
{
    EXPECT_EQ(LeadingInt(" 42abc"), 42);
    EXPECT_EQ(LeadingInt("-7"), -7);
    EXPECT_EQ(LeadingInt("+3"), 3);
    EXPECT_EQ(LeadingInt("x1"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInt("-99999999999999999999"), INT_MIN);
}

} // namespace
