#pragma once

#include <QString>
#include <QtGlobal>
#include <dirent.h>

namespace zq::platform {

/// The entries of one folder in the order the file system lists them, "." and ".." left out. Cheap on a
/// large card: the type comes from the directory entry, sizes are read relative to the open folder, and the
/// folder is asked once whether it keeps FAT attributes at all.
class FolderListing {
public:
    /// `folder` with or without a trailing "/"; links are followed.
    explicit FolderListing(const QString& folder);
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    /// False when the folder does not exist or cannot be listed.
    bool IsOpen() const { return m_dir != nullptr; }
    /// Moves to the next entry; false after the last one.
    bool Next();

    /// The current entry's name, decoded from the local 8-bit encoding.
    const QString& Name() const { return m_name; }
    /// A folder, or a link that leads to one.
    bool IsFolder();
    /// A symbolic link, whatever it leads to.
    bool IsLink();
    /// The size in bytes of what the entry leads to; 0 when that cannot be read (a broken link).
    quint64 Size();
    /// A dot file, or one whose FAT "hidden" attribute is set on a FAT file system.
    bool IsHidden();

private:
    enum class Kind { Unknown, Folder, Other };
    void Classify();
    bool StatFollowing();

    DIR* m_dir = nullptr;
    int m_fd = -1;
    const char* m_rawName = nullptr;
    unsigned char m_type = DT_UNKNOWN;
    QString m_name;
    Kind m_kind = Kind::Unknown;
    bool m_link = false;
    bool m_sizeKnown = false;
    quint64 m_size = 0;
    int m_fat = -1; // -1 not asked yet, else whether the folder keeps FAT attributes
};

} // namespace zq::platform
