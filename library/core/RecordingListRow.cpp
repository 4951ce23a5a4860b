#include "RecordingListRow.h"

namespace zq {

RecordingListRow ListRowFor(const RecordingEntry& entry, int rowIndex)
{
    const SystemTime& t = entry.dateTime;
    RecordingListRow row;
    row.number = QString::number(rowIndex + 1);
    row.date = QString::asprintf("%04d-%02d-%02d", t.year, t.month, t.day);
    row.time = QString::asprintf("%02d:%02d:%02d", t.hour, t.minute, t.second);
    row.category = CategoryLabel(CategoryOf(entry.name));
    row.path = entry.path;
    row.name = entry.name;
    return row;
}

}  // namespace zq
