#include "edit/BouquetEditor.h"

#include "text/ListText.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace xantu {

namespace {

const char* const kDeleteAndere = "Die Auswahl zum Löschen enthält \"andere\"!\rDas ist nicht erlaubt!";
const char* const kDeleteQuestion = "Wollen Sie die Auswahl wirklich löschen?\r\r"
                                    "Die einzelnen Channel befinden sich dann unter\r"
                                    "ihrem ursprünglichen Servicenamen in \"andere\".\r\r"
                                    "Bouquetnamen gehen verloren!";
const char* const kCopyAndere =
    "\"andere\" darf beim Kopieren nicht in der Auswahl sein!\rDie Auswahl wird aufgehoben.";
const char* const kMoveIntoAndere = "Soll die Auswahl wirklich nach \"andere\" verschoben werden?\r"
                                    "Es werden dann die ursprünglichen Servicenamen zugewiesen!";
const char* const kAndereDrops =
    "%zu Einträge haben keinen TV- oder Radio-Service und werden entfernt. Fortfahren?";
const char* const kReservedWord = "\"andere\" ist ein reserviertes Wort und\r"
                                  "darf nicht für ein Bouquet verwendet werden!";
const char* const kReservedReplacement = "Bouquet [reserviertes Wort]";

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

std::string PathKey(PBNode node) {
    TNodePath p = PathOf(node);
    std::string key;
    for (std::size_t i = 0; i < p.Depth; ++i)
        key += std::to_string(p.Index[i]) + '/';
    return key;
}

bool IsTopLevel(PBNode node) {
    return node->Parent() == nullptr;
}

// "andere" is never written; the next load refills it with the TV and radio
// services no bouquet lists. An entry of any other service, or of none,
// would vanish from it at the next save.
bool AndereCanKeep(PBNode node) {
    const TBasicBNode* d = node->Data();
    return d && d->Channel && d->Channel->Service && IsTvOrRadio(d->Channel->Service->ServiceType);
}

} // namespace

TBouquetEditor::TBouquetEditor(TListDocument& doc, TEditHost& host)
    : doc_(doc), host_(host), history_(doc.VTB), search_(doc.VTB, host, doc.NameCharset) {
    history_.OnFree = [this](PBNode node) { search_.Forget(node); };
}

void TBouquetEditor::ListsReplaced() {
    history_.Clear();
    search_.SearchNode = nullptr;
    SetMoveMode();
    host_.HistoryChanged();
}

void TBouquetEditor::SetCopyMode() {
    copyMode_ = true;
    host_.CopyModeChanged(true);
}

void TBouquetEditor::SetMoveMode() {
    copyMode_ = false;
    host_.CopyModeChanged(false);
}

void TBouquetEditor::ToggleCopyMode() {
    if (copyMode_)
        SetMoveMode();
    else
        SetCopyMode();
}

void TBouquetEditor::Finish() {
    host_.SetModified(!AtSavedState());
    host_.HistoryChanged();
}

PBNode TBouquetEditor::NewBouquet() {
    PBNode root = doc_.VTB.GetFirst();
    if (!root)
        return nullptr;
    host_.ShowBouquetsPage();
    auto w = std::make_unique<TBasicBNode>("Neu", ImgStructure);
    w->SetBouquet("Neu", false, false);
    history_.Begin();
    PBNode node = history_.Insert(std::move(w), root, TAttachMode::FirstChild);
    history_.SetSelectAfterRedo(node);
    history_.Commit();
    host_.ClearSelection();
    host_.SelectOnly(node);
    Finish();
    return node;
}

std::vector<PBNode> TBouquetEditor::TreeOrder(std::vector<PBNode> selection) {
    std::erase(selection, nullptr);
    std::vector<std::pair<TNodePath, PBNode>> keyed;
    keyed.reserve(selection.size());
    for (PBNode n : selection)
        keyed.emplace_back(PathOf(n), n);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const TNodePath &x = a.first, &y = b.first;
        return std::lexicographical_compare(x.Index.begin(), x.Index.begin() + x.Depth, y.Index.begin(),
                                            y.Index.begin() + y.Depth);
    });
    std::unordered_set<PBNode> chosen(selection.begin(), selection.end());
    std::vector<PBNode> out;
    out.reserve(keyed.size());
    for (const auto& [path, n] : keyed) {
        bool below = false;
        for (PBNode p = n->Parent(); p && !below; p = p->Parent())
            below = chosen.count(p) != 0;
        if (!below && (out.empty() || out.back() != n))
            out.push_back(n);
    }
    return out;
}

bool TBouquetEditor::DeleteSelection(std::vector<PBNode> selection) {
    std::vector<PBNode> list = TreeOrder(std::move(selection));
    if (list.empty() || IsTopLevel(list.front()))
        return false;
    for (PBNode n : list)
        if (n->Data() && n->Data()->Reserved) {
            host_.ShowMessage(TMsgKind::Error, kDeleteAndere);
            return false;
        }
    if (!host_.Ask(kDeleteQuestion))
        return false;
    history_.Begin();
    history_.SetSelectAfterUndo(list.front());
    for (PBNode n : list)
        history_.Delete(n);
    PBNode andere = doc_.ReservedBouquet();
    const std::size_t before = andere ? andere->ChildCount() : 0;
    doc_.FillAndere();
    if (andere) {
        LinkNewAndere(andere, before);
        for (std::size_t i = before; i < andere->ChildCount(); ++i)
            history_.NoteInserted(andere->Child(i));
    }
    history_.Commit();
    // A deletion is an edit like any other: without the flag, closing or
    // loading would throw it away without asking.
    Finish();
    return true;
}

// Entries the refill adds are tied to their services at once, as a load
// would tie them; otherwise they would go without their service (no name to
// restore, no satellite position to write) until the next load.
void TBouquetEditor::LinkNewAndere(PBNode andere, std::size_t from) {
    for (std::size_t i = from; i < andere->ChildCount(); ++i) {
        TChannel* c = andere->Child(i)->Data()->Channel.get();
        if (!c)
            continue;
        PSNode service = doc_.FindService(*c);
        c->Service = service ? service->Data()->Channel.get() : nullptr;
        if (doc_.BoxType == BoxSat && c->Service && c->Service->Transponder && c->Service->Transponder->Sat)
            c->SatPosition = c->Service->Transponder->Sat->Position;
    }
}

bool TBouquetEditor::IsMixed(const std::vector<PBNode>& selection) {
    bool reserved = false, ordinary = false;
    for (PBNode n : selection) {
        if (n->Data() && n->Data()->Reserved)
            reserved = true;
        else
            ordinary = true;
    }
    return (reserved && ordinary) || (selection.size() == 1 && reserved);
}

bool TBouquetEditor::AcceptsDrop(const std::vector<PBNode>& selection, PBNode target) {
    if (selection.empty() || !target || target == selection.front())
        return false;
    const TBasicBNode* first = selection.front()->Data();
    const TBasicBNode* t = target->Data();
    if (!first || !t)
        return false;
    if (first->Kind == BKindBouquet)
        return t->Kind == BKindBouquet;
    if (first->Kind == BKindChannel)
        return t->Kind == BKindBouquet || t->Kind == BKindChannel;
    return false;
}

bool TBouquetEditor::CheckCopySelection(const std::vector<PBNode>& selection) {
    if (!copyMode_ || !IsMixed(selection))
        return true;
    host_.ShowMessage(TMsgKind::Error, kCopyAndere);
    host_.ClearSelection();
    return false;
}

bool TBouquetEditor::DragOver(const std::vector<PBNode>& selection, PBNode target) {
    if (selection.empty() || !target)
        return false;
    if (!CheckCopySelection(TreeOrder(selection)))
        return false;
    return AcceptsDrop(TreeOrder(selection), target);
}

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

PBNode TBouquetEditor::BouquetNodeOf(PBNode node) const {
    if (!node || !node->Data())
        return nullptr;
    if (node->Data()->Kind == BKindChannel)
        node = node->Parent();
    if (!node || !node->Data() || node->Data()->Kind != BKindBouquet || !node->Data()->Bouquet)
        return nullptr;
    return node;
}

std::string TBouquetEditor::RenameBouquet(PBNode selected, const std::string& name) {
    std::string applied = name;
    if (IsReservedBouquetName(name)) {
        host_.ShowMessage(TMsgKind::Error, kReservedWord);
        applied = kReservedReplacement;
    }
    PBNode bouquet = BouquetNodeOf(selected);
    // "andere" keeps its name; its panel offers no name field.
    if (!bouquet || bouquet->Data()->Reserved)
        return applied;
    TNodeFields f = FieldsOf(*bouquet->Data());
    f.Caption = applied;
    f.Name = applied;
    history_.Begin();
    history_.SetSelectAfterUndo(selected);
    history_.SetSelectAfterRedo(selected);
    history_.SetFields(bouquet, f);
    history_.Commit("bouquet:" + PathKey(bouquet));
    host_.RepaintNode(bouquet);
    Finish();
    return applied;
}

void TBouquetEditor::RenameChannel(PBNode selected, const std::string& name) {
    TBasicBNode* d = selected ? selected->Data() : nullptr;
    // Entries of "andere" keep the names of their services.
    if (!d || d->Kind != BKindChannel || !d->Channel || d->Reserved)
        return;
    TNodeFields f = FieldsOf(*d);
    f.Caption = name;
    f.Name = name;
    history_.Begin();
    history_.SetSelectAfterUndo(selected);
    history_.SetSelectAfterRedo(selected);
    history_.SetFields(selected, f);
    history_.Commit("channel:" + PathKey(selected));
    host_.RepaintNode(selected);
    Finish();
}

void TBouquetEditor::SetHidden(PBNode selected, bool hidden) {
    SetBouquetFlag(selected, &TNodeFields::Hidden, hidden);
}

void TBouquetEditor::SetLocked(PBNode selected, bool locked) {
    SetBouquetFlag(selected, &TNodeFields::Locked, locked);
}

void TBouquetEditor::SetBouquetFlag(PBNode selected, bool TNodeFields::*flag, bool value) {
    // A channel entry stands for its bouquet.
    PBNode bouquet = BouquetNodeOf(selected);
    if (!bouquet)
        return;
    TNodeFields f = FieldsOf(*bouquet->Data());
    f.*flag = value;
    history_.Begin();
    history_.SetSelectAfterUndo(selected);
    history_.SetSelectAfterRedo(selected);
    history_.SetFields(bouquet, f);
    history_.Commit();
    Finish();
}

namespace {

// Holds the views' rows together for one history step. The step must be
// over before anything looks at the rows again (the selection above all):
// until then the views still hold places of nodes the step freed.
class TBatchGuard {
  public:
    explicit TBatchGuard(TEditHost& host) : host_(host) { host_.BeginBatch(); }
    ~TBatchGuard() { host_.EndBatch(); }
    TBatchGuard(const TBatchGuard&) = delete;
    TBatchGuard& operator=(const TBatchGuard&) = delete;

  private:
    TEditHost& host_;
};

} // namespace

bool TBouquetEditor::Undo() {
    PBNode select = nullptr;
    bool stepped = false;
    {
        TBatchGuard batch(host_);
        stepped = history_.Undo(select);
    }
    return stepped && AfterHistoryStep(select);
}

bool TBouquetEditor::Redo() {
    PBNode select = nullptr;
    bool stepped = false;
    {
        TBatchGuard batch(host_);
        stepped = history_.Redo(select);
    }
    return stepped && AfterHistoryStep(select);
}

bool TBouquetEditor::AfterHistoryStep(PBNode select) {
    // The step changed the tree behind the view: show the page and the node
    // it names, and refill the panels.
    host_.ShowBouquetsPage();
    host_.ClearSelection();
    if (select)
        host_.SelectOnly(select);
    host_.RepaintNode(nullptr);
    host_.RefreshInfo();
    Finish();
    return true;
}

} // namespace xantu
