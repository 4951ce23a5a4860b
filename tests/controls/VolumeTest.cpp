#include "CRkVolumeCtrl.h"
#include "CommandIds.h"
#include "SkinTestImages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ColourForId;
using test::Grab;

TEST(VolumeCtrl, LevelFromPointCoversEveryColumn)
{
    CRkVolumeCtrl volume;
    volume.resize(110, 12);
    const std::pair<int, int> onWide[]
        = { { -1, 0 }, { 0, 0 }, { 9, 0 }, { 10, 1 }, { 54, 5 }, { 109, 10 }, { 110, 10 } };
    for (auto [x, level] : onWide)
        EXPECT_EQ(volume.LevelFromPoint(x), level) << x;
    volume.resize(80, 12); // columns of 7: the last ones clamp to 10
    EXPECT_EQ(volume.LevelFromPoint(69), 9);
    EXPECT_EQ(volume.LevelFromPoint(76), 10);
    volume.resize(5, 12); // narrower than eleven columns: no division by zero
    EXPECT_EQ(volume.LevelFromPoint(3), 3);
}

TEST(VolumeCtrl, DrawsTheLevelAndKeepsItUnderTheMutedPicture)
{
    test::ScopedSkinFolder skin;
    ASSERT_TRUE(skin.AddBitmap(20001, 110, 12));
    ASSERT_TRUE(skin.AddBitmap(20002, 110, 12));
    CRkVolumeCtrl volume;
    volume.resize(110, 12);
    EXPECT_EQ(volume.Level(), 5);
    EXPECT_EQ(Grab(volume).pixel(54, 6), ColourForId(20002)); // (110 / 10) × 5 pixels filled
    EXPECT_EQ(Grab(volume).pixel(55, 6), ColourForId(20001));
    volume.SetLevel(-3);
    EXPECT_EQ(volume.Level(), 0);
    volume.SetLevel(14);
    EXPECT_EQ(volume.Level(), 10);
    EXPECT_EQ(Grab(volume).pixel(109, 6), ColourForId(20002));

    volume.SetLevel(7);
    volume.DrawMuted();
    EXPECT_EQ(volume.Level(), 7);
    EXPECT_EQ(Grab(volume).pixel(2, 6), ColourForId(20001));
    EXPECT_EQ(Grab(volume).pixel(2, 6), ColourForId(20001)); // a repaint keeps the muted picture
    volume.DrawLevel();
    EXPECT_EQ(Grab(volume).pixel(76, 6), ColourForId(20002));
    EXPECT_EQ(Grab(volume).pixel(77, 6), ColourForId(20001));
}

TEST(VolumeCtrl, ClickPostsTheNewLevelToTheParent)
{
    test::MessageRecorder owner;
    CRkVolumeCtrl volume;
    ASSERT_TRUE(volume.Create(&owner, 77, 512, 4, 110, 12));
    EXPECT_EQ(volume.objectName(), QStringLiteral("RkVolumeWnd"));
    EXPECT_EQ(volume.geometry(), QRect(512, 4, 110, 12));
    owner.show();
    EXPECT_TRUE(volume.isVisible());
    volume.DrawMuted();
    test::Click(volume, QPoint(31, 6));
    EXPECT_EQ(volume.Level(), 3);
    EXPECT_FALSE(volume.ShowsMuted());
    EXPECT_TRUE(owner.m_messages.isEmpty()); // posted, not sent
    test::Click(volume, QPoint(109, 6));
    QCoreApplication::processEvents();
    using Message = std::pair<int, qintptr>;
    EXPECT_EQ(owner.m_messages, (QList<Message> { { kMsgVolumeChanged, 3 }, { kMsgVolumeChanged, 10 } }));
}

} // namespace
} // namespace zq
