// Passive data connections against a scripted box on loopback: PASV, EPSV
// where PASV is refused, odd and hostile replies, and a port that never
// answers.
#include "FakeBox.h"
#include "net/FtpClient.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

using Lines = std::vector<std::string>;

const std::string kDir = "/var/pelmar/config/xantu/";

TFtpRequest Passive(const TFakeBox& box, const QString& file) {
    TFtpRequest r;
    r.Host = "127.0.0.1";
    r.Port = box.Port();
    r.User = "root";
    r.Pass = "qvex5";
    r.Dir = "/var/pelmar/config/xantu";
    r.File = file;
    r.Passive = true;
    return r;
}

QByteArray Bytes(int size) {
    QByteArray b;
    for (int i = 0; i < size; ++i)
        b.append(char((i * 13 + i / 251) & 0xFF));
    return b;
}

} // namespace

TEST(FtpPassive, ReplyPortsAreReadOnlyFromWellFormedReplies) {
    EXPECT_EQ(PasvReplyPort("227 Entering Passive Mode (127,0,0,1,195,80)."), 195 * 256 + 80);
    EXPECT_EQ(PasvReplyPort("227 Entering Passive Mode 10,0,0,7,4,1"), 4 * 256 + 1);
    EXPECT_EQ(PasvReplyPort("227 =192,168,1,2,0,21"), 21);
    // The first run of six that reads whole counts, not stray digits before it.
    EXPECT_EQ(PasvReplyPort("227 Mode 2 (192,168,1,2,1,2)"), 258);
    for (const char* bad : {"227 Entering Passive Mode", "227 (127,0,0,1,195)", "227 (127,0,0,1,256,80)",
                            "227 (127,0,0,1,1,1000)", "227 (127,0,0,1,0,0)", "227 (127,0,0,1,,80)",
                            "227 (1270,0,0,1,4,1)", "227", ""})
        EXPECT_EQ(PasvReplyPort(bad), 0) << bad;

    EXPECT_EQ(EpsvReplyPort("229 Entering Extended Passive Mode (|||6446|)"), 6446);
    EXPECT_EQ(EpsvReplyPort("229 ok (!!!65535!)"), 65535);
    for (const char* bad : {"229 (|||65536|)", "229 (||6446|)", "229 (|||6446)", "229 (|||0|)",
                            "229 (1116446|)", "229 (|||64a46|)", "229 (|||6446!)", "229 (|||)", "229"})
        EXPECT_EQ(EpsvReplyPort(bad), 0) << bad;
}

TEST(FtpPassive, BothDirectionsUsePasvAndKeepEveryByte) {
    TBoxBehaviour b;
    b.RefuseActive = true;
    TFakeBox box(b);
    const QByteArray file = Bytes(300000);
    box.Put(kDir + "services.xml", file);
    TFtpClient client;
    QByteArray got;
    ASSERT_TRUE(client.Receive(Passive(box, "services.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_EQ(got, file);
    EXPECT_EQ(box.Commands(), (Lines{"USER root", "PASS qvex5", "CWD /var/pelmar/config/xantu", "TYPE I",
                                     "PASV", "RETR services.xml", "QUIT"}));

    ASSERT_TRUE(client.Transmit(Passive(box, "bouquets.xml"), file)) << client.ErrorText().toStdString();
    EXPECT_EQ(box.Get(kDir + "bouquets.xml"), file);
    // An empty file is an empty data connection.
    ASSERT_TRUE(client.Transmit(Passive(box, "leer.xml"), QByteArray()));
    EXPECT_TRUE(box.Has(kDir + "leer.xml"));
    EXPECT_TRUE(box.Get(kDir + "leer.xml").isEmpty());

    // Active mode is refused by this box and still what the client does
    // unless asked.
    TFtpRequest active = Passive(box, "services.xml");
    active.Passive = false;
    EXPECT_FALSE(client.Receive(active, got));
    EXPECT_EQ(client.Status(), 502);
    EXPECT_EQ(box.Commands().back(), "QUIT");
}

TEST(FtpPassive, EpsvWherePasvIsRefusedAndFailureWhereBothAre) {
    TBoxBehaviour b;
    b.RefuseActive = true;
    b.RefusePasv = true;
    TFakeBox box(b);
    const QByteArray file = Bytes(70000);
    box.Put(kDir + "services.xml", file);
    TFtpClient client;
    QByteArray got;
    ASSERT_TRUE(client.Receive(Passive(box, "services.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_EQ(got, file);
    const Lines all = box.Commands();
    EXPECT_EQ(Lines(all.end() - 4, all.end()), (Lines{"PASV", "EPSV", "RETR services.xml", "QUIT"}));
    ASSERT_TRUE(client.Transmit(Passive(box, "bouquets.xml"), file));
    EXPECT_EQ(box.Get(kDir + "bouquets.xml"), file);

    b.RefuseEpsv = true;
    TFakeBox none(b);
    none.Put(kDir + "services.xml", file);
    EXPECT_FALSE(client.Receive(Passive(none, "services.xml"), got));
    EXPECT_EQ(client.Status(), 502);
    const Lines tried = none.Commands();
    EXPECT_EQ(Lines(tried.end() - 3, tried.end()), (Lines{"PASV", "EPSV", "QUIT"}));
}

TEST(FtpPassive, MalformedOrForeignRepliesSendNothingElsewhere) {
    const QByteArray file = Bytes(5000);
    for (const QByteArray& reply :
         {QByteArray("227 Entering Passive Mode"), QByteArray("227 (127,0,0,1,300,1)"),
          QByteArray("227 (127,0,0,1,0,0)"), QByteArray("200 (127,0,0,1,4,1)")}) {
        TBoxBehaviour b;
        b.PasvReplyLine = reply;
        TFakeBox box(b);
        box.Put(kDir + "services.xml", file);
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Passive(box, "services.xml"), got)) << reply.toStdString();
        EXPECT_EQ(client.Status(), reply.left(3).toInt());
        EXPECT_EQ(box.Commands().back(), "QUIT") << reply.toStdString();
        EXPECT_EQ(box.Commands().size(), 6u) << "no RETR after " << reply.toStdString();
        EXPECT_TRUE(box.PassivePeers().empty());
    }

    // A reply naming another host: the data still goes to the box itself.
    // (Another loopback address, so that a fault sends nothing off this
    // machine; nobody listens there.)
    TBoxBehaviour b;
    b.PasvAddress = "127,9,8,7";
    TFakeBox box(b);
    box.Put(kDir + "services.xml", file);
    TFtpClient client;
    QByteArray got;
    ASSERT_TRUE(client.Receive(Passive(box, "services.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_EQ(got, file);
    ASSERT_TRUE(client.Transmit(Passive(box, "bouquets.xml"), file));
    EXPECT_EQ(box.PassivePeers(), (Lines{"127.0.0.1", "127.0.0.1"}));
}

TEST(FtpPassive, APortThatNeverAnswersEndsInTheTimeout) {
    TBoxBehaviour b;
    b.PasvPortSilent = true;
    TFakeBox box(b);
    box.Put(kDir + "services.xml", Bytes(100));
    TFtpClient client;
    client.TimeoutMs = 700;
    QByteArray got;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(client.Receive(Passive(box, "services.xml"), got));
    EXPECT_EQ(client.Status(), 426);
    EXPECT_EQ(client.ErrorText(), "426 Timeout");
    EXPECT_GE(t.elapsed(), 600);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(client.SentCommands().last(), "PASV");
    EXPECT_FALSE(client.Busy());
    EXPECT_FALSE(client.Connected());
    // The client is usable again at once.
    TFakeBox good;
    good.Put(kDir + "services.xml", Bytes(100));
    EXPECT_TRUE(client.Receive(Passive(good, "services.xml"), got));
}
