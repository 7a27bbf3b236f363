#include "cli/BoxCommands.h"

#include "core/PairFiles.h"

#include "backups/Backups.h"
#include "cli/CliHost.h"
#include "cli/LoadedPair.h"
#include "core/FileIO.h"
#include "net/BoxTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace xantu {

namespace {

const char* kFetchHelp =
    "Aufruf: xantu-lists fetch --host HOST[:PORT] [--user U] [--password-file DATEI] [--dir D]\n"
    "                          [--satpositions DATEI] ZIELORDNER\n"
    "\n"
    "Holt services.xml und bouquets.xml per FTP von der Box, l\xC3\xA4"
    "dt sie wie der Editor zur\n"
    "Pr\xC3\xBC"
    "fung und legt erst dann beide unver\xC3\xA4ndert in ZIELORDNER ab (wird bei Bedarf\n"
    "angelegt): beide oder keine. Ein Paar, das dort schon\n"
    "liegt, wird vorher als Sicherung der Art \"local\" aufbewahrt.\n"
    "Passwort: --password-file DATEI (erste Zeile) oder die Umgebungsvariable\n"
    "XANTU_BOX_PASSWORD; --password P geht auch, steht dann aber in der Prozessliste.\n"
    "Vorgaben: Port 21, Benutzer root, Passwort qvex5, Ordner /var/pelmar/config/xantu;\n"
    "--dir \"\" nimmt das Anmeldeverzeichnis.\n";
const char* kSendHelp =
    "Aufruf: xantu-lists send --host HOST[:PORT] [--user U] [--password-file DATEI] [--dir D]\n"
    "                         [--satpositions DATEI] BOUQUETS_DATEI\n"
    "\n"
    "L\xC3\xA4"
    "dt BOUQUETS_DATEI und services.xml aus demselben Ordner wie 'check' und\n"
    "\xC3\xBC"
    "bertr\xC3\xA4gt beide so, wie der Editor speichert, per FTP zur Box (erst bouquets.xml,\n"
    "dann services.xml). Was die Box vorher hielt, wird zuerst als Sicherung der Art\n"
    "\"box\" aufbewahrt. Passwort und Vorgaben wie bei 'fetch'.\n";
const char* kBackupsHelp =
    "Aufruf: xantu-lists backups\n"
    "\n"
    "Listet die Sicherungen, die neueste zuerst, eine je Zeile, Felder durch Tabulator\n"
    "getrennt: Datum und Uhrzeit (JJJJ-MM-TT HH:MM:SS), Art (local, fetched, sent, box),\n"
    "Anzahl Bouquets, Anzahl Services (\"-\" wenn die Datei fehlt), Ordner.\n";

struct TBoxOptions {
    TBoxSettings Box;
    quint16 Port = 21;
    bool HostGiven = false;
};

// The first line of a password file, without its line end.
bool ReadPasswordFile(const std::string& path, QString& password) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    const std::size_t end = bytes.find_first_of("\r\n");
    password = QString::fromStdString(bytes.substr(0, end));
    return true;
}

// Reply text of the box for the terminal: control characters could move the
// cursor, clear the screen or fake lines of their own.
std::string Printable(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QLatin1Char('?');
    return out.toStdString();
}

// Takes the box options out of `args`; what is left goes to the list options.
// -1 to go on, else the exit status.
int ParseBoxOptions(const TArgs& args, const char* help, TBoxOptions& box, TArgs& rest) {
    // The environment first; an option given on the command line wins.
    if (const char* env = std::getenv("XANTU_BOX_PASSWORD"))
        box.Box.BoxPass = QString::fromLocal8Bit(env);
    bool passwordGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        QString* target = nullptr;
        if (a == "--host" || a == "--user" || a == "--password" || a == "--password-file" || a == "--dir") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "xantu-lists: %s braucht einen Wert\n\n%s", a.c_str(), help);
                return 2;
            }
            const QString value = QString::fromStdString(args[++i]);
            if (a == "--host") {
                box.HostGiven = true;
                if (!SplitHostPort(value, box.Box.BoxIP, box.Port)) {
                    std::fprintf(stderr, "xantu-lists: ung\xC3\xBCltiger Host '%s'\n\n%s", args[i].c_str(),
                                 help);
                    return 2;
                }
                continue;
            }
            if (a == "--password" || a == "--password-file") {
                if (passwordGiven) {
                    std::fprintf(stderr, "xantu-lists: nur eines von --password und --password-file\n\n%s",
                                 help);
                    return 2;
                }
                passwordGiven = true;
                if (a == "--password-file") {
                    if (!ReadPasswordFile(args[i], box.Box.BoxPass)) {
                        std::fprintf(stderr, "xantu-lists: Passwortdatei '%s' kann nicht gelesen werden\n",
                                     args[i].c_str());
                        return 2;
                    }
                    continue;
                }
            }
            target = a == "--user"       ? &box.Box.BoxUser
                     : a == "--password" ? &box.Box.BoxPass
                                         : &box.Box.BoxBouqDir;
            *target = value;
            continue;
        }
        rest.push_back(a);
    }
    for (const std::string& a : rest)
        if (a == "--help" || a == "-h")
            return -1; // the list options print the help
    if (!box.HostGiven) {
        std::fprintf(stderr, "xantu-lists: --host fehlt\n\n%s", help);
        return 2;
    }
    return -1;
}

// Sockets need an application object; the tool has none of its own.
struct TAppScope {
    int argc = 1;
    char name[12] = "xantu-lists";
    char* argv[2] = {name, nullptr};
    QCoreApplication* app = nullptr;
    TAppScope() {
        if (!QCoreApplication::instance())
            app = new QCoreApplication(argc, argv);
    }
    ~TAppScope() { delete app; }
};

} // namespace

namespace {

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

int RunFetch(const TArgs& args) {
    TBoxOptions box;
    TArgs rest;
    if (int rc = ParseBoxOptions(args, kFetchHelp, box, rest); rc >= 0)
        return rc;
    TPairOptions opt;
    if (int rc = ParsePairOptions(rest, 1, kFetchHelp, opt); rc >= 0)
        return rc;
    TAppScope scope;
    TCliHost host;
    TLoadedPair pair(host);
    if (!pair.LoadPositions(opt.SatPositionsFile))
        return 1;
    const QString outDir = QString::fromStdString(opt.Files[0]);
    if (!QDir().mkpath(outDir)) {
        host.ShowMessage(TMsgKind::Error, "Der Ordner \"" + opt.Files[0] + "\" kann nicht angelegt werden.");
        return 2;
    }
    const QString target = QDir(outDir).absolutePath() + "/";
    TFtpClient client;
    std::string services, bouquets;
    for (auto [file, text] : {std::pair{"services.xml", &services}, std::pair{"bouquets.xml", &bouquets}}) {
        try {
            *text = FtpGetFile(client, box.Box, box.Port, box.Box.BoxBouqDir, file);
        } catch (const std::exception& e) {
            host.ShowMessage(TMsgKind::Error,
                             std::string(e.what()) + " (" + Printable(client.ErrorText()) + ")");
            return 1;
        }
    }
    // Only a pair that loads replaces what the target folder holds.
    if (!pair.Doc.LoadListTexts(services, bouquets))
        return 1;
    TBackupStore backups;
    QString why;
    if (!backups.KeepExisting(TBackupStore::Local, {target + "bouquets.xml", target + "services.xml"},
                              &why)) {
        host.ShowMessage(TMsgKind::Error, "Sicherungskopie fehlgeschlagen: " + why.toStdString() +
                                              "\rDie Dateien in \"" + opt.Files[0] +
                                              "\" bleiben unver\xC3\xA4ndert.");
        return 2;
    }
    // Both files are staged beside their targets and renamed in only when
    // both are complete: the folder holds the old pair or the new one.
    try {
        WriteFilePair(Local(target + "services.xml"), services, Local(target + "bouquets.xml"), bouquets);
    } catch (const std::exception& e) {
        host.ShowMessage(TMsgKind::Error, e.what());
        return 2;
    }
    return 0;
}

int RunBackups(const TArgs& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(kBackupsHelp, stdout);
            return 0;
        }
        std::fprintf(stderr, "xantu-lists: unbekannte Angabe '%s'\n\n%s", a.c_str(), kBackupsHelp);
        return 2;
    }
    const auto count = [](int n) { return n < 0 ? std::string("-") : std::to_string(n); };
    for (const TBackupStore::TInfo& b : TBackupStore().List())
        std::printf("%s\t%s\t%s\t%s\t%s\n",
                    b.When.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8().constData(),
                    b.Kind.toUtf8().constData(), count(b.Bouquets).c_str(), count(b.Services).c_str(),
                    QFile::encodeName(b.Folder).constData());
    return 0;
}

int RunSend(const TArgs& args) {
    TBoxOptions box;
    TArgs rest;
    if (int rc = ParseBoxOptions(args, kSendHelp, box, rest); rc >= 0)
        return rc;
    TPairOptions opt;
    if (int rc = ParsePairOptions(rest, 1, kSendHelp, opt); rc >= 0)
        return rc;
    TAppScope scope;
    TCliHost host;
    TLoadedPair pair(host);
    if (int rc = pair.Load(opt); rc != 0)
        return rc;
    TPairTexts texts;
    if (int rc = pair.CheckedTexts(texts); rc != 0)
        return rc;
    const std::string& bouquets = texts.Bouquets;
    const std::string& services = texts.Services;
    TFtpClient client;
    TBackupStore backups;
    // What the box holds now is kept before it is replaced; the send goes on
    // without, as the editor's does.
    switch (KeepBoxState(client, box.Box, box.Port, backups)) {
    case TBoxState::Kept:
        break;
    case TBoxState::Empty:
        host.ShowMessage(TMsgKind::Warning, "Keine Listen auf der Box, nichts zu sichern");
        break;
    case TBoxState::NotKept:
        host.ShowMessage(TMsgKind::Warning,
                         "Stand der Box nicht gesichert (" + Printable(client.ErrorText()) + ")");
        break;
    }
    TBackupStore::TFiles stored;
    bool ok = true;
    for (auto [file, text] : {std::pair{"bouquets.xml", &bouquets}, std::pair{"services.xml", &services}}) {
        if (FtpPutFile(client, box.Box, box.Port, file, *text)) {
            stored.emplace_back(QString::fromLatin1(file), *text);
        } else {
            ok = false;
            host.ShowMessage(TMsgKind::Error, std::string("\"") + file +
                                                  "\" wurde von der Box nicht angenommen (" +
                                                  Printable(client.ErrorText()) + ")");
        }
    }
    // The box now holds what it took; keep a copy as the editor does.
    QString why;
    if (!backups.Keep(TBackupStore::Sent, stored, &why))
        host.ShowMessage(TMsgKind::Warning, "Sicherungskopie fehlgeschlagen: " + why.toStdString());
    return ok ? 0 : 1;
}

} // namespace xantu
