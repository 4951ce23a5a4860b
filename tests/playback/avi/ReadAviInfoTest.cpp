#include "ReadAviInfo.h"

#include "RiffBuilder.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zq {
namespace {

using namespace zq::test;

const QByteArray kInfoRecord = "$IZQ481K-FW1.02-20170531-00012";
const QByteArray kStream
    = "$M" + QByteArray(14, '\x40') + "$GPRMC,150000,A*00\r\n" + "$I" + QByteArray(16, 'x');

bool ReadInfo(QByteArray bytes, AviInfo* info)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadAviInfo(buffer, info);
}

QByteArray InfoRecordOf(const AviInfo& info)
{
    return QByteArray(info.infoRecord.data(), AviInfo::kInfoRecordBytes);
}

TEST(ReadAviInfoTest, TakesTheStreamBehindTheInformationRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("주행 기록.avi"));
    // Records in front of "$I" are passed over and are not part of the stream.
    const QByteArray block = "$M" + QByteArray(14, 'm') + "$GPRMC,1*00\r\n" + kInfoRecord + kStream;
    ASSERT_TRUE(writeFile(path, BuildTestAvi(true, block).bytes));
    AviInfo info;
    ASSERT_TRUE(ReadAviInfo(path, &info));
    EXPECT_EQ(InfoRecordOf(info), kInfoRecord);
    EXPECT_EQ(info.userData, kStream);
    EXPECT_EQ(info.userDataSize, quint32(kStream.size()));
    EXPECT_EQ(info.infoDigit(), 2);

    // Without a whole information record there is no stream: none at all, one too close to the end, an
    // unknown record, no "$" where a record begins, or "$" as the last byte.
    for (const QByteArray& noRecord :
        { "$M" + QByteArray(14, 'm') + "$GPRMC,no info record", "$GPRMC,1*00" + kInfoRecord.left(12),
            "$X" + kInfoRecord, "x" + kInfoRecord, "$M" + QByteArray(14, 'm') + "$" }) {
        AviInfo none;
        EXPECT_TRUE(ReadInfo(BuildTestAvi(false, noRecord).bytes, &none)) << noRecord.toStdString();
        EXPECT_EQ(InfoRecordOf(none), QByteArray(30, '\0')) << noRecord.toStdString();
        EXPECT_EQ(none.userDataSize + none.userData.size() + none.infoDigit(), 0) << noRecord.toStdString();
    }
}

TEST(ReadAviInfoTest, WalksHeadersOfAnySizeToTheFirstStrd)
{
    // A 64-byte stream header, an odd audio format (with its pad), JUNK, a list of unknown type, and two
    // strd chunks of which only the first counts.
    const QByteArray hdrl = List("hdrl",
        Chunk("avih", QByteArray(56, '\0'))
            + List("strl",
                Chunk("strh", StreamHeader("auds", "\0\0\0\0") + QByteArray(8, '\0'))
                    + Chunk("strf", AudioFormat(0xFF, 1, 8000) + "x") + Chunk("JUNK", QByteArray(3, 'j')))
            + List("odml", Chunk("dmlh", QByteArray(248, '\0')))
            + List("strl",
                Chunk("strh", StreamHeader("vids", "H264")) + Chunk("strf", VideoFormat(16, 16, "H264"))
                    + Chunk("strd", kInfoRecord + "$M" + QByteArray(14, '1')))
            + List("strl", Chunk("strh", StreamHeader("vids", "H264")) + Chunk("strd", kInfoRecord + "$M2")));

    static QStringList diagnostics;
    QLoggingCategory::setFilterRules(QStringLiteral("zq.avi.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { diagnostics.append(text); });
    AviInfo info;
    const bool ok = ReadInfo(RiffAvi(hdrl + List("movi", Chunk("00dc", "f"))), &info);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    ASSERT_TRUE(ok);
    EXPECT_EQ(info.userData, "$M" + QByteArray(14, '1'));
    // The size mismatches go to the log, not to standard output.
    EXPECT_TRUE(diagnostics.contains("          # data_size(56) != size(64)"))
        << diagnostics.join('|').toStdString();
    EXPECT_TRUE(diagnostics.contains("          # data_size(20) != size(21)"))
        << diagnostics.join('|').toStdString();
}

TEST(ReadAviInfoTest, TruncatedAndLyingFilesGiveWhatIsThere)
{
    const QByteArray whole = BuildTestAvi(true, kInfoRecord + kStream).bytes;
    const qsizetype strd = whole.indexOf("strd");
    // The file ends inside the user data: the stream holds the bytes present.
    AviInfo info;
    ASSERT_TRUE(ReadInfo(whole.left(strd + 8 + 40), &info));
    EXPECT_EQ(info.userData, kStream.left(10));
    // A strd size far beyond the file reads only to its end, never past it.
    QByteArray lying = whole;
    lying.replace(strd + 4, 4, U32(0x7FFFFFF0u));
    info = {};
    ASSERT_TRUE(ReadInfo(lying, &info));
    EXPECT_TRUE(info.userData.startsWith(kStream));
    // A size of zero in front of strd ends the walk with nothing found.
    QByteArray stopped = whole;
    stopped.replace(whole.indexOf("strf") + 4, 4, U32(0));
    info = {};
    EXPECT_TRUE(ReadInfo(stopped, &info));
    EXPECT_TRUE(info.userData.isEmpty());
}

TEST(ReadAviInfoTest, RefusesWhatIsNotAnAviFileAndReadsPublicFilesQuietly)
{
    AviInfo info;
    EXPECT_FALSE(ReadAviInfo(QDir::temp().filePath("zq-missing-recording.avi"), &info));
    QByteArray wave = BuildTestAvi(false, kInfoRecord + kStream).bytes;
    wave.replace(8, 4, "WAVE");
    EXPECT_FALSE(ReadInfo(wave, &info));
    const QDir dir(dataPath(QStringLiteral("riff")));
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name.endsWith(".txt"))
            continue;
        AviInfo found;
        EXPECT_EQ(ReadAviInfo(dir.filePath(name), &found), name.endsWith(".avi")) << name.toStdString();
        EXPECT_TRUE(found.userData.isEmpty());
    }
}

} // namespace
} // namespace zq
