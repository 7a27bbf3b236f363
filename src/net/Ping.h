// ICMP echo ("ping") to the box: the name lookup, one echo request with a
// fixed payload, and the status codes and texts the settings dialog shows.
#pragma once

#include <QByteArray>
#include <QHostInfo>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

namespace xantu {

// Status codes of an echo, with the meanings the settings dialog knows.
enum : quint32 {
    IcmpSuccess = 0,
    IcmpBufTooSmall = 11001,
    IcmpDestNetUnreachable = 11002,
    IcmpDestHostUnreachable = 11003,
    IcmpDestProtUnreachable = 11004,
    IcmpDestPortUnreachable = 11005,
    IcmpNoResources = 11006,
    IcmpBadOption = 11007,
    IcmpHwError = 11008,
    IcmpPacketTooBig = 11009,
    IcmpReqTimedOut = 11010,
    IcmpBadReq = 11011,
    IcmpBadRoute = 11012,
    IcmpTtlExpiredTransit = 11013,
    IcmpTtlExpiredReassem = 11014,
    IcmpParamProblem = 11015,
    IcmpSourceQuench = 11016,
    IcmpOptionTooBig = 11017,
    IcmpBadDestination = 11018,
    IcmpGeneralFailure = 11050,
};

QString IcmpStatusText(quint32 code);

// The 45 characters every echo request carries, then blanks up to `size`;
// a smaller size keeps only the first `size` characters.
QByteArray PingPayload(int size);
// Internet checksum (RFC 1071) over `data`.
quint16 IcmpChecksum(const QByteArray& data);
// Echo request: type 8, code 0, checksum, identifier, sequence, payload.
QByteArray BuildEchoRequest(quint16 id, quint16 seq, const QByteArray& payload);
// Status code of an ICMP error message of that type and code.
quint32 IcmpErrorStatus(int type, int code);

// What one received packet means for the echo with `id` and `seq`.
struct TEchoAnswer {
    enum Kind { Unrelated, Reply, Error } What = Unrelated;
    quint32 Status = IcmpSuccess; // for Error
    int DataSize = 0;             // payload bytes of a Reply
};
// `packet` starts with the IP header when `withIpHeader`, else with the ICMP
// header. `checkId` is false where the system replaces the identifier.
TEchoAnswer ParseEchoAnswer(const QByteArray& packet, bool withIpHeader, quint16 id, quint16 seq,
                            bool checkId);

struct TEchoResult {
    int Replies = 0; // 0: no reply, Status says why
    quint32 Status = IcmpSuccess;
    quint32 RoundTripMs = 0;
    int DataSize = 0;
};

// Carries out one echo; blocking.
class TEchoBackend {
  public:
    virtual ~TEchoBackend() = default;
    // `address` in host byte order.
    virtual TEchoResult Echo(quint32 address, const QByteArray& payload, int ttl, int timeoutMs) = 0;
};

// The system's ICMP sockets: an unprivileged datagram socket where the
// system allows one, else a raw socket. The constructor throws
// std::runtime_error("Unable to get ping handle") when neither opens.
class TIcmpSocketBackend : public TEchoBackend {
  public:
    enum class TMode { Auto, DatagramOnly, RawOnly };
    explicit TIcmpSocketBackend(TMode mode = TMode::Auto);
    ~TIcmpSocketBackend() override;
    TIcmpSocketBackend(const TIcmpSocketBackend&) = delete;
    TIcmpSocketBackend& operator=(const TIcmpSocketBackend&) = delete;

    bool Datagram() const { return datagram_; }
    TEchoResult Echo(quint32 address, const QByteArray& payload, int ttl, int timeoutMs) override;

  private:
    int fd_ = -1;
    bool datagram_ = false;
    quint16 id_;
    quint16 seq_ = 0;
};

// Makes the backend a ping uses; throws when the system offers none.
using TEchoBackendFactory = std::function<std::unique_ptr<TEchoBackend>()>;
TEchoBackendFactory DefaultEchoBackendFactory();

class TPing : public QObject {
    Q_OBJECT
  public:
    // Opens the echo handle through `factory`. When that fails the ping
    // still exists; HandleError() says why and every echo fails.
    explicit TPing(const TEchoBackendFactory& factory = DefaultEchoBackendFactory(),
                   QObject* parent = nullptr);
    ~TPing() override;

    int Size = 56;
    int Timeout = 4000;
    int TTL = 64;

    // A dotted IPv4 address answers at once, before this returns; a host
    // name is looked up in the background. Starting a lookup cancels one
    // still pending. Ends in DnsLookupDone.
    void DnsLookup(const QString& host);
    QString DnsResult() const { return dnsResult_; }
    bool LookupPending() const { return lookupId_ >= 0; }

    // Target of Ping(): a dotted IPv4 address.
    QString Address;
    // One echo to Address, blocking up to Timeout; emits EchoReply and
    // returns the number of replies.
    int Ping();
    // The same echo on a thread of its own, so the window goes on painting
    // and answering meanwhile; EchoReply arrives through the event loop.
    // One echo at a time: false (and nothing started) while one runs.
    bool PingInBackground();
    bool EchoRunning() const { return worker_.joinable(); }
    QString HostIP() const { return hostIp_; }
    quint32 RoundTrip() const { return result_.RoundTripMs; }
    quint32 ReplyStatus() const { return result_.Status; }
    const QString& HandleError() const { return handleError_; }

  signals:
    // 0 on success, else the lookup's error code.
    void DnsLookupDone(quint16 error);
    // Number of replies received; 0 means the echo failed.
    void EchoReply(int replies);

  private:
    void OnLookup(const QHostInfo& info);

    std::unique_ptr<TEchoBackend> backend_;
    QString handleError_;
    QString dnsResult_;
    QString hostIp_;
    int lookupId_ = -1;
    TEchoResult result_;
    std::thread worker_; // the background echo; joined before its result is taken
};

// "1.2.3.4" in normalised form when `text` is a dotted IPv4 address.
bool ParseDottedIPv4(const QString& text, quint32& address, QString& normalised);

} // namespace xantu
