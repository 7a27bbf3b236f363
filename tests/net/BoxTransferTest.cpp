// The load and send commands against a scripted box: what the user sees
// (status texts, boxes, questions), what happens to the lists and the
// modified flag, and the copies kept in the backup folder.
#include "net/BoxTransfer.h"
#include "FakeBox.h"
#include "backups/Backups.h"
#include "core/FileIO.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

using namespace xantu;
using namespace xantu::test;

namespace {

using Lines = std::vector<std::string>;
const std::string kDir = "/var/pelmar/config/xantu/";

QByteArray Example(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/" + name, bytes));
    return QByteArray::fromStdString(bytes);
}

// The window as far as the transfers see it.
class TWindow : public TListHost, public TBoxUi {
  public:
    void ShowMessage(TMsgKind kind, const std::string& text) override {
        Events.push_back(std::string(MsgKindCaption(kind)) + ": " + text);
    }
    void SetModified(bool m) override {
        IsModified = m;
        Events.push_back(m ? "modified" : "unmodified");
    }
    void SetStatus(const std::string& s) override { Events.push_back("status: " + s); }
    void SetSatPosListVisible(bool v) override { Events.push_back(v ? "satpos: shown" : "satpos: hidden"); }

    bool Modified() const override { return IsModified; }
    bool Confirm(const std::string& text) override {
        Events.push_back("ask: " + text);
        return Answer;
    }
    void ClearView() override { Events.push_back("clear"); }
    void TransferRunning(bool running) override { Events.push_back(running ? "running" : "idle"); }

    // Only the events that a user sees or that change the flag.
    Lines Seen() const {
        Lines out;
        for (const std::string& e : Events)
            if (e.find("Sat-Positionsliste") == std::string::npos &&
                (e.rfind("status", 0) == 0 || e.rfind("Fehler", 0) == 0 || e.rfind("Information", 0) == 0 ||
                 e.rfind("ask", 0) == 0 || e == "modified" || e == "unmodified"))
                out.push_back(e);
        return out;
    }

    bool IsModified = false;
    bool Answer = true;
    Lines Events;
};

struct TSetup {
    TWindow window;
    TListDocument doc{&window};
    QTemporaryDir backupRoot;
    TBackupStore backups{backupRoot.path() + "/backups"};
    TBoxTransfer transfer{doc, window, &backups};
    TBoxSettings box;

    explicit TSetup(const TFakeBox& fake) {
        box.BoxIP = "127.0.0.1";
        transfer.Port = fake.Port();
    }
    QString LastBackup() const {
        const QStringList f = backups.Folders();
        return f.isEmpty() ? QString() : backups.Root() + "/" + f.last();
    }
    void LoadExample(const char* kind) {
        ASSERT_TRUE(doc.LoadListTexts(Example(std::string(kind) + "/services.xml").toStdString(),
                                      Example(std::string(kind) + "/bouquets.xml").toStdString()));
        window.Events.clear();
    }
};

void StoreExample(TFakeBox& box, const char* kind) {
    box.Put(kDir + "services.xml", Example(std::string(kind) + "/services.xml"));
    box.Put(kDir + "bouquets.xml", Example(std::string(kind) + "/bouquets.xml"));
}

QByteArray ReadBytes(const QString& path) {
    std::string b;
    EXPECT_TRUE(ReadWholeFile(path.toStdString(), b)) << path.toStdString();
    return QByteArray::fromStdString(b);
}

} // namespace

TEST(BoxTransfer, LoadFetchesServicesThenBouquetsAndLoadsThem) {
    TFakeBox fake;
    StoreExample(fake, "sat");
    TSetup s(fake);
    ASSERT_TRUE(s.transfer.LoadFromBox(s.box));
    EXPECT_EQ(s.window.Seen(), (Lines{"status: FTP-Transfer l\xC3\xA4uft ...", "status: FTP-Transfer beendet",
                                      "unmodified", "status: XML Struktur geladen"}));
    EXPECT_EQ(s.window.Events.front(), "running");
    EXPECT_EQ(s.window.Events.at(1), "satpos: hidden");
    EXPECT_EQ(s.window.Events.at(2), "clear");
    EXPECT_EQ(s.window.Events.back(), "idle");
    EXPECT_EQ(s.doc.BoxType, BoxSat);
    EXPECT_GT(s.doc.VTB.TotalCount(), 0);
    const Lines cmds = fake.Commands();
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "RETR services.xml"), 1);
    EXPECT_LT(std::find(cmds.begin(), cmds.end(), "RETR services.xml"),
              std::find(cmds.begin(), cmds.end(), "RETR bouquets.xml"));
    EXPECT_EQ(fake.Connections(), 2);
    // The fetched pair is kept byte for byte.
    ASSERT_TRUE(s.LastBackup().endsWith("-fetched"));
    EXPECT_EQ(ReadBytes(s.LastBackup() + "/services.xml"), fake.Get(kDir + "services.xml"));
    EXPECT_EQ(ReadBytes(s.LastBackup() + "/bouquets.xml"), fake.Get(kDir + "bouquets.xml"));
}

TEST(BoxTransfer, LoadAsksBeforeDiscardingChanges) {
    TFakeBox fake;
    StoreExample(fake, "sat");
    TSetup s(fake);
    s.window.IsModified = true;
    s.window.Answer = false;
    EXPECT_FALSE(s.transfer.LoadFromBox(s.box));
    EXPECT_EQ(s.window.Events,
              (Lines{"ask: Am aktuellen Bouquet wurden \xC3\x84nderungen vorgenommen!\rWollen "
                     "Sie fortfahren und die \xC3\x84nderungen verlieren?"}));
    EXPECT_EQ(fake.Connections(), 0);
}

TEST(BoxTransfer, FailedFetchLeavesEmptyListsAndOnlyAStatus) {
    TFakeBox fake({.RefuseRetr = "services.xml"});
    StoreExample(fake, "sat");
    TSetup s(fake);
    s.LoadExample("cable");
    s.window.IsModified = true;
    ASSERT_FALSE(s.transfer.LoadFromBox(s.box));
    EXPECT_EQ(s.window.Seen(),
              (Lines{"ask: Am aktuellen Bouquet wurden \xC3\x84nderungen vorgenommen!\rWollen "
                     "Sie fortfahren und die \xC3\x84nderungen verlieren?",
                     "status: FTP-Transfer l\xC3\xA4uft ...", "status: FTP-Transfer fehlgeschlagen"}));
    EXPECT_TRUE(s.window.IsModified);
    // The bouquets file is not asked for once the services failed.
    const Lines cmds = fake.Commands();
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "RETR bouquets.xml"), 0);
    EXPECT_TRUE(s.backups.Folders().isEmpty());
}

TEST(BoxTransfer, EmptyFetchedFileEndsInTheFormatError) {
    TFakeBox fake;
    fake.Put(kDir + "services.xml", "");
    fake.Put(kDir + "bouquets.xml", Example("sat/bouquets.xml"));
    TSetup s(fake);
    EXPECT_FALSE(s.transfer.LoadFromBox(s.box));
    const Lines seen = s.window.Seen();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.at(seen.size() - 2), "status: Formatfehler der XML-Dateien");
    EXPECT_EQ(seen.back().rfind("Fehler: ", 0), 0u);
    // A pair that does not load is no state to go back to.
    EXPECT_TRUE(s.backups.Folders().isEmpty());
}

// Half a file, then "226": after a reset the transfer itself fails; after an
// orderly close the cut file does not load. Either way nothing is kept.
TEST(BoxTransfer, ShortDeliveriesFailTheLoadAndKeepNothing) {
    for (const bool reset : {true, false}) {
        SCOPED_TRACE(reset ? "reset" : "early close");
        TFakeBox fake({.ResetDataThen226 = reset, .CloseDataThen226 = !reset});
        StoreExample(fake, "sat");
        TSetup s(fake);
        EXPECT_FALSE(s.transfer.LoadFromBox(s.box));
        const Lines seen = s.window.Seen();
        if (reset)
            EXPECT_EQ(seen, (Lines{"status: FTP-Transfer l\xC3\xA4uft ...",
                                   "status: FTP-Transfer fehlgeschlagen"}));
        else
            EXPECT_NE(std::find(seen.begin(), seen.end(), "status: Formatfehler der XML-Dateien"),
                      seen.end());
        EXPECT_TRUE(s.backups.Folders().isEmpty());
    }
}

TEST(BoxTransfer, SendKeepsWhatTheBoxHeldBeforeTheFirstStore) {
    TFakeBox fake;
    StoreExample(fake, "sat");
    const QByteArray heldBouquets = fake.Get(kDir + "bouquets.xml");
    const QByteArray heldServices = fake.Get(kDir + "services.xml");
    TSetup s(fake);
    s.LoadExample("cable");
    ASSERT_TRUE(s.transfer.SendToBox(s.box));
    EXPECT_EQ(s.window.Seen().at(2), "status: FTP zur Box komplett");
    Lines transfers;
    for (const std::string& c : fake.Commands())
        if (c.rfind("RETR", 0) == 0 || c.rfind("STOR", 0) == 0)
            transfers.push_back(c);
    EXPECT_EQ(transfers,
              (Lines{"RETR bouquets.xml", "RETR services.xml", "STOR bouquets.xml", "STOR services.xml"}));
    const std::vector<TBackupStore::TInfo> kept = s.backups.List();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].Kind, "sent");
    EXPECT_EQ(kept[1].Kind, "box");
    EXPECT_EQ(ReadBytes(kept[1].BouquetsFile), heldBouquets);
    EXPECT_EQ(ReadBytes(kept[1].ServicesFile), heldServices);
}

TEST(BoxTransfer, SendGoesOnWhenTheBoxStateCannotBeFetched) {
    TFakeBox fake({.RefuseRetr = "services.xml", .RetrRefusal = "451 busy"});
    StoreExample(fake, "sat");
    TSetup s(fake);
    s.LoadExample("cable");
    ASSERT_TRUE(s.transfer.SendToBox(s.box));
    const Lines seen = s.window.Seen();
    EXPECT_NE(
        std::find(seen.begin(), seen.end(), "status: FTP zur Box komplett - Stand der Box nicht gesichert"),
        seen.end());
    EXPECT_EQ(fake.Get(kDir + "services.xml").toStdString(), s.doc.SaveServices());
    ASSERT_EQ(s.backups.List().size(), 1u);
    EXPECT_EQ(s.backups.List()[0].Kind, "sent");
}

TEST(BoxTransfer, SendStoresBothWriterTextsAndClearsModified) {
    TFakeBox fake;
    TSetup s(fake);
    s.LoadExample("sat");
    s.window.IsModified = true;
    ASSERT_TRUE(s.transfer.SendToBox(s.box));
    // The box held nothing before: said, and the send goes on.
    EXPECT_EQ(s.window.Seen(), (Lines{"status: FTP zur Box l\xC3\xA4uft ...",
                                      "status: FTP zur Box l\xC3\xA4uft ... - keine Listen auf der Box",
                                      "unmodified", "status: FTP zur Box komplett - keine Listen auf der Box",
                                      "Information: Die Daten wurden erfolgreich zur Box \xC3\xBC"
                                      "bertragen!"}));
    EXPECT_EQ(fake.Get(kDir + "bouquets.xml").toStdString(), s.doc.SaveBouquets());
    EXPECT_EQ(fake.Get(kDir + "services.xml").toStdString(), s.doc.SaveServices());
    const Lines cmds = fake.Commands();
    EXPECT_LT(std::find(cmds.begin(), cmds.end(), "STOR bouquets.xml"),
              std::find(cmds.begin(), cmds.end(), "STOR services.xml"));
    ASSERT_TRUE(s.LastBackup().endsWith("-sent"));
    EXPECT_EQ(ReadBytes(s.LastBackup() + "/bouquets.xml"), fake.Get(kDir + "bouquets.xml"));
    EXPECT_EQ(ReadBytes(s.LastBackup() + "/services.xml"), fake.Get(kDir + "services.xml"));
}

TEST(BoxTransfer, RefusedUploadKeepsTheChangesMarkedAndNamesTheFile) {
    TFakeBox fake({.RefuseStor = "bouquets.xml"});
    TSetup s(fake);
    s.LoadExample("sat");
    s.window.IsModified = true;
    EXPECT_FALSE(s.transfer.SendToBox(s.box));
    // services.xml still went to the box.
    EXPECT_TRUE(fake.Has(kDir + "services.xml"));
    EXPECT_FALSE(fake.Has(kDir + "bouquets.xml"));
    EXPECT_TRUE(s.window.IsModified);
    EXPECT_EQ(s.window.Seen(),
              (Lines{"status: FTP zur Box l\xC3\xA4uft ...",
                     "status: FTP zur Box l\xC3\xA4uft ... - keine Listen auf der Box",
                     "status: FTP zur Box fehlgeschlagen! - keine Listen auf der Box",
                     "Fehler: \xC3\x9C"
                     "bertragung zur Box fehlgeschlagen!\r\"bouquets.xml\" wurde von der Box "
                     "nicht angenommen."}));
    // The backup holds what the box took: the services only.
    ASSERT_TRUE(s.LastBackup().endsWith("-sent"));
    EXPECT_EQ(QDir(s.LastBackup()).entryList(QDir::Files), QStringList{"services.xml"});
}

TEST(BoxTransfer, ListsThatWouldNotReadBackAreNeverSentAndACutFetchFails) {
    TFakeBox fake;
    TSetup s(fake);
    s.LoadExample("sat");
    s.window.IsModified = true;
    s.doc.VTB.GetFirst()->Child(0)->Data()->Bouquet->Name = "Film's \"Zwei\"";
    EXPECT_FALSE(s.transfer.SendToBox(s.box));
    ASSERT_EQ(s.window.Seen().size(), 1u);
    EXPECT_EQ(s.window.Seen()[0].rfind("Fehler: Die Listen wurden nicht gespeichert", 0), 0u);
    EXPECT_TRUE(s.window.IsModified);
    EXPECT_EQ(fake.Connections(), 0);

    // A bouquets.xml that arrives cut short is a format error, not a list.
    const QByteArray b = Example("sat/bouquets.xml");
    fake.Put(kDir + "services.xml", Example("sat/services.xml"));
    fake.Put(kDir + "bouquets.xml", b.left(b.size() - 3));
    s.window.IsModified = false;
    s.window.Events.clear();
    EXPECT_FALSE(s.transfer.LoadFromBox(s.box));
    const Lines seen = s.window.Seen();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.at(seen.size() - 2), "status: Formatfehler der XML-Dateien");
    EXPECT_EQ(seen.back(),
              "Fehler: Die Datei bouquets.xml ist unvollst\xC3\xA4ndig: das Ende </XANTU> fehlt.");
    EXPECT_EQ(s.doc.VTB.TotalCount(), 0u);
}

TEST(BoxTransfer, SendWithoutListsIsRefusedBeforeConnecting) {
    TFakeBox fake;
    TSetup s(fake);
    EXPECT_FALSE(s.transfer.SendToBox(s.box));
    EXPECT_EQ(s.window.Seen(),
              (Lines{"Fehler: Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ..."}));
    EXPECT_EQ(fake.Connections(), 0);
}

TEST(BoxTransfer, ASecondCommandDuringATransferIsRefused) {
    TFakeBox fake({.Blocks = 2, .BlockGapMs = 300});
    StoreExample(fake, "sat");
    TSetup s(fake);
    bool secondLoad = true, secondSend = true;
    QTimer::singleShot(100, [&] {
        EXPECT_TRUE(s.transfer.Busy());
        secondLoad = s.transfer.LoadFromBox(s.box);
        secondSend = s.transfer.SendToBox(s.box);
    });
    ASSERT_TRUE(s.transfer.LoadFromBox(s.box));
    EXPECT_FALSE(secondLoad);
    EXPECT_FALSE(secondSend);
    EXPECT_EQ(fake.Connections(), 2);
    EXPECT_EQ(std::count(s.window.Events.begin(), s.window.Events.end(), "running"), 1);
    EXPECT_FALSE(s.transfer.Busy());
}

TEST(BoxTransfer, AbortEndsTheCommandQuietly) {
    TFakeBox fake({.SilenceMs = 1000});
    StoreExample(fake, "sat");
    TSetup s(fake);
    s.LoadExample("sat");
    s.window.IsModified = true;
    QTimer::singleShot(150, [&] { s.transfer.Abort(); });
    EXPECT_FALSE(s.transfer.SendToBox(s.box));
    EXPECT_TRUE(s.window.IsModified);
    for (const std::string& e : s.window.Events)
        EXPECT_NE(e.rfind("Fehler", 0), 0u) << e;
    // Aborted while fetching what the box held: nothing was stored.
    EXPECT_EQ(fake.Connections(), 1);
    const Lines cmds = fake.Commands();
    EXPECT_EQ(
        std::count_if(cmds.begin(), cmds.end(), [](const std::string& c) { return c.rfind("STOR", 0) == 0; }),
        0);
}

TEST(BoxTransfer, UnwritableBackupIsReportedButNeverStopsTheSend) {
    TFakeBox fake;
    TSetup s(fake);
    // A file where the backup folder should be.
    WriteWholeFile((s.backupRoot.path() + "/blocked").toStdString(), "x");
    TBackupStore blocked(s.backupRoot.path() + "/blocked/backups");
    TBoxTransfer transfer(s.doc, s.window, &blocked);
    transfer.Port = fake.Port();
    s.LoadExample("sat");
    ASSERT_TRUE(transfer.SendToBox(s.box));
    EXPECT_TRUE(fake.Has(kDir + "services.xml"));
    const Lines seen = s.window.Seen();
    EXPECT_NE(
        std::find(seen.begin(), seen.end(), "status: FTP zur Box komplett - Sicherungskopie fehlgeschlagen"),
        seen.end());
    EXPECT_FALSE(s.window.IsModified);
}

TEST(Backups, KeepsBytesAndOnlyTheNewestFolders) {
    QTemporaryDir tmp;
    TBackupStore store(tmp.path() + "/b");
    store.Limit = 3;
    const std::string binary("a\0b\r\n\xff", 6);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(store.Keep(TBackupStore::Sent, {{"bouquets.xml", binary + std::to_string(i)}}));
    const QStringList folders = store.Folders();
    ASSERT_EQ(folders.size(), 3);
    EXPECT_EQ(ReadBytes(store.Root() + "/" + folders.first() + "/bouquets.xml").toStdString(), binary + "2");
    EXPECT_EQ(ReadBytes(store.Root() + "/" + folders.last() + "/bouquets.xml").toStdString(), binary + "4");
    // Folders of someone else in the same place are left alone.
    QDir(store.Root()).mkdir("mine");
    ASSERT_TRUE(store.Keep(TBackupStore::Fetched, {{"services.xml", "s"}}));
    EXPECT_TRUE(QDir(store.Root() + "/mine").exists());
    EXPECT_EQ(store.Folders().size(), 4); // another kind pushes out none
}

// Twenty refused sends must not push out the last pair fetched or saved.
TEST(Backups, EachKindKeepsItsOwnNewest) {
    QTemporaryDir tmp;
    TBackupStore store(tmp.path() + "/b");
    store.Limit = 2;
    ASSERT_TRUE(store.Keep(TBackupStore::Local, {{"bouquets.xml", "l"}}));
    ASSERT_TRUE(store.Keep(TBackupStore::Fetched, {{"bouquets.xml", "f"}}));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(store.Keep(TBackupStore::Sent, {{"bouquets.xml", "s"}}));
        ASSERT_TRUE(store.Keep(TBackupStore::Box, {{"bouquets.xml", "b"}}));
    }
    std::map<QString, int> kinds;
    for (const TBackupStore::TInfo& b : store.List())
        ++kinds[b.Kind];
    EXPECT_EQ(kinds, (std::map<QString, int>{{"box", 2}, {"fetched", 1}, {"local", 1}, {"sent", 2}}));
}

TEST(Backups, ListShowsNewestFirstWithCountsAndFindsRenamedBouquetFiles) {
    QTemporaryDir tmp;
    TBackupStore store(tmp.path() + "/b");
    const std::string sat = Example("sat/bouquets.xml").toStdString();
    const std::string satServices = Example("sat/services.xml").toStdString();
    ASSERT_TRUE(store.Keep(TBackupStore::Fetched, {{"bouquets.xml", sat}, {"services.xml", satServices}}));
    ASSERT_TRUE(store.Keep(TBackupStore::Sent, {{"services.xml", satServices}}));
    ASSERT_TRUE(store.Keep(TBackupStore::Local, {{"meine.xml", sat}, {"services.xml", satServices}}));
    const std::vector<TBackupStore::TInfo> list = store.List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Kind, "local");
    EXPECT_TRUE(list[0].BouquetsFile.endsWith("/meine.xml"));
    EXPECT_EQ(list[0].Bouquets, 3);
    EXPECT_EQ(list[0].Services, 9);
    EXPECT_TRUE(list[0].Complete());
    // Only services.xml reached the box in that send.
    EXPECT_EQ(list[1].Kind, "sent");
    EXPECT_FALSE(list[1].Complete());
    EXPECT_EQ(list[1].Bouquets, -1);
    EXPECT_EQ(list[2].Kind, "fetched");
    EXPECT_TRUE(list[0].When >= list[1].When && list[1].When >= list[2].When);
    EXPECT_GE(list[2].When.secsTo(QDateTime::currentDateTime()), 0);
    EXPECT_LT(list[2].When.secsTo(QDateTime::currentDateTime()), 60);
    // Counts kept beside the files spare reading them; without them, or
    // with damaged ones, the files are counted.
    QFile::remove(list[0].Folder + "/.counts");
    WriteWholeFile((list[2].Folder + "/.counts").toStdString(), "7 x\n");
    const std::vector<TBackupStore::TInfo> again = store.List();
    EXPECT_EQ(again[0].Bouquets, 3);
    EXPECT_EQ(again[0].Services, 9);
    EXPECT_EQ(again[2].Bouquets, 3);
    EXPECT_EQ(again[2].Services, 9);
    // Tags count only as whole names.
    EXPECT_EQ(CountBouquets("<Bouquets><Bouquet name=\"a\"/><Bouquet\tname=\"b\"></Bouquet></Bouquets>"), 2);
    EXPECT_EQ(CountServices("<channels><channel/><channel service_id=\"1\"/>"), 2);
}

TEST(Backups, KeepExistingCopiesWhatALocalSaveWouldOverwrite) {
    QTemporaryDir tmp;
    TBackupStore store(tmp.path() + "/b");
    const QString lists = tmp.path() + "/lists";
    QDir().mkpath(lists);
    WriteWholeFile((lists + "/meine.xml").toStdString(), "<bouquets/>");
    // Nothing there yet: no folder at all.
    ASSERT_TRUE(store.KeepExisting(TBackupStore::Local, {lists + "/neu.xml", lists + "/services.xml"}));
    EXPECT_TRUE(store.Folders().isEmpty());
    // Only the bouquets file exists.
    ASSERT_TRUE(store.KeepExisting(TBackupStore::Local, {lists + "/meine.xml", lists + "/services.xml"}));
    ASSERT_EQ(store.Folders().size(), 1);
    const QString folder = store.Root() + "/" + store.Folders().first();
    EXPECT_TRUE(folder.endsWith("-local"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"meine.xml"});
    EXPECT_EQ(ReadBytes(folder + "/meine.xml"), "<bouquets/>");
}
