// Finding bouquets and channel entries by name, service id or network id.
#pragma once

#include "core/ListDocument.h"
#include "edit/EditHost.h"

#include <cstdint>
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

// One node test, prepared once per search. Names are compared as the tree
// shows them: the caption decoded in the lists' character set with its
// entities and character references resolved, against the text as typed.
class TSearchMatcher {
  public:
    TSearchMatcher() = default;
    TSearchMatcher(const TSearchData& data, TNameCharset charset);
    bool Matches(const TBasicBNode& node) const;

  private:
    TSearchData data_;
    TNameCharset charset_ = TNameCharset::Utf8;
    std::string needle_; // the typed text, upper-cased unless case counts
    bool needleAscii_ = true;
};

class TBouquetSearch {
  public:
    // `charset`: the lists' character set, read at each start of a search.
    TBouquetSearch(TBouquetTree& tree, TEditHost& host, const TNameCharset& charset)
        : tree_(tree), host_(host), charset_(charset) {}

    TSearchData SearchData;
    // Where the next step begins; nullptr when there is no search to go on.
    PBNode SearchNode = nullptr;

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
    const TNameCharset& charset_;
    TSearchMatcher matcher_;
};

} // namespace xantu
