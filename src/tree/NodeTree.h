// A tree of nodes, each owning one data object. It is the only container of
// the list model: the services tree and the bouquet tree are two of these.
// It knows nothing of widgets; views listen through TTreeObserver (any
// number of them) and the Qt item models translate the notifications into
// begin/end calls.
#pragma once

#include "tree/BlockPool.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace xantu {

// Where a node goes relative to a target node.
enum class TAttachMode { Before, After, FirstChild, LastChild };

template <class T> class TNodeTree;

template <class T> class TTreeNode {
  public:
    XANTU_POOLED(TTreeNode)
    T* Data() const { return data_.get(); }
    TTreeNode* Parent() const { return parent_; } // nullptr for top-level nodes
    std::size_t ChildCount() const { return children_.size(); }
    TTreeNode* Child(std::size_t i) const { return children_[i].get(); }
    TTreeNode* FirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TTreeNode* LastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
    std::size_t Index() const { return index_; } // position among its siblings
    int Level() const {
        int level = 0;
        for (TTreeNode* p = parent_; p; p = p->parent_)
            ++level;
        return level;
    }
    bool IsAncestorOf(const TTreeNode* other) const {
        for (const TTreeNode* p = other ? other->parent_ : nullptr; p; p = p->parent_)
            if (p == this)
                return true;
        return false;
    }

  private:
    friend class TNodeTree<T>;
    std::unique_ptr<T> data_;
    TTreeNode* parent_ = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> children_;
    uint32_t index_ = 0; // 32 bits: together with the flags in one word

  public:
    bool Visible = true;
    bool Expanded = false;
};

// Structural notifications, each pair around the change it names. Rows are
// positions among the siblings under `parent` (nullptr: top level).
template <class T> class TTreeObserver {
  public:
    using Node = TTreeNode<T>;
    virtual ~TTreeObserver() = default;
    virtual void BeginInsert(Node* parent, std::size_t row) = 0;
    virtual void EndInsert() = 0;
    virtual void BeginRemove(Node* parent, std::size_t row) = 0;
    virtual void EndRemove() = 0;
    // `destRow` is the position in the destination before the node leaves its
    // old place (the convention of QAbstractItemModel::beginMoveRows).
    virtual void BeginMove(Node* srcParent, std::size_t srcRow, Node* destParent, std::size_t destRow) = 0;
    virtual void EndMove() = 0;
    virtual void BeginReset() = 0;
    virtual void EndReset() = 0;
};

template <class T> class TNodeTree {
  public:
    using Node = TTreeNode<T>;
    using Observer = TTreeObserver<T>;

    TNodeTree() = default;
    TNodeTree(const TNodeTree&) = delete;
    TNodeTree& operator=(const TNodeTree&) = delete;

    // Every listener hears every change, in the order they were added. A
    // listener removes itself before it goes; adding one twice adds nothing.
    void AddObserver(Observer* observer) {
        if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
            observers_.push_back(observer);
    }
    void RemoveObserver(Observer* observer) {
        observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
    }
    bool HasObserver(const Observer* observer) const {
        return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
    }

    std::size_t TopCount() const { return top_.size(); }
    Node* Top(std::size_t i) const { return top_[i].get(); }
    Node* GetFirst() const { return top_.empty() ? nullptr : top_.front().get(); }
    std::size_t TotalCount() const { return count_; }
    bool Empty() const { return count_ == 0; }

    // Next node in tree order (parents before children), through collapsed
    // and hidden nodes alike.
    Node* GetNext(const Node* node) const {
        if (!node->children_.empty())
            return node->children_.front().get();
        return NextSkippingChildren(node);
    }
    // Next node in tree order that is not below `node`.
    Node* NextSkippingChildren(const Node* node) const {
        for (const Node* n = node; n; n = n->parent_) {
            const auto& siblings = SiblingsOf(n);
            if (n->index_ + 1 < siblings.size())
                return siblings[n->index_ + 1].get();
        }
        return nullptr;
    }
    // Calls fn for every node in tree order. fn must not change the tree's
    // structure (data and flags may change).
    template <class Fn> void ForEach(Fn&& fn) const { Walk(top_, fn); }

    // Room for `n` children, when a reader knows how many will follow.
    void ReserveChildren(Node* parent, std::size_t n) { (parent ? parent->children_ : top_).reserve(n); }

    // Appends a new last child under `parent` (top level when nullptr).
    Node* AddChild(Node* parent, std::unique_ptr<T> data) {
        return Attach(MakeNode(std::move(data)), parent, parent ? parent->children_.size() : top_.size());
    }
    // Puts a new node before, after or as first/last child of `target`.
    Node* Insert(std::unique_ptr<T> data, Node* target, TAttachMode mode) {
        auto [parent, row] = Place(target, mode);
        return Attach(MakeNode(std::move(data)), parent, row);
    }

    // Moves `node` with its children to the place given. Moving a node into
    // its own subtree is refused (returns false).
    bool MoveTo(Node* node, Node* target, TAttachMode mode) {
        if (node == target || node->IsAncestorOf(target))
            return false;
        auto [destParent, destRow] = Place(target, mode);
        Node* srcParent = node->parent_;
        std::size_t srcRow = node->index_;
        if (srcParent == destParent && (destRow == srcRow || destRow == srcRow + 1))
            return true; // already there
        Notify(&Observer::BeginMove, srcParent, srcRow, destParent, destRow);
        auto& src = SiblingsOf(node);
        std::unique_ptr<Node> owned = std::move(src[srcRow]);
        src.erase(src.begin() + static_cast<std::ptrdiff_t>(srcRow));
        Renumber(src, srcRow);
        if (srcParent == destParent && destRow > srcRow)
            --destRow;
        auto& dest = destParent ? destParent->children_ : top_;
        owned->parent_ = destParent;
        dest.insert(dest.begin() + static_cast<std::ptrdiff_t>(destRow), std::move(owned));
        Renumber(dest, destRow);
        Notify(&Observer::EndMove);
        return true;
    }

    // Deep-copies `node` with its children to the place given; `clone` copies
    // one data object. Returns the copy of `node`.
    Node* CopyTo(const Node* node, Node* target, TAttachMode mode,
                 const std::function<std::unique_ptr<T>(const T&)>& clone) {
        if (node == target || node->IsAncestorOf(target))
            return nullptr;
        std::unique_ptr<Node> copy = DeepCopy(*node, clone);
        auto [parent, row] = Place(target, mode);
        return Attach(std::move(copy), parent, row);
    }

    // Frees `node`, its children and their data.
    void Delete(Node* node) {
        Node* parent = node->parent_;
        std::size_t row = node->index_;
        Notify(&Observer::BeginRemove, parent, row);
        auto& siblings = SiblingsOf(node);
        count_ -= SubtreeSize(node);
        std::unique_ptr<Node> owned = std::move(siblings[row]);
        siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(row));
        Renumber(siblings, row);
        FreeSubtree(std::move(owned));
        Notify(&Observer::EndRemove);
    }

    void Clear() {
        Notify(&Observer::BeginReset);
        while (!top_.empty()) {
            FreeSubtree(std::move(top_.back()));
            top_.pop_back();
        }
        count_ = 0;
        Notify(&Observer::EndReset);
    }

    // Replaces a node's data object (used when an edit swaps a whole wrapper).
    std::unique_ptr<T> SwapData(Node* node, std::unique_ptr<T> data) {
        std::swap(node->data_, data);
        return data;
    }

    ~TNodeTree() {
        observers_.clear();
        Clear();
    }

  private:
    template <class... Params, class... Args> void Notify(void (Observer::*event)(Params...), Args... args) {
        for (Observer* o : observers_)
            (o->*event)(args...);
    }
    template <class Fn> static void Walk(const std::vector<std::unique_ptr<Node>>& list, Fn& fn) {
        for (const auto& c : list) {
            fn(c.get());
            if (!c->children_.empty())
                Walk(c->children_, fn);
        }
    }
    std::vector<std::unique_ptr<Node>>& SiblingsOf(const Node* node) {
        return node->parent_ ? node->parent_->children_ : top_;
    }
    const std::vector<std::unique_ptr<Node>>& SiblingsOf(const Node* node) const {
        return node->parent_ ? node->parent_->children_ : top_;
    }
    static void Renumber(std::vector<std::unique_ptr<Node>>& list, std::size_t from) {
        for (std::size_t i = from; i < list.size(); ++i)
            list[i]->index_ = static_cast<uint32_t>(i);
    }
    static std::unique_ptr<Node> MakeNode(std::unique_ptr<T> data) {
        auto node = std::make_unique<Node>();
        node->data_ = std::move(data);
        return node;
    }
    std::pair<Node*, std::size_t> Place(Node* target, TAttachMode mode) const {
        if (!target)
            return {nullptr, top_.size()};
        switch (mode) {
        case TAttachMode::Before:
            return {target->parent_, target->index_};
        case TAttachMode::After:
            return {target->parent_, target->index_ + 1};
        case TAttachMode::FirstChild:
            return {target, 0};
        case TAttachMode::LastChild:
            break;
        }
        return {target, target->children_.size()};
    }
    Node* Attach(std::unique_ptr<Node> node, Node* parent, std::size_t row) {
        Notify(&Observer::BeginInsert, parent, row);
        auto& list = parent ? parent->children_ : top_;
        node->parent_ = parent;
        Node* raw = node.get();
        count_ += SubtreeSize(raw);
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(row), std::move(node));
        Renumber(list, row);
        Notify(&Observer::EndInsert);
        return raw;
    }
    static std::size_t SubtreeSize(const Node* node) {
        if (node->children_.empty())
            return 1; // the usual case, a new leaf: no walk needed
        std::size_t n = 0;
        std::vector<const Node*> pending{node};
        while (!pending.empty()) {
            const Node* x = pending.back();
            pending.pop_back();
            ++n;
            for (const auto& c : x->children_)
                pending.push_back(c.get());
        }
        return n;
    }
    static std::unique_ptr<Node> DeepCopy(const Node& node,
                                          const std::function<std::unique_ptr<T>(const T&)>& clone) {
        auto copy = MakeNode(node.data_ ? clone(*node.data_) : nullptr);
        copy->Visible = node.Visible;
        copy->Expanded = node.Expanded;
        copy->children_.reserve(node.children_.size());
        for (const auto& c : node.children_) {
            auto child = DeepCopy(*c, clone);
            child->parent_ = copy.get();
            child->index_ = static_cast<uint32_t>(copy->children_.size());
            copy->children_.push_back(std::move(child));
        }
        return copy;
    }
    // Frees a subtree without recursion, so a degenerate deep tree cannot
    // exhaust the stack.
    static void FreeSubtree(std::unique_ptr<Node> root) {
        std::vector<std::unique_ptr<Node>> pending;
        pending.push_back(std::move(root));
        while (!pending.empty()) {
            std::unique_ptr<Node> n = std::move(pending.back());
            pending.pop_back();
            for (auto& c : n->children_)
                pending.push_back(std::move(c));
        }
    }

    std::vector<std::unique_ptr<Node>> top_;
    std::size_t count_ = 0;
    // Few listeners (the page's item model, the service pool): a plain list.
    std::vector<Observer*> observers_;
};

} // namespace xantu
