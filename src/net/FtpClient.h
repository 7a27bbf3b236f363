// A small FTP client for the box: one control connection per file, type I,
// active data connections (or passive ones where the box cannot be reached
// by a connection of its own), and a blocking wait that keeps the caller's
// event loop running. Only what moving the two list files needs.
#pragma once

#include "net/FtpWire.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;
class QTimer;

namespace xantu {

// Where and as whom one transfer logs in, and which file it moves.
struct TFtpRequest {
    QString Host;
    quint16 Port = 21;
    QString User;
    QString Pass;
    QString Dir; // empty: no CWD, the login directory
    QString File;
    // The client connects to the box for the data (PASV, or EPSV where the
    // box refuses PASV) instead of listening for the box's connection.
    bool Passive = false;
};

class TFtpClient : public QObject {
    Q_OBJECT
  public:
    explicit TFtpClient(QObject* parent = nullptr);
    ~TFtpClient() override;

    // Both block until the exchange has ended, processing the thread's
    // events meanwhile. False on any failure; Status() and ErrorText() say
    // why. A call while another operation runs fails at once.
    bool Receive(const TFtpRequest& request, QByteArray& data);
    bool Transmit(const TFtpRequest& request, const QByteArray& data);

    bool Busy() const { return step_ != Step::Ready; }
    // The control connection is still open (after an operation: the box did
    // not close it).
    bool Connected() const;
    // Closes both connections at once and sends nothing. A running operation
    // ends with the time-out status.
    void Abort();
    // Asks a running operation to stop. It ends at the next pass of the
    // event loop, also when that loop is a modal dialog's.
    void RequestAbort();

    // Reply code that ended the last operation (426 after a time-out or an
    // abort, 0 when the connection itself failed) and a text for logs.
    int Status() const { return status_; }
    QString ErrorText() const { return error_; }

    // Every command line sent during the last operation, without CR LF.
    const QStringList& SentCommands() const { return sent_; }

    // Silence after which an operation is given up. A timer enforces it, so
    // it holds also while a modal dialog runs its own event loop.
    int TimeoutMs = 2000;
    // A received file larger than this fails the operation: real lists are
    // a few MB, and a box must not be able to fill the memory.
    qint64 MaxFileBytes = qint64(256) << 20;
    // A reply line longer than this fails the operation.
    static constexpr qsizetype MaxReplyLine = 8192;

  private:
    enum class Step {
        Ready,
        Connect,
        Greeting,
        User,
        Pass,
        Cwd,
        Type,
        Port,
        Pasv,
        Epsv,
        DataConnect,
        Transfer,
        Quit
    };

    bool Run(const TFtpRequest& request, bool receive, const QByteArray* out, QByteArray* in);
    void Start();
    void Send(const QByteArray& line);
    void Fail(const QString& why, int code = 0);
    void Finish(bool ok);
    void CloseData();
    void OnConnected();
    void OnControlRead();
    void OnControlClosed();
    void OnControlError();
    void OnReply(int code, const QByteArray& text);
    QTcpServer* MakeListener();
    void AfterType();
    void OnPassiveReply(int code, const QByteArray& text);
    void ConnectPassive(quint16 port);
    void OnPassiveConnected();
    void SendTransferCommand();
    // Takes over a data connection made either way.
    void AdoptData(qintptr descriptor);
    void OnDataConnection(qintptr descriptor);
    void OnRawReadable();
    void OnDeadline();
    void Confused(const QString& why);
    void OnDataClosed();
    void OnDataWritten(qint64 bytes);
    void StartUpload();
    void SendQuit();
    void CheckTransferDone();
    void PushDeadline();

    QTcpSocket* control_;
    QTcpServer* listener_;
    QPointer<QTcpSocket> data_; // upload
    // A download reads its data connection itself: only that way is a reset
    // told apart from the end of the file, which Qt reports alike.
    qintptr rawData_ = -1;
    QSocketNotifier* rawNotifier_ = nullptr;
    QTimer* deadlineTimer_;
    // A passive data connection while it is being made.
    int connecting_ = -1;
    QSocketNotifier* connectNotifier_ = nullptr;

    TFtpRequest request_;
    QByteArray user_, pass_, dir_; // as they go out
    bool receive_ = true;
    const QByteArray* outData_ = nullptr;
    QByteArray* inData_ = nullptr;

    Step step_ = Step::Ready;
    bool failed_ = false;
    bool done_ = false;
    bool abortRequested_ = false;
    int status_ = 0;
    QString error_;
    QStringList sent_;
    QHostAddress peer_;

    QByteArray lineBuf_;
    int multiCode_ = 0; // code of a multi-line reply still open
    QByteArray replyText_;

    bool preliminary_ = false;  // 150/125 seen for the transfer
    bool finalReply_ = false;   // the transfer's closing reply arrived
    bool dataClosed_ = false;   // the data connection has ended
    bool dataAccepted_ = false; // the box has connected to the listener
    bool uploadStarted_ = false;
    qint64 written_ = 0;
    qint64 deadline_ = 0;
    QElapsedTimer clock_;
};

} // namespace xantu
