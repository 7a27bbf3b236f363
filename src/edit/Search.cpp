#include "edit/Search.h"

#include "text/ListText.h"

#include <algorithm>
#include <string_view>

namespace xantu {

TSearchMatcher::TSearchMatcher(const TSearchData& data, TNameCharset charset)
    : data_(data), charset_(charset),
      needle_(data.CaseSensitive || data.FullMatch ? data.SearchText : FoldUpper(data.SearchText)) {
    needleAscii_ = std::all_of(needle_.begin(), needle_.end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

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
    // Most captions hold no reference and are already what the tree shows
    // (UTF-8 lists, or plain ASCII): they are compared without a copy.
    const std::string_view caption = node.Caption;
    bool ascii = true;
    bool reference = false;
    for (char c : caption) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        reference = reference || c == '&';
    }
    const bool asStored = !reference && (ascii || (charset_ == TNameCharset::Utf8 && IsValidUtf8(caption)));
    std::string decoded;
    if (!asStored)
        decoded = NameForDisplay(caption, charset_);
    const std::string_view shown = asStored ? std::string_view(caption) : std::string_view(decoded);
    if (data_.FullMatch) // whole match folds A-Z only, even without case
        return data_.CaseSensitive ? shown == needle_ : EqualAsciiNoCase(shown, needle_);
    if (data_.CaseSensitive)
        return shown.find(needle_) != std::string_view::npos;
    if (!needleAscii_)
        return FoldUpper(shown).find(needle_) != std::string::npos;
    // An ASCII text can only meet ASCII characters, and those fold by A-Z
    // alone; the bytes of other characters never equal an ASCII byte.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return std::search(shown.begin(), shown.end(), needle_.begin(), needle_.end(),
                       [&](char h, char n) { return upper(h) == n; }) != shown.end();
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
