#include "edit/BouquetOrder.h"

#include "edit/NameCollation.h"

#include <algorithm>
#include <numeric>

namespace xantu {

namespace {

bool IsEntryOfAndere(PBNode node) {
    const TBasicBNode* d = node->Data();
    return d && d->Kind == BKindChannel && d->Reserved;
}

// The new row of each selected node (in tree order) after `step`; the
// selection stays together where it bumps into the edge.
std::vector<std::size_t> Targets(const std::vector<PBNode>& list, TMoveStep step) {
    const std::size_t n = list.size();
    const std::size_t count = list.front()->Parent()->ChildCount();
    std::vector<std::size_t> to(n);
    switch (step) {
    case TMoveStep::Up: {
        std::size_t free = 0; // the first row the next node may take
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t idx = list[i]->Index();
            to[i] = idx > free ? idx - 1 : idx;
            free = to[i] + 1;
        }
        break;
    }
    case TMoveStep::Down: {
        std::size_t limit = count; // one past the last row the next node may take
        for (std::size_t i = n; i-- > 0;) {
            const std::size_t idx = list[i]->Index();
            to[i] = idx + 1 < limit ? idx + 1 : idx;
            limit = to[i];
        }
        break;
    }
    case TMoveStep::ToTop:
        std::iota(to.begin(), to.end(), std::size_t{0});
        break;
    case TMoveStep::ToEnd:
        std::iota(to.begin(), to.end(), count - n);
        break;
    }
    return to;
}

} // namespace

std::vector<PBNode> TBouquetOrder::Movable(const std::vector<PBNode>& selection) {
    std::vector<PBNode> list = TBouquetEditor::TreeOrder(selection);
    if (list.empty())
        return {};
    PBNode parent = list.front()->Parent();
    for (PBNode n : list)
        if (!n->Data() || n->Parent() != parent || !parent || IsEntryOfAndere(n))
            return {};
    return list;
}

bool TBouquetOrder::CanMove(const std::vector<PBNode>& selection, TMoveStep step) {
    const std::vector<PBNode> list = Movable(selection);
    if (list.empty())
        return false;
    const std::vector<std::size_t> to = Targets(list, step);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (to[i] != list[i]->Index())
            return true;
    return false;
}

bool TBouquetOrder::Move(const std::vector<PBNode>& selection, TMoveStep step) {
    const std::vector<PBNode> list = Movable(selection);
    if (list.empty())
        return false;
    const std::vector<std::size_t> to = Targets(list, step);
    PBNode parent = list.front()->Parent();
    TEditHistory& history = editor_.History();
    host_.BeginBatch();
    history.Begin();
    history.SetSelectAfterUndo(list.front());
    // Nodes going up are placed front to back, nodes going down back to
    // front: each then moves past unselected nodes only, and the rows still
    // to fill stay where Targets computed them.
    const bool down = step == TMoveStep::Down || step == TMoveStep::ToEnd;
    bool moved = false;
    for (std::size_t k = 0; k < list.size(); ++k) {
        const std::size_t i = down ? list.size() - 1 - k : k;
        PBNode node = list[i];
        const std::size_t from = node->Index();
        if (to[i] != from) {
            history.Move(node, parent->Child(to[i]), to[i] < from ? TAttachMode::Before : TAttachMode::After);
            moved = true;
        }
    }
    history.SetSelectAfterRedo(list.front());
    history.Commit();
    host_.EndBatch();
    if (moved)
        Done();
    return moved;
}

std::vector<PBNode> TBouquetOrder::SortableBouquets(const std::vector<PBNode>& selection) {
    std::vector<PBNode> out;
    for (PBNode n : TBouquetEditor::TreeOrder(selection)) {
        const TBasicBNode* d = n->Data();
        PBNode b = d && d->Kind == BKindChannel ? n->Parent() : n;
        const TBasicBNode* bd = b ? b->Data() : nullptr;
        if (!bd || bd->Kind != BKindBouquet || bd->Reserved)
            continue;
        if (std::find(out.begin(), out.end(), b) == out.end())
            out.push_back(b);
    }
    return out;
}

std::size_t TBouquetOrder::Sort(const std::vector<PBNode>& selection, TSortKey key) {
    const std::vector<PBNode> bouquets = SortableBouquets(selection);
    if (bouquets.empty())
        return 0;
    const TListDocument& doc = editor_.Doc();
    TEditHistory& history = editor_.History();
    host_.BeginBatch();
    history.Begin();
    history.SetSelectAfterUndo(bouquets.front());
    std::size_t changed = 0;
    for (PBNode b : bouquets) {
        const std::size_t n = b->ChildCount();
        std::vector<std::size_t> order(n);
        std::iota(order.begin(), order.end(), std::size_t{0});
        switch (key) {
        case TSortKey::Name: {
            std::vector<TCollationKey> keys;
            keys.reserve(n);
            for (std::size_t i = 0; i < n; ++i)
                keys.push_back(MakeCollationKey(doc.Display(b->Child(i)->Data()->Caption)));
            std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
                return CompareCollation(keys[x], keys[y]) < 0;
            });
            break;
        }
        case TSortKey::ServiceId: {
            auto sid = [&](std::size_t i) -> int64_t {
                const TChannel* c = b->Child(i)->Data()->Channel.get();
                return c ? static_cast<uint32_t>(c->ServiceId) : -1;
            };
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t x, std::size_t y) { return sid(x) < sid(y); });
            break;
        }
        case TSortKey::Reverse:
            std::reverse(order.begin(), order.end());
            break;
        }
        // One pass over the bouquet, however far the entries travel.
        std::vector<uint32_t> rows(order.begin(), order.end());
        bool moved = false;
        for (std::size_t i = 0; i < n && !moved; ++i)
            moved = rows[i] != i;
        if (moved)
            history.Permute(b, rows);
        changed += moved ? 1 : 0;
    }
    history.SetSelectAfterRedo(bouquets.front());
    history.Commit();
    host_.EndBatch();
    if (changed > 0) {
        host_.RepaintNode(nullptr);
        Done();
    }
    return changed;
}

void TBouquetOrder::Done() {
    host_.RefreshInfo();
    host_.SetModified(!editor_.AtSavedState());
    host_.HistoryChanged();
}

} // namespace xantu
