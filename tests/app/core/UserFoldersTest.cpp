#include "UserFolders.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq {
namespace {

struct ScopedProgramFolder {
    explicit ScopedProgramFolder(const QString& folder) { SetProgramFolder(folder); }
    ~ScopedProgramFolder() { SetProgramFolder(QString()); }
};

bool Touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

TEST(UserFolders, AWritableBundleKeepsOptionsAndTemporaryFilesBesideTheProgram)
{
    QTemporaryDir bundle;
    ScopedProgramFolder scoped(bundle.path());
    EXPECT_TRUE(ProgramFolderWritable());
    EXPECT_EQ(OptionFileLocation(), QDir::cleanPath(bundle.path()) + QStringLiteral("/config/option.ini"));
    EXPECT_EQ(TemporaryFolder(), QDir::cleanPath(bundle.path()) + QStringLiteral("/temp"));
    EXPECT_EQ(QDir(bundle.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 0)
        << "the write probe leaves nothing behind";
}

TEST(UserFolders, AnInstalledBundleUsesTheUsersFolders)
{
    QStandardPaths::setTestModeEnabled(true);
    // A folder nobody can add files to, not even root.
    const QString bundle = QStringLiteral("/proc");
    ScopedProgramFolder scoped(bundle);
    EXPECT_FALSE(ProgramFolderWritable());
    const QString option = OptionFileLocation();
    EXPECT_TRUE(option.endsWith(QStringLiteral("/config/option.ini")));
    EXPECT_FALSE(option.startsWith(bundle));
    EXPECT_TRUE(QFileInfo(QFileInfo(option).path()).isDir()) << "the configuration folder is created";
    EXPECT_TRUE(TemporaryFolder().endsWith(QStringLiteral("/temp")));
    EXPECT_FALSE(TemporaryFolder().startsWith(bundle));
    QStandardPaths::setTestModeEnabled(false);
}

TEST(UserFolders, EmptyingTheTemporaryFolderRemovesItsOwnFilesOnly)
{
    QTemporaryDir root;
    const QString temp = root.filePath(QStringLiteral("temp"));
    const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(temp + QStringLiteral("/sub")) && QDir().mkpath(elsewhere));
    ASSERT_TRUE(Touch(temp + QStringLiteral("/a_REPAIR.avi")) && Touch(temp + QStringLiteral("/.hidden")));
    ASSERT_TRUE(Touch(temp + QStringLiteral("/sub/kept")) && Touch(elsewhere + QStringLiteral("/precious")));
    ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral("/precious"), temp + QStringLiteral("/link")));
    ASSERT_TRUE(QFile::link(elsewhere, temp + QStringLiteral("/folderlink")));

    EXPECT_EQ(EmptyTemporaryFolder(temp), 2);
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/a_REPAIR.avi")));
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/.hidden")));
    EXPECT_TRUE(QFile::exists(temp + QStringLiteral("/sub/kept")));
    EXPECT_TRUE(QFile::exists(elsewhere + QStringLiteral("/precious"))) << "a link is never followed";
    EXPECT_EQ(EmptyTemporaryFolder(QString()), 0);
    EXPECT_EQ(EmptyTemporaryFolder(root.filePath(QStringLiteral("missing"))), 0);
}

} // namespace
} // namespace zq
