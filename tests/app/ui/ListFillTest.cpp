#include "CRkListCtrl.h"
#include "RecordingLibrary.h"
#include "RecordingListFill.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq {
namespace {

// Names in the recorder's grammar; the letter at index 15 is the category.
void Touch(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ListFillTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* word : { "NORMAL", "INFINITE", "EVENT", "PARKING" })
            library.AddFolderWord(QString::fromLatin1(word));
        library.AddExtension(QStringLiteral("AVI"));
        list.InitList();
    }
    void Scan(const QStringList& names)
    {
        for (const QString& name : names)
            Touch(dir.filePath(name));
        library.RefreshSources();
        // A drop of folders alone reports no file taken, yet lists its recordings.
        library.OpenSource(library.SourceCount() - 1, DroppedPaths { { dir.path() } });
        ASSERT_EQ(library.EntryCount(), names.size());
    }
    QStringList Column(int column)
    {
        QStringList texts;
        for (int r = 0; r < list.GetItemCount(); ++r)
            texts << list.GetItemText(r, column);
        return texts;
    }

    QTemporaryDir dir;
    RecordingLibrary library;
    CRkListCtrl list;
    RecordingListFill fill;
};

TEST_F(ListFillTest, AllRowsInOrderWithPresenceFromEveryEntry)
{
    Scan({ "NORMAL/20170531_090507D.avi", "NORMAL/20170531_090602D.avi", "PARKING/20170531_090702M.avi" });
    ASSERT_EQ(fill.FillAll(library, &list), 3);
    EXPECT_EQ(Column(0), QStringList({ "1", "2", "3" }));
    EXPECT_EQ(Column(1), QStringList({ "2017-05-31", "2017-05-31", "2017-05-31" }));
    EXPECT_EQ(Column(2), QStringList({ "09:05:07", "09:06:02", "09:07:02" }));
    EXPECT_EQ(Column(CRkListCtrl::kFileNameColumn).last(), QStringLiteral("20170531_090702M.avi"));
    EXPECT_EQ(fill.Presence(), (CategoryPresence { true, true, false, true }));
    ASSERT_NE(fill.EntryForRow(2), nullptr);
    EXPECT_EQ(fill.EntryForRow(2)->name, QStringLiteral("20170531_090702M.avi"));
    EXPECT_EQ(fill.EntryForRow(3), nullptr);
    EXPECT_EQ(fill.EntryForRow(-1), nullptr);

    // The parking tab numbers its rows from 1 again and keeps the flags of all entries.
    EXPECT_EQ(fill.FillCategory(kCategoryParking, library, &list), 1);
    EXPECT_EQ(Column(0), QStringList({ "1" }));
    EXPECT_EQ(fill.EntryForRow(0)->name, QStringLiteral("20170531_090702M.avi"));
    EXPECT_EQ(fill.FillCategory(kCategoryEvent, library, &list), 0);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(fill.Presence(), (CategoryPresence { true, true, false, true }));
}

TEST_F(ListFillTest, AnEmptyLibraryLeavesTheListAlone)
{
    list.InsertItem(0, QStringLiteral("kept"));
    RecordingLibrary empty;
    EXPECT_EQ(fill.FillAll(empty, &list), 0);
    EXPECT_EQ(list.GetItemCount(), 1);
}

TEST_F(ListFillTest, CopyGoesToTheTargetAndNeverOntoTheRecordingItself)
{
    Scan({ "EVENT/20170531_090547E.avi" });
    ASSERT_EQ(fill.FillAll(library, &list), 1);
    const QString own = fill.EntryForRow(0)->path;
    EXPECT_EQ(fill.CopyRow(0, {}, own), RecordingListFill::kNotCopied);
    EXPECT_EQ(test::readFile(own), QByteArray("x"));
    const QString target = dir.filePath(QStringLiteral("copy.avi"));
    EXPECT_EQ(fill.CopyRow(0, {}, target), RecordingListFill::kCopied);
    EXPECT_EQ(test::readFile(target), QByteArray("x"));
    // A source path given by the owner wins over the entry's own.
    Touch(dir.filePath(QStringLiteral("other.bin")), "other");
    EXPECT_EQ(fill.CopyRow(0, dir.filePath(QStringLiteral("other.bin")), target), RecordingListFill::kCopied);
    EXPECT_EQ(test::readFile(target), QByteArray("other"));
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".part")));
    EXPECT_EQ(fill.CopyRow(1, {}, target), RecordingListFill::kNotCopied);

    EXPECT_EQ(RecordingListFill::SaveFilter(QStringLiteral("/card/a.AVI")), QStringLiteral("video(*.AVI)"));
    EXPECT_EQ(RecordingListFill::SaveFilter(QStringLiteral("/card/noext")), QStringLiteral("video(*.*)"));
}

} // namespace
} // namespace zq
