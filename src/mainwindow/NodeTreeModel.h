// Item model over one TNodeTree: the services tree and the bouquet tree are
// shown through it. It listens to the tree's structural notifications and
// turns them into the model's begin/end calls; node data is read live, so
// the model holds no copy of the lists. During a load the notifications are
// set aside and the views get one reset at the end.
#pragma once

#include "text/ListText.h"
#include "tree/NodeTree.h"

#include <QAbstractItemModel>
#include <QMimeData>
#include <QString>
#include <unordered_set>
#include <utility>
#include <vector>

namespace xantu {

// Mime type of nodes dragged inside the bouquet tree; the payload is empty,
// the dragged nodes are the tree's selection.
inline constexpr char kBouquetNodesMime[] = "application/x-xantu-bouquet-nodes";

// Text and picture of a node come from the data's Caption (list bytes) and
// ImageIndex; TBasicSNode and TBasicBNode both have them.
QString NodeCaptionText(std::string_view caption, TNameCharset charset);
QIcon NodeImage(int imageIndex);

template <class T> class TNodeTreeModel : public QAbstractItemModel, public TTreeObserver<T> {
  public:
    using Node = TTreeNode<T>;

    explicit TNodeTreeModel(TNodeTree<T>& tree, QObject* parent = nullptr)
        : QAbstractItemModel(parent), tree_(tree) {
        tree_.AddObserver(this);
    }
    ~TNodeTreeModel() override { tree_.RemoveObserver(this); }
    TNodeTreeModel(const TNodeTreeModel&) = delete;
    TNodeTreeModel& operator=(const TNodeTreeModel&) = delete;

    TNodeTree<T>& Tree() const { return tree_; }

    Node* NodeOf(const QModelIndex& index) const {
        return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
    }
    QModelIndex IndexOf(const Node* node) const {
        if (!node)
            return {};
        return createIndex(static_cast<int>(node->Index()), 0, const_cast<Node*>(node));
    }

    void SetCharset(TNameCharset charset) { charset_ = charset; }
    TNameCharset Charset() const { return charset_; }
    void SetDragDrop(bool on) { dragDrop_ = on; }

    // Between these two the tree may change at will (a load); the views see
    // one reset at the end.
    void BeginBulk() {
        if (bulk_++ == 0)
            beginResetModel();
    }
    void EndBulk() {
        if (bulk_ > 0 && --bulk_ == 0)
            endResetModel();
    }
    bool InBulk() const { return bulk_ > 0; }

    // Between these two one command may insert, move and delete nodes at
    // will; the views see one layout change at the end instead of one
    // notification per row, and their selections, current rows and hidden
    // rows follow the nodes that are still there. A thousand rows moved one
    // by one would make every view revisit all its kept positions a thousand
    // times.
    void BeginRearrange() {
        if (rearrange_++ == 0 && !bulk_)
            emit layoutAboutToBeChanged();
    }
    void EndRearrange() {
        if (rearrange_ == 0 || --rearrange_ > 0)
            return;
        if (!bulk_) {
            const QModelIndexList before = persistentIndexList();
            QModelIndexList after;
            after.reserve(before.size());
            for (const QModelIndex& i : before) {
                // Compared by address only: a node freed in between is never
                // followed.
                Node* n = static_cast<Node*>(i.internalPointer());
                after.append(gone_.count(n) ? QModelIndex()
                                            : createIndex(static_cast<int>(n->Index()), i.column(), n));
            }
            changePersistentIndexList(before, after);
            emit layoutChanged();
        }
        gone_.clear();
    }

    // A node's text or picture changed.
    void NodeChanged(const Node* node) {
        const QModelIndex i = IndexOf(node);
        if (i.isValid())
            emit dataChanged(i, i);
    }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override {
        if (row < 0 || column != 0)
            return {};
        Node* p = NodeOf(parent);
        const std::size_t r = static_cast<std::size_t>(row);
        if (p) {
            if (r >= p->ChildCount())
                return {};
            return createIndex(row, 0, p->Child(r));
        }
        if (r >= tree_.TopCount())
            return {};
        return createIndex(row, 0, tree_.Top(r));
    }
    QModelIndex parent(const QModelIndex& child) const override {
        Node* n = NodeOf(child);
        return n ? IndexOf(n->Parent()) : QModelIndex();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        if (parent.column() > 0)
            return 0;
        Node* p = NodeOf(parent);
        return static_cast<int>(p ? p->ChildCount() : tree_.TopCount());
    }
    int columnCount(const QModelIndex& = QModelIndex()) const override { return 1; }
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override {
        Node* p = NodeOf(parent);
        return p ? p->ChildCount() > 0 : tree_.TopCount() > 0;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        Node* n = NodeOf(index);
        const T* d = n ? n->Data() : nullptr;
        if (!d)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return NodeCaptionText(d->Caption, charset_);
        case Qt::DecorationRole:
            return NodeImage(d->ImageIndex);
        default:
            return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid())
            return dragDrop_ ? Qt::ItemIsDropEnabled : Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (dragDrop_)
            f |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
        return f;
    }
    Qt::DropActions supportedDropActions() const override {
        return dragDrop_ ? Qt::MoveAction | Qt::CopyAction : Qt::IgnoreAction;
    }
    Qt::DropActions supportedDragActions() const override { return supportedDropActions(); }
    // Formats of drags from other views that the view over this model may
    // take (the service pool's rows).
    void SetForeignMimeTypes(const QStringList& types) { foreign_ = types; }
    QStringList mimeTypes() const override {
        return QStringList{QString::fromLatin1(kBouquetNodesMime)} + foreign_;
    }
    QMimeData* mimeData(const QModelIndexList&) const override {
        auto* m = new QMimeData;
        m->setData(QString::fromLatin1(kBouquetNodesMime), QByteArray());
        return m;
    }
    // The bouquet view decides what a drop does; the model never takes one.
    bool dropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) override {
        return false;
    }

    // --- TTreeObserver ---
    void BeginInsert(Node* parent, std::size_t row) override {
        insertAt_ = {parent, row};
        if (!bulk_ && !rearrange_)
            beginInsertRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row));
    }
    void EndInsert() override {
        if (rearrange_ && !gone_.empty()) {
            // A new node may live where a freed one lived.
            Node* p = insertAt_.first;
            const std::size_t row = insertAt_.second;
            if (row < (p ? p->ChildCount() : tree_.TopCount()))
                Forget(p ? p->Child(row) : tree_.Top(row), false);
        }
        if (!bulk_ && !rearrange_)
            endInsertRows();
    }
    void BeginRemove(Node* parent, std::size_t row) override {
        if (rearrange_)
            Forget(parent ? parent->Child(row) : tree_.Top(row), true);
        if (!bulk_ && !rearrange_)
            beginRemoveRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row));
    }
    void EndRemove() override {
        if (!bulk_ && !rearrange_)
            endRemoveRows();
    }
    void BeginMove(Node* srcParent, std::size_t srcRow, Node* destParent, std::size_t destRow) override {
        if (!bulk_ && !rearrange_)
            beginMoveRows(IndexOf(srcParent), static_cast<int>(srcRow), static_cast<int>(srcRow),
                          IndexOf(destParent), static_cast<int>(destRow));
    }
    void EndMove() override {
        if (!bulk_ && !rearrange_)
            endMoveRows();
    }
    void BeginReset() override {
        if (!bulk_)
            beginResetModel();
    }
    void EndReset() override {
        if (!bulk_)
            endResetModel();
    }

  private:
    // Marks `node` and its subtree as freed (or, for a new node, as alive).
    void Forget(Node* node, bool gone) {
        std::vector<Node*> pending{node};
        while (!pending.empty()) {
            Node* n = pending.back();
            pending.pop_back();
            if (gone)
                gone_.insert(n);
            else
                gone_.erase(n);
            for (std::size_t i = 0; i < n->ChildCount(); ++i)
                pending.push_back(n->Child(i));
        }
    }

    TNodeTree<T>& tree_;
    TNameCharset charset_ = TNameCharset::Utf8;
    int bulk_ = 0;
    int rearrange_ = 0;
    std::pair<Node*, std::size_t> insertAt_{nullptr, 0};
    std::unordered_set<const void*> gone_; // nodes freed during a rearrangement
    bool dragDrop_ = false;
    QStringList foreign_;
};

} // namespace xantu
