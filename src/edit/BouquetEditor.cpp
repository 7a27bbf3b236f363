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
const char* const kReservedWord = "\"andere\" ist ein reserviertes Wort und\r"
                                  "darf nicht für ein Bouquet verwendet werden!";
const char* const kReservedReplacement = "Bouquet [reserviertes Wort]";

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
