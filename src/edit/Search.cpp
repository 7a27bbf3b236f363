#include "edit/Search.h"

#include "edit/TypedText.h"
#include "listfiles/FastStrings.h"

namespace xantu {

static bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

TSearchMatcher::TSearchMatcher(const TSearchData& data, std::string encoded, bool listsAreUtf8)
    : data_(data), needle_(std::move(encoded)) {
    // Byte folding through FoldTable is right for Windows-1252 names, and for
    // UTF-8 names as long as the text is plain ASCII (no byte of a multi-byte
    // character folds onto an ASCII letter). Otherwise compare characters.
    utf8Fold_ = listsAreUtf8 && !IsAscii(needle_);
    if (utf8Fold_)
        needleChars_ = QString::fromUtf8(needle_.data(), static_cast<qsizetype>(needle_.size()));
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
    const std::string& caption = node.Caption;
    if (data_.FullMatch)
        return data_.CaseSensitive ? caption == needle_ : EqualAsciiNoCase(caption, needle_);
    if (data_.CaseSensitive)
        return TextPos(needle_, caption, true, 1) != 0;
    if (!utf8Fold_)
        return TextPos(needle_, caption, false, 1) != 0;
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()))
        .contains(needleChars_, Qt::CaseInsensitive);
}

void TBouquetSearch::Start(const TSearchData& data) {
    SearchData = data;
    matcher_ = TSearchMatcher(
        SearchData, Encode ? Encode(SearchData.SearchText) : EncodeTypedName(SearchData.SearchText, utf8_),
        utf8_);
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
