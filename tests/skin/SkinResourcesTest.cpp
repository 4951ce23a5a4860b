// The compiled-in skin against its table, and the table against the identifiers the windows use.
#include "SkinResources.h"

#include "SkinImageTable.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <set>

namespace {

using zq::FindSkinImage;
using zq::LanguageImageId;
using zq::SkinImage;
using zq::SkinImages;
using zq::SkinKind;

QByteArray Head(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

TEST(SkinResources, EveryTableImageIsCompiledInWithItsKindAndSize)
{
    for (const SkinImage& image : SkinImages()) {
        SCOPED_TRACE(image.id);
        const QString bmp = QStringLiteral(":/skin/bmp/%1.bmp").arg(image.id);
        const QString png = QStringLiteral(":/skin/png/%1.png").arg(image.id);
        const bool isBmp = image.kind == SkinKind::Bmp;
        // Only one kind exists per identifier, so GetSkinResourceKind's answer is the table's.
        EXPECT_EQ(QFile::exists(bmp), isBmp);
        EXPECT_EQ(QFile::exists(png), !isBmp);
        const QString path = isBmp ? bmp : png;
        EXPECT_EQ(zq::SkinResourcePath(image), path);
        EXPECT_EQ(Head(path, isBmp ? 2 : 8), isBmp ? QByteArray("BM") : QByteArray("\x89PNG\r\n\x1a\n"));
        const QImage pixels(path);
        ASSERT_FALSE(pixels.isNull());
        EXPECT_EQ(pixels.width(), image.width);
        EXPECT_EQ(pixels.height(), image.height);
        if (isBmp) {
            EXPECT_FALSE(pixels.hasAlphaChannel());
        }
    }
    EXPECT_TRUE(zq::SkinResourcesPresent());
}

TEST(SkinResources, HoldsNothingBeyondTheTable)
{
    std::set<QString> expected;
    for (const SkinImage& image : SkinImages())
        expected.insert(zq::SkinResourcePath(image));
    std::set<QString> found;
    for (const char* folder : { ":/skin/bmp", ":/skin/png" })
        for (const QString& name : QDir(QString::fromLatin1(folder)).entryList(QDir::Files))
            found.insert(QString::fromLatin1(folder) + QLatin1Char('/') + name);
    EXPECT_EQ(found, expected);
}

TEST(SkinImageTable, IdentifiersAreUniqueSixteenBitAndFindable)
{
    std::set<int> ids;
    for (const SkinImage& image : SkinImages()) {
        EXPECT_TRUE(ids.insert(image.id).second) << "duplicate " << image.id;
        EXPECT_GT(image.id, 0);
        EXPECT_LE(image.id, 0xFFFF);
        EXPECT_EQ(FindSkinImage(image.id), &image);
    }
    EXPECT_EQ(FindSkinImage(0), nullptr);
    EXPECT_EQ(FindSkinImage(171), nullptr);
}

struct IdRun {
    int first;
    int count;
    int width;
    int height; // 0 × 0: the size is ours to choose
};

// The images the windows name, at the sizes they draw them.
constexpr IdRun kNamedImages[] = {
    { 19101, 3, 32, 31 },
    { 19294, 4, 32, 31 },
    { 19111, 4, 32, 31 },
    { 19121, 4, 32, 31 },
    { 19131, 4, 32, 31 },
    { 19141, 3, 32, 31 },
    { 19151, 3, 32, 31 },
    { 19161, 3, 32, 31 },
    { 18101, 3, 30, 24 },
    { 18111, 3, 30, 24 },
    { 18121, 3, 30, 24 },
    { 19171, 4, 32, 32 },
    { 19181, 4, 32, 32 },
    { 19191, 4, 32, 32 },
    { 19195, 4, 32, 32 },
    { 19201, 4, 32, 32 },
    { 19211, 4, 32, 32 },
    { 19221, 2, 24, 24 },
    { 19231, 2, 24, 24 },
    { 19241, 4, 24, 24 },
    { 19251, 3, 32, 32 },
    { 172, 12, 43, 23 },
    { 184, 6, 43, 19 },
    { 157, 3, 30, 24 },
    { 1036, 1, 11, 22 },
    { 1040, 1, 66, 9 },
    { 1042, 1, 11, 13 },
    { 1055, 1, 3, 7 },
    { 162, 2, 18, 18 },
    { 164, 1, 12, 1 },
    { 165, 3, 18, 18 },
    { 1057, 1, 100, 33 },
    { 170, 1, 720, 421 },
    { 20012, 1, 6, 18 },
    { 20014, 10, 10, 18 },
    { 20011, 1, 0, 0 },
    { 20053, 1, 0, 0 },
    { 20001, 2, 0, 0 },
    { 1335, 2, 83, 32 },
};

// The about box and map panels by language index.
constexpr int kAboutTitle[12] = { 194, 1092, 1122, 1145, 1306, 1260, 1191, 1214, 1283, 1237, 1329, 1168 };
constexpr int kAboutOkNormal[12] = { 192, 1094, 1120, 1143, 1304, 1258, 1189, 1212, 1281, 1235, 1327, 1166 };
constexpr int kAboutOkPressed[12] = { 193, 1095, 1121, 1144, 1305, 1259, 1190, 1213, 1282, 1236, 1328, 1167 };
constexpr int kNotConnected[12] = { 190, 155, 1118, 1141, 1302, 1256, 1187, 1210, 1279, 1233, 1325, 1164 };
constexpr int kNoData[12] = { 191, 148, 1119, 1142, 1303, 1257, 1188, 1211, 1280, 1234, 1326, 1165 };

void ExpectImage(int id, SkinKind kind, int width, int height)
{
    SCOPED_TRACE(id);
    const SkinImage* image = FindSkinImage(id);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->kind, kind);
    if (width > 0) {
        EXPECT_EQ(image->width, width);
        EXPECT_EQ(image->height, height);
    }
}

TEST(SkinImageTable, HoldsEveryImageTheWindowsNameAtItsSize)
{
    for (const IdRun& run : kNamedImages)
        for (int id = run.first; id < run.first + run.count; ++id)
            ExpectImage(id, SkinKind::Bmp, run.width, run.height);
    // The position slider cuts its right cap at x 537.
    ASSERT_NE(FindSkinImage(1034), nullptr);
    EXPECT_GE(FindSkinImage(1034)->width, 547);
    for (int language = 0; language < 12; ++language) {
        ExpectImage(kAboutTitle[language], SkinKind::Bmp, 291, 28);
        ExpectImage(kAboutOkNormal[language], SkinKind::Bmp, 83, 32);
        ExpectImage(kAboutOkPressed[language], SkinKind::Bmp, 83, 32);
        ExpectImage(kNotConnected[language], SkinKind::Png, 0, 0);
        ExpectImage(kNoData[language], SkinKind::Png, 0, 0);
    }
}

TEST(LanguageImageId, MapsTheKnownPerLanguageImages)
{
    for (int language = 0; language < 12; ++language) {
        SCOPED_TRACE(language);
        EXPECT_EQ(LanguageImageId(194, language), kAboutTitle[language]);
        EXPECT_EQ(LanguageImageId(192, language), kAboutOkNormal[language]);
        EXPECT_EQ(LanguageImageId(193, language), kAboutOkPressed[language]);
        EXPECT_EQ(LanguageImageId(190, language), kNotConnected[language]);
        EXPECT_EQ(LanguageImageId(191, language), kNoData[language]);
    }
    for (int english = 172; english <= 189; ++english)
        EXPECT_EQ(LanguageImageId(english, 0), english);
}

TEST(LanguageImageId, GivesEachLanguageItsOwnButtonsOfTheSameKind)
{
    std::vector<int> englishIds;
    for (int id = 172; id <= 194; ++id)
        englishIds.push_back(id);
    englishIds.push_back(zq::kRearMirrorNormalEnglish);
    englishIds.push_back(zq::kRearMirrorSelectedEnglish);
    std::set<int> seen;
    for (int language = 0; language < 12; ++language) {
        for (int english : englishIds) {
            SCOPED_TRACE(testing::Message() << english << " in " << language);
            const int id = LanguageImageId(english, language);
            EXPECT_TRUE(seen.insert(id).second) << "shared identifier " << id;
            const SkinImage* image = FindSkinImage(id);
            const SkinImage* original = FindSkinImage(english);
            ASSERT_NE(image, nullptr);
            ASSERT_NE(original, nullptr);
            EXPECT_EQ(image->language, language);
            EXPECT_STREQ(image->name, original->name);
            EXPECT_EQ(image->state, original->state);
            EXPECT_EQ(image->width, original->width);
            EXPECT_EQ(image->height, original->height);
            EXPECT_EQ(image->kind, original->kind);
        }
    }
    // Every image with a language is reachable from its English one, and none is left over.
    int perLanguage = 0;
    for (const SkinImage& image : SkinImages())
        perLanguage += image.language >= 0 ? 1 : 0;
    EXPECT_EQ(size_t(perLanguage), seen.size());
}

TEST(LanguageImageId, GivesNoImageOutsideTheLanguagesOrForCommonImages)
{
    EXPECT_EQ(LanguageImageId(172, -1), 0);
    EXPECT_EQ(LanguageImageId(172, 12), 0);
    EXPECT_EQ(LanguageImageId(194, 12), 0);
    EXPECT_EQ(LanguageImageId(19101, 0), 0);
    EXPECT_EQ(LanguageImageId(171, 1), 0);
    EXPECT_EQ(LanguageImageId(195, 1), 0);
    // A Korean identifier is not an English one.
    EXPECT_EQ(LanguageImageId(1074, 2), 0);
}

} // namespace
