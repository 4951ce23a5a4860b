#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace zq::device {

constexpr const char* kSetupFileName = "setup.cfg";
constexpr const char* kTimeFileName = "time.cfg";
constexpr const char* kFormatMarkerName = "ZQ481K_FMT.BIN";
constexpr const char* kSystemInfo1Name = "system_info1.bin";
constexpr const char* kSystemInfo2Name = "system_info2.bin";

/// What a write to the card did: ok, or which file failed and why (in words a user can act on).
struct CardWriteResult {
    bool ok = true;
    QString file;
    QString reason;

    static CardWriteResult Failure(const QString& file, const QString& reason)
    {
        return { false, file, reason };
    }
};

/// A card root with a trailing "/", so that file names can be appended to it.
QString CardRootWithSlash(const QString& root);

/// Whether a file (not a folder) of that name stands directly in the root. With Qt::CaseSensitive the name
/// must match exactly; an empty root gives false.
bool FileExistsInRoot(const QString& root, const QString& name, Qt::CaseSensitivity cs = Qt::CaseSensitive);
/// The name under which a file stands in the root, matched with the given case rule; empty when none.
QString FindFileInRoot(const QString& root, const QString& name, Qt::CaseSensitivity cs);

/// Replaces a file with the bytes through a temporary file in the same folder, flushed and then renamed
/// over the old one, so a failed write leaves the old file as it was. `beforeCommit` runs once the new text
/// is complete on disk, just before it replaces the old file (the marker rule deletes the marker there); a
/// false answer abandons the write with `abandonReason`.
CardWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes,
    const std::function<bool()>& beforeCommit = {}, const QString& abandonReason = {});

} // namespace zq::device

namespace zq::platform {
struct Volume;
}

namespace zq::device {

/// The capacity of the medium under a volume: the size of its block device from sysfs (512-byte sectors),
/// else the file system's own size. The card's size, not what the file system on it happens to use, decides
/// whether it is listed and which file system a format makes.
quint64 CardCapacity(const platform::Volume& volume);

} // namespace zq::device
