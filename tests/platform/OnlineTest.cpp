#include "Online.h"

#include "TestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq::platform;

namespace {

// Real tables from a machine with a wired default route, a machine with only the loopback, and the IPv6
// table the kernel keeps without IPv6 connectivity (an unreachable ::/0 on lo).
const QByteArray kRouteHeader
    = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const QByteArray kIpv4WithDefault = kRouteHeader
    + "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
      "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
const QByteArray kIpv4LocalOnly
    = kRouteHeader + "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
const QByteArray kIpv6Unreachable
    = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
      "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n"
      "00000000000000000000000000000001 80 00000000000000000000000000000000 00 "
      "00000000000000000000000000000000 00000000 00000002 00000000 80200001       lo\n";
const QByteArray kIpv6WithDefault
    = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
      "fe800000000000000000000000000001 00000400 00000001 00000000 00450003     eth0\n";

TEST(DefaultRouteTest, Ipv4TableNeedsAnUpRouteWithZeroDestinationAndMask)
{
    EXPECT_TRUE(HasIpv4DefaultRoute(kIpv4WithDefault));
    EXPECT_FALSE(HasIpv4DefaultRoute(kIpv4LocalOnly));
    EXPECT_FALSE(HasIpv4DefaultRoute(kRouteHeader));
    EXPECT_FALSE(HasIpv4DefaultRoute({}));
    // Down (flags without RTF_UP), on the loopback, or with a mask: none of them leads anywhere.
    EXPECT_FALSE(
        HasIpv4DefaultRoute(kRouteHeader + "eth0\t00000000\t0102A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n"));
    EXPECT_FALSE(
        HasIpv4DefaultRoute(kRouteHeader + "lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"));
    EXPECT_FALSE(
        HasIpv4DefaultRoute(kRouteHeader + "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t000000FF\t0\t0\t0\n"));
    // Without its header line the first row is still skipped as a header: the kernel always writes one.
    EXPECT_FALSE(HasIpv4DefaultRoute("eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"));
}

TEST(DefaultRouteTest, Ipv6TableIgnoresTheKernelsUnreachableDefault)
{
    EXPECT_FALSE(HasIpv6DefaultRoute(kIpv6Unreachable));
    EXPECT_TRUE(HasIpv6DefaultRoute(kIpv6Unreachable + kIpv6WithDefault));
    EXPECT_FALSE(HasIpv6DefaultRoute("garbage\n\n"));
}

class OnlineCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qunsetenv("ZQ_FORCE_ONLINE");
        UseRoutes(kIpv4LocalOnly, kIpv6Unreachable);
        OnlineCheck::Instance().Forget();
    }
    void TearDown() override
    {
        for (const char* name :
            { "ZQ_FORCE_ONLINE", "ZQ_NET_ROUTE_FILE", "ZQ_NET_IPV6_ROUTE_FILE", "ZQ_TILE_PROBE" })
            qunsetenv(name);
        // A probe still running would answer into the next test.
        QSignalSpy done(&OnlineCheck::Instance(), &OnlineCheck::probed);
        if (OnlineCheck::Instance().IsProbing())
            done.wait(3000);
        OnlineCheck::Instance().Forget();
    }
    void UseRoutes(const QByteArray& ipv4, const QByteArray& ipv6)
    {
        ASSERT_TRUE(zq::test::writeFile(m_dir.filePath("route"), ipv4));
        ASSERT_TRUE(zq::test::writeFile(m_dir.filePath("ipv6_route"), ipv6));
        qputenv("ZQ_NET_ROUTE_FILE", m_dir.filePath("route").toLocal8Bit());
        qputenv("ZQ_NET_IPV6_ROUTE_FILE", m_dir.filePath("ipv6_route").toLocal8Bit());
    }
    QTemporaryDir m_dir;
};

TEST_F(OnlineCheckTest, ForcedAnswerWinsOverRoutesAndNeverProbes)
{
    UseRoutes(kIpv4WithDefault, {});
    qputenv("ZQ_FORCE_ONLINE", "0");
    EXPECT_FALSE(isOnline());
    UseRoutes(kIpv4LocalOnly, {});
    qputenv("ZQ_FORCE_ONLINE", "1");
    EXPECT_TRUE(isOnline());
    EXPECT_FALSE(OnlineCheck::Instance().IsProbing());
}

TEST_F(OnlineCheckTest, NoDefaultRouteIsOfflineAtOnceWithoutProbing)
{
    qputenv("ZQ_TILE_PROBE", "127.0.0.1:1");
    EXPECT_FALSE(HasDefaultRoute());
    EXPECT_FALSE(isOnline());
    EXPECT_FALSE(OnlineCheck::Instance().IsProbing());
    UseRoutes(kIpv4LocalOnly, kIpv6Unreachable + kIpv6WithDefault);
    EXPECT_TRUE(HasDefaultRoute());
}

TEST_F(OnlineCheckTest, ReachableTileHostIsOnlineAndTheAnswerIsKept)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    qputenv("ZQ_TILE_PROBE", QByteArray("127.0.0.1:") + QByteArray::number(server.serverPort()));
    UseRoutes(kIpv4WithDefault, {});

    QElapsedTimer clock;
    clock.start();
    // Nothing is known yet: the route alone answers, and a probe starts in the background.
    EXPECT_TRUE(isOnline());
    EXPECT_TRUE(OnlineCheck::Instance().IsProbing());
    EXPECT_LT(clock.elapsed(), 500); // the question itself does not wait for the network

    bool answer = false;
    int calls = 0;
    QObject context;
    OnlineCheck::Instance().WhenKnown(&context, [&](bool online) {
        answer = online;
        ++calls;
    });
    QSignalSpy probed(&OnlineCheck::Instance(), &OnlineCheck::probed);
    ASSERT_TRUE(probed.wait(3000));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(answer);

    // Kept: the server may go away, the answer stands until forgotten.
    server.close();
    EXPECT_TRUE(isOnline());
    EXPECT_FALSE(OnlineCheck::Instance().IsProbing());
}

TEST_F(OnlineCheckTest, UnreachableTileHostIsOfflineWithinTheTimeout)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const quint16 closedPort = server.serverPort();
    server.close(); // nobody listens there any more: connection refused
    qputenv("ZQ_TILE_PROBE", QByteArray("127.0.0.1:") + QByteArray::number(closedPort));
    UseRoutes(kIpv4WithDefault, {});

    bool answer = true;
    int calls = 0;
    QObject context;
    QElapsedTimer clock;
    clock.start();
    OnlineCheck::Instance().WhenKnown(&context, [&](bool online) {
        answer = online;
        ++calls;
    });
    QSignalSpy probed(&OnlineCheck::Instance(), &OnlineCheck::probed);
    ASSERT_TRUE(probed.wait(kProbeTimeoutMs + 1000));
    EXPECT_LE(clock.elapsed(), kProbeTimeoutMs + 500);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(answer);
    EXPECT_FALSE(isOnline());

    // A known answer comes back queued, never inside the caller's own call.
    calls = 0;
    OnlineCheck::Instance().WhenKnown(&context, [&](bool) { ++calls; });
    EXPECT_EQ(calls, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
}

TEST_F(OnlineCheckTest, UnroutableHostAnswersOfflineWithinTheTimeout)
{
    // A documentation address that leads nowhere: refused at once or silent until the timeout, offline.
    qputenv("ZQ_TILE_PROBE", "192.0.2.1:443");
    UseRoutes(kIpv4WithDefault, {});
    QElapsedTimer clock;
    clock.start();
    isOnline();
    QSignalSpy probed(&OnlineCheck::Instance(), &OnlineCheck::probed);
    ASSERT_TRUE(probed.wait(kProbeTimeoutMs + 2000));
    EXPECT_FALSE(probed.first().first().toBool());
    EXPECT_LE(clock.elapsed(), kProbeTimeoutMs + 700);
}

} // namespace
