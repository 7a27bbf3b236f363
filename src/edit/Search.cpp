#include "edit/Search.h"

#include "text/ListText.h"

namespace xantu {

TSearchMatcher::TSearchMatcher(const TSearchData& data, TNameCharset charset)
    : data_(data), charset_(charset),
      needle_(data.CaseSensitive || data.FullMatch ? data.SearchText : FoldUpper(data.SearchText)) {}

bool TSearchMatcher::Matches(const TBasicBNode& node) const {
    switch (data_.SearchTarget) {
    case SearchServiceId:
        return node.Kind == BKindChannel && node.Channel && node.Channel->ServiceId == data_.SearchValue;
    case SearchOnId:
        return node.Kind == BKindChannel && node.Channel && node.Channel->Onid == data_.SearchValue;
    default:
        break;
    }
    if (needle_.empty())
        return false;
    const std::string shown = NameForDisplay(node.Caption, charset_);
    if (data_.FullMatch) // whole match folds A-Z only, even without case
        return data_.CaseSensitive ? shown == needle_ : EqualAsciiNoCase(shown, needle_);
    if (data_.CaseSensitive)
        return shown.find(needle_) != std::string::npos;
    return FoldUpper(shown).find(needle_) != std::string::npos;
}

void TBouquetSearch::Start(const TSearchData& data) {
    SearchData = data;
    matcher_ = TSearchMatcher(SearchData, charset_);
    SearchNode = tree_.GetFirst();
    Next();
}

PBNode TBouquetSearch::Next() {
    if (!tree_.GetFirst() || !SearchNode || SearchData.SearchText.empty())
        return nullptr;
    for (PBNode n = SearchNode; n; n = tree_.GetNext(n)) {
        const TBasicBNode* d = n->Data();
        if (!d || !matcher_.Matches(*d))
            continue;
        host_.ClearSelection();
        n->Visible = true;
        for (PBNode p = n->Parent(); p; p = p->Parent()) {
            p->Visible = true;
            p->Expanded = true;
        }
        host_.RevealNode(n);
        host_.SelectOnly(n);
        SearchNode = tree_.GetNext(n);
        return n;
    }
    host_.ShowMessage(TMsgKind::Information, "Der Suchstring wurde nicht gefunden!");
    SearchNode = nullptr;
    return nullptr;
}

} // namespace xantu
