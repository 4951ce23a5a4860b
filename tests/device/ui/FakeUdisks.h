#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVector>

namespace zq::test {

/// A fake UDisks2 (python3-dbusmock with our template) on a private D-Bus bus of its own. While it lives,
/// ZQ_UDISKS_BUS_ADDRESS points the format service at it. Each device's folder stands in for the card:
/// Format empties it. Every call is logged; failures are injected by name.
class FakeUdisks {
public:
    struct Device {
        QString name; // "sdb1"
        QString device; // "/dev/sdb1"
        QString folder;
        bool system = false;
    };

    FakeUdisks(const QString& workFolder, const QVector<Device>& devices);
    ~FakeUdisks();
    FakeUdisks(const FakeUdisks&) = delete;
    FakeUdisks& operator=(const FakeUdisks&) = delete;

    bool Started() const { return m_started; }
    QString Error() const { return m_error; }
    QString Address() const { return m_address; }
    /// The calls received, one line each ("Unmount <path>", "Format vfat {...}", "Mount <path>", ...).
    QStringList Calls() const;
    /// "fail-unmount", "fail-format", "fail-mount", "cannot-format".
    void Inject(const QString& failure, bool on = true);

private:
    QString m_state;
    QString m_address;
    QString m_error;
    QByteArray m_oldAddress;
    bool m_hadAddress = false;
    bool m_started = false;
    QProcess m_bus;
    QProcess m_mock;
};

} // namespace zq::test
