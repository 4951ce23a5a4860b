#include "CardBackup.h"

#include "DeviceTestCard.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::device;
using zq::test::TestCard;

namespace {

class CardBackupTest : public ::testing::Test {
protected:
    // What a format does to the card: every file and folder goes.
    void wipeCard()
    {
        QDir dir(card.root());
        for (const QString& name : dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            QFileInfo(dir.filePath(name)).isDir() ? (void)QDir(dir.filePath(name)).removeRecursively()
                                                  : (void)QFile::remove(dir.filePath(name));
    }
    QString base() const { return store.path() + "/card-backup"; }

    TestCard card;
    QTemporaryDir store;
    CardBackup backup;
    QString error;
};

TEST_F(CardBackupTest, CopiesVerifiesAndRestoresUnderTheNamesTheFilesHad)
{
    const QByteArray info(5000, '\x5a');
    ASSERT_TRUE(card.put("SYSTEM_INFO1.BIN", info));
    ASSERT_TRUE(card.put("system_info2.bin", "two"));
    ASSERT_TRUE(card.put("Setup.Cfg", "settings"));
    ASSERT_TRUE(card.put("time.cfg", "17/05/31\r\n"));
    ASSERT_TRUE(backup.Create(card.root(), base(), &error)) << error.toStdString();
    ASSERT_EQ(backup.Items().size(), 3);
    EXPECT_EQ(backup.Items()[0].cardName, "SYSTEM_INFO1.BIN");
    EXPECT_EQ(backup.Items()[2].cardName, "Setup.Cfg");
    EXPECT_EQ(card.get("SYSTEM_INFO1.BIN"), info) << "a backup copies, it never moves";
    EXPECT_TRUE(backup.Folder().startsWith(base()));

    wipeCard();
    ASSERT_TRUE(backup.Restore(card.root(), &error)) << error.toStdString();
    EXPECT_EQ(card.get("SYSTEM_INFO1.BIN"), info);
    EXPECT_EQ(card.get("system_info2.bin"), "two");
    EXPECT_EQ(card.get("Setup.Cfg"), "settings");
    EXPECT_FALSE(QFile::exists(card.path("time.cfg"))) << "time.cfg is not carried";
    EXPECT_FALSE(QFileInfo::exists(backup.Folder())) << "a verified restore removes the backup";
}

TEST_F(CardBackupTest, NothingToCarryMakesNoFolder)
{
    ASSERT_TRUE(card.put("time.cfg", "x"));
    ASSERT_TRUE(backup.Create(card.root(), base(), &error));
    EXPECT_TRUE(backup.IsEmpty());
    EXPECT_FALSE(QFileInfo::exists(base()));
    EXPECT_TRUE(backup.Restore(card.root(), &error));
}

TEST_F(CardBackupTest, EachBackupHasAFolderOfItsOwn)
{
    ASSERT_TRUE(card.put("setup.cfg", "a"));
    CardBackup first;
    ASSERT_TRUE(first.Create(card.root(), base(), &error));
    ASSERT_TRUE(backup.Create(card.root(), base(), &error));
    EXPECT_NE(first.Folder(), backup.Folder());
}

TEST_F(CardBackupTest, BackupThatCannotBeMadeFailsAndLeavesNothing)
{
    ASSERT_TRUE(card.put("setup.cfg", "a"));
    ASSERT_TRUE(test::writeFile(base(), "a file where the folder should be"));
    EXPECT_FALSE(backup.Create(card.root(), base(), &error));
    EXPECT_TRUE(error.contains(base())) << error.toStdString();
    EXPECT_TRUE(backup.IsEmpty());
    EXPECT_EQ(card.get("setup.cfg"), "a");
}

TEST_F(CardBackupTest, RestoreThatFailsKeepsTheBackupAndNamesItsFolder)
{
    ASSERT_TRUE(card.put("setup.cfg", "a"));
    ASSERT_TRUE(backup.Create(card.root(), base(), &error));
    EXPECT_FALSE(backup.Restore(card.root() + "unmounted/", &error));
    EXPECT_TRUE(error.contains(backup.Folder())) << error.toStdString();
    EXPECT_TRUE(error.contains("setup.cfg"));
    EXPECT_TRUE(QFile::exists(backup.Folder() + "/setup.cfg"));
    EXPECT_FALSE(backup.Restore(QString(), &error));
    // Once the card is back, the same backup can still be restored.
    EXPECT_TRUE(backup.Restore(card.root(), &error));
}

} // namespace
