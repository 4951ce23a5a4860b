#include "RecordingEntry.h"
#include "RecordingListRow.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Any text as a recording's file name: parsing, classifying, ordering and formatting must hold up.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const zq::RecordingEntry entry = zq::ParseEntry({ name, size * 997 }, QStringLiteral("/card/"), 0);
    const zq::RecordingEntry other = zq::ParseEntry({ name.left(15), size }, QStringLiteral("/card/"), 1);
    const bool less = zq::EntryLess(entry, other);
    const zq::RecordingListRow row = zq::ListRowFor(entry, int(size));
    // The order must stay a strict weak order, and every row has a date column.
    if ((less && zq::EntryLess(other, entry)) || row.date.isEmpty())
        __builtin_trap();
    return 0;
}
