#include "FolderHistory.h"

#include "TestSupport.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using zq::FolderHistory;

namespace {

class FolderHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QSettings& settings() { return m_settings; }
    QTemporaryDir m_dir;
    QSettings m_settings { m_dir.filePath(QStringLiteral("history.ini")), QSettings::IniFormat };
};

TEST_F(FolderHistoryTest, KeysFollowThePrefix)
{
    const FolderHistory history;
    EXPECT_EQ(history.Section(), QStringLiteral("FolderHistory"));
    EXPECT_EQ(history.EntryKey(0), QStringLiteral("Folder0000"));
    EXPECT_EQ(history.EntryKey(49), QStringLiteral("Folder0049"));
    EXPECT_EQ(history.EntryKey(12345), QStringLiteral("Folder12345"));
    EXPECT_EQ(history.LastKey(), QStringLiteral("Folder"));
    EXPECT_EQ(FolderHistory(QStringLiteral("S"), QString()).LastKey(), QStringLiteral("Last"));
    EXPECT_EQ(FolderHistory(QStringLiteral("S"), QString()).EntryKey(3), QStringLiteral("0003"));
}

TEST_F(FolderHistoryTest, LoadsInOrderUpToTheMaximumOrTheFirstGap)
{
    settings().beginGroup(QStringLiteral("FolderHistory"));
    for (int i = 0; i < 60; ++i)
        settings().setValue(
            QStringLiteral("Folder%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("/f/%1").arg(i));
    settings().setValue(QStringLiteral("Folder"), QStringLiteral("/typed"));
    settings().endGroup();

    FolderHistory history;
    FolderHistory::Loaded loaded = history.Load(settings());
    ASSERT_EQ(loaded.entries.size(), 50);
    EXPECT_EQ(loaded.entries.first(), QStringLiteral("/f/0"));
    EXPECT_EQ(loaded.entries.last(), QStringLiteral("/f/49"));
    EXPECT_EQ(loaded.lastText, QStringLiteral("/typed"));

    // An empty entry ends the list even when later keys hold folders.
    settings().setValue(QStringLiteral("FolderHistory/Folder0003"), QString());
    loaded = history.Load(settings());
    EXPECT_EQ(loaded.entries, QStringList({ "/f/0", "/f/1", "/f/2" }));
}

TEST_F(FolderHistoryTest, KeepsOnlyExistingFoldersWhenAsked)
{
    const QString there = m_dir.filePath(QStringLiteral("there"));
    ASSERT_TRUE(QDir().mkpath(there));
    settings().setValue(QStringLiteral("FolderHistory/Folder0000"), m_dir.filePath(QStringLiteral("gone")));
    settings().setValue(QStringLiteral("FolderHistory/Folder0001"), there);

    FolderHistory history;
    EXPECT_EQ(history.Load(settings()).entries.size(), 2);
    history.SetKeepOnlyExisting(true);
    EXPECT_EQ(history.Load(settings()).entries, QStringList({ there }));
}

TEST_F(FolderHistoryTest, SavePutsTheChoiceFirstWithoutRepeatsAndTrimsOldKeys)
{
    QStringList entries;
    for (int i = 0; i < 55; ++i) {
        entries.append(QStringLiteral("/f/%1").arg(i));
        settings().setValue(
            QStringLiteral("FolderHistory/Folder%1").arg(i, 4, 10, QLatin1Char('0')), entries.last());
    }
    FolderHistory history;
    // "/f/7/" is the entry "/f/7": it moves to the front instead of appearing twice.
    QStringList saved = history.Save(settings(), QStringLiteral("/f/7/"), entries);
    ASSERT_EQ(saved.size(), 50);
    EXPECT_EQ(saved.mid(0, 3), QStringList({ "/f/7/", "/f/0", "/f/1" }));
    EXPECT_EQ(saved.count(QStringLiteral("/f/7")), 0);
    EXPECT_EQ(saved.last(), QStringLiteral("/f/49"));
    EXPECT_EQ(
        settings().value(QStringLiteral("FolderHistory/Folder0000")).toString(), QStringLiteral("/f/7/"));
    EXPECT_EQ(
        settings().value(QStringLiteral("FolderHistory/Folder0049")).toString(), QStringLiteral("/f/49"));
    EXPECT_FALSE(settings().contains(QStringLiteral("FolderHistory/Folder0050")));
    EXPECT_FALSE(settings().contains(QStringLiteral("FolderHistory/Folder0054")));
    EXPECT_EQ(settings().value(QStringLiteral("FolderHistory/Folder")).toString(), QStringLiteral("/f/7/"));
    EXPECT_EQ(history.Load(settings()).entries, saved);

    // An empty choice adds nothing; a short list removes the keys of the longer one.
    saved = history.Save(settings(), QString(), { "/a", "/b", "/a" });
    EXPECT_EQ(saved, QStringList({ "/a", "/b" }));
    EXPECT_FALSE(settings().contains(QStringLiteral("FolderHistory/Folder0002")));
    EXPECT_EQ(history.Load(settings()).entries, saved);

    FolderHistory noLast;
    noLast.SetSaveLastText(false);
    noLast.Save(settings(), QStringLiteral("/c"), saved);
    EXPECT_EQ(settings().value(QStringLiteral("FolderHistory/Folder")).toString(), QString());
}

} // namespace
