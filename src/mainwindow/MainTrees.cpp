// The two trees of the main window: info panels, in-place renaming, the
// jump to a service, the expand commands and the view filter.
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/TreeImages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

namespace xantu {

namespace {

// "0x" and upper-case hex digits, at least `digits` of them.
QString Hex(int32_t value, int digits) {
    return QStringLiteral("0x") + QString::number(static_cast<uint32_t>(value), 16)
                                      .toUpper()
                                      .rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QString NodeCaptionText(const std::string& caption, TNameCharset charset) {
    return QString::fromStdString(NameForDisplay(caption, charset));
}

QIcon NodeImage(int imageIndex) {
    return TreeImage(imageIndex);
}

std::string TMain::EncodeTypedName(const QString& typed) const {
    return NameForList(typed.toStdString(), doc_.NameCharset);
}

QString TMain::DisplayName(const std::string& bytes) const {
    return QString::fromStdString(NameForDisplay(bytes, doc_.NameCharset));
}

// ---- selection helpers --------------------------------------------------------

QList<PBNode> TMain::SelectedBouquetNodes() const {
    QList<PBNode> nodes;
    // Commands act only on what the user can see.
    for (const QModelIndex& i : VTB->selectionModel()->selectedRows())
        if (PBNode n = VTBModel->NodeOf(i); n && VTB->IsShown(i))
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
    return rows.isEmpty() ? nullptr : VTSModel->NodeOf(rows.first());
}

void TMain::SelectBouquetNode(PBNode node) {
    const QModelIndex i = VTBModel->IndexOf(node);
    VTB->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    VTB->scrollTo(i); // unfolds the ancestors
}

// ---- bouquet tree ---------------------------------------------------------------

void TMain::VTBChange(PBNode node) {
    const TBasicBNode* d = node ? node->Data() : nullptr;
    if (!d)
        return;
    TBouquetInfo* p = BouquetRPanel;
    fillingPanels_ = true;
    p->BouquetCInfoPanel->setVisible(d->Kind == BKindChannel);
    if (d->Reserved) {
        p->BouquetAInfoPanel->setVisible(true);
        p->BouquetBInfoPanel->setVisible(false);
    } else {
        p->BouquetAInfoPanel->setVisible(false);
        p->BouquetBInfoPanel->setVisible(d->Kind == BKindBouquet || d->Kind == BKindChannel);
    }
    const TBouquet* bouquet = d->Kind == BKindBouquet                 ? d->Bouquet.get()
                              : d->Kind == BKindChannel && d->Channel ? d->Channel->Bouquet
                                                                      : nullptr;
    if (bouquet) {
        p->EBBouquetName->setText(DisplayName(bouquet->Name));
        p->EBBouquetName->setCursorPosition(0);
        p->EBBouquetHidden->setChecked(bouquet->Hidden);
        p->EBBouquetLocked->setChecked(bouquet->Locked);
    }
    if (d->Kind == BKindChannel && d->Channel) {
        const TChannel& c = *d->Channel;
        p->EBChannelName->setText(DisplayName(c.Name));
        p->EBChannelName->setCursorPosition(0);
        p->EBChannelName->setEnabled(!d->Reserved && !listsLocked_);
        p->LBChannelOnID->setText(Hex(c.Onid, 4));
        p->LBChannelTsID->setText(Hex(c.Tsid, 4));
        p->LBChannelServiceID->setText(Hex(c.ServiceId, 4));
        const bool sat = doc_.BoxType == BoxSat;
        p->Label15->setVisible(sat);
        p->LBChannelSatPosition->setVisible(sat);
        if (sat)
            p->LBChannelSatPosition->setText(DisplayName(c.SatPosition));
    }
    fillingPanels_ = false;
}

void TMain::EBBouquetNameChange(const QString& typed) {
    if (fillingPanels_ || listsLocked_)
        return;
    QString text = typed;
    if (IsReservedBouquetName(text.toStdString())) {
        dialogs_.Message(
            this, TMsgKind::Error,
            QStringLiteral("\"andere\" ist ein reserviertes Wort und\rdarf nicht für ein Bouquet "
                           "verwendet werden!"));
        text = QStringLiteral("Bouquet [reserviertes Wort]");
        BouquetRPanel->EBBouquetName->setText(text);
    }
    if (TMainEditing* e = EditingOf(*this)) { // undoable, one step per typing session
        e->Editor.RenameBouquet(FirstSelectedBouquetNode(), EncodeTypedName(text));
        return;
    }
    PBNode node = FirstSelectedBouquetNode();
    if (!node || !node->Data())
        return;
    if (node->Data()->Kind == BKindChannel)
        node = node->Parent();
    TBasicBNode* d = node ? node->Data() : nullptr;
    if (!d || !d->Bouquet)
        return;
    const std::string bytes = EncodeTypedName(text);
    d->Caption = bytes;
    d->Bouquet->Name = bytes;
    SetModified(true);
    VTBModel->NodeChanged(node);
}

void TMain::EBChannelNameChange(const QString& typed) {
    if (fillingPanels_ || listsLocked_)
        return;
    if (TMainEditing* e = EditingOf(*this)) {
        e->Editor.RenameChannel(FirstSelectedBouquetNode(), EncodeTypedName(typed));
        return;
    }
    PBNode node = FirstSelectedBouquetNode();
    TBasicBNode* d = node ? node->Data() : nullptr;
    if (!d || d->Kind != BKindChannel || !d->Channel)
        return;
    const std::string bytes = EncodeTypedName(typed);
    d->Caption = bytes;
    d->Channel->Name = bytes;
    SetModified(true);
    VTBModel->NodeChanged(node);
}

namespace {
TBouquet* BouquetOf(PBNode node) {
    TBasicBNode* d = node ? node->Data() : nullptr;
    if (!d)
        return nullptr;
    if (d->Kind == BKindChannel) {
        TBasicBNode* parent = node->Parent() ? node->Parent()->Data() : nullptr;
        return parent ? parent->Bouquet.get() : nullptr;
    }
    return d->Bouquet.get();
}
} // namespace

void TMain::EBBouquetHiddenClick(bool checked) {
    if (listsLocked_)
        return;
    if (TMainEditing* e = EditingOf(*this)) {
        e->Editor.SetHidden(FirstSelectedBouquetNode(), checked);
        return;
    }
    if (TBouquet* b = BouquetOf(FirstSelectedBouquetNode())) {
        b->Hidden = checked;
        SetModified(true);
    }
}

void TMain::EBBouquetLockedClick(bool checked) {
    if (listsLocked_)
        return;
    if (TMainEditing* e = EditingOf(*this)) {
        e->Editor.SetLocked(FirstSelectedBouquetNode(), checked);
        return;
    }
    if (TBouquet* b = BouquetOf(FirstSelectedBouquetNode())) {
        b->Locked = checked;
        SetModified(true);
    }
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
                         QStringLiteral("Der Channel :\"") + DisplayName(c.Name) +
                             QStringLiteral("\"\rhat keinen gültigen Service!\""));
        return;
    }
    Pages->setCurrentWidget(SheetServices);
    VTS->setUpdatesEnabled(false);
    VTS->CollapseAllQuietly();
    for (PSNode a = hit->Parent(); a; a = a->Parent())
        VTS->expand(VTSModel->IndexOf(a));
    VTS->setUpdatesEnabled(true);
    const QModelIndex i = VTSModel->IndexOf(hit);
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
    VTB->expand(VTBModel->IndexOf(doc_.VTB.GetFirst()));
    VTB->setUpdatesEnabled(true);
    KeepSelectionShown(VTB);
}

// ---- services tree -----------------------------------------------------------------

void TMain::VTSChange(PSNode node) {
    const TBasicSNode* d = node ? node->Data() : nullptr;
    if (!d)
        return;
    TServicesInfo* p = ServicesRPanel;
    const int k = d->Kind;
    p->ServicesSatInfoPanel1->setVisible(k >= SKindSat);
    p->ServicesSatInfoPanel2->setVisible(k >= SKindTransponder);
    p->ServicesSatInfoPanel3->setVisible(k == SKindChannel);

    const TTrChannel* ch = k == SKindChannel ? d->Channel.get() : nullptr;
    const TTransponder* tr = k == SKindTransponder ? d->Transponder.get() : ch ? ch->Transponder : nullptr;
    const TSat* sat = k == SKindSat ? d->Sat.get() : tr ? tr->Sat : nullptr;
    if (sat) {
        p->LSSatName->setText(DisplayName(sat->Name));
        p->LSSatDisEqc->setText(DisplayName(sat->Diseqc));
        p->LSSatPosition->setText(DisplayName(sat->Position));
    }
    if (tr) {
        p->LSTrID->setText(Hex(tr->Id, 4));
        p->LSTrOnID->setText(Hex(tr->Onid, 4));
        p->LSTrFrequency->setText(QString::number(tr->Frequency) + QStringLiteral(" kHz"));
        p->LSTrInversion->setText(DisplayName(tr->Inversion));
        p->LSTrSymbolrate->setText(QString::number(tr->SymbolRate));
        p->LSTrFec_inner->setText(QString::number(tr->FecInner));
        QString pol;
        if (doc_.BoxType == BoxSat)
            pol = tr->Polarization == 0   ? QStringLiteral("horizontal")
                  : tr->Polarization == 1 ? QStringLiteral("vertical")
                                          : QString::number(tr->Polarization);
        else if (doc_.BoxType == BoxCable)
            pol = QString::number(tr->Polarization);
        p->LSTrPolarization->setText(pol);
    }
    if (ch) {
        p->LSChName->setText(DisplayName(ch->Name));
        p->LSChServiceID->setText(Hex(ch->ServiceId, 4));
        QString type = Hex(ch->ServiceType, 2);
        if (ch->ServiceType == 1)
            type += QStringLiteral(" [TV]");
        else if (ch->ServiceType == 2)
            type += QStringLiteral(" [Radio]");
        p->LSChServiceType->setText(type);
        p->LSChServiceChNr->setText(DisplayName(ch->ChannelNr));
    }
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
    VTS->expand(VTSModel->IndexOf(root));
    for (std::size_t i = 0; i < root->ChildCount(); ++i)
        VTS->expand(VTSModel->IndexOf(root->Child(i)));
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
    VTBModel->BeginBulk();
    VTBModel->EndBulk();
    hiddenApplied_.clear();
    doc_.VTB.ForEach([this](PBNode n) {
        if (n->Expanded)
            VTB->setExpanded(VTBModel->IndexOf(n), true);
    });
    VTB->setUpdatesEnabled(true);
    RestoreBouquetSelection(selection);
}

void TMain::ApplyHiddenRows(PBNode parent) {
    if (!parent || !hiddenApplied_.insert(parent).second)
        return;
    const QModelIndex p = VTBModel->IndexOf(parent);
    for (std::size_t i = 0; i < parent->ChildCount(); ++i)
        if (!parent->Child(i)->Visible)
            VTB->setRowHidden(static_cast<int>(i), p, true);
}

void TMain::VTBExpanding(const QModelIndex& index) {
    ApplyHiddenRows(VTBModel->NodeOf(index));
}

void TMain::ApplyAllHiddenRows() {
    doc_.VTB.ForEach([this](PBNode n) {
        if (n->ChildCount() > 0)
            ApplyHiddenRows(n);
    });
}

} // namespace xantu
