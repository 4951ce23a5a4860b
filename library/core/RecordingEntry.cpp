#include "RecordingEntry.h"

#include "TextLookup.h"

#include <algorithm>
#include <vector>

namespace zq {

namespace {

constexpr int kDateTimeLength = 15;
constexpr int kCategoryIndex = 15;

// Leading decimal digits of a field; a field without a leading digit reads 0. The value is kept in
// 16 bits as the calendar fields are.
quint16 leadingNumber(const QString& name, int position, int length)
{
    quint32 value = 0;
    for (qsizetype i = position; i < name.size() && i < position + length; ++i) {
        const char16_t c = name.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + quint32(c - u'0');
    }
    return quint16(value);
}

} // namespace

RecordingEntry ParseEntry(const DirectoryEntry& file, const QString& folder, qint32 origin)
{
    RecordingEntry entry;
    entry.origin = origin;
    entry.name = file.name;
    entry.path = folder + file.name;
    entry.dateTime.year = leadingNumber(file.name, 0, 4);
    entry.dateTime.month = leadingNumber(file.name, 4, 2);
    entry.dateTime.day = leadingNumber(file.name, 6, 2);
    entry.dateTime.hour = leadingNumber(file.name, 9, 2);
    entry.dateTime.minute = leadingNumber(file.name, 11, 2);
    entry.dateTime.second = leadingNumber(file.name, 13, 2);
    if (!SystemTimeToFileTime(entry.dateTime, &entry.stamp))
        entry.stamp = {};
    entry.sizeKiB = file.sizeBytes / 1024;
    return entry;
}

RecordingCategory CategoryOf(const QString& name)
{
    if (name.size() <= kCategoryIndex)
        return kCategoryUnknown;
    switch (name.at(kCategoryIndex).unicode()) {
    case 'D':
        return kCategoryInfinite;
    case 'E':
        return kCategoryEvent;
    case 'M':
        return kCategoryParking;
    default:
        return kCategoryUnknown;
    }
}

QString CategoryLabel(qint32 category)
{
    switch (category) {
    case kCategoryInfinite:
        return Text(133);
    case kCategoryEvent:
        return Text(132);
    case kCategoryParking:
        return Text(134);
    case kCategoryAll:
        return Text(131);
    default:
        return QStringLiteral("UnKnown");
    }
}

bool EntryLess(const RecordingEntry& a, const RecordingEntry& b)
{
    // The date-time texts compared unit by unit (UTF-16, as QStringView::compare does), the shorter first
    // where one begins the other. Written out: a card's list sorts ten thousand names.
    const QStringView aView(a.name);
    const QStringView bView(b.name);
    const qsizetype aLength = qMin<qsizetype>(aView.size(), kDateTimeLength);
    const qsizetype bLength = qMin<qsizetype>(bView.size(), kDateTimeLength);
    const char16_t* aText = aView.utf16();
    const char16_t* bText = bView.utf16();
    for (qsizetype i = 0; i < aLength && i < bLength; ++i) {
        if (aText[i] != bText[i])
            return aText[i] < bText[i];
    }
    if (aLength != bLength)
        return aLength < bLength;
    return a.sizeKiB < b.sizeKiB;
}

namespace {

// What EntryLess reads of an entry, side by side in one array: comparing these does not chase each name's
// own allocation, and moving them is cheap.
struct SortKey {
    char16_t text[kDateTimeLength];
    quint8 length;
    quint64 sizeKiB;
    qint32 index;
};

bool KeyLess(const SortKey& a, const SortKey& b)
{
    const int common = std::min(a.length, b.length);
    for (int i = 0; i < common; ++i) {
        if (a.text[i] != b.text[i])
            return a.text[i] < b.text[i];
    }
    if (a.length != b.length)
        return a.length < b.length;
    if (a.sizeKiB != b.sizeKiB)
        return a.sizeKiB < b.sizeKiB;
    return a.index < b.index; // equal entries keep their found order
}

} // namespace

void SortEntries(QVector<RecordingEntry>& entries)
{
    std::vector<SortKey> keys(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString& name = entries[i].name;
        SortKey& key = keys[size_t(i)];
        key.length = quint8(std::min<qsizetype>(name.size(), kDateTimeLength));
        std::copy_n(name.utf16(), key.length, key.text);
        key.sizeKiB = entries[i].sizeKiB;
        key.index = qint32(i);
    }
    std::sort(keys.begin(), keys.end(), KeyLess);
    QVector<RecordingEntry> sorted;
    sorted.reserve(entries.size());
    for (const SortKey& key : keys)
        sorted.append(std::move(entries[key.index]));
    entries = std::move(sorted);
}

} // namespace zq
