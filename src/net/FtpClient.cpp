// The FTP client's control connection: the exchange step by step, the
// replies, the deadline and the blocking wait. The data connections are in
// FtpData.cpp.
#include "net/FtpClient.h"

#include "text/ListText.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace xantu {

TFtpClient::TFtpClient(QObject* parent)
    : QObject(parent), control_(new QTcpSocket(this)), listener_(MakeListener()),
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
    case Step::Type:
        if (code == 200)
            AfterType();
        else
            refuse();
        break;
    case Step::Port:
        if (code == 200)
            SendTransferCommand();
        else
            refuse();
        break;
    case Step::Pasv:
    case Step::Epsv:
        OnPassiveReply(code, text);
        break;
    case Step::DataConnect:
        // The box has nothing to say before the transfer command.
        refuse();
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
void TFtpClient::AfterType() {
    if (request_.Passive) {
        step_ = Step::Pasv;
        Send("PASV");
        return;
    }
    if (!listener_->listen(QHostAddress::AnyIPv4, 0)) {
        Fail(listener_->errorString());
        return;
    }
    const quint32 local = peer_.isLoopback() ? 0x7F000001u : control_->localAddress().toIPv4Address();
    step_ = Step::Port;
    Send("PORT " + FtpPortArgument(local, listener_->serverPort()));
}

void TFtpClient::OnPassiveReply(int code, const QByteArray& text) {
    if (step_ == Step::Pasv && code >= 500 && code <= 599) {
        // Some boxes speak only the extended form.
        step_ = Step::Epsv;
        Send("EPSV");
        return;
    }
    const bool pasv = step_ == Step::Pasv;
    if (code != (pasv ? 227 : 229)) {
        Fail(QString::fromUtf8(text), code);
        return;
    }
    const quint16 port = pasv ? PasvReplyPort(text) : EpsvReplyPort(text);
    if (port == 0) {
        Fail(QStringLiteral("malformed passive reply: ") + QString::fromUtf8(text), code);
        return;
    }
    step_ = Step::DataConnect;
    ConnectPassive(port);
}

void TFtpClient::SendTransferCommand() {
    step_ = Step::Transfer;
    Send((receive_ ? "RETR " : "STOR ") + request_.File.toLatin1());
}

} // namespace xantu
