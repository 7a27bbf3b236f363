// The edits of the bouquet tree: new bouquet, deletion, drag and drop with
// move or copy, renaming and the hidden/locked flags, each one undoable, and
// the search. GUI-free: the window passes in its selection and drop target
// and answers through TEditHost.
#pragma once

#include "core/ListDocument.h"
#include "edit/EditHistory.h"
#include "edit/EditHost.h"
#include "edit/Search.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace xantu {

// Where the mouse was, relative to the target node, when the drop happened.
enum class TDropPos { Above, On, Below };

class TBouquetEditor {
  public:
    TBouquetEditor(TListDocument& doc, TEditHost& host);
    TBouquetEditor(const TBouquetEditor&) = delete;
    TBouquetEditor& operator=(const TBouquetEditor&) = delete;

    TListDocument& Doc() { return doc_; }
    TEditHistory& History() { return history_; }
    TBouquetSearch& Search() { return search_; }

    // The lists were emptied or loaded anew: the history and the search
    // position go, the mode returns to move, and the search text follows
    // the new lists' character set.
    void ListsReplaced();

    // Copy/move mode of drag and drop.
    bool CopyMode() const { return copyMode_; }
    void SetCopyMode();
    void SetMoveMode();
    void ToggleCopyMode();

    // A new bouquet "Neu" heading the list; nullptr without a loaded list.
    PBNode NewBouquet();
    // Deletes the selection after the refusals and the question, then refills
    // "andere". True when something was deleted.
    bool DeleteSelection(std::vector<PBNode> selection);

    // Selection in tree order, without nodes whose ancestor is selected too.
    static std::vector<PBNode> TreeOrder(std::vector<PBNode> selection);
    // Reserved and unreserved nodes together, or a single reserved node.
    static bool IsMixed(const std::vector<PBNode>& selection);
    // The acceptance table alone, without boxes.
    static bool AcceptsDrop(const std::vector<PBNode>& selection, PBNode target);
    // In copy mode a selection that holds "andere" is refused with a box and
    // the selection cleared; false then.
    bool CheckCopySelection(const std::vector<PBNode>& selection);
    // Whether a drag of `selection` (started in the bouquet tree) may drop on
    // `target`; may show the copy-mode refusal.
    bool DragOver(const std::vector<PBNode>& selection, PBNode target);
    void DragDrop(std::vector<PBNode> selection, PBNode target, TDropPos pos);
    // A deep copy of `source` at `place` relative to `target`, sharing no
    // model object with it; selected and focused.
    PBNode CopyNodeTo(PBNode source, PBNode target, TAttachMode place);
    // An entry takes its linked service's name; unlinked entries keep theirs.
    void RestoreServiceName(PBNode node);

    // The info panel's edits. `selected` is the first selected node; an
    // entry stands for its bouquet where the edit concerns the bouquet.
    // Names are list bytes (see EncodeTypedName). RenameBouquet refuses the
    // reserved word with a box and returns the name actually given.
    std::string RenameBouquet(PBNode selected, const std::string& name);
    void RenameChannel(PBNode selected, const std::string& name);
    void SetHidden(PBNode selected, bool hidden);
    void SetLocked(PBNode selected, bool locked);
    // The name field lost the focus or the selection moved: the next typed
    // name is a step of its own.
    void EndNameEdit() { history_.CloseSession(); }
    // The lists were loaded or saved as they stand: from now on they count
    // as changed exactly while the history is in another state.
    void MarkSaved() {
        history_.CloseSession();
        savedState_ = history_.State();
    }
    bool AtSavedState() const { return history_.State() == savedState_; }

    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    bool Undo();
    bool Redo();

  private:
    // One node of a drop and where it goes relative to the target.
    struct TDropStep {
        PBNode Node = nullptr;
        TAttachMode Place = TAttachMode::After;
    };
    // Whether the drop may go on: an entry dropped into "andere" that
    // "andere" cannot keep is put into `removed`, and the user is asked once.
    bool AndereDropsAccepted(const std::vector<PBNode>& list, PBNode target,
                             std::unordered_set<PBNode>& removed);
    // What the dragged nodes and the target were when the drop began.
    struct TDropKinds {
        int Kind;
        bool Reserved;
        int TargetKind;
        bool TargetReserved;
    };
    // The i-th node of the drop with its place; `ok` tells whether the drop
    // goes on (the question about moving into "andere" is asked once).
    TDropStep DropStep(const std::vector<PBNode>& list, std::size_t i, const TDropKinds& kinds, TDropPos pos,
                       bool& ok);
    void SetBouquetFlag(PBNode selected, bool TNodeFields::*flag, bool value);
    bool AfterHistoryStep(PBNode select);
    PBNode BouquetNodeOf(PBNode node) const;
    void LinkNewAndere(PBNode andere, std::size_t from);
    void Finish();

    TListDocument& doc_;
    TEditHost& host_;
    TEditHistory history_;
    TBouquetSearch search_;
    uint64_t savedState_ = 0;
    bool copyMode_ = false;
};

} // namespace xantu
