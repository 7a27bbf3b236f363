#include "net/FtpClient.h"

#include "text/ListText.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
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

// User name, password and directory go out in Windows-1252, the code page
// of the rest of the program. False when the text has a character outside
// it: a stand-in character would log in with a wrong password.
bool ToCp1252(const QString& text, QByteArray& bytes) {
    // The code page's own letters in 0x80..0x9F, found through its decoder.
    static const std::u32string upper = [] {
        std::u32string t;
        for (int b = 0x80; b < 0xA0; ++b) {
            const std::u32string c =
                QString::fromStdString(Cp1252ToUtf8(std::string(1, char(b)))).toStdU32String();
            t.push_back(c.size() == 1 ? c[0] : U'\0');
        }
        return t;
    }();
    QByteArray out;
    for (const char32_t c : text.toStdU32String()) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        const std::size_t at = upper.find(c);
        if (c == 0 || at == std::u32string::npos)
            return false;
        out.append(char(0x80 + at));
    }
    if (Cp1252ToUtf8(out.toStdString()) != text.toStdString())
        return false;
    bytes = out;
    return true;
}

bool HasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

// "123" at the start of a reply line, or -1.
int LeadingCode(const QByteArray& line) {
    if (line.size() < 3)
        return -1;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9')
            return -1;
        code = code * 10 + (c - '0');
    }
    // "2201 ..." or "220x" is not a reply of code 220.
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return -1;
    return code;
}

} // namespace

QByteArray FtpPortArgument(quint32 ipv4, quint16 port) {
    return QByteArray::number((ipv4 >> 24) & 0xFF) + ',' + QByteArray::number((ipv4 >> 16) & 0xFF) + ',' +
           QByteArray::number((ipv4 >> 8) & 0xFF) + ',' + QByteArray::number(ipv4 & 0xFF) + ',' +
           QByteArray::number(port >> 8) + ',' + QByteArray::number(port & 0xFF);
}

TFtpClient::TFtpClient(QObject* parent)
    : QObject(parent), control_(new QTcpSocket(this)), listener_(new TDataListener(this)),
      deadlineTimer_(new QTimer(this)) {
    deadlineTimer_->setSingleShot(true);
    connect(deadlineTimer_, &QTimer::timeout, this, &TFtpClient::OnDeadline);
    // Bounded, so that a box sending an endless line cannot fill the memory
    // between two reads.
    control_->setReadBufferSize(4 * MaxReplyLine);
    connect(control_, &QTcpSocket::connected, this, &TFtpClient::OnConnected);
    connect(control_, &QTcpSocket::readyRead, this, &TFtpClient::OnControlRead);
    connect(control_, &QTcpSocket::disconnected, this, &TFtpClient::OnControlClosed);
    connect(control_, &QTcpSocket::errorOccurred, this, &TFtpClient::OnControlError);
    static_cast<TDataListener*>(listener_)->OnIncoming = [this](qintptr d) { OnDataConnection(d); };
}

TFtpClient::~TFtpClient() {
    Abort();
}

bool TFtpClient::Connected() const {
    return control_->state() == QAbstractSocket::ConnectedState;
}

bool TFtpClient::Receive(const TFtpRequest& request, QByteArray& data) {
    data.clear();
    return Run(request, true, nullptr, &data);
}

bool TFtpClient::Transmit(const TFtpRequest& request, const QByteArray& data) {
    return Run(request, false, &data, nullptr);
}

bool TFtpClient::Run(const TFtpRequest& request, bool receive, const QByteArray* out, QByteArray* in) {
    if (Busy()) {
        // The running operation keeps its state; only this call fails.
        return false;
    }
    request_ = request;
    receive_ = receive;
    outData_ = out;
    inData_ = in;
    sent_.clear();
    failed_ = false;
    done_ = false;
    abortRequested_ = false;
    status_ = 0;
    error_.clear();
    lineBuf_.clear();
    multiCode_ = 0;
    preliminary_ = finalReply_ = dataClosed_ = dataAccepted_ = uploadStarted_ = false;
    written_ = 0;
    control_->abort(); // whatever an earlier operation left open
    CloseData();

    // A line break in any of these would let the value carry commands of
    // its own onto the control connection.
    if (HasLineBreak(request.User) || HasLineBreak(request.Pass) || HasLineBreak(request.Dir) ||
        HasLineBreak(request.File) || request.File.isEmpty()) {
        error_ = QStringLiteral("invalid user, password, directory or file name");
        return false;
    }

    if (!ToCp1252(request.User, user_) || !ToCp1252(request.Pass, pass_) || !ToCp1252(request.Dir, dir_)) {
        error_ = QStringLiteral("user, password or directory outside Windows-1252");
        return false;
    }

    clock_.start();
    PushDeadline();
    step_ = Step::Connect;
    deadlineTimer_->start(TimeoutMs + 1);
    control_->connectToHost(request.Host, request.Port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);

    // The deadline timer ends the operation even while this loop is not the
    // one running (a modal dialog opened meanwhile); the loop then only
    // notices that it is over.
    while (step_ != Step::Ready) {
        if (QCoreApplication::closingDown()) {
            Abort();
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QThread::yieldCurrentThread();
    }
    deadlineTimer_->stop();
    abortRequested_ = false;
    outData_ = nullptr;
    inData_ = nullptr;
    return !failed_;
}

void TFtpClient::RequestAbort() {
    if (!Busy())
        return;
    abortRequested_ = true;
    deadlineTimer_->start(0);
}

void TFtpClient::OnDeadline() {
    if (!Busy())
        return;
    const qint64 left = deadline_ - clock_.elapsed();
    if (abortRequested_ || left < 0 || QCoreApplication::closingDown()) {
        Abort();
        return;
    }
    // Data arrived meanwhile and pushed the deadline.
    deadlineTimer_->start(int(left) + 1);
}

void TFtpClient::Abort() {
    if (Busy()) {
        failed_ = true;
        status_ = 426;
        error_ = QStringLiteral("426 Timeout");
        step_ = Step::Ready;
    }
    control_->abort();
    CloseData();
}

void TFtpClient::PushDeadline() {
    deadline_ = clock_.elapsed() + TimeoutMs;
}

void TFtpClient::Send(const QByteArray& line) {
    sent_.append(QString::fromStdString(Cp1252ToUtf8(line.toStdString())));
    control_->write(line + "\r\n");
}

void TFtpClient::CloseData() {
    listener_->close();
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

void TFtpClient::Fail(const QString& why, int code) {
    if (step_ == Step::Ready || failed_)
        return;
    failed_ = true;
    error_ = why;
    status_ = code;
    CloseData();
    if (step_ != Step::Quit && Connected())
        SendQuit();
    else
        Finish(false);
}

void TFtpClient::Finish(bool ok) {
    if (!ok)
        failed_ = true;
    step_ = Step::Ready;
    CloseData();
    if (Connected())
        control_->disconnectFromHost();
}

void TFtpClient::SendQuit() {
    step_ = Step::Quit;
    Send("QUIT");
}

void TFtpClient::OnConnected() {
    if (step_ != Step::Connect)
        return;
    peer_ = control_->peerAddress();
    step_ = Step::Greeting;
}

void TFtpClient::OnControlError() {
    if (step_ == Step::Ready)
        return;
    if (step_ == Step::Connect) {
        error_ = control_->errorString();
        Finish(false);
        return;
    }
    if (control_->error() != QAbstractSocket::RemoteHostClosedError)
        Fail(control_->errorString());
}

void TFtpClient::OnControlClosed() {
    if (step_ == Step::Ready)
        return;
    if (step_ == Step::Quit && failed_) {
        Finish(false);
        return;
    }
    // Gone before the exchange ended (or before QUIT was answered).
    if (!failed_) {
        failed_ = true;
        error_ = QStringLiteral("control connection closed by the box");
    }
    Finish(false);
}

void TFtpClient::Confused(const QString& why) {
    // The reply boundaries are lost: nothing more the box says can be
    // trusted, so the connection is dropped without QUIT.
    lineBuf_.clear();
    replyText_.clear();
    multiCode_ = 0;
    if (step_ == Step::Ready)
        return;
    if (!failed_) {
        failed_ = true;
        error_ = why;
        status_ = 0;
    }
    control_->abort();
    Finish(false);
}

void TFtpClient::OnControlRead() {
    lineBuf_ += control_->readAll();
    for (;;) {
        const qsizetype nl = lineBuf_.indexOf('\n');
        if (nl < 0 ? lineBuf_.size() > MaxReplyLine : nl > MaxReplyLine) {
            Confused(QStringLiteral("reply line longer than %1 bytes").arg(MaxReplyLine));
            return;
        }
        if (nl < 0)
            break;
        QByteArray line = lineBuf_.left(nl);
        lineBuf_.remove(0, nl + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (step_ == Step::Ready)
            continue;
        const int code = LeadingCode(line);
        if (multiCode_ != 0) {
            if (replyText_.size() > 8 * MaxReplyLine) {
                Confused(QStringLiteral("multi-line reply too long"));
                return;
            }
            replyText_ += '\n' + line;
            if (code == multiCode_ && (line.size() == 3 || line[3] == ' ')) {
                const int done = multiCode_;
                multiCode_ = 0;
                OnReply(done, replyText_);
            }
            continue;
        }
        replyText_ = line;
        if (code >= 0 && line.size() > 3 && line[3] == '-') {
            multiCode_ = code;
            continue;
        }
        OnReply(code < 0 ? 0 : code, replyText_);
    }
}

void TFtpClient::OnReply(int code, const QByteArray& text) {
    if (step_ == Step::Ready)
        return;
    const auto refuse = [&] { Fail(QString::fromUtf8(text), code); };
    const auto afterLogin = [&] {
        if (!request_.Dir.isEmpty()) {
            step_ = Step::Cwd;
            Send("CWD " + dir_);
        } else {
            step_ = Step::Type;
            Send("TYPE I");
        }
    };
    switch (step_) {
    case Step::Greeting:
        if (code != 220) {
            // No QUIT after a refused greeting: the connection is dropped.
            failed_ = true;
            status_ = code;
            error_ = QString::fromUtf8(text);
            control_->abort();
            Finish(false);
        } else if (request_.User.isEmpty()) {
            Fail(QStringLiteral("empty user name"));
        } else {
            step_ = Step::User;
            Send("USER " + user_);
        }
        break;
    case Step::User:
        if (code == 230) {
            afterLogin();
        } else if (code == 331) {
            if (request_.Pass.isEmpty()) {
                Fail(QStringLiteral("password required but empty"), code);
            } else {
                step_ = Step::Pass;
                Send("PASS " + pass_);
            }
        } else {
            refuse();
        }
        break;
    case Step::Pass:
        if (code == 230)
            afterLogin();
        else
            refuse();
        break;
    case Step::Cwd:
        if (code == 200 || code == 250 || code == 257) {
            step_ = Step::Type;
            Send("TYPE I");
        } else {
            refuse();
        }
        break;
    case Step::Type: {
        if (code != 200) {
            refuse();
            break;
        }
        if (!listener_->listen(QHostAddress::AnyIPv4, 0)) {
            Fail(listener_->errorString());
            break;
        }
        const quint32 local = peer_.isLoopback() ? 0x7F000001u : control_->localAddress().toIPv4Address();
        step_ = Step::Port;
        Send("PORT " + FtpPortArgument(local, listener_->serverPort()));
        break;
    }
    case Step::Port:
        if (code != 200) {
            refuse();
            break;
        }
        step_ = Step::Transfer;
        Send((receive_ ? "RETR " : "STOR ") + request_.File.toLatin1());
        break;
    case Step::Transfer:
        if (!preliminary_) {
            if (code != 150 && code != 125) {
                refuse();
                break;
            }
            preliminary_ = true;
            if (!receive_ && data_)
                StartUpload();
            break;
        }
        if (code == 226 || code == 250 || (receive_ && code == 125)) {
            finalReply_ = true;
            CheckTransferDone();
        } else {
            refuse();
        }
        break;
    case Step::Quit:
        if (failed_)
            Finish(false);
        else if (code == 221)
            Finish(true);
        else
            Fail(QString::fromUtf8(text), code);
        break;
    case Step::Ready:
    case Step::Connect:
        break;
    }
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
