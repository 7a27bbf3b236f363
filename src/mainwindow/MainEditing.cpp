#include "mainwindow/MainEditing.h"

#include "editui/PanelCopyMove.h"
#include "editui/SuchenDlg.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/Texts.h"

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

TMainEditing::TMainEditing(TMain& main) : Editor(main.Doc(), *this), main_(main) {
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

void TMainEditing::BeginBatch() {
    main_.vtbModel_.BeginRearrange();
}

void TMainEditing::EndBatch() {
    main_.vtbModel_.EndRearrange();
}

void TMainEditing::ClearSelection() {
    main_.VTB->selectionModel()->clearSelection();
}

void TMainEditing::SelectOnly(PBNode node) {
    main_.SelectBouquetNode(node);
    main_.VTB->scrollTo(main_.vtbModel_.IndexOf(node));
}

void TMainEditing::RevealNode(PBNode node) {
    // The search set the flags; the view follows them for the chain down to
    // the node.
    std::vector<PBNode> chain;
    for (PBNode n = node; n; n = n->Parent())
        chain.push_back(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const QModelIndex i = main_.vtbModel_.IndexOf(*it);
        main_.VTB->setRowHidden(i.row(), i.parent(), false);
        if (*it != node)
            main_.VTB->setExpanded(i, true);
    }
    main_.VTB->scrollTo(main_.vtbModel_.IndexOf(node));
}

void TMainEditing::RepaintNode(PBNode node) {
    if (node)
        main_.vtbModel_.NodeChanged(node);
    else
        main_.VTB->viewport()->update();
}

void TMainEditing::RefreshInfo() {
    main_.VTBChange(main_.FirstSelectedBouquetNode());
}

void TMainEditing::CopyModeChanged(bool copyMode) {
    main_.PanelCopyMove->ShowMode(copyMode);
}

void TMainEditing::HistoryChanged() {
    if (MenuUndo)
        MenuUndo->setEnabled(Editor.CanUndo() && !main_.ListsLocked());
    if (MenuRedo)
        MenuRedo->setEnabled(Editor.CanRedo() && !main_.ListsLocked());
}

std::vector<PBNode> TMainEditing::Selection() const {
    const QList<PBNode> nodes = main_.SelectedBouquetNodes();
    return {nodes.begin(), nodes.end()};
}

void TMainEditing::Attach() {
    MenuUndo = new QAction(QString::fromUtf8(mainwindow_texts::kMenuUndo), &main_);
    MenuUndo->setObjectName(QStringLiteral("MenuUndo"));
    MenuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    MenuRedo = new QAction(QString::fromUtf8(mainwindow_texts::kMenuRedo), &main_);
    MenuRedo->setObjectName(QStringLiteral("MenuRedo"));
    MenuRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    // One step may put back a thousand rows (a fill, a clean-up): the view
    // hears of them as one layout change, as it did when the step was made.
    connect(MenuUndo, &QAction::triggered, this, [this] {
        if (!main_.ListsLocked())
            Editor.Undo();
    });
    connect(MenuRedo, &QAction::triggered, this, [this] {
        if (!main_.ListsLocked())
            Editor.Redo();
    });
    main_.MenuBearbeiten->addSeparator();
    main_.MenuBearbeiten->addAction(MenuUndo);
    main_.MenuBearbeiten->addAction(MenuRedo);
    main_.addAction(MenuUndo);
    main_.addAction(MenuRedo);
    HistoryChanged();

    connect(main_.PanelCopyMove, &TPanelCopyMove::clicked, &main_, &TMain::MenuCopyMoveClick);
    AttachNameFields();
    if (QItemSelectionModel* sel = main_.VTB->selectionModel())
        connect(sel, &QItemSelectionModel::selectionChanged, this, [this] { Editor.EndNameEdit(); });

    // Drags start only with a selection a drop may take, and end only on a
    // node the acceptance table allows.
    main_.VTB->MayStartDrag = [this] { return Editor.CheckCopySelection(Selection()); };
    main_.VTB->MayDropOn = [this](const QModelIndex& target) {
        return TBouquetEditor::AcceptsDrop(TBouquetEditor::TreeOrder(Selection()),
                                           main_.vtbModel_.NodeOf(target));
    };
}

void TMainEditing::AttachNameFields() {
    auto* fieldUndo = new TNameFieldUndo(this);
    for (QLineEdit* field : main_.BouquetRPanel->NameFields()) {
        field->installEventFilter(fieldUndo);
        // A name of any length the lists hold (the field's default cuts at 32,767).
        field->setMaxLength(std::numeric_limits<int>::max());
        // A typed name is one undo step until the field is left or the
        // selection moves on.
        connect(field, &QLineEdit::editingFinished, this, [this] { Editor.EndNameEdit(); });
    }
}

// ---- the window's bouquet commands ------------------------------------------------

void TMain::MenuNewBouquetClick() {
    if (!listsLocked_)
        editing_.Editor.NewBouquet();
}

void TMain::MenuDeleteSelectionClick() {
    if (!listsLocked_ && Pages->currentWidget() == SheetBouquets)
        editing_.Editor.DeleteSelection(editing_.Selection());
}

void TMain::MenuSuchenClick() {
    if (doc_.VTB.TopCount() == 0)
        return;
    Pages->setCurrentWidget(SheetBouquets);
    TBouquetSearch& search = editing_.Editor.Search();
    TSuchenDlg dlg(dialogs_, this);
    dlg.SetSearchData(search.SearchData);
    if (editing_.ExecSearchDialog(dlg) == QDialog::Accepted) {
        TSearchData data;
        dlg.GetSearchData(data);
        search.Start(data);
    }
}

void TMain::MenuWeitersuchenClick() {
    if (Pages->currentWidget() == SheetBouquets)
        editing_.Editor.Search().Next();
}

void TMain::MenuCopyMoveClick() {
    if (!listsLocked_)
        editing_.Editor.ToggleCopyMode();
}

void TMain::VTBDragDrop(PBNode target, TDropPosition position, bool /*copyKey*/) {
    // Move or copy is the panel's mode, never a key held while dragging.
    if (listsLocked_ || !target || position == TDropPosition::Nowhere)
        return;
    const TDropPos pos = position == TDropPosition::Above ? TDropPos::Above
                         : position == TDropPosition::On  ? TDropPos::On
                                                          : TDropPos::Below;
    std::vector<PBNode> selection = editing_.Selection();
    if (!TBouquetEditor::AcceptsDrop(TBouquetEditor::TreeOrder(selection), target))
        return;
    editing_.Editor.DragDrop(std::move(selection), target, pos);
    RevealBouquetSelection();
}

} // namespace xantu
