#include "CheckAviLayout.h"

#include "RiffBuilder.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq {
namespace {

using namespace zq::test;

qint32 Classify(QByteArray bytes, ChunkLocations* locations = nullptr)
{
    ChunkLocations unused;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return CheckAviLayout(buffer, locations ? locations : &unused);
}

const QByteArray kHdrl = List("hdrl", Chunk("avih", QByteArray(56, '\0')));
const QByteArray kIdx1 = Chunk("idx1", "00dc" + U32(0x10) + U32(4) + U32(6));
const QByteArray kMovi = List("movi", Chunk("00dc", "frame!"));

TEST(CheckAviLayoutTest, ClassifiesByTheOrderOfIndexAndMedia)
{
    QTemporaryDir dir;
    const TestAvi broken = BuildTestAvi(true, "$I");
    const QString path = dir.filePath(QStringLiteral("녹화 0531.avi"));
    ASSERT_TRUE(writeFile(path, broken.bytes));
    ChunkLocations locations;
    EXPECT_EQ(CheckAviLayout(path, &locations), kAviLayoutNeedsRepair);
    EXPECT_EQ(locations, broken.at);

    const TestAvi healthy = BuildTestAvi(false, "$I");
    locations = {};
    EXPECT_EQ(Classify(healthy.bytes, &locations), kAviLayoutPlayable);
    EXPECT_EQ(locations, healthy.at);

    EXPECT_EQ(Classify(RiffAvi(kHdrl + kMovi)), kAviLayoutUnusable);
    locations = {};
    EXPECT_EQ(Classify(RiffAvi(kHdrl + kIdx1), &locations), kAviLayoutUnusable);
    EXPECT_EQ(locations.idx1Offset, 12u + kHdrl.size()); // what was found is still reported

    QByteArray wave = RiffAvi(kHdrl + kIdx1 + kMovi);
    wave.replace(8, 4, "WAVE");
    EXPECT_EQ(Classify(wave), kAviLayoutUnusable);
    EXPECT_EQ(Classify(QByteArray("RIFF\0\0\0\0AVI", 11)), kAviLayoutUnusable);
    EXPECT_EQ(
        CheckAviLayout(QDir::temp().filePath("zq-missing-recording.avi"), &locations), kAviLayoutUnusable);
}

TEST(CheckAviLayoutTest, PassesOddChunksWithTheirPadAndEntersOtherLists)
{
    // JUNK of odd size: the index is only found when the pad byte behind it is skipped too.
    const QByteArray junk = Chunk("JUNK", QByteArray(5, 'j'));
    ChunkLocations locations;
    EXPECT_EQ(Classify(RiffAvi(kHdrl + junk + kIdx1 + kMovi), &locations), kAviLayoutNeedsRepair);
    EXPECT_EQ(locations.idx1Offset, 12u + kHdrl.size() + 14);

    // An INFO list is entered: the index inside it counts. Were the list skipped, no index would be seen.
    const QByteArray info = List("INFO", Chunk("ISFT", "recorder") + kIdx1);
    EXPECT_EQ(Classify(RiffAvi(kHdrl + info + kMovi), &locations), kAviLayoutNeedsRepair);
    EXPECT_EQ(locations.idx1Offset, 12u + kHdrl.size() + 12 + 16);
    EXPECT_EQ(Classify(RiffAvi(kHdrl + kMovi + info)), kAviLayoutPlayable);

    // The header list is passed over whole: an "idx1" inside it is not the index.
    const QByteArray hdrlWithIdx1 = List("hdrl", Chunk("avih", QByteArray(56, '\0')) + kIdx1);
    EXPECT_EQ(Classify(RiffAvi(hdrlWithIdx1 + kMovi)), kAviLayoutUnusable);
    EXPECT_EQ(Classify(RiffAvi(hdrlWithIdx1 + kMovi + kIdx1)), kAviLayoutPlayable);
}

TEST(CheckAviLayoutTest, StoppingRulesAndTruncatedFiles)
{
    // A zero id, a size below 1 (taken as signed) and a list too short for its type end the walk.
    EXPECT_EQ(Classify(RiffAvi(kHdrl + QByteArray(8, '\0') + kIdx1 + kMovi)), kAviLayoutUnusable);
    EXPECT_EQ(Classify(RiffAvi(kHdrl + ChunkWithSize("JUNK", 0, {}) + kIdx1 + kMovi)), kAviLayoutUnusable);
    EXPECT_EQ(Classify(RiffAvi(kHdrl + ChunkWithSize("JUNK", 0x80000000u, {}) + kIdx1 + kMovi)),
        kAviLayoutUnusable);
    EXPECT_EQ(
        Classify(RiffAvi(kHdrl + ChunkWithSize("LIST", 2, "hdrl") + kIdx1 + kMovi)), kAviLayoutUnusable);
    // A size pointing far past the end of the file.
    EXPECT_EQ(Classify(RiffAvi(kHdrl + ChunkWithSize("JUNK", 0x7FFFFFFFu, "x") + kIdx1 + kMovi)),
        kAviLayoutUnusable);
    // A media list cut short after the index still counts; an index cut away does not.
    const TestAvi broken = BuildTestAvi(true, "$I");
    EXPECT_EQ(Classify(broken.bytes.left(broken.at.moviOffset + 20)), kAviLayoutNeedsRepair);
    const TestAvi healthy = BuildTestAvi(false, "$I");
    EXPECT_EQ(Classify(healthy.bytes.left(healthy.at.idx1Offset + 4)), kAviLayoutUnusable);
}

TEST(CheckAviLayoutTest, PublicRiffFilesAreUnusable)
{
    const QDir dir(dataPath(QStringLiteral("riff")));
    const QStringList files = dir.entryList({ "*.avi", "*.wav", "*.ani" }, QDir::Files);
    ASSERT_EQ(files.size(), 6);
    for (const QString& name : files) {
        ChunkLocations locations;
        EXPECT_EQ(CheckAviLayout(dir.filePath(name), &locations), kAviLayoutUnusable) << name.toStdString();
        EXPECT_EQ(locations.idx1Size, 0u) << name.toStdString();
    }
    // The AVI files do have a media list, which the walk finds behind the header and INFO lists.
    ChunkLocations locations;
    CheckAviLayout(dir.filePath("exiftool_RIFF.avi"), &locations);
    EXPECT_EQ(locations.moviOffset, 0x17Au);
    CheckAviLayout(dir.filePath("hachoir_smallville.s03e02.avi"), &locations);
    EXPECT_EQ(locations.moviOffset, 0x2800u);
}

} // namespace
} // namespace zq
