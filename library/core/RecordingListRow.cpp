#include "RecordingListRow.h"

namespace zq {

namespace {

// "%0*d" of a calendar field; a formatted print per row costs more than listing the card.
void AppendPadded(QString& text, quint32 value, int width)
{
    char digits[10];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count; i < width; ++i)
        text += QLatin1Char('0');
    while (count > 0)
        text += QLatin1Char(digits[--count]);
}

} // namespace

RecordingListRow ListRowFor(const RecordingEntry& entry, int rowIndex)
{
    const SystemTime& t = entry.dateTime;
    RecordingListRow row;
    row.number = QString::number(rowIndex + 1);
    row.date.reserve(10);
    AppendPadded(row.date, t.year, 4);
    row.date += QLatin1Char('-');
    AppendPadded(row.date, t.month, 2);
    row.date += QLatin1Char('-');
    AppendPadded(row.date, t.day, 2);
    row.time.reserve(8);
    AppendPadded(row.time, t.hour, 2);
    row.time += QLatin1Char(':');
    AppendPadded(row.time, t.minute, 2);
    row.time += QLatin1Char(':');
    AppendPadded(row.time, t.second, 2);
    row.category = CategoryLabel(CategoryOf(entry.name));
    row.path = entry.path;
    row.name = entry.name;
    return row;
}

} // namespace zq
