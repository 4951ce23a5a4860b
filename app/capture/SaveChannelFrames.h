#pragma once

#include "ChannelFrameSource.h"
#include "SnapshotNames.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zq {

/// What one capture wrote and, when something went wrong, what and why.
struct SnapshotResult {
    enum class Outcome {
        Saved, // every required picture was written
        NotPlaying, // neither running nor paused: nothing done
        NoFrontFrame, // channel 0 gave no frame: nothing written
        NoRearFrame, // channel 1 gave no frame: the front picture is written
        WriteFailed, // a picture could not be written (see failures)
    };
    struct Failure {
        QString path;
        QString reason;
    };

    Outcome outcome = Outcome::NotPlaying;
    SnapshotPaths paths; // the names chosen for this capture
    QStringList written; // pictures written, front first
    QVector<Failure> failures; // pictures that could not be written

    bool Saved() const { return outcome == Outcome::Saved; }
};

/// Writes the current frame of channel 0 to paths.front and, for a recording with more than one channel,
/// the frame of channel 1 to paths.rear, as JPEG at the encoder's default quality. A picture that cannot be
/// written is reported with its path and reason; a failed front picture does not stop the rear one. No
/// folder is created, and no picture is left half written.
SnapshotResult SaveChannelFrames(ChannelFrameSource& source, const SnapshotPaths& paths);

/// Chooses the names of a capture taken at localTime (an earlier capture of the same millisecond is never
/// overwritten) and saves the frames there.
SnapshotResult SaveSnapshot(
    ChannelFrameSource& source, const QString& folder, const QString& listName, const QDateTime& localTime);

/// Writes one picture as JPEG; on failure returns false and fills reason.
bool WriteJpeg(const QImage& image, const QString& path, QString* reason);

} // namespace zq
