#include "E2eSession.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace zq::test {
namespace {

// The whole test stays inside this, however loaded the machine is.
constexpr int kTestBoundMs = 120000;
// The map panel inside the main window at its starting size.
const QRect kMapPanel(749, 88, 276, 203);

struct Fix {
    double latitude;
    double longitude;
};

// The recording's fixes as the project's tool reads them.
QList<Fix> ReadFixes(const E2eSession& session, const QString& recording)
{
    QByteArray output;
    if (session.Run(bundleDir() + QStringLiteral("/zq481k-tool"),
            { QStringLiteral("info"), recording, QStringLiteral("--json") }, &output)
        != 0)
        return {};
    QList<Fix> fixes;
    for (const QJsonValue& value :
        QJsonDocument::fromJson(output).object().value(QStringLiteral("gps")).toArray()) {
        const QJsonObject fix = value.toObject();
        fixes.append({ fix.value(QStringLiteral("latitudeDegrees")).toDouble(),
            fix.value(QStringLiteral("longitudeDegrees")).toDouble() });
    }
    return fixes;
}

// The index of the fix the page's marker stands on, -1 when it stands on none.
int FixIndex(const QList<Fix>& fixes, const QString& marker)
{
    const QStringList parts = marker.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return -1;
    for (int i = 0; i < fixes.size(); ++i) {
        if (std::abs(fixes[i].latitude - parts[0].toDouble()) < 2e-6
            && std::abs(fixes[i].longitude - parts[1].toDouble()) < 2e-6)
            return i;
    }
    return -1;
}

QString ReadMarker(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// Pixels of the track's line colour in a rectangle.
int TrackPixels(const QImage& screen, const QRect& rect)
{
    int count = 0;
    const QRect area = rect.intersected(screen.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = screen.pixel(x, y);
            if (std::abs(qRed(p) - 0x2a) < 40 && std::abs(qGreen(p) - 0x7f) < 40 && qBlue(p) > 200)
                ++count;
        }
    }
    return count;
}

TEST(MapE2e, OnlineGpsRecordingShowsTheMapAndTheMarkerFollowsPlayback)
{
    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return std::max<qint64>(0, kTestBoundMs - clock.elapsed()); };
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString recording = work.path() + QStringLiteral("/card/NORMAL/20170531_090507D.avi");
    QDir().mkpath(QFileInfo(recording).path());
    ASSERT_EQ(
        QProcess::execute(bundleDir() + QStringLiteral("/zq481k-tool"),
            { QStringLiteral("generate"), QStringLiteral("--duration"), QStringLiteral("12"), recording }),
        0);

    E2eSession session;
    ASSERT_TRUE(session.Ready());
    const QList<Fix> fixes = ReadFixes(session, recording);
    ASSERT_GE(fixes.size(), 10);
    const QString markerFile = work.path() + QStringLiteral("/marker.txt");
    session.SetEnvironment(QStringLiteral("ZQ_FORCE_ONLINE"), QStringLiteral("1"));
    session.SetEnvironment(QStringLiteral("ZQ_MAP_MARKER_FILE"), markerFile);
    ASSERT_TRUE(session.StartViewer({ work.path() + QStringLiteral("/card") }));
    const E2eWindow window = session.WaitForMainWindow();
    ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();

    // The marker stands on the recording's fixes, one after the other as playback goes on.
    QList<int> seen;
    E2eSession::WaitUntil(
        [&] {
            const int index = FixIndex(fixes, ReadMarker(markerFile));
            if (index >= 0 && (seen.isEmpty() || seen.last() != index))
                seen.append(index);
            return seen.size() >= 3;
        },
        int(left()), 100);
    ASSERT_GE(seen.size(), 3) << "marker: " << ReadMarker(markerFile).toStdString() << "\n"
                              << session.ViewerOutput().toStdString();
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << "forward playback moves the marker forward";

    // The map panel shows the page: the track's line is drawn inside it.
    const QRect panel = kMapPanel.translated(window.geometry.topLeft());
    EXPECT_TRUE(E2eSession::WaitUntil(
        [&] { return TrackPixels(session.Screenshot(), panel) > 30; }, int(std::min<qint64>(left(), 15000))));
    session.Screenshot().save(QStringLiteral(ZQ_BINARY_DIR) + QStringLiteral("/e2e-map-docked.png"));
    EXPECT_EQ(session.AnswerMessageBoxes(), 0);
    EXPECT_TRUE(session.CloseWithAltF4(int(std::min<qint64>(left(), 15000))))
        << session.ViewerOutput().toStdString();
}

} // namespace
} // namespace zq::test
