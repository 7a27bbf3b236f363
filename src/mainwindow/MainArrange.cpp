#include "mainwindow/MainArrange.h"

#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/Texts.h"
#include "pool/ServicePool.h"

#include <QAction>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <algorithm>
#include <unordered_map>

namespace xantu {

namespace mt = mainwindow_texts;

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

uint64_t PoolKey(uint32_t sid, uint32_t onid, uint32_t tsid) {
    return (static_cast<uint64_t>(sid & 0xFFFF) << 32) | (static_cast<uint64_t>(onid & 0xFFFF) << 16) |
           (tsid & 0xFFFF);
}

QAction* Separator(QObject* parent) {
    auto* a = new QAction(parent);
    a->setSeparator(true);
    return a;
}

} // namespace

TMainArrange::TMainArrange(TMain& main, TMainEditing& editing)
    : QObject(&main), Host(editing, main.vtbModel_), Fill(editing.Editor, Host), Order(editing.Editor, Host),
      Cleanup(editing.Editor, Host), main_(main), editing_(editing) {
    setObjectName(QStringLiteral("BouquetArrange"));

    MenuMoveUp = MakeAction("MenuMoveUp", mt::kMoveUp, QKeySequence(Qt::CTRL | Qt::Key_Up),
                            [this] { MoveSelection(TMoveStep::Up); });
    MenuMoveDown = MakeAction("MenuMoveDown", mt::kMoveDown, QKeySequence(Qt::CTRL | Qt::Key_Down),
                              [this] { MoveSelection(TMoveStep::Down); });
    MenuMoveToTop = MakeAction("MenuMoveToTop", mt::kMoveToTop, QKeySequence(Qt::CTRL | Qt::Key_Home),
                               [this] { MoveSelection(TMoveStep::ToTop); });
    MenuMoveToEnd = MakeAction("MenuMoveToEnd", mt::kMoveToEnd, QKeySequence(Qt::CTRL | Qt::Key_End),
                               [this] { MoveSelection(TMoveStep::ToEnd); });
    MenuSortByName =
        MakeAction("MenuSortByName", mt::kSortByName, {}, [this] { SortSelection(TSortKey::Name); });
    MenuSortByServiceId = MakeAction("MenuSortByServiceId", mt::kSortByServiceId, {},
                                     [this] { SortSelection(TSortKey::ServiceId); });
    MenuSortReverse =
        MakeAction("MenuSortReverse", mt::kSortReverse, {}, [this] { SortSelection(TSortKey::Reverse); });
    MenuRemoveWithoutService = MakeAction("MenuRemoveWithoutService", mt::kRemoveWithoutService, {},
                                          [this] { RemoveWithoutService(); });
    MenuRemoveDuplicates =
        MakeAction("MenuRemoveDuplicates", mt::kRemoveDuplicates, {}, [this] { RemoveDuplicates(); });

    MenuSortBouquet = new QMenu(Text(mt::kSortBouquet), &main_);
    MenuSortBouquet->setObjectName(QStringLiteral("MenuSortBouquet"));
    MenuSortBouquet->addActions({MenuSortByName, MenuSortByServiceId, MenuSortReverse});
    MenuSortBouquet->menuAction()->setObjectName(QStringLiteral("MenuSortBouquetItem"));
    actions_.push_back(MenuSortBouquet->menuAction());

    // The moves act on the tree with the focus only: Ctrl+Home and Ctrl+End
    // keep their meaning in the name fields.
    const QList<QAction*> treeItems = {Separator(this),
                                       MenuMoveUp,
                                       MenuMoveDown,
                                       MenuMoveToTop,
                                       MenuMoveToEnd,
                                       Separator(this),
                                       MenuSortBouquet->menuAction(),
                                       MenuRemoveWithoutService,
                                       MenuRemoveDuplicates};
    for (QAction* a : {MenuMoveUp, MenuMoveDown, MenuMoveToTop, MenuMoveToEnd})
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    main_.VTB->addActions(treeItems);
    main_.PopupBouquets->addActions(treeItems);
    // In "Bearbeiten" beside the other bouquet commands, ahead of the search
    // and the undo items.
    if (auto* edit = main_.findChild<QMenu*>(QStringLiteral("MenuBearbeiten"))) {
        const QList<QAction*> items = edit->actions();
        const qsizetype at = items.indexOf(main_.MenuDeleteSelection);
        edit->insertActions(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, treeItems);
    }

    // The services tree: its channels into bouquets.
    MenuAddToBouquet = new QMenu(Text(mt::kAddToBouquet), &main_);
    MenuAddToBouquet->setObjectName(QStringLiteral("MenuAddToBouquet"));
    MenuAddToBouquet->menuAction()->setObjectName(QStringLiteral("MenuAddToBouquetItem"));
    FillBouquetMenu(MenuAddToBouquet, [this] { return ServicesTreeSelection(); });
    MenuAddToLastBouquet =
        MakeAction("MenuAddToLastBouquet", mt::kAddToLastBouquet, QKeySequence(Qt::CTRL | Qt::Key_Return),
                   [this] { AddToLastBouquet(ServicesTreeSelection()); });
    MenuAddToLastBouquet->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    MenuAddToLastBouquet->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    actions_.push_back(MenuAddToBouquet->menuAction());
    const QList<QAction*> serviceItems = {Separator(this), MenuAddToBouquet->menuAction(),
                                          MenuAddToLastBouquet};
    main_.VTS->addActions(serviceItems);
    main_.PopupServices->addActions(serviceItems);
    // Channels can be dragged onto the bouquet tree; the services tree
    // itself takes no drop.
    main_.vtsModel_.SetDragDrop(true);
    main_.VTS->setDragEnabled(true);
    main_.VTS->setDragDropMode(QAbstractItemView::DragOnly);
    main_.VTS->setDefaultDropAction(Qt::CopyAction);
    // The bouquet tree is on the other page: held over its tab, a drag
    // brings it up.
    if (auto* tabs = main_.Pages->findChild<QTabBar*>()) {
        tabs->setChangeCurrentOnDrag(true);
        tabs->setAcceptDrops(true);
    }

    // Entries that changed places in one go (a sort, services leaving
    // "andere") kept their rows and exchanged contents: the view shows the
    // new contents and hides the rows by their new flags.
    editing.Editor.History().OnPermuted = [this](PBNode parent) { EntriesPermuted(parent); };

    main_.vtbModel_.SetForeignMimeTypes({QString::fromLatin1(TServicePoolModel::MimeType)});
    main_.VTB->MayTakeServices = [this](const QDropEvent* event, const QModelIndex& target) {
        return MayTakeServices(event, target);
    };
    connect(main_.VTB, &TBouquetView::ServicesDropped, this, &TMainArrange::ServicesDropped);
}

QAction* TMainArrange::MakeAction(const char* name, const char* text, const QKeySequence& key,
                                  const std::function<void()>& run) {
    auto* a = new QAction(Text(text), &main_);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    connect(a, &QAction::triggered, this, [run] { run(); });
    actions_.push_back(a);
    return a;
}

void TMainArrange::FillBouquetMenu(QMenu* menu, std::function<std::vector<TTrChannel*>()> services) {
    // Built each time it opens: the bouquets change with every edit.
    connect(menu, &QMenu::aboutToShow, this, [this, menu, services] {
        menu->clear();
        const std::vector<PBNode> bouquets = Fill.Bouquets();
        for (PBNode b : bouquets) {
            QAction* a = menu->addAction(main_.DisplayName(b->Data()->Caption));
            a->setEnabled(!main_.ListsLocked());
            connect(a, &QAction::triggered, this, [this, b, services] {
                // The menu was built from the list as it stood; the bouquet
                // must still be in it.
                const std::vector<PBNode> now = Fill.Bouquets();
                if (std::find(now.begin(), now.end(), b) != now.end())
                    AddServices(services(), b);
            });
        }
        if (bouquets.empty())
            menu->addAction(Text(mt::kNoBouquets))->setEnabled(false);
    });
}

void TMainArrange::AttachPool(TServicePool& pool) {
    pool_ = &pool;
    QTreeView* view = pool.View();
    PoolPopup = new QMenu(view);
    PoolPopup->setObjectName(QStringLiteral("PoolPopup"));
    PoolAddToBouquet = PoolPopup->addMenu(Text(mt::kAddToBouquet));
    PoolAddToBouquet->setObjectName(QStringLiteral("PoolAddToBouquet"));
    FillBouquetMenu(PoolAddToBouquet, [this] { return PoolSelection(); });
    PoolAddToLastBouquet = new QAction(Text(mt::kAddToLastBouquet), view);
    PoolAddToLastBouquet->setObjectName(QStringLiteral("PoolAddToLastBouquet"));
    PoolAddToLastBouquet->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    PoolAddToLastBouquet->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(PoolAddToLastBouquet, &QAction::triggered, this, [this] { AddToLastBouquet(PoolSelection()); });
    PoolPopup->addAction(PoolAddToLastBouquet);
    view->addAction(PoolAddToLastBouquet);
    actions_.push_back(PoolAddToBouquet->menuAction());
    actions_.push_back(PoolAddToLastBouquet);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
        if (main_.Doc().VTB.TopCount() > 0)
            PoolPopup->popup(view->viewport()->mapToGlobal(at));
    });
    SetLocked(main_.ListsLocked());
}

void TMainArrange::SetLocked(bool locked) {
    for (QAction* a : actions_)
        a->setEnabled(!locked);
}

void TMainArrange::EntriesPermuted(PBNode parent) {
    const QModelIndex p = main_.vtbModel_.IndexOf(parent);
    for (std::size_t i = 0; i < parent->ChildCount(); ++i) {
        const int row = static_cast<int>(i);
        const bool hide = !parent->Child(i)->Visible;
        if (main_.VTB->isRowHidden(row, p) != hide)
            main_.VTB->setRowHidden(row, p, hide);
    }
    // Texts and pictures are read from the nodes when painted.
    main_.VTB->viewport()->update();
}

bool TMainArrange::BouquetPageActive() const {
    return main_.Pages->currentWidget() == main_.SheetBouquets;
}

// ---- the bouquet tree's commands -------------------------------------------------

void TMainArrange::MoveSelection(TMoveStep step) {
    if (main_.ListsLocked() || !BouquetPageActive())
        return;
    const std::vector<PBNode> selection = editing_.Selection();
    if (!Order.Move(selection, step))
        return;
    // The nodes moved as themselves: the view kept them selected; the first
    // should stay in sight.
    const std::vector<PBNode> list = TBouquetEditor::TreeOrder(selection);
    const bool down = step == TMoveStep::Down || step == TMoveStep::ToEnd;
    main_.VTB->scrollTo(main_.vtbModel_.IndexOf(down ? list.back() : list.front()));
}

void TMainArrange::SortSelection(TSortKey key) {
    if (main_.ListsLocked() || !BouquetPageActive())
        return;
    Order.Sort(editing_.Selection(), key);
}

void TMainArrange::RemoveWithoutService() {
    if (!main_.ListsLocked() && BouquetPageActive() && main_.Doc().VTB.TopCount() > 0)
        Cleanup.RemoveWithoutService();
}

void TMainArrange::RemoveDuplicates() {
    if (!main_.ListsLocked() && BouquetPageActive() && main_.Doc().VTB.TopCount() > 0)
        Cleanup.RemoveDuplicates();
}

// ---- services into bouquets ------------------------------------------------------

void TMainArrange::AddServices(const std::vector<TTrChannel*>& services, PBNode bouquet) {
    if (main_.ListsLocked() || services.empty() || !bouquet)
        return;
    const std::vector<PBNode> added = Fill.Append(services, bouquet);
    if (added.empty())
        return;
    // Entries of a class the view filters out stay out of sight.
    const QModelIndex parent = main_.vtbModel_.IndexOf(bouquet);
    for (PBNode n : added)
        if (!n->Visible)
            main_.VTB->setRowHidden(static_cast<int>(n->Index()), parent, true);
    main_.SetStatus(Text(mt::kAddedToBouquet)
                        .arg(added.size())
                        .arg(main_.DisplayName(bouquet->Data()->Caption))
                        .toStdString());
}

void TMainArrange::AddToLastBouquet(const std::vector<TTrChannel*>& services) {
    if (main_.ListsLocked() || services.empty())
        return;
    PBNode last = Fill.LastBouquet();
    if (!last) {
        main_.Dialogs().MessageOk(&main_, TMsgKind::Information, Text(mt::kNoLastBouquet));
        return;
    }
    AddServices(services, last);
}

std::vector<TTrChannel*> TMainArrange::ServicesTreeSelection() const {
    std::vector<TTrChannel*> out;
    for (const QModelIndex& i : main_.VTS->selectionModel()->selectedIndexes()) {
        PSNode n = main_.vtsModel_.NodeOf(i);
        if (n && n->Data() && n->Data()->Kind == SKindChannel && n->Data()->Channel)
            out.push_back(n->Data()->Channel.get());
    }
    return out;
}

std::vector<TTrChannel*> TMainArrange::PoolSelection() const {
    std::vector<TTrChannel*> out;
    if (!pool_)
        return out;
    QModelIndexList rows = pool_->View()->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& i : rows)
        if (const TSPoolData* d = pool_->Model().RowData(i.row()); d && d->Channel)
            out.push_back(d->Channel);
    return out;
}

std::vector<TTrChannel*> TMainArrange::ServicesFromPoolDrag(const QMimeData* mime) const {
    std::vector<TTrChannel*> out;
    if (!mime)
        return out;
    // One line per row: service id, original network id, transponder id.
    std::vector<uint64_t> keys;
    std::unordered_map<uint64_t, TTrChannel*> found;
    const QList<QByteArray> lines = mime->data(QString::fromLatin1(TServicePoolModel::MimeType)).split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() != 3)
            continue;
        bool ok[3] = {};
        const uint32_t sid = f[0].toUInt(&ok[0], 16), onid = f[1].toUInt(&ok[1], 16),
                       tsid = f[2].toUInt(&ok[2], 16);
        if (!ok[0] || !ok[1] || !ok[2])
            continue;
        keys.push_back(PoolKey(sid, onid, tsid));
        found.emplace(keys.back(), nullptr);
    }
    if (keys.empty())
        return out;
    main_.Doc().VTS.ForEach([&](PSNode n) {
        TBasicSNode* d = n->Data();
        if (!d || d->Kind != SKindChannel || !d->Channel || !d->Channel->Transponder)
            return;
        const TTransponder& tp = *d->Channel->Transponder;
        auto it = found.find(PoolKey(static_cast<uint32_t>(d->Channel->ServiceId),
                                     static_cast<uint32_t>(tp.Onid), static_cast<uint32_t>(tp.Id)));
        if (it != found.end() && !it->second)
            it->second = d->Channel.get();
    });
    for (uint64_t k : keys)
        if (TTrChannel* s = found[k])
            out.push_back(s);
    return out;
}

std::vector<TTrChannel*> TMainArrange::DraggedServices(const QMimeData* mime, QObject* source) const {
    if (source == main_.VTS)
        return ServicesTreeSelection();
    if (mime && mime->hasFormat(QString::fromLatin1(TServicePoolModel::MimeType)))
        return ServicesFromPoolDrag(mime);
    return {};
}

bool TMainArrange::MayTakeServices(const QDropEvent* event, const QModelIndex& target) const {
    if (main_.ListsLocked() || !event)
        return false;
    const QMimeData* mime = event->mimeData();
    const bool fromTree = event->source() == main_.VTS && !ServicesTreeSelection().empty();
    const bool fromPool = mime && mime->hasFormat(QString::fromLatin1(TServicePoolModel::MimeType));
    if (!fromTree && !fromPool)
        return false;
    if (!target.isValid())
        return true; // the drag may enter; the node under the mouse decides
    return TBouquetFill::TargetBouquet(main_.vtbModel_.NodeOf(target)) != nullptr;
}

void TMainArrange::ServicesDropped(const QModelIndex& target, TDropPosition position, const QMimeData* mime,
                                   QObject* source) {
    PBNode node = main_.vtbModel_.NodeOf(target);
    if (main_.ListsLocked() || !TBouquetFill::TargetBouquet(node) || position == TDropPosition::Nowhere)
        return;
    const std::vector<TTrChannel*> services = DraggedServices(mime, source);
    const TDropPos pos = position == TDropPosition::Above ? TDropPos::Above
                         : position == TDropPosition::On  ? TDropPos::On
                                                          : TDropPos::Below;
    const std::vector<PBNode> added = Fill.Drop(services, node, pos);
    if (added.empty())
        return;
    // The new entries are what the user looks at now: selected, in sight,
    // unless the view filters their class out.
    PBNode bouquet = added.front()->Parent();
    const QModelIndex parent = main_.vtbModel_.IndexOf(bouquet);
    main_.VTB->setExpanded(parent, true);
    QItemSelection selection;
    for (PBNode n : added) {
        const QModelIndex i = main_.vtbModel_.IndexOf(n);
        if (!n->Visible)
            main_.VTB->setRowHidden(i.row(), parent, true);
        else
            selection.select(i, i);
    }
    if (!selection.isEmpty()) {
        QItemSelectionModel* sel = main_.VTB->selectionModel();
        sel->setCurrentIndex(selection.indexes().first(), QItemSelectionModel::NoUpdate);
        sel->select(selection, QItemSelectionModel::ClearAndSelect);
        main_.VTB->scrollTo(selection.indexes().first());
    }
    main_.activateWindow();
    main_.VTB->setFocus();
}

void AttachArrange(TMain& main) {
    new TMainArrange(main, main.Editing());
}

TMainArrange* ArrangeOf(const TMain& main) {
    return main.findChild<TMainArrange*>(QStringLiteral("BouquetArrange"), Qt::FindDirectChildrenOnly);
}

} // namespace xantu
