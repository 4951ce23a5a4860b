#include "FolderListing.h"

#include "FileAttributes.h"

#include <QFile>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace zq::platform {

FolderListing::FolderListing(const QString& folder)
{
    m_dir = ::opendir(QFile::encodeName(folder).constData());
    if (m_dir)
        m_fd = ::dirfd(m_dir);
}

FolderListing::~FolderListing()
{
    if (m_dir)
        ::closedir(m_dir);
}

bool FolderListing::Next()
{
    if (!m_dir)
        return false;
    for (;;) {
        const dirent* entry = ::readdir(m_dir);
        if (!entry)
            return false;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        m_rawName = name;
        m_type = entry->d_type;
        m_name = QFile::decodeName(name);
        m_kind = Kind::Unknown;
        m_link = false;
        m_sizeKnown = false;
        m_size = 0;
        return true;
    }
}

bool FolderListing::StatFollowing()
{
    struct stat info { };
    if (::fstatat(m_fd, m_rawName, &info, 0) != 0) {
        m_kind = Kind::Other;
        m_sizeKnown = true;
        return false;
    }
    m_kind = S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
    m_size = quint64(info.st_size);
    m_sizeKnown = true;
    return true;
}

void FolderListing::Classify()
{
    if (m_kind != Kind::Unknown)
        return;
    switch (m_type) {
    case DT_DIR:
        m_kind = Kind::Folder;
        return;
    case DT_LNK:
        m_link = true;
        StatFollowing();
        return;
    case DT_UNKNOWN: {
        // Some file systems leave the type out of the entry; ask for it without following a link first.
        struct stat info { };
        if (::fstatat(m_fd, m_rawName, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            m_kind = Kind::Other;
            m_sizeKnown = true;
            return;
        }
        m_link = S_ISLNK(info.st_mode);
        if (m_link) {
            StatFollowing();
            return;
        }
        m_kind = S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
        m_size = quint64(info.st_size);
        m_sizeKnown = true;
        return;
    }
    default:
        m_kind = Kind::Other;
        return;
    }
}

bool FolderListing::IsFolder()
{
    Classify();
    return m_kind == Kind::Folder;
}

bool FolderListing::IsLink()
{
    Classify();
    return m_link;
}

quint64 FolderListing::Size()
{
    Classify();
    if (!m_sizeKnown)
        StatFollowing();
    return m_size;
}

bool FolderListing::IsHidden()
{
    if (m_name.startsWith(QLatin1Char('.')))
        return true;
    const FatAttributeProbe& probe = CurrentFatAttributeProbe();
    if (m_fat < 0)
        m_fat = probe.HasFatAttributes(m_fd) ? 1 : 0;
    quint32 attributes = 0;
    return m_fat == 1 && probe.ReadAttributes(m_fd, m_rawName, &attributes)
        && (attributes & kFatAttributeHidden) != 0;
}

} // namespace zq::platform
