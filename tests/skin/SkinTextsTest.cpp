// The generator's words: a text missing from a language falls back to English, then to a placeholder.
#include "SkinTexts.h"

#include "SkinGenerator.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using zq::skin::SkinTexts;

TEST(SkinTexts, FallsBackToEnglishThenToAVisiblePlaceholder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(zq::test::writeFile(folder.filePath("English.lng"), "# English\n112\tFront\n131\tAll\n"));
    ASSERT_TRUE(zq::test::writeFile(folder.filePath("German.lng"), "# German\n112\tVorne\n"));
    SkinTexts texts;
    texts.Load(folder.path());
    EXPECT_EQ(texts.LoadedCount(), 2);
    EXPECT_EQ(texts.Word(2, 112), "Vorne");
    EXPECT_EQ(texts.Word(2, 131), "All"); // German lacks it
    EXPECT_EQ(texts.Word(1, 112), "Front"); // no Korean table at all
    EXPECT_EQ(texts.Word(2, 113), "[113]"); // nobody has it
    EXPECT_EQ(texts.Fallbacks().size(), 3);
}

TEST(SkinTexts, PutsATwoLineTextOnOneLine)
{
    QTemporaryDir folder;
    ASSERT_TRUE(zq::test::writeFile(folder.filePath("English.lng"), "109\tAbout\\nthe viewer\n"));
    SkinTexts texts;
    texts.Load(folder.path());
    EXPECT_EQ(texts.Word(0, 109), "About the viewer");
}

TEST(SkinTexts, DrawsEveryImageEvenWithoutStringTables)
{
    SkinTexts none;
    none.Load(QStringLiteral("/nonexistent"));
    const zq::skin::SkinGenerator generator(none);
    for (const auto& rendered : generator.RenderAll()) {
        ASSERT_EQ(rendered.pixels.size(), QSize(rendered.image->width, rendered.image->height))
            << rendered.image->id;
        // Nothing fell through to the "nobody draws this" square.
        EXPECT_NE(rendered.pixels.pixel(rendered.pixels.width() / 2, rendered.pixels.height() / 2),
            qRgb(255, 0, 255))
            << rendered.image->id;
    }
    EXPECT_FALSE(none.Fallbacks().isEmpty());
}

} // namespace
