// xantu-lists: the editor's list handling for scripts.
#include "cli/BoxCommands.h"
#include "cli/ListCommands.h"
#include "cli/Texts.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

const char* kUsage = cli_texts::Usage;

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
        std::fprintf(stderr, cli_texts::UnknownCommand, name.c_str(), kUsage);
        return 2;
    }
    xantu::TArgs args(argv + 2, argv + argc);
    return it->second(args);
}
