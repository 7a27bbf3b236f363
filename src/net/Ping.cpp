#include "net/Ping.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringList>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace xantu {

namespace {

// Exactly 45 characters.
const char kPayloadText[] = "XantuEditor echo request: is the box awake?!!";
static_assert(sizeof(kPayloadText) - 1 == 45, "the echo text is 45 characters long");

quint16 Get16(const QByteArray& b, int at) {
    return quint16((quint8(b[at]) << 8) | quint8(b[at + 1]));
}

quint32 SendErrorStatus(int err) {
    switch (err) {
    case ENETUNREACH:
    case ENETDOWN:
        return IcmpDestNetUnreachable;
    case EHOSTUNREACH:
    case EHOSTDOWN:
        return IcmpDestHostUnreachable;
    case EMSGSIZE:
        return IcmpPacketTooBig;
    case ENOBUFS:
    case ENOMEM:
        return IcmpNoResources;
    case EINVAL:
        return IcmpBadReq;
    default:
        return IcmpGeneralFailure;
    }
}

} // namespace

QString IcmpStatusText(quint32 code) {
    switch (code) {
    case 0:
        return QStringLiteral("No error");
    case 11001:
        return QStringLiteral("Buffer too small");
    case 11002:
        return QStringLiteral("Destination network unreachable");
    case 11003:
        return QStringLiteral("Destination host unreachable");
    case 11004:
        return QStringLiteral("Destination protocol unreachable");
    case 11005:
        return QStringLiteral("Destination port unreachable");
    case 11006:
        return QStringLiteral("No resources");
    case 11007:
        return QStringLiteral("Bad option");
    case 11008:
        return QStringLiteral("Hardware error");
    case 11009:
        return QStringLiteral("Packet too big");
    case 11010:
        return QStringLiteral("Request timed out");
    case 11011:
        return QStringLiteral("Bad request");
    case 11012:
        return QStringLiteral("Bad route");
    case 11013:
        return QStringLiteral("TTL expired in transit");
    case 11014:
        return QStringLiteral("TTL expired in reassembly");
    case 11015:
        return QStringLiteral("Parameter problem");
    case 11016:
        return QStringLiteral("Source quench");
    case 11017:
        return QStringLiteral("Option too big");
    case 11018:
        return QStringLiteral("Bad Destination");
    case 11019:
        return QStringLiteral("Address deleted");
    case 11020:
        // Word for word the status name the box's owners know from other
        // tools: short for "specific MTU change".
        return QStringLiteral("Spec MTU change");
    case 11021:
        return QStringLiteral("MTU change");
    case 11050:
        return QStringLiteral("General failure");
    case 11255:
        return QStringLiteral("Pending");
    default:
        return QStringLiteral("ICMP error #") + QString::number(code);
    }
}

QByteArray PingPayload(int size) {
    if (size <= 0)
        return {};
    QByteArray p(size, ' ');
    std::memcpy(p.data(), kPayloadText, std::min<size_t>(size, sizeof(kPayloadText) - 1));
    return p;
}

quint16 IcmpChecksum(const QByteArray& data) {
    quint32 sum = 0;
    const int n = int(data.size());
    for (int i = 0; i + 1 < n; i += 2)
        sum += Get16(data, i);
    if (n % 2)
        sum += quint32(quint8(data[n - 1])) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray BuildEchoRequest(quint16 id, quint16 seq, const QByteArray& payload) {
    QByteArray p(8, '\0');
    p[0] = char(ICMP_ECHO);
    p[4] = char(id >> 8);
    p[5] = char(id & 0xFF);
    p[6] = char(seq >> 8);
    p[7] = char(seq & 0xFF);
    p += payload;
    const quint16 sum = IcmpChecksum(p);
    p[2] = char(sum >> 8);
    p[3] = char(sum & 0xFF);
    return p;
}

quint32 IcmpErrorStatus(int type, int code) {
    switch (type) {
    case ICMP_DEST_UNREACH:
        switch (code) {
        case ICMP_NET_UNREACH:
        case ICMP_NET_UNKNOWN:
        case ICMP_NET_ANO:
        case ICMP_NET_UNR_TOS:
            return IcmpDestNetUnreachable;
        case ICMP_PROT_UNREACH:
            return IcmpDestProtUnreachable;
        case ICMP_PORT_UNREACH:
            return IcmpDestPortUnreachable;
        case ICMP_FRAG_NEEDED:
            return IcmpPacketTooBig;
        case ICMP_SR_FAILED:
            return IcmpBadRoute;
        default:
            return IcmpDestHostUnreachable;
        }
    case ICMP_TIME_EXCEEDED:
        return code == ICMP_EXC_FRAGTIME ? IcmpTtlExpiredReassem : IcmpTtlExpiredTransit;
    case ICMP_PARAMETERPROB:
        return IcmpParamProblem;
    case ICMP_SOURCE_QUENCH:
        return IcmpSourceQuench;
    default:
        return IcmpGeneralFailure;
    }
}

TEchoAnswer ParseEchoAnswer(const QByteArray& packet, bool withIpHeader, quint16 id, quint16 seq,
                            bool checkId) {
    TEchoAnswer a;
    int at = 0;
    if (withIpHeader) {
        if (packet.size() < 20)
            return a;
        at = (quint8(packet[0]) & 0x0F) * 4;
    }
    if (packet.size() < at + 8)
        return a;
    const int type = quint8(packet[at]);
    const int code = quint8(packet[at + 1]);
    if (type == ICMP_ECHOREPLY) {
        if ((checkId && Get16(packet, at + 4) != id) || Get16(packet, at + 6) != seq)
            return a;
        a.What = TEchoAnswer::Reply;
        a.DataSize = int(packet.size()) - at - 8;
        return a;
    }
    if (type != ICMP_DEST_UNREACH && type != ICMP_TIME_EXCEEDED && type != ICMP_PARAMETERPROB &&
        type != ICMP_SOURCE_QUENCH)
        return a;
    // An error quotes the IP header and the first 8 bytes of our request.
    const int inner = at + 8;
    if (packet.size() < inner + 20)
        return a;
    const int innerIcmp = inner + (quint8(packet[inner]) & 0x0F) * 4;
    if (packet.size() < innerIcmp + 8 || quint8(packet[inner + 9]) != IPPROTO_ICMP ||
        quint8(packet[innerIcmp]) != ICMP_ECHO)
        return a;
    if ((checkId && Get16(packet, innerIcmp + 4) != id) || Get16(packet, innerIcmp + 6) != seq)
        return a;
    a.What = TEchoAnswer::Error;
    a.Status = IcmpErrorStatus(type, code);
    return a;
}

TIcmpSocketBackend::TIcmpSocketBackend(TMode mode) : id_(quint16(::getpid() & 0xFFFF)) {
    if (mode != TMode::RawOnly) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        datagram_ = fd_ >= 0;
    }
    if (fd_ < 0 && mode != TMode::DatagramOnly)
        fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd_ < 0)
        throw std::runtime_error("Unable to get ping handle");
    if (datagram_) {
        // Errors about our requests arrive on the error queue.
        int on = 1;
        ::setsockopt(fd_, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
    }
}

TIcmpSocketBackend::~TIcmpSocketBackend() {
    if (fd_ >= 0)
        ::close(fd_);
}

TEchoResult TIcmpSocketBackend::Echo(quint32 address, const QByteArray& payload, int ttl, int timeoutMs) {
    TEchoResult r;
    const quint16 seq = ++seq_;
    int value = ttl;
    ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &value, sizeof value);
    value = 0;
    ::setsockopt(fd_, IPPROTO_IP, IP_TOS, &value, sizeof value);
    value = IP_PMTUDISC_DONT; // fragmenting allowed
    ::setsockopt(fd_, IPPROTO_IP, IP_MTU_DISCOVER, &value, sizeof value);

    // Drop whatever an earlier echo left unread.
    char scratch[2048];
    while (::recv(fd_, scratch, sizeof scratch, MSG_DONTWAIT) > 0) {
    }
    while (::recv(fd_, scratch, sizeof scratch, MSG_DONTWAIT | MSG_ERRQUEUE) > 0) {
    }

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(address);
    const QByteArray packet = BuildEchoRequest(id_, seq, payload);
    QElapsedTimer clock;
    clock.start();
    if (::sendto(fd_, packet.constData(), size_t(packet.size()), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to) < 0) {
        r.Status = SendErrorStatus(errno);
        return r;
    }
    for (;;) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0) {
            r.Status = IcmpReqTimedOut;
            return r;
        }
        pollfd p{fd_, POLLIN, 0};
        const int n = ::poll(&p, 1, int(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            continue; // the time check above ends the wait
        if (p.revents & POLLERR) {
            // Datagram sockets: an ICMP error about our request.
            char control[512];
            char buf[256];
            iovec iov{buf, sizeof buf};
            msghdr msg{};
            msg.msg_iov = &iov;
            msg.msg_iovlen = 1;
            msg.msg_control = control;
            msg.msg_controllen = sizeof control;
            if (::recvmsg(fd_, &msg, MSG_ERRQUEUE | MSG_DONTWAIT) >= 0) {
                for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
                    if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
                        continue;
                    sock_extended_err err;
                    std::memcpy(&err, CMSG_DATA(c), sizeof err);
                    r.Status = err.ee_origin == SO_EE_ORIGIN_ICMP ? IcmpErrorStatus(err.ee_type, err.ee_code)
                                                                  : SendErrorStatus(int(err.ee_errno));
                    return r;
                }
            }
            continue;
        }
        QByteArray in(2048, '\0');
        const ssize_t got = ::recv(fd_, in.data(), size_t(in.size()), MSG_DONTWAIT);
        if (got <= 0)
            continue;
        in.truncate(got);
        const TEchoAnswer a = ParseEchoAnswer(in, !datagram_, id_, seq, !datagram_);
        if (a.What == TEchoAnswer::Reply) {
            r.Replies = 1;
            r.RoundTripMs = quint32(clock.elapsed());
            r.DataSize = a.DataSize;
            return r;
        }
        if (a.What == TEchoAnswer::Error) {
            r.Status = a.Status;
            return r;
        }
    }
}

TEchoBackendFactory DefaultEchoBackendFactory() {
    return [] { return std::unique_ptr<TEchoBackend>(new TIcmpSocketBackend()); };
}

bool ParseDottedIPv4(const QString& text, quint32& address, QString& normalised) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 a = 0;
    QStringList out;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        const int v = part.toInt();
        if (v > 255)
            return false;
        a = (a << 8) | quint32(v);
        out << QString::number(v);
    }
    address = a;
    normalised = out.join(QLatin1Char('.'));
    return true;
}

TPing::TPing(const TEchoBackendFactory& factory, QObject* parent) : QObject(parent) {
    try {
        backend_ = factory();
    } catch (const std::exception& e) {
        handleError_ = QString::fromUtf8(e.what());
    }
    if (!backend_ && handleError_.isEmpty())
        handleError_ = QStringLiteral("Unable to get ping handle");
}

TPing::~TPing() {
    if (lookupId_ >= 0)
        QHostInfo::abortHostLookup(lookupId_);
    // An echo still on its way ends within Timeout; its result is dropped
    // with the events posted to this object.
    if (worker_.joinable())
        worker_.join();
}

void TPing::DnsLookup(const QString& host) {
    if (lookupId_ >= 0) {
        QHostInfo::abortHostLookup(lookupId_);
        lookupId_ = -1;
    }
    quint32 address = 0;
    if (ParseDottedIPv4(host, address, dnsResult_)) {
        emit DnsLookupDone(0);
        return;
    }
    dnsResult_.clear();
    lookupId_ = QHostInfo::lookupHost(host, this, &TPing::OnLookup);
}

void TPing::OnLookup(const QHostInfo& info) {
    if (info.lookupId() != lookupId_)
        return;
    lookupId_ = -1;
    if (info.error() == QHostInfo::NoError) {
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                dnsResult_ = a.toString();
                emit DnsLookupDone(0);
                return;
            }
        }
    }
    const quint16 code =
        info.error() == QHostInfo::NoError ? quint16(QHostInfo::HostNotFound) : quint16(info.error());
    emit DnsLookupDone(code);
}

int TPing::Ping() {
    result_ = TEchoResult();
    quint32 address = 0;
    if (!ParseDottedIPv4(Address, address, hostIp_)) {
        hostIp_ = Address;
        result_.Status = IcmpBadDestination;
    } else if (!backend_) {
        result_.Status = IcmpGeneralFailure;
    } else {
        result_ = backend_->Echo(address, PingPayload(Size), TTL, Timeout);
    }
    emit EchoReply(result_.Replies);
    return result_.Replies;
}

bool TPing::PingInBackground() {
    if (worker_.joinable())
        return false;
    quint32 address = 0;
    QString hostIp;
    if (!backend_ || !ParseDottedIPv4(Address, address, hostIp)) {
        // Nothing to wait for: the answer comes through the loop all the same.
        QMetaObject::invokeMethod(
            this, [this] { Ping(); }, Qt::QueuedConnection);
        return true;
    }
    hostIp_ = hostIp;
    result_ = TEchoResult();
    worker_ = std::thread(
        [this, backend = backend_.get(), address, payload = PingPayload(Size), ttl = TTL, timeout = Timeout] {
            const TEchoResult r = backend->Echo(address, payload, ttl, timeout);
            QMetaObject::invokeMethod(
                this,
                [this, r] {
                    if (worker_.joinable())
                        worker_.join();
                    result_ = r;
                    emit EchoReply(result_.Replies);
                },
                Qt::QueuedConnection);
        });
    return true;
}

} // namespace xantu
