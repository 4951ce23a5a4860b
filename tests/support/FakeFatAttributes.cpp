#include "FakeFatAttributes.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>

namespace zq::test {

namespace {

bool NodeOf(const QString& path, std::pair<quint64, quint64>* node)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    *node = { quint64(info.st_dev), quint64(info.st_ino) };
    return true;
}

} // namespace

FakeFatAttributes::FakeFatAttributes()
{
    platform::SetFatAttributeProbe(this);
}

FakeFatAttributes::~FakeFatAttributes()
{
    platform::SetFatAttributeProbe(nullptr);
}

bool FakeFatAttributes::AddFatFolder(const QString& folder)
{
    Node node;
    return NodeOf(folder, &node) && m_fatFolders.insert(node).second;
}

bool FakeFatAttributes::SetAttributes(const QString& file, quint32 attributes)
{
    Node node;
    if (!NodeOf(file, &node))
        return false;
    m_attributes[node] = attributes;
    return true;
}

bool FakeFatAttributes::HasFatAttributes(int folderFd) const
{
    ++m_folderQueries;
    struct stat info { };
    return ::fstat(folderFd, &info) == 0
        && m_fatFolders.count({ quint64(info.st_dev), quint64(info.st_ino) }) != 0;
}

bool FakeFatAttributes::ReadAttributes(int folderFd, const char* name, quint32* attributes) const
{
    ++m_attributeReads;
    // As the ioctl: only on FAT, and never through a link.
    struct stat folder { };
    struct stat file { };
    if (::fstat(folderFd, &folder) != 0
        || !m_fatFolders.count({ quint64(folder.st_dev), quint64(folder.st_ino) })
        || ::fstatat(folderFd, name, &file, AT_SYMLINK_NOFOLLOW) != 0 || S_ISLNK(file.st_mode))
        return false;
    const auto found = m_attributes.find({ quint64(file.st_dev), quint64(file.st_ino) });
    *attributes = found == m_attributes.end() ? 0 : found->second;
    return true;
}

} // namespace zq::test
