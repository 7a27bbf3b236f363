#include "net/FtpClient.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace xantu {

namespace {

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
    return code;
}

} // namespace

QByteArray FtpPortArgument(quint32 ipv4, quint16 port) {
    return QByteArray::number((ipv4 >> 24) & 0xFF) + ',' + QByteArray::number((ipv4 >> 16) & 0xFF) + ',' +
           QByteArray::number((ipv4 >> 8) & 0xFF) + ',' + QByteArray::number(ipv4 & 0xFF) + ',' +
           QByteArray::number(port >> 8) + ',' + QByteArray::number(port & 0xFF);
}

TFtpClient::TFtpClient(QObject* parent)
    : QObject(parent), control_(new QTcpSocket(this)), listener_(new QTcpServer(this)),
      wake_(new QTimer(this)) {
    wake_->setSingleShot(true);
    connect(control_, &QTcpSocket::connected, this, &TFtpClient::OnConnected);
    connect(control_, &QTcpSocket::readyRead, this, &TFtpClient::OnControlRead);
    connect(control_, &QTcpSocket::disconnected, this, &TFtpClient::OnControlClosed);
    connect(control_, &QTcpSocket::errorOccurred, this, &TFtpClient::OnControlError);
    connect(listener_, &QTcpServer::newConnection, this, &TFtpClient::OnDataConnection);
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

    clock_.start();
    PushDeadline();
    step_ = Step::Connect;
    control_->connectToHost(request.Host, request.Port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);

    while (step_ != Step::Ready) {
        const qint64 left = deadline_ - clock_.elapsed();
        if (abortRequested_ || left < 0 || QCoreApplication::closingDown()) {
            Abort();
            break;
        }
        wake_->start(int(left) + 1);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QThread::yieldCurrentThread();
    }
    wake_->stop();
    abortRequested_ = false;
    outData_ = nullptr;
    inData_ = nullptr;
    return !failed_;
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
    sent_.append(QString::fromUtf8(line));
    control_->write(line + "\r\n");
}

void TFtpClient::CloseData() {
    listener_->close();
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

void TFtpClient::OnControlRead() {
    lineBuf_ += control_->readAll();
    for (;;) {
        const qsizetype nl = lineBuf_.indexOf('\n');
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
            Send("CWD " + request_.Dir.toUtf8());
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
            Send("USER " + request_.User.toUtf8());
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
                Send("PASS " + request_.Pass.toUtf8());
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
        Send((receive_ ? "RETR " : "STOR ") + request_.File.toUtf8());
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

void TFtpClient::OnDataConnection() {
    while (QTcpSocket* s = listener_->nextPendingConnection()) {
        // Only the box itself may deliver or take the file.
        const bool fromBox = s->peerAddress().toIPv4Address() == peer_.toIPv4Address();
        // Some boxes connect as soon as they have the PORT command.
        const bool expected = step_ == Step::Port || step_ == Step::Transfer;
        if (data_ || !fromBox || !expected) {
            s->abort();
            s->deleteLater();
            continue;
        }
        data_ = s;
        dataAccepted_ = true;
        listener_->close();
        connect(s, &QTcpSocket::readyRead, this, &TFtpClient::OnDataRead);
        connect(s, &QTcpSocket::disconnected, this, &TFtpClient::OnDataClosed);
        connect(s, &QTcpSocket::bytesWritten, this, &TFtpClient::OnDataWritten);
        connect(s, &QTcpSocket::errorOccurred, this, [this, s] {
            if (s == data_ && s->error() != QAbstractSocket::RemoteHostClosedError)
                Fail(s->errorString());
        });
        if (receive_)
            OnDataRead();
        else if (preliminary_)
            StartUpload();
    }
}

void TFtpClient::OnDataRead() {
    if (!data_ || !inData_)
        return;
    const QByteArray block = data_->readAll();
    if (!block.isEmpty()) {
        inData_->append(block);
        PushDeadline();
    }
}

void TFtpClient::OnDataClosed() {
    if (!data_ || (step_ != Step::Transfer && step_ != Step::Port))
        return;
    if (receive_) {
        OnDataRead();
    } else if (!uploadStarted_ || written_ < outData_->size()) {
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
