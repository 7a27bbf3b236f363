// Moving the list pair to and from the box: the two FTP file operations and
// the load and send commands of the main window, free of widgets. The window
// answers the few questions through TBoxUi; messages, status texts and the
// modified flag go through the document's TListHost.
#pragma once

#include "core/ListDocument.h"
#include "net/BoxSettings.h"
#include "net/FtpClient.h"

#include <string>

namespace xantu {

class TBackupStore;

// Fetches one file from the box. Throws EXMLException naming the file
// ("ftp-transfer \"services.xml\" failed") when the transfer fails.
std::string FtpGetFile(TFtpClient& client, const TBoxSettings& box, quint16 port, const QString& dir,
                       const std::string& file);
// Stores one file in BoxBouqDir on the box; true when the box took it.
bool FtpPutFile(TFtpClient& client, const TBoxSettings& box, quint16 port, const std::string& file,
                const std::string& text);

// Fetches both files the box holds now into a backup of kind "box", before a
// send replaces them. Empty: the box has neither file. Stops (NotKept) when
// `*aborted` turns true.
enum class TBoxState { Kept, Empty, NotKept };
TBoxState KeepBoxState(TFtpClient& client, const TBoxSettings& box, quint16 port, TBackupStore& backups,
                       const bool* aborted = nullptr);

// "host" or "host:port"; false when the port is not a number in 1..65535.
bool SplitHostPort(const QString& text, QString& host, quint16& port);

class TBoxUi {
  public:
    virtual ~TBoxUi() = default;
    virtual bool Modified() const = 0;
    // A confirmation box with Yes and No; true only for Yes. UTF-8, "\r" a
    // line break.
    virtual bool Confirm(const std::string& text) = 0;
    // Empties the view before a load (ClearView of the window).
    virtual void ClearView() = 0;
    // A transfer starts (true) or has ended (false). The window disables
    // the commands that must not run meanwhile: the two transfers, open and
    // save.
    virtual void TransferRunning(bool /*running*/) {}
    // Grows with every change to the lists; a send clears the modified state
    // only when it did not grow while the send ran.
    virtual unsigned EditCount() const { return 0; }
    // A load from the box has filled the lists.
    virtual void ListsLoaded() {}
    // Asked once the texts to send are built and before the box is
    // contacted; false ends the send with nothing sent.
    virtual bool ConfirmSend() { return true; }
    // The box took both files of the send.
    virtual void ListsSent() {}
};

class TBoxTransfer {
  public:
    // `backups` may be null: no copies are kept.
    TBoxTransfer(TListDocument& doc, TBoxUi& ui, TBackupStore* backups = nullptr);

    // "Bouquet von der Box laden". False when refused, cancelled or failed.
    bool LoadFromBox(const TBoxSettings& box);
    // "Bouquet zur Box übertragen". True only when the box took both files.
    bool SendToBox(const TBoxSettings& box);

    bool Busy() const { return busy_; }
    // Stops a running transfer (the window is closing); the command then
    // ends without further questions or boxes.
    void Abort();

    TFtpClient& Client() { return client_; }
    // The FTP port of the box. The editor always uses 21; tests point it at
    // a server of their own.
    quint16 Port = 21;

  private:
    void NoteBackupFailure(const QString& error, const std::string& status);
    // Fetches what the box holds into a backup of kind "box". Empty when
    // kept, else the note for the status bar.
    std::string KeepBoxState(const TBoxSettings& box);

    TListDocument& doc_;
    TBoxUi& ui_;
    TBackupStore* backups_;
    TFtpClient client_;
    bool busy_ = false;
    bool aborted_ = false;
};

} // namespace xantu
