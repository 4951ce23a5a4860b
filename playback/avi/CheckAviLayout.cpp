#include "CheckAviLayout.h"

#include "RiffCursor.h"

#include <QFile>
#include <limits>

namespace zq {

qint32 CheckAviLayout(QIODevice& device, ChunkLocations* locations)
{
    RiffCursor cursor(device);
    if (!cursor.readAviHeader())
        return kAviLayoutUnusable;

    bool haveIdx1 = false;
    bool haveMovi = false;
    for (;;) {
        const qint64 chunkStart = cursor.pos();
        // The locations are 32-bit fields; a chunk beyond them cannot be described.
        if (chunkStart > qint64(std::numeric_limits<quint32>::max()))
            break;
        quint32 id = 0;
        quint32 size = 0;
        if (!cursor.readU32(&id) || !cursor.readU32(&size) || id == 0 || qint32(size) < 1)
            break;

        bool skipped = true;
        if (id == FourCC("LIST")) {
            quint32 listType = 0;
            // A list too short to hold its own type is damaged; its size cannot be followed.
            if (!cursor.readU32(&listType) || size < 4)
                break;
            if (listType == FourCC("hdrl")) {
                skipped = cursor.skip(qint64(size) - 4);
            } else if (listType == FourCC("movi")) {
                locations->moviOffset = quint32(chunkStart);
                locations->moviSize = size;
                haveMovi = true;
                skipped = cursor.skip(qint64(size) - 4);
            }
            // Any other list is entered: its sub-chunks are walked as if they stood at the top level.
        } else {
            if (id == FourCC("idx1")) {
                locations->idx1Offset = quint32(chunkStart);
                locations->idx1Size = size;
                haveIdx1 = true;
            }
            skipped = cursor.skip(qint64(size) + (size & 1));
        }

        // A media list cut short by the end of the file still counts as seen.
        if (haveIdx1 && haveMovi) {
            return locations->idx1Offset < locations->moviOffset ? kAviLayoutNeedsRepair : kAviLayoutPlayable;
        }
        if (!skipped)
            break;
    }
    return kAviLayoutUnusable;
}

qint32 CheckAviLayout(const QString& path, ChunkLocations* locations)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kAviLayoutUnusable;
    return CheckAviLayout(file, locations);
}

} // namespace zq
