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

// What EntryLess reads of an entry, side by side in one array, so that comparing does not chase each
// name's own allocation. The date-time text is packed four UTF-16 units a word, the first unit highest,
// shorter texts padded with zeros and the text's length in the lowest unit of the last word: comparing the
// words in turn then orders the texts unit by unit with the shorter first where one begins the other, as
// EntryLess does (no unit is below zero, so the padding never sorts ahead of a real unit).
struct SortKey {
    quint64 words[4];
    quint64 sizeKiB;
    qint32 index;
};
static_assert(kDateTimeLength < 4 * 4);

SortKey KeyFor(const RecordingEntry& entry, qint32 index)
{
    SortKey key { {}, entry.sizeKiB, index };
    const qsizetype length = std::min<qsizetype>(entry.name.size(), kDateTimeLength);
    const QChar* text = entry.name.constData();
    for (qsizetype i = 0; i < length; ++i)
        key.words[i / 4] |= quint64(text[i].unicode()) << (48 - 16 * (i % 4));
    key.words[3] |= quint64(length);
    return key;
}

} // namespace

void SortEntries(QVector<RecordingEntry>& entries)
{
    std::vector<SortKey> keys;
    keys.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.push_back(KeyFor(entries[i], qint32(i)));
    std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
        for (int i = 0; i < 4; ++i) {
            if (a.words[i] != b.words[i])
                return a.words[i] < b.words[i];
        }
        if (a.sizeKiB != b.sizeKiB)
            return a.sizeKiB < b.sizeKiB;
        return a.index < b.index; // equal entries keep their found order
    });
    QVector<RecordingEntry> sorted;
    sorted.reserve(entries.size());
    for (const SortKey& key : keys)
        sorted.append(std::move(entries[key.index]));
    entries = std::move(sorted);
}

} // namespace zq
