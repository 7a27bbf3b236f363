// Building the main window's controls: the actions with their handlers, the
// menus and pop-ups, the tool bar, the two pages with their trees and info
// columns, and the status bar.
#include "editui/PanelCopyMove.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/Texts.h"
#include "mainwindow/TreeImages.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace xantu {

using namespace mainwindow_texts;

namespace {

constexpr int kInfoMinWidth = 220;

QString T(const char* text) {
    return QString::fromUtf8(text);
}

// A tool-bar picture: the desktop theme's icon, else a standard one.
QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

// A tree picture with a small badge, for the bouquet commands.
QIcon BadgeIcon(int image, QColor badge, bool plus) {
    QPixmap pm = TreeImage(image).pixmap(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(badge);
    p.drawEllipse(QRectF(8, 8, 8, 8));
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(9.8, 12), QPointF(14.2, 12));
    if (plus)
        p.drawLine(QPointF(12, 9.8), QPointF(12, 14.2));
    return QIcon(pm);
}

// An info column in a scroll area: at the window's smallest size its rows
// keep their height and scroll instead of overlapping.
QScrollArea* Scrolled(QWidget* panel, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setObjectName(panel->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(panel);
    return area;
}

} // namespace

QAction* TMain::MakeAction(const char* name, const QString& text, void (TMain::*slot)()) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, [this, slot] { RunCommand([this, slot] { (this->*slot)(); }); });
    return a;
}

void TMain::BuildActions() {
    struct TItem {
        QAction*& Action;
        const char* Name;
        const char* Text;
        void (TMain::*Slot)();
        QKeySequence Key = {};
    };
    const TItem items[] = {
        {Basiseinstellungen1, "Basiseinstellungen1", kMenuBasicSettings, &TMain::Basiseinstellungen1Click},
        {MenuOpen, "MenuOpen", kMenuOpen, &TMain::MenuOpenClick},
        {MenuSaveAs, "MenuSaveAs", kMenuSaveAs, &TMain::MenuSaveAsClick},
        {MenuOpenBackup, "MenuOpenBackup", kMenuOpenBackup, &TMain::MenuOpenBackupClick},
        {Beenden1, "Beenden1", kMenuBeenden, &TMain::Beenden1Click},
        {MenuCopyMove, "MenuCopyMove", kMenuCopyMove, &TMain::MenuCopyMoveClick, QKeySequence(Qt::Key_F5)},
        {MenuLoadBouquetFTP, "MenuLoadBouquetFTP", kMenuLoadFtp, &TMain::MenuLoadBouquetFTPClick},
        {MenuSaveBouquetFTP, "MenuSaveBouquetFTP", kMenuSaveFtp, &TMain::MenuSaveBouquetFTPClick},
        {MenuNewBouquet, "MenuNewBouquet", kMenuNewBouquet, &TMain::MenuNewBouquetClick},
        {MenuDeleteSelection, "MenuDeleteSelection", kMenuDeleteSelection, &TMain::MenuDeleteSelectionClick},
        {MenuSuchen, "MenuSuchen", kMenuSuchen, &TMain::MenuSuchenClick, QKeySequence(Qt::Key_F3)},
        {MenuWeitersuchen, "MenuWeitersuchen", kMenuWeitersuchen, &TMain::MenuWeitersuchenClick,
         QKeySequence(Qt::Key_F4)},
        {MenuTV, "MenuTV", kMenuTV, &TMain::MenuTVClick},
        {MenuRadio, "MenuRadio", kMenuRadio, &TMain::MenuRadioClick},
        {MenuSpezial, "MenuSpezial", kMenuSpezial, &TMain::MenuSpezialClick},
        {MenuServicepool, "MenuServicepool", kMenuServicepool, &TMain::MenuServicepoolClick,
         QKeySequence(Qt::Key_F9)},
        {MenuSatPosList, "MenuSatPosList", kMenuSatPosList, &TMain::MenuSatPosListClick},
        {MenuInfo, "MenuInfo", kMenuInfo, &TMain::MenuInfoClick},
        {MenuNewBouquet2, "MenuNewBouquet2", kMenuNewBouquet, &TMain::MenuNewBouquetClick,
         QKeySequence(Qt::Key_Insert)},
        {MenuDeleteSelection2, "MenuDeleteSelection2", kMenuDeleteSelection, &TMain::MenuDeleteSelectionClick,
         QKeySequence(Qt::Key_Delete)},
        {MenuExpandBouquets, "MenuExpandBouquets", kMenuExpandBouquets, &TMain::MenuExpandBouquetsClick},
        {MenuShowOnlyBouquets, "MenuShowOnlyBouquets", kMenuShowOnlyBouquets,
         &TMain::MenuShowOnlyBouquetsClick},
        {MenuExpandServices, "MenuExpandServices", kMenuExpandServices, &TMain::MenuExpandServicesClick},
        {MenuShowOnlyTransponder, "MenuShowOnlyTransponder", kMenuShowOnlyTransponder,
         &TMain::MenuShowOnlyTransponderClick},
    };
    for (const TItem& item : items) {
        item.Action = MakeAction(item.Name, T(item.Text), item.Slot);
        if (!item.Key.isEmpty())
            item.Action->setShortcut(item.Key);
    }
    for (QAction* a : {MenuTV, MenuRadio, MenuSpezial, MenuServicepool})
        a->setCheckable(true);
    MenuSatPosList->setVisible(false);
    BuildButtons();
}

void TMain::BuildButtons() {
    // Tool-bar buttons: their own actions (hint = caption), same handlers.
    struct TButton {
        QAction*& Action;
        const char* Name;
        const char* Hint;
        QIcon Icon;
        void (TMain::*Slot)();
        bool Toggle = false;
    };
    const TButton buttons[] = {
        {BttnBeenden, "BttnBeenden", kHintBeenden,
         ThemeIcon("application-exit", QStyle::SP_DialogCloseButton), &TMain::Beenden1Click},
        {BttnOpenBouquet, "BttnOpenBouquet", kHintOpen,
         ThemeIcon("document-open", QStyle::SP_DialogOpenButton), &TMain::MenuOpenClick},
        {BttnSaveAs, "BttnSaveAs", kHintSaveAs, ThemeIcon("document-save-as", QStyle::SP_DialogSaveButton),
         &TMain::MenuSaveAsClick},
        {BttnLoadBouquet, "BttnLoadBouquet", kHintLoadFtp, ThemeIcon("go-down", QStyle::SP_ArrowDown),
         &TMain::MenuLoadBouquetFTPClick},
        {BttnTransferBouquet, "BttnTransferBouquet", kHintSaveFtp, ThemeIcon("go-up", QStyle::SP_ArrowUp),
         &TMain::MenuSaveBouquetFTPClick},
        {BttnShowTV, "BttnShowTV", kHintShowTV, TreeImage(ImgTV), &TMain::MenuTVClick, true},
        {BttnShowRadio, "BttnShowRadio", kHintShowRadio, TreeImage(ImgRadio), &TMain::MenuRadioClick, true},
        {BttnShowSpezial, "BttnShowSpezial", kHintShowSpezial, TreeImage(ImgSpecial),
         &TMain::MenuSpezialClick, true},
        {BttnServicePool, "BttnServicePool", kHintServicePool,
         ThemeIcon("view-list-details", QStyle::SP_FileDialogDetailedView), &TMain::MenuServicepoolClick,
         true},
        {BttnNewBouquet, "BttnNewBouquet", kHintNewBouquet,
         BadgeIcon(ImgStructure, QColor(30, 150, 40), true), &TMain::MenuNewBouquetClick},
        {BttnDeleteSelection, "BttnDeleteSelection", kHintDeleteSelection,
         BadgeIcon(ImgStructure, QColor(200, 30, 30), false), &TMain::MenuDeleteSelectionClick},
        {BttnInfo, "BttnInfo", kHintInfo, ThemeIcon("help-about", QStyle::SP_MessageBoxInformation),
         &TMain::MenuInfoClick},
    };
    for (const TButton& b : buttons) {
        b.Action = MakeAction(b.Name, T(b.Hint), b.Slot);
        b.Action->setIcon(b.Icon);
        b.Action->setToolTip(T(b.Hint));
        b.Action->setCheckable(b.Toggle);
    }
}

void TMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    QMenu* anwendung = bar->addMenu(T(kMenuAnwendung));
    anwendung->setObjectName(QStringLiteral("Anwendung1"));
    anwendung->addAction(Basiseinstellungen1);
    anwendung->addSeparator()->setObjectName(QStringLiteral("N2"));
    anwendung->addAction(MenuOpen);
    anwendung->addAction(MenuSaveAs);
    anwendung->addAction(MenuOpenBackup);
    anwendung->addSeparator()->setObjectName(QStringLiteral("N1"));
    anwendung->addAction(Beenden1);
    // "CopyMove " only carries F5; it belongs to the window, never shown.
    addAction(MenuCopyMove);

    QMenu* ftp = bar->addMenu(T(kMenuFtp));
    ftp->setObjectName(QStringLiteral("FTP1"));
    ftp->addAction(MenuLoadBouquetFTP);
    ftp->addAction(MenuSaveBouquetFTP);

    MenuBearbeiten = bar->addMenu(T(kMenuBearbeiten));
    MenuBearbeiten->setObjectName(QStringLiteral("MenuBearbeiten"));
    MenuBearbeiten->addAction(MenuNewBouquet);
    MenuBearbeiten->addAction(MenuDeleteSelection);
    MenuBearbeiten->addSeparator()->setObjectName(QStringLiteral("N5"));
    MenuBearbeiten->addAction(MenuSuchen);
    MenuBearbeiten->addAction(MenuWeitersuchen);

    QMenu* view = bar->addMenu(T(kMenuAnsicht));
    view->setObjectName(QStringLiteral("Ansicht1"));
    view->addAction(MenuTV);
    view->addAction(MenuRadio);
    view->addAction(MenuSpezial);
    view->addSeparator()->setObjectName(QStringLiteral("N6"));
    view->addAction(MenuServicepool);
    view->addAction(MenuSatPosList);

    bar->addAction(MenuInfo);
    BuildPopups();
}

void TMain::BuildPopups() {
    PopupBouquets = new QMenu(this);
    PopupBouquets->setObjectName(QStringLiteral("PopupBouquets"));
    PopupBouquets->addAction(MenuNewBouquet2);
    PopupBouquets->addAction(MenuDeleteSelection2);
    PopupBouquets->addSeparator();
    // The search items are the main menu's own (one F3, one F4).
    PopupBouquets->addAction(MenuSuchen);
    PopupBouquets->addAction(MenuWeitersuchen);
    PopupBouquets->addSeparator();
    PopupBouquets->addAction(MenuExpandBouquets);
    PopupBouquets->addAction(MenuShowOnlyBouquets);

    PopupServices = new QMenu(this);
    PopupServices->setObjectName(QStringLiteral("PopupServices"));
    PopupServices->addAction(MenuExpandServices);
    PopupServices->addAction(MenuShowOnlyTransponder);
}

void TMain::BuildToolBar() {
    ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const struct {
        const char* section;
        QList<QAction*> buttons;
    } sections[] = {
        {"Anwendung", {BttnBeenden, BttnOpenBouquet, BttnSaveAs}},
        {"FTP", {BttnLoadBouquet, BttnTransferBouquet}},
        {"Ansicht", {BttnShowTV, BttnShowRadio, BttnShowSpezial, BttnServicePool}},
        {"Bearbeiten", {BttnNewBouquet, BttnDeleteSelection}},
        {"Info", {BttnInfo}},
    };
    bool first = true;
    for (const auto& s : sections) {
        if (!first)
            ToolBar->addSeparator()->setObjectName(QString::fromLatin1(s.section));
        first = false;
        for (QAction* a : s.buttons) {
            ToolBar->addAction(a);
            if (QWidget* w = ToolBar->widgetForAction(a)) {
                w->setObjectName(a->objectName());
                w->setFixedSize(24, 23);
            }
        }
    }
}

void TMain::BuildPages() {
    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    setCentralWidget(Pages);
    Pages->addTab(BuildBouquetsPage(), T(kPageBouquets));
    Pages->addTab(BuildServicesPage(), T(kPageServices));
    BuildSplitters();

    vtbModel_.SetDragDrop(true);
    VTB->setModel(&vtbModel_);
    VTS->setModel(&vtsModel_);
    VTB->addActions(PopupBouquets->actions());
    VTS->addActions(PopupServices->actions());
    MenuNewBouquet2->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    MenuDeleteSelection2->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ConnectTrees();
    ConnectInfoPanels();
    AttachSelectionRules();
}

QWidget* TMain::BuildBouquetsPage() {
    // "&Bouquets": copy/move panel and tree at the left, info column right.
    SheetBouquets = new QWidget(Pages);
    SheetBouquets->setObjectName(QStringLiteral("SheetBouquets"));
    auto* layout = new QVBoxLayout(SheetBouquets);
    layout->setContentsMargins(2, 2, 2, 2);
    Splitter1 = new QSplitter(Qt::Horizontal, SheetBouquets);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    auto* panel1 = new QWidget(Splitter1);
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto* p1Layout = new QVBoxLayout(panel1);
    p1Layout->setContentsMargins(0, 0, 0, 0);
    p1Layout->setSpacing(2);
    PanelCopyMove = new TPanelCopyMove(panel1);
    p1Layout->addWidget(PanelCopyMove);
    VTB = new TBouquetView(panel1);
    VTB->setObjectName(QStringLiteral("VTB"));
    p1Layout->addWidget(VTB, 1);
    BouquetRPanel = new TBouquetInfo;
    Splitter1->addWidget(panel1);
    Splitter1->addWidget(Scrolled(BouquetRPanel, Splitter1));
    layout->addWidget(Splitter1);
    return SheetBouquets;
}

QWidget* TMain::BuildServicesPage() {
    // "&Services": tree left, info column right.
    SheetServices = new QWidget(Pages);
    SheetServices->setObjectName(QStringLiteral("SheetServices"));
    auto* layout = new QVBoxLayout(SheetServices);
    layout->setContentsMargins(2, 2, 2, 2);
    Splitter2 = new QSplitter(Qt::Horizontal, SheetServices);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    VTS = new TListTreeView(Splitter2);
    VTS->setObjectName(QStringLiteral("VTS"));
    VTS->setSelectionMode(QAbstractItemView::SingleSelection);
    ServicesRPanel = new TServicesInfo;
    Splitter2->addWidget(VTS);
    Splitter2->addWidget(Scrolled(ServicesRPanel, Splitter2));
    layout->addWidget(Splitter2);
    return SheetServices;
}

void TMain::BuildSplitters() {
    for (QSplitter* s : {Splitter1, Splitter2}) {
        s->setHandleWidth(3);
        s->setChildrenCollapsible(false);
        s->setStretchFactor(0, 1);
        s->setStretchFactor(1, 0);
        s->widget(0)->setMinimumWidth(kInfoMinWidth);
        s->widget(1)->setMinimumWidth(kInfoMinWidth);
    }
    Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background: palette(highlight); }"));
    Splitter2->setStyleSheet(QStringLiteral("QSplitter::handle { background: navy; }"));
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });
    connect(Splitter2, &QSplitter::splitterMoved, this, [this] { Splitter2Moved(); });
    SetInfoColumnWidth(kInfoMinWidth);
}

void TMain::ConnectTrees() {
    connect(VTB->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                const QModelIndexList list = selected.indexes();
                if (list.isEmpty())
                    return;
                const QModelIndex current = VTB->currentIndex();
                const bool currentSelected = current.isValid() && VTB->selectionModel()->isSelected(current);
                VTBChange(vtbModel_.NodeOf(currentSelected ? current : list.last()));
            });
    connect(VTS->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                const QModelIndexList list = selected.indexes();
                if (!list.isEmpty())
                    VTSChange(vtsModel_.NodeOf(list.first()));
            });
    connect(VTB, &QTreeView::collapsed, this, &TMain::VTBCollapsed);
    connect(VTB, &QTreeView::expanded, this, &TMain::VTBExpanding);
    // Nodes going away may leave their addresses to new ones.
    connect(&vtbModel_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { hiddenApplied_.clear(); });
    connect(&vtbModel_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { hiddenApplied_.clear(); });
    connect(VTS, &QTreeView::collapsed, this, &TMain::VTSCollapsed);
    connect(VTB, &TBouquetView::DeletePressed, this, &TMain::MenuDeleteSelectionClick);
    connect(VTB, &TBouquetView::NodesDropped, this,
            [this](const QModelIndex& target, TDropPosition pos, bool copy) {
                VTBDragDrop(vtbModel_.NodeOf(target), pos, copy);
            });
}

void TMain::ConnectInfoPanels() {
    TBouquetInfo* b = BouquetRPanel;
    connect(b, &TBouquetInfo::BouquetNameEdited, this, &TMain::EBBouquetNameChange);
    connect(b, &TBouquetInfo::ChannelNameEdited, this, &TMain::EBChannelNameChange);
    connect(b, &TBouquetInfo::HiddenClicked, this, &TMain::EBBouquetHiddenClick);
    connect(b, &TBouquetInfo::LockedClicked, this, &TMain::EBBouquetLockedClick);
    connect(b, &TBouquetInfo::GotoServiceClicked, this, &TMain::BttnGotoServiceClick);
    connect(b, &TBouquetInfo::SatPositionClicked, this, &TMain::Basiseinstellungen1Click);
}

void TMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatBar"));
    bar->setSizeGripEnabled(true);
    const int widths[3] = {150, 80, 50};
    for (int i = 0; i < 3; ++i) {
        StatPanel[i] = new QLabel(bar);
        StatPanel[i]->setObjectName(QStringLiteral("StatPanel%1").arg(i));
        StatPanel[i]->setTextFormat(Qt::PlainText);
        // The first panel grows with its text (a long result must be read
        // whole); the others keep their widths.
        if (i == 0)
            StatPanel[i]->setMinimumWidth(widths[i]);
        else
            StatPanel[i]->setFixedWidth(widths[i]);
        StatPanel[i]->setFrameShape(QFrame::StyledPanel);
        StatPanel[i]->setFrameShadow(QFrame::Sunken);
        bar->addWidget(StatPanel[i]);
    }
}

} // namespace xantu
