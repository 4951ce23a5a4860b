#include "CardFormatService.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QFileInfo>
#include <QVariantMap>

namespace zq::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kManagerPath = QStringLiteral("/org/freedesktop/UDisks2/Manager");
const QString kManagerIface = QStringLiteral("org.freedesktop.UDisks2.Manager");
const QString kBlockIface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystemIface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kPropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusConnection busFromEnvironment()
{
    const QByteArray address = qgetenv("ZQ_UDISKS_BUS_ADDRESS");
    if (address.isEmpty())
        return QDBusConnection::systemBus();
    return QDBusConnection::connectToBus(
        QString::fromLocal8Bit(address), QStringLiteral("zq-udisks-") + address);
}

// UDisks2 names its block objects after the device node, with anything but letters, digits and "_"
// escaped as "_%02x".
QString escapedObjectName(const QString& name)
{
    QString out;
    for (const QChar c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            out += c;
        else
            out += QStringLiteral("_%1").arg(c.unicode(), 2, 16, QChar('0'));
    }
    return out;
}

} // namespace

CardFormatService::CardFormatService(QObject* parent)
    : QObject(parent)
    , m_bus(busFromEnvironment())
{
}

CardFormatService::~CardFormatService() = default;

QString CardFormatService::FileSystemFor(quint64 totalBytes)
{
    return totalBytes <= (32ull << 30) ? QStringLiteral("vfat") : QStringLiteral("exfat");
}

QString CardFormatService::FileSystemDisplayName(const QString& type)
{
    if (type == QLatin1String("vfat"))
        return QStringLiteral("FAT32");
    if (type == QLatin1String("exfat"))
        return QStringLiteral("exFAT");
    return type;
}

QString CardFormatService::BlockObjectPath(const QString& device, QString* reason)
{
    if (!m_bus.isConnected()) {
        *reason = QStringLiteral("the disk service (UDisks2) cannot be reached: %1")
                      .arg(m_bus.lastError().message());
        return {};
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kManagerPath, kManagerIface, QStringLiteral("ResolveDevice"));
    call << QVariantMap { { QStringLiteral("path"), device } } << QVariantMap {};
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kQueryTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        const auto paths = qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().first());
        if (!paths.isEmpty())
            return paths.first().path();
    }
    if (reply.type() == QDBusMessage::ErrorMessage
        && reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) {
        *reason = QStringLiteral("the disk service does not know %1: %2").arg(device, reply.errorMessage());
        return {};
    }
    // Older UDisks2 without ResolveDevice: the object is named after the device node.
    return QStringLiteral("/org/freedesktop/UDisks2/block_devices/")
        + escapedObjectName(QFileInfo(device).fileName());
}

bool CardFormatService::CanFormat(const QString& device, const QString& type, QString* reason)
{
    QString why;
    const QString block = BlockObjectPath(device, &why);
    if (block.isEmpty()) {
        if (reason)
            *reason = why;
        return false;
    }
    QDBusMessage can
        = QDBusMessage::createMethodCall(kService, kManagerPath, kManagerIface, QStringLiteral("CanFormat"));
    can << type;
    const QDBusMessage canReply = m_bus.call(can, QDBus::Block, kQueryTimeoutMs);
    if (canReply.type() != QDBusMessage::ReplyMessage || canReply.arguments().size() < 2
        || !canReply.arguments().at(0).toBool()) {
        if (reason) {
            *reason = canReply.type() == QDBusMessage::ErrorMessage
                ? canReply.errorMessage()
                : QStringLiteral("%1 cannot be made here (missing %2)")
                      .arg(FileSystemDisplayName(type), canReply.arguments().value(1).toString());
        }
        return false;
    }
    QDBusMessage get
        = QDBusMessage::createMethodCall(kService, block, kPropertiesIface, QStringLiteral("Get"));
    get << kBlockIface << QStringLiteral("HintSystem");
    const QDBusMessage getReply = m_bus.call(get, QDBus::Block, kQueryTimeoutMs);
    if (getReply.type() != QDBusMessage::ReplyMessage || getReply.arguments().isEmpty()) {
        if (reason)
            *reason = QStringLiteral("%1 is not known to the disk service").arg(device);
        return false;
    }
    if (qdbus_cast<QDBusVariant>(getReply.arguments().first()).variant().toBool()) {
        if (reason)
            *reason = QStringLiteral("%1 belongs to the system").arg(device);
        return false;
    }
    return true;
}

void CardFormatService::Fail(const QString& error, const QString& mountRoot)
{
    m_busy = false;
    emit finished(false, mountRoot, error);
}

void CardFormatService::StartFormat(const QString& device, const QString& type, const QString& label)
{
    if (m_busy)
        return;
    m_busy = true;
    QString reason;
    const QString block = BlockObjectPath(device, &reason);
    if (block.isEmpty()) {
        // Reported from the event loop, as every other outcome is.
        QMetaObject::invokeMethod(
            this, [this, reason] { Fail(reason); }, Qt::QueuedConnection);
        return;
    }

    auto asyncCall = [this](const QString& path, const QString& iface, const QString& method,
                         const QVariantList& args, int timeoutMs) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, path, iface, method);
        call.setArguments(args);
        return new QDBusPendingCallWatcher(m_bus.asyncCall(call, timeoutMs), this);
    };
    const QVariantMap none;

    auto mount = [=, this](const QString& formatError) {
        emit stepStarted(QStringLiteral("mount"));
        auto* watcher
            = asyncCall(block, kFilesystemIface, QStringLiteral("Mount"), { none }, kQueryTimeoutMs * 10);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [=, this](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            QDBusPendingReply<QString> reply = *w;
            const QString root = reply.isError() ? QString() : reply.value();
            const QString rootWithSlash = root.isEmpty() || root.endsWith('/') ? root : root + '/';
            if (!formatError.isEmpty())
                return Fail(formatError, rootWithSlash);
            if (reply.isError())
                return Fail(QStringLiteral("the card was formatted but cannot be mounted again: %1")
                                .arg(reply.error().message()));
            m_busy = false;
            emit finished(true, rootWithSlash, QString());
        });
    };

    auto format = [=, this]() {
        emit stepStarted(QStringLiteral("format"));
        const QVariantMap options { { QStringLiteral("label"), label },
            { QStringLiteral("update-partition-type"), true } };
        auto* watcher
            = asyncCall(block, kBlockIface, QStringLiteral("Format"), { type, options }, kFormatTimeoutMs);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [=, this](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<> reply = *w;
            // The card is mounted again whatever happened, so that nothing of it stays out of reach.
            mount(reply.isError() ? QStringLiteral("the format failed: %1").arg(reply.error().message())
                                  : QString());
        });
    };

    emit stepStarted(QStringLiteral("unmount"));
    auto* watcher
        = asyncCall(block, kFilesystemIface, QStringLiteral("Unmount"), { none }, kQueryTimeoutMs * 10);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [=, this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<> reply = *w;
        // A card that is not mounted is fine; anything else (busy, not allowed) stops before the format.
        if (reply.isError() && !reply.error().name().endsWith(QLatin1String("NotMounted")))
            return Fail(QStringLiteral("the card cannot be unmounted: %1").arg(reply.error().message()));
        format();
    });
}

} // namespace zq::platform
