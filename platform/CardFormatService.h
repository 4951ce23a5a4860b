#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace zq::platform {

/// Formats a memory card through UDisks2 over D-Bus: unmount, make the file system with the volume label,
/// mount again. The bus is the system bus, or the one at ZQ_UDISKS_BUS_ADDRESS when that is set (tests run a
/// fake UDisks2 on a private bus there). Every call that can take long is asynchronous.
class CardFormatService : public QObject {
    Q_OBJECT
public:
    enum class Result { Done, Cancelled, Error };

    explicit CardFormatService(QObject* parent = nullptr);
    ~CardFormatService() override;

    /// "vfat" (FAT32) up to 32 GiB, "exfat" above, as the recorder expects.
    static QString FileSystemFor(quint64 totalBytes);
    /// Short name shown to users: "FAT32" or "exFAT".
    static QString FileSystemDisplayName(const QString& type);

    /// Whether UDisks2 can make that file system on the block device and the device is not the system
    /// disk. `reason` says why not. Short blocking calls; an absent UDisks2 answers at once.
    bool CanFormat(const QString& device, const QString& type, QString* reason = nullptr);

    /// Starts unmount, format and mount; `finished` reports the outcome. One format at a time.
    void StartFormat(const QString& device, const QString& type, const QString& label);
    bool IsBusy() const { return m_busy; }

    static constexpr int kQueryTimeoutMs = 3000;
    static constexpr int kFormatTimeoutMs = 30 * 60 * 1000;

signals:
    /// A step has begun: "unmount", "format", "mount".
    void stepStarted(const QString& step);
    /// The format ended: ok, the new mount root ("" when not mounted again), and the reason of a failure.
    void finished(bool ok, const QString& mountRoot, const QString& error);

private:
    QString BlockObjectPath(const QString& device, QString* reason);
    void Fail(const QString& error, const QString& mountRoot = QString());

    QDBusConnection m_bus;
    bool m_busy = false;
};

} // namespace zq::platform
