#include "RecordingLibrary.h"

#include "FakeFatAttributes.h"
#include "FakeVolumes.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::FakeVolumes;

namespace {

class RecordingLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_library.AddExtension("AVI");
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void file(const QString& relative, int bytes = 2048)
    {
        ASSERT_TRUE(test::writeFile(path(relative), QByteArray(bytes, 'x')));
    }
    QStringList names() const
    {
        QStringList out;
        for (const RecordingEntry& e : m_library.Entries())
            out << e.name;
        return out;
    }
    // A card with recordings in the recorder's folders, a hidden one and files that are no recordings.
    QString makeCard()
    {
        file("card/NORMAL/20170531_090000D.avi", 4096);
        file("card/NORMAL/20170531_085900D.AVI", 4096);
        file("card/EVENT/20170531_085930E.avi");
        file("card/PARKING/sub/20170530_230000M.avi");
        file("card/NORMAL/.20170531_091000D.avi");
        file("card/NORMAL/20170531_092000D.avi.bak");
        file("card/setup.cfg");
        return path("card");
    }

    QTemporaryDir m_dir;
    RecordingLibrary m_library;
};

TEST_F(RecordingLibraryTest, ExtensionsAndFolderWordsIgnoreDuplicates)
{
    EXPECT_EQ(m_library.Extensions(), QStringList { "avi" });
    EXPECT_FALSE(m_library.AddExtension("avi"));
    EXPECT_TRUE(m_library.AddFolderWord("NORMAL"));
    EXPECT_FALSE(m_library.AddFolderWord("NORMAL"));
    EXPECT_TRUE(m_library.AddFolderWord("normal")); // exact comparison
    EXPECT_TRUE(m_library.IsAcceptedName("20170101_120000D.AVI"));
    EXPECT_TRUE(m_library.IsAcceptedName("a.b.avi"));
    EXPECT_FALSE(m_library.IsAcceptedName("20170101_120000D.avi.bak"));
    EXPECT_FALSE(m_library.IsAcceptedName(""));
    EXPECT_FALSE(m_library.IsAcceptedName("20170101_120000D"));
    EXPECT_TRUE(m_library.IsAcceptedName("avi")); // without a dot the whole name is the extension
    // Extensions compare as Qt lowers them, beyond ASCII too: the Kelvin sign lowers to "k", the dotted
    // capital I to two units.
    RecordingLibrary other;
    other.AddExtension(QString::fromUtf8("MKV"));
    other.AddExtension(QString::fromUtf8("Ärg"));
    EXPECT_TRUE(other.IsAcceptedName("clip.mKv"));
    EXPECT_TRUE(other.IsAcceptedName(QString::fromUtf8("clip.m\u212Av")));
    EXPECT_TRUE(other.IsAcceptedName(QString::fromUtf8("clip.äRG")));
    EXPECT_FALSE(other.IsAcceptedName("clip.arg"));
    EXPECT_FALSE(other.IsAcceptedName("clip.mk"));
    EXPECT_FALSE(other.IsAcceptedName("clip.mkvv"));
    EXPECT_FALSE(m_library.IsAcceptedName(QString::fromUtf8("clip.avİ")));
    EXPECT_FALSE(m_library.IsAcceptedName("clip.av@"));
    EXPECT_FALSE(m_library.IsAcceptedName("clip.AV["));
}

TEST_F(RecordingLibraryTest, FolderScanRecursesSkipsHiddenAndOddFiles)
{
    const QString card = makeCard();
    ASSERT_TRUE(m_library.ScanFolder(card + "/", kOriginScan, true));
    EXPECT_EQ(m_library.EntryCount(), 4);
    EXPECT_FALSE(names().contains(".20170531_091000D.avi"));
    EXPECT_TRUE(names().contains("20170530_230000M.avi"));

    RecordingLibrary flat;
    flat.AddExtension("avi");
    ASSERT_TRUE(flat.ScanFolder(card + "/NORMAL/", kOriginScan, false));
    EXPECT_EQ(flat.EntryCount(), 2);
    EXPECT_FALSE(flat.ScanFolder(path("missing/"), kOriginScan, true));
}

TEST_F(RecordingLibraryTest, LinkedFolderLoopsDoNotRecurseForever)
{
    file("tree/a/20170101_120000D.avi");
    ASSERT_TRUE(QFile::link(path("tree"), path("tree/a/loop")));
    ASSERT_TRUE(m_library.ScanFolder(path("tree/"), kOriginScan, true));
    EXPECT_EQ(m_library.EntryCount(), 1);
}

TEST_F(RecordingLibraryTest, ScanOfAFatCardSkipsFilesWithTheHiddenAttribute)
{
    const QString card = makeCard();
    file("card/EVENT/20170531_090100E.avi");
    test::FakeFatAttributes fat;
    for (const char* folder : { "card", "card/NORMAL", "card/EVENT", "card/PARKING", "card/PARKING/sub" })
        ASSERT_TRUE(fat.AddFatFolder(path(folder)));
    ASSERT_TRUE(fat.SetAttributes(path("card/EVENT/20170531_085930E.avi"), platform::kFatAttributeHidden));
    ASSERT_TRUE(
        fat.SetAttributes(path("card/NORMAL/20170531_090000D.avi"), 0x01 | 0x20)); // read-only, archive

    ASSERT_TRUE(m_library.ScanFolder(card + "/", kOriginScan, true));
    QStringList listed = names();
    listed.sort();
    EXPECT_EQ(listed,
        (QStringList { "20170530_230000M.avi", "20170531_085900D.AVI", "20170531_090000D.avi",
            "20170531_090100E.avi" }));
    // Each folder with recordings is asked once; only recordings have their attributes read.
    EXPECT_EQ(fat.m_folderQueries, 3);
    EXPECT_EQ(fat.m_attributeReads, 5);
}

TEST_F(RecordingLibraryTest, SourcesAreRemovableVolumesThenTheBrowseItem)
{
    FakeVolumes fake(path("fake"));
    fake.AddSystemDisk();
    EXPECT_EQ(m_library.RefreshSources(), 1); // only the system disk: just the browse item
    EXPECT_EQ(m_library.SourceAt(0)->kind, kSourceBrowse);
    EXPECT_EQ(m_library.SourceAt(0)->root, RecordingLibrary::BrowseItemLabel());

    FakeVolumes::Disk card;
    card.mountPoint = makeCard();
    fake.Add(card);
    FakeVolumes::Disk emptyReader;
    emptyReader.name = "sdc";
    emptyReader.mountPoint = path("reader");
    emptyReader.sectors = 0;
    fake.Add(emptyReader);
    ASSERT_EQ(m_library.RefreshSources(), 2);
    EXPECT_EQ(m_library.SourceAt(0)->kind, kSourceRemovable);
    EXPECT_EQ(m_library.SourceAt(0)->root, path("card") + "/");
    EXPECT_EQ(m_library.SourceAt(0)->driveIndex, 0);
    EXPECT_EQ(m_library.SourceAt(1)->kind, kSourceBrowse);
    EXPECT_EQ(m_library.SourceAt(2), nullptr);
    EXPECT_EQ(m_library.SourceAt(-1), nullptr);
}

TEST_F(RecordingLibraryTest, OpeningACardScansItSortedWithOriginZero)
{
    FakeVolumes fake(path("fake"));
    FakeVolumes::Disk card;
    card.mountPoint = makeCard();
    fake.Add(card);
    m_library.RefreshSources();
    ASSERT_TRUE(m_library.OpenSource(0));
    EXPECT_EQ(names(),
        (QStringList { "20170530_230000M.avi", "20170531_085900D.AVI", "20170531_085930E.avi",
            "20170531_090000D.avi" }));
    EXPECT_EQ(m_library.Entries()[0].origin, kOriginScan);
    EXPECT_EQ(m_library.Entries()[0].path, path("card/PARKING/sub/20170530_230000M.avi"));
    EXPECT_EQ(m_library.SourceFolders(), QStringList { path("card") + "/" });
    EXPECT_EQ(m_library.SelectedSource(), 0);
    EXPECT_EQ(m_library.CurrentKind(), kSourceRemovable);

    // The browse item only records the kind.
    EXPECT_FALSE(m_library.OpenSource(1));
    EXPECT_EQ(m_library.CurrentKind(), kSourceBrowse);
    EXPECT_EQ(m_library.EntryCount(), 4);
    EXPECT_FALSE(m_library.OpenSource(5));
    EXPECT_EQ(m_library.SelectedSource(), 0);
}

TEST_F(RecordingLibraryTest, DroppingACardRootOpensTheCard)
{
    FakeVolumes fake(path("fake"));
    FakeVolumes::Disk card;
    card.mountPoint = makeCard();
    fake.Add(card);
    m_library.RefreshSources();
    // A dropped root without the trailing "/" still names the card.
    const int index = m_library.SourceIndexForPath(path("card"));
    ASSERT_EQ(index, 0);
    ASSERT_TRUE(m_library.OpenSource(index, DroppedPaths { { path("card") } }));
    EXPECT_EQ(m_library.EntryCount(), 4);
    EXPECT_EQ(m_library.Entries()[0].origin, kOriginScan);
    EXPECT_EQ(m_library.SourceIndexForPath(path("card/NORMAL")), 1);
}

TEST_F(RecordingLibraryTest, DroppedFolderIsScannedWithUserOrigin)
{
    const QString card = makeCard();
    m_library.RefreshSources();
    const int browse = m_library.SourceCount() - 1;
    // Only folders were dropped: their recordings are listed, but no single file was taken.
    for (int minute = 59; minute >= 10; --minute)
        file(QString("card/NORMAL/20170601_10%1D.avi").arg(minute * 100));
    EXPECT_FALSE(m_library.OpenSource(browse, DroppedPaths { { card + "/NORMAL", card + "/EVENT/" } }));
    EXPECT_EQ(m_library.EntryCount(), 53);
    // Listed oldest first all the same.
    EXPECT_TRUE(std::is_sorted(m_library.Entries().begin(), m_library.Entries().end(), EntryLess));
    EXPECT_EQ(m_library.SelectedSource(), -1);
    for (const RecordingEntry& e : m_library.Entries())
        EXPECT_EQ(e.origin, kOriginUser);
    EXPECT_FALSE(names().contains(".20170531_091000D.avi"));
}

TEST_F(RecordingLibraryTest, DroppedFilesAreTakenEvenWhenHidden)
{
    const QString card = makeCard();
    m_library.RefreshSources();
    const int browse = m_library.SourceCount() - 1;
    ASSERT_TRUE(m_library.OpenSource(browse,
        DroppedPaths { { card + "/NORMAL/.20170531_091000D.avi", card + "/setup.cfg", card + "/EVENT" } }));
    EXPECT_EQ(names(), (QStringList { ".20170531_091000D.avi", "20170531_085930E.avi" }));
    EXPECT_EQ(m_library.SourceFolders(), QStringList { card + "/EVENT" }); // the last dropped path
    EXPECT_EQ(m_library.SelectedSource(), browse);
}

TEST_F(RecordingLibraryTest, MissingFirstDroppedFileFailsWithNothingListed)
{
    const QString card = makeCard();
    m_library.RefreshSources();
    const int browse = m_library.SourceCount() - 1;
    EXPECT_FALSE(m_library.OpenSource(
        browse, DroppedPaths { { card + "/NORMAL/gone.avi", card + "/NORMAL/20170531_090000D.avi" } }));
    EXPECT_EQ(m_library.EntryCount(), 0);
    EXPECT_EQ(m_library.SelectedSource(), -1);
}

TEST_F(RecordingLibraryTest, PickedNamesWithoutExtensionGetAvi)
{
    const QString card = makeCard();
    m_library.RefreshSources();
    const int browse = m_library.SourceCount() - 1;
    ASSERT_TRUE(m_library.OpenSource(browse,
        PickedPaths { { card + "/NORMAL/20170531_090000D", card + "/NORMAL/20170531_085900D.AVI" } }));
    EXPECT_EQ(names(), (QStringList { "20170531_085900D.AVI", "20170531_090000D.avi" }));
    // As a drop, the name without extension does not exist.
    RecordingLibrary dropped;
    dropped.AddExtension("avi");
    dropped.RefreshSources();
    EXPECT_FALSE(dropped.OpenSource(
        dropped.SourceCount() - 1, DroppedPaths { { card + "/NORMAL/20170531_090000D" } }));
}

} // namespace
