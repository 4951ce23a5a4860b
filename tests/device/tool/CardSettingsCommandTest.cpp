#include "DeviceTestCard.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

using zq::test::TestCard;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QStringList setup() const
    {
        QStringList lines;
        for (const QJsonValue& v : json().value("setup").toArray())
            lines.append(v.toString());
        return lines;
    }
};

ToolRun runTool(QStringList args)
{
    args.prepend("card-settings");
    QProcess process;
    process.start(zq::test::bundleDir() + "/zq481k-tool", args);
    ToolRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString value(const QStringList& lines, int line)
{
    return lines.value(line).mid(26);
}

class CardSettingsCommandTest : public ::testing::Test {
protected:
    TestCard card;
};

TEST_F(CardSettingsCommandTest, CardWithoutSetupFileShowsTheModelDefaults)
{
    const ToolRun run = runTool({ card.root(), "--json" });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.setup();
    ASSERT_EQ(lines.size(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_TRUE(lines[i].startsWith(zq::test::RecorderLabels()[i])) << i;
    const QStringList expected = { "ZQ481K", "V1.00", "V1.00", "3", "0", "1", "3", "1", "0", "0", "3", "2",
        "0", "0", "0", "0", "0", "60", "60", "10", "0", "0", "0", "0", "0" };
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(value(lines, i), expected[i]) << lines[i].toStdString();
    EXPECT_TRUE(run.json().value("time").isNull());
    EXPECT_TRUE(run.json().value("deletes_marker").toBool())
        << "nothing read: the allocation on card is unknown";
    EXPECT_TRUE(QDir(card.root()).isEmpty()) << "without --write nothing is written";
}

TEST_F(CardSettingsCommandTest, ShortThirdLineAndAnotherProductName)
{
    QStringList values = zq::test::TypicalValues();
    values[0] = "OTHER1";
    QByteArray text = zq::test::SetupText(values.mid(0, 2)) + "S/W Version   : \r\n";
    for (int i = 3; i < 25; ++i)
        text += zq::test::RecorderLabels()[i].toLatin1() + values[i].toUtf8() + "\r\n";
    ASSERT_TRUE(card.put("setup.cfg", text));
    const ToolRun run = runTool({ card.root(), "--json" });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.setup();
    EXPECT_EQ(value(lines, 0), "ZQ481K") << "the product written is the model selected";
    EXPECT_EQ(value(lines, 1), "V1.00") << "versions of another product are not taken";
    EXPECT_EQ(value(lines, 3), "3") << "reading stopped at the short line";
    EXPECT_EQ(value(lines, 9), "0");
    EXPECT_TRUE(run.json().value("deletes_marker").toBool());
}

TEST_F(CardSettingsCommandTest, TwentyFourVoltCutOffAndRefusedValues)
{
    QStringList values = zq::test::TypicalValues();
    values[9] = "1";
    values[10] = "3";
    ASSERT_TRUE(card.put("setup.cfg", zq::test::SetupText(values)));
    ToolRun run = runTool({ card.root(), "--json", "--set", "Car Battery Volt=0" });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(value(run.setup(), 9), "0");
    EXPECT_EQ(value(run.setup(), 10), "3") << "the cut-off index stays when the battery changes";
    EXPECT_FALSE(run.json().value("deletes_marker").toBool());

    run = runTool({ card.root(), "--set", "Battery CutOff Volt=7" });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("Battery CutOff Volt") && run.err.contains("0..6")) << run.err.toStdString();
    run = runTool({ card.root(), "--set", "Power Off Timer=0" });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("1..4"));
    run = runTool({ card.root(), "--set", "Sensitivity_LDWS=61" });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("55")) << "the only value accepted is the card's";
    run = runTool({ card.root(), "--set", "Trigger" });
    EXPECT_EQ(run.exitCode, 2);
    run = runTool({ card.root(), "--clock", "2031-01-01 00:00:00" });
    EXPECT_EQ(run.exitCode, 2);
    run = runTool({ card.path("setup.cfg") });
    EXPECT_EQ(run.exitCode, 2) << "a file is not a card root";
    run = runTool({});
    EXPECT_EQ(run.exitCode, 2);

    // Out-of-range values on the card itself are skipped or cleared as the dialog's lists do.
    values[4] = "9";
    values[11] = "7";
    ASSERT_TRUE(card.put("setup.cfg", zq::test::SetupText(values)));
    run = runTool({ card.root(), "--json" });
    EXPECT_EQ(value(run.setup(), 4), "-1");
    EXPECT_EQ(value(run.setup(), 11), "2");
}

TEST_F(CardSettingsCommandTest, WriteStoresByteExactFilesAndTheMarkerRule)
{
    ASSERT_TRUE(card.put("setup.cfg", zq::test::SetupText(zq::test::TypicalValues())));
    ASSERT_TRUE(card.put("ZQ481K_FMT.BIN", "m"));
    ToolRun run = runTool({ card.root(), "--set", "SD Allocation=0", "--set", "Acc Trigger Level=1",
        "--clock", "2017-05-31 09:05:07", "--write" });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("ZQ481K_FMT.BIN: deleted"));
    QStringList expected = zq::test::TypicalValues();
    expected[3] = "1";
    expected[8] = "0";
    expected[12] = "0";
    EXPECT_EQ(card.get("setup.cfg"), zq::test::SetupText(expected));
    EXPECT_EQ(card.get("time.cfg"), "17/05/31\r\n09/05/07\r\n");
    EXPECT_FALSE(QFile::exists(card.path("ZQ481K_FMT.BIN")));
    run = runTool({ card.root(), "--json" });
    EXPECT_FALSE(run.json().value("deletes_marker").toBool());
}

TEST_F(CardSettingsCommandTest, FailedWriteExitsWithOneAndTheReason)
{
    ASSERT_TRUE(QDir().mkpath(card.path("setup.cfg"))); // a folder in the file's place
    const ToolRun run = runTool({ card.root(), "--write" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("setup.cfg")) << run.err.toStdString();
}

} // namespace
