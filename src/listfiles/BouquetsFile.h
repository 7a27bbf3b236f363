// bouquets.xml: read into a bouquet tree, written from one; the reserved
// bouquet "andere" and the ties between entries and services.
#pragma once

#include "listfiles/ListTrees.h"

#include <string>
#include <string_view>
#include <vector>

namespace xantu {

class TServiceIndex;

struct TBouquetsRead {
    // Every name read is valid UTF-8.
    bool NamesUtf8 = true;
};

// Empties `tree` and reads the whole text into it: the root "Bouquets", the
// bouquets of the file in order, then the reserved bouquet "andere". A text
// without any bouquet leaves the tree empty. Raises like ReadServices; the
// tree then keeps what was read before.
void ReadBouquets(std::string_view text, TBouquetTree& tree, TBouquetsRead& report);

// The reserved bouquet, or nullptr.
PBNode ReservedBouquet(const TBouquetTree& tree);

// Adds to "andere" one entry for each TV or radio service whose key no entry
// of the tree holds, in services-tree order; `index` must index `services`.
// Returns how many were added.
std::size_t FillAndere(TBouquetTree& tree, const TServiceTree& services, TServiceIndex& index);

// Ties every entry to the first service it matches and gives it that
// service's picture; an entry without service loses any tie it had. With
// `refreshTsids` a tied entry also takes its service's transponder id as
// tsid. Returns the entries without service, in tree order.
std::vector<PBNode> LinkChannels(TBouquetTree& tree, const TServiceIndex& index, bool refreshTsids = false);

// Each tied entry's tsid := the id of its service's transponder.
void RefreshTsids(TBouquetTree& tree);

// The load's ties in two walks: every entry of the file is tied (tsid
// refreshed) and its key marked, then "andere" gets an entry, tied at once,
// for each TV or radio service of an unmarked key, and every service without
// channel number gets "0". The same trees as FillAndere, LinkChannels,
// DefaultChannelNumbers and RefreshTsids one after another.
std::vector<PBNode> LinkLoadedLists(TBouquetTree& tree, TServiceTree& services, TServiceIndex& index);

// The file text for the tree, in the line format of `boxType`; the reserved
// bouquet and its entries are left out. Raises like WriteServices.
std::string WriteBouquets(const TBouquetTree& tree, uint8_t boxType);

} // namespace xantu
