#include "mainwindow/TreeViews.h"

#include "mainwindow/NodeTreeModel.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalBlocker>

namespace xantu {

TListTreeView::TListTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setUniformRowHeights(true); // keeps 100,000 rows cheap to lay out
    setIconSize(QSize(16, 16));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAnimated(false);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TListTreeView::ExpandAllFast() {
    expandAll();
}

void TListTreeView::CollapseAllQuietly() {
    const QSignalBlocker quiet(this);
    collapseAll();
}

bool TListTreeView::IsShown(const QModelIndex& index) const {
    if (!index.isValid())
        return false;
    for (QModelIndex i = index; i.isValid(); i = i.parent()) {
        if (isRowHidden(i.row(), i.parent()))
            return false;
        if (i != index && !isExpanded(i))
            return false;
    }
    return true;
}

TBouquetView::TBouquetView(QWidget* parent) : TListTreeView(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(true);
    setAutoScrollMargin(16);
}

void TBouquetView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (!fixing_ && selectionModel() && !selected.isEmpty()) {
        // Only siblings of the current node may stay selected.
        const QModelIndex current = currentIndex();
        const QModelIndex parent = current.isValid() ? current.parent() : selected.indexes().last().parent();
        QItemSelection strangers;
        for (const QModelIndex& i : selectionModel()->selectedIndexes())
            if (i.parent() != parent)
                strangers.select(i, i);
        if (!strangers.isEmpty()) {
            fixing_ = true;
            selectionModel()->select(strangers, QItemSelectionModel::Deselect);
            fixing_ = false;
        }
    }
    QTreeView::selectionChanged(selected, deselected);
}

void TBouquetView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this && event->mimeData()->hasFormat(QString::fromLatin1(kBouquetNodesMime))) {
        QTreeView::dragEnterEvent(event);
    } else if (event->source() != this && MayTakeServices && MayTakeServices(event, QModelIndex())) {
        event->setDropAction(Qt::CopyAction);
        QTreeView::dragEnterEvent(event);
    } else {
        event->ignore();
    }
}

void TBouquetView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this) {
        // Services always come as new entries: a copy, never a move.
        if (!MayTakeServices) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        QTreeView::dragMoveEvent(event);
        if (!MayTakeServices(event, indexAt(event->position().toPoint())))
            event->ignore();
        return;
    }
    // The toolkit refuses a move onto any selected node ("onto itself");
    // which targets take a drop is the editing rules' choice (a node dropped
    // onto another selected one gets its place next to it). Presenting the
    // drag as a copy keeps that check out; the rules below decide.
    event->setDropAction(Qt::CopyAction);
    QTreeView::dragMoveEvent(event);
    if (MayDropOn && !MayDropOn(indexAt(event->position().toPoint())))
        event->ignore();
}

void TBouquetView::startDrag(Qt::DropActions actions) {
    if (MayStartDrag && !MayStartDrag())
        return;
    QTreeView::startDrag(actions);
}

TDropPosition TBouquetView::DropPosition() const {
    switch (dropIndicatorPosition()) {
    case QAbstractItemView::AboveItem:
        return TDropPosition::Above;
    case QAbstractItemView::BelowItem:
        return TDropPosition::Below;
    case QAbstractItemView::OnItem:
        return TDropPosition::On;
    case QAbstractItemView::OnViewport:
        break;
    }
    return TDropPosition::Nowhere;
}

void TBouquetView::dropEvent(QDropEvent* event) {
    const QModelIndex target = indexAt(event->position().toPoint());
    const TDropPosition pos = DropPosition();
    if (event->source() != this) {
        if (!MayTakeServices || !MayTakeServices(event, target)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        setState(QAbstractItemView::NoState);
        viewport()->update();
        emit ServicesDropped(target, pos, event->mimeData(), event->source());
        return;
    }
    const bool copy = event->modifiers().testFlag(Qt::ControlModifier);
    // The tree itself never moves rows: the editing code does, through the
    // node tree, and the model follows its notifications.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    emit NodesDropped(target, pos, copy);
}

void TBouquetView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (model() && model()->rowCount() > 0)
            emit DeletePressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace xantu
