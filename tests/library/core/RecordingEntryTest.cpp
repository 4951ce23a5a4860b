#include "RecordingEntry.h"

#include "OptionFile.h"
#include "ProgramFolder.h"
#include "RecordingListRow.h"
#include "SystemTime.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace zq;

namespace {

RecordingEntry entry(const QString& name, quint64 bytes = 1024 * 1024)
{
    return ParseEntry({ name, bytes }, "/media/card/NORMAL/", kOriginScan);
}

// Ticks since 1601 computed independently through Qt's calendar.
quint64 ticksOf(int y, int mo, int d, int h, int mi, int s)
{
    const QDateTime epoch1601(QDate(1601, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime when(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc());
    return quint64(epoch1601.secsTo(when)) * 10'000'000ull;
}

TEST(RecordingName, GrammarGivesDateTimeStampPathAndSize)
{
    const RecordingEntry e = entry("20170531_090507E_0001.avi", 3 * 1024 * 1024 + 1023);
    EXPECT_EQ(e.dateTime.year, 2017);
    EXPECT_EQ(e.dateTime.month, 5);
    EXPECT_EQ(e.dateTime.day, 31);
    EXPECT_EQ(e.dateTime.hour, 9);
    EXPECT_EQ(e.dateTime.minute, 5);
    EXPECT_EQ(e.dateTime.second, 7);
    EXPECT_EQ(e.dateTime.dayOfWeek, 0);
    EXPECT_EQ(e.dateTime.milliseconds, 0);
    EXPECT_EQ(e.stamp.Ticks(), ticksOf(2017, 5, 31, 9, 5, 7));
    EXPECT_EQ(e.path, "/media/card/NORMAL/20170531_090507E_0001.avi");
    EXPECT_EQ(e.sizeKiB, 3u * 1024); // rounded down
    EXPECT_EQ(e.origin, kOriginScan);
}

TEST(RecordingName, FieldsReadLeadingDigitsOnly)
{
    const RecordingEntry e = entry("2017x531_0a0507D.avi");
    EXPECT_EQ(e.dateTime.year, 2017);
    EXPECT_EQ(e.dateTime.month, 0); // "x5"
    EXPECT_EQ(e.dateTime.day, 31);
    EXPECT_EQ(e.dateTime.hour, 0); // "0a" reads 0
    EXPECT_EQ(e.stamp.Ticks(), 0u); // month 0 is no date
}

TEST(RecordingName, ShortNamesAndInvalidDatesGiveZeroStamps)
{
    const RecordingEntry shortName = entry("2017.avi");
    EXPECT_EQ(shortName.dateTime.year, 2017);
    EXPECT_EQ(shortName.dateTime.month, 0); // ".a" has no digit
    EXPECT_EQ(shortName.stamp.Ticks(), 0u);
    EXPECT_EQ(entry("20170229_120000D.avi").stamp.Ticks(), 0u); // 2017 is not a leap year
    EXPECT_EQ(entry("20170431_120000D.avi").stamp.Ticks(), 0u);
    EXPECT_EQ(entry("20171231_240000D.avi").stamp.Ticks(), 0u);
    EXPECT_EQ(entry("20160229_235959D.avi").stamp.Ticks(), ticksOf(2016, 2, 29, 23, 59, 59));
    EXPECT_EQ(entry("16010101_000000D.avi").stamp.Ticks(), 0u); // the first tick is valid but zero anyway
    EXPECT_EQ(entry("16001231_235959D.avi").stamp.Ticks(), 0u);
}

TEST(SystemTimeConversion, MatchesTheCalendarAcrossCenturies)
{
    for (int year : { 1601, 1900, 1970, 2000, 2038, 2100, 9999 }) {
        SystemTime t;
        t.year = quint16(year);
        t.month = 3;
        t.day = 1;
        t.hour = 12;
        FileTime out;
        ASSERT_TRUE(SystemTimeToFileTime(t, &out)) << year;
        EXPECT_EQ(out.Ticks(), ticksOf(year, 3, 1, 12, 0, 0)) << year;
    }
    SystemTime bad;
    bad.year = 2000;
    bad.month = 13;
    bad.day = 1;
    FileTime untouched { 7, 9 };
    EXPECT_FALSE(SystemTimeToFileTime(bad, &untouched));
    EXPECT_EQ(untouched.low, 7u);
}

TEST(RecordingCategory, LetterAtIndexFifteenDecides)
{
    EXPECT_EQ(CategoryOf("20170101_120000D.avi"), kCategoryInfinite);
    EXPECT_EQ(CategoryOf("20170101_120000E.avi"), kCategoryEvent);
    EXPECT_EQ(CategoryOf("20170101_120000M.avi"), kCategoryParking);
    EXPECT_EQ(CategoryOf("20170101_120000e.avi"), kCategoryUnknown); // case matters
    EXPECT_EQ(CategoryOf("20170101_120000X.avi"), kCategoryUnknown);
    EXPECT_EQ(CategoryOf("20170101_120000"), kCategoryUnknown); // 15 characters
    EXPECT_EQ(CategoryOf("20170101_120000D"), kCategoryInfinite);
    // The folder a file lies in does not matter.
    EXPECT_EQ(
        CategoryOf(ParseEntry({ "20170101_120000D.avi", 1 }, "/card/EVENT/", 0).name), kCategoryInfinite);
}

TEST(RecordingCategory, LabelsComeFromTheLanguageTexts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeFile(
        dir.filePath("lang/English.lng"), "131\tAll\n132\tEvent\n133\tInfinite\n134\tParking\n"));
    SetProgramFolder(dir.path());
    TheOptionFile() = {};
    EXPECT_EQ(CategoryLabel(kCategoryInfinite), "Infinite");
    EXPECT_EQ(CategoryLabel(kCategoryEvent), "Event");
    EXPECT_EQ(CategoryLabel(kCategoryParking), "Parking");
    EXPECT_EQ(CategoryLabel(kCategoryAll), "All");
    EXPECT_EQ(CategoryLabel(kCategoryUnknown), "UnKnown");
    TheOptionFile().m_language = 12; // no table: labels are empty
    TheOptionFile().LoadLanguageDll();
    EXPECT_TRUE(CategoryLabel(kCategoryEvent).isEmpty());
    SetProgramFolder({});
    TheOptionFile() = {};
}

TEST(RecordingOrder, OlderFirstThenSmallerFirst)
{
    QVector<RecordingEntry> entries {
        entry("20170101_120500D.avi", 5000 * 1024),
        entry("20170101_120000M.avi", 900 * 1024),
        entry("20170101_120000E.avi", 300 * 1024),
        entry("20161231_235959X.avi", 1 * 1024),
    };
    std::stable_sort(entries.begin(), entries.end(), EntryLess);
    QStringList names;
    for (const RecordingEntry& e : entries)
        names << e.name;
    EXPECT_EQ(names,
        (QStringList { "20161231_235959X.avi", "20170101_120000E.avi", "20170101_120000M.avi",
            "20170101_120500D.avi" }));
    // Only the first 15 characters count as the date-time text.
    EXPECT_FALSE(EntryLess(entry("20170101_120000E.avi", 1024), entry("20170101_120000D.avi", 1024)));
    EXPECT_FALSE(EntryLess(entry("20170101_120000D.avi", 1024), entry("20170101_120000E.avi", 1024)));
}

TEST(RecordingOrder, DateTimeTextsCompareAsQtComparesThem)
{
    // Names that agree, differ early or late, run short, or hold characters beyond ASCII and surrogates.
    const QStringList names { "20170101_120000D.avi", "20170101_120000E.avi", "20170101_12000", "2017", "",
        "20170101_120000", "20170101_1200001", "a", "Z", QString::fromUtf8("2017é"),
        QString::fromUtf8("2017😀"), QString::fromUtf8("2017\uffff"), "20161231_235959D.avi",
        "20170101_120000D.avi.bak" };
    for (const QString& a : names) {
        for (const QString& b : names) {
            for (const auto& [aKiB, bKiB] : { std::pair { 1, 1 }, std::pair { 1, 2 }, std::pair { 2, 1 } }) {
                const RecordingEntry x = entry(a, aKiB * 1024);
                const RecordingEntry y = entry(b, bKiB * 1024);
                const int order = QStringView(a).left(15).compare(QStringView(b).left(15));
                const bool expected = order != 0 ? order < 0 : aKiB < bKiB;
                EXPECT_EQ(EntryLess(x, y), expected) << a.toStdString() << " / " << b.toStdString();
            }
        }
    }
}

TEST(RecordingOrder, SortingAListGivesTheStableEntryLessOrder)
{
    // Names alike in their first characters, short, empty, with NUL and the highest byte, in many copies of
    // equal sizes (the found order must survive) and of sizes that differ; then the same with names beyond
    // one byte a character, alone and mixed in.
    const QStringList narrow { "20170101_120000D.avi", "20170101_120000E.avi", "20170101_12000", "2017", "",
        "20170101_120000", "20170101_1200001", "a", "Z", QString::fromUtf8("2017é"),
        QString::fromUtf8("2017ÿ"), QString::fromUtf8("2017ÿX"), QString::fromLatin1("2017\0", 5),
        QString::fromLatin1("2017\0\0", 6), "20161231_235959D.avi", "20170101_120000D.avi.bak",
        "99999999_999999X.avi" };
    const QStringList wide { QString::fromUtf8("2017😀"), QString::fromUtf8("2017\uffff"),
        QString::fromUtf8("2017\u0100"), QString::fromUtf8("2017\uffffX"), QString::fromUtf8("녹화") };
    for (const QStringList& names : { narrow, wide, narrow + wide }) {
        std::mt19937 random(8);
        QVector<RecordingEntry> entries;
        for (int i = 0; i < 3000; ++i) {
            RecordingEntry e = entry(names[int(random() % names.size())], (random() % 3) * 1024);
            e.path = QString::number(i); // tells equal entries apart
            entries.append(e);
        }
        QVector<RecordingEntry> expected = entries;
        std::stable_sort(expected.begin(), expected.end(), EntryLess);
        SortEntries(entries);
        ASSERT_EQ(entries.size(), expected.size());
        for (qsizetype i = 0; i < entries.size(); ++i) {
            ASSERT_EQ(entries[i].path, expected[i].path)
                << "at " << i << ": " << entries[i].name.toStdString() << " of " << names.size() << " names";
            ASSERT_EQ(entries[i].name, expected[i].name);
        }
    }
    QVector<RecordingEntry> none;
    SortEntries(none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(RecordingListRow, ColumnsAsTheListShowsThem)
{
    const RecordingListRow row = ListRowFor(entry("20170531_090507E.avi"), 0);
    EXPECT_EQ(row.number, "1");
    EXPECT_EQ(row.date, "2017-05-31");
    EXPECT_EQ(row.time, "09:05:07");
    EXPECT_EQ(row.path, "/media/card/NORMAL/20170531_090507E.avi");
    EXPECT_EQ(row.name, "20170531_090507E.avi");
    EXPECT_EQ(ListRowFor(entry("x.avi"), 41).date, "0000-00-00");
    EXPECT_EQ(ListRowFor(entry("x.avi"), 41).number, "42");
}

TEST(RecordingListRow, DateAndTimeArePaddedAsAFormattedPrintWould)
{
    // Field values from none to wider than their column, against printf's own "%04d"/"%02d".
    for (const quint16 value : { 0, 1, 9, 10, 59, 99, 100, 999, 1000, 9999, 10000, 65535 }) {
        RecordingEntry e = entry("20170531_090507E.avi");
        e.dateTime
            = { value, quint16(value % 200), 0, value, value, quint16(value / 3), quint16(value % 101), 0 };
        const SystemTime& t = e.dateTime;
        const RecordingListRow row = ListRowFor(e, 0);
        EXPECT_EQ(row.date, QString::asprintf("%04d-%02d-%02d", t.year, t.month, t.day)) << value;
        EXPECT_EQ(row.time, QString::asprintf("%02d:%02d:%02d", t.hour, t.minute, t.second)) << value;
    }
    // Digits outside ASCII are no digits in a name.
    const RecordingEntry wide = entry(QString::fromUtf8("２０17\u00b2531_090507E.avi"));
    EXPECT_EQ(wide.dateTime.year, 0);
    EXPECT_EQ(wide.dateTime.month, 0);
}

} // namespace
