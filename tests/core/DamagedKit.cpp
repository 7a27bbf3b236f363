#include "DamagedKit.h"

#include "TestHelpers.h"
#include "core/FileIO.h"
#include "core/JsonDump.h"
#include "core/PairFiles.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

namespace xantu::test {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t p = text.find(from);
    EXPECT_NE(p, std::string::npos) << from;
    if (p != std::string::npos)
        text.replace(p, from.size(), to);
    return text;
}

Loaded Load(const std::string& services, const std::string& bouquets) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.Info_ChannelWithoutService = false;
    doc.SatPositions = {"Hotbird 13.0E; Position=130"};
    Loaded r;
    r.ok = doc.LoadListTexts(services, bouquets);
    r.messages = host.Messages;
    r.dump = DumpJson(doc);
    if (r.ok) {
        TPairTexts t = SavePairTexts(doc);
        r.bouquets = t.Bouquets;
        r.services = t.Services;
    } else {
        EXPECT_FALSE(doc.CheckListsPresent());
    }
    return r;
}

namespace {
struct TTempDirs {
    std::vector<std::string> Dirs;
    ~TTempDirs() {
        for (const std::string& d : Dirs)
            std::system(("rm -rf '" + d + "'").c_str());
    }
} gTempDirs;
} // namespace

std::string TempDir() {
    char dir[] = "/tmp/xantu-damaged-XXXXXX";
    gTempDirs.Dirs.push_back(mkdtemp(dir));
    return gTempDirs.Dirs.back();
}

int RunCli(const std::string& args, std::string* err) {
    const std::string errFile = TempDir() + "/err";
    // A time limit, so that a reader that blocks fails the test instead of
    // hanging it.
    const std::string cmd = "timeout 20 " + std::string(XANTU_CLI) + " " + args + " 2>" + errFile;
    const int rc = std::system(cmd.c_str());
    if (err)
        ReadWholeFile(errFile, *err);
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

} // namespace xantu::test
