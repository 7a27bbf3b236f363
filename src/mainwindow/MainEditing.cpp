#include "mainwindow/MainEditing.h"

#include "editui/PanelCopyMove.h"
#include "editui/SuchenDlg.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <limits>
#include <memory>

namespace xantu {

namespace {

// The name fields keep no undo of their own: Ctrl+Z and Ctrl+Y reach the
// list history (a field's own undo would come back as one more rename and
// throw the redo steps away), and their context menu offers no undo items.
class TNameFieldUndo : public QObject {
  public:
    explicit TNameFieldUndo(QObject* parent) : QObject(parent) {}

    static bool IsHistoryKey(QKeyEvent* key) {
        return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
               (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && IsHistoryKey(static_cast<QKeyEvent*>(event))) {
            event->ignore(); // left to the window's shortcuts
            return true;
        }
        if (event->type() == QEvent::KeyPress && IsHistoryKey(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            auto* edit = qobject_cast<QLineEdit*>(watched);
            auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            if (!edit)
                return false;
            std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
            // An editable field's menu begins with its undo and redo items
            // and a separator.
            const QList<QAction*> items = menu->actions();
            if (!edit->isReadOnly() && items.size() > 2 && !items[0]->isSeparator() &&
                !items[1]->isSeparator() && items[2]->isSeparator())
                for (int i = 0; i < 3; ++i)
                    menu->removeAction(items[i]);
            menu->exec(menuEvent->globalPos());
            return true;
        }
        return false;
    }
};

} // namespace

TMainEditing::TMainEditing(TMain& main) : QObject(&main), Editor(main.Doc(), *this), main_(main) {
    setObjectName(QStringLiteral("BouquetEditing"));
    ExecSearchDialog = [](TSuchenDlg& dlg) { return dlg.exec(); };
}

bool TMainEditing::Ask(const std::string& text) {
    return main_.Dialogs().Confirm(&main_, QString::fromUtf8(text));
}

void TMainEditing::ShowMessage(TMsgKind kind, const std::string& text) {
    main_.Dialogs().Message(&main_, kind, QString::fromUtf8(text));
}

void TMainEditing::SetModified(bool modified) {
    main_.SetModified(modified);
}

void TMainEditing::ShowBouquetsPage() {
    main_.Pages->setCurrentWidget(main_.SheetBouquets);
}

void TMainEditing::ClearSelection() {
    main_.VTB->selectionModel()->clearSelection();
}

void TMainEditing::SelectOnly(PBNode node) {
    main_.SelectBouquetNode(node);
    main_.VTB->scrollTo(main_.VTBModel->IndexOf(node));
}

void TMainEditing::RevealNode(PBNode node) {
    // The search set the flags; the view follows them for the chain down to
    // the node.
    std::vector<PBNode> chain;
    for (PBNode n = node; n; n = n->Parent())
        chain.push_back(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const QModelIndex i = main_.VTBModel->IndexOf(*it);
        main_.VTB->setRowHidden(i.row(), i.parent(), false);
        if (*it != node)
            main_.VTB->setExpanded(i, true);
    }
    main_.VTB->scrollTo(main_.VTBModel->IndexOf(node));
}

void TMainEditing::RepaintNode(PBNode node) {
    if (node)
        main_.VTBModel->NodeChanged(node);
    else
        main_.VTB->viewport()->update();
}

void TMainEditing::RefreshInfo() {
    main_.VTBChange(main_.FirstSelectedBouquetNode());
}

void TMainEditing::CopyModeChanged(bool copyMode) {
    if (copyMode)
        main_.SetCopyMode();
    else
        main_.SetMoveMode();
}

void TMainEditing::HistoryChanged() {
    if (MenuUndo)
        MenuUndo->setEnabled(Editor.CanUndo());
    if (MenuRedo)
        MenuRedo->setEnabled(Editor.CanRedo());
}

std::vector<PBNode> TMainEditing::Selection() const {
    const QList<PBNode> nodes = main_.SelectedBouquetNodes();
    return {nodes.begin(), nodes.end()};
}

void AttachEditing(TMain& main) {
    auto* e = new TMainEditing(main);

    e->MenuUndo = new QAction(QStringLiteral("&Rückgängig"), &main);
    e->MenuUndo->setObjectName(QStringLiteral("MenuUndo"));
    e->MenuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    e->MenuRedo = new QAction(QStringLiteral("&Wiederholen"), &main);
    e->MenuRedo->setObjectName(QStringLiteral("MenuRedo"));
    e->MenuRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QObject::connect(e->MenuUndo, &QAction::triggered, e, [e] { e->Editor.Undo(); });
    QObject::connect(e->MenuRedo, &QAction::triggered, e, [e] { e->Editor.Redo(); });
    if (auto* menu = main.findChild<QMenu*>(QStringLiteral("MenuBearbeiten"))) {
        menu->addSeparator();
        menu->addAction(e->MenuUndo);
        menu->addAction(e->MenuRedo);
    }
    main.addAction(e->MenuUndo);
    main.addAction(e->MenuRedo);
    e->HistoryChanged();

    if (auto* panel = qobject_cast<TPanelCopyMove*>(main.PanelCopyMove))
        QObject::connect(panel, &TPanelCopyMove::clicked, &main, &TMain::MenuCopyMoveClick);

    auto* fieldUndo = new TNameFieldUndo(e);
    for (QLineEdit* field : {main.BouquetRPanel->EBBouquetName, main.BouquetRPanel->EBChannelName}) {
        field->installEventFilter(fieldUndo);
        // A name of any length the lists hold (the field's default cuts at 32,767).
        field->setMaxLength(std::numeric_limits<int>::max());
    }

    // A typed name is one undo step until the field is left or the
    // selection moves on.
    QObject::connect(main.BouquetRPanel->EBBouquetName, &QLineEdit::editingFinished, e,
                     [e] { e->Editor.EndNameEdit(); });
    QObject::connect(main.BouquetRPanel->EBChannelName, &QLineEdit::editingFinished, e,
                     [e] { e->Editor.EndNameEdit(); });
    if (QItemSelectionModel* sel = main.VTB->selectionModel())
        QObject::connect(sel, &QItemSelectionModel::selectionChanged, e, [e] { e->Editor.EndNameEdit(); });

    // Drags start only with a selection a drop may take, and end only on a
    // node the acceptance table allows.
    main.VTB->MayStartDrag = [e] { return e->Editor.CheckCopySelection(e->Selection()); };
    main.VTB->MayDropOn = [e, &main](const QModelIndex& target) {
        return TBouquetEditor::AcceptsDrop(TBouquetEditor::TreeOrder(e->Selection()),
                                           main.VTBModel->NodeOf(target));
    };
}

TMainEditing* EditingOf(const TMain& main) {
    return main.findChild<TMainEditing*>(QStringLiteral("BouquetEditing"), Qt::FindDirectChildrenOnly);
}

// ---- the window's bouquet commands ------------------------------------------------

void TMain::MenuNewBouquetClick() {
    if (TMainEditing* e = EditingOf(*this))
        e->Editor.NewBouquet();
}

void TMain::MenuDeleteSelectionClick() {
    TMainEditing* e = EditingOf(*this);
    if (e && Pages->currentWidget() == SheetBouquets)
        e->Editor.DeleteSelection(e->Selection());
}

void TMain::MenuSuchenClick() {
    TMainEditing* e = EditingOf(*this);
    if (!e || doc_.VTB.TopCount() == 0)
        return;
    Pages->setCurrentWidget(SheetBouquets);
    TBouquetSearch& search = e->Editor.Search();
    TSuchenDlg dlg(dialogs_, this);
    dlg.SetSearchData(search.SearchData);
    if (e->ExecSearchDialog(dlg) == QDialog::Accepted) {
        TSearchData data;
        dlg.GetSearchData(data);
        search.Start(data);
    }
}

void TMain::MenuWeitersuchenClick() {
    TMainEditing* e = EditingOf(*this);
    if (e && Pages->currentWidget() == SheetBouquets)
        e->Editor.Search().Next();
}

void TMain::MenuCopyMoveClick() {
    if (TMainEditing* e = EditingOf(*this))
        e->Editor.ToggleCopyMode();
}

void TMain::VTBDragDrop(PBNode target, TDropPosition position, bool /*copyKey*/) {
    // Move or copy is the panel's mode, never a key held while dragging.
    TMainEditing* e = EditingOf(*this);
    if (!e || !target || position == TDropPosition::Nowhere)
        return;
    const TDropPos pos = position == TDropPosition::Above ? TDropPos::Above
                         : position == TDropPosition::On  ? TDropPos::On
                                                          : TDropPos::Below;
    std::vector<PBNode> selection = e->Selection();
    if (!TBouquetEditor::AcceptsDrop(TBouquetEditor::TreeOrder(selection), target))
        return;
    e->Editor.DragDrop(std::move(selection), target, pos);
}

} // namespace xantu
