// The echo packet, the reading of answers, the status texts, the name lookup
// and, where the system hands out an ICMP socket, a real echo to loopback.
#include "net/Ping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <netinet/ip_icmp.h>

using namespace xantu;

namespace {

// An IPv4 header of 20 bytes in front of `icmp`.
QByteArray WithIpHeader(const QByteArray& icmp) {
    QByteArray ip(20, '\0');
    ip[0] = 0x45;
    ip[9] = 1; // ICMP
    return ip + icmp;
}

// An ICMP error of that type and code quoting our request.
QByteArray ErrorAbout(int type, int code, const QByteArray& request) {
    QByteArray icmp(8, '\0');
    icmp[0] = char(type);
    icmp[1] = char(code);
    return icmp + WithIpHeader(request.left(8));
}

class TFakeEcho : public TEchoBackend {
  public:
    explicit TFakeEcho(TEchoResult r) : result(r) {}
    TEchoResult Echo(quint32 address, const QByteArray& payload, int ttl, int timeoutMs) override {
        seenAddress = address;
        seenPayload = payload;
        seenTtl = ttl;
        seenTimeout = timeoutMs;
        ++calls;
        return result;
    }
    TEchoResult result;
    quint32 seenAddress = 0;
    QByteArray seenPayload;
    int seenTtl = 0, seenTimeout = 0, calls = 0;
};

// Runs the event loop until `done` holds or `ms` have passed.
template <class F> bool WaitFor(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

TEST(Ping, RequestCarriesTheTextThenBlanksAndAValidChecksum) {
    const QByteArray payload = PingPayload(56);
    ASSERT_EQ(payload.size(), 56);
    EXPECT_EQ(payload.left(45).count(' ') < 45, true);
    EXPECT_NE(payload[44], ' ');
    EXPECT_EQ(payload.mid(45), QByteArray(11, ' '));
    for (char c : payload.left(45))
        EXPECT_TRUE(c >= 0x20 && c < 0x7F);
    EXPECT_EQ(PingPayload(10), payload.left(10));

    const QByteArray packet = BuildEchoRequest(0x1234, 7, payload);
    ASSERT_EQ(packet.size(), 64);
    EXPECT_EQ(quint8(packet[0]), ICMP_ECHO);
    EXPECT_EQ(packet.mid(4, 4), QByteArray("\x12\x34\x00\x07", 4));
    EXPECT_EQ(IcmpChecksum(packet), 0);                        // a correct checksum sums to zero
    EXPECT_EQ(IcmpChecksum(BuildEchoRequest(1, 1, "abc")), 0); // odd length
}

TEST(Ping, AnswersAreMatchedToTheRequest) {
    const QByteArray request = BuildEchoRequest(0x1234, 7, PingPayload(56));
    QByteArray reply = request;
    reply[0] = char(ICMP_ECHOREPLY);

    TEchoAnswer a = ParseEchoAnswer(WithIpHeader(reply), true, 0x1234, 7, true);
    EXPECT_EQ(a.What, TEchoAnswer::Reply);
    EXPECT_EQ(a.DataSize, 56);
    // Datagram sockets deliver no IP header and a replaced identifier.
    EXPECT_EQ(ParseEchoAnswer(reply, false, 0x9999, 7, false).What, TEchoAnswer::Reply);
    // Another ping's reply, another sequence, our own request seen on a raw socket.
    EXPECT_EQ(ParseEchoAnswer(WithIpHeader(reply), true, 0x4321, 7, true).What, TEchoAnswer::Unrelated);
    EXPECT_EQ(ParseEchoAnswer(WithIpHeader(reply), true, 0x1234, 8, true).What, TEchoAnswer::Unrelated);
    EXPECT_EQ(ParseEchoAnswer(WithIpHeader(request), true, 0x1234, 7, true).What, TEchoAnswer::Unrelated);
    EXPECT_EQ(ParseEchoAnswer(QByteArray("\x45\x00", 2), true, 0x1234, 7, true).What, TEchoAnswer::Unrelated);

    a = ParseEchoAnswer(WithIpHeader(ErrorAbout(ICMP_DEST_UNREACH, ICMP_HOST_UNREACH, request)), true, 0x1234,
                        7, true);
    EXPECT_EQ(a.What, TEchoAnswer::Error);
    EXPECT_EQ(a.Status, 11003u);
    a = ParseEchoAnswer(WithIpHeader(ErrorAbout(ICMP_TIME_EXCEEDED, ICMP_EXC_TTL, request)), true, 0x1234, 7,
                        true);
    EXPECT_EQ(a.Status, 11013u);
    // An error about someone else's packet is not ours.
    const QByteArray other = BuildEchoRequest(0x1234, 99, "x");
    EXPECT_EQ(
        ParseEchoAnswer(WithIpHeader(ErrorAbout(ICMP_DEST_UNREACH, 1, other)), true, 0x1234, 7, true).What,
        TEchoAnswer::Unrelated);
}

TEST(Ping, StatusCodesAndTexts) {
    EXPECT_EQ(IcmpStatusText(0), "No error");
    EXPECT_EQ(IcmpStatusText(11010), "Request timed out");
    EXPECT_EQ(IcmpStatusText(11018), "Bad Destination");
    EXPECT_EQ(IcmpStatusText(11050), "General failure");
    EXPECT_EQ(IcmpStatusText(11255), "Pending");
    EXPECT_EQ(IcmpStatusText(11022), "ICMP error #11022");
    EXPECT_EQ(IcmpStatusText(5), "ICMP error #5");
    EXPECT_EQ(IcmpErrorStatus(ICMP_DEST_UNREACH, ICMP_NET_UNREACH), 11002u);
    EXPECT_EQ(IcmpErrorStatus(ICMP_DEST_UNREACH, ICMP_PROT_UNREACH), 11004u);
    EXPECT_EQ(IcmpErrorStatus(ICMP_DEST_UNREACH, ICMP_PORT_UNREACH), 11005u);
    EXPECT_EQ(IcmpErrorStatus(ICMP_DEST_UNREACH, ICMP_FRAG_NEEDED), 11009u);
    EXPECT_EQ(IcmpErrorStatus(ICMP_TIME_EXCEEDED, ICMP_EXC_FRAGTIME), 11014u);
    EXPECT_EQ(IcmpErrorStatus(ICMP_PARAMETERPROB, 0), 11015u);
    EXPECT_EQ(IcmpErrorStatus(ICMP_SOURCE_QUENCH, 0), 11016u);
}

TEST(Ping, DottedAddressAnswersAtOnceAndTheEchoUsesTheFixedSettings) {
    TFakeEcho* echo = new TFakeEcho({1, 0, 3, 56});
    TPing ping([&] { return std::unique_ptr<TEchoBackend>(echo); });
    std::vector<int> order;
    QObject::connect(&ping, &TPing::DnsLookupDone, [&](quint16 e) { order.push_back(e); });
    ping.DnsLookup("192.168.001.010");
    ASSERT_EQ(order, std::vector<int>{0}); // before DnsLookup returned
    EXPECT_EQ(ping.DnsResult(), "192.168.1.10");
    EXPECT_FALSE(ping.LookupPending());

    ping.Address = ping.DnsResult();
    std::vector<int> replies;
    QObject::connect(&ping, &TPing::EchoReply, [&](int n) { replies.push_back(n); });
    EXPECT_EQ(ping.Ping(), 1);
    EXPECT_EQ(replies, std::vector<int>{1});
    EXPECT_EQ(echo->seenAddress, 0xC0A8010Au);
    EXPECT_EQ(echo->seenPayload, PingPayload(56));
    EXPECT_EQ(echo->seenTtl, 64);
    EXPECT_EQ(echo->seenTimeout, 4000);
    EXPECT_EQ(ping.HostIP(), "192.168.1.10");
    EXPECT_EQ(ping.RoundTrip(), 3u);
}

TEST(Ping, TimeOutAndMissingHandle) {
    TFakeEcho* echo = new TFakeEcho({0, IcmpReqTimedOut, 0, 0});
    TPing ping([&] { return std::unique_ptr<TEchoBackend>(echo); });
    ping.Address = "10.1.2.3";
    EXPECT_EQ(ping.Ping(), 0);
    EXPECT_EQ(ping.ReplyStatus(), 11010u);
    EXPECT_EQ(IcmpStatusText(ping.ReplyStatus()), "Request timed out");

    TPing none(
        []() -> std::unique_ptr<TEchoBackend> { throw std::runtime_error("Unable to get ping handle"); });
    EXPECT_EQ(none.HandleError(), "Unable to get ping handle");
    none.Address = "127.0.0.1";
    EXPECT_EQ(none.Ping(), 0);
}

TEST(Ping, HostNamesAreLookedUpInTheBackground) {
    TPing ping([] { return std::unique_ptr<TEchoBackend>(new TFakeEcho({})); });
    std::vector<int> done;
    QObject::connect(&ping, &TPing::DnsLookupDone, [&](quint16 e) { done.push_back(e); });
    // Resolved from the hosts file, no name server involved.
    ping.DnsLookup("localhost");
    EXPECT_TRUE(done.empty());
    ASSERT_TRUE(WaitFor([&] { return !done.empty(); }, 3000));
    EXPECT_EQ(done.at(0), 0);
    EXPECT_EQ(ping.DnsResult(), "127.0.0.1");

    // Not a valid name at all: refused before any query goes out.
    done.clear();
    ping.DnsLookup("bad..name");
    ASSERT_TRUE(WaitFor([&] { return !done.empty(); }, 3000));
    EXPECT_NE(done.at(0), 0);

    // A new lookup replaces one still pending: only the last one reports.
    done.clear();
    ping.DnsLookup("localhost");
    ping.DnsLookup("127.0.0.2");
    ASSERT_EQ(done.size(), 1u);
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(done.size(), 1u);
    EXPECT_EQ(ping.DnsResult(), "127.0.0.2");
}

TEST(Ping, LoopbackAnswersARealEcho) {
    std::unique_ptr<TIcmpSocketBackend> backend;
    const char* mode = std::getenv("XANTU_PING_MODE");
    const auto want = mode && std::string(mode) == "datagram" ? TIcmpSocketBackend::TMode::DatagramOnly
                                                              : TIcmpSocketBackend::TMode::Auto;
    try {
        backend = std::make_unique<TIcmpSocketBackend>(want);
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Unable to get ping handle");
        // Inside the namespace that allows datagram sockets it must open.
        ASSERT_EQ(want, TIcmpSocketBackend::TMode::Auto);
        GTEST_SKIP() << "this system hands out no ICMP socket";
    }
    const TEchoResult r = backend->Echo(0x7F000001u, PingPayload(56), 64, 4000);
    EXPECT_EQ(r.Replies, 1) << IcmpStatusText(r.Status).toStdString();
    EXPECT_EQ(r.DataSize, 56);
    EXPECT_LT(r.RoundTripMs, 1000u);
    // A second echo on the same handle works as well.
    EXPECT_EQ(backend->Echo(0x7F000001u, PingPayload(56), 64, 4000).Replies, 1);
}

// The unprivileged datagram socket, inside a network namespace of its own
// where this test may allow it.
TEST(Ping, DatagramSocketInAPrivateNamespace) {
    if (std::getenv("XANTU_PING_MODE"))
        GTEST_SKIP() << "already inside";
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const std::string cmd = "unshare -n sh -c 'ip link set lo up 2>/dev/null || ifconfig lo up; "
                            "sysctl -qw net.ipv4.ping_group_range=\"0 2147483647\" && "
                            "XANTU_PING_MODE=datagram \"" +
                            self + "\" --gtest_filter=Ping.LoopbackAnswersARealEcho' >/dev/null 2>&1";
    if (std::system("unshare -n true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no private network namespace here";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}
