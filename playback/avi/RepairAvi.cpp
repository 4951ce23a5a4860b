#include "RepairAvi.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {

namespace {

constexpr qint64 kChunkHeaderBytes = 8;
// The fallback copy holds one block at a time, so memory does not grow with the recording.
constexpr qint64 kCopyBlockBytes = 1 << 20;
// The kernel copies page by page without a buffer of ours, so it may take any stretch in one call.
constexpr qint64 kKernelCopyBytes = qint64(1) << 30;

/// Owns a file descriptor; closes it at the end of the scope unless closed explicitly.
class FileHandle {
public:
    explicit FileHandle(int fd)
        : m_fd(fd)
    {
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    /// Closes the descriptor; false when the close reports an error (a delayed write failure).
    bool close()
    {
        if (m_fd < 0)
            return true;
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0;
    }

private:
    int m_fd = -1;
};

QString SystemError(const char* what, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

/// Copies length bytes starting at offset of in to the current position of out.
class StretchCopier {
public:
    StretchCopier(int in, int out)
        : m_in(in)
        , m_out(out)
    {
    }

    bool copy(qint64 offset, qint64 length, QString* error)
    {
        while (length > 0 && m_kernelCopy) {
            loff_t from = offset;
            const ssize_t copied
                = ::copy_file_range(m_in, &from, m_out, nullptr, size_t(qMin(length, kKernelCopyBytes)), 0);
            if (copied > 0) {
                offset += copied;
                length -= copied;
            } else if (copied == 0) {
                *error = QStringLiteral("the source ended early");
                return false;
            } else if (errno == EINTR) {
                continue;
            } else if (errno == ENOSPC || errno == EIO || errno == EFBIG || errno == EDQUOT) {
                *error = SystemError("write failed", errno);
                return false;
            } else {
                m_kernelCopy = false; // not supported between these files: copy through a buffer
            }
        }
        while (length > 0) {
            if (m_buffer.isEmpty())
                m_buffer.resize(kCopyBlockBytes);
            const ssize_t got = ::pread(m_in, m_buffer.data(), size_t(qMin(length, kCopyBlockBytes)), offset);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                *error = SystemError("read failed", errno);
                return false;
            }
            if (got == 0) {
                *error = QStringLiteral("the source ended early");
                return false;
            }
            if (!writeAll(m_buffer.constData(), got, error))
                return false;
            offset += got;
            length -= got;
        }
        return true;
    }

private:
    bool writeAll(const char* data, qint64 count, QString* error)
    {
        while (count > 0) {
            const ssize_t written = ::write(m_out, data, size_t(count));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                *error = SystemError("write failed", written < 0 ? errno : ENOSPC);
                return false;
            }
            data += written;
            count -= written;
        }
        return true;
    }

    int m_in;
    int m_out;
    bool m_kernelCopy = true;
    QByteArray m_buffer;
};

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool RepairAvi(
    const QString& source, const QString& destination, const ChunkLocations& locations, QString* error)
{
    const QByteArray sourceName = QFile::encodeName(source);
    const QByteArray destinationName = QFile::encodeName(destination);
    FileHandle in(::open(sourceName.constData(), O_RDONLY | O_CLOEXEC));
    if (!in.isOpen())
        return Fail(error, SystemError("cannot open the source", errno));
    struct stat sourceStat { };
    if (::fstat(in.fd(), &sourceStat) != 0)
        return Fail(error, SystemError("cannot read the source", errno));
    struct stat destinationStat { };
    if (::stat(destinationName.constData(), &destinationStat) == 0
        && destinationStat.st_dev == sourceStat.st_dev && destinationStat.st_ino == sourceStat.st_ino)
        return Fail(error, QStringLiteral("the destination is the source itself"));

    // An earlier copy goes first, so that a failed repair never leaves stale bytes under this name.
    QFile::remove(destination);
    // Every stretch must lie inside the file with the index wholly in front of the media list; otherwise
    // the lengths below would run negative or past the end.
    const qint64 total = sourceStat.st_size;
    const qint64 idx1Offset = locations.idx1Offset;
    const qint64 idx1End = idx1Offset + kChunkHeaderBytes + locations.idx1Size;
    const qint64 moviOffset = locations.moviOffset;
    const qint64 moviEnd = moviOffset + kChunkHeaderBytes + locations.moviSize;
    if (locations.moviSize < 4 || idx1End > moviOffset || moviEnd > total)
        return Fail(
            error, QStringLiteral("the chunk locations do not describe an index in front of the media list"));

    FileHandle out(::open(destinationName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.isOpen())
        return Fail(error, SystemError("cannot create the destination", errno));

    QString reason;
    StretchCopier copier(in.fd(), out.fd());
    const bool copied = copier.copy(0, idx1Offset, &reason)
        && copier.copy(idx1End, moviEnd - idx1End, &reason)
        && copier.copy(idx1Offset, idx1End - idx1Offset, &reason)
        && copier.copy(moviEnd, total - moviEnd, &reason);
    if (copied && !out.close())
        reason = SystemError("write failed", errno);
    if (!copied || !reason.isEmpty()) {
        out.close();
        ::unlink(destinationName.constData());
        return Fail(error, reason);
    }
    return true;
}

} // namespace zq
