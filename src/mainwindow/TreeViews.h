// The two tree views of the main window: no header, one text per node with
// its picture. The bouquet view allows several selected nodes as long as
// they are siblings, and reports drops with their position at the target.
#pragma once

#include <QTreeView>
#include <functional>

class QMimeData;

namespace xantu {

// Where a drop lands relative to the node under the mouse.
enum class TDropPosition { Above, On, Below, Nowhere };

class TListTreeView : public QTreeView {
    Q_OBJECT
  public:
    explicit TListTreeView(QWidget* parent = nullptr);

    // Shows every row of `index`'s branch in one go (index invalid: all).
    void ExpandAllFast();
    // Folds every node without reporting each one as collapsed by the user.
    // Qt reports a collapseAll() as one collapsed() per expanded row (leaves
    // included after an expandAll()), in no useful order.
    void CollapseAllQuietly();
    // Whether the user can see the row: it is not hidden and every ancestor
    // is expanded.
    bool IsShown(const QModelIndex& index) const;
};

class TBouquetView : public TListTreeView {
    Q_OBJECT
  public:
    explicit TBouquetView(QWidget* parent = nullptr);

    // Asked before a drag starts and while it moves over a node; unset
    // means yes.
    std::function<bool()> MayStartDrag;
    std::function<bool(const QModelIndex& target)> MayDropOn;
    // Drags from other views that bring services (the pool's rows, the
    // services tree's channels): whether `event` may land on `target`
    // (invalid: anywhere at all). Unset refuses them.
    std::function<bool(const QDropEvent* event, const QModelIndex& target)> MayTakeServices;

  signals:
    // The user dropped the dragged selection on `target` (invalid when
    // dropped on empty space). `copy` is true when the copy key was held.
    void NodesDropped(const QModelIndex& target, xantu::TDropPosition position, bool copy);
    // Services dragged in from another view were dropped on `target`.
    void ServicesDropped(const QModelIndex& target, xantu::TDropPosition position, const QMimeData* mime,
                         QObject* source);
    // Del pressed on the tree itself.
    void DeletePressed();

  protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void startDrag(Qt::DropActions actions) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TDropPosition DropPosition() const;
    bool fixing_ = false;
};

} // namespace xantu
