#include "cli/BoxCommands.h"

#include "core/PairFiles.h"

#include "cli/CliHost.h"
#include "cli/LoadedPair.h"
#include "core/FileIO.h"
#include "net/Backups.h"
#include "net/BoxTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <exception>

namespace xantu {

namespace {

const char* kFetchHelp =
    "Aufruf: xantu-lists fetch --host HOST[:PORT] [--user U] [--password P] [--dir D]\n"
    "                          [--satpositions DATEI] ZIELORDNER\n"
    "\n"
    "Holt services.xml und bouquets.xml per FTP von der Box, l\xC3\xA4"
    "dt sie wie der Editor\n"
    "zur Pr\xC3\xBC"
    "fung und legt sie unver\xC3\xA4ndert in ZIELORDNER ab (wird bei Bedarf angelegt).\n"
    "Vorgaben: Port 21, Benutzer root, Passwort qvex5, Ordner /var/pelmar/config/xantu;\n"
    "--dir \"\" nimmt das Anmeldeverzeichnis.\n";
const char* kSendHelp =
    "Aufruf: xantu-lists send --host HOST[:PORT] [--user U] [--password P] [--dir D]\n"
    "                         [--satpositions DATEI] BOUQUETS_DATEI\n"
    "\n"
    "L\xC3\xA4"
    "dt BOUQUETS_DATEI und services.xml aus demselben Ordner wie 'check' und\n"
    "\xC3\xBC"
    "bertr\xC3\xA4gt beide so, wie der Editor speichert, per FTP zur Box (erst bouquets.xml,\n"
    "dann services.xml). Vorgaben wie bei 'fetch'.\n";

struct TBoxOptions {
    TBoxSettings Box;
    quint16 Port = 21;
    bool HostGiven = false;
};

// Takes the box options out of `args`; what is left goes to the list options.
// -1 to go on, else the exit status.
int ParseBoxOptions(const TArgs& args, const char* help, TBoxOptions& box, TArgs& rest) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        QString* target = nullptr;
        if (a == "--host" || a == "--user" || a == "--password" || a == "--dir") {
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
    TFtpClient client;
    std::string services, bouquets;
    for (auto [file, text] : {std::pair{"services.xml", &services}, std::pair{"bouquets.xml", &bouquets}}) {
        try {
            *text = FtpGetFile(client, box.Box, box.Port, box.Box.BoxBouqDir, file);
        } catch (const std::exception& e) {
            host.ShowMessage(TMsgKind::Error,
                             std::string(e.what()) + " (" + client.ErrorText().toStdString() + ")");
            return 1;
        }
    }
    if (!pair.Doc.LoadListTexts(services, bouquets))
        return 1;
    const QString outDir = QString::fromStdString(opt.Files[0]);
    if (!QDir().mkpath(outDir)) {
        host.ShowMessage(TMsgKind::Error, "Der Ordner \"" + opt.Files[0] + "\" kann nicht angelegt werden.");
        return 2;
    }
    const std::string dir = QDir(outDir).absolutePath().toStdString() + "/";
    try {
        WriteWholeFile(dir + "services.xml", services);
        WriteWholeFile(dir + "bouquets.xml", bouquets);
    } catch (const std::exception& e) {
        host.ShowMessage(TMsgKind::Error, e.what());
        return 2;
    }
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
    if (!pair.Doc.CheckListsPresent())
        return 1;
    TPairTexts texts;
    try {
        texts = SavePairTexts(pair.Doc);
    } catch (const std::exception& e) {
        host.ShowMessage(TMsgKind::Error, e.what());
        return 1;
    }
    const std::string& bouquets = texts.Bouquets;
    const std::string& services = texts.Services;
    TFtpClient client;
    TBackupStore::TFiles stored;
    bool ok = true;
    for (auto [file, text] : {std::pair{"bouquets.xml", &bouquets}, std::pair{"services.xml", &services}}) {
        if (FtpPutFile(client, box.Box, box.Port, file, *text)) {
            stored.emplace_back(QString::fromLatin1(file), *text);
        } else {
            ok = false;
            host.ShowMessage(TMsgKind::Error, std::string("\"") + file +
                                                  "\" wurde von der Box nicht angenommen (" +
                                                  client.ErrorText().toStdString() + ")");
        }
    }
    // The box now holds what it took; keep a copy as the editor does.
    TBackupStore backups;
    QString why;
    if (!backups.Keep(TBackupStore::Sent, stored, &why))
        host.ShowMessage(TMsgKind::Warning, "Sicherungskopie fehlgeschlagen: " + why.toStdString());
    return ok ? 0 : 1;
}

} // namespace xantu
