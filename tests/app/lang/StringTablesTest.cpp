// Checks the twelve string tables in resources/lang against each other: the viewer looks every text up by
// number, so a table that lacks an identifier, holds a broken line or a placeholder the caller does not
// expect shows up as an empty label or a garbled message only in that one language.

#include "LanguageTable.h"
#include "StringTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// String resources of the recorder's language libraries are 16-bit identifiers.
constexpr int kMaxStringId = 65535;
constexpr int kEnglish = 0;
constexpr int kKorean = 1;
constexpr int kGerman = 2;
constexpr int kJapanese = 3;
constexpr int kChinese = 4;
constexpr int kDutch = 5;
constexpr int kFrench = 6;
constexpr int kItalian = 7;
constexpr int kPolish = 8;
constexpr int kPortuguese = 9;
constexpr int kRussian = 10;
constexpr int kSpanish = 11;

QString LangFolder()
{
    return QStringLiteral(ZQ_SOURCE_DIR "/resources/lang/");
}

QString TablePath(int language)
{
    return LangFolder() + zq::LanguageLibraryName(language) + QStringLiteral(".lng");
}

std::string Name(int language)
{
    return zq::LanguageLibraryName(language).toStdString();
}

zq::StringTable LoadTable(int language)
{
    zq::StringTable table;
    EXPECT_TRUE(table.Load(TablePath(language))) << Name(language);
    return table;
}

std::vector<int> Identifiers(const zq::StringTable& table)
{
    std::vector<int> ids;
    for (int id = 1; id <= kMaxStringId; ++id) {
        if (table.Contains(id))
            ids.push_back(id);
    }
    return ids;
}

/// printf conversions ("%s", "%d", "%.08f", "%lf"), Qt's "%1" ... "%99", "%%", and a stray "%" that starts
/// nothing, each as one token, in text order.
std::vector<std::string> Placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(%(?:%|[-+ #0']*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|q|j|z|t|I64|I32)?[diouxXeEfFgGaAcspn]|\d{1,2})?)"));
    std::vector<std::string> tokens;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        tokens.push_back(it.next().captured().toStdString());
    return tokens;
}

bool HasCharIn(const QString& text, char32_t first, char32_t last)
{
    for (char32_t c : text.toUcs4()) {
        if (c >= first && c <= last)
            return true;
    }
    return false;
}

bool HasHangul(const QString& text)
{
    return HasCharIn(text, 0xAC00, 0xD7A3) || HasCharIn(text, 0x1100, 0x11FF)
        || HasCharIn(text, 0x3130, 0x318F);
}

bool HasKana(const QString& text)
{
    return HasCharIn(text, 0x3040, 0x30FF);
}

bool HasHan(const QString& text)
{
    return HasCharIn(text, 0x4E00, 0x9FFF) || HasCharIn(text, 0x3400, 0x4DBF);
}

bool HasCyrillic(const QString& text)
{
    return HasCharIn(text, 0x0400, 0x04FF);
}

/// "OK" and the like, which some languages write in Latin letters too.
bool IsShortLatinWord(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z]{1,3}$"));
    return word.match(text).hasMatch();
}

/// Width in units of about 6 pixels of the 12- and 13-pixel fonts: East Asian characters take two.
int WidthUnits(const QString& text)
{
    int units = 0;
    for (char32_t c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
            || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
            || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
        units += wide ? 2 : 1;
    }
    return units;
}

} // namespace

TEST(StringTables, EveryTableLoadsWithExactlyTheIdentifiersOfEnglish)
{
    const zq::StringTable english = LoadTable(kEnglish);
    const std::vector<int> englishIds = Identifiers(english);
    ASSERT_FALSE(englishIds.empty());
    EXPECT_EQ(english.Count(), int(englishIds.size())) << "English holds an identifier beyond 16 bits";

    for (int language = 1; language < zq::kLanguageCount; ++language) {
        const zq::StringTable table = LoadTable(language);
        EXPECT_EQ(table.Count(), int(Identifiers(table).size())) << Name(language);
        EXPECT_EQ(Identifiers(table), englishIds) << Name(language);
    }
}

TEST(StringTables, EveryLineOfEveryFileIsACommentOrOneIdentifiedText)
{
    // The table reader skips malformed lines and lets a repeated identifier replace the first one without a
    // word, so a slip in a file would only show as a missing or wrong text in the running viewer.
    static const QRegularExpression entry(QStringLiteral("^([0-9]+)\t(.+)$"));
    for (int language = 0; language < zq::kLanguageCount; ++language) {
        QFile file(TablePath(language));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << Name(language);
        const QByteArray bytes = file.readAll();
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << Name(language) << " starts with a byte-order mark";

        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes);
        EXPECT_FALSE(decoder.hasError()) << Name(language) << " is not valid UTF-8";

        const QStringList lines = text.split(QLatin1Char('\n'));
        EXPECT_TRUE(lines.first().startsWith(QLatin1String("# "))) << Name(language) << " lacks its heading";
        QSet<int> seen;
        for (int n = 0; n < lines.size(); ++n) {
            QString line = lines[n];
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QRegularExpressionMatch match = entry.match(line);
            if (!match.hasMatch()) {
                ADD_FAILURE() << Name(language) << " line " << n + 1 << " is not ID<TAB>text";
                continue;
            }
            const int id = match.captured(1).toInt();
            EXPECT_TRUE(id >= 1 && id <= kMaxStringId) << Name(language) << " line " << n + 1;
            EXPECT_FALSE(seen.contains(id)) << Name(language) << " repeats identifier " << id;
            seen.insert(id);
        }
    }
}

TEST(StringTables, NoTextIsEmptyOrCarriesStrayCharacters)
{
    for (int language = 0; language < zq::kLanguageCount; ++language) {
        const zq::StringTable table = LoadTable(language);
        for (int id : Identifiers(table)) {
            const QString text = table.Text(id);
            const std::string where = Name(language) + " " + std::to_string(id);
            ASSERT_FALSE(text.trimmed().isEmpty()) << where;
            // Leading or trailing blanks shift centred captions; a backslash is an escape that went wrong.
            EXPECT_NE(text.front(), QLatin1Char(' ')) << where;
            EXPECT_NE(text.back(), QLatin1Char(' ')) << where;
            EXPECT_FALSE(text.contains(QLatin1Char('\\'))) << where;
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << where;
            for (QChar c : text)
                EXPECT_TRUE(c == QLatin1Char('\n') || c.unicode() >= 0x20)
                    << where << " holds a control character";
        }
    }
}

TEST(StringTables, PlaceholderScannerFindsPrintfQtAndStrayPercentSigns)
{
    using Tokens = std::vector<std::string>;
    EXPECT_EQ(Placeholders("%s : X = %.08f, Y = %.08f"), (Tokens { "%s", "%.08f", "%.08f" }));
    EXPECT_EQ(Placeholders("%04d-%02d-%02d %02d:%02d"), (Tokens { "%04d", "%02d", "%02d", "%02d", "%02d" }));
    EXPECT_EQ(Placeholders("positionChange('%lf', '%lf')"), (Tokens { "%lf", "%lf" }));
    EXPECT_EQ(Placeholders("%2 of %1"), (Tokens { "%2", "%1" }));
    EXPECT_EQ(Placeholders("Battery 100%."), (Tokens { "%" }));
    EXPECT_EQ(Placeholders("50%% off"), (Tokens { "%%" }));
    EXPECT_TRUE(Placeholders("No recordings.").empty());
}

TEST(StringTables, PlaceholdersOfEnglishAppearInTheSameOrderInEveryLanguage)
{
    // Callers hand the values in English order; a missing, extra or swapped conversion would print garbage
    // or read an argument that was never passed.
    const zq::StringTable english = LoadTable(kEnglish);
    for (int language = 1; language < zq::kLanguageCount; ++language) {
        const zq::StringTable table = LoadTable(language);
        for (int id : Identifiers(english))
            EXPECT_EQ(Placeholders(table.Text(id)), Placeholders(english.Text(id)))
                << Name(language) << " " << id;
    }
}

TEST(StringTables, KoreanTextsAreWrittenInHangul)
{
    const zq::StringTable korean = LoadTable(kKorean);
    const std::vector<int> ids = Identifiers(korean);
    ASSERT_FALSE(ids.empty());
    for (int id : ids)
        EXPECT_TRUE(HasHangul(korean.Text(id))) << id << ": " << korean.Text(id).toStdString();
}

TEST(StringTables, JapaneseChineseAndRussianTablesUseTheirOwnScripts)
{
    const zq::StringTable japanese = LoadTable(kJapanese);
    int withKana = 0;
    for (int id : Identifiers(japanese)) {
        const QString text = japanese.Text(id);
        EXPECT_TRUE(HasKana(text) || HasHan(text) || IsShortLatinWord(text)) << "Japanese " << id;
        withKana += HasKana(text) ? 1 : 0;
    }
    // Kanji alone could be Chinese pasted into the Japanese table.
    EXPECT_GT(withKana * 2, japanese.Count());

    // Forms that exist only in Traditional Chinese; the Chinese table is Simplified.
    const QString traditional
        = QStringLiteral("們個這時間開關錄後選擇畫資訊檔體與區轉鐘電儲輛機號種類聲響圖進應無請載單設");
    const zq::StringTable chinese = LoadTable(kChinese);
    for (int id : Identifiers(chinese)) {
        const QString text = chinese.Text(id);
        EXPECT_TRUE(HasHan(text)) << "Chinese " << id;
        EXPECT_FALSE(HasKana(text) || HasHangul(text)) << "Chinese " << id;
        for (QChar c : traditional)
            EXPECT_FALSE(text.contains(c)) << "Chinese " << id << " uses a Traditional form";
    }

    // "№" heads the number column in Russian: a sign, not a letter.
    const zq::StringTable russian = LoadTable(kRussian);
    for (int id : Identifiers(russian)) {
        const QString text = russian.Text(id);
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); })) {
            EXPECT_TRUE(HasCyrillic(text)) << "Russian " << id;
        }
    }
}

TEST(StringTables, LatinScriptTablesAreTranslatedNotCopiedFromEnglish)
{
    // Words such as "OK", "Video" or "Pause" are the same in several languages; a table in which a quarter of
    // the texts equal English is an English copy.
    const zq::StringTable english = LoadTable(kEnglish);
    for (int language : { kGerman, kDutch, kFrench, kItalian, kPolish, kPortuguese, kSpanish }) {
        const zq::StringTable table = LoadTable(language);
        int same = 0;
        for (int id : Identifiers(english))
            same += table.Text(id) == english.Text(id) ? 1 : 0;
        EXPECT_LT(same * 4, english.Count()) << Name(language) << ": " << same << " texts equal English";
    }
}

TEST(StringTables, TextsFitTheTightPlacesTheyAreShownIn)
{
    struct Place {
        int id;
        int maxUnits;
        const char* where;
    };
    // Pixel widths divided by 6; the time overlay leaves room for "    00:00  /  00:00" or "   1.00 x".
    const Place places[] = {
        { 110, 20, "time label in front of mm:ss / mm:ss" },
        { 111, 14, "rate label in front of the rate" },
        { 126, 6, "map caption of the floating map window" },
        { 130, 15, "caption above the recording list" },
        { 135, 5, "first list column" },
    };
    const int loadingLines[] = { 274, 276, 281, 282, 283, 284 };

    for (int language = 0; language < zq::kLanguageCount; ++language) {
        const zq::StringTable table = LoadTable(language);
        for (const Place& place : places) {
            EXPECT_LE(WidthUnits(table.Text(place.id)), place.maxUnits)
                << Name(language) << " " << place.id << " (" << place.where << ")";
        }
        // The loading dialog is 350 pixels wide in English, 400 in French and 300 in the other languages;
        // its lines start 10 pixels in.
        const int dialogWidth = language == kEnglish ? 350 : language == kFrench ? 400 : 300;
        for (int id : loadingLines) {
            EXPECT_LE(WidthUnits(table.Text(id)), (dialogWidth - 20) / 6)
                << Name(language) << " " << id << " (loading dialog line)";
        }
    }
}

TEST(StringTables, IdentifierListDocumentsExactlyTheIdentifiersOfTheTables)
{
    QFile file(LangFolder() + QStringLiteral("IDENTIFIERS.md"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    static const QRegularExpression row(QStringLiteral(R"(^\|\s*([0-9]+)\s*\|)"));
    std::vector<int> documented;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            documented.push_back(match.captured(1).toInt());
    }
    std::sort(documented.begin(), documented.end());
    EXPECT_EQ(std::adjacent_find(documented.begin(), documented.end()), documented.end()) << "listed twice";
    EXPECT_EQ(documented, Identifiers(LoadTable(kEnglish)));
}
