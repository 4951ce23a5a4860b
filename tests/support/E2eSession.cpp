#include "E2eSession.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

namespace zq::test {

namespace {
constexpr int kFirstDisplay = 140;
constexpr int kLastDisplay = 400;
constexpr int kXvfbStartBoundMs = 10000;
constexpr int kMessageBoxMaxWidth = 700;
const QString kViewerTitle = QStringLiteral("ZQ481K Viewer");
// The viewer's windows carry the program's name as their class; Qt keeps tiny helper windows too.
const QString kViewerClass = QStringLiteral("zq481k-viewer");
constexpr int kPopupMinSizePx = 20;

bool CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& info : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + info.fileName();
        if (info.isDir() ? !CopyFolder(info.absoluteFilePath(), target)
                         : !QFile::copy(info.absoluteFilePath(), target))
            return false;
    }
    return true;
}
} // namespace

E2eSession::E2eSession()
    : m_environment(QProcessEnvironment::systemEnvironment())
{
    m_ready = PrepareProgramFolder() && StartXvfb();
}

E2eSession::~E2eSession()
{
    StopViewer();
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        if (!m_xvfb.waitForFinished(3000))
            m_xvfb.kill();
        m_xvfb.waitForFinished(3000);
    }
}

bool E2eSession::PrepareProgramFolder()
{
    if (!m_programFolder.isValid())
        return false;
    const QString bundle = bundleDir();
    const QString folder = m_programFolder.path();
    QDir().mkpath(folder + QStringLiteral("/config"));
    return QFile::copy(bundle + QStringLiteral("/zq481k-viewer"), folder + QStringLiteral("/zq481k-viewer"))
        && CopyFolder(bundle + QStringLiteral("/lang"), folder + QStringLiteral("/lang"))
        && (!QDir(bundle + QStringLiteral("/map")).exists()
            || CopyFolder(bundle + QStringLiteral("/map"), folder + QStringLiteral("/map")));
}

bool E2eSession::StartXvfb()
{
    // Other developers' and tests' servers run at the same time: take a number nobody holds, and try the
    // next when the server loses the race for it.
    // A number just given back by an earlier session may still be in the hands of its dying server.
    static int next = kFirstDisplay;
    for (int n = next; n < kLastDisplay; ++n) {
        next = n + 1;
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            continue;
        m_xvfb.setProgram(QStringLiteral("Xvfb"));
        m_xvfb.setArguments({ QStringLiteral(":%1").arg(n), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight), QStringLiteral("-nolisten"),
            QStringLiteral("tcp") });
        m_xvfb.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_xvfb.start();
        if (!m_xvfb.waitForStarted(3000))
            return false;
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        if (WaitUntil([&] { return QFile::exists(socket) || m_xvfb.state() != QProcess::Running; },
                kXvfbStartBoundMs, 50)
            && m_xvfb.state() == QProcess::Running) {
            m_display = QStringLiteral(":%1").arg(n);
            m_environment.insert(QStringLiteral("DISPLAY"), m_display);
            // The socket exists a moment before the server answers, and a server that lost the race for
            // the number ends at once: it must answer and still run a moment later.
            if (WaitUntil(
                    [this] {
                        return Run(QStringLiteral("xdotool"), { QStringLiteral("getdisplaygeometry") }) == 0;
                    },
                    kXvfbStartBoundMs, 50)
                && !m_xvfb.waitForFinished(300))
                return true;
        }
        m_xvfb.kill();
        m_xvfb.waitForFinished(3000);
    }
    return false;
}

bool E2eSession::StartViewer(const QStringList& arguments)
{
    QProcessEnvironment env = m_environment;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("ZQ_AUDIO_SINK"), QStringLiteral("fakesink"));
    env.insert(QStringLiteral("HOME"), ProgramFolder() + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), ProgramFolder() + QStringLiteral("/home/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), ProgramFolder() + QStringLiteral("/home/.cache"));
    QDir().mkpath(ProgramFolder() + QStringLiteral("/home"));
    m_viewer.setProcessEnvironment(env);
    m_viewer.setProcessChannelMode(QProcess::MergedChannels);
    m_viewer.start(ProgramFolder() + QStringLiteral("/zq481k-viewer"), arguments);
    return m_viewer.waitForStarted(5000);
}

void E2eSession::StopViewer()
{
    if (m_viewer.state() == QProcess::NotRunning)
        return;
    for (const E2eWindow& window : Windows(kViewerTitle))
        if (window.geometry.width() > kMessageBoxMaxWidth)
            Key(window.id, QStringLiteral("alt+F4"));
    if (!m_viewer.waitForFinished(5000)) {
        m_viewer.terminate();
        if (!m_viewer.waitForFinished(3000))
            m_viewer.kill();
        m_viewer.waitForFinished(3000);
    }
}

bool E2eSession::CloseWithAltF4(int boundMs)
{
    for (const E2eWindow& window : Windows(kViewerTitle))
        if (window.geometry.width() > kMessageBoxMaxWidth)
            Key(window.id, QStringLiteral("alt+F4"));
    return m_viewer.waitForFinished(boundMs) && m_viewer.exitStatus() == QProcess::NormalExit
        && m_viewer.exitCode() == 0;
}

QString E2eSession::ViewerOutput()
{
    return QString::fromLocal8Bit(m_viewer.readAll());
}

int E2eSession::Run(
    const QString& program, const QStringList& arguments, QByteArray* output, int boundMs) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(boundMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QList<E2eWindow> E2eSession::Windows(const QString& title) const
{
    QList<E2eWindow> windows;
    QByteArray ids;
    if (Run(QStringLiteral("xdotool"),
            { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                QStringLiteral("^%1$").arg(QRegularExpression::escape(title)) },
            &ids)
        != 0)
        return windows;
    for (const QByteArray& line : ids.split('\n')) {
        const QString id = QString::fromLatin1(line.trimmed());
        if (id.isEmpty())
            continue;
        QByteArray shell;
        Run(QStringLiteral("xdotool"), { QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id },
            &shell);
        QHash<QString, int> values;
        for (const QByteArray& pair : shell.split('\n')) {
            const int eq = pair.indexOf('=');
            if (eq > 0)
                values.insert(QString::fromLatin1(pair.left(eq)), pair.mid(eq + 1).toInt());
        }
        windows.append({ id, title,
            QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT"))) });
    }
    return windows;
}

E2eWindow E2eSession::WaitForMainWindow(int boundMs)
{
    E2eWindow found;
    WaitUntil(
        [&] {
            for (const E2eWindow& window : Windows(kViewerTitle))
                if (window.geometry.width() > kMessageBoxMaxWidth)
                    found = window;
            return !found.id.isEmpty() || !ViewerRunning();
        },
        boundMs);
    return found;
}

int E2eSession::AnswerMessageBoxes()
{
    int answered = 0;
    for (const E2eWindow& window : Windows(kViewerTitle)) {
        if (window.geometry.width() <= kMessageBoxMaxWidth) {
            Key(window.id, QStringLiteral("Return"));
            ++answered;
        }
    }
    return answered;
}

bool E2eSession::WaitAndAnswerMessageBox(int boundMs)
{
    return WaitUntil([this] { return AnswerMessageBoxes() > 0; }, boundMs, 300);
}

QImage E2eSession::Screenshot() const
{
    QByteArray png;
    if (Run(QStringLiteral("import"),
            { QStringLiteral("-display"), m_display, QStringLiteral("-window"), QStringLiteral("root"),
                QStringLiteral("png:-") },
            &png)
        != 0)
        return {};
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

bool E2eSession::WaitUntil(const std::function<bool()>& condition, int boundMs, int pollMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, pollMs);
        QThread::msleep(pollMs);
    }
    return true;
}

void E2eSession::Click(const QPoint& point) const
{
    Run(QStringLiteral("xdotool"),
        { QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
            QStringLiteral("click"), QStringLiteral("1") });
}

void E2eSession::Key(const QString& windowId, const QString& keys) const
{
    // No window manager runs: give the window the input focus, then type.
    Run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId });
    Run(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys });
}

void E2eSession::RightClick(const QPoint& point) const
{
    Run(QStringLiteral("xdotool"),
        { QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
            QStringLiteral("click"), QStringLiteral("3") });
}

void E2eSession::Focus(const QString& windowId) const
{
    Run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId });
}

void E2eSession::Keys(const QStringList& keys) const
{
    Run(QStringLiteral("xdotool"),
        QStringList { QStringLiteral("key"), QStringLiteral("--clearmodifiers") } + keys);
}

QList<E2eWindow> E2eSession::PopupMenus() const
{
    // A menu is an override-redirect window of the viewer's class; tool tips are too, but say what they are.
    QList<E2eWindow> menus;
    QByteArray ids;
    if (Run(QStringLiteral("xdotool"),
            { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"),
                QStringLiteral("^%1$").arg(kViewerClass) },
            &ids)
        != 0)
        return menus;
    for (const QByteArray& line : ids.split('\n')) {
        const QString id = QString::fromLatin1(line.trimmed());
        if (id.isEmpty())
            continue;
        QByteArray info;
        QByteArray type;
        if (Run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id }, &info) != 0
            || !info.contains("Override Redirect State: yes"))
            continue;
        Run(QStringLiteral("xprop"), { QStringLiteral("-id"), id, QStringLiteral("_NET_WM_WINDOW_TYPE") },
            &type);
        if (type.contains("TOOLTIP"))
            continue;
        QHash<QByteArray, int> values;
        for (const QByteArray& row : info.split('\n')) {
            const int colon = row.indexOf(':');
            if (colon > 0)
                values.insert(row.left(colon).trimmed(), row.mid(colon + 1).trimmed().toInt());
        }
        const QRect geometry(values.value("Absolute upper-left X"), values.value("Absolute upper-left Y"),
            values.value("Width"), values.value("Height"));
        if (geometry.width() >= kPopupMinSizePx && geometry.height() >= kPopupMinSizePx)
            menus.append({ id, QString(), geometry });
    }
    return menus;
}

bool E2eSession::WaitUntilMoving(const QRect& area, int boundMs) const
{
    QImage last = Screenshot();
    return WaitUntil(
        [&] {
            const QImage next = Screenshot();
            const bool moved = ChangedPixels(last, next, area) > area.width() * area.height() / 50;
            last = next;
            return moved;
        },
        boundMs);
}

int E2eSession::CountPixels(const QImage& image, const QRect& rect, const std::function<bool(QRgb)>& test)
{
    const QRect area = rect.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool E2eSession::WaitUntilSteady(const QRect& area, int boundMs, QImage* settled) const
{
    // Three equal pictures in a row: a playback that only stalls a moment on a loaded machine rarely
    // holds still that long.
    constexpr int kEqualPairs = 2;
    QImage last = Screenshot();
    int equalPairs = 0;
    return WaitUntil(
        [&] {
            const QImage next = Screenshot();
            equalPairs = ChangedPixels(last, next, area) == 0 ? equalPairs + 1 : 0;
            last = next;
            if (equalPairs >= kEqualPairs && settled)
                *settled = next;
            return equalPairs >= kEqualPairs;
        },
        boundMs);
}

int E2eSession::ChangedPixels(const QImage& a, const QImage& b, const QRect& rect, int tolerance)
{
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return -1;
    const QRect area = rect.intersected(a.rect());
    int changed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance
                || std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++changed;
        }
    }
    return changed;
}

} // namespace zq::test
