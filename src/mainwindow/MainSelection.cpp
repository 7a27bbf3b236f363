// What the user sees is what the commands act on: the selection of either
// tree holds only rows the user can see, and the info panels show exactly
// the selection (nothing when nothing is selected). Del, a drop or a typed
// name therefore never reaches a node folded away or filtered out.
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"

#include <QItemSelectionModel>

namespace xantu {

void TMain::AttachSelectionRules() {
    // A selection that only lost rows (a deselection, selected rows removed)
    // or was emptied by a reset refills or hides the panels; additions are
    // shown by the change handlers themselves.
    connect(VTB->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                if (selected.isEmpty())
                    ShowBouquetSelection();
            });
    connect(VTS->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                if (selected.isEmpty())
                    ShowServiceSelection();
            });
    connect(&vtbModel_, &QAbstractItemModel::modelReset, this, [this] { ShowBouquetSelection(); });
    connect(&vtsModel_, &QAbstractItemModel::modelReset, this, [this] { ShowServiceSelection(); });
}

void TMain::ShowBouquetSelection(bool refill) {
    if (vtbModel_.InBulk())
        return;
    QItemSelectionModel* sm = VTB->selectionModel();
    const QModelIndexList rows = sm->selectedRows();
    if (rows.isEmpty()) {
        BouquetRPanel->ShowNothing();
        return;
    }
    // The panels show the current node while it is selected (it is the one
    // the change handler showed); otherwise the first selected one.
    const QModelIndex current = VTB->currentIndex();
    if (current.isValid() && sm->isSelected(current)) {
        if (refill)
            VTBChange(vtbModel_.NodeOf(current));
        return;
    }
    const QList<PBNode> shown = SelectedBouquetNodes();
    VTBChange(shown.isEmpty() ? vtbModel_.NodeOf(rows.first()) : shown.first());
}

void TMain::ShowServiceSelection() {
    if (vtsModel_.InBulk())
        return;
    const QModelIndexList rows = VTS->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        ServicesRPanel->ShowNothing();
        return;
    }
    VTSChange(vtsModel_.NodeOf(rows.first()));
}

void TMain::KeepSelectionShown(TListTreeView* view) {
    QItemSelectionModel* sm = view->selectionModel();
    const QModelIndexList rows = sm->selectedRows();
    QModelIndexList shown;
    QModelIndex hidden;
    for (const QModelIndex& r : rows) {
        if (view->IsShown(r))
            shown.append(r);
        else if (!hidden.isValid())
            hidden = r;
    }
    const QModelIndex current = view->currentIndex();
    if (!hidden.isValid()) {
        // Nothing selected is hidden; a hidden current row still goes, or
        // the keyboard would start from a row the user cannot see.
        if (current.isValid() && !view->IsShown(current))
            sm->setCurrentIndex(shown.isEmpty() ? QModelIndex() : shown.first(),
                                QItemSelectionModel::NoUpdate);
        return;
    }
    QItemSelection keep;
    QModelIndex newCurrent;
    if (!shown.isEmpty()) {
        for (const QModelIndex& r : shown)
            keep.select(r, r);
        newCurrent = shown.contains(current) ? current : shown.first();
    } else {
        QModelIndex a = hidden.parent();
        while (a.isValid() && !view->IsShown(a))
            a = a.parent();
        if (!a.isValid()) {
            sm->clear();
            return;
        }
        keep.select(a, a);
        newCurrent = a;
    }
    // The current row first: the bouquet view keeps only its siblings.
    sm->setCurrentIndex(newCurrent, QItemSelectionModel::NoUpdate);
    sm->select(keep, QItemSelectionModel::ClearAndSelect);
}

void TMain::RevealBouquetSelection() {
    // Dropped nodes that landed in a folded bouquet are unfolded, so they
    // stay selected where the user can see them.
    const QModelIndexList rows = VTB->selectionModel()->selectedRows();
    if (!rows.isEmpty()) {
        for (QModelIndex a = rows.first().parent(); a.isValid(); a = a.parent())
            if (!VTB->isExpanded(a))
                VTB->expand(a);
    }
    KeepSelectionShown(VTB);
    VTBChange(FirstSelectedBouquetNode()); // the panels show the first dropped node
}

TMain::TSavedSelection TMain::SaveBouquetSelection() const {
    TSavedSelection saved;
    if (vtbModel_.InBulk())
        return saved;
    for (const QModelIndex& i : VTB->selectionModel()->selectedRows())
        if (PBNode n = vtbModel_.NodeOf(i))
            saved.Nodes.push_back(n);
    saved.Current = vtbModel_.NodeOf(VTB->currentIndex());
    return saved;
}

void TMain::RestoreBouquetSelection(const TSavedSelection& saved) {
    if (saved.Nodes.empty())
        return;
    QItemSelection sel;
    for (PBNode n : saved.Nodes) {
        const QModelIndex i = vtbModel_.IndexOf(n);
        sel.select(i, i);
    }
    QItemSelectionModel* sm = VTB->selectionModel();
    sm->setCurrentIndex(vtbModel_.IndexOf(saved.Current ? saved.Current : saved.Nodes.front()),
                        QItemSelectionModel::NoUpdate);
    sm->select(sel, QItemSelectionModel::ClearAndSelect);
    KeepSelectionShown(VTB);
}

} // namespace xantu
