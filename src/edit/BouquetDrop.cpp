// The drag and drop of the bouquet editor: nodes moved or copied within the
// bouquet tree, and entries moved into and out of "andere".
#include "edit/BouquetEditor.h"

#include <cstdio>
#include <unordered_set>

namespace xantu {

namespace {

const char* const kMoveIntoAndere = "Soll die Auswahl wirklich nach \"andere\" verschoben werden?\r"
                                    "Es werden dann die ursprünglichen Servicenamen zugewiesen!";
const char* const kAndereDrops =
    "%zu Einträge haben keinen TV- oder Radio-Service und werden entfernt. Fortfahren?";
// A copy of one node as a drop makes it: new payload, same texts, links and
// identifiers, never reserved.
std::unique_ptr<TBasicBNode> CopyForDrop(const TBasicBNode& d) {
    auto w = std::make_unique<TBasicBNode>(d.Caption, d.ImageIndex);
    if (d.Kind == BKindBouquet && d.Bouquet) {
        w->SetBouquet(d.Bouquet->Name, d.Bouquet->Hidden, d.Bouquet->Locked);
    } else if (d.Kind == BKindChannel && d.Channel) {
        const TChannel& c = *d.Channel;
        w->SetChannel(c.Bouquet, c.Name, c.ServiceId, c.Tsid, c.Onid);
        w->Channel->Service = c.Service;
        w->Channel->SatPosition = c.SatPosition;
    } else {
        w->Kind = d.Kind;
    }
    return w;
}

// "andere" is never written; the next load refills it with the TV and radio
// services no bouquet lists. An entry of any other service, or of none,
// would vanish from it at the next save.
bool AndereCanKeep(PBNode node) {
    const TBasicBNode* d = node->Data();
    return d && d->Channel && d->Channel->Service && IsTvOrRadio(d->Channel->Service->ServiceType);
}

} // namespace

void TBouquetEditor::RestoreServiceName(PBNode node) {
    TBasicBNode* d = node ? node->Data() : nullptr;
    if (!d || !d->Channel || !d->Channel->Service)
        return;
    TNodeFields f = FieldsOf(*d);
    f.Caption = d->Channel->Service->Name;
    f.Name = d->Channel->Service->Name;
    const bool ownStep = !history_.InStep();
    if (ownStep)
        history_.Begin();
    history_.SetFields(node, f);
    if (ownStep)
        history_.Commit();
    host_.RepaintNode(node);
}

PBNode TBouquetEditor::CopyNodeTo(PBNode source, PBNode target, TAttachMode place) {
    const bool ownStep = !history_.InStep();
    if (ownStep)
        history_.Begin();
    PBNode copy = history_.Copy(source, target, place, CopyForDrop);
    if (copy && copy->Data()->Kind == BKindBouquet) {
        TBouquet* bouquet = copy->Data()->Bouquet.get();
        for (std::size_t i = 0; i < copy->ChildCount(); ++i)
            if (TBasicBNode* c = copy->Child(i)->Data(); c && c->Channel)
                c->Channel->Bouquet = bouquet;
    }
    if (ownStep) {
        history_.SetSelectAfterRedo(copy);
        history_.Commit();
    }
    if (!copy)
        return nullptr;
    host_.RepaintNode(copy);
    host_.ClearSelection();
    host_.SelectOnly(copy);
    return copy;
}

void TBouquetEditor::DragDrop(std::vector<PBNode> selection, PBNode target, TDropPos pos) {
    const std::vector<PBNode> list = TreeOrder(std::move(selection));
    if (!AcceptsDrop(list, target) || (copyMode_ && IsMixed(list)))
        return;
    std::unordered_set<PBNode> removed;
    if (!AndereDropsAccepted(list, target, removed)) {
        SetMoveMode(); // a drop ends in move, also when declined
        return;
    }
    history_.Begin();
    history_.SetSelectAfterUndo(list.front());
    bool ok = false;
    PBNode lastCopy = nullptr;
    const std::size_t n = list.size();
    // Taken before the first step: the steps change the nodes' flags.
    const TDropKinds kinds{list.front()->Data()->Kind, list.front()->Data()->Reserved, target->Data()->Kind,
                           target->Data()->Reserved};
    for (std::size_t i = 0; i < n; ++i) {
        const TDropStep step = DropStep(list, i, kinds, pos, ok);
        if (!ok || !step.Node)
            break;
        if (removed.count(step.Node)) {
            history_.Delete(step.Node);
            continue;
        }
        if (copyMode_)
            lastCopy = CopyNodeTo(step.Node, target, step.Place);
        else
            history_.Move(step.Node, target, step.Place);
    }
    RepointBouquets(doc_.VTB);
    PBNode kept = lastCopy;
    for (std::size_t i = 0; i < n && !kept; ++i)
        if (!removed.count(list[i]))
            kept = list[i];
    history_.SetSelectAfterRedo(kept ? kept : target);
    history_.Commit();
    host_.RepaintNode(nullptr);
    host_.RefreshInfo();
    // Every drop counts as a change, also one that moved nothing (a "Nein"
    // to the question, a reorder inside "andere").
    host_.SetModified(true);
    host_.HistoryChanged();
    SetMoveMode();
}

bool TBouquetEditor::AndereDropsAccepted(const std::vector<PBNode>& list, PBNode target,
                                         std::unordered_set<PBNode>& removed) {
    // Entries "andere" cannot keep are removed by the move, openly: the user
    // is asked first, and the removal is part of the step undo takes back.
    const TBasicBNode& first = *list.front()->Data();
    if (first.Kind != BKindChannel || !target->Data()->Reserved || first.Reserved)
        return true;
    for (PBNode node : list)
        if (!AndereCanKeep(node))
            removed.insert(node);
    if (removed.empty())
        return true;
    char question[160];
    std::snprintf(question, sizeof question, kAndereDrops, removed.size());
    return host_.Ask(question);
}

TBouquetEditor::TDropStep TBouquetEditor::DropStep(const std::vector<PBNode>& list, std::size_t i,
                                                   const TDropKinds& kinds, TDropPos pos, bool& ok) {
    const std::size_t n = list.size();
    const int kind = kinds.Kind;
    const bool r = kinds.Reserved;
    const int targetKind = kinds.TargetKind;
    const bool rt = kinds.TargetReserved;
    auto setReserved = [&](PBNode node, bool reserved) {
        TNodeFields f = FieldsOf(*node->Data());
        f.Reserved = reserved;
        history_.SetFields(node, f);
    };
    TDropStep step;
    if (targetKind == kind) {
        // Bouquet on bouquet or entry on entry: before the target taken
        // from the front, after it taken from the back, so the nodes
        // keep their order.
        if (pos == TDropPos::Above) {
            step = {list[i], TAttachMode::Before};
        } else {
            step = {list[n - 1 - i], TAttachMode::After};
        }
        if (kind == BKindBouquet) {
            ok = true;
        } else if (!r && !rt) {
            ok = true;
        } else {
            SetMoveMode(); // a drop that touches "andere" always moves
            if (r && !rt) {
                setReserved(step.Node, false);
                ok = true;
            } else if (rt && !r) {
                if (!ok)
                    ok = host_.Ask(kMoveIntoAndere);
                if (ok) {
                    setReserved(step.Node, true);
                    RestoreServiceName(step.Node);
                }
            } else {
                ok = false; // no reordering inside "andere"
            }
        }
    } else if (kind == BKindChannel && targetKind == BKindBouquet) {
        step = {list[n - 1 - i], TAttachMode::FirstChild};
        ok = !(r && rt);
        if (r || rt)
            SetMoveMode();
        if (r && !rt) {
            setReserved(step.Node, false);
        } else if (rt && !r) {
            setReserved(step.Node, true);
            RestoreServiceName(step.Node);
        }
    }
    return step;
}

} // namespace xantu
