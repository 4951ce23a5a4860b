// What the compiled-in skin images look like where a control relies on it: states that differ, words
// that follow the language, colour keys, tileable strips and seamless top-bar buttons.
#include "LanguageTable.h"
#include "SkinImageTable.h"
#include "SkinResources.h"
#include "StringTable.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using zq::FindSkinImage;
using zq::LanguageImageId;
using zq::SkinImage;
using zq::SkinImages;
using zq::SkinState;

QImage Load(int id)
{
    const SkinImage* image = FindSkinImage(id);
    return image ? QImage(zq::SkinResourcePath(*image)).convertToFormat(QImage::Format_ARGB32) : QImage();
}

// Share of pixels where some channel (alpha included) differs by more than `threshold`.
double ChangedShare(const QImage& a, const QImage& b, int threshold = 24)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({ std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q)) });
            changed += d > threshold ? 1 : 0;
        }
    }
    return double(changed) / (a.width() * a.height());
}

TEST(SkinLook, StatesOfOneButtonAreVisiblyDifferent)
{
    std::map<std::pair<std::string, int>, std::vector<const SkinImage*>> buttons;
    for (const SkinImage& image : SkinImages())
        if (image.state != SkinState::None)
            buttons[{ image.name, image.language }].push_back(&image);
    ASSERT_GT(buttons.size(), 40u);
    for (const auto& [key, states] : buttons) {
        for (size_t i = 0; i < states.size(); ++i) {
            for (size_t j = i + 1; j < states.size(); ++j) {
                SCOPED_TRACE(
                    testing::Message() << key.first << " " << states[i]->id << " vs " << states[j]->id);
                EXPECT_GT(ChangedShare(Load(states[i]->id), Load(states[j]->id)), 0.03);
            }
        }
    }
}

// The string each word button shows, by its English identifier.
const std::map<int, int> kWordOfImage = {
    { 172, 131 },
    { 173, 131 },
    { 174, 131 },
    { 175, 133 },
    { 176, 133 },
    { 177, 133 },
    { 178, 132 },
    { 179, 132 },
    { 180, 132 },
    { 181, 134 },
    { 182, 134 },
    { 183, 134 },
    { 184, 112 },
    { 185, 112 },
    { 186, 113 },
    { 187, 113 },
    { 188, 131 },
    { 189, 131 },
    { 192, 103 },
    { 193, 103 },
    { 194, 109 },
    { 1337, 211 },
    { 1338, 211 },
};

std::vector<zq::StringTable> LoadTables()
{
    std::vector<zq::StringTable> tables(zq::kLanguageCount);
    for (int language = 0; language < zq::kLanguageCount; ++language) {
        const QString path
            = QStringLiteral(ZQ_SOURCE_DIR "/resources/lang/%1.lng").arg(zq::LanguageLibraryName(language));
        tables[size_t(language)].Load(path);
    }
    return tables;
}

bool UsesLatinFont(int language)
{
    return language != 1 && language != 3 && language != 4; // Korean, Japanese, Chinese
}

TEST(SkinLook, WordButtonsFollowTheWordsOfTheirLanguage)
{
    const auto tables = LoadTables();
    int compared = 0;
    for (const auto& [english, stringId] : kWordOfImage) {
        for (int a = 0; a < zq::kLanguageCount; ++a) {
            for (int b = a + 1; b < zq::kLanguageCount; ++b) {
                const QString wordA = tables[size_t(a)].Text(stringId).simplified();
                const QString wordB = tables[size_t(b)].Text(stringId).simplified();
                if (wordA.isEmpty() || wordB.isEmpty())
                    continue;
                SCOPED_TRACE(testing::Message()
                    << english << ": " << wordA.toStdString() << " / " << wordB.toStdString());
                const double changed
                    = ChangedShare(Load(LanguageImageId(english, a)), Load(LanguageImageId(english, b)), 8);
                if (wordA != wordB) {
                    EXPECT_GT(changed, 0.0);
                } else if (UsesLatinFont(a) && UsesLatinFont(b)) {
                    EXPECT_EQ(changed, 0.0); // the same word in the same face is the same picture
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST(SkinLook, MapPanelsSpeakEveryLanguageAndStandOnTransparency)
{
    for (const int english : { zq::kNotConnectedEnglish, zq::kNoDataEnglish }) {
        for (int a = 0; a < zq::kLanguageCount; ++a) {
            const QImage panel = Load(LanguageImageId(english, a));
            ASSERT_FALSE(panel.isNull());
            EXPECT_EQ(qAlpha(panel.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(panel.pixel(panel.width() - 1, panel.height() - 1)), 0);
            EXPECT_GT(qAlpha(panel.pixel(panel.width() / 2, panel.height() / 2)), 200);
            for (int b = a + 1; b < zq::kLanguageCount; ++b)
                EXPECT_GT(ChangedShare(panel, Load(LanguageImageId(english, b)), 8), 0.005)
                    << english << " " << a << " " << b;
        }
        EXPECT_GT(ChangedShare(Load(zq::kNotConnectedEnglish), Load(zq::kNoDataEnglish)), 0.02);
    }
}

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kWhite = 0xffffffff;

int CountOf(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST(SkinLook, SimpleSliderThumbIsKeyedWithBlack)
{
    const QImage thumb = Load(1042);
    const int keyed = CountOf(thumb, kBlack);
    EXPECT_GT(keyed, thumb.width() * thumb.height() / 20);
    EXPECT_LT(keyed, thumb.width() * thumb.height() / 2);
    // The pointed bottom leaves its corners to the key; the body is drawn.
    EXPECT_EQ(thumb.pixel(0, thumb.height() - 1), kBlack);
    EXPECT_EQ(thumb.pixel(thumb.width() - 1, thumb.height() - 1), kBlack);
    EXPECT_NE(thumb.pixel(thumb.width() / 2, 3), kBlack);
}

TEST(SkinLook, SpeedDigitsAreKeyedWithWhiteAndReadApart)
{
    std::vector<int> lit;
    for (int digit = 0; digit < 10; ++digit) {
        const QImage image = Load(20014 + digit);
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (p == kWhite)
                    continue;
                // No light fringe: a drawn pixel is never nearly the key.
                EXPECT_LT(std::min({ qRed(p), qGreen(p), qBlue(p) }), 200)
                    << digit << " at " << x << "," << y;
                ++count;
            }
        }
        lit.push_back(count);
        for (int other = 0; other < digit; ++other)
            EXPECT_GT(ChangedShare(image, Load(20014 + other)), 0.02) << digit << " looks like " << other;
    }
    EXPECT_EQ(std::max_element(lit.begin(), lit.end()) - lit.begin(), 8);
    EXPECT_EQ(std::min_element(lit.begin(), lit.end()) - lit.begin(), 1);

    // The decimal point sits on the digits' baseline.
    const QImage point = Load(20012);
    int pointLit = 0;
    for (int y = 0; y < point.height(); ++y)
        for (int x = 0; x < point.width(); ++x)
            if (point.pixel(x, y) != kWhite) {
                EXPECT_GE(y, 12);
                ++pointLit;
            }
    EXPECT_GT(pointLit, 0);
}

TEST(SkinLook, SpeedBackgroundsKeepOneColourWhereTheDigitsGo)
{
    const QImage kmh = Load(20011);
    const QImage mph = Load(20053);
    // Digits stand at x 20..69, the point at 55..60, all at y 11..28 of a display of the image's size.
    const QRgb window = kmh.pixel(20, 11);
    for (int y = 11; y < 29; ++y)
        for (int x = 20; x < 70; ++x)
            ASSERT_EQ(kmh.pixel(x, y), window) << x << "," << y;
    EXPECT_NE(window, kWhite);
    EXPECT_GT(ChangedShare(kmh, mph), 0.005); // the unit is named
}

TEST(SkinLook, PositionStripTilesBetweenItsCaps)
{
    const QImage strip = Load(1034);
    ASSERT_GE(strip.width(), 547);
    const auto column = [&strip](int x) {
        std::vector<QRgb> c;
        for (int y = 0; y < strip.height(); ++y)
            c.push_back(strip.pixel(x, y));
        return c;
    };
    // The control tiles x 10..19 and puts the caps at 0..9 and 537..546 over it.
    for (int x = 10; x < 537; ++x)
        ASSERT_EQ(column(x), column(10)) << x;
    EXPECT_NE(column(0), column(10));
    EXPECT_NE(column(546), column(10));
}

TEST(SkinLook, VolumeBarFillsOneBarPerLevel)
{
    const QImage empty = Load(20001);
    const QImage full = Load(20002);
    ASSERT_EQ(empty.size(), full.size());
    const int slot = empty.width() / 10;
    for (int level = 0; level < 10; ++level) {
        const QRect r(level * slot, 0, slot, empty.height());
        EXPECT_GT(ChangedShare(empty.copy(r), full.copy(r)), 0.05) << "bar " << level;
    }
}

TEST(SkinLook, TopBarButtonsContinueTheTopTile)
{
    const QImage tile = Load(1057);
    const QRgb window = qRgb(10, 10, 10);
    // Top-bar buttons stand at y 9; below the 33-row tile the window's own colour shows.
    for (const SkinImage& image : SkinImages()) {
        const std::string name = image.name;
        const bool topBar = image.width == 32 && image.height == 31;
        const bool windowButton = name == "minimise" || name == "maximise" || name == "close";
        if (!topBar && !windowButton)
            continue;
        const QImage button = Load(image.id);
        for (int y = 0; y < button.height(); ++y) {
            const QRgb behind = y + 9 < tile.height() ? tile.pixel(0, y + 9) : window;
            EXPECT_EQ(button.pixel(0, y), behind) << image.id << " row " << y;
        }
    }
}

TEST(SkinLook, PlaybackRowStandsOnTheBandColour)
{
    // The main window frames the playback row in RGB(30, 30, 30), the simple sliders' own background.
    const QRgb band = qRgb(30, 30, 30);
    std::vector<int> ids = { 20001, 20002, 1040 };
    for (int id = 19171; id <= 19214; ++id)
        ids.push_back(id);
    for (int id = 19221; id <= 19244; ++id)
        ids.push_back(id);
    for (const int id : ids) {
        if (!FindSkinImage(id))
            continue;
        const QImage image = Load(id);
        EXPECT_EQ(image.pixel(0, 0), band) << id;
        EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), band) << id;
    }
}

} // namespace
