#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace zq::test {

/// An X window as xdotool sees it.
struct E2eWindow {
    QString id;
    QString name;
    QRect geometry;
};

/// End-to-end driver of the real viewer: its own Xvfb on a free display number, a private copy of the
/// program folder (so option file and temporary folder are the test's), xdotool for input and ImageMagick
/// for screenshots. Every wait has a bound; modal windows are found by title and answered with Return.
class E2eSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    static constexpr int kViewerTitleBound = 20000;

    E2eSession();
    ~E2eSession();
    E2eSession(const E2eSession&) = delete;
    E2eSession& operator=(const E2eSession&) = delete;

    /// Whether Xvfb runs and the program folder was prepared.
    bool Ready() const { return m_ready; }
    QString Display() const { return m_display; }
    /// The viewer's private program folder (holds temp/ and config/ of this run).
    QString ProgramFolder() const { return m_programFolder.path(); }
    /// Extra environment for the viewer (fake volumes, ...), on top of the test's own.
    void SetEnvironment(const QString& name, const QString& value) { m_environment.insert(name, value); }

    /// Starts zq481k-viewer with the arguments; false when it does not start.
    bool StartViewer(const QStringList& arguments = {});
    bool ViewerRunning() const { return m_viewer.state() == QProcess::Running; }
    /// Asks the viewer to close (Alt+F4 on its window), then ends it if it stays.
    void StopViewer();
    /// Alt+F4 on the main window; whether the viewer ended by itself, with exit code 0, within the bound.
    bool CloseWithAltF4(int boundMs);
    QString ViewerOutput();

    /// Visible windows whose title matches exactly.
    QList<E2eWindow> Windows(const QString& title) const;
    /// The main window, once it is mapped; empty id when it is not there within the bound.
    E2eWindow WaitForMainWindow(int boundMs = kViewerTitleBound);
    /// Presses Return in every small window titled like the viewer (message boxes); how many were answered.
    int AnswerMessageBoxes();
    /// Waits until a message box shows, answers it and returns true; false when none came within the bound.
    bool WaitAndAnswerMessageBox(int boundMs);
    /// The whole screen.
    QImage Screenshot() const;
    /// Runs the event loop and polls until the condition holds or the bound passes; answers nothing.
    static bool WaitUntil(const std::function<bool()>& condition, int boundMs, int pollMs = 200);
    /// Runs a program to its end (bounded); its exit code, -1 when it did not finish.
    int Run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr,
        int boundMs = 20000) const;
    /// Clicks at a screen point.
    void Click(const QPoint& point) const;
    void Key(const QString& windowId, const QString& keys) const;

    /// Right-clicks at a screen point.
    void RightClick(const QPoint& point) const;
    /// Gives the window the input focus (no window manager does it), waiting until the server has done so.
    void Focus(const QString& windowId) const;
    /// Types keys into whatever has the focus or grabs the keyboard (an open menu takes them from there).
    void Keys(const QStringList& keys) const;
    /// The viewer's open popup menus (its override-redirect windows other than tool tips).
    QList<E2eWindow> PopupMenus() const;
    /// Polls screenshots until two in a row differ in over a fiftieth of the area (pictures move there).
    bool WaitUntilMoving(const QRect& area, int boundMs) const;
    /// Polls screenshots until three in a row agree inside the area (the picture there has settled).
    bool WaitUntilSteady(const QRect& area, int boundMs, QImage* settled = nullptr) const;

    /// How many pixels inside a rectangle of a picture pass the test.
    static int CountPixels(const QImage& image, const QRect& rect, const std::function<bool(QRgb)>& test);
    /// How many pixels differ (any channel by more than the tolerance) inside a rectangle of two pictures.
    static int ChangedPixels(const QImage& a, const QImage& b, const QRect& rect, int tolerance = 24);

private:
    bool StartXvfb();
    bool PrepareProgramFolder();

    bool m_ready = false;
    QString m_display;
    QProcess m_xvfb;
    QProcess m_viewer;
    QTemporaryDir m_programFolder;
    QProcessEnvironment m_environment;
};

} // namespace zq::test
