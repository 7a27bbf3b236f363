// Undo and redo for the bouquet tree. Every edit runs its structural changes
// through this journal, which performs them on the tree and notes how to
// reverse them. Nodes are named by their position (a path of sibling
// indexes), never by address: a step is only ever replayed on the tree in the
// very state it left, so the positions hold, while addresses do not survive a
// deletion and its undo.
//
// Memory: a step keeps only what it changed (moved nodes cost two paths,
// renamed nodes their old and new texts, deleted nodes a copy of themselves),
// the newest kMaxSteps steps are kept, and older ones go once the estimate of
// all steps passes kMaxBytes.
#pragma once

#include "core/ListDocument.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace xantu {

struct TNodePath {
    static constexpr int kMaxDepth = 4;
    uint8_t Depth = 0;
    std::array<uint32_t, kMaxDepth> Index{};
    bool operator==(const TNodePath&) const = default;
};

// Position of `node`; Depth 0 when the tree is deeper than a path can say.
TNodePath PathOf(const TTreeNode<TBasicBNode>* node);
// The node at `path`, or nullptr when there is none.
PBNode NodeAt(const TBouquetTree& tree, const TNodePath& path);

// The parts of a node that edits change in place.
struct TNodeFields {
    TListName Caption;
    TListName Name;
    bool Reserved = false;
    bool Hidden = false;
    bool Locked = false;
    bool operator==(const TNodeFields&) const = default;
};
TNodeFields FieldsOf(const TBasicBNode& node);
void ApplyFields(TBasicBNode& node, const TNodeFields& fields);

// Sets every entry's bouquet link to the bouquet of its parent node.
void RepointBouquets(TBouquetTree& tree);

class TEditHistory {
  public:
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxBytes = 64u << 20;

    explicit TEditHistory(TBouquetTree& tree) : tree_(tree) {}
    TEditHistory(const TEditHistory&) = delete;
    TEditHistory& operator=(const TEditHistory&) = delete;

    // Called with the top of every subtree about to be freed, so that
    // references to nodes inside it can be dropped.
    std::function<void(PBNode)> OnFree;
    // Called after the entries under `parent` changed places through Permute
    // (forwards or backwards): each node kept its row, the contents moved.
    std::function<void(PBNode)> OnPermuted;

    // One step gathers the changes between Begin and Commit. `mergeKey`
    // non-empty: a step with the same key committed right before, with the
    // typing session still open, absorbs this one (one step per typed name).
    void Begin();
    void Commit(const std::string& mergeKey = {});
    bool InStep() const { return open_.has_value(); }
    // Ends the current typing session: the next rename is a step of its own.
    void CloseSession() { sessionOpen_ = false; }
    // The node to select after the step is undone or redone.
    void SetSelectAfterUndo(PBNode node);
    void SetSelectAfterRedo(PBNode node);

    // The changes themselves, performed and recorded. Outside a step they are
    // performed without a record.
    PBNode Insert(std::unique_ptr<TBasicBNode> data, PBNode target, TAttachMode mode);
    PBNode Copy(PBNode source, PBNode target, TAttachMode mode,
                const std::function<std::unique_ptr<TBasicBNode>(const TBasicBNode&)>& clone);
    bool Move(PBNode node, PBNode target, TAttachMode mode);
    void Delete(PBNode node);
    void SetFields(PBNode node, const TNodeFields& fields);
    // Reorders the entries under `parent` in one go: afterwards row i holds
    // what row order[i] held. The nodes stay in their rows and exchange their
    // contents (payload and flags), so the cost is one pass, however far the
    // entries travel. Only for a parent whose children have no children.
    void Permute(PBNode parent, const std::vector<uint32_t>& order);
    // `node` was added by someone else (the refill of "andere").
    void NoteInserted(PBNode node);

    // Names the state the tree is in now: equal values mean the same sequence
    // of steps applied, so an undo back to a saved state gives its value
    // again. A step that absorbs typing keeps the value of the step it joins.
    uint64_t State() const { return undo_.empty() ? baseId_ : undo_.back().Id; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    std::size_t UndoCount() const { return undo_.size(); }
    std::size_t RedoCount() const { return redo_.size(); }
    std::size_t Bytes() const { return bytes_; }
    // Replays one step backwards or forwards; returns the node the step names
    // for selection (nullptr for none). False when there was nothing to do.
    bool Undo(PBNode& select);
    bool Redo(PBNode& select);
    void Clear();

  private:
    struct TMoveRec {
        TNodePath From, To;
    };
    // A subtree that one direction of the step puts into the tree and the
    // other takes out. While out, `Store` holds it.
    struct TTransferRec {
        TNodePath At;
        bool InsertedForward = true;
        std::unique_ptr<TBouquetTree> Store;
    };
    struct TFieldsChange {
        TNodeFields Before, After;
    };
    // The texts live apart, so that the common records stay small.
    struct TFieldsRec {
        TNodePath At;
        std::unique_ptr<TFieldsChange> Change;
    };
    // The new order lives apart, so that the common records stay small.
    struct TPermuteRec {
        TNodePath Parent;
        std::unique_ptr<std::vector<uint32_t>> Order;
    };
    using TRecord = std::variant<TMoveRec, TTransferRec, TFieldsRec, TPermuteRec>;
    struct TStep {
        std::vector<TRecord> Records;
        std::optional<TNodePath> SelectUndo, SelectRedo;
        std::string MergeKey;
        std::size_t Bytes = 0;
        uint64_t Id = 0;
    };

    void Record(TRecord rec, std::size_t bytes);
    void TakeOut(TTransferRec& rec, bool keep = true);
    void PutBack(TTransferRec& rec);
    bool MoveToPath(const TNodePath& from, const TNodePath& to);
    bool ApplyOrder(PBNode parent, const std::vector<uint32_t>& order);
    bool Replay(TStep& step, bool forward);
    void Trim();
    void Clobbered();

    TBouquetTree& tree_;
    std::deque<TStep> undo_, redo_;
    std::optional<TStep> open_;
    bool sessionOpen_ = false;
    std::size_t bytes_ = 0;
    uint64_t nextId_ = 1;
    uint64_t baseId_ = 0; // the state below the oldest step kept
};

} // namespace xantu
