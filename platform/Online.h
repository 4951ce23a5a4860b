#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QTcpSocket;
class QTimer;

// Whether the map's tile server can be reached. A default route is looked for first (no route: offline at
// once); then a short connection attempt to the tile host decides, in the background. Its answer is kept for
// a while, so repeated questions cost nothing and the GUI thread never waits for the network.
//
// Environment, for tests and for users behind odd networks:
//   ZQ_FORCE_ONLINE=0|1        answer this, without looking at routes or the network
//   ZQ_NET_ROUTE_FILE          instead of /proc/net/route
//   ZQ_NET_IPV6_ROUTE_FILE     instead of /proc/net/ipv6_route
//   ZQ_TILE_PROBE=host:port    instead of tile.openstreetmap.org:443
namespace zq::platform {

inline constexpr char kTileHost[] = "tile.openstreetmap.org";
inline constexpr quint16 kTilePort = 443;
inline constexpr int kProbeTimeoutMs = 1500;
inline constexpr int kProbeCacheMs = 30000;

/// True when /proc/net/route text holds an up default route (destination and mask 0) on a device other
/// than the loopback.
bool HasIpv4DefaultRoute(const QByteArray& routeTable);
/// True when /proc/net/ipv6_route text holds an up default route (::/0) that is not a reject route and not
/// on the loopback (the kernel keeps an unreachable ::/0 there).
bool HasIpv6DefaultRoute(const QByteArray& routeTable);
/// Reads both route tables (or their stand-ins from the environment).
bool HasDefaultRoute();

/// The process-wide online check. Lives on the GUI thread.
class OnlineCheck : public QObject {
    Q_OBJECT
public:
    static OnlineCheck& Instance();

    /// The best answer now, without waiting: a forced answer, "offline" without a default route, else the
    /// last probe's answer while it is fresh. A stale or missing answer starts a probe and is answered from
    /// the default route alone (true) until the probe has spoken.
    bool IsOnline();
    /// Calls `done` on the GUI thread with a settled answer: at once (queued) when one is known, else when
    /// the running probe ends (at most kProbeTimeoutMs later). `context` guards the call.
    void WhenKnown(QObject* context, std::function<void(bool)> done);
    /// Forgets the cached answer, so the next question probes again.
    void Forget();
    /// True while a probe runs.
    bool IsProbing() const { return m_socket != nullptr; }

signals:
    /// A probe ended with this answer.
    void probed(bool online);

private:
    OnlineCheck();
    /// A settled answer without probing, if there is one.
    std::optional<bool> KnownAnswer();
    void StartProbe();
    void FinishProbe(bool online);

    QTcpSocket* m_socket = nullptr;
    QTimer* m_timeout = nullptr;
    bool m_hasAnswer = false;
    bool m_answer = false;
    qint64 m_answeredAtMs = 0;
};

/// OnlineCheck::Instance().IsOnline().
bool isOnline();

} // namespace zq::platform
