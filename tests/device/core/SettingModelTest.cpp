#include "SettingModel.h"

#include "DeviceTestCard.h"
#include "OptionFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::device;
using zq::test::TestCard;

namespace {

class SettingModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.SetClock(test::PinnedNow);
        model.Initialize({});
    }

    // Puts the card into the card list and selects it, as a click in the list does.
    void selectCard()
    {
        model.SetCards({ CardDriveItem { card.root(), 0, "ZQ481K", "/dev/sdb1", "vfat", 32ull << 30 } });
        model.SelectCard(0);
    }
    QStringList writtenLines()
    {
        const QByteArray bytes = card.get("setup.cfg");
        QStringList lines = QString::fromUtf8(bytes).split("\r\n");
        EXPECT_EQ(lines.takeLast(), QString()) << "the file must end in CR LF";
        return lines;
    }

    COptionFile options;
    SettingModel model { options };
    TestCard card;
};

void expectModelDefaults(const SettingModel& m)
{
    EXPECT_EQ(m.trigger.current, 3);
    EXPECT_EQ(m.quality.current, 0);
    EXPECT_TRUE(m.recordAudio);
    EXPECT_EQ(m.volume.CurrentText(), "Level 3");
    EXPECT_EQ(m.channels.current, 1);
    EXPECT_FALSE(m.battery24V);
    EXPECT_EQ(m.cutOff.CurrentText(), "11.9V");
    EXPECT_EQ(m.powerOff.CurrentText(), "12H");
    EXPECT_EQ(m.allocation.current, 0);
    EXPECT_EQ(m.screenOff.current, 0);
    EXPECT_EQ(m.parking.CurrentText(), "일반");
    EXPECT_FALSE(m.nightVision);
}

TEST_F(SettingModelTest, OpensWithModelDefaultsAndThePcClockDisabled)
{
    expectModelDefaults(model);
    EXPECT_EQ(model.modelName, "ZQ481K");
    EXPECT_EQ(model.volumeLabel, "ZQ481K");
    EXPECT_EQ(model.cards.current, -1);
    EXPECT_FALSE(model.clockBox);
    EXPECT_FALSE(model.clockListsEnabled);
    EXPECT_EQ(model.year.CurrentText(), "2026");
    EXPECT_EQ(model.month.CurrentText(), "03");
    EXPECT_EQ(model.second.CurrentText(), "07");
    EXPECT_EQ(model.year.Count(), 20);
    EXPECT_EQ(model.volume.Count(), 6);
    EXPECT_EQ(model.quality.Count(), 3);
    EXPECT_EQ(model.cutOff.Count(), 7);
    EXPECT_EQ(model.hwVersion, "V1.00");
}

TEST_F(SettingModelTest, ReadsEveryFieldIntoItsControlAndWritesItBackByteExact)
{
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(test::TypicalValues())));
    selectCard();
    EXPECT_EQ(model.hwVersion, "V2.10");
    EXPECT_EQ(model.swVersion, "V3.45");
    EXPECT_EQ(model.trigger.current, 5);
    EXPECT_EQ(model.quality.current, 2);
    EXPECT_FALSE(model.recordAudio);
    EXPECT_EQ(model.volume.current, 1);
    EXPECT_EQ(model.channels.current, 0);
    EXPECT_TRUE(model.battery24V);
    EXPECT_EQ(model.cutOff.CurrentText(), "24.4V");
    EXPECT_EQ(model.powerOff.CurrentText(), "48H");
    EXPECT_EQ(model.allocation.current, 1);
    EXPECT_EQ(model.allocationOnCard, 1);
    EXPECT_TRUE(model.speakerMute);
    EXPECT_EQ(model.screenOff.current, 2);
    EXPECT_EQ(model.parking.CurrentText(), "저전력");
    EXPECT_TRUE(model.nightVision);
    EXPECT_EQ(model.passThrough, (std::array<int, 8> { 1, 1, 55, 45, 12, 9, 8, 3 }));

    ASSERT_TRUE(model.WriteCardFiles().ok);
    // The reserved line 8 goes back as 0 whatever the card held; everything else as read.
    QStringList expected = test::TypicalValues();
    expected[8] = "0";
    EXPECT_EQ(card.get("setup.cfg"), test::SetupText(expected));
    EXPECT_FALSE(QFile::exists(card.path("time.cfg"))) << "an unticked clock box writes no time.cfg";
}

TEST_F(SettingModelTest, LfOnlyFileReadsLikeCrLfAndACrLfLineEndCountsOnce)
{
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(test::TypicalValues(), "\n")));
    selectCard();
    EXPECT_EQ(model.trigger.current, 5);
    EXPECT_EQ(model.parking.current, 1);
    // A label-only line with CR LF is 27 bytes to a text-mode reader: an empty value, not the end.
    QStringList values = test::TypicalValues();
    values[3] = "";
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    model.SelectCard(0);
    EXPECT_EQ(model.trigger.current, 0) << "an empty number reads as 0";
    EXPECT_EQ(model.quality.current, 2) << "reading goes on after an empty value";
    values[1] = "";
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    model.SelectCard(0);
    EXPECT_EQ(model.hwVersion, "") << "an empty text value is taken as empty";
}

TEST_F(SettingModelTest, AShortThirdLineEndsTheReading)
{
    QStringList all = test::TypicalValues();
    QByteArray rest;
    for (int i = 3; i < 25; ++i)
        rest += test::RecorderLabels()[i].toLatin1() + all[i].toUtf8() + "\r\n";
    // The third line is 22 bytes, shorter than a label.
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(all.mid(0, 2)) + "S/W Version     : V9\r\n" + rest));
    selectCard();
    EXPECT_EQ(model.hwVersion, "V2.10");
    EXPECT_EQ(model.swVersion, "V1.00");
    expectModelDefaults(model); // later lines are not applied although well formed
    EXPECT_EQ(model.allocationOnCard, SettingModel::kAllocationUnread);
}

TEST_F(SettingModelTest, AnotherProductKeepsTheVersionsAndStoresThemOnTheNextWrite)
{
    QStringList values = test::TypicalValues();
    values[0] = "ZQ999X";
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    selectCard();
    EXPECT_EQ(model.hwVersion, "V1.00");
    EXPECT_EQ(model.swVersion, "V1.00");
    EXPECT_EQ(model.trigger.current, 5) << "the other fields are still read";
    ASSERT_TRUE(model.WriteCardFiles().ok);
    const QStringList lines = writtenLines();
    EXPECT_EQ(lines[0], "Product Name            : ZQ481K");
    EXPECT_EQ(lines[1], "H/W Version             : V1.00");
    EXPECT_EQ(lines[2], "S/W Version             : V1.00");
}

TEST_F(SettingModelTest, RangeRulesSkipOrClearAsTheListsDo)
{
    QStringList values = test::TypicalValues();
    values[3] = "7"; // trigger: out of range, keeps the default 3
    values[4] = "5"; // quality: taken as is, so the selection is cleared
    values[6] = "-1"; // volume: skipped
    values[7] = "2"; // channels: skipped
    values[9] = "0";
    values[10] = "7"; // cut-off: skipped, keeps 12 V default entry 3
    values[11] = "0"; // timer: unchanged
    values[12] = "2"; // allocation: within the accepted 0..2, but no such entry: cleared
    values[14] = "9"; // screen off: cleared
    values[23] = " 1 x"; // leading number as atoi reads it
    values[24] = "abc"; // non-numeric reads as 0
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    selectCard();
    EXPECT_EQ(model.trigger.current, 3);
    EXPECT_EQ(model.quality.current, -1);
    EXPECT_EQ(model.volume.current, 3);
    EXPECT_EQ(model.channels.current, 1);
    EXPECT_EQ(model.cutOff.CurrentText(), "11.9V");
    EXPECT_EQ(model.powerOff.CurrentText(), "12H");
    EXPECT_EQ(model.allocation.current, -1);
    EXPECT_EQ(model.allocationOnCard, 2);
    EXPECT_EQ(model.screenOff.current, -1);
    EXPECT_EQ(model.parking.current, 1);
    EXPECT_FALSE(model.nightVision);

    const QStringList lines = model.SetupLines();
    EXPECT_EQ(lines[4], "REC Video Qulity        : -1");
    EXPECT_EQ(lines[12], "SD Allocation           : -1");

    values[11] = "5";
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    model.SelectCard(0);
    EXPECT_EQ(model.powerOff.CurrentText(), "12H");
    values[9] = "1";
    values[10] = "3";
    values[11] = "4";
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    model.SelectCard(0);
    EXPECT_EQ(model.cutOff.CurrentText(), "23.8V");
    EXPECT_EQ(model.powerOff.CurrentText(), "48H");
}

TEST_F(SettingModelTest, OverlongLineIsReadInPiecesLikeATextModeReader)
{
    QStringList values = test::TypicalValues();
    values[1] = QString(300, 'v'); // 326 bytes: 255 bytes, then the rest as the next "line"
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    selectCard();
    EXPECT_EQ(model.hwVersion, QString(255 - 26, 'v'));
    // The 72 bytes after the first piece count as the S/W Version line; every later field moves down one.
    EXPECT_EQ(model.swVersion, QString(300 - 229 - 26, 'v'));
    EXPECT_EQ(model.trigger.current, 0) << "the S/W line lands on the trigger: \"V3.45\" reads as 0";
    EXPECT_EQ(model.quality.current, -1) << "the trigger's 5 lands on the quality";
}

TEST_F(SettingModelTest, CardWithoutSetupFileGetsModelDefaultsAndKeepsViewerOptions)
{
    model.saveDirectory = "/somewhere/else";
    model.playValue = 8;
    model.rearMirror = true;
    model.trigger.Select(6);
    model.OnClockBox(true);
    selectCard();
    expectModelDefaults(model);
    EXPECT_EQ(model.saveDirectory, "/somewhere/else");
    EXPECT_EQ(model.playValue, 8);
    EXPECT_TRUE(model.rearMirror);
    EXPECT_FALSE(model.clockBox);
    EXPECT_FALSE(model.clockListsEnabled);
    EXPECT_EQ(model.setupPath, card.path("setup.cfg"));
    EXPECT_EQ(model.timePath, card.path("time.cfg"));
}

TEST_F(SettingModelTest, MarkerGoesWhileNothingWasReadAndWhenTheAllocationChanges)
{
    ASSERT_TRUE(card.put("ZQ481K_FMT.BIN", "marker"));
    selectCard();
    EXPECT_TRUE(model.DeletesMarker());
    ASSERT_TRUE(model.WriteCardFiles().ok);
    EXPECT_FALSE(QFile::exists(card.path("ZQ481K_FMT.BIN")));

    // A card whose setup.cfg says allocation 1, left at 1: the marker stays.
    QStringList values = test::TypicalValues();
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(values)));
    ASSERT_TRUE(card.put("ZQ481K_FMT.BIN", "marker"));
    model.SelectCard(0);
    EXPECT_FALSE(model.DeletesMarker());
    ASSERT_TRUE(model.WriteCardFiles().ok);
    EXPECT_EQ(card.get("ZQ481K_FMT.BIN"), "marker");

    model.allocation.Select(0);
    ASSERT_TRUE(model.WriteCardFiles().ok);
    EXPECT_FALSE(QFile::exists(card.path("ZQ481K_FMT.BIN")));
    EXPECT_EQ(writtenLines()[12], "SD Allocation           : 0");
    // What the card holds now is the new allocation: a second OK deletes nothing more.
    EXPECT_FALSE(model.DeletesMarker());
}

TEST_F(SettingModelTest, FailedWriteLeavesTheCardAsItWasAndSaysWhy)
{
    ASSERT_TRUE(card.put("setup.cfg", test::SetupText(test::TypicalValues())));
    ASSERT_TRUE(card.put("ZQ481K_FMT.BIN", "marker"));
    selectCard();
    model.allocation.Select(0);
    model.OnClockBox(true);
    // The stored path now leads into a folder that is gone (the card was pulled and another put in).
    model.setupPath = card.root() + "gone/setup.cfg";
    const CardWriteResult result = model.WriteCardFiles();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.file, "setup.cfg");
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_EQ(card.get("ZQ481K_FMT.BIN"), "marker") << "the marker stays when the settings were not written";
    EXPECT_FALSE(QFile::exists(card.path("time.cfg"))) << "writing stops at the first failure";
    EXPECT_EQ(QDir(card.root()).entryList(QDir::Files).size(), 2) << "no temporary file is left behind";
}

TEST_F(SettingModelTest, ClockWritesAndReadsTimeFile)
{
    selectCard();
    QString error;
    ASSERT_TRUE(model.SetClockTo(QDateTime(QDate(2017, 5, 31), QTime(9, 5, 7)), &error))
        << error.toStdString();
    EXPECT_TRUE(model.clockListsEnabled);
    ASSERT_TRUE(model.WriteCardFiles().ok);
    EXPECT_EQ(card.get("time.cfg"), "17/05/31\r\n09/05/07\r\n");

    // Any separator is accepted on reading; the year gets "20" in front.
    ASSERT_TRUE(card.put("time.cfg", "19-12-24\n23.59.58\n"));
    model.SelectCard(0);
    EXPECT_EQ(model.year.CurrentText(), "2019");
    EXPECT_EQ(model.day.CurrentText(), "24");
    EXPECT_EQ(model.minute.CurrentText(), "59");
    EXPECT_EQ(model.second.CurrentText(), "58");
    // A file with only a date leaves the time lists as they were; a blank file changes nothing.
    ASSERT_TRUE(card.put("time.cfg", "21/01/02\r\n"));
    model.SelectCard(0);
    EXPECT_EQ(model.year.CurrentText(), "2021");
    EXPECT_EQ(model.minute.CurrentText(), "59") << "the time lists keep what the last time.cfg set";
    ASSERT_TRUE(card.put("time.cfg", ""));
    model.year.Select(5);
    model.ApplyTimeText("");
    EXPECT_EQ(model.year.current, 5);

    EXPECT_FALSE(model.SetClockTo(QDateTime(QDate(2031, 1, 1), QTime(0, 0)), &error));
    EXPECT_TRUE(error.contains("2011..2030"));
}

TEST_F(SettingModelTest, BatterySwitchKeepsTheIndexNotTheVoltage)
{
    model.cutOff.Select(6);
    EXPECT_EQ(model.cutOff.CurrentText(), "12.5V");
    model.OnBattery(true);
    EXPECT_EQ(model.cutOff.CurrentText(), "24.4V");
    model.cutOff.current = -1;
    model.OnBattery(false);
    EXPECT_EQ(model.cutOff.current, 0) << "no selection counts as entry 0";
}

TEST_F(SettingModelTest, DefaultsWithoutCardResetTheViewerOptionsToo)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    QDir().mkpath(home.path() + "/Documents");
    model.playValue = 9;
    model.rearMirror = true;
    model.saveDirectory = "/x";
    model.trigger.Select(0);
    model.OnDefaults();
    qputenv("HOME", oldHome);
    expectModelDefaults(model);
    EXPECT_EQ(model.playValue, 5);
    EXPECT_FALSE(model.rearMirror);
    EXPECT_TRUE(model.saveDirectory.endsWith("/CAM_CAPTURE"));
    EXPECT_FALSE(model.skipViewerDefaults);
}

TEST_F(SettingModelTest, SetFieldRefusesWhatTheDialogCannotShow)
{
    QString error;
    EXPECT_TRUE(model.SetSetupField("Acc Trigger Level", "6", &error));
    EXPECT_EQ(model.trigger.current, 6);
    EXPECT_FALSE(model.SetSetupField("Acc Trigger Level", "7", &error));
    EXPECT_TRUE(error.contains("Acc Trigger Level") && error.contains("0..6")) << error.toStdString();
    EXPECT_FALSE(model.SetSetupField("Power Off Timer", "0", &error));
    EXPECT_TRUE(error.contains("1..4"));
    EXPECT_TRUE(model.SetSetupField("power off timer", "4", &error));
    EXPECT_EQ(model.powerOff.CurrentText(), "48H");
    EXPECT_FALSE(model.SetSetupField("SPK Vol", "2x", &error));
    EXPECT_FALSE(model.SetSetupField("Center_X", "11", &error));
    EXPECT_TRUE(error.contains("10"));
    EXPECT_TRUE(model.SetSetupField("Center_X", "10", &error));
    EXPECT_FALSE(model.SetSetupField("Product Name", "ZQ999X", &error));
    EXPECT_FALSE(model.SetSetupField("No Such Field", "1", &error));
    EXPECT_TRUE(error.contains("Acc Trigger Level"));
    model.cutOff.Select(2);
    EXPECT_TRUE(model.SetSetupField("Car Battery Volt", "1", &error));
    EXPECT_EQ(model.cutOff.CurrentText(), "23.4V");
}

TEST_F(SettingModelTest, OkWritesTheViewerOptionsAndKeepsLanguageAndSpeedUnit)
{
    QTemporaryDir program;
    const QString path = program.path() + "/option.ini";
    OptionFilePath() = path;
    options.m_language = 2;
    options.m_speedInMiles = true;
    SettingModel fresh(options);
    fresh.SetClock(test::PinnedNow);
    fresh.Initialize({});
    fresh.playValue = 7;
    ASSERT_TRUE(fresh.SaveViewerOptions());
    OptionFilePath().clear();
    const QByteArray text = test::readFile(path);
    EXPECT_TRUE(text.contains("LANGUAGE=2\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("SPEED=1\r\n"));
    EXPECT_TRUE(text.contains("PLAY_VALUE=7\r\n"));
    EXPECT_TRUE(text.contains("MODEL=0\r\n"));
}

} // namespace
