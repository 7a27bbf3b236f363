#include "cli/ListCommands.h"

#include "cli/CliHost.h"
#include "cli/LoadedPair.h"
#include "cli/Texts.h"
#include "core/FileIO.h"
#include "core/JsonDump.h"
#include "core/PairFiles.h"

#include <cstdio>
#include <sys/stat.h>

namespace xantu {

namespace {

const char* kCheckHelp = cli_texts::CheckHelp;
const char* kResaveHelp = cli_texts::ResaveHelp;
const char* kDumpHelp = cli_texts::DumpHelp;

bool MakeDirs(const std::string& dir) {
    std::string path;
    for (std::size_t i = 0; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '/') {
            if (!path.empty() && path != "/") {
                struct stat st {};
                if (::stat(path.c_str(), &st) != 0 && ::mkdir(path.c_str(), 0755) != 0)
                    return false;
            }
        }
        if (i < dir.size())
            path.push_back(dir[i]);
    }
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Output that did not reach its reader (a full disk, a closed pipe) is a
// failure of the command, not a success.
int FinishOutput(TListHost& host, int rc) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        host.ShowMessage(TMsgKind::Error, cli_texts::OutputFailed);
        return 2;
    }
    return rc;
}

void PrintSummary(const TListDocument& doc) {
    const char* box = doc.BoxType == BoxSat ? "sat" : doc.BoxType == BoxCable ? "cable" : "none";
    int bouquets = 0, entries = 0, andere = 0, unlinked = 0;
    doc.VTB.ForEach([&](PBNode n) {
        const TBasicBNode* d = n->Data();
        if (!d)
            return;
        if (d->Kind == BKindBouquet && !d->Reserved)
            ++bouquets;
        if (d->Kind != BKindChannel)
            return;
        if (d->Reserved)
            ++andere;
        else
            ++entries;
        if (!d->Channel->Service)
            ++unlinked;
    });
    std::printf("box: %s\n", box);
    std::printf("services: %d tv: %d radio: %d\n", doc.CountAll, doc.CountTV, doc.CountRadio);
    std::printf("bouquets: %d entries: %d andere: %d unlinked: %d\n", bouquets, entries, andere, unlinked);
}

} // namespace

int RunCheck(const TArgs& args) {
    TPairOptions opt;
    if (int rc = ParsePairOptions(args, 1, kCheckHelp, opt); rc >= 0)
        return rc;
    TCliHost host;
    TLoadedPair pair(host);
    int rc = pair.Load(opt);
    if (rc == 2)
        return rc;
    PrintSummary(pair.Doc);
    return FinishOutput(host, rc);
}

int RunResave(const TArgs& args) {
    TPairOptions opt;
    if (int rc = ParsePairOptions(args, 2, kResaveHelp, opt); rc >= 0)
        return rc;
    TCliHost host;
    TLoadedPair pair(host);
    if (int rc = pair.Load(opt); rc != 0)
        return rc;
    // Texts that would not read back are refused before the folder is made.
    TPairTexts texts;
    if (int rc = pair.CheckedTexts(texts); rc != 0)
        return rc;
    std::string outDir = opt.Files[1];
    if (!MakeDirs(outDir)) {
        host.ShowMessage(TMsgKind::Error,
                         cli_texts::FolderFailedBefore + outDir + cli_texts::FolderFailedAfter);
        return 2;
    }
    if (outDir.back() != '/')
        outDir.push_back('/');
    try {
        WriteFilePair(outDir + FileNameOf(opt.Files[0]), texts.Bouquets, outDir + "services.xml",
                      texts.Services);
    } catch (const std::exception& e) {
        host.ShowMessage(TMsgKind::Error, e.what());
        return 2;
    }
    return 0;
}

int RunDump(const TArgs& args) {
    TPairOptions opt;
    if (int rc = ParsePairOptions(args, 1, kDumpHelp, opt); rc >= 0)
        return rc;
    TCliHost host;
    TLoadedPair pair(host);
    if (int rc = pair.Load(opt); rc != 0)
        return rc;
    std::string json = DumpJson(pair.Doc);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return FinishOutput(host, 0);
}

} // namespace xantu
