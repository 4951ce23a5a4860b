#pragma once

#include "ChunkLocations.h"

#include <QIODevice>
#include <QString>

namespace zq {

/// Layout classes of a recording.
constexpr qint32 kAviLayoutUnusable = 0; // cannot be opened, not RIFF "AVI ", or "idx1" or "movi" missing
constexpr qint32 kAviLayoutPlayable = 1; // "movi" comes before "idx1": plays unchanged
constexpr qint32 kAviLayoutNeedsRepair = 2; // "idx1" stands in front of "movi"

/// Classifies a recording by walking its chunk headers only. Each location field is written when its chunk
/// is met (the caller zeroes *locations), so an unusable file still shows what was found.
qint32 CheckAviLayout(const QString& path, ChunkLocations* locations);
qint32 CheckAviLayout(QIODevice& device, ChunkLocations* locations);

} // namespace zq
