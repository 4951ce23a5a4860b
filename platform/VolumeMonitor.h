#pragma once

#include "Volumes.h"

#include <QObject>
#include <QStringList>

class QSocketNotifier;
class QTimer;

namespace zq::platform {

/// Reports removable volumes that appear or disappear. The kernel flags /proc/self/mountinfo with POLLPRI
/// when the mount table changes; a fake mountinfo file (ZQ_MOUNTINFO) is polled by a timer instead.
class VolumeMonitor : public QObject {
    Q_OBJECT
public:
    explicit VolumeMonitor(QObject* parent = nullptr);
    ~VolumeMonitor() override;

    /// Starts watching; the current volumes are taken as known, so nothing is reported for them.
    void Start();
    void Stop();
    /// Compares the volumes with those last seen and emits what changed (also called by the watch).
    void Rescan();

    static constexpr int kFakePollIntervalMs = 250;

signals:
    void volumeAdded(const QString& root);
    void volumeRemoved(const QString& root);

private:
    QStringList m_roots;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace zq::platform
