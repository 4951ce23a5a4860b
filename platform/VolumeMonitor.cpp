#include "VolumeMonitor.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <fcntl.h>
#include <unistd.h>

namespace zq::platform {

namespace {
QStringList currentRoots()
{
    QStringList roots;
    for (const Volume& volume : Volumes::Removable())
        roots.append(volume.root);
    return roots;
}
} // namespace

VolumeMonitor::VolumeMonitor(QObject* parent)
    : QObject(parent)
{
}

VolumeMonitor::~VolumeMonitor()
{
    Stop();
}

void VolumeMonitor::Start()
{
    Stop();
    m_roots = currentRoots();
    if (!Volumes::UsesFakeMountinfo()) {
        m_fd = ::open(QFile::encodeName(Volumes::MountinfoPath()).constData(), O_RDONLY | O_CLOEXEC);
        if (m_fd >= 0) {
            m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
            connect(m_notifier, &QSocketNotifier::activated, this, [this] {
                // The flag stays raised until the file is read again from the start.
                char buffer[4096];
                ::lseek(m_fd, 0, SEEK_SET);
                while (::read(m_fd, buffer, sizeof buffer) > 0) { }
                Rescan();
            });
            return;
        }
    }
    m_timer = new QTimer(this);
    m_timer->setInterval(kFakePollIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &VolumeMonitor::Rescan);
    m_timer->start();
}

void VolumeMonitor::Stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    delete m_timer;
    m_timer = nullptr;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void VolumeMonitor::Rescan()
{
    const QStringList now = currentRoots();
    const QStringList before = m_roots;
    m_roots = now;
    for (const QString& root : before) {
        if (!now.contains(root))
            emit volumeRemoved(root);
    }
    for (const QString& root : now) {
        if (!before.contains(root))
            emit volumeAdded(root);
    }
}

} // namespace zq::platform
