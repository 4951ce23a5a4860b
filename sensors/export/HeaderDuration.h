#pragma once

#include <QIODevice>
#include <QString>
#include <optional>

namespace zq {

/// The length of a recording in milliseconds as its AVI header states it: the longest stream
/// (dwLength * dwScale / dwRate of each "strh"), which is what the demuxer reports as the duration; the main
/// header's frame count times its frame time when no stream states a rate. None when the file is no RIFF
/// AVI file or its header gives no length.
std::optional<qint64> HeaderDurationMs(const QString& path);
std::optional<qint64> HeaderDurationMs(QIODevice& device);

} // namespace zq
