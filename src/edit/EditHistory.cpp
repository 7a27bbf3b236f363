#include "edit/EditHistory.h"

#include <algorithm>

namespace xantu {

TNodePath PathOf(const TTreeNode<TBasicBNode>* node) {
    TNodePath path;
    int depth = node ? node->Level() + 1 : 0;
    if (depth > TNodePath::kMaxDepth)
        return path;
    path.Depth = static_cast<uint8_t>(depth);
    for (const TTreeNode<TBasicBNode>* n = node; n; n = n->Parent())
        path.Index[static_cast<std::size_t>(--depth)] = static_cast<uint32_t>(n->Index());
    return path;
}

PBNode NodeAt(const TBouquetTree& tree, const TNodePath& path) {
    if (path.Depth == 0 || path.Index[0] >= tree.TopCount())
        return nullptr;
    PBNode n = tree.Top(path.Index[0]);
    for (std::size_t d = 1; d < path.Depth; ++d) {
        if (path.Index[d] >= n->ChildCount())
            return nullptr;
        n = n->Child(path.Index[d]);
    }
    return n;
}

TNodeFields FieldsOf(const TBasicBNode& node) {
    TNodeFields f;
    f.Caption = node.Caption;
    f.Reserved = node.Reserved;
    if (node.Bouquet) {
        f.Name = node.Bouquet->Name;
        f.Hidden = node.Bouquet->Hidden;
        f.Locked = node.Bouquet->Locked;
    } else if (node.Channel) {
        f.Name = node.Channel->Name;
    }
    return f;
}

void ApplyFields(TBasicBNode& node, const TNodeFields& f) {
    node.Caption = f.Caption;
    node.Reserved = f.Reserved;
    if (node.Bouquet) {
        node.Bouquet->Name = f.Name;
        node.Bouquet->Hidden = f.Hidden;
        node.Bouquet->Locked = f.Locked;
    } else if (node.Channel) {
        node.Channel->Name = f.Name;
    }
}

void RepointBouquets(TBouquetTree& tree) {
    tree.ForEach([](PBNode n) {
        TBasicBNode* d = n->Data();
        if (!d || d->Kind != BKindChannel || !d->Channel)
            return;
        PBNode parent = n->Parent();
        TBasicBNode* pd = parent ? parent->Data() : nullptr;
        d->Channel->Bouquet = pd ? pd->Bouquet.get() : nullptr;
    });
}

namespace {

std::unique_ptr<TBasicBNode> CloneData(const TBasicBNode& d) {
    return d.Clone();
}

std::size_t NodeBytes(const TBasicBNode* d) {
    std::size_t n = sizeof(TTreeNode<TBasicBNode>) + sizeof(void*);
    if (!d)
        return n;
    n += sizeof(TBasicBNode) + d->Caption.size();
    if (d->Bouquet)
        n += sizeof(TBouquet) + d->Bouquet->Name.size();
    if (d->Channel)
        n += sizeof(TChannel) + d->Channel->Name.size() + d->Channel->SatPosition.capacity();
    return n;
}

std::size_t SubtreeBytes(const TTreeNode<TBasicBNode>* node) {
    std::size_t n = NodeBytes(node->Data());
    for (std::size_t i = 0; i < node->ChildCount(); ++i)
        n += SubtreeBytes(node->Child(i));
    return n;
}

// The node at path[0..depth) in the tree as it would be without `skip`.
PBNode ResolveSkipping(const TBouquetTree& tree, const TNodePath& path, std::size_t depth, PBNode skip) {
    PBNode n = nullptr;
    for (std::size_t d = 0; d < depth; ++d) {
        std::size_t i = path.Index[d];
        if (skip && skip->Parent() == n && skip->Index() <= i)
            ++i;
        std::size_t count = n ? n->ChildCount() : tree.TopCount();
        if (i >= count)
            return nullptr;
        n = n ? n->Child(i) : tree.Top(i);
    }
    return n;
}

// The tree operation that puts a node at row `row` under `parent` (top level
// when nullptr), counted among the siblings other than `skip`.
bool PlaceAt(const TBouquetTree& tree, PBNode parent, std::size_t row, PBNode skip, PBNode& target,
             TAttachMode& mode) {
    std::size_t count = parent ? parent->ChildCount() : tree.TopCount();
    auto sibling = [&](std::size_t i) { return parent ? parent->Child(i) : tree.Top(i); };
    bool skipHere = skip && skip->Parent() == parent;
    std::size_t available = count - (skipHere ? 1 : 0);
    if (row > available)
        return false;
    if (row == 0) {
        if (parent) {
            target = parent;
            mode = TAttachMode::FirstChild;
            return true;
        }
        std::size_t first = skipHere && skip->Index() == 0 ? 1 : 0;
        if (first < count) {
            target = sibling(first);
            mode = TAttachMode::Before;
        } else {
            target = nullptr;
            mode = TAttachMode::LastChild;
        }
        return true;
    }
    std::size_t before = row - 1;
    if (skipHere && skip->Index() <= before)
        ++before;
    target = sibling(before);
    mode = TAttachMode::After;
    return true;
}

} // namespace

void TEditHistory::Begin() {
    // Built first and moved in: clang asks is_constructible of the nested
    // step type before its member initializers are seen and refuses
    // emplace() without arguments.
    if (!open_)
        open_ = TStep{};
}

void TEditHistory::Commit(const std::string& mergeKey) {
    if (!open_)
        return;
    TStep step = std::move(*open_);
    open_.reset();
    if (step.Records.empty()) {
        if (mergeKey.empty())
            sessionOpen_ = false;
        return;
    }
    bytes_ += step.Bytes;
    for (const TStep& s : redo_)
        bytes_ -= s.Bytes;
    redo_.clear();
    if (!mergeKey.empty() && sessionOpen_ && !undo_.empty() && undo_.back().MergeKey == mergeKey) {
        TStep& last = undo_.back();
        for (TRecord& rec : step.Records) {
            auto* fields = std::get_if<TFieldsRec>(&rec);
            auto same = fields ? std::find_if(last.Records.begin(), last.Records.end(),
                                              [&](const TRecord& r) {
                                                  auto* f = std::get_if<TFieldsRec>(&r);
                                                  return f && f->At == fields->At;
                                              })
                               : last.Records.end();
            if (same != last.Records.end())
                std::get<TFieldsRec>(*same).Change->After = std::move(fields->Change->After);
            else
                last.Records.push_back(std::move(rec));
        }
        if (step.SelectRedo)
            last.SelectRedo = step.SelectRedo;
        // The absorbed step's texts now live in the older one; count them once.
        bytes_ -= step.Bytes;
        bytes_ -= last.Bytes;
        last.Bytes = 0;
        for (const TRecord& r : last.Records)
            if (auto* f = std::get_if<TFieldsRec>(&r))
                last.Bytes += sizeof(TRecord) + sizeof(TFieldsChange) + f->Change->Before.Caption.size() +
                              f->Change->Before.Name.size() + f->Change->After.Caption.size() +
                              f->Change->After.Name.size();
            else
                last.Bytes += sizeof(TRecord);
        bytes_ += last.Bytes;
    } else {
        step.MergeKey = mergeKey;
        step.Id = nextId_++;
        undo_.push_back(std::move(step));
    }
    sessionOpen_ = !mergeKey.empty();
    Trim();
}

void TEditHistory::Trim() {
    while (undo_.size() > kMaxSteps || (bytes_ > kMaxBytes && undo_.size() > 1)) {
        bytes_ -= undo_.front().Bytes;
        baseId_ = undo_.front().Id;
        undo_.pop_front();
    }
}

void TEditHistory::SetSelectAfterUndo(PBNode node) {
    if (open_)
        open_->SelectUndo = node ? std::optional<TNodePath>(PathOf(node)) : std::nullopt;
}

void TEditHistory::SetSelectAfterRedo(PBNode node) {
    if (open_)
        open_->SelectRedo = node ? std::optional<TNodePath>(PathOf(node)) : std::nullopt;
}

void TEditHistory::Record(TRecord rec, std::size_t bytes) {
    if (!open_) {
        // A change nobody can replay: the positions of older steps no longer
        // hold, so they go.
        Clear();
        return;
    }
    open_->Records.push_back(std::move(rec));
    open_->Bytes += sizeof(TRecord) + bytes;
}

PBNode TEditHistory::Insert(std::unique_ptr<TBasicBNode> data, PBNode target, TAttachMode mode) {
    PBNode node = tree_.Insert(std::move(data), target, mode);
    NoteInserted(node);
    return node;
}

void TEditHistory::NoteInserted(PBNode node) {
    TTransferRec rec;
    rec.At = PathOf(node);
    rec.InsertedForward = true;
    Record(std::move(rec), 0);
}

PBNode TEditHistory::Copy(PBNode source, PBNode target, TAttachMode mode,
                          const std::function<std::unique_ptr<TBasicBNode>(const TBasicBNode&)>& clone) {
    PBNode copy = nullptr;
    if (source == target || source->IsAncestorOf(target)) {
        // The tree refuses to copy a node next to itself; build the copy by
        // hand from a detached duplicate of the source.
        TBouquetTree scratch;
        PBNode dup = scratch.CopyTo(source, nullptr, TAttachMode::LastChild, CloneData);
        copy = tree_.CopyTo(dup, target, mode, clone);
    } else {
        copy = tree_.CopyTo(source, target, mode, clone);
    }
    if (copy)
        NoteInserted(copy);
    return copy;
}

bool TEditHistory::Move(PBNode node, PBNode target, TAttachMode mode) {
    TMoveRec rec;
    rec.From = PathOf(node);
    if (!tree_.MoveTo(node, target, mode))
        return false;
    rec.To = PathOf(node);
    if (!(rec.From == rec.To))
        Record(rec, 0);
    return true;
}

void TEditHistory::Delete(PBNode node) {
    TTransferRec rec;
    rec.At = PathOf(node);
    rec.InsertedForward = false;
    std::size_t bytes = SubtreeBytes(node);
    TakeOut(rec, open_.has_value());
    Record(std::move(rec), bytes);
}

void TEditHistory::SetFields(PBNode node, const TNodeFields& fields) {
    TBasicBNode* d = node->Data();
    if (!d)
        return;
    TFieldsRec rec;
    rec.At = PathOf(node);
    rec.Change = std::make_unique<TFieldsChange>();
    TFieldsChange& c = *rec.Change;
    c.Before = FieldsOf(*d);
    if (c.Before == fields)
        return;
    c.After = fields;
    ApplyFields(*d, fields);
    std::size_t bytes = sizeof(TFieldsChange) + c.Before.Caption.size() + c.Before.Name.size() +
                        c.After.Caption.size() + c.After.Name.size();
    Record(std::move(rec), bytes);
}

void TEditHistory::Permute(PBNode parent, const std::vector<uint32_t>& order) {
    if (!parent || order.size() != parent->ChildCount())
        return;
    bool identity = true;
    for (std::size_t i = 0; i < order.size() && identity; ++i)
        identity = order[i] == i;
    if (identity || !ApplyOrder(parent, order))
        return;
    TPermuteRec rec;
    rec.Parent = PathOf(parent);
    rec.Order = std::make_unique<std::vector<uint32_t>>(order);
    Record(std::move(rec), sizeof(std::vector<uint32_t>) + order.size() * sizeof(uint32_t));
}

bool TEditHistory::ApplyOrder(PBNode parent, const std::vector<uint32_t>& order) {
    const std::size_t n = parent->ChildCount();
    if (order.size() != n)
        return false;
    std::vector<std::unique_ptr<TBasicBNode>> data(n);
    std::vector<uint8_t> flags(n);
    // A true permutation of leaves, or nothing: a payload given twice would
    // leave another row without one.
    std::vector<bool> seen(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (parent->Child(i)->ChildCount() > 0 || order[i] >= n || seen[order[i]])
            return false;
        seen[order[i]] = true;
    }
    for (std::size_t i = 0; i < n; ++i) {
        PBNode c = parent->Child(i);
        data[i] = tree_.SwapData(c, nullptr);
        flags[i] = static_cast<uint8_t>((c->Visible ? 1 : 0) | (c->Expanded ? 2 : 0));
    }
    for (std::size_t i = 0; i < n; ++i) {
        PBNode c = parent->Child(i);
        tree_.SwapData(c, std::move(data[order[i]]));
        c->Visible = (flags[order[i]] & 1) != 0;
        c->Expanded = (flags[order[i]] & 2) != 0;
    }
    if (OnPermuted)
        OnPermuted(parent);
    return true;
}

void TEditHistory::TakeOut(TTransferRec& rec, bool keep) {
    PBNode node = NodeAt(tree_, rec.At);
    if (!node)
        return;
    if (OnFree)
        OnFree(node);
    if (keep) {
        rec.Store = std::make_unique<TBouquetTree>();
        rec.Store->CopyTo(node, nullptr, TAttachMode::LastChild, CloneData);
    }
    tree_.Delete(node);
}

void TEditHistory::PutBack(TTransferRec& rec) {
    if (!rec.Store || rec.Store->TopCount() == 0)
        return;
    PBNode parent = rec.At.Depth > 1 ? ResolveSkipping(tree_, rec.At, rec.At.Depth - 1u, nullptr) : nullptr;
    PBNode target = nullptr;
    TAttachMode mode = TAttachMode::LastChild;
    if ((rec.At.Depth > 1 && !parent) ||
        !PlaceAt(tree_, parent, rec.At.Index[rec.At.Depth - 1u], nullptr, target, mode))
        return;
    tree_.CopyTo(rec.Store->Top(0), target, mode, CloneData);
    rec.Store.reset();
}

bool TEditHistory::MoveToPath(const TNodePath& from, const TNodePath& to) {
    PBNode node = NodeAt(tree_, from);
    if (!node || to.Depth == 0)
        return false;
    PBNode parent = to.Depth > 1 ? ResolveSkipping(tree_, to, to.Depth - 1u, node) : nullptr;
    if (to.Depth > 1 && !parent)
        return false;
    PBNode target = nullptr;
    TAttachMode mode = TAttachMode::LastChild;
    if (!PlaceAt(tree_, parent, to.Index[to.Depth - 1u], node, target, mode))
        return false;
    if (!target) {
        // Only node at the top level: it is where it belongs.
        return true;
    }
    return tree_.MoveTo(node, target, mode);
}

bool TEditHistory::Replay(TStep& step, bool forward) {
    auto apply = [&](TRecord& rec) -> bool {
        if (auto* m = std::get_if<TMoveRec>(&rec))
            return forward ? MoveToPath(m->From, m->To) : MoveToPath(m->To, m->From);
        if (auto* t = std::get_if<TTransferRec>(&rec)) {
            bool insert = forward == t->InsertedForward;
            if (insert) {
                if (!t->Store)
                    return false;
                PutBack(*t);
                return !t->Store;
            }
            if (!NodeAt(tree_, t->At))
                return false;
            TakeOut(*t);
            return true;
        }
        if (auto* p = std::get_if<TPermuteRec>(&rec)) {
            PBNode parent = NodeAt(tree_, p->Parent);
            if (!parent)
                return false;
            if (forward)
                return ApplyOrder(parent, *p->Order);
            std::vector<uint32_t> back(p->Order->size());
            for (std::size_t i = 0; i < back.size(); ++i)
                back[(*p->Order)[i]] = static_cast<uint32_t>(i);
            return ApplyOrder(parent, back);
        }
        auto& f = std::get<TFieldsRec>(rec);
        PBNode node = NodeAt(tree_, f.At);
        if (!node || !node->Data())
            return false;
        ApplyFields(*node->Data(), forward ? f.Change->After : f.Change->Before);
        return true;
    };
    bool ok = true;
    if (forward) {
        for (TRecord& rec : step.Records)
            ok = ok && apply(rec);
    } else {
        for (auto it = step.Records.rbegin(); ok && it != step.Records.rend(); ++it)
            ok = apply(*it);
    }
    RepointBouquets(tree_);
    return ok;
}

bool TEditHistory::Undo(PBNode& select) {
    select = nullptr;
    if (open_)
        Commit();
    sessionOpen_ = false;
    if (undo_.empty())
        return false;
    TStep step = std::move(undo_.back());
    undo_.pop_back();
    if (!Replay(step, false)) {
        Clobbered();
        return true;
    }
    if (step.SelectUndo)
        select = NodeAt(tree_, *step.SelectUndo);
    redo_.push_back(std::move(step));
    return true;
}

bool TEditHistory::Redo(PBNode& select) {
    select = nullptr;
    if (open_)
        Commit();
    sessionOpen_ = false;
    if (redo_.empty())
        return false;
    TStep step = std::move(redo_.back());
    redo_.pop_back();
    if (!Replay(step, true)) {
        Clobbered();
        return true;
    }
    if (step.SelectRedo)
        select = NodeAt(tree_, *step.SelectRedo);
    undo_.push_back(std::move(step));
    return true;
}

void TEditHistory::Clobbered() {
    // The tree no longer matches the journal (changed behind its back); no
    // step can be replayed safely any more.
    Clear();
}

void TEditHistory::Clear() {
    undo_.clear();
    redo_.clear();
    open_.reset();
    sessionOpen_ = false;
    bytes_ = 0;
    baseId_ = nextId_++; // a state no step before the clear can lead back to
}

} // namespace xantu
