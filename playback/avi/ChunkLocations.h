#pragma once

#include <QtGlobal>

namespace zq {

/// Where the index chunk and the media list of a recording lie, as CheckAviLayout found them.
struct ChunkLocations {
    quint32 idx1Offset = 0; // file offset of the "idx1" chunk header
    quint32 idx1Size = 0; // size field of the "idx1" chunk
    quint32 moviOffset = 0; // file offset of the "LIST" header of the "movi" list
    quint32 moviSize = 0; // size field of that "LIST" chunk, list type included
};

} // namespace zq
