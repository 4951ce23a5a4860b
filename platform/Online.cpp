#include "Online.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <optional>

namespace zq::platform {
namespace {

constexpr quint32 kRouteUp = 0x0001;
constexpr quint32 kRouteReject = 0x0200;

QByteArray ReadRouteFile(const char* variable, const char* defaultPath)
{
    const QString path = qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable)
                                                             : QString::fromLatin1(defaultPath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::optional<bool> ForcedAnswer()
{
    const QByteArray forced = qgetenv("ZQ_FORCE_ONLINE").trimmed();
    if (forced == "1")
        return true;
    if (forced == "0")
        return false;
    return std::nullopt;
}

QList<QByteArray> Fields(const QByteArray& line)
{
    return line.simplified().split(' ');
}

qint64 NowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

bool HasIpv4DefaultRoute(const QByteArray& routeTable)
{
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ..., all hexadecimal; the first line is a
    // header.
    const QList<QByteArray> lines = routeTable.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = Fields(lines[i]);
        if (f.size() < 8 || f[0] == "lo")
            continue;
        bool flagsOk = false;
        const quint32 flags = f[3].toUInt(&flagsOk, 16);
        bool destinationOk = false;
        bool maskOk = false;
        const quint32 destination = f[1].toUInt(&destinationOk, 16);
        const quint32 mask = f[7].toUInt(&maskOk, 16);
        if (flagsOk && destinationOk && maskOk && destination == 0 && mask == 0 && (flags & kRouteUp))
            return true;
    }
    return false;
}

bool HasIpv6DefaultRoute(const QByteArray& routeTable)
{
    // destination prefix-length source prefix-length next-hop metric refcount use flags device
    static const QByteArray kAnyAddress(32, '0');
    for (const QByteArray& line : routeTable.split('\n')) {
        const QList<QByteArray> f = Fields(line);
        if (f.size() < 10 || f[9] == "lo")
            continue;
        bool flagsOk = false;
        const quint32 flags = f[8].toUInt(&flagsOk, 16);
        if (f[0] == kAnyAddress && f[1] == "00" && flagsOk && (flags & kRouteUp) && !(flags & kRouteReject))
            return true;
    }
    return false;
}

bool HasDefaultRoute()
{
    return HasIpv4DefaultRoute(ReadRouteFile("ZQ_NET_ROUTE_FILE", "/proc/net/route"))
        || HasIpv6DefaultRoute(ReadRouteFile("ZQ_NET_IPV6_ROUTE_FILE", "/proc/net/ipv6_route"));
}

OnlineCheck& OnlineCheck::Instance()
{
    static OnlineCheck* instance = new OnlineCheck; // lives as long as the process
    return *instance;
}

OnlineCheck::OnlineCheck()
{
    m_timeout = new QTimer(this);
    m_timeout->setSingleShot(true);
    connect(m_timeout, &QTimer::timeout, this, [this] { FinishProbe(false); });
}

std::optional<bool> OnlineCheck::KnownAnswer()
{
    if (const auto forced = ForcedAnswer())
        return forced;
    if (!HasDefaultRoute())
        return false;
    if (m_hasAnswer && NowMs() - m_answeredAtMs < kProbeCacheMs)
        return m_answer;
    return std::nullopt;
}

bool OnlineCheck::IsOnline()
{
    if (const auto known = KnownAnswer())
        return *known;
    StartProbe();
    // A default route exists; until the probe has answered, the last answer (or the route alone) stands.
    return m_hasAnswer ? m_answer : true;
}

void OnlineCheck::WhenKnown(QObject* context, std::function<void(bool)> done)
{
    if (const auto known = KnownAnswer()) {
        QMetaObject::invokeMethod(
            context, [done, answer = *known] { done(answer); }, Qt::QueuedConnection);
        return;
    }
    StartProbe();
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(this, &OnlineCheck::probed, context, [connection, done](bool online) {
        QObject::disconnect(*connection);
        done(online);
    });
}

void OnlineCheck::Forget()
{
    m_hasAnswer = false;
}

void OnlineCheck::StartProbe()
{
    if (m_socket)
        return;
    QString host = QString::fromLatin1(kTileHost);
    quint16 port = kTilePort;
    const QString probe = qEnvironmentVariable("ZQ_TILE_PROBE");
    if (const qsizetype colon = probe.lastIndexOf(u':'); colon > 0) {
        host = probe.left(colon);
        port = quint16(probe.mid(colon + 1).toUInt());
    }
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] { FinishProbe(true); });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] { FinishProbe(false); });
    m_timeout->start(kProbeTimeoutMs);
    // Name lookup and connection both run without blocking this thread.
    m_socket->connectToHost(host, port);
}

void OnlineCheck::FinishProbe(bool online)
{
    if (!m_socket)
        return;
    m_timeout->stop();
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    m_hasAnswer = true;
    m_answer = online;
    m_answeredAtMs = NowMs();
    emit probed(online);
}

bool isOnline()
{
    return OnlineCheck::Instance().IsOnline();
}

} // namespace zq::platform
