// The data connection of a transfer: the listener the box connects to in
// active mode, the connection the client makes itself in passive mode, and
// reading the download or writing the upload on it.
#include "net/FtpClient.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace xantu {

namespace {

// Hands every accepted connection over as a bare descriptor, so that the
// client can choose how to read it.
class TDataListener : public QTcpServer {
  public:
    using QTcpServer::QTcpServer;
    std::function<void(qintptr)> OnIncoming;

  protected:
    void incomingConnection(qintptr descriptor) override {
        if (OnIncoming)
            OnIncoming(descriptor);
        else
            ::close(int(descriptor));
    }
};

// The IPv4 address of the peer of a connected descriptor, 0 if none.
quint32 PeerIPv4(qintptr descriptor) {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return 0;
    return QHostAddress(reinterpret_cast<const sockaddr*>(&addr)).toIPv4Address();
}

} // namespace

QTcpServer* TFtpClient::MakeListener() {
    auto* l = new TDataListener(this);
    l->OnIncoming = [this](qintptr d) { OnDataConnection(d); };
    return l;
}

void TFtpClient::CloseData() {
    listener_->close();
    if (connectNotifier_) {
        connectNotifier_->setEnabled(false);
        connectNotifier_->deleteLater();
        connectNotifier_ = nullptr;
    }
    if (connecting_ >= 0) {
        ::close(connecting_);
        connecting_ = -1;
    }
    if (rawNotifier_) {
        rawNotifier_->setEnabled(false);
        rawNotifier_->deleteLater();
        rawNotifier_ = nullptr;
    }
    if (rawData_ >= 0) {
        ::close(int(rawData_));
        rawData_ = -1;
    }
    if (data_) {
        QTcpSocket* s = data_;
        data_ = nullptr;
        s->disconnect(this);
        s->abort();
        s->deleteLater();
    }
}

void TFtpClient::ConnectPassive(quint16 port) {
    // Whatever address the reply names, the data goes only to the box this
    // client is logged in to: another address would send the list to a
    // third machine, or let the box aim this client at one.
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(peer_.toIPv4Address());
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        Fail(QStringLiteral("data connection failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
        SendTransferCommand();
        AdoptData(fd);
        return;
    }
    if (errno != EINPROGRESS) {
        const int err = errno;
        ::close(fd);
        Fail(QStringLiteral("data connection failed: %1").arg(QString::fromLocal8Bit(std::strerror(err))));
        return;
    }
    // The deadline of the operation bounds the wait: a port that never
    // answers ends in the time-out like a silent box.
    connecting_ = fd;
    connectNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(connectNotifier_, &QSocketNotifier::activated, this, &TFtpClient::OnPassiveConnected);
}

void TFtpClient::OnPassiveConnected() {
    if (connecting_ < 0)
        return;
    const int fd = connecting_;
    connecting_ = -1;
    connectNotifier_->setEnabled(false);
    connectNotifier_->deleteLater();
    connectNotifier_ = nullptr;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        err = errno;
    if (err != 0 || step_ != Step::DataConnect) {
        ::close(fd);
        if (err != 0)
            Fail(
                QStringLiteral("data connection failed: %1").arg(QString::fromLocal8Bit(std::strerror(err))));
        return;
    }
    SendTransferCommand();
    AdoptData(fd);
}

void TFtpClient::OnDataConnection(qintptr descriptor) {
    // Only the box itself may deliver or take the file.
    const quint32 from = PeerIPv4(descriptor);
    const bool fromBox = from == peer_.toIPv4Address();
    // Some boxes connect as soon as they have the PORT command.
    const bool expected = step_ == Step::Port || step_ == Step::Transfer;
    if (from == 0 && expected && !data_ && rawData_ < 0) {
        // Reset before it was taken: whatever it carried is lost.
        ::close(int(descriptor));
        Fail(QStringLiteral("data connection failed: reset before use"));
        return;
    }
    if (data_ || rawData_ >= 0 || !fromBox || !expected) {
        ::close(int(descriptor));
        return;
    }
    AdoptData(descriptor);
}

void TFtpClient::AdoptData(qintptr descriptor) {
    dataAccepted_ = true;
    listener_->close();
    if (receive_) {
        ::fcntl(int(descriptor), F_SETFL, ::fcntl(int(descriptor), F_GETFL) | O_NONBLOCK);
        rawData_ = descriptor;
        rawNotifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(rawNotifier_, &QSocketNotifier::activated, this, &TFtpClient::OnRawReadable);
        OnRawReadable();
        return;
    }
    auto* s = new QTcpSocket(this);
    if (!s->setSocketDescriptor(descriptor)) {
        ::close(int(descriptor));
        delete s;
        Fail(QStringLiteral("data connection unusable"));
        return;
    }
    data_ = s;
    connect(s, &QTcpSocket::disconnected, this, &TFtpClient::OnDataClosed);
    connect(s, &QTcpSocket::bytesWritten, this, &TFtpClient::OnDataWritten);
    connect(s, &QTcpSocket::errorOccurred, this, [this, s] {
        if (s == data_ && s->error() != QAbstractSocket::RemoteHostClosedError)
            Fail(s->errorString());
    });
    if (preliminary_)
        StartUpload();
}

void TFtpClient::OnRawReadable() {
    if (rawData_ < 0 || !inData_)
        return;
    // A bounded number of reads per pass keeps the window responsive while
    // a fast box sends. Each read goes straight to the end of the file, and
    // asks for at most one byte beyond the size limit.
    constexpr qint64 kChunk = 1 << 20;
    for (int pass = 0; pass < 8; ++pass) {
        const qsizetype at = inData_->size();
        const qint64 room = std::min(kChunk, MaxFileBytes - at + 1);
        inData_->resize(at + qsizetype(room));
        const ssize_t n = ::recv(int(rawData_), inData_->data() + at, std::size_t(room), 0);
        const int err = errno;
        inData_->resize(at + (n > 0 ? qsizetype(n) : 0));
        if (n > 0) {
            if (inData_->size() > MaxFileBytes) {
                // Nothing of it is of use; the memory goes back at once.
                *inData_ = QByteArray();
                Fail(QStringLiteral("file larger than %1 bytes").arg(MaxFileBytes));
                return;
            }
            PushDeadline();
            continue;
        }
        if (n == 0) {
            // The box closed the data connection in order: the end of the file.
            const bool inTransfer = step_ == Step::Transfer || step_ == Step::Port;
            CloseData();
            if (!inTransfer)
                return;
            dataClosed_ = true;
            CheckTransferDone();
            return;
        }
        if (err == EINTR)
            continue;
        if (err == EAGAIN || err == EWOULDBLOCK)
            return;
        // A reset or any other error: what arrived is not the whole file.
        Fail(QStringLiteral("data connection failed: %1").arg(QString::fromLocal8Bit(std::strerror(err))));
        return;
    }
}

void TFtpClient::OnDataClosed() {
    if (!data_ || (step_ != Step::Transfer && step_ != Step::Port))
        return;
    if (!uploadStarted_ || written_ < outData_->size()) {
        Fail(QStringLiteral("data connection closed before the file was sent"));
        return;
    }
    dataClosed_ = true;
    CheckTransferDone();
}

void TFtpClient::StartUpload() {
    if (uploadStarted_ || !data_)
        return;
    uploadStarted_ = true;
    if (outData_->isEmpty()) {
        data_->disconnectFromHost();
        return;
    }
    data_->write(*outData_);
}

void TFtpClient::OnDataWritten(qint64 bytes) {
    if (!data_ || step_ != Step::Transfer)
        return;
    written_ += bytes;
    PushDeadline();
    if (written_ >= outData_->size())
        data_->disconnectFromHost();
}

void TFtpClient::CheckTransferDone() {
    if (step_ != Step::Transfer || !preliminary_ || !finalReply_ || !dataClosed_)
        return;
    CloseData();
    SendQuit();
}

} // namespace xantu
