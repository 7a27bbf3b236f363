// What differs between the bouquets of two moments, the pair as it was loaded
// and the pair as it stands now, as the few counts a person takes in at a
// glance before the lists replace those on the box. The two states are
// compared as they are, not through the undo history, so the counts stay
// right after undos, redos and local saves.
#pragma once

#include "core/ListDocument.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xantu {

// The bouquets as the bouquets file holds them. The reserved bouquet and its
// entries are never written, so they take no part.
struct TBouquetSnapshot {
    struct TEntry {
        uint64_t Key = 0; // service id and original network id, the match rule's key
        TListName Name;
    };
    struct TBouquet {
        TListName Name;
        bool Hidden = false;
        bool Locked = false;
        std::vector<TEntry> Entries;
    };
    std::vector<TBouquet> Bouquets;
};

TBouquetSnapshot TakeSnapshot(const TBouquetTree& tree);

struct TChangeCounts {
    int BouquetsAdded = 0;
    int BouquetsDeleted = 0;
    int BouquetsRenamed = 0;
    int BouquetsMoved = 0;
    int BouquetsChanged = 0; // hidden or locked switched
    int EntriesAdded = 0;
    int EntriesRemoved = 0;
    // Into another bouquet, or to another place among the entries of their
    // own bouquet.
    int EntriesMoved = 0;
    int EntriesRenamed = 0;
    bool operator==(const TChangeCounts&) const = default;
};

// Bouquets are paired by name first; those left over by equal or mostly
// equal entries (a renamed bouquet). Entries are paired by service inside a
// pair of bouquets; an entry that leaves one bouquet and turns up in another
// counts as moved, not as removed and added. Linear in the number of entries
// apart from a log factor for the order.
TChangeCounts CompareSnapshots(const TBouquetSnapshot& before, const TBouquetSnapshot& after);

// "Änderungen: 2 Bouquets neu, 1 gelöscht, 41 Einträge hinzugefügt, 17
// verschoben." with the zero parts left out, or "Änderungen: keine."
std::string ChangeSummaryLine(const TChangeCounts& counts);

} // namespace xantu
