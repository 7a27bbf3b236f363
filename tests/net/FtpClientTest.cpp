// The FTP client against a scripted box on loopback: the exact exchange,
// each way a box refuses, replies in odd shapes, and the time-out.
#include "net/FtpClient.h"
#include "FakeBox.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

using Lines = std::vector<std::string>;

// Every byte value, line ends of all kinds: type I must pass them unchanged.
QByteArray BinaryFile(int size = 5000) {
    QByteArray b;
    for (int i = 0; i < size; ++i)
        b.append(char((i * 7 + i / 256) & 0xFF));
    b.append("\r\n\n\r\0end", 8);
    return b;
}

TFtpRequest Request(const TFakeBox& box, const QString& file,
                    const QString& dir = "/var/pelmar/config/xantu") {
    TFtpRequest r;
    r.Host = "127.0.0.1";
    r.Port = box.Port();
    r.User = "root";
    r.Pass = "qvex5";
    r.Dir = dir;
    r.File = file;
    return r;
}

// The PORT line names loopback and the port the client listens on.
void ExpectLoopbackPort(const std::string& line) {
    static const QRegularExpression re("^PORT 127,0,0,1,(\\d+),(\\d+)$");
    auto m = re.match(QString::fromStdString(line));
    ASSERT_TRUE(m.hasMatch()) << line;
    const int port = m.captured(1).toInt() * 256 + m.captured(2).toInt();
    EXPECT_GT(port, 0);
    EXPECT_LT(m.captured(1).toInt(), 256);
    EXPECT_LT(m.captured(2).toInt(), 256);
}

// Commands with the PORT line checked and replaced by "PORT".
Lines Normalised(const Lines& commands) {
    Lines out;
    for (const std::string& c : commands) {
        if (c.rfind("PORT ", 0) == 0) {
            ExpectLoopbackPort(c);
            out.push_back("PORT");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

TEST(FtpClient, ReceiveRunsTheWholeExchangeAndKeepsEveryByte) {
    TFakeBox box;
    const QByteArray file = BinaryFile();
    box.Put("/var/pelmar/config/xantu/services.xml", file);
    TFtpClient client;
    QByteArray got;
    ASSERT_TRUE(client.Receive(Request(box, "services.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_EQ(got, file);
    EXPECT_EQ(Normalised(box.Commands()), (Lines{"USER root", "PASS qvex5", "CWD /var/pelmar/config/xantu",
                                                 "TYPE I", "PORT", "RETR services.xml", "QUIT"}));
    EXPECT_EQ(client.SentCommands().size(), 7);
    EXPECT_FALSE(client.Busy());
}

TEST(FtpClient, TransmitStoresTheStreamUnchanged) {
    TFakeBox box;
    const QByteArray file = BinaryFile(70000);
    TFtpClient client;
    ASSERT_TRUE(client.Transmit(Request(box, "bouquets.xml"), file)) << client.ErrorText().toStdString();
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/bouquets.xml"), file);
    EXPECT_EQ(Normalised(box.Commands()), (Lines{"USER root", "PASS qvex5", "CWD /var/pelmar/config/xantu",
                                                 "TYPE I", "PORT", "STOR bouquets.xml", "QUIT"}));
}

TEST(FtpClient, BoxThatConnectsOnPortWorksBothWays) {
    TFakeBox box({.ConnectAtPort = true});
    const QByteArray file = BinaryFile(20000);
    TFtpClient client;
    ASSERT_TRUE(client.Transmit(Request(box, "bouquets.xml"), file)) << client.ErrorText().toStdString();
    QByteArray got;
    ASSERT_TRUE(client.Receive(Request(box, "bouquets.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_EQ(got, file);
}

TEST(FtpClient, LoginVariants) {
    {
        SCOPED_TRACE("230 at USER: no PASS; empty directory: no CWD");
        TFakeBox box({.UserReply = 230});
        box.Put("services.xml", "abc");
        TFtpClient client;
        QByteArray got;
        ASSERT_TRUE(client.Receive(Request(box, "services.xml", ""), got));
        EXPECT_EQ(got, "abc");
        EXPECT_EQ(Normalised(box.Commands()),
                  (Lines{"USER root", "TYPE I", "PORT", "RETR services.xml", "QUIT"}));
    }
    {
        SCOPED_TRACE("331 with an empty password: no PASS, only QUIT");
        TFakeBox box;
        TFtpClient client;
        TFtpRequest r = Request(box, "services.xml");
        r.Pass.clear();
        QByteArray got;
        EXPECT_FALSE(client.Receive(r, got));
        EXPECT_EQ(box.Commands(), (Lines{"USER root", "QUIT"}));
    }
    {
        SCOPED_TRACE("empty user name: nothing but QUIT");
        TFakeBox box;
        TFtpClient client;
        TFtpRequest r = Request(box, "services.xml");
        r.User.clear();
        QByteArray got;
        EXPECT_FALSE(client.Receive(r, got));
        EXPECT_EQ(box.Commands(), (Lines{"QUIT"}));
    }
    {
        SCOPED_TRACE("wrong password");
        TFakeBox box;
        TFtpClient client;
        TFtpRequest r = Request(box, "services.xml");
        r.Pass = "nope";
        QByteArray got;
        EXPECT_FALSE(client.Receive(r, got));
        EXPECT_EQ(box.Commands(), (Lines{"USER root", "PASS nope", "QUIT"}));
        EXPECT_EQ(client.Status(), 530);
    }
    {
        SCOPED_TRACE("a greeting other than 220 ends the connection without a word");
        TFakeBox box({.Greeting = "421 too many users"});
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_TRUE(box.Commands().empty());
        EXPECT_EQ(client.Status(), 421);
    }
}

TEST(FtpClient, RefusalsDropTheRestButStillSayQuit) {
    {
        SCOPED_TRACE("CWD refused");
        TFakeBox box({.RefuseCwd = true});
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_EQ(box.Commands(), (Lines{"USER root", "PASS qvex5", "CWD /var/pelmar/config/xantu", "QUIT"}));
        EXPECT_EQ(client.Status(), 550);
    }
    {
        SCOPED_TRACE("550 on RETR");
        TFakeBox box;
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_EQ(Normalised(box.Commands()).back(), "QUIT");
        EXPECT_EQ(Normalised(box.Commands()).at(5), "RETR services.xml");
        EXPECT_EQ(client.Status(), 550);
    }
    {
        SCOPED_TRACE("550 on STOR");
        TFakeBox box({.RefuseStor = "bouquets.xml"});
        TFtpClient client;
        EXPECT_FALSE(client.Transmit(Request(box, "bouquets.xml"), "data"));
        EXPECT_EQ(Normalised(box.Commands()),
                  (Lines{"USER root", "PASS qvex5", "CWD /var/pelmar/config/xantu", "TYPE I", "PORT",
                         "STOR bouquets.xml", "QUIT"}));
        EXPECT_FALSE(box.Has("/var/pelmar/config/xantu/bouquets.xml"));
    }
    {
        SCOPED_TRACE("QUIT answered with something else than 221");
        TFakeBox box({.QuitReply = 500});
        box.Put("/var/pelmar/config/xantu/services.xml", "x");
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_EQ(box.Commands().back(), "QUIT");
    }
}

TEST(FtpClient, MultiLineAndLfOnlyRepliesAreUnderstood) {
    for (bool lfOnly : {false, true}) {
        SCOPED_TRACE(lfOnly ? "LF only" : "CR LF");
        TFakeBox box({.MultiLine = true, .LfOnly = lfOnly});
        box.Put("/var/pelmar/config/xantu/services.xml", "<zapit/>");
        TFtpClient client;
        QByteArray got;
        ASSERT_TRUE(client.Receive(Request(box, "services.xml"), got)) << client.ErrorText().toStdString();
        EXPECT_EQ(got, "<zapit/>");
        EXPECT_EQ(box.Commands().at(1), "PASS qvex5");
    }
}

TEST(FtpClient, EmptyFileArrivesAsEmptyData) {
    TFakeBox box;
    box.Put("/var/pelmar/config/xantu/services.xml", "");
    TFtpClient client;
    QByteArray got = "stale";
    ASSERT_TRUE(client.Receive(Request(box, "services.xml"), got));
    EXPECT_TRUE(got.isEmpty());
}

TEST(FtpClient, DataConnectionClosedEarlyFails) {
    TFakeBox box({.CloseDataEarly = true});
    box.Put("/var/pelmar/config/xantu/services.xml", BinaryFile());
    TFtpClient client;
    QByteArray got;
    EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
    EXPECT_EQ(client.Status(), 426);
    EXPECT_EQ(box.Commands().back(), "QUIT");
}

TEST(FtpClient, ConnectionRefusedFailsWithoutCommands) {
    TFtpClient client;
    TFtpRequest r;
    r.Host = "127.0.0.1";
    r.Port = ClosedPort();
    r.User = "root";
    r.Pass = "x";
    r.File = "services.xml";
    QByteArray got;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(client.Receive(r, got));
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_TRUE(client.SentCommands().isEmpty());
    EXPECT_FALSE(client.Busy());
}

TEST(FtpClient, LineBreaksInValuesNeverReachTheBox) {
    TFakeBox box;
    TFtpClient client;
    TFtpRequest r = Request(box, "services.xml");
    r.Pass = "x\r\nDELE services.xml";
    QByteArray got;
    EXPECT_FALSE(client.Receive(r, got));
    EXPECT_EQ(box.Connections(), 0);
}

TEST(FtpClient, SilenceBeforeTheDataEndsInTimeout) {
    TFakeBox box({.SilenceMs = 2600});
    box.Put("/var/pelmar/config/xantu/services.xml", "late");
    TFtpClient client;
    QByteArray got;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_LT(t.elapsed(), 2600);
    EXPECT_EQ(client.Status(), 426);
    EXPECT_EQ(client.ErrorText(), "426 Timeout");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(box.Commands().back(), "RETR services.xml"); // aborted, no QUIT
}

TEST(FtpClient, TricklingDataPushesTheDeadline) {
    TFakeBox box({.Blocks = 3, .BlockGapMs = 1100});
    const QByteArray file = BinaryFile(3000);
    box.Put("/var/pelmar/config/xantu/services.xml", file);
    TFtpClient client;
    QByteArray got;
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(client.Receive(Request(box, "services.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_GT(t.elapsed(), 2000); // longer than one time-out in all
    EXPECT_EQ(got, file);
}

TEST(FtpClient, ASecondOperationDuringTheWaitIsRefusedAndTheFirstGoesOn) {
    TFakeBox box({.Blocks = 2, .BlockGapMs = 300});
    const QByteArray file = BinaryFile(4000);
    box.Put("/var/pelmar/config/xantu/services.xml", file);
    TFtpClient client;
    bool secondResult = true;
    bool secondRan = false;
    QTimer::singleShot(150, [&] {
        QByteArray other;
        secondResult = client.Receive(Request(box, "services.xml"), other);
        secondRan = true;
    });
    QByteArray got;
    ASSERT_TRUE(client.Receive(Request(box, "services.xml"), got)) << client.ErrorText().toStdString();
    EXPECT_TRUE(secondRan);
    EXPECT_FALSE(secondResult);
    EXPECT_EQ(got, file);
    EXPECT_EQ(box.Connections(), 1);
}

TEST(FtpClient, RequestedAbortEndsAtOnce) {
    TFakeBox box({.SilenceMs = 1500});
    box.Put("/var/pelmar/config/xantu/services.xml", "x");
    TFtpClient client;
    QTimer::singleShot(200, [&] { client.RequestAbort(); });
    QByteArray got;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(client.Status(), 426);
    EXPECT_FALSE(client.Connected());
}

TEST(FtpClient, PortArgumentSplitsAddressAndPort) {
    EXPECT_EQ(FtpPortArgument(0xC0A80A02u, 0x1234), "192,168,10,2,18,52");
    EXPECT_EQ(FtpPortArgument(0x7F000001u, 65535), "127,0,0,1,255,255");
}

// A download that ends short fails, whatever the box says afterwards: a
// reset data connection, a file over the size limit.
TEST(FtpClient, ShortOrOversizedDownloadsFail) {
    const QByteArray file = BinaryFile(400000);
    {
        SCOPED_TRACE("reset, then 226");
        TFakeBox box({.ResetDataThen226 = true});
        box.Put("/var/pelmar/config/xantu/services.xml", file);
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_TRUE(client.ErrorText().startsWith("data connection failed"))
            << client.ErrorText().toStdString();
        EXPECT_FALSE(client.Busy());
    }
    {
        SCOPED_TRACE("larger than the limit");
        TFakeBox box;
        box.Put("/var/pelmar/config/xantu/services.xml", file);
        TFtpClient client;
        EXPECT_EQ(client.MaxFileBytes, qint64(256) * 1024 * 1024);
        client.MaxFileBytes = file.size() - 1;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_LE(got.size(), client.MaxFileBytes);
        // Exactly at the limit is still a file.
        client.MaxFileBytes = file.size();
        ASSERT_TRUE(client.Receive(Request(box, "services.xml"), got)) << client.ErrorText().toStdString();
        EXPECT_EQ(got, file);
    }
}

// Replies that cannot be read as FTP replies end the operation at once
// instead of being taken for something they are not.
TEST(FtpClient, MalformedRepliesFailTheStep) {
    {
        SCOPED_TRACE("code run into the text");
        TFakeBox box({.UserReplyLine = "2301 logged in"});
        box.Put("services.xml", "x");
        TFtpClient client;
        QByteArray got;
        EXPECT_FALSE(client.Receive(Request(box, "services.xml", ""), got));
        EXPECT_EQ(box.Commands(), (Lines{"USER root", "QUIT"}));
    }
    {
        SCOPED_TRACE("a reply line without end");
        TFakeBox box({.EndlessUserReply = true});
        TFtpClient client;
        QByteArray got;
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
        EXPECT_LT(t.elapsed(), 1500); // not the time-out: the line itself
        EXPECT_TRUE(client.ErrorText().contains("8192")) << client.ErrorText().toStdString();
        EXPECT_FALSE(client.Connected());
    }
}

// The time-out is a timer: it ends a silent exchange also while another
// event loop (a modal dialog's) runs on top of the wait.
TEST(FtpClient, TimeoutFiresInsideANestedEventLoop) {
    TFakeBox box({.SilenceMs = 3500});
    box.Put("/var/pelmar/config/xantu/services.xml", "late");
    TFtpClient client;
    bool busyAfterTimeout = true;
    qint64 nestedEnded = 0;
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(100, [&] {
        QEventLoop modal;
        QTimer::singleShot(2700, &modal, [&] {
            busyAfterTimeout = client.Busy();
            modal.quit();
        });
        modal.exec();
        nestedEnded = t.elapsed();
    });
    QByteArray got;
    EXPECT_FALSE(client.Receive(Request(box, "services.xml"), got));
    EXPECT_FALSE(busyAfterTimeout);
    EXPECT_GE(nestedEnded, 2700);
    EXPECT_EQ(client.Status(), 426);
    EXPECT_FALSE(client.Connected());
}

// User, password and directory travel in Windows-1252, as the box's own
// lists do; a character outside the code page is refused before connecting.
TEST(FtpClient, LoginTextsGoOutInWindows1252) {
    TFakeBox box({.Password = "p\xE4ss\x80"});
    box.Put("/Sch\xF6n/services.xml", "ok");
    TFtpClient client;
    TFtpRequest r = Request(box, "services.xml", QString::fromUtf8("/Sch\xC3\xB6n"));
    r.User = QString::fromUtf8("m\xC3\xBCller");
    r.Pass = QString::fromUtf8("p\xC3\xA4ss\xE2\x82\xAC"); // "päss€"
    QByteArray got;
    ASSERT_TRUE(client.Receive(r, got)) << client.ErrorText().toStdString();
    EXPECT_EQ(got, "ok");
    const Lines cmds = box.Commands();
    EXPECT_EQ(cmds.at(0), "USER m\xFCller");
    EXPECT_EQ(cmds.at(2), "CWD /Sch\xF6n");
    EXPECT_EQ(client.SentCommands().at(1), QString::fromUtf8("PASS p\xC3\xA4ss\xE2\x82\xAC"));

    r.Pass = QString::fromUtf8("\xE2\x98\x83"); // a snowman has no byte there
    EXPECT_FALSE(client.Receive(r, got));
    EXPECT_EQ(box.Connections(), 1);
}
