#include "FolderListing.h"

#include "FakeFatAttributes.h"
#include "FileAttributes.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {
namespace {

struct Seen {
    QString name;
    bool folder = false;
    bool link = false;
    quint64 size = 0; // files only
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* os)
{
    *os << seen.name.toStdString() << (seen.folder ? " folder" : "") << (seen.link ? " link" : "") << ' '
        << seen.size;
}

/// A folder with every kind of entry a card or a user's folder can hold.
class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (int i = 0; i < 40; ++i) // enough entries for the file system to list them in an order of its own
            ASSERT_TRUE(test::writeFile(
                path(QStringLiteral("2017053%1_0900%2D.avi").arg(i % 10).arg(i, 2, 10, QLatin1Char('0'))),
                QByteArray(100 * i + 7, 'x')));
        ASSERT_TRUE(test::writeFile(path(".20170531_091000D.avi"), "dot"));
        ASSERT_TRUE(test::writeFile(path(".dotfolder/20170531_091100D.avi"), "in a dot folder"));
        ASSERT_TRUE(test::writeFile(path("NORMAL/20170531_091200D.avi"), "sub"));
        ASSERT_TRUE(test::writeFile(path("ä ü 한글.avi"), "non-ASCII name"));
        ASSERT_TRUE(QDir().mkpath(path("empty")));
        ASSERT_EQ(::symlink("NORMAL/20170531_091200D.avi", Native("file-link.avi")), 0);
        ASSERT_EQ(::symlink("NORMAL", Native("folder-link")), 0);
        ASSERT_EQ(::symlink("..", Native("NORMAL/loop")), 0);
        ASSERT_EQ(::symlink("nowhere.avi", Native("broken-link.avi")), 0);
        ASSERT_EQ(::mkfifo(Native("pipe.avi"), 0600), 0);
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    const char* Native(const QString& relative)
    {
        m_native = QFile::encodeName(path(relative));
        return m_native.constData();
    }

    /// What Qt's own directory iteration reports for the folder, in its order.
    static QList<Seen> ByQt(const QString& folder)
    {
        QList<Seen> seen;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            seen.append(
                { info.fileName(), info.isDir(), info.isSymLink(), info.isDir() ? 0 : quint64(info.size()) });
        }
        return seen;
    }

    static QList<Seen> ByListing(const QString& folder)
    {
        QList<Seen> seen;
        platform::FolderListing listing(folder);
        EXPECT_TRUE(listing.IsOpen());
        while (listing.Next()) {
            const bool isFolder = listing.IsFolder();
            seen.append({ listing.Name(), isFolder, listing.IsLink(), isFolder ? 0 : listing.Size() });
        }
        return seen;
    }

    QTemporaryDir m_dir;
    QByteArray m_native;
};

TEST_F(FolderListingTest, SeesWhatQtSeesInTheSameOrder)
{
    const QList<Seen> expected = ByQt(m_dir.path());
    ASSERT_EQ(expected.size(), 40 + 9);
    EXPECT_EQ(ByListing(m_dir.path()), expected);
    EXPECT_EQ(ByListing(m_dir.path() + QStringLiteral("/")), expected);
    EXPECT_EQ(ByListing(path("NORMAL")), ByQt(path("NORMAL")));
    EXPECT_EQ(ByListing(path("folder-link")), ByQt(path("folder-link")));

    // Spot checks, so that a shared mistake of both does not pass unseen.
    const QList<Seen> seen = ByListing(m_dir.path());
    const auto find = [&](const QString& name) {
        return *std::find_if(seen.begin(), seen.end(), [&](const Seen& s) { return s.name == name; });
    };
    EXPECT_EQ(find("folder-link"), (Seen { "folder-link", true, true, 0 }));
    EXPECT_EQ(find("file-link.avi"), (Seen { "file-link.avi", false, true, 3 }));
    EXPECT_EQ(find("20170539_090039D.avi").size, 3907u);
    EXPECT_EQ(find("ä ü 한글.avi").size, 14u);
    EXPECT_TRUE(find(".dotfolder").folder);
}

TEST_F(FolderListingTest, MissingFoldersAndFilesDoNotOpen)
{
    platform::FolderListing missing(path("nothing-here"));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.Next());
    EXPECT_FALSE(platform::FolderListing(path("pipe.avi")).IsOpen());
    EXPECT_FALSE(platform::FolderListing(path("20170530_090000D.avi")).IsOpen());
}

TEST_F(FolderListingTest, DotFilesAreHiddenAndOnlyFatFoldersAreAskedForAttributes)
{
    // The operating system's answer for an ordinary folder: no FAT attributes, and none on its files.
    const int fd = ::open(Native(""), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    quint32 attributes = 0;
    EXPECT_FALSE(platform::CurrentFatAttributeProbe().HasFatAttributes(fd));
    EXPECT_FALSE(
        platform::CurrentFatAttributeProbe().ReadAttributes(fd, "20170530_090000D.avi", &attributes));
    ::close(fd);

    test::FakeFatAttributes fat;
    ASSERT_TRUE(fat.AddFatFolder(path("NORMAL")));
    ASSERT_TRUE(fat.SetAttributes(path("NORMAL/20170531_091200D.avi"), platform::kFatAttributeHidden | 0x20));
    ASSERT_TRUE(fat.SetAttributes(path("20170530_090000D.avi"), platform::kFatAttributeHidden));
    ASSERT_TRUE(test::writeFile(path("NORMAL/20170531_091300D.avi"), "archive bit only"));
    ASSERT_TRUE(fat.SetAttributes(path("NORMAL/20170531_091300D.avi"), 0x20));

    EXPECT_TRUE(platform::IsHiddenFile(path("NORMAL/20170531_091200D.avi")));
    EXPECT_FALSE(platform::IsHiddenFile(path("NORMAL/20170531_091300D.avi")));
    EXPECT_TRUE(platform::IsHiddenFile(path(".20170531_091000D.avi")));
    // Not on FAT, so its attribute is never read.
    EXPECT_FALSE(platform::IsHiddenFile(path("20170530_090000D.avi")));

    fat.m_folderQueries = fat.m_attributeReads = 0;
    QStringList hidden;
    platform::FolderListing top(m_dir.path());
    while (top.Next())
        if (top.IsHidden())
            hidden << top.Name();
    hidden.sort();
    EXPECT_EQ(hidden, (QStringList { ".20170531_091000D.avi", ".dotfolder" }));
    EXPECT_EQ(fat.m_folderQueries, 1);
    EXPECT_EQ(fat.m_attributeReads, 0);

    hidden.clear();
    platform::FolderListing normal(path("NORMAL"));
    while (normal.Next())
        if (normal.IsHidden())
            hidden << normal.Name();
    EXPECT_EQ(hidden, QStringList { "20170531_091200D.avi" });
    EXPECT_EQ(fat.m_folderQueries, 2); // once per folder, not per file
    EXPECT_EQ(fat.m_attributeReads, 3); // both files and the link, which has no attributes
}

} // namespace
} // namespace zq
