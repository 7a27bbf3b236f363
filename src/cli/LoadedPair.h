// The editor's open, without a window: satellite positions, the two files
// from one folder, and the load sequence.
#pragma once

#include "core/ListDocument.h"
#include "core/PairFiles.h"

#include <string>
#include <vector>

namespace xantu {

struct TPairOptions {
    std::string SatPositionsFile; // empty: satpositionen.xml beside the program
    std::vector<std::string> Files;
};

// Parses "[--satpositions FILE] FILE..." with exactly `fileCount` files.
// Returns -1 when the command should run, else the exit status to end with
// (0 after --help, 2 after a usage error, both already printed).
int ParsePairOptions(const std::vector<std::string>& args, std::size_t fileCount, const char* help,
                     TPairOptions& opt);

class TLoadedPair {
  public:
    explicit TLoadedPair(TListHost& host) : Doc(&host), host_(host) {}
    // 0 loaded, 1 the lists or the position list did not load, 2 files
    // missing or unreadable.
    int Load(const TPairOptions& opt);
    // Satellite positions as the editor reads them at start; false when the
    // list file exists but has no satellites element.
    bool LoadPositions(const std::string& file);
    // The two texts a save would write, checked to read back as the lists
    // are; 0, or 1 after the refusal was shown.
    int CheckedTexts(TPairTexts& texts);

    TListDocument Doc;
    // The files as read; emptied by the load.
    std::string BouquetsText;
    std::string ServicesText;

  private:
    TListHost& host_;
};

} // namespace xantu
