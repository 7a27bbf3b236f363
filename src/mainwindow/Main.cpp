#include "mainwindow/Main.h"

#include "about/AboutBox.h"
#include "pool/ServicePool.h"

#include "core/FileIO.h"
#include "editui/PanelCopyMove.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/MainBox.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/TreeImages.h"
#include "settings/FormStore.h"
#include "ui/Application.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace xantu {

namespace {

constexpr int kInfoMinWidth = 220;
const char* const kDefaultBoxIP = "192.168.0.100";

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

TMain::TMain(TDialogs& dialogs, const TMainOptions& options, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), doc_(this) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("XANTU Editor"));
    setMinimumSize(550, 457);
    setGeometry(236, 88, 550, 493);

    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildPages();
    BuildStatusBar();
    AttachEditing(*this);
    box_ = std::make_unique<TMainBox>(*this);

    fstore_ = new TFormStore(this, QStringLiteral("Main"));
    fstore_->AddStoredInt(
        QStringLiteral("BouquetRPanel.Width"), [this] { return InfoColumnWidth(); },
        [this](int w) { SetInfoColumnWidth(w); });
    fstore_->AddStoredInt(
        QStringLiteral("ServicesRPanel.Width"), [this] { return InfoColumnWidth(); },
        [this](int w) { SetInfoColumnWidth(w); });
    fstore_->OnWriteFailed = [this](const QString& path) { SettingsWriteFailed(path); };
    fstore_->OnRestorePlacement = [this] { FStoreRestorePlacement(); };
    fstore_->OnSavePlacement = [this] { FStoreSavePlacement(); };

    // FormCreate: the satellite positions, then the settings file, then the
    // caption. A broken positions file is reported but does not keep the
    // window from its settings.
    const std::string satFile = options.SatPositionsFile.isEmpty() ? ProgramFolder() + "satpositionen.xml"
                                                                   : options.SatPositionsFile.toStdString();
    try {
        doc_.LoadSatPositions(satFile);
    } catch (const std::exception& e) {
        TApplication::ReportError(&dialogs_, QString::fromUtf8(e.what()));
    }
    fstore_->SetIniFileName(options.IniFileName.isEmpty() ? TFormStore::DefaultIniFileName()
                                                          : options.IniFileName);
    setWindowTitle(QString::fromLatin1(kAppTitle));
}

TMain::~TMain() {
    // A window destroyed without an allowed close still keeps its settings.
    if (!settingsSaved_)
        fstore_->SaveIfAllowed();
    // The views go before the trees they show.
    VTB->setModel(nullptr);
    VTS->setModel(nullptr);
    delete VTBModel;
    delete VTSModel;
    VTBModel = nullptr;
    VTSModel = nullptr;
    doc_.SetHost(nullptr);
}

// ---- building ---------------------------------------------------------------

void TMain::BuildActions() {
    auto make = [this](QAction*& a, const char* name, const QString& text, void (TMain::*slot)(),
                       const QKeySequence& key = {}) {
        a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this,
                [this, slot] { RunCommand([this, slot] { (this->*slot)(); }); });
    };
    make(Basiseinstellungen1, "Basiseinstellungen1", QStringLiteral("&Basiseinstellungen"),
         &TMain::Basiseinstellungen1Click);
    make(MenuOpen, "MenuOpen", QStringLiteral("Öffnen ..."), &TMain::MenuOpenClick);
    make(MenuSaveAs, "MenuSaveAs", QStringLiteral("&Speichern unter ..."), &TMain::MenuSaveAsClick);
    make(MenuOpenBackup, "MenuOpenBackup", QStringLiteral("Sicherung öffnen ..."),
         &TMain::MenuOpenBackupClick);
    make(Beenden1, "Beenden1", QStringLiteral("&Beenden"), &TMain::Beenden1Click);
    make(MenuCopyMove, "MenuCopyMove", QStringLiteral("CopyMove "), &TMain::MenuCopyMoveClick,
         QKeySequence(Qt::Key_F5));
    make(MenuLoadBouquetFTP, "MenuLoadBouquetFTP", QStringLiteral("Bouquet von der Box &laden"),
         &TMain::MenuLoadBouquetFTPClick);
    make(MenuSaveBouquetFTP, "MenuSaveBouquetFTP", QStringLiteral("Bouquet zur Box über&tragen"),
         &TMain::MenuSaveBouquetFTPClick);
    make(MenuNewBouquet, "MenuNewBouquet", QStringLiteral("&Neues Bouquet anlegen"),
         &TMain::MenuNewBouquetClick);
    make(MenuDeleteSelection, "MenuDeleteSelection", QStringLiteral("&Löschen der Auswahl"),
         &TMain::MenuDeleteSelectionClick);
    make(MenuSuchen, "MenuSuchen", QStringLiteral("&Suchen ..."), &TMain::MenuSuchenClick,
         QKeySequence(Qt::Key_F3));
    make(MenuWeitersuchen, "MenuWeitersuchen", QStringLiteral("&Weitersuchen"), &TMain::MenuWeitersuchenClick,
         QKeySequence(Qt::Key_F4));
    make(MenuTV, "MenuTV", QStringLiteral("&TV"), &TMain::MenuTVClick);
    make(MenuRadio, "MenuRadio", QStringLiteral("&Radio"), &TMain::MenuRadioClick);
    make(MenuSpezial, "MenuSpezial", QStringLiteral("&Spezielle Dienste"), &TMain::MenuSpezialClick);
    for (QAction* a : {MenuTV, MenuRadio, MenuSpezial})
        a->setCheckable(true);
    make(MenuServicepool, "MenuServicepool", QStringLiteral("Service&pool"), &TMain::MenuServicepoolClick,
         QKeySequence(Qt::Key_F9));
    MenuServicepool->setCheckable(true);
    make(MenuSatPosList, "MenuSatPosList", QStringLiteral("Satellitenpositionsliste"),
         &TMain::MenuSatPosListClick);
    MenuSatPosList->setVisible(false);
    make(MenuInfo, "MenuInfo", QStringLiteral("&Info"), &TMain::MenuInfoClick);

    make(MenuNewBouquet2, "MenuNewBouquet2", QStringLiteral("&Neues Bouquet anlegen"),
         &TMain::MenuNewBouquetClick, QKeySequence(Qt::Key_Insert));
    make(MenuDeleteSelection2, "MenuDeleteSelection2", QStringLiteral("&Löschen der Auswahl"),
         &TMain::MenuDeleteSelectionClick, QKeySequence(Qt::Key_Delete));
    make(MenuExpandBouquets, "MenuExpandBouquets", QStringLiteral("&Ganze Struktur anzeigen"),
         &TMain::MenuExpandBouquetsClick);
    make(MenuShowOnlyBouquets, "MenuShowOnlyBouquets", QStringLiteral("&Nur Bouquets anzeigen"),
         &TMain::MenuShowOnlyBouquetsClick);
    make(MenuExpandServices, "MenuExpandServices", QStringLiteral("&Ganze Stuktur anzeigen"),
         &TMain::MenuExpandServicesClick);
    make(MenuShowOnlyTransponder, "MenuShowOnlyTransponder", QStringLiteral("Nur Transponder anzeigen"),
         &TMain::MenuShowOnlyTransponderClick);

    // Tool-bar buttons: their own actions (hint = caption), same handlers.
    auto button = [this](QAction*& a, const char* name, const QString& text, const QIcon& icon,
                         void (TMain::*slot)(), bool toggle = false) {
        a = new QAction(icon, text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(text);
        a->setCheckable(toggle);
        connect(a, &QAction::triggered, this,
                [this, slot] { RunCommand([this, slot] { (this->*slot)(); }); });
    };
    button(BttnBeenden, "BttnBeenden", QStringLiteral("Beenden"),
           ThemeIcon("application-exit", QStyle::SP_DialogCloseButton), &TMain::Beenden1Click);
    button(BttnOpenBouquet, "BttnOpenBouquet", QStringLiteral("Öffnen ..."),
           ThemeIcon("document-open", QStyle::SP_DialogOpenButton), &TMain::MenuOpenClick);
    button(BttnSaveAs, "BttnSaveAs", QStringLiteral("Speichern unter ..."),
           ThemeIcon("document-save-as", QStyle::SP_DialogSaveButton), &TMain::MenuSaveAsClick);
    button(BttnLoadBouquet, "BttnLoadBouquet", QStringLiteral("Bouquet von der Box laden"),
           ThemeIcon("go-down", QStyle::SP_ArrowDown), &TMain::MenuLoadBouquetFTPClick);
    button(BttnTransferBouquet, "BttnTransferBouquet", QStringLiteral("Bouquet zur Box übertragen"),
           ThemeIcon("go-up", QStyle::SP_ArrowUp), &TMain::MenuSaveBouquetFTPClick);
    button(BttnShowTV, "BttnShowTV", QStringLiteral("TV anzeigen"), TreeImage(ImgTV), &TMain::MenuTVClick,
           true);
    button(BttnShowRadio, "BttnShowRadio", QStringLiteral("Radio anzeigen"), TreeImage(ImgRadio),
           &TMain::MenuRadioClick, true);
    button(BttnShowSpezial, "BttnShowSpezial", QStringLiteral("Spezielle Dienste anzeigen"),
           TreeImage(ImgSpecial), &TMain::MenuSpezialClick, true);
    button(BttnServicePool, "BttnServicePool", QStringLiteral("Servicepool"),
           ThemeIcon("view-list-details", QStyle::SP_FileDialogDetailedView), &TMain::MenuServicepoolClick,
           true);
    button(BttnNewBouquet, "BttnNewBouquet", QStringLiteral("Neues Bouquet anlegen"),
           BadgeIcon(ImgStructure, QColor(30, 150, 40), true), &TMain::MenuNewBouquetClick);
    button(BttnDeleteSelection, "BttnDeleteSelection", QStringLiteral("Auswahl löschen"),
           BadgeIcon(ImgStructure, QColor(200, 30, 30), false), &TMain::MenuDeleteSelectionClick);
    button(BttnInfo, "BttnInfo", QStringLiteral("Info"),
           ThemeIcon("help-about", QStyle::SP_MessageBoxInformation), &TMain::MenuInfoClick);
}

void TMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    QMenu* anwendung = bar->addMenu(QStringLiteral("&Anwendung"));
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

    QMenu* ftp = bar->addMenu(QStringLiteral("&FTP"));
    ftp->setObjectName(QStringLiteral("FTP1"));
    ftp->addAction(MenuLoadBouquetFTP);
    ftp->addAction(MenuSaveBouquetFTP);

    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("MenuBearbeiten"));
    edit->addAction(MenuNewBouquet);
    edit->addAction(MenuDeleteSelection);
    edit->addSeparator()->setObjectName(QStringLiteral("N5"));
    edit->addAction(MenuSuchen);
    edit->addAction(MenuWeitersuchen);

    QMenu* view = bar->addMenu(QStringLiteral("An&sicht"));
    view->setObjectName(QStringLiteral("Ansicht1"));
    view->addAction(MenuTV);
    view->addAction(MenuRadio);
    view->addAction(MenuSpezial);
    view->addSeparator()->setObjectName(QStringLiteral("N6"));
    view->addAction(MenuServicepool);
    view->addAction(MenuSatPosList);

    bar->addAction(MenuInfo);

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

    // "&Bouquets": copy/move panel and tree at the left, info column right.
    SheetBouquets = new QWidget(Pages);
    SheetBouquets->setObjectName(QStringLiteral("SheetBouquets"));
    auto* bLayout = new QVBoxLayout(SheetBouquets);
    bLayout->setContentsMargins(2, 2, 2, 2);
    Splitter1 = new QSplitter(Qt::Horizontal, SheetBouquets);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    auto* panel1 = new QWidget(Splitter1);
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto* p1Layout = new QVBoxLayout(panel1);
    p1Layout->setContentsMargins(0, 0, 0, 0);
    p1Layout->setSpacing(2);
    PanelCopyMove = new TPanelCopyMove(panel1);
    PanelCopyMove->setObjectName(QStringLiteral("PanelCopyMove"));
    PanelCopyMove->setFixedHeight(34);
    PanelCopyMove->setAlignment(Qt::AlignCenter);
    PanelCopyMove->setFrameShape(QFrame::StyledPanel);
    PanelCopyMove->setAutoFillBackground(true);
    PanelCopyMove->setToolTip(QStringLiteral("Kopieren oder Verschieben der Nodes\nShortcut: F5"));
    {
        QFont f = PanelCopyMove->font();
        f.setBold(true);
        PanelCopyMove->setFont(f);
        QPalette pal = PanelCopyMove->palette();
        pal.setColor(QPalette::WindowText, QColor(128, 0, 128));
        PanelCopyMove->setPalette(pal);
    }
    p1Layout->addWidget(PanelCopyMove);
    VTB = new TBouquetView(panel1);
    VTB->setObjectName(QStringLiteral("VTB"));
    p1Layout->addWidget(VTB, 1);
    BouquetRPanel = new TBouquetInfo;
    Splitter1->addWidget(panel1);
    Splitter1->addWidget(Scrolled(BouquetRPanel, Splitter1));
    bLayout->addWidget(Splitter1);
    Pages->addTab(SheetBouquets, QStringLiteral("&Bouquets"));

    // "&Services": tree left, info column right.
    SheetServices = new QWidget(Pages);
    SheetServices->setObjectName(QStringLiteral("SheetServices"));
    auto* sLayout = new QVBoxLayout(SheetServices);
    sLayout->setContentsMargins(2, 2, 2, 2);
    Splitter2 = new QSplitter(Qt::Horizontal, SheetServices);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    VTS = new TListTreeView(Splitter2);
    VTS->setObjectName(QStringLiteral("VTS"));
    VTS->setSelectionMode(QAbstractItemView::SingleSelection);
    ServicesRPanel = new TServicesInfo;
    Splitter2->addWidget(VTS);
    Splitter2->addWidget(Scrolled(ServicesRPanel, Splitter2));
    sLayout->addWidget(Splitter2);
    Pages->addTab(SheetServices, QStringLiteral("&Services"));

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

    // Models over the document's trees.
    VTBModel = new TBouquetModel(doc_.VTB);
    VTBModel->SetDragDrop(true);
    VTSModel = new TServicesModel(doc_.VTS);
    VTB->setModel(VTBModel);
    VTS->setModel(VTSModel);
    VTB->addActions(PopupBouquets->actions());
    VTS->addActions(PopupServices->actions());
    MenuNewBouquet2->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    MenuDeleteSelection2->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    connect(VTB->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                const QModelIndexList list = selected.indexes();
                if (!list.isEmpty())
                    VTBChange(VTBModel->NodeOf(VTB->currentIndex().isValid() &&
                                                       VTB->selectionModel()->isSelected(VTB->currentIndex())
                                                   ? VTB->currentIndex()
                                                   : list.last()));
            });
    connect(VTS->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                const QModelIndexList list = selected.indexes();
                if (!list.isEmpty())
                    VTSChange(VTSModel->NodeOf(list.first()));
            });
    connect(VTB, &QTreeView::collapsed, this, &TMain::VTBCollapsed);
    connect(VTB, &QTreeView::expanded, this, &TMain::VTBExpanding);
    // Nodes going away may leave their addresses to new ones.
    connect(VTBModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { hiddenApplied_.clear(); });
    connect(VTBModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { hiddenApplied_.clear(); });
    connect(VTS, &QTreeView::collapsed, this, &TMain::VTSCollapsed);
    connect(VTB, &TBouquetView::DeletePressed, this, &TMain::MenuDeleteSelectionClick);
    connect(VTB, &TBouquetView::NodesDropped, this,
            [this](const QModelIndex& target, TDropPosition pos, bool copy) {
                VTBDragDrop(VTBModel->NodeOf(target), pos, copy);
            });

    TBouquetInfo* b = BouquetRPanel;
    connect(b->EBBouquetName, &QLineEdit::textEdited, this, &TMain::EBBouquetNameChange);
    connect(b->EBChannelName, &QLineEdit::textEdited, this, &TMain::EBChannelNameChange);
    connect(b->EBBouquetHidden, &QCheckBox::clicked, this, &TMain::EBBouquetHiddenClick);
    connect(b->EBBouquetLocked, &QCheckBox::clicked, this, &TMain::EBBouquetLockedClick);
    connect(b->BttnGotoService, &QPushButton::clicked, this, &TMain::BttnGotoServiceClick);
    connect(b->Label15, &TClickLabel::clicked, this, &TMain::Basiseinstellungen1Click);
    AttachSelectionRules();
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

// ---- settings ----------------------------------------------------------------

void TMain::FStoreRestorePlacement() {
    TFormStore& s = *fstore_;
    BoxIP = s.ReadString(QStringLiteral("BoxIP"), QString::fromLatin1(kDefaultBoxIP));
    BoxUser = s.ReadString(QStringLiteral("BoxUser"), QStringLiteral("root"));
    BoxPass = s.ReadString(QStringLiteral("BoxPass"), QStringLiteral("qvex5"));
    BoxBouqDir = s.ReadString(QStringLiteral("BoxBouqDir"), QStringLiteral("/var/pelmar/config/xantu"));
    doc_.ShowTV = s.ReadInt(QStringLiteral("ShowTV"), 1) != 0;
    doc_.ShowRadio = s.ReadInt(QStringLiteral("ShowRadio"), 0) != 0;
    doc_.ShowSpezial = s.ReadInt(QStringLiteral("ShowSpezial"), 0) != 0;
    LocalPath = s.ReadString(QStringLiteral("LocalPath"), QString());
    doc_.Info_ChannelWithoutService = s.ReadInt(QStringLiteral("Info_ChannelWithoutService"), 1) != 0;
}

void TMain::FStoreSavePlacement() {
    TFormStore& s = *fstore_;
    s.WriteString(QStringLiteral("BoxIP"), BoxIP);
    s.WriteString(QStringLiteral("BoxUser"), BoxUser);
    s.WriteString(QStringLiteral("BoxPass"), BoxPass);
    s.WriteString(QStringLiteral("BoxBouqDir"), BoxBouqDir);
    s.WriteInt(QStringLiteral("ShowTV"), doc_.ShowTV ? 1 : 0);
    s.WriteInt(QStringLiteral("ShowRadio"), doc_.ShowRadio ? 1 : 0);
    s.WriteInt(QStringLiteral("ShowSpezial"), doc_.ShowSpezial ? 1 : 0);
    s.WriteString(QStringLiteral("LocalPath"), LocalPath);
    s.WriteInt(QStringLiteral("Info_ChannelWithoutService"), doc_.Info_ChannelWithoutService ? 1 : 0);
}

void TMain::SettingsWriteFailed(const QString& path) {
    dialogs_.Message(this, TMsgKind::Error,
                     QStringLiteral("Die Einstellungen konnten nicht gespeichert werden:\r") +
                         QDir::toNativeSeparators(path));
}

void TMain::showEvent(QShowEvent* event) {
    const bool first = !fstore_->Restored() && !property("xantuShown").toBool();
    fstore_->RestoreOnFirstShow();
    QMainWindow::showEvent(event);
    if (first) {
        setProperty("xantuShown", true);
        FormShow();
    }
}

void TMain::FormShow() {
    SetModified(false);
    ClearView();
    UpdateViewFilterControls();
}

int TMain::InfoColumnWidth() const {
    return infoWidth_;
}

void TMain::SetInfoColumnWidth(int width) {
    infoWidth_ = std::max(width, kInfoMinWidth);
    for (QSplitter* s : {Splitter1, Splitter2}) {
        const int total = std::max(s->width(), infoWidth_ + kInfoMinWidth + s->handleWidth());
        s->setSizes({total - infoWidth_ - s->handleWidth(), infoWidth_});
    }
}

void TMain::Splitter1Moved() {
    infoWidth_ = Splitter1->sizes().at(1);
    const int total = Splitter2->width();
    Splitter2->setSizes({total - infoWidth_ - Splitter2->handleWidth(), infoWidth_});
}

void TMain::Splitter2Moved() {
    infoWidth_ = Splitter2->sizes().at(1);
    const int total = Splitter1->width();
    Splitter1->setSizes({total - infoWidth_ - Splitter1->handleWidth(), infoWidth_});
}

// ---- modified state, view reset, closing -----------------------------------

void TMain::SetModified(bool modified) {
    if (modified)
        ++editCount_;
    modified_ = modified;
    // A load or save: the history's present state is the one on disk.
    if (!modified)
        if (TMainEditing* e = EditingOf(*this))
            e->Editor.MarkSaved();
    StatPanel[1]->setText(modified ? QStringLiteral("Geändert") : QString());
}

void TMain::SetStatus(const std::string& text) {
    const QString shown = QString::fromUtf8(text);
    StatPanel[0]->setText(shown);
    StatPanel[0]->setToolTip(shown);
    StatPanel[0]->repaint();
}

void TMain::ClearView() {
    Pages->setCurrentWidget(SheetBouquets);
    doc_.Clear(); // bouquets first: their entries point into the services
    SetMoveMode();
    if (TMainEditing* e = EditingOf(*this))
        e->Editor.ListsReplaced(); // history and search position refer to the old lists
    ShowCounters(0, 0, 0);
}

void TMain::SetCopyMode() {
    copyMode_ = true;
    PanelCopyMove->setText(QStringLiteral("Kopieren"));
    QPalette pal = PanelCopyMove->palette();
    pal.setColor(QPalette::Window, Qt::cyan);
    PanelCopyMove->setPalette(pal);
}

void TMain::SetMoveMode() {
    copyMode_ = false;
    PanelCopyMove->setText(QStringLiteral("Verschieben"));
    QPalette pal = PanelCopyMove->palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    PanelCopyMove->setPalette(pal);
}

void TMain::Beenden1Click() {
    if (OnBeforeBeenden)
        OnBeforeBeenden();
    if (!close() && OnBeendenRefused)
        OnBeendenRefused();
}

void TMain::closeEvent(QCloseEvent* event) {
    if (modified_ &&
        !dialogs_.Confirm(this, QStringLiteral("Am aktuellen Bouquet wurden Änderungen vorgenommen!\r"
                                               "Wollen Sie die Anwendung beenden und die Änderungen "
                                               "verlieren?"))) {
        event->ignore();
        return;
    }
    // A transfer still running ends quietly; its wait would otherwise go on
    // serving a window that is gone.
    if (box_->Transfer.Busy())
        box_->Transfer.Abort();
    fstore_->SaveIfAllowed();
    settingsSaved_ = fstore_->Restored();
    event->accept();
}

void TMain::RunCommand(const std::function<void()>& command) {
    // What a command does not catch itself ends here: a box with the error's
    // text, and the program runs on.
    try {
        command();
    } catch (const std::bad_alloc&) {
        TApplication::ReportError(&dialogs_, QStringLiteral("Nicht genügend Arbeitsspeicher"));
    } catch (const std::exception& e) {
        TApplication::ReportError(&dialogs_, QString::fromUtf8(e.what()));
    }
}

// ---- host --------------------------------------------------------------------

void TMain::ShowMessage(TMsgKind kind, const std::string& text) {
    dialogs_.Message(this, kind, QString::fromUtf8(text));
}

void TMain::ReportChannelsWithoutService(const std::vector<TUnlinkedEntry>& entries) {
    // A cut services file leaves hundreds of such entries: one box lists
    // them instead of one box each.
    if (entries.size() == 1) {
        ShowMessage(TMsgKind::Information, UnlinkedEntryMessage(entries.front()));
        return;
    }
    constexpr std::size_t kListed = 30;
    QString text = QStringLiteral("%1 Channels haben keinen gültigen Service:\r").arg(entries.size());
    for (std::size_t i = 0; i < entries.size() && i < kListed; ++i)
        text +=
            QStringLiteral("\rBouquet \"%1\": \"%2\"")
                .arg(QString::fromStdString(entries[i].Bouquet), QString::fromStdString(entries[i].Channel));
    if (entries.size() > kListed)
        text += QStringLiteral("\r… und %1 weitere").arg(entries.size() - kListed);
    dialogs_.Message(this, TMsgKind::Information, text);
}

void TMain::ShowCounters(int total, int tv, int radio) {
    ServicesRPanel->LSrvGesamt->setText(QString::number(total));
    ServicesRPanel->LSrvTV->setText(QString::number(tv));
    ServicesRPanel->LSrvRadio->setText(QString::number(radio));
}

void TMain::FillServicePool() {
    if (OnFillServicePool)
        OnFillServicePool();
}

void TMain::SetSatPosListVisible(bool visible) {
    MenuSatPosList->setVisible(visible);
}

void TMain::SetSatBoxLabels() {
    TServicesInfo* s = ServicesRPanel;
    s->ServicesSatInfoPanel1->Heading()->setText(QStringLiteral("Satelit"));
    for (QWidget* w : {static_cast<QWidget*>(s->CaptionSatDisEqc), static_cast<QWidget*>(s->LSSatDisEqc),
                       static_cast<QWidget*>(s->CaptionSatPosition), static_cast<QWidget*>(s->LSSatPosition)})
        w->setVisible(true);
    s->CaptionTrPolarization->setText(QStringLiteral("Polarization"));
    setWindowTitle(QString::fromLatin1(kAppTitle) + QStringLiteral(" [Sat-Box]"));
}

void TMain::SetCableBoxLabels() {
    TServicesInfo* s = ServicesRPanel;
    s->ServicesSatInfoPanel1->Heading()->setText(QStringLiteral("Kabel"));
    for (QWidget* w : {static_cast<QWidget*>(s->CaptionSatDisEqc), static_cast<QWidget*>(s->LSSatDisEqc),
                       static_cast<QWidget*>(s->CaptionSatPosition), static_cast<QWidget*>(s->LSSatPosition)})
        w->setVisible(false);
    s->CaptionTrPolarization->setText(QStringLiteral("Modulation"));
    setWindowTitle(QString::fromLatin1(kAppTitle) + QStringLiteral(" [Kabel-Box]"));
}

// ---- commands of other parts (filled in by them) ------------------------------

void TMain::MenuServicepoolClick() {
    // The pool window is created at start-up as a window of its own owned by
    // this one; its visibilityChanged keeps the check marks in step.
    // A minimised pool counts as hidden: the command brings it back.
    if (auto* pool = findChild<TServicePool*>(QString(), Qt::FindDirectChildrenOnly))
        pool->SetServicePoolVisible(!pool->ShownToUser());
}

void TMain::AttachServicePool(TServicePool& pool) {
    pool.SetNameDecoder([this](const std::string& bytes) { return DisplayName(bytes); });
    OnFillServicePool = [&pool] { pool.FillServicePool(); };
    OnBeforeBeenden = [&pool] { pool.EnableSettingsSave(); };
    OnBeendenRefused = [&pool] { pool.BeendenRefused(); };
    connect(&pool, &TServicePool::visibilityChanged, this, [this](bool visible) {
        MenuServicepool->setChecked(visible);
        BttnServicePool->setChecked(visible);
    });
    pool.Store()->OnWriteFailed = [this](const QString& path) { SettingsWriteFailed(path); };
    // F9 also while the pool has the focus.
    pool.addAction(MenuServicepool);
}
void TMain::MenuInfoClick() {
    TAboutBox::Execute(this, dialogs_);
}

} // namespace xantu
