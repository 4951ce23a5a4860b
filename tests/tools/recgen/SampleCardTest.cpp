#include "GeneratedFile.h"
#include "TestBlock.h"
#include "TestPrograms.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

namespace zq::test {
namespace {

struct CardFile {
    QString folder;
    QString name;
    QDateTime localStart;
    double seconds = 0.0;
    QByteArray block;
};

QVector<CardFile> Recordings(const QString& root)
{
    QVector<CardFile> files;
    for (const char* folder : { "NORMAL", "EVENT", "PARKING" }) {
        for (const QString& name : QDir(root + "/" + folder).entryList(QDir::Files)) {
            CardFile file;
            file.folder = folder;
            file.name = name;
            file.localStart = QDateTime::fromString(name.left(15), "yyyyMMdd_HHmmss");
            const RiffFile riff = ParseRiff(readFile(root + "/" + folder + "/" + name));
            const RiffChunk* hdrl = riff.root.child("LIST", "hdrl");
            if (hdrl == nullptr || hdrl->children.isEmpty() || StreamLists(riff).isEmpty())
                continue;
            const QByteArray avih = riff.payload(hdrl->children.first());
            file.seconds = U32At(avih, 16) * double(U32At(avih, 0)) / 1e6;
            file.block = BlockOf(riff);
            files.append(file);
        }
    }
    std::sort(
        files.begin(), files.end(), [](const CardFile& a, const CardFile& b) { return a.name < b.name; });
    return files;
}

struct Fix {
    double latitude;
    double longitude;
    double knots;
};

QVector<Fix> FixesIn(const QByteArray& block)
{
    bool complete = false;
    QVector<Fix> fixes;
    for (const QByteArray& sentence : RecordsOf(WalkBlock(block, &complete), 'G')) {
        const QList<QByteArray> fields = sentence.split(',');
        if (fields.size() > 7)
            fixes.append({ NmeaDegrees(fields[3], fields[4]), NmeaDegrees(fields[5], fields[6]),
                fields[7].toDouble() });
    }
    return fixes;
}

// The largest excursion of any axis from rest (0, 0, 32).
int LargestExcursion(const QByteArray& block)
{
    bool complete = false;
    int largest = 0;
    for (const QByteArray& record : RecordsOf(WalkBlock(block, &complete), 'M')) {
        const recgen::GSample sample = DecodeSample(record);
        largest = std::max({ largest, std::abs(sample.x), std::abs(sample.y), std::abs(sample.z - 32) });
    }
    return largest;
}

void CheckFoldersAndNames(const QString& root, const QVector<CardFile>& files)
{
    QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort();
    EXPECT_EQ(folders, (QStringList { "EVENT", "NORMAL", "PARKING" }));

    static const QRegularExpression grammar(QStringLiteral("^\\d{8}_\\d{6}([DEM])\\.avi$"));
    ASSERT_GE(files.size(), 6);
    QMap<QString, int> perFolder;
    for (const CardFile& file : files) {
        const QRegularExpressionMatch match = grammar.match(file.name);
        ASSERT_TRUE(match.hasMatch()) << file.name.toStdString();
        const QString letter = match.captured(1);
        EXPECT_EQ(file.folder, letter == "D" ? "NORMAL" : letter == "E" ? "EVENT" : "PARKING");
        EXPECT_TRUE(file.localStart.isValid());
        EXPECT_GE(file.seconds, 14.99);
        EXPECT_LE(file.seconds, 30.01);
        EXPECT_TRUE(file.block.startsWith("$I"));
        ++perFolder[file.folder];
    }
    EXPECT_GE(perFolder.value("NORMAL"), 2);
    EXPECT_GE(perFolder.value("EVENT"), 1);
    EXPECT_GE(perFolder.value("PARKING"), 1);

    // Consecutive: every recording starts when the one before it ended.
    for (int index = 1; index < files.size(); ++index) {
        const qint64 gap = files[index - 1].localStart.secsTo(files[index].localStart);
        EXPECT_EQ(gap, qRound64(files[index - 1].seconds)) << files[index].name.toStdString();
    }
    // The recorder names files in Korean time: 09:05:07 local is the drive's 00:05:07 UTC start.
    EXPECT_EQ(files.first().name, "20170531_090507D.avi");
    EXPECT_TRUE(files.first().block.left(30).contains("20170531000507"));

    qint64 total = 0;
    QDirIterator all(root, QDir::Files, QDirIterator::Subdirectories);
    while (all.hasNext())
        total += all.nextFileInfo().size();
    EXPECT_LT(total, 40ll << 20);
}

void CheckStreams(const QString& root, const QVector<CardFile>& files)
{
    ASSERT_FALSE(files.isEmpty());
    const CardFile file = files.first();
    const QString path = root + "/" + file.folder + "/" + file.name;
    EXPECT_EQ(ProbeStreams(path), (QStringList { "video:h264", "video:h264", "audio:aac" }));
    const RiffFile riff = ParseRiff(readFile(path));
    ASSERT_TRUE(riff.wellFormed);
    const QVector<const RiffChunk*> strls = StreamLists(riff);
    ASSERT_EQ(strls.size(), 3);
    EXPECT_NE(strls[0]->child("strd"), nullptr);
    EXPECT_EQ(U32At(riff.payload(*strls[0]->child("strf")), 4), 640u);
    EXPECT_EQ(U32At(riff.payload(*strls[0]->child("strf")), 8), 360u);
    EXPECT_EQ(U32At(riff.payload(*strls[1]->child("strf")), 4), 320u);
    EXPECT_EQ(U32At(riff.payload(*strls[1]->child("strf")), 8), 180u);
}

void CheckDrive(const QVector<CardFile>& files)
{
    for (int index = 1; index < files.size(); ++index) {
        const QVector<Fix> before = FixesIn(files[index - 1].block);
        const QVector<Fix> after = FixesIn(files[index].block);
        ASSERT_FALSE(before.isEmpty());
        ASSERT_FALSE(after.isEmpty());
        // One second at city speed is well under 40 m, about 0.0004 degrees.
        EXPECT_NEAR(before.last().latitude, after.first().latitude, 0.0004)
            << files[index].name.toStdString();
        EXPECT_NEAR(before.last().longitude, after.first().longitude, 0.0005)
            << files[index].name.toStdString();
    }
    for (const CardFile& file : files) {
        const QVector<Fix> fixes = FixesIn(file.block);
        const int largest = LargestExcursion(file.block);
        if (file.folder == "EVENT") {
            EXPECT_GT(largest, 64) << "an event recording holds the impact: " << file.name.toStdString();
        } else {
            EXPECT_LT(largest, 20) << file.name.toStdString();
        }
        for (const Fix& fix : fixes) {
            if (file.folder == "PARKING") {
                EXPECT_EQ(fix.knots, 0.0);
                EXPECT_EQ(fix.latitude, fixes.first().latitude);
            } else {
                EXPECT_GT(fix.knots, 1.0);
            }
        }
    }
}

void CheckSettingsFiles(const QString& root)
{
    const QByteArray setup = readFile(root + "/setup.cfg");
    const QByteArrayList expectedLabels = {
        "Product Name            : ",
        "H/W Version             : ",
        "S/W Version             : ",
        "Acc Trigger Level       : ",
        "REC Video Qulity        : ",
        "REC Audio Enable        : ",
        "SPK Vol                 : ",
        "Video Channels          : ",
        "Parking Mode Select     : ",
        "Car Battery Volt        : ",
        "Battery CutOff Volt     : ",
        "Power Off Timer         : ",
        "SD Allocation           : ",
        "Speaker Mute            : ",
        "LCD Off Time            : ",
        "LDWS Set On             : ",
        "FCWS Set On             : ",
        "Sensitivity_LDWS        : ",
        "Sensitivity_FCWS        : ",
        "Center_X                : ",
        "GShock Event Count      : ",
        "Radar Event Count       : ",
        "ADAS Car Type           : ",
        "Parking Mode            : ",
        "Night Version OnOff     : ",
    };
    ASSERT_TRUE(setup.endsWith("\r\n"));
    QByteArrayList lines = setup.split('\n');
    lines.removeLast();
    ASSERT_EQ(lines.size(), 25);
    for (int index = 0; index < lines.size(); ++index) {
        ASSERT_TRUE(lines[index].endsWith('\r')) << "line " << index;
        EXPECT_EQ(lines[index].left(26), expectedLabels[index]) << "line " << index;
        const QByteArray value = lines[index].mid(26).chopped(1);
        EXPECT_FALSE(value.isEmpty()) << "line " << index;
        if (index >= 3) {
            bool numeric = false;
            value.toInt(&numeric);
            EXPECT_TRUE(numeric) << "line " << index;
        }
    }
    EXPECT_EQ(lines[0].mid(26).chopped(1), "ZQ481K");
    EXPECT_EQ(lines[8].mid(26).chopped(1), "0") << "the reserved parking select is always 0";

    const QByteArray time = readFile(root + "/time.cfg");
    static const QRegularExpression clock(
        QStringLiteral("^\\d\\d/\\d\\d/\\d\\d\r\n\\d\\d/\\d\\d/\\d\\d\r\n$"));
    EXPECT_TRUE(clock.match(QString::fromLatin1(time)).hasMatch()) << time.constData();
    EXPECT_TRUE(time.startsWith("17/05/31\r\n"));

    const QByteArray info1 = readFile(root + "/system_info1.bin");
    const QByteArray info2 = readFile(root + "/system_info2.bin");
    EXPECT_GE(info1.size(), 100);
    EXPECT_LE(info1.size(), 1000);
    EXPECT_GE(info2.size(), 100);
    EXPECT_LE(info2.size(), 1000);
    EXPECT_NE(info1, info2);
}

// The card takes several seconds to write, so one test looks at all of it.
TEST(SampleCard, IsAFewMinutesOfOneDriveWithTheRecorderFiles)
{
    QTemporaryDir folder;
    QString error;
    ASSERT_TRUE(recgen::WriteSampleCard(folder.path(), &error)) << error.toStdString();
    const QVector<CardFile> files = Recordings(folder.path());
    {
        SCOPED_TRACE("folders and names");
        CheckFoldersAndNames(folder.path(), files);
    }
    {
        SCOPED_TRACE("streams");
        CheckStreams(folder.path(), files);
    }
    {
        SCOPED_TRACE("drive");
        CheckDrive(files);
    }
    {
        SCOPED_TRACE("settings files");
        CheckSettingsFiles(folder.path());
    }
}

} // namespace
} // namespace zq::test
