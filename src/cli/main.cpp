// xantu-lists: the editor's list handling for scripts.
#include "cli/BoxCommands.h"
#include "cli/ListCommands.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

const char* kUsage = "Aufruf: xantu-lists BEFEHL [OPTIONEN] ...\n"
                     "\n"
                     "Befehle:\n"
                     "  check   Listenpaar laden und pr\xC3\xBC"
                     "fen\n"
                     "  resave  Listenpaar laden und neu schreiben, wie der Editor speichert\n"
                     "  dump    Listenpaar laden und als JSON ausgeben\n"
                     "  fetch   Listenpaar per FTP von der Box holen\n"
                     "  send    Listenpaar per FTP zur Box \xC3\xBC"
                     "bertragen\n"
                     "  backups Sicherungen auflisten\n"
                     "\n"
                     "'xantu-lists BEFEHL --help' erkl\xC3\xA4rt einen Befehl.\n";

} // namespace

int main(int argc, char** argv) {
    using Command = int (*)(const xantu::TArgs&);
    const std::map<std::string, Command> commands = {
        {"check", xantu::RunCheck}, {"resave", xantu::RunResave}, {"dump", xantu::RunDump},
        {"fetch", xantu::RunFetch}, {"send", xantu::RunSend},     {"backups", xantu::RunBackups},
    };
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    auto it = commands.find(name);
    if (it == commands.end()) {
        std::fprintf(stderr, "xantu-lists: unbekannter Befehl '%s'\n\n%s", name.c_str(), kUsage);
        return 2;
    }
    xantu::TArgs args(argv + 2, argv + argc);
    return it->second(args);
}
