// Finding bouquets and channel entries by name, service id or network id.
#pragma once

#include "core/ListDocument.h"
#include "edit/EditHost.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace xantu {

enum TSearchTarget : uint8_t { SearchNames = 0, SearchServiceId = 1, SearchOnId = 2 };

struct TSearchData {
    std::string SearchText;  // as typed, UTF-8
    int32_t SearchValue = 0; // the text read as hexadecimal (id targets)
    uint8_t SearchTarget = SearchNames;
    bool CaseSensitive = false;
    bool FullMatch = false;
};

// One node test, prepared once per search: the text is encoded like a typed
// name so it compares with the bytes the captions hold.
class TSearchMatcher {
  public:
    TSearchMatcher() = default;
    // `encoded`: the search text as the lists hold a typed name.
    TSearchMatcher(const TSearchData& data, std::string encoded, bool listsAreUtf8);
    bool Matches(const TBasicBNode& node) const;

  private:
    TSearchData data_;
    std::string needle_;
    bool utf8Fold_ = false; // UTF-8 lists and a text beyond ASCII: compare characters
    QString needleChars_;
};

class TBouquetSearch {
  public:
    TBouquetSearch(TBouquetTree& tree, TEditHost& host) : tree_(tree), host_(host) {}

    TSearchData SearchData;
    // Where the next step begins; nullptr when there is no search to go on.
    PBNode SearchNode = nullptr;

    // The lists' character set, for encoding the search text.
    void SetListsUtf8(bool utf8) { utf8_ = utf8; }
    // The window's encoding of a typed name, so that a search text is
    // encoded exactly like the names the user types; without one, the
    // encoding of EncodeTypedName.
    std::function<std::string(std::string_view utf8)> Encode;
    // New parameters from the dialog: remembered, and the search restarts at
    // the tree's root.
    void Start(const TSearchData& data);
    // One step from SearchNode; on a hit the node is revealed and selected.
    // Returns the hit or nullptr.
    PBNode Next();
    // `node` and everything below it is about to be freed.
    void Forget(PBNode node) {
        if (SearchNode && (SearchNode == node || node->IsAncestorOf(SearchNode)))
            SearchNode = nullptr;
    }

  private:
    TBouquetTree& tree_;
    TEditHost& host_;
    TSearchMatcher matcher_;
    bool utf8_ = true;
};

} // namespace xantu
