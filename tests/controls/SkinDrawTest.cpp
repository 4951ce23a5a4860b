#include "SkinDraw.h"

#include "SkinTestImages.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

QImage Canvas(int width, int height, QRgb colour = qRgb(1, 1, 1))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(SkinDraw, KindPrefersTheBitmapAndAnEmptyRootHasNoImages)
{
    test::ScopedSkinFolder skin;
    ASSERT_TRUE(skin.AddBitmap(300, 4, 4));
    ASSERT_TRUE(skin.AddPng(300, Canvas(4, 4)));
    ASSERT_TRUE(skin.AddPng(301, Canvas(4, 4)));
    ASSERT_TRUE(skin.AddBrokenPng(302));
    EXPECT_EQ(GetSkinResourceKind(300), 1);
    EXPECT_EQ(GetSkinResourceKind(301), 2);
    EXPECT_EQ(GetSkinResourceKind(302), 2);
    EXPECT_TRUE(LoadSkinPng(302).isNull());
    EXPECT_EQ(GetSkinResourceKind(303), 0);
    EXPECT_EQ(GetSkinResourceKind(300 + 0x10000), 0); // identifiers are 16-bit
    EXPECT_FALSE(SetSkinResourceInstance(QString()));
    EXPECT_EQ(GetSkinResourceKind(300), 0);
    EXPECT_TRUE(SetSkinResourceInstance(skin.Root() + "/"));
    EXPECT_EQ(GetSkinResourceKind(300), 1);
}

TEST(SkinDraw, BitmapsAreCopiedUnscaledFromTheirOffsetAndOnlyWhereTheyReach)
{
    test::ScopedSkinFolder skin;
    QImage bitmap(40, 10, QImage::Format_RGB32); // every pixel tells its position
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            bitmap.setPixel(x, y, qRgb(x, y, 200));
    ASSERT_TRUE(skin.AddBitmap(320, bitmap));
    QImage target = Canvas(60, 20);
    {
        QPainter painter(&target);
        DrawBitmap(painter, 320, 3, 4, 50, 12); // larger than the bitmap
        DrawBitmapPart(painter, 320, 50, 0, 3, 4, 30, 5);
    }
    EXPECT_EQ(target.pixel(3, 4), qRgb(0, 0, 200));
    EXPECT_EQ(target.pixel(42, 13), qRgb(39, 9, 200));
    EXPECT_EQ(target.pixel(43, 4), qRgb(1, 1, 1));
    EXPECT_EQ(target.pixel(3, 14), qRgb(1, 1, 1));
    EXPECT_EQ(target.pixel(52, 3), qRgb(32, 8, 200));
    EXPECT_EQ(target.pixel(53, 0), qRgb(1, 1, 1));
}

TEST(SkinDraw, ColourKeyedPartsLeaveTheKeyOutAndEachKeyIsItsOwn)
{
    test::ScopedSkinFolder skin;
    QImage bitmap(6, 2, QImage::Format_RGB32);
    bitmap.fill(qRgb(200, 0, 0));
    bitmap.setPixel(1, 0, qRgb(0, 0, 0));
    bitmap.setPixel(4, 1, qRgb(0, 255, 0));
    ASSERT_TRUE(skin.AddBitmap(340, bitmap));
    QImage target = Canvas(8, 4);
    {
        QPainter painter(&target);
        DrawBitmapPart(painter, 340, 0, 0, 3, 1, 0, 0, true, qRgb(0, 0, 0));
        DrawBitmapPart(
            painter, 340, 0, 1, 6, 2, 0, 0, true, qRgba(0, 255, 0, 0)); // the key's alpha is no colour
        DrawBitmapPart(painter, 340, 0, 3, 6, 1, 0, 1);
    }
    EXPECT_EQ(target.pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_EQ(target.pixel(1, 0), qRgb(1, 1, 1)); // black left out
    EXPECT_EQ(target.pixel(3, 0), qRgb(1, 1, 1)); // outside the part
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 0)); // black is no key for the green-keyed copy
    EXPECT_EQ(target.pixel(4, 2), qRgb(1, 1, 1)); // green left out
    EXPECT_EQ(target.pixel(4, 3), qRgb(0, 255, 0)); // and drawn where no key is asked for
}

TEST(SkinDraw, DecodedImagesAreKeptUntilTheResourceRootIsSetAgain)
{
    test::ScopedSkinFolder skin;
    ASSERT_TRUE(skin.AddBitmap(350, 2, 2, qRgb(10, 20, 30)));
    const auto drawn = [](int id) {
        QImage target = Canvas(2, 2);
        QPainter painter(&target);
        DrawBitmap(painter, id, 0, 0, 2, 2);
        painter.end();
        return target.pixel(1, 1);
    };
    EXPECT_EQ(drawn(350), qRgb(10, 20, 30));
    // A missing image is looked for again: a skin folder can be filled after the controls drew.
    EXPECT_EQ(drawn(351), qRgb(1, 1, 1));
    ASSERT_TRUE(skin.AddBitmap(351, 2, 2, qRgb(40, 50, 60)));
    EXPECT_EQ(drawn(351), qRgb(40, 50, 60));

    // A decoded image is not read again from its file...
    ASSERT_TRUE(skin.AddBitmap(350, 2, 2, qRgb(70, 80, 90)));
    EXPECT_EQ(drawn(350), qRgb(10, 20, 30));
    EXPECT_EQ(LoadSkinBitmap(350).pixel(0, 0), qRgb(10, 20, 30));
    // ...until a resource root is chosen, even the same one again.
    SetSkinResourceInstance(skin.Root());
    EXPECT_EQ(drawn(350), qRgb(70, 80, 90));

    // Images of one root never stand in for those of another.
    {
        test::ScopedSkinFolder other;
        ASSERT_TRUE(other.AddBitmap(350, 2, 2, qRgb(100, 110, 120)));
        EXPECT_EQ(drawn(350), qRgb(100, 110, 120));
        EXPECT_EQ(drawn(351), qRgb(1, 1, 1));
    }
    EXPECT_EQ(drawn(350), qRgb(70, 80, 90));
}

TEST(SkinDraw, MemoryDcIsCreatedOnceAndBuffersReachTheirTargetAtTheEnd)
{
    CMemoryDC dc;
    ASSERT_TRUE(dc.Create(nullptr, 8, 6));
    dc.fillRect(0, 0, 8, 6, QColor(qRgb(12, 34, 56)));
    EXPECT_FALSE(dc.Create(nullptr, 20, 20));
    EXPECT_EQ(dc.Image().size(), QSize(8, 6));
    dc.fillRect(2, 1, 2, 2, QColor(qRgb(200, 0, 0)));
    EXPECT_FALSE(CMemoryDC().Create(nullptr, 0, 5));

    QImage window = Canvas(20, 20);
    QPainter painter(&window);
    dc.BitBlt(painter, 5, 5, 3, 3, 1, 0);
    {
        // A buffer over a rectangle away from the origin, drawn in the target's coordinates.
        CMemDC2 buffer(&painter, QRect(10, 12, 8, 5));
        buffer.fillRect(0, 0, 20, 20, QColor(qRgb(0, 90, 0)));
        buffer.fillRect(17, 16, 1, 1, QColor(qRgb(255, 255, 0)));
        EXPECT_EQ(window.pixel(11, 13), qRgb(1, 1, 1));
    }
    painter.end();
    EXPECT_EQ(window.pixel(6, 6), qRgb(200, 0, 0));
    EXPECT_EQ(window.pixel(8, 8), qRgb(1, 1, 1));
    EXPECT_EQ(window.pixel(10, 12), qRgb(0, 90, 0));
    EXPECT_EQ(window.pixel(17, 16), qRgb(255, 255, 0));
    EXPECT_EQ(window.pixel(18, 16), qRgb(1, 1, 1));
    EXPECT_EQ(window.pixel(10, 17), qRgb(1, 1, 1));
}

} // namespace
} // namespace zq
