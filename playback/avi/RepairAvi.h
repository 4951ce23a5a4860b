#pragma once

#include "ChunkLocations.h"

#include <QString>

namespace zq {

/// Writes a copy of source with the index chunk moved behind the media list: the bytes in front of the
/// index, everything from behind the index to the end of "movi", the index chunk, then whatever followed
/// "movi". Sizes and index entries are copied unchanged. The source is only read. False, with a reason in
/// *error, when the locations do not describe an index in front of the media list inside the file, when
/// destination is the source itself, or on any read or write failure; a failed copy is removed.
bool RepairAvi(const QString& source, const QString& destination, const ChunkLocations& locations,
    QString* error = nullptr);

} // namespace zq
