#include "CRkTextCtrl.h"
#include "E2eSession.h"
#include "GsensorGeometry.h"
#include "MainLayout.h"
#include "StringTable.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zq::test {
namespace {

constexpr int kPlayBoundMs = 60000;
constexpr int kUiBoundMs = 20000;
const QString kViewerTitle = QStringLiteral("ZQ481K Viewer");
constexpr int kMessageBoxMaxWidth = 700;
const QString kRecordingName = QStringLiteral("20170531_090507D");
constexpr int kCurveMinPixels = 100;

// The time overlay's texts and where its rate part starts.
constexpr int kTimeLabelText = 110;
constexpr int kRateLabelText = 111;
constexpr int kRatePartLeftPx = 250;
// Anti-aliased edges may differ a little between the viewer's window and a render in the test.
constexpr int kGlyphTolerance = 60;
constexpr int kFewPixels = 5;
// One digit of another rate differs in well over this many pixels.
constexpr int kDigitPixels = 10;

// Pictures of the same frame differ only by JPEG noise; the next frame of the test pattern (bars and a
// square move) scores about 20 dB, the other channel about 9 dB.
constexpr double kSameFrameMinPsnrDb = 35.0;
constexpr double kOtherPictureMaxPsnrDb = 25.0;

// Peak signal-to-noise ratio of two pictures of one size over R, G and B; infinite when they are equal.
double Psnr(const QImage& a, const QImage& b)
{
    if (a.isNull() || a.size() != b.size())
        return 0.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d[3] = { qRed(p[col]) - qRed(q[col]), qGreen(p[col]) - qGreen(q[col]),
                qBlue(p[col]) - qBlue(q[col]) };
            sum += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    }
    const double mse = sum / (3.0 * x.width() * x.height());
    return mse == 0 ? std::numeric_limits<double>::infinity() : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// The first file under the folder whose name ends with the suffix.
QString FindFile(const QString& folder, const QString& suffix)
{
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(suffix))
            return path;
    }
    return {};
}

struct MenuCaptureE2e : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(cards.isValid());
        ASSERT_TRUE(session.Ready());
        recording = cards.path() + QStringLiteral("/card/NORMAL/") + kRecordingName + QStringLiteral(".avi");
        QDir().mkpath(QFileInfo(recording).path());
    }
    void TearDown() override { session.StopViewer(); }

    void Generate(int seconds)
    {
        ASSERT_EQ(QProcess::execute(Tool(),
                      { QStringLiteral("generate"), QStringLiteral("--duration"), QString::number(seconds),
                          recording }),
            0);
    }
    void StartPlaying()
    {
        ASSERT_TRUE(session.StartViewer({ QFileInfo(recording).path() }));
        window = session.WaitForMainWindow();
        ASSERT_FALSE(window.id.isEmpty()) << session.ViewerOutput().toStdString();
        layout
            = MainLayout::Compute(window.geometry.size(), kLayoutNormal, kViewFront, { true, false, true });
        ASSERT_TRUE(session.WaitUntilMoving(Area(Child::FrontScreen), kPlayBoundMs))
            << "the recording plays after the notice and the loading dialog";
        // Commands wait while the open still runs; it has ended once the graph shows the recording's curves.
        ASSERT_TRUE(E2eSession::WaitUntil(
            [&] { return CurvePixels(session.Screenshot()) > kCurveMinPixels; }, kPlayBoundMs));
        session.Focus(window.id);
    }
    // Pixels of the graph's green Z curve.
    int CurvePixels(const QImage& screenshot) const
    {
        return E2eSession::CountPixels(screenshot, Area(Child::Graph),
            [](QRgb p) { return qGreen(p) > 200 && qRed(p) < 80 && qBlue(p) < 80; });
    }
    static QString Tool() { return bundleDir() + QStringLiteral("/zq481k-tool"); }
    QRect Area(Child child) const { return layout.Rect(child).translated(window.geometry.topLeft()); }
    QPoint OnScreen(const QPoint& windowPoint) const { return windowPoint + window.geometry.topLeft(); }

    // Opens the context menu with a right click at a screen point and chooses Play Speed > Fast: the menu
    // is walked with the arrow keys as far as the submenu, whose first row is then clicked.
    void ChooseFast(const QPoint& at)
    {
        session.Focus(window.id);
        session.RightClick(at);
        QList<E2eWindow> menus;
        ASSERT_TRUE(
            E2eSession::WaitUntil([&] { return !(menus = session.PopupMenus()).isEmpty(); }, kUiBoundMs))
            << "a right click opens the menu";
        ASSERT_EQ(menus.size(), 1) << "one menu per click";
        const QRect mainMenu = menus.front().geometry;
        // From the bottom: Volume, then Play Speed, whose submenu opens with Right.
        session.Keys({ QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Right") });
        QRect speedMenu;
        ASSERT_TRUE(E2eSession::WaitUntil(
            [&] {
                for (const E2eWindow& menu : session.PopupMenus())
                    if (menu.geometry != mainMenu)
                        speedMenu = menu.geometry;
                return !speedMenu.isEmpty();
            },
            kUiBoundMs))
            << "the Play Speed submenu opens";
        EXPECT_LT(speedMenu.height(), mainMenu.height() / 2) << "three rows: Fast, Slow, Default";
        session.Click(QPoint(speedMenu.center().x(), speedMenu.top() + speedMenu.height() / 6));
        ASSERT_TRUE(E2eSession::WaitUntil([&] { return session.PopupMenus().isEmpty(); }, kUiBoundMs))
            << "choosing an item closes every menu";
    }

    // The time overlay as the viewer draws it in English at a rate.
    QImage OverlayAt(float rate) const
    {
        StringTable english;
        english.Load(bundleDir() + QStringLiteral("/lang/English.lng"));
        CRkTextCtrl overlay;
        overlay.resize(layout.Rect(Child::Overlay1).size());
        overlay.SetKind(CRkTextCtrl::kKindTimeAndRate);
        overlay.SetLabels({ { kTimeLabelText, english.Text(kTimeLabelText) },
            { kRateLabelText, english.Text(kRateLabelText) } });
        overlay.SetRate(rate);
        return overlay.Render();
    }
    // How many pixels of the overlay's rate part on screen differ from the render at a rate.
    int RateMismatch(const QImage& screenshot, float rate) const
    {
        const QImage shown = screenshot.copy(Area(Child::Overlay1));
        const QRect part(kRatePartLeftPx, 0, shown.width() - kRatePartLeftPx, shown.height());
        return E2eSession::ChangedPixels(shown, OverlayAt(rate), part, kGlyphTolerance);
    }

    QTemporaryDir cards;
    QString recording;
    E2eSession session;
    E2eWindow window;
    MainLayout layout;
};

TEST_F(MenuCaptureE2e, ThreeFastFromTheContextMenusShowRate1_6InTheTimeOverlay)
{
    // Long enough that the recording still plays after three menus at growing rates on a slow machine.
    Generate(60);
    ASSERT_NO_FATAL_FAILURE(StartPlaying());
    ASSERT_LE(RateMismatch(session.Screenshot(), 1.0f), kFewPixels)
        << "the overlay shows rate 1.00 as the test renders it";

    // The screen, the graph and the window's own background left of the list each open the menu.
    const QRect graph = Area(Child::Graph);
    const QPoint background(
        (layout.videoArea.right() + layout.listPanel.left()) / 2, layout.videoArea.center().y());
    for (int c = 0; c < kChildCount; ++c)
        ASSERT_FALSE(layout.Rect(Child(c)).contains(background)) << "no child at the background point " << c;
    const QPoint places[] = { Area(Child::FrontScreen).center(), QPoint(graph.left() + 40, graph.top() + 20),
        OnScreen(background) };
    for (const QPoint& at : places) {
        ChooseFast(at);
        ASSERT_FALSE(HasFatalFailure()) << "at " << at.x() << "," << at.y();
    }

    QImage shown;
    const bool rateShown = E2eSession::WaitUntil(
        [&] {
            shown = session.Screenshot();
            return RateMismatch(shown, 1.6f) <= kFewPixels;
        },
        kUiBoundMs);
    shown.save(QStringLiteral(ZQ_BINARY_DIR) + QStringLiteral("/e2e-rate-1.6.png"));
    ASSERT_TRUE(rateShown) << "mismatch to 1.60: " << RateMismatch(shown, 1.6f);
    // The comparison tells neighbouring rates apart, so a fourth or a missing step would fail it.
    EXPECT_GT(RateMismatch(shown, 1.4f), RateMismatch(shown, 1.6f) + kDigitPixels);
    EXPECT_GT(RateMismatch(shown, 1.8f), RateMismatch(shown, 1.6f) + kDigitPixels);
    EXPECT_TRUE(session.WaitUntilMoving(Area(Child::FrontScreen), kUiBoundMs)) << "still playing";
    EXPECT_EQ(session.AnswerMessageBoxes(), 0);
}

TEST_F(MenuCaptureE2e, CaptureWritesBothTracksAsTheSnapshotCommandSeesTheSamePosition)
{
    Generate(30);
    QTemporaryDir toolPictures;
    ASSERT_TRUE(toolPictures.isValid());
    // The snapshot command reads the duration that the viewer's graph maps its width onto.
    const auto snapshot = [&](qint64 ms, const QString& out) {
        QProcess tool;
        tool.start(Tool(),
            { QStringLiteral("snapshot"), recording, QStringLiteral("--at"),
                QString::number(ms / 1000.0, 'f', 3), QStringLiteral("--out"), out });
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    };
    const QString probe = toolPictures.path() + QStringLiteral("/probe");
    QDir().mkpath(probe);
    const qint64 durationMs = snapshot(0, probe).value(QStringLiteral("duration_ms")).toInteger();
    ASSERT_GT(durationMs, 20000);

    ASSERT_NO_FATAL_FAILURE(StartPlaying());
    const QRect front = Area(Child::FrontScreen);
    session.Key(window.id, QStringLiteral("space"));
    QImage paused;
    ASSERT_TRUE(session.WaitUntilSteady(front, kUiBoundMs, &paused)) << "space pauses";

    // A click on the graph's plot seeks to the time under the pointer, with the graph's own arithmetic.
    const QRect graph = Area(Child::Graph);
    const GsensorGeometry g = GsensorGeometry::ForClientSize(graph.width(), graph.height());
    const int x = g.left + (g.right - g.left) * 2 / 5;
    const qint64 positionMs = durationMs * (x - g.left) / (g.right - g.left);
    session.Click(QPoint(graph.left() + x, graph.center().y()));
    ASSERT_TRUE(E2eSession::WaitUntil(
        [&] {
            return E2eSession::ChangedPixels(paused, session.Screenshot(), front)
                > front.width() * front.height() / 50;
        },
        kUiBoundMs))
        << "the frame at " << positionMs << " ms shows";
    ASSERT_TRUE(session.WaitUntilSteady(front, kUiBoundMs)) << "still paused after the seek";

    session.Click(Area(Child::Capture).center());
    const QString home = session.ProgramFolder() + QStringLiteral("/home");
    QString track1;
    QString track2;
    ASSERT_TRUE(E2eSession::WaitUntil(
        [&] {
            track1 = FindFile(home, QStringLiteral("(Track1).jpg"));
            track2 = FindFile(home, QStringLiteral("(Track2).jpg"));
            return !track1.isEmpty() && !track2.isEmpty();
        },
        kUiBoundMs))
        << session.ViewerOutput().toStdString();
    // The "saved" question follows; No keeps the file manager closed.
    E2eWindow question;
    ASSERT_TRUE(E2eSession::WaitUntil(
        [&] {
            for (const E2eWindow& w : session.Windows(kViewerTitle))
                if (w.geometry.width() <= kMessageBoxMaxWidth)
                    question = w;
            return !question.id.isEmpty();
        },
        kUiBoundMs));
    session.Key(question.id, QStringLiteral("Escape"));
    EXPECT_TRUE(E2eSession::WaitUntil(
        [&] {
            for (const E2eWindow& w : session.Windows(kViewerTitle))
                if (w.geometry.width() <= kMessageBoxMaxWidth)
                    return false;
            return true;
        },
        kUiBoundMs));

    // Named after the recording, one time stamp for both, in the default capture folder that the option
    // file now names.
    const QString name1 = QFileInfo(track1).fileName();
    EXPECT_TRUE(name1.startsWith(kRecordingName + QLatin1Char('-'))) << name1.toStdString();
    EXPECT_EQ(QFileInfo(track2).fileName(),
        name1.chopped(QStringLiteral("1).jpg").size()) + QStringLiteral("2).jpg"));
    EXPECT_EQ(QFileInfo(track1).dir().dirName(), QStringLiteral("CAM_CAPTURE"));
    EXPECT_TRUE(readFile(session.ProgramFolder() + QStringLiteral("/config/option.ini"))
                    .contains("SAVE_DIRECTORY=" + QFileInfo(track1).path().toLocal8Bit()));

    const QString same = toolPictures.path() + QStringLiteral("/same");
    const QString later = toolPictures.path() + QStringLiteral("/later");
    QDir().mkpath(same);
    QDir().mkpath(later);
    const QJsonArray frames = snapshot(positionMs, same).value(QStringLiteral("frames")).toArray();
    ASSERT_EQ(frames.size(), 2);
    EXPECT_NEAR(frames[0].toObject().value(QStringLiteral("position_ms")).toInteger(), positionMs, 1);
    snapshot(positionMs + 200, later);

    const QImage viewerFront(track1);
    const QImage viewerRear(track2);
    const QImage toolFront(FindFile(same, QStringLiteral("(Track1).jpg")));
    const QImage toolRear(FindFile(same, QStringLiteral("(Track2).jpg")));
    const QImage toolLater(FindFile(later, QStringLiteral("(Track1).jpg")));
    ASSERT_FALSE(viewerFront.isNull());
    ASSERT_FALSE(toolFront.isNull());
    EXPECT_EQ(viewerFront.size(), toolFront.size());
    EXPECT_GE(Psnr(viewerFront, toolFront), kSameFrameMinPsnrDb) << "front at " << positionMs << " ms";
    EXPECT_GE(Psnr(viewerRear, toolRear), kSameFrameMinPsnrDb) << "rear at " << positionMs << " ms";
    // The tolerance tells a wrong channel or a frame 200 ms off apart from the right picture.
    EXPECT_LE(Psnr(viewerFront, toolRear), kOtherPictureMaxPsnrDb);
    EXPECT_LE(Psnr(viewerRear, toolFront), kOtherPictureMaxPsnrDb);
    EXPECT_LE(Psnr(viewerFront, toolLater), kOtherPictureMaxPsnrDb);
}

} // namespace
} // namespace zq::test
