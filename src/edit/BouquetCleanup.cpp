#include "edit/BouquetCleanup.h"

#include "edit/Texts.h"

#include <cstdio>
#include <unordered_set>

namespace xantu {

namespace {

// The bouquets the clean-up looks into: all but "andere".
template <class Fn> void ForEachOrdinaryBouquet(const TListDocument& doc, Fn&& fn) {
    PBNode root = doc.VTB.GetFirst();
    for (std::size_t i = 0; root && i < root->ChildCount(); ++i) {
        PBNode b = root->Child(i);
        const TBasicBNode* d = b->Data();
        if (d && d->Kind == BKindBouquet && !d->Reserved)
            fn(b);
    }
}

} // namespace

std::vector<PBNode> TBouquetCleanup::WithoutService() const {
    std::vector<PBNode> out;
    ForEachOrdinaryBouquet(editor_.Doc(), [&](PBNode b) {
        for (std::size_t i = 0; i < b->ChildCount(); ++i) {
            const TChannel* c = b->Child(i)->Data()->Channel.get();
            if (!c || !c->Service)
                out.push_back(b->Child(i));
        }
    });
    return out;
}

std::vector<PBNode> TBouquetCleanup::Duplicates() const {
    std::vector<PBNode> out;
    std::unordered_set<uint64_t> seen;
    ForEachOrdinaryBouquet(editor_.Doc(), [&](PBNode b) {
        seen.clear();
        seen.reserve(b->ChildCount());
        for (std::size_t i = 0; i < b->ChildCount(); ++i) {
            const TChannel* c = b->Child(i)->Data()->Channel.get();
            if (!c)
                continue;
            // The match rule: service id and original network id.
            const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(c->ServiceId)) << 32) |
                                 static_cast<uint32_t>(c->Onid);
            if (!seen.insert(key).second)
                out.push_back(b->Child(i));
        }
    });
    return out;
}

std::size_t TBouquetCleanup::RemoveWithoutService() {
    const std::vector<PBNode> entries = WithoutService();
    if (entries.empty()) {
        host_.ShowMessage(TMsgKind::Information, edit_texts::kNoneWithoutService);
        return 0;
    }
    char question[200];
    std::snprintf(question, sizeof question, edit_texts::kRemoveWithoutServiceQuestion,
                  static_cast<int>(entries.size()));
    if (!host_.Ask(question))
        return 0;
    Remove(entries);
    Report(edit_texts::kRemovedWithoutService, entries.size());
    return entries.size();
}

std::size_t TBouquetCleanup::RemoveDuplicates() {
    const std::vector<PBNode> entries = Duplicates();
    if (entries.empty()) {
        host_.ShowMessage(TMsgKind::Information, edit_texts::kNoDuplicates);
        return 0;
    }
    Remove(entries);
    Report(edit_texts::kRemovedDuplicates, entries.size());
    return entries.size();
}

void TBouquetCleanup::Remove(const std::vector<PBNode>& entries) {
    TEditHistory& history = editor_.History();
    host_.ClearSelection();
    host_.BeginBatch();
    history.Begin();
    history.SetSelectAfterUndo(entries.front());
    // From the back: every removal then shifts only the rows behind it, and
    // the rows of the entries still to go stay as they were.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        history.Delete(*it);
    history.Commit();
    host_.EndBatch();
    host_.RepaintNode(nullptr);
    host_.RefreshInfo();
    host_.SetModified(!editor_.AtSavedState());
    host_.HistoryChanged();
}

void TBouquetCleanup::Report(const char* format, std::size_t count) {
    char text[160];
    std::snprintf(text, sizeof text, format, static_cast<int>(count));
    host_.ShowMessage(TMsgKind::Information, text);
}

} // namespace xantu
