#include "SaveChannelFrames.h"

#include <QImageWriter>
#include <QSaveFile>

namespace zq {

namespace {

constexpr qint32 kStateRunning = 0;
constexpr qint32 kStatePaused = 1;

} // namespace

bool WriteJpeg(const QImage& image, const QString& path, QString* reason)
{
    if (image.isNull()) {
        *reason = QStringLiteral("the frame is empty");
        return false;
    }
    // The picture goes to a temporary file that replaces the target only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "jpg");
    if (!writer.write(image)) {
        *reason = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

SnapshotResult SaveChannelFrames(ChannelFrameSource& source, const SnapshotPaths& paths)
{
    SnapshotResult result;
    result.paths = paths;
    const qint32 state = source.GetState();
    if (state != kStateRunning && state != kStatePaused)
        return result;

    QImage front;
    if (!source.CaptureFrame(0, &front)) {
        result.outcome = SnapshotResult::Outcome::NoFrontFrame;
        return result;
    }
    const auto write = [&result](const QImage& image, const QString& path) {
        QString reason;
        if (WriteJpeg(image, path, &reason))
            result.written.append(path);
        else
            result.failures.append({ path, reason });
    };
    write(front, paths.front);

    if (source.GetChannelCount() > 1) {
        QImage rear;
        if (!source.CaptureFrame(1, &rear)) {
            result.outcome = result.failures.isEmpty() ? SnapshotResult::Outcome::NoRearFrame
                                                       : SnapshotResult::Outcome::WriteFailed;
            return result;
        }
        write(rear, paths.rear);
    }
    result.outcome
        = result.failures.isEmpty() ? SnapshotResult::Outcome::Saved : SnapshotResult::Outcome::WriteFailed;
    return result;
}

SnapshotResult SaveSnapshot(
    ChannelFrameSource& source, const QString& folder, const QString& listName, const QDateTime& localTime)
{
    return SaveChannelFrames(source, ChooseSnapshotPaths(folder, listName, localTime));
}

} // namespace zq
