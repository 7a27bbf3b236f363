// Against a real FTP server (pyftpdlib on loopback, a temporary home): load
// from it, edit, send, fetch again and compare bytes; the same through
// xantu-lists fetch and send.
#include "FakeBox.h"
#include "core/FileIO.h"
#include "net/BoxTransfer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace xantu;
using namespace xantu::test;

namespace {

const char* kPython = "/usr/bin/python3";
const std::string kExamples = XANTU_EXAMPLES_DIR;

// pyftpdlib behind a router as far as the client can tell: every active-mode
// command is refused, and with "nopasv" PASV too, so only EPSV is left.
const char* kPassiveOnly = R"(
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
home, port, mode = sys.argv[1], int(sys.argv[2]), sys.argv[3]
class Handler(FTPHandler):
    def ftp_PORT(self, line):
        self.respond("502 Active mode refused.")
    def ftp_EPRT(self, line):
        self.respond("502 Active mode refused.")
    if mode == "nopasv":
        def ftp_PASV(self, line):
            self.respond("502 PASV refused.")
users = DummyAuthorizer()
users.add_user("root", "qvex5", home, perm="elradfmwMT")
Handler.authorizer = users
FTPServer(("127.0.0.1", port), Handler).serve_forever()
)";

class TRealServer {
  public:
    // Mode "" is pyftpdlib as it comes; "passive" and "nopasv" refuse
    // active mode (see kPassiveOnly).
    explicit TRealServer(const QString& mode = {}) {
        if (QProcess::execute(kPython, {"-c", "import pyftpdlib"}) != 0)
            return;
        QDir(home.path()).mkpath("var/pelmar/config/xantu");
        port = ClosedPort();
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (mode.isEmpty())
            process.start(kPython, {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", QString::number(port), "-w",
                                    "-d", home.path(), "-u", "root", "-P", "qvex5"});
        else
            process.start(kPython, {"-c", kPassiveOnly, home.path(), QString::number(port), mode});
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            QTcpSocket probe;
            probe.connectToHost("127.0.0.1", port);
            if (probe.waitForConnected(200) && probe.waitForReadyRead(1000)) {
                ready = true;
                break;
            }
            QThread::msleep(50);
        }
    }
    ~TRealServer() {
        process.kill();
        process.waitForFinished(2000);
    }
    std::string Path(const std::string& name) const {
        return home.path().toStdString() + "/var/pelmar/config/xantu/" + name;
    }
    std::string Read(const std::string& name) const {
        std::string b;
        ReadWholeFile(Path(name), b);
        return b;
    }

    QTemporaryDir home;
    QProcess process;
    quint16 port = 0;
    bool ready = false;
};

class THost : public TListHost, public TBoxUi {
  public:
    void ShowMessage(TMsgKind kind, const std::string& text) override {
        Messages.push_back(std::string(MsgKindCaption(kind)) + ": " + text);
    }
    bool Modified() const override { return false; }
    bool Confirm(const std::string&) override { return true; }
    void ClearView() override {}
    std::vector<std::string> Messages;
};

// Puts an example pair ("sat" or "cable") on the server and hands back its texts.
bool PutExamplePair(TRealServer& server, std::string& services, std::string& bouquets,
                    const std::string& kind = "sat") {
    if (!ReadWholeFile(kExamples + "/" + kind + "/services.xml", services) ||
        !ReadWholeFile(kExamples + "/" + kind + "/bouquets.xml", bouquets))
        return false;
    WriteWholeFile(server.Path("services.xml"), services);
    WriteWholeFile(server.Path("bouquets.xml"), bouquets);
    return true;
}

int Cli(const std::string& args, const std::string& env = "") {
    const std::string cmd = env + " " + XANTU_CLI + " " + args + " >/dev/null 2>&1";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

} // namespace

TEST(EndToEnd, EditorRoundTripAgainstARealServer) {
    TRealServer server;
    if (!server.ready)
        GTEST_SKIP() << "pyftpdlib is not installed";
    std::string services, bouquets;
    ASSERT_TRUE(PutExamplePair(server, services, bouquets));

    THost host;
    TListDocument doc(&host);
    TBoxTransfer transfer(doc, host);
    transfer.Port = server.port;
    TBoxSettings box;
    box.BoxIP = "127.0.0.1";
    ASSERT_TRUE(transfer.LoadFromBox(box));
    EXPECT_EQ(doc.BoxType, BoxSat);

    // Rename the first bouquet and send the lists back.
    bool renamed = false;
    doc.VTB.ForEach([&](PBNode n) {
        TBasicBNode* d = n->Data();
        if (!renamed && d && d->Kind == BKindBouquet && !d->Reserved) {
            d->Bouquet->Name = "Umbenannt";
            renamed = true;
        }
    });
    ASSERT_TRUE(renamed);
    const std::string sentBouquets = doc.SaveBouquets();
    const std::string sentServices = doc.SaveServices();
    ASSERT_TRUE(transfer.SendToBox(box)) << (host.Messages.empty() ? "" : host.Messages.back());
    EXPECT_EQ(server.Read("bouquets.xml"), sentBouquets);
    EXPECT_EQ(server.Read("services.xml"), sentServices);
    EXPECT_NE(sentBouquets.find("Umbenannt"), std::string::npos);

    // Fetch again: the same bytes come back and load to the same texts.
    TListDocument again(&host);
    TBoxTransfer transfer2(again, host);
    transfer2.Port = server.port;
    ASSERT_TRUE(transfer2.LoadFromBox(box));
    EXPECT_EQ(again.SaveBouquets(), sentBouquets);
    EXPECT_EQ(again.SaveServices(), sentServices);
}

TEST(EndToEnd, CommandLineFetchAndSend) {
    TRealServer server;
    if (!server.ready)
        GTEST_SKIP() << "pyftpdlib is not installed";
    std::string services, bouquets;
    ASSERT_TRUE(PutExamplePair(server, services, bouquets, "cable"));
    QTemporaryDir out;
    const std::string env = "XDG_DATA_HOME=" + out.path().toStdString() + "/data";
    const std::string host = "--host 127.0.0.1:" + std::to_string(server.port);
    const std::string fetched = out.path().toStdString() + "/fetched";

    ASSERT_EQ(Cli("fetch " + host + " --satpositions /nonexistent.xml " + fetched), 0);
    std::string got;
    ASSERT_TRUE(ReadWholeFile(fetched + "/services.xml", got));
    EXPECT_EQ(got, services);
    ASSERT_TRUE(ReadWholeFile(fetched + "/bouquets.xml", got));
    EXPECT_EQ(got, bouquets);

    // Send the fetched pair back: the box gets the writers' texts.
    WriteWholeFile(server.Path("bouquets.xml"), "old");
    ASSERT_EQ(Cli("send " + host + " --satpositions /nonexistent.xml " + fetched + "/bouquets.xml", env), 0);
    THost quiet;
    TListDocument doc(&quiet);
    ASSERT_TRUE(doc.LoadListTexts(services, bouquets));
    EXPECT_EQ(server.Read("bouquets.xml"), doc.SaveBouquets());
    EXPECT_EQ(server.Read("services.xml"), doc.SaveServices());
    // The send left a copy of what the box held before and of what it took.
    const QStringList kept =
        QDir(out.path() + "/data/XantuEditor/backups").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(kept.size(), 2);
    EXPECT_TRUE(kept.first().endsWith("-box"));
    EXPECT_TRUE(kept.last().endsWith("-sent"));

    // Wrong password, missing directory, nobody listening: exit 1.
    EXPECT_EQ(Cli("fetch " + host + " --password wrong " + fetched), 1);
    EXPECT_EQ(Cli("fetch " + host + " --dir /nowhere " + fetched), 1);
    EXPECT_EQ(Cli("send --host 127.0.0.1:" + std::to_string(ClosedPort()) +
                      " --satpositions /nonexistent.xml " + fetched + "/bouquets.xml",
                  env),
              1);
    // Usage errors: 2.
    EXPECT_EQ(Cli("fetch " + fetched), 2);
    EXPECT_EQ(Cli("send --host 127.0.0.1:99999 x.xml"), 2);
}

TEST(EndToEnd, PassiveModeReachesAServerThatRefusesActiveMode) {
    for (const char* mode : {"passive", "nopasv"}) {
        TRealServer server(mode);
        if (!server.ready)
            GTEST_SKIP() << "pyftpdlib is not installed";
        std::string services, bouquets;
        ASSERT_TRUE(PutExamplePair(server, services, bouquets));

        THost host;
        TListDocument doc(&host);
        TBoxTransfer transfer(doc, host);
        transfer.Port = server.port;
        TBoxSettings box;
        box.BoxIP = "127.0.0.1";
        // Active mode, as ever unless asked: this server cannot be used.
        EXPECT_FALSE(transfer.LoadFromBox(box)) << mode;
        EXPECT_EQ(transfer.Client().Status(), 502) << mode;

        box.BoxPassive = true;
        ASSERT_TRUE(transfer.LoadFromBox(box)) << mode;
        doc.VTB.GetFirst()->FirstChild()->Data()->Bouquet->Name = "Passiv";
        const std::string sent = doc.SaveBouquets();
        ASSERT_TRUE(transfer.SendToBox(box)) << mode;
        EXPECT_EQ(server.Read("bouquets.xml"), sent);
        EXPECT_EQ(server.Read("services.xml"), doc.SaveServices());

        // The command-line tool the same way.
        QTemporaryDir out;
        const std::string env = "XDG_DATA_HOME=" + out.path().toStdString() + "/data";
        const std::string where =
            "--host 127.0.0.1:" + std::to_string(server.port) + " --satpositions /nonexistent.xml ";
        const std::string fetched = out.path().toStdString() + "/fetched";
        EXPECT_EQ(Cli("fetch " + where + fetched, env), 1) << mode;
        ASSERT_EQ(Cli("fetch --passive " + where + fetched, env), 0) << mode;
        std::string got;
        ASSERT_TRUE(ReadWholeFile(fetched + "/bouquets.xml", got));
        EXPECT_EQ(got, sent);
        WriteWholeFile(server.Path("bouquets.xml"), "old");
        ASSERT_EQ(Cli("send --passive " + where + fetched + "/bouquets.xml", env), 0) << mode;
        EXPECT_EQ(server.Read("bouquets.xml"), sent);
    }
}
