// The two trees of the main window: info panels, in-place renaming, the
// jump to a service, the expand commands and the view filter.
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/Texts.h"
#include "mainwindow/TreeImages.h"

#include <QTabWidget>
#include <algorithm>

namespace xantu {

QString NodeCaptionText(std::string_view caption, TNameCharset charset) {
    return QString::fromStdString(NameForDisplay(caption, charset));
}

QIcon NodeImage(int imageIndex) {
    return TreeImage(imageIndex);
}

std::string TMain::EncodeTypedName(const QString& typed) const {
    return NameForList(typed.toStdString(), doc_.NameCharset);
}

QString TMain::DisplayName(std::string_view bytes) const {
    return QString::fromStdString(NameForDisplay(bytes, doc_.NameCharset));
}

// ---- selection helpers --------------------------------------------------------

QList<PBNode> TMain::SelectedBouquetNodes() const {
    QList<PBNode> nodes;
    // Commands act only on what the user can see.
    for (const QModelIndex& i : VTB->selectionModel()->selectedRows())
        if (PBNode n = vtbModel_.NodeOf(i); n && VTB->IsShown(i))
            nodes.append(n);
    // Siblings only, so their order in the tree is their order by index.
    std::sort(nodes.begin(), nodes.end(), [](PBNode a, PBNode b) {
        if (a->Parent() == b->Parent())
            return a->Index() < b->Index();
        return a->Level() < b->Level();
    });
    return nodes;
}

PBNode TMain::FirstSelectedBouquetNode() const {
    const QList<PBNode> nodes = SelectedBouquetNodes();
    return nodes.isEmpty() ? nullptr : nodes.first();
}

PSNode TMain::SelectedServiceNode() const {
    const QModelIndexList rows = VTS->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : vtsModel_.NodeOf(rows.first());
}

void TMain::SelectBouquetNode(PBNode node) {
    const QModelIndex i = vtbModel_.IndexOf(node);
    VTB->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    VTB->scrollTo(i); // unfolds the ancestors
}

// ---- bouquet tree ---------------------------------------------------------------

void TMain::VTBChange(PBNode node) {
    if (const TBasicBNode* d = node ? node->Data() : nullptr)
        BouquetRPanel->Show(*d, doc_.BoxType, doc_.NameCharset, !listsLocked_);
}

// Every change typed or clicked in the info column is one undoable step of
// the editor (a typed name one step per typing session).
void TMain::EBBouquetNameChange(const QString& typed) {
    if (listsLocked_)
        return;
    QString text = typed;
    if (IsReservedBouquetName(text.toStdString())) {
        dialogs_.Message(this, TMsgKind::Error, QString::fromUtf8(mainwindow_texts::kReservedName));
        text = QString::fromUtf8(mainwindow_texts::kReservedReplacement);
        BouquetRPanel->ReplaceBouquetName(text);
    }
    editing_.Editor.RenameBouquet(FirstSelectedBouquetNode(), EncodeTypedName(text));
}

void TMain::EBChannelNameChange(const QString& typed) {
    if (!listsLocked_)
        editing_.Editor.RenameChannel(FirstSelectedBouquetNode(), EncodeTypedName(typed));
}

void TMain::EBBouquetHiddenClick(bool checked) {
    if (!listsLocked_)
        editing_.Editor.SetHidden(FirstSelectedBouquetNode(), checked);
}

void TMain::EBBouquetLockedClick(bool checked) {
    if (!listsLocked_)
        editing_.Editor.SetLocked(FirstSelectedBouquetNode(), checked);
}

void TMain::BttnGotoServiceClick() {
    PBNode node = FirstSelectedBouquetNode();
    const TBasicBNode* d = node ? node->Data() : nullptr;
    if (!d || d->Kind != BKindChannel || !d->Channel)
        return;
    const TChannel& c = *d->Channel;
    PSNode hit = doc_.FindService(c);
    if (!hit) {
        dialogs_.Message(this, TMsgKind::Information,
                         QString::fromUtf8(mainwindow_texts::kNoServiceStart) + DisplayName(c.Name) +
                             QString::fromUtf8(mainwindow_texts::kNoServiceEnd));
        return;
    }
    Pages->setCurrentWidget(SheetServices);
    VTS->setUpdatesEnabled(false);
    VTS->CollapseAllQuietly();
    for (PSNode a = hit->Parent(); a; a = a->Parent())
        VTS->expand(vtsModel_.IndexOf(a));
    VTS->setUpdatesEnabled(true);
    const QModelIndex i = vtsModel_.IndexOf(hit);
    VTS->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    VTS->scrollTo(i);
    VTS->setFocus();
}

void TMain::VTBCollapsed(const QModelIndex& index) {
    // The node the user folded becomes the selection, so no hidden child
    // stays selected. Folding by a command is quiet and tidies up after.
    if (!index.isValid())
        return;
    VTB->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    KeepSelectionShown(VTB);
}

void TMain::MenuExpandBouquetsClick() {
    VTB->setUpdatesEnabled(false);
    ApplyAllHiddenRows();
    VTB->expandAll();
    VTB->setUpdatesEnabled(true);
}

void TMain::MenuShowOnlyBouquetsClick() {
    if (doc_.VTB.Empty())
        return;
    VTB->setUpdatesEnabled(false);
    VTB->CollapseAllQuietly();
    VTB->expand(vtbModel_.IndexOf(doc_.VTB.GetFirst()));
    VTB->setUpdatesEnabled(true);
    KeepSelectionShown(VTB);
}

// ---- services tree -----------------------------------------------------------------

void TMain::VTSChange(PSNode node) {
    if (const TBasicSNode* d = node ? node->Data() : nullptr)
        ServicesRPanel->Show(*d, doc_.BoxType, doc_.NameCharset);
}

void TMain::VTSCollapsed(const QModelIndex& index) {
    if (!index.isValid())
        return;
    VTS->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    KeepSelectionShown(VTS);
}

void TMain::MenuExpandServicesClick() {
    VTS->setUpdatesEnabled(false);
    VTS->expandAll();
    VTS->setUpdatesEnabled(true);
}

void TMain::MenuShowOnlyTransponderClick() {
    PSNode root = doc_.VTS.GetFirst();
    if (!root)
        return;
    VTS->setUpdatesEnabled(false);
    VTS->CollapseAllQuietly();
    VTS->expand(vtsModel_.IndexOf(root));
    for (std::size_t i = 0; i < root->ChildCount(); ++i)
        VTS->expand(vtsModel_.IndexOf(root->Child(i)));
    VTS->setUpdatesEnabled(true);
    KeepSelectionShown(VTS);
}

// ---- view filter ----------------------------------------------------------------------

void TMain::UpdateViewFilterControls() {
    MenuTV->setChecked(doc_.ShowTV);
    MenuRadio->setChecked(doc_.ShowRadio);
    MenuSpezial->setChecked(doc_.ShowSpezial);
    BttnShowTV->setChecked(doc_.ShowTV);
    BttnShowRadio->setChecked(doc_.ShowRadio);
    BttnShowSpezial->setChecked(doc_.ShowSpezial);
}

void TMain::MenuTVClick() {
    doc_.ShowTV = !doc_.ShowTV;
    UpdateViewFilterControls();
    doc_.ApplyViewFilter();
}

void TMain::MenuRadioClick() {
    doc_.ShowRadio = !doc_.ShowRadio;
    UpdateViewFilterControls();
    doc_.ApplyViewFilter();
}

void TMain::MenuSpezialClick() {
    doc_.ShowSpezial = !doc_.ShowSpezial;
    UpdateViewFilterControls();
    doc_.ApplyViewFilter();
}

void TMain::ViewFilterApplied() {
    if (loading_) {
        filterPending_ = true; // synced once the load is through
        return;
    }
    SyncBouquetView();
}

void TMain::SyncBouquetView() {
    // One reset clears the view's hidden rows and expansion; the nodes the
    // filter left open are opened again. Hidden rows are set per branch when
    // it is first shown (ApplyHiddenRows), so a toggle over tens of
    // thousands of entries costs no more than the bouquets on screen.
    // The selection survives the reset as far as it stays in sight.
    const TSavedSelection selection = SaveBouquetSelection();
    VTB->setUpdatesEnabled(false);
    vtbModel_.BeginBulk();
    vtbModel_.EndBulk();
    hiddenApplied_.clear();
    doc_.VTB.ForEach([this](PBNode n) {
        if (n->Expanded)
            VTB->setExpanded(vtbModel_.IndexOf(n), true);
    });
    VTB->setUpdatesEnabled(true);
    RestoreBouquetSelection(selection);
}

void TMain::ApplyHiddenRows(PBNode parent) {
    if (!parent || !hiddenApplied_.insert(parent).second)
        return;
    const QModelIndex p = vtbModel_.IndexOf(parent);
    for (std::size_t i = 0; i < parent->ChildCount(); ++i)
        if (!parent->Child(i)->Visible)
            VTB->setRowHidden(static_cast<int>(i), p, true);
}

void TMain::VTBExpanding(const QModelIndex& index) {
    ApplyHiddenRows(vtbModel_.NodeOf(index));
}

void TMain::ApplyAllHiddenRows() {
    doc_.VTB.ForEach([this](PBNode n) {
        if (n->ChildCount() > 0)
            ApplyHiddenRows(n);
    });
}

} // namespace xantu
