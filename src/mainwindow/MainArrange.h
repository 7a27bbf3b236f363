// The window's side of filling, ordering and tidying bouquets: services
// dragged from the pool or the services tree onto the bouquet tree, the
// "Zu Bouquet hinzufügen" menus with Ctrl+Enter, the keyboard moves, the
// sort submenu and the two clean-ups. The work itself is done by the
// editing layer; this part finds the services and nodes the user meant and
// shows the result.
#pragma once

#include "edit/BouquetCleanup.h"
#include "edit/BouquetFill.h"
#include "edit/BouquetOrder.h"
#include "mainwindow/NodeTreeModel.h"
#include "mainwindow/TreeViews.h"

#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMimeData;
class QPoint;

namespace xantu {

class TMain;
class TMainEditing;
class TServicePool;

// The window's editing host, with one addition: the rows a command changes
// in one go reach the bouquet view as one layout change.
class TArrangeHost : public TEditHost {
  public:
    TArrangeHost(TEditHost& inner, TNodeTreeModel<TBasicBNode>& model) : inner_(inner), model_(model) {}
    bool Ask(const std::string& text) override { return inner_.Ask(text); }
    void ShowMessage(TMsgKind kind, const std::string& text) override { inner_.ShowMessage(kind, text); }
    void SetModified(bool modified) override { inner_.SetModified(modified); }
    void ShowBouquetsPage() override { inner_.ShowBouquetsPage(); }
    void ClearSelection() override { inner_.ClearSelection(); }
    void SelectOnly(PBNode node) override { inner_.SelectOnly(node); }
    void RevealNode(PBNode node) override { inner_.RevealNode(node); }
    void RepaintNode(PBNode node) override { inner_.RepaintNode(node); }
    void RefreshInfo() override { inner_.RefreshInfo(); }
    void CopyModeChanged(bool copyMode) override { inner_.CopyModeChanged(copyMode); }
    void HistoryChanged() override { inner_.HistoryChanged(); }
    void BeginBatch() override { model_.BeginRearrange(); }
    void EndBatch() override { model_.EndRearrange(); }

  private:
    TEditHost& inner_;
    TNodeTreeModel<TBasicBNode>& model_;
};

class TMainArrange : public QObject {
    Q_OBJECT
  public:
    TMainArrange(TMain& main, TMainEditing& editing);

    TArrangeHost Host;
    TBouquetFill Fill;
    TBouquetOrder Order;
    TBouquetCleanup Cleanup;

    // "Bearbeiten" and the bouquet tree's pop-up menu.
    QAction* MenuMoveUp = nullptr;
    QAction* MenuMoveDown = nullptr;
    QAction* MenuMoveToTop = nullptr;
    QAction* MenuMoveToEnd = nullptr;
    QMenu* MenuSortBouquet = nullptr;
    QAction* MenuSortByName = nullptr;
    QAction* MenuSortByServiceId = nullptr;
    QAction* MenuSortReverse = nullptr;
    QAction* MenuRemoveWithoutService = nullptr;
    QAction* MenuRemoveDuplicates = nullptr;
    // The services tree's pop-up menu.
    QMenu* MenuAddToBouquet = nullptr;
    QAction* MenuAddToLastBouquet = nullptr;
    // The pool's pop-up menu (after AttachPool).
    QMenu* PoolPopup = nullptr;
    QMenu* PoolAddToBouquet = nullptr;
    QAction* PoolAddToLastBouquet = nullptr;

    // Gives the pool its pop-up menu and Ctrl+Enter.
    void AttachPool(TServicePool& pool);
    // The box is busy: every command here stands still.
    void SetLocked(bool locked);

    void MoveSelection(TMoveStep step);
    void SortSelection(TSortKey key);
    void RemoveWithoutService();
    void RemoveDuplicates();
    // Adds the services to the end of `bouquet` and says so in the status bar.
    void AddServices(const std::vector<TTrChannel*>& services, PBNode bouquet);
    void AddToLastBouquet(const std::vector<TTrChannel*>& services);

    // The services the user has chosen: the selected channel of the services
    // tree; the selected rows of the pool in their shown order.
    std::vector<TTrChannel*> ServicesTreeSelection() const;
    std::vector<TTrChannel*> PoolSelection() const;
    // The services named by a drag from the pool, in its order.
    std::vector<TTrChannel*> ServicesFromPoolDrag(const QMimeData* mime) const;

  private:
    QAction* MakeAction(const char* name, const char* text, const QKeySequence& key,
                        const std::function<void()>& run);
    void FillBouquetMenu(QMenu* menu, std::function<std::vector<TTrChannel*>()> services);
    bool MayTakeServices(const QDropEvent* event, const QModelIndex& target) const;
    std::vector<TTrChannel*> DraggedServices(const QMimeData* mime, QObject* source) const;
    void ServicesDropped(const QModelIndex& target, TDropPosition position, const QMimeData* mime,
                         QObject* source);
    bool BouquetPageActive() const;
    void EntriesPermuted(PBNode parent);

    TMain& main_;
    TMainEditing& editing_;
    TServicePool* pool_ = nullptr;
    std::vector<QAction*> actions_;
};

// Creates the part of `main` (once, after the editing part).
void AttachArrange(TMain& main);
// The part of `main`, or nullptr before AttachArrange.
TMainArrange* ArrangeOf(const TMain& main);

} // namespace xantu
