// A scripted FTP server on 127.0.0.1 standing in for the box. It runs in a
// thread of its own with blocking sockets, so the client under test can run
// its own wait on the main thread. Every knob models one way a box behaves.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QTcpSocket;

namespace xantu::test {

struct TBoxBehaviour {
    QByteArray Greeting = "220 box ready";
    int UserReply = 331; // 331: asks for a password; 230: logged in
    QByteArray Password = "qvex5";
    bool RefuseCwd = false;
    QByteArray RefuseRetr;       // file name answered with 550 on RETR
    QByteArray RefuseStor;       // file name answered with 550 on STOR
    bool MultiLine = false;      // greeting and login replies span lines
    bool LfOnly = false;         // reply lines end in LF alone
    int SilenceMs = 0;           // after 150, before the data starts
    int Blocks = 1;              // a download comes in this many blocks
    int BlockGapMs = 0;          // pause between two blocks
    bool CloseDataEarly = false; // half the file, then 426
    int QuitReply = 221;
    bool ConnectAtPort = false; // open the data connection on PORT, not on RETR/STOR
    // Ways a download can end short: half the file, then the data
    // connection is reset (RST) or closed in order, and "226" all the same.
    bool ResetDataThen226 = false;
    bool CloseDataThen226 = false;
    QByteArray UserReplyLine;      // replaces the reply to USER when set
    bool EndlessUserReply = false; // USER is answered by a line without end
    QByteArray RetrRefusal = "550 no such file";
    // Passive mode. The box listens on a port of its own for each PASV or
    // EPSV and takes the data connection there.
    bool RefuseActive = false;            // PORT is answered with 502
    bool RefusePasv = false;              // PASV is answered with 502
    bool RefuseEpsv = false;              // EPSV is answered with 502
    QByteArray PasvReplyLine;             // replaces the whole 227 reply when set
    QByteArray PasvAddress = "127,0,0,1"; // the address the 227 reply names
    // The port named in the reply takes no connection: its queue is full,
    // so the client's attempt is never answered.
    bool PasvPortSilent = false;
};

class TFakeBox {
  public:
    explicit TFakeBox(TBoxBehaviour behaviour = {});
    ~TFakeBox();
    quint16 Port() const { return port_; }

    // Files by name as the box keeps them ("/dir/name" after a CWD, or the
    // bare name in the login directory).
    void Put(const std::string& path, const QByteArray& bytes);
    QByteArray Get(const std::string& path) const;
    bool Has(const std::string& path) const;

    // Every command line received, in order, over all connections.
    std::vector<std::string> Commands() const;
    int Connections() const { return connections_; }
    // The peer address of every data connection the box took in passive mode.
    std::vector<std::string> PassivePeers() const;

  private:
    void Serve();
    void Session(QTcpSocket& control);

    TBoxBehaviour b_;
    std::atomic<bool> stop_{false};
    std::atomic<quint16> port_{0};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::map<std::string, QByteArray> files_;
    std::vector<std::string> commands_;
    std::vector<std::string> passivePeers_;
    std::thread thread_;
};

// A loopback port nobody listens on.
quint16 ClosedPort();

} // namespace xantu::test
