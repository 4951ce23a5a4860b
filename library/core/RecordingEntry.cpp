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
// name's own allocation. The date-time text is packed into words, the first unit highest, shorter texts
// padded with zeros and the text's length in the lowest bits of the last word: comparing the words in turn
// then orders the texts unit by unit with the shorter first where one begins the other, as EntryLess does
// (no unit is below zero, so the padding never sorts ahead of a real unit). When every text lies within
// Latin-1, as a card's names do, a unit takes a byte and a key half the room; otherwise two bytes.
template <int kUnitBits> struct SortKey {
    static constexpr int kPerWord = 64 / kUnitBits;
    static constexpr int kWords = (kDateTimeLength + 1 + kPerWord - 1) / kPerWord; // with the length
    quint64 words[kWords];
    quint64 sizeKiB;
    qint32 index;

    /// `*units` collects the bits of every unit seen, for telling whether they fit.
    SortKey(const RecordingEntry& entry, qint32 at, char16_t* units)
        : words {}
        , sizeKiB(entry.sizeKiB)
        , index(at)
    {
        const qsizetype length = std::min<qsizetype>(entry.name.size(), kDateTimeLength);
        const QChar* text = entry.name.constData();
        for (qsizetype i = 0; i < length; ++i) {
            *units |= text[i].unicode();
            words[i / kPerWord] |= quint64(text[i].unicode()) << (64 - kUnitBits * (1 + i % kPerWord));
        }
        words[kWords - 1] |= quint64(length);
    }

    bool operator<(const SortKey& other) const
    {
        for (int i = 0; i < kWords; ++i) {
            if (words[i] != other.words[i])
                return words[i] < other.words[i];
        }
        if (sizeKiB != other.sizeKiB)
            return sizeKiB < other.sizeKiB;
        return index < other.index; // equal entries keep their found order
    }
};
static_assert(SortKey<8>::kWords == 2 && SortKey<16>::kWords == 4);

/// False, leaving the entries as they are, when a unit does not fit in kUnitBits.
template <int kUnitBits> bool SortByKeys(QVector<RecordingEntry>& entries)
{
    std::vector<SortKey<kUnitBits>> keys;
    keys.reserve(size_t(entries.size()));
    char16_t units = 0;
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.emplace_back(entries[i], qint32(i), &units);
    if (kUnitBits < 16 && (units >> kUnitBits) != 0)
        return false;
    std::sort(keys.begin(), keys.end());
    // Each entry moves once, along the cycles of the order, with no second list.
    RecordingEntry* const items = entries.data();
    for (qint32 start = 0; start < qint32(keys.size()); ++start) {
        if (keys[size_t(start)].index == start)
            continue;
        RecordingEntry held = std::move(items[start]);
        qint32 to = start;
        for (;;) {
            const qint32 from = keys[size_t(to)].index;
            keys[size_t(to)].index = to;
            if (from == start) {
                items[to] = std::move(held);
                break;
            }
            items[to] = std::move(items[from]);
            to = from;
        }
    }
    return true;
}

} // namespace

void SortEntries(QVector<RecordingEntry>& entries)
{
    if (!SortByKeys<8>(entries))
        SortByKeys<16>(entries);
}

} // namespace zq
