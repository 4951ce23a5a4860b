#include "CFormatDlg.h"
#include "CardBackup.h"
#include "CardFormatService.h"
#include "DialogTestFixture.h"

#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

using namespace zq;
using namespace zq::test;
using zq::device::CFormatDlg;
using zq::platform::CardFormatService;

namespace {

class FormatTest : public DialogTestFixture {
protected:
    void putRecorderFiles()
    {
        ASSERT_TRUE(writeFile(card("SYSTEM_INFO1.BIN"), QByteArray(4096, '\x11')));
        ASSERT_TRUE(writeFile(card("system_info2.bin"), QByteArray(512, '\x22')));
        ASSERT_TRUE(writeFile(card("setup.cfg"), SetupText(TypicalValues())));
        ASSERT_TRUE(writeFile(card("time.cfg"), "17/05/31\r\n09/05/07\r\n"));
        ASSERT_TRUE(writeFile(card("ZQ481K_FMT.BIN"), "marker"));
        ASSERT_TRUE(writeFile(card("NORMAL/20170531_090000D.avi"), QByteArray(10000, 'v')));
    }
    void expectRecorderFilesBack()
    {
        EXPECT_EQ(readFile(card("SYSTEM_INFO1.BIN")), QByteArray(4096, '\x11'));
        EXPECT_FALSE(QFile::exists(card("system_info1.bin"))) << "restored under the name it had";
        EXPECT_EQ(readFile(card("system_info2.bin")), QByteArray(512, '\x22'));
        EXPECT_EQ(readFile(card("setup.cfg")), SetupText(TypicalValues()));
    }
    static QString backupBase() { return device::CardBackup::DefaultBaseFolder(); }
    QStringList backups() const { return QDir(backupBase()).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }
    // Opens the dialog on the card, asks for the format and answers the confirmation and the format dialog.
    void formatThrough(device::CSettingDlg& d, bool start, int messagesAfter = 0)
    {
        list(d, 1028)->setCurrentIndex(0);
        answers.Press(QMessageBox::Yes);
        answers.Then([start](QWidget* w) {
            auto* format = qobject_cast<CFormatDlg*>(w);
            ASSERT_NE(format, nullptr);
            EXPECT_EQ(format->LabelEdit()->text(), "ZQ481K");
            (start ? format->StartButton() : format->CancelButton())->click();
        });
        for (int i = 0; i < messagesAfter; ++i)
            answers.Press(QMessageBox::Ok);
        control<QPushButton>(d, 1029)->click();
    }
};

TEST_F(FormatTest, ServiceTalksToUdisksInOrder)
{
    CardFormatService service;
    QString reason;
    EXPECT_TRUE(service.CanFormat("/dev/sdb1", "vfat", &reason)) << reason.toStdString();
    EXPECT_FALSE(service.CanFormat("/dev/sdz9", "vfat", &reason));
    udisks->Inject("cannot-format");
    EXPECT_FALSE(service.CanFormat("/dev/sdb1", "exfat", &reason));
    EXPECT_TRUE(reason.contains("exFAT")) << reason.toStdString();
    udisks->Inject("cannot-format", false);

    ASSERT_TRUE(writeFile(card("file.txt"), "x"));
    QEventLoop loop;
    bool ok = false;
    QString root, error;
    QObject::connect(
        &service, &CardFormatService::finished, [&](bool success, const QString& r, const QString& e) {
            ok = success;
            root = r;
            error = e;
            loop.quit();
        });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    service.StartFormat("/dev/sdb1", "exfat", "MYCARD");
    loop.exec();
    EXPECT_TRUE(ok) << error.toStdString();
    EXPECT_EQ(root, cardRoot());
    EXPECT_FALSE(QFile::exists(card("file.txt")));
    const QStringList calls = udisks->Calls().filter(QRegularExpression("^(Unmount|Format|Mount)"));
    ASSERT_EQ(calls.size(), 3);
    EXPECT_TRUE(calls[0].startsWith("Unmount /org/freedesktop/UDisks2/block_devices/sdb1"));
    EXPECT_EQ(calls[1], R"(Format exfat {"label": "MYCARD", "update-partition-type": true})");
    EXPECT_TRUE(calls[2].startsWith("Mount "));
}

TEST_F(FormatTest, SystemDiskIsNeverOffered)
{
    udisks.reset();
    udisks = std::make_unique<FakeUdisks>(
        work.path(), QVector<FakeUdisks::Device> { { "sdb1", "/dev/sdb1", cardRoot(), true } });
    ASSERT_TRUE(udisks->Started());
    auto d = makeDialog();
    EXPECT_EQ(list(*d, 1028)->count(), 0);
}

TEST_F(FormatTest, CardsOf100GiBAndMoreAreNeverListed)
{
    // A 128 GB card (about 119 GiB) and a 64 GB card (about 59 GiB) beside the 32 GB one.
    QDir().mkpath(work.path() + "/big");
    QDir().mkpath(work.path() + "/mid");
    FakeVolumes::Disk big;
    big.name = "sdc";
    big.mountPoint = work.path() + "/big";
    big.sectors = 128000000000ull / 512;
    volumes->Add(big);
    FakeVolumes::Disk mid;
    mid.name = "sdd";
    mid.mountPoint = work.path() + "/mid";
    mid.sectors = 64000000000ull / 512;
    volumes->Add(mid);
    udisks.reset();
    udisks = std::make_unique<FakeUdisks>(work.path(),
        QVector<FakeUdisks::Device> { { "sdb1", "/dev/sdb1", cardRoot() },
            { "sdc1", "/dev/sdc1", work.path() + "/big" }, { "sdd1", "/dev/sdd1", work.path() + "/mid" } });
    ASSERT_TRUE(udisks->Started());
    auto d = makeDialog();
    ASSERT_EQ(list(*d, 1028)->count(), 2);
    EXPECT_TRUE(list(*d, 1028)->itemText(1).contains("/mid/"));
    // The 64 GB card gets exFAT, the 32 GB one FAT32.
    EXPECT_EQ(d->Model().CardItems()[1].totalBytes, 64000000000ull - 2048 * 512);
    EXPECT_TRUE(udisks->Calls().contains("CanFormat exfat"));
    EXPECT_TRUE(udisks->Calls().contains("CanFormat vfat"));
}

TEST_F(FormatTest, FormatKeepsTheRecorderFilesAndResetsTheLoadedCard)
{
    putRecorderFiles();
    auto d = makeDialog(cardRoot());
    int resets = 0;
    QObject::connect(d.get(), &device::CSettingDlg::resetSource, [&resets] { ++resets; });
    formatThrough(*d, true);
    ASSERT_GE(answers.shown.size(), 2);
    EXPECT_TRUE(answers.shown[0].contains("All data on the SD card will be erased"));
    expectRecorderFilesBack();
    EXPECT_FALSE(QFile::exists(card("time.cfg")));
    EXPECT_FALSE(QFile::exists(card("ZQ481K_FMT.BIN")));
    EXPECT_FALSE(QFile::exists(card("NORMAL/20170531_090000D.avi")));
    EXPECT_TRUE(backups().isEmpty()) << "a verified restore removes its backup";
    EXPECT_EQ(answers.shown.size(), 2) << answers.shown.join(" | ").toStdString();
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(d->SourceReset());
    EXPECT_TRUE(
        udisks->Calls().contains(R"(Format vfat {"label": "ZQ481K", "update-partition-type": true})"));
}

TEST_F(FormatTest, FormatWithoutRecorderFilesOfAnotherCard)
{
    ASSERT_TRUE(writeFile(card("NORMAL/20170531_090000D.avi"), QByteArray(100, 'v')));
    auto d = makeDialog(work.path() + "/elsewhere/");
    int resets = 0;
    QObject::connect(d.get(), &device::CSettingDlg::resetSource, [&resets] { ++resets; });
    formatThrough(*d, true);
    EXPECT_TRUE(QDir(cardRoot()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(backupBase())) << "nothing to back up, no folder";
    EXPECT_EQ(resets, 0) << "the card formatted is not the one loaded";
}

TEST_F(FormatTest, CancelTouchesNothingButStillResetsTheLoadedCard)
{
    putRecorderFiles();
    auto d = makeDialog(cardRoot());
    int resets = 0;
    QObject::connect(d.get(), &device::CSettingDlg::resetSource, [&resets] { ++resets; });
    formatThrough(*d, false);
    expectRecorderFilesBack();
    EXPECT_TRUE(QFile::exists(card("NORMAL/20170531_090000D.avi")));
    EXPECT_TRUE(udisks->Calls().filter(QRegularExpression("^Format ")).isEmpty());
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_EQ(resets, 1);
}

TEST_F(FormatTest, NoConfirmationNoFormat)
{
    putRecorderFiles();
    auto d = makeDialog(cardRoot());
    list(*d, 1028)->setCurrentIndex(0);
    answers.Press(QMessageBox::No);
    control<QPushButton>(*d, 1029)->click();
    EXPECT_TRUE(udisks->Calls().filter("Unmount").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(backupBase()));
    EXPECT_FALSE(d->SourceReset());
}

TEST_F(FormatTest, FailedFormatIsReportedAndTheFilesStay)
{
    putRecorderFiles();
    udisks->Inject("fail-format");
    auto d = makeDialog();
    formatThrough(*d, true, 1); // then the error message
    ASSERT_EQ(answers.shown.size(), 3) << answers.shown.join(" | ").toStdString();
    EXPECT_TRUE(answers.shown[2].contains("mkfs.vfat exited with status 1"))
        << answers.shown[2].toStdString();
    expectRecorderFilesBack();
    EXPECT_TRUE(udisks->Calls().filter("Mount").size() == 1) << "the card is mounted again after a failure";
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(FormatTest, FailedBackupCancelsTheFormat)
{
    putRecorderFiles();
    ASSERT_TRUE(writeFile(work.path() + "/data", "a file where the data folder should be"));
    auto d = makeDialog(cardRoot());
    list(*d, 1028)->setCurrentIndex(0);
    answers.Press(QMessageBox::Yes);
    answers.Press(QMessageBox::Ok);
    control<QPushButton>(*d, 1029)->click();
    ASSERT_EQ(answers.shown.size(), 2);
    EXPECT_TRUE(answers.shown[1].contains("could not be backed up")) << answers.shown[1].toStdString();
    EXPECT_TRUE(udisks->Calls().filter("Unmount").isEmpty());
    EXPECT_TRUE(QFile::exists(card("NORMAL/20170531_090000D.avi")));
    EXPECT_FALSE(d->SourceReset());
}

TEST_F(FormatTest, RestoreThatFailsLeavesTheBackupAndNamesIt)
{
    putRecorderFiles();
    udisks->Inject("vanish"); // the card is gone after the format and cannot be mounted again
    auto d = makeDialog();
    formatThrough(*d, true, 2);
    ASSERT_EQ(answers.shown.size(), 4) << answers.shown.join(" | ").toStdString();
    const QStringList kept = backups();
    ASSERT_EQ(kept.size(), 1);
    const QString folder = backupBase() + "/" + kept[0];
    EXPECT_TRUE(folder.startsWith(work.path() + "/data/"));
    EXPECT_TRUE(answers.shown[2].contains(folder)) << answers.shown[2].toStdString();
    EXPECT_TRUE(answers.shown[3].contains("cannot be mounted again")) << answers.shown[3].toStdString();
    EXPECT_EQ(readFile(folder + "/SYSTEM_INFO1.BIN"), QByteArray(4096, '\x11'));
    EXPECT_EQ(readFile(folder + "/setup.cfg"), SetupText(TypicalValues()));
}

TEST_F(FormatTest, FormatDialogScreenshot)
{
    device::CardDriveItem item { cardRoot(), 0, "ZQ481K", "/dev/sdb1", "vfat", 31914983424ull };
    CardFormatService service;
    CFormatDlg dialog(nullptr, service, item, "ZQ481K");
    dialog.show();
    EXPECT_EQ(dialog.LabelEdit()->maxLength(), 11);
    const QString folder = QStringLiteral(ZQ_BINARY_DIR) + "/screenshots/device";
    QDir().mkpath(folder);
    EXPECT_TRUE(dialog.grab().toImage().save(folder + "/format.png"));
}

} // namespace
