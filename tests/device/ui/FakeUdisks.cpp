#include "FakeUdisks.h"

#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace zq::test {

FakeUdisks::FakeUdisks(const QString& workFolder, const QVector<Device>& devices)
    : m_state(workFolder + "/udisks-state")
{
    QDir().mkpath(m_state);
    m_hadAddress = qEnvironmentVariableIsSet("ZQ_UDISKS_BUS_ADDRESS");
    m_oldAddress = qgetenv("ZQ_UDISKS_BUS_ADDRESS");

    // The bus and the fake end with the test program, even when it crashes.
    const auto endWithParent = [] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); };
    m_bus.setChildProcessModifier(endWithParent);
    m_mock.setChildProcessModifier(endWithParent);
    m_bus.start("dbus-daemon", { "--session", "--print-address=1", "--nofork" });
    if (!m_bus.waitForStarted(5000) || !m_bus.waitForReadyRead(5000)) {
        m_error = "dbus-daemon did not start";
        return;
    }
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();

    QJsonArray list;
    for (const Device& d : devices)
        list.append(QJsonObject {
            { "name", d.name }, { "device", d.device }, { "folder", d.folder }, { "system", d.system } });
    const QJsonObject parameters { { "state", m_state }, { "devices", list } };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
    m_mock.setProcessEnvironment(env);
    m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_mock.setStandardOutputFile(QProcess::nullDevice());
    // Debian's dbusmock lives in the system Python.
    const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    m_mock.start(python,
        { "-m", "dbusmock", "--session", "--template", ZQ_FAKE_UDISKS_TEMPLATE, "-p",
            QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact)) });
    if (!m_mock.waitForStarted(5000)) {
        m_error = "python3 -m dbusmock did not start";
        return;
    }
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, "fake-udisks-check");
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired() && m_mock.state() == QProcess::Running) {
            if (bus.interface() && bus.interface()->isServiceRegistered("org.freedesktop.UDisks2"))
                break;
            QThread::msleep(50);
        }
        m_started = bus.interface() && bus.interface()->isServiceRegistered("org.freedesktop.UDisks2");
    }
    QDBusConnection::disconnectFromBus("fake-udisks-check");
    if (!m_started) {
        m_error = "the fake UDisks2 did not appear on the bus (is python3-dbusmock installed?)";
        return;
    }
    qputenv("ZQ_UDISKS_BUS_ADDRESS", m_address.toUtf8());
}

FakeUdisks::~FakeUdisks()
{
    if (m_hadAddress)
        qputenv("ZQ_UDISKS_BUS_ADDRESS", m_oldAddress);
    else
        qunsetenv("ZQ_UDISKS_BUS_ADDRESS");
    for (QProcess* process : { &m_mock, &m_bus }) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
    }
}

QStringList FakeUdisks::Calls() const
{
    QStringList lines = QString::fromUtf8(readFile(m_state + "/calls.log")).split('\n', Qt::SkipEmptyParts);
    return lines;
}

void FakeUdisks::Inject(const QString& failure, bool on)
{
    if (on)
        writeFile(m_state + '/' + failure, "1");
    else
        QFile::remove(m_state + '/' + failure);
}

} // namespace zq::test
