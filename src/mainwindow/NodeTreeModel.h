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

namespace xantu {

// Mime type of nodes dragged inside the bouquet tree; the payload is empty,
// the dragged nodes are the tree's selection.
inline constexpr char kBouquetNodesMime[] = "application/x-xantu-bouquet-nodes";

// Text and picture of a node come from the data's Caption (list bytes) and
// ImageIndex; TBasicSNode and TBasicBNode both have them.
QString NodeCaptionText(const std::string& caption, TNameCharset charset);
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
    QStringList mimeTypes() const override { return {QString::fromLatin1(kBouquetNodesMime)}; }
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
        if (!bulk_)
            beginInsertRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row));
    }
    void EndInsert() override {
        if (!bulk_)
            endInsertRows();
    }
    void BeginRemove(Node* parent, std::size_t row) override {
        if (!bulk_)
            beginRemoveRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row));
    }
    void EndRemove() override {
        if (!bulk_)
            endRemoveRows();
    }
    void BeginMove(Node* srcParent, std::size_t srcRow, Node* destParent, std::size_t destRow) override {
        if (!bulk_)
            beginMoveRows(IndexOf(srcParent), static_cast<int>(srcRow), static_cast<int>(srcRow),
                          IndexOf(destParent), static_cast<int>(destRow));
    }
    void EndMove() override {
        if (!bulk_)
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
    TNodeTree<T>& tree_;
    TNameCharset charset_ = TNameCharset::Utf8;
    int bulk_ = 0;
    bool dragDrop_ = false;
};

} // namespace xantu
