#include "FakeBox.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace xantu::test {

namespace {

void Sleep(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

quint16 ClosedPort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const quint16 port = s.serverPort();
    s.close();
    return port;
}

TFakeBox::TFakeBox(TBoxBehaviour behaviour) : b_(std::move(behaviour)) {
    thread_ = std::thread([this] { Serve(); });
    while (port_ == 0)
        Sleep(1);
}

TFakeBox::~TFakeBox() {
    stop_ = true;
    thread_.join();
}

void TFakeBox::Put(const std::string& path, const QByteArray& bytes) {
    std::lock_guard lock(mutex_);
    files_[path] = bytes;
}

QByteArray TFakeBox::Get(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto it = files_.find(path);
    return it == files_.end() ? QByteArray() : it->second;
}

bool TFakeBox::Has(const std::string& path) const {
    std::lock_guard lock(mutex_);
    return files_.count(path) != 0;
}

std::vector<std::string> TFakeBox::PassivePeers() const {
    std::lock_guard lock(mutex_);
    return passivePeers_;
}

std::vector<std::string> TFakeBox::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

void TFakeBox::Serve() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    port_ = server.serverPort();
    while (!stop_) {
        if (!server.waitForNewConnection(50))
            continue;
        QTcpSocket* control = server.nextPendingConnection();
        ++connections_;
        Session(*control);
        control->abort();
        delete control;
    }
}

void TFakeBox::Session(QTcpSocket& control) {
    const QByteArray eol = b_.LfOnly ? "\n" : "\r\n";
    const auto send = [&](const QList<QByteArray>& lines) {
        for (const QByteArray& l : lines)
            control.write(l + eol);
        control.flush();
        control.waitForBytesWritten(1000);
    };
    const auto reply = [&](const QByteArray& line) { send({line}); };
    QElapsedTimer alive;
    alive.start();
    const auto readLine = [&](QByteArray& line) {
        while (!control.canReadLine()) {
            if (stop_ || alive.elapsed() > 8000)
                return false;
            if (!control.waitForReadyRead(50) && control.state() != QAbstractSocket::ConnectedState)
                return false;
        }
        line = control.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        std::lock_guard lock(mutex_);
        commands_.push_back(line.toStdString());
        return true;
    };

    if (b_.MultiLine)
        send({b_.Greeting.left(3) + "-Welcome", "   to the box", b_.Greeting});
    else
        reply(b_.Greeting);
    if (!b_.Greeting.startsWith("220"))
        return;

    std::string dir;
    QHostAddress dataHost;
    quint16 dataPort = 0;
    const auto pathOf = [&](const QByteArray& name) {
        return dir.empty() ? name.toStdString() : dir + "/" + name.toStdString();
    };

    QTcpSocket early;
    QTcpServer passive;
    // Connections that fill the queue of a silent passive port.
    std::vector<int> fillers;
    const auto closeFillers = [&] {
        for (int fd : fillers)
            ::close(fd);
        fillers.clear();
    };
    const auto openPassive = [&]() -> quint16 {
        passive.close();
        closeFillers();
        if (!b_.PasvPortSilent) {
            passive.listen(QHostAddress::LocalHost, 0);
            return passive.serverPort();
        }
        // A backlog of 0 holds one connection; the next attempt is dropped
        // by the kernel without an answer.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 0);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        fillers.push_back(fd);
        for (int i = 0; i < 2; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
            fillers.push_back(c);
        }
        Sleep(50);
        return ntohs(a.sin_port);
    };
    struct TCloseFillers {
        std::function<void()> Fn;
        ~TCloseFillers() { Fn(); }
    } closeAtEnd{closeFillers};
    const auto connectData = [&](QTcpSocket*& data, QTcpSocket& fresh) {
        if (passive.isListening()) {
            if (!passive.hasPendingConnections() && !passive.waitForNewConnection(2000))
                return false;
            data = passive.nextPendingConnection();
            passive.close();
            std::lock_guard lock(mutex_);
            passivePeers_.push_back(data->peerAddress().toString().toStdString());
            return true;
        }
        if (early.state() == QAbstractSocket::ConnectedState) {
            data = &early;
            return true;
        }
        data = &fresh;
        fresh.connectToHost(dataHost, dataPort);
        return fresh.waitForConnected(2000);
    };

    QByteArray line;
    while (readLine(line)) {
        const qsizetype sp = line.indexOf(' ');
        const QByteArray cmd = sp < 0 ? line : line.left(sp);
        const QByteArray arg = sp < 0 ? QByteArray() : line.mid(sp + 1);
        if (cmd == "USER") {
            if (b_.EndlessUserReply) {
                // Until the client gives up and drops the connection.
                const QByteArray chunk(64 * 1024, 'x');
                control.write("331 ");
                QElapsedTimer t;
                t.start();
                while (control.state() == QAbstractSocket::ConnectedState && t.elapsed() < 5000 && !stop_) {
                    control.write(chunk);
                    control.waitForBytesWritten(100);
                }
                return;
            }
            if (!b_.UserReplyLine.isEmpty())
                reply(b_.UserReplyLine);
            else if (b_.UserReply == 230)
                reply("230 logged in");
            else if (b_.MultiLine)
                send({"331-Password required", "331-for " + arg, "331 send PASS"});
            else
                reply("331 password please");
        } else if (cmd == "PASS") {
            reply(arg == b_.Password ? "230 logged in" : "530 login incorrect");
        } else if (cmd == "CWD") {
            if (b_.RefuseCwd) {
                reply("550 no such directory");
            } else {
                dir = arg.toStdString();
                reply("250 directory changed");
            }
        } else if (cmd == "TYPE") {
            reply("200 type set");
        } else if (cmd == "PASV") {
            if (b_.RefusePasv) {
                reply("502 PASV not implemented");
                continue;
            }
            const quint16 port = openPassive();
            if (!b_.PasvReplyLine.isEmpty())
                reply(b_.PasvReplyLine);
            else
                reply("227 Entering Passive Mode (" + b_.PasvAddress + ',' + QByteArray::number(port >> 8) +
                      ',' + QByteArray::number(port & 0xFF) + ").");
        } else if (cmd == "EPSV") {
            if (b_.RefuseEpsv) {
                reply("502 EPSV not implemented");
                continue;
            }
            reply("229 Entering Extended Passive Mode (|||" + QByteArray::number(openPassive()) + "|)");
        } else if (cmd == "PORT") {
            if (b_.RefuseActive) {
                reply("502 active mode refused");
                continue;
            }
            const QList<QByteArray> n = arg.split(',');
            if (n.size() != 6) {
                reply("501 bad PORT");
                continue;
            }
            dataHost = QHostAddress(QString::fromLatin1(n[0] + '.' + n[1] + '.' + n[2] + '.' + n[3]));
            dataPort = quint16(n[4].toInt() * 256 + n[5].toInt());
            if (b_.ConnectAtPort) {
                early.connectToHost(dataHost, dataPort);
                early.waitForConnected(2000);
            }
            reply("200 PORT ok");
        } else if (cmd == "RETR") {
            if (arg == b_.RefuseRetr || !Has(pathOf(arg))) {
                reply(b_.RetrRefusal);
                continue;
            }
            const QByteArray bytes = Get(pathOf(arg));
            reply("150 opening data connection");
            QTcpSocket fresh;
            QTcpSocket* dp = nullptr;
            if (!connectData(dp, fresh)) {
                reply("425 cannot open data connection");
                continue;
            }
            QTcpSocket& data = *dp;
            Sleep(b_.SilenceMs);
            if (b_.CloseDataEarly) {
                data.write(bytes.left(bytes.size() / 2));
                data.waitForBytesWritten(1000);
                data.abort();
                reply("426 connection closed; transfer aborted");
                continue;
            }
            if (b_.ResetDataThen226 || b_.CloseDataThen226) {
                data.write(bytes.left(bytes.size() / 2));
                data.waitForBytesWritten(1000);
                if (b_.ResetDataThen226) {
                    // Linger time 0: closing sends RST instead of FIN.
                    const linger hard{1, 0};
                    ::setsockopt(int(data.socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
                    data.abort();
                } else {
                    data.disconnectFromHost();
                    if (data.state() != QAbstractSocket::UnconnectedState)
                        data.waitForDisconnected(1000);
                }
                reply("226 transfer complete");
                continue;
            }
            const qsizetype step = (bytes.size() + b_.Blocks - 1) / std::max(1, b_.Blocks);
            for (qsizetype at = 0; at < bytes.size(); at += step) {
                if (at > 0)
                    Sleep(b_.BlockGapMs);
                data.write(bytes.mid(at, step));
                data.flush();
                data.waitForBytesWritten(1000);
            }
            data.disconnectFromHost();
            if (data.state() != QAbstractSocket::UnconnectedState)
                data.waitForDisconnected(1000);
            reply("226 transfer complete");
        } else if (cmd == "STOR") {
            if (arg == b_.RefuseStor) {
                reply("550 permission denied");
                continue;
            }
            QTcpSocket fresh;
            QTcpSocket* dp = nullptr;
            if (!connectData(dp, fresh)) {
                reply("425 cannot open data connection");
                continue;
            }
            QTcpSocket& data = *dp;
            Sleep(b_.SilenceMs);
            reply("150 ok to send data");
            QByteArray got;
            QElapsedTimer t;
            t.start();
            while (data.state() == QAbstractSocket::ConnectedState && t.elapsed() < 4000) {
                data.waitForReadyRead(50);
                got += data.readAll();
            }
            got += data.readAll();
            Put(pathOf(arg), got);
            reply("226 transfer complete");
        } else if (cmd == "QUIT") {
            reply(QByteArray::number(b_.QuitReply) + " bye");
            control.disconnectFromHost();
            if (control.state() != QAbstractSocket::UnconnectedState)
                control.waitForDisconnected(500);
            return;
        } else {
            reply("500 unknown command");
        }
    }
}

} // namespace xantu::test
