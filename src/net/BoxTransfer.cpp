#include "net/BoxTransfer.h"

#include "core/PairFiles.h"

#include "backups/Backups.h"

#include <exception>

namespace xantu {

namespace {

const char* kAskDiscard = "Am aktuellen Bouquet wurden \xC3\x84nderungen vorgenommen!\r"
                          "Wollen Sie fortfahren und die \xC3\x84nderungen verlieren?";
const char* kBackupFailed = " - Sicherungskopie fehlgeschlagen";
const char* kBoxNotKept = " - Stand der Box nicht gesichert";
const char* kBoxEmpty = " - keine Listen auf der Box";

// Marks a transfer as running for as long as it is in scope.
class TRunning {
  public:
    TRunning(bool& busy, TBoxUi& ui) : busy_(busy), ui_(ui) {
        busy_ = true;
        ui_.TransferRunning(true);
    }
    ~TRunning() {
        busy_ = false;
        ui_.TransferRunning(false);
    }

  private:
    bool& busy_;
    TBoxUi& ui_;
};

TFtpRequest MakeRequest(const TBoxSettings& box, quint16 port, const QString& dir, const std::string& file) {
    TFtpRequest r;
    r.Host = box.BoxIP;
    r.Port = port;
    r.User = box.BoxUser;
    r.Pass = box.BoxPass;
    r.Dir = dir;
    r.File = QString::fromStdString(file);
    return r;
}

} // namespace

std::string FtpGetFile(TFtpClient& client, const TBoxSettings& box, quint16 port, const QString& dir,
                       const std::string& file) {
    QByteArray data;
    const bool ok = client.Receive(MakeRequest(box, port, dir, file), data);
    if (client.Connected())
        client.Abort();
    if (!ok)
        throw EXMLException("ftp-transfer \"" + file + "\" failed");
    return data.toStdString();
}

bool FtpPutFile(TFtpClient& client, const TBoxSettings& box, quint16 port, const std::string& file,
                const std::string& text) {
    return client.Transmit(MakeRequest(box, port, box.BoxBouqDir, file),
                           QByteArray(text.data(), qsizetype(text.size())));
}

TBoxState KeepBoxState(TFtpClient& client, const TBoxSettings& box, quint16 port, TBackupStore& backups,
                       const bool* aborted) {
    TBackupStore::TFiles held;
    bool missing = false;
    for (const char* file : {"bouquets.xml", "services.xml"}) {
        if (aborted && *aborted)
            return TBoxState::NotKept;
        try {
            held.emplace_back(QString::fromLatin1(file), FtpGetFile(client, box, port, box.BoxBouqDir, file));
        } catch (const std::exception&) {
            // 550: the box has no such file; anything else leaves unknown
            // what the box holds.
            if (client.Status() != 550)
                return TBoxState::NotKept;
            missing = true;
        }
    }
    if (held.empty() && missing)
        return TBoxState::Empty;
    return backups.Keep(TBackupStore::Box, held) ? TBoxState::Kept : TBoxState::NotKept;
}

bool SplitHostPort(const QString& text, QString& host, quint16& port) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0) {
        host = text;
        return !host.isEmpty();
    }
    bool ok = false;
    const uint p = text.mid(colon + 1).toUInt(&ok);
    if (!ok || p == 0 || p > 65535)
        return false;
    host = text.left(colon);
    port = quint16(p);
    return !host.isEmpty();
}

TBoxTransfer::TBoxTransfer(TListDocument& doc, TBoxUi& ui, TBackupStore* backups)
    : doc_(doc), ui_(ui), backups_(backups) {}

void TBoxTransfer::Abort() {
    if (!busy_)
        return;
    aborted_ = true;
    client_.RequestAbort();
}

void TBoxTransfer::NoteBackupFailure(const QString& error, const std::string& status) {
    (void)error; // the status bar has no room for the reason
    doc_.Host().SetStatus(status + kBackupFailed);
}

bool TBoxTransfer::LoadFromBox(const TBoxSettings& box) {
    // The wait inside a transfer keeps the window responsive; a second
    // command arriving through it must not start on top of this one.
    if (busy_)
        return false;
    if (ui_.Modified() && !ui_.Confirm(kAskDiscard))
        return false;
    TListHost& host = doc_.Host();
    TRunning running(busy_, ui_);
    aborted_ = false;
    host.SetSatPosListVisible(false);
    ui_.ClearView();
    host.SetStatus("FTP-Transfer l\xC3\xA4uft ...");
    std::string services, bouquets;
    try {
        services = FtpGetFile(client_, box, Port, box.BoxBouqDir, "services.xml");
        bouquets = FtpGetFile(client_, box, Port, box.BoxBouqDir, "bouquets.xml");
    } catch (const std::exception&) {
        host.SetStatus("FTP-Transfer fehlgeschlagen");
        return false;
    }
    if (aborted_)
        return false;
    host.SetStatus("FTP-Transfer beendet");
    const bool loaded = doc_.LoadListTexts(services, bouquets);
    // Only a pair that loaded is worth keeping: a broken one would later
    // be offered as a state to go back to.
    QString backupError;
    if (loaded && backups_ &&
        !backups_->Keep(
            TBackupStore::Fetched,
            {{QStringLiteral("services.xml"), services}, {QStringLiteral("bouquets.xml"), bouquets}},
            &backupError))
        NoteBackupFailure(backupError, "XML Struktur geladen");
    return loaded;
}

std::string TBoxTransfer::KeepBoxState(const TBoxSettings& box) {
    if (!backups_)
        return {};
    switch (xantu::KeepBoxState(client_, box, Port, *backups_, &aborted_)) {
    case TBoxState::Kept:
        return {};
    case TBoxState::Empty:
        return kBoxEmpty;
    case TBoxState::NotKept:
        break;
    }
    return aborted_ ? std::string() : kBoxNotKept;
}

bool TBoxTransfer::SendToBox(const TBoxSettings& box) {
    if (busy_)
        return false;
    if (!doc_.CheckListsPresent())
        return false;
    TListHost& host = doc_.Host();
    // Lists that would not read back are not sent. The edit count goes with
    // the texts: what changes after this point is not in them.
    const unsigned edits = ui_.EditCount();
    TPairTexts texts;
    try {
        texts = SavePairTexts(doc_);
    } catch (const std::exception& e) {
        host.ShowMessage(TMsgKind::Error, e.what());
        return false;
    }
    TRunning running(busy_, ui_);
    aborted_ = false;
    try {
        host.SetStatus("FTP zur Box l\xC3\xA4uft ...");
        const std::string& bouquets = texts.Bouquets;
        const std::string& services = texts.Services;
        // What the box holds now is kept before anything replaces it; when
        // that fails the send goes on, and the status says so to the end.
        const std::string boxNote = KeepBoxState(box);
        if (!boxNote.empty())
            host.SetStatus("FTP zur Box l\xC3\xA4uft ..." + boxNote);
        const bool ok1 = !aborted_ && FtpPutFile(client_, box, Port, "bouquets.xml", bouquets);
        const bool ok2 = !aborted_ && FtpPutFile(client_, box, Port, "services.xml", services);

        // Whatever the box took is what it holds now; keep a copy of that.
        TBackupStore::TFiles stored;
        if (ok1)
            stored.emplace_back(QStringLiteral("bouquets.xml"), bouquets);
        if (ok2)
            stored.emplace_back(QStringLiteral("services.xml"), services);
        QString backupError;
        const bool backedUp = !backups_ || backups_->Keep(TBackupStore::Sent, stored, &backupError);

        if (ok1 && ok2) {
            // A change made while the send waited on the box is not on the
            // box: it stays marked as unsaved.
            if (ui_.EditCount() == edits)
                host.SetModified(false);
            host.SetStatus("FTP zur Box komplett" + boxNote);
            if (!backedUp)
                NoteBackupFailure(backupError, "FTP zur Box komplett");
            host.ShowMessage(TMsgKind::Information, "Die Daten wurden erfolgreich zur Box \xC3\xBC"
                                                    "bertragen!");
            return true;
        }
        // Not everything reached the box: the changes stay marked as unsaved
        // so that closing the editor still asks.
        host.SetStatus("FTP zur Box fehlgeschlagen!" + boxNote);
        if (!backedUp)
            NoteBackupFailure(backupError, "FTP zur Box fehlgeschlagen!");
        if (aborted_)
            return false;
        std::string which;
        if (!ok1 && !ok2)
            which = "\"bouquets.xml\" und \"services.xml\" wurden";
        else
            which = ok1 ? "\"services.xml\" wurde" : "\"bouquets.xml\" wurde";
        host.ShowMessage(TMsgKind::Error, "\xC3\x9C"
                                          "bertragung zur Box fehlgeschlagen!\r" +
                                              which + " von der Box nicht angenommen.");
        return false;
    } catch (const std::exception&) {
        host.SetStatus("FTP zur Box fehlgeschlagen!");
        if (!aborted_)
            host.ShowMessage(TMsgKind::Error, "Probleme beim FTP- Transfer auf die Box!");
        return false;
    }
}

} // namespace xantu
