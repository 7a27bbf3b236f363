#include "pool/ServicePool.h"

#include "pool/Texts.h"
#include "settings/FormStore.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>
#include <unordered_set>

namespace xantu {

using namespace pool_texts;

namespace {

QString T(const char* text) {
    return QString::fromUtf8(text);
}

const char* const kFlagKeys[] = {"ShowTV",     "ShowRadio", "ShowSpezial", "ShowSID",    "ShowSTyp",
                                 "ShowTrOnID", "ShowTrID",  "ShowDiseqc",  "ShowSatelit"};
const int kFlagDefaults[] = {1, 0, 0, 1, 1, 1, 1, 1, 1};

// Stand-in pictures until the shared tree pictures are handed in.
QIcon FallbackImage(int index) {
    static const QColor colours[] = {QColor(0x80, 0x80, 0x80), QColor(0x20, 0x60, 0xC0),
                                     QColor(0x20, 0x90, 0x40), QColor(0xD0, 0x80, 0x10),
                                     QColor(0xC0, 0x30, 0x30)};
    if (index < 0 || index >= 5)
        return QIcon();
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours[index]);
    p.setPen(colours[index].darker(140));
    p.drawRoundedRect(QRectF(2.5, 3.5, 11, 9), 2, 2);
    p.end();
    return QIcon(pm);
}

} // namespace

TServicePool::TServicePool(TListDocument& doc, const QString& iniFileName, TDialogs& dialogs,
                           TImageProvider images, QWidget* parent)
    // A tool window of the main window: it stays above the main window but
    // never above the program's own boxes and dialogs.
    : QMainWindow(parent, Qt::Tool), doc_(doc), dialogs_(dialogs) {
    setObjectName(QStringLiteral("ServicePool"));
    setWindowTitle(T(kTitle));
    resize(720, 440);
    for (int i = 0; i < PoolColumnCount; ++i)
        widths_[i] = PoolColumnWidth(i);

    view_ = new QTreeView(this);
    view_->setObjectName(QStringLiteral("VTSP"));
    view_->setModel(&model_);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSortingEnabled(false);
    view_->setDragEnabled(true);
    view_->setDragDropMode(QAbstractItemView::DragOnly);
    view_->setDefaultDropAction(Qt::CopyAction);
    setCentralWidget(view_);

    QHeaderView* header = view_->header();
    header->setSectionsMovable(true);
    header->setFirstSectionMovable(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setStretchLastSection(false);
    for (int i = 0; i < PoolColumnCount; ++i)
        header->resizeSection(i, widths_[i]);
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column >= 0 && column < PoolColumnCount && size > 0)
            widths_[column] = size;
    });
    connect(header, &QHeaderView::sectionClicked, this, &TServicePool::VTSPHeaderClick);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatBar"));
    statusBar()->addWidget(status_, 1);

    BuildControls(images);
    SetImageProvider(images);

    store_ = new TFormStore(this, QStringLiteral("ServicePool"));
    if (!iniFileName.isEmpty())
        store_->SetIniFileName(iniFileName);
    store_->OnRestorePlacement = [this] { FStoreRestorePlacement(); };
    store_->OnSavePlacement = [this] { FStoreSavePlacement(); };

    doc_.VTS.AddObserver(this);
    ApplyPoolFilter();
}

TServicePool::~TServicePool() {
    store_->SaveIfAllowed();
    doc_.VTS.RemoveObserver(this);
    view_->setModel(nullptr);
}

void TServicePool::BuildControls(const TImageProvider& images) {
    auto makeAction = [this](const QString& name, const QString& text, void (TServicePool::*handler)(),
                             bool checkable) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    const TImageProvider pictures = images ? images : TImageProvider(FallbackImage);

    QAction* hide =
        makeAction(QStringLiteral("MenuHideWindow"), T(kMenuHide), &TServicePool::MenuHideWindowClick, false);
    menuBar()->addAction(hide);

    QMenu* types = menuBar()->addMenu(T(kMenuTypes));
    types->setObjectName(QStringLiteral("MenuServicetypen"));
    menuTV_ = makeAction(QStringLiteral("MenuTV"), T(kMenuTV), &TServicePool::MenuTVClick, true);
    menuRadio_ = makeAction(QStringLiteral("MenuRadio"), T(kMenuRadio), &TServicePool::MenuRadioClick, true);
    menuSpezial_ =
        makeAction(QStringLiteral("MenuSpezial"), T(kMenuSpezial), &TServicePool::MenuSpezialClick, true);
    types->addActions({menuTV_, menuRadio_, menuSpezial_});

    QMenu* columns = menuBar()->addMenu(T(kMenuColumns));
    columns->setObjectName(QStringLiteral("MenuDarstellung"));
    menuColumn_[PoolColSID] =
        makeAction(QStringLiteral("MenuSID"), T(kMenuSID), &TServicePool::MenuSIDClick, true);
    menuColumn_[PoolColSTyp] =
        makeAction(QStringLiteral("MenuSTyp"), T(kMenuSTyp), &TServicePool::MenuSTypClick, true);
    menuColumn_[PoolColTrOnID] =
        makeAction(QStringLiteral("MenuTrOnID"), T(kMenuTrOnID), &TServicePool::MenuTrOnIDClick, true);
    menuColumn_[PoolColTrID] =
        makeAction(QStringLiteral("MenuTrID"), T(kMenuTrID), &TServicePool::MenuTrIDClick, true);
    menuColumn_[PoolColDiseqc] =
        makeAction(QStringLiteral("MenuDiseqc"), T(kMenuDiseqc), &TServicePool::MenuDiseqcClick, true);
    menuColumn_[PoolColSatelit] =
        makeAction(QStringLiteral("MenuSatelit"), T(kMenuSatelit), &TServicePool::MenuSatelitClick, true);
    for (int i = PoolColSID; i < PoolColumnCount; ++i)
        columns->addAction(menuColumn_[i]);

    QAction* hint =
        makeAction(QStringLiteral("MenuHinweis"), T(kMenuHinweis), &TServicePool::MenuHinweisClick, false);
    menuBar()->addAction(hint);

    // Tool bar: three named sections; every button shows its caption as hint.
    auto addBar = [this](const QString& title) {
        QToolBar* bar = addToolBar(title);
        bar->setObjectName(title);
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(false);
        return bar;
    };
    QToolBar* form = addBar(T(kBarForm));
    QAction* bttnHide =
        makeAction(QStringLiteral("BttnHideWindow"), T(kHintHide), &TServicePool::MenuHideWindowClick, false);
    bttnHide->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    form->addAction(bttnHide);

    QToolBar* typeBar = addBar(T(kBarTypes));
    bttnShowTV_ = makeAction(QStringLiteral("BttnShowTV"), T(kHintShowTV), &TServicePool::MenuTVClick, true);
    bttnShowRadio_ =
        makeAction(QStringLiteral("BttnShowRadio"), T(kHintShowRadio), &TServicePool::MenuRadioClick, true);
    bttnShowSpezial_ = makeAction(QStringLiteral("BttnShowSpezial"), T(kHintShowSpezial),
                                  &TServicePool::MenuSpezialClick, true);
    bttnShowTV_->setIcon(pictures(ImgTV));
    bttnShowRadio_->setIcon(pictures(ImgRadio));
    bttnShowSpezial_->setIcon(pictures(ImgSpecial));
    typeBar->addActions({bttnShowTV_, bttnShowRadio_, bttnShowSpezial_});

    QToolBar* hintBar = addBar(T(kBarHint));
    QAction* bttnInfo =
        makeAction(QStringLiteral("BttnInfo"), T(kHintHinweis), &TServicePool::MenuHinweisClick, false);
    bttnInfo->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    hintBar->addAction(bttnInfo);
}

void TServicePool::SetImageProvider(const TImageProvider& images) {
    const TImageProvider pictures = images ? images : TImageProvider(FallbackImage);
    model_.SetImageProvider(pictures);
    if (bttnShowTV_) {
        bttnShowTV_->setIcon(pictures(ImgTV));
        bttnShowRadio_->setIcon(pictures(ImgRadio));
        bttnShowSpezial_->setIcon(pictures(ImgSpecial));
    }
}

// ---- rows -------------------------------------------------------------------

void TServicePool::FillServicePool() {
    view_->setUpdatesEnabled(false);
    model_.Fill(doc_.VTS);
    ApplyPoolFilter();
    view_->setUpdatesEnabled(true);
}

void TServicePool::Clear() {
    model_.Clear();
    ApplyPoolFilter();
}

void TServicePool::ApplyPoolFilter() {
    const int shown = model_.SetClassFilter(ShowTV, ShowRadio, ShowSpezial);
    status_->setText(T(kShownCount) + QString::number(shown));
}

QString TServicePool::StatusText() const {
    return status_->text();
}

// ---- controls ---------------------------------------------------------------

bool* TServicePool::ColumnFlag(int column) {
    switch (column) {
    case PoolColSID:
        return &ShowSID;
    case PoolColSTyp:
        return &ShowSTyp;
    case PoolColTrOnID:
        return &ShowTrOnID;
    case PoolColTrID:
        return &ShowTrID;
    case PoolColDiseqc:
        return &ShowDiseqc;
    case PoolColSatelit:
        return &ShowSatelit;
    default:
        return nullptr;
    }
}

void TServicePool::UpdatePoolControls() {
    menuTV_->setChecked(ShowTV);
    bttnShowTV_->setChecked(ShowTV);
    menuRadio_->setChecked(ShowRadio);
    bttnShowRadio_->setChecked(ShowRadio);
    menuSpezial_->setChecked(ShowSpezial);
    bttnShowSpezial_->setChecked(ShowSpezial);
    for (int i = PoolColSID; i < PoolColumnCount; ++i)
        menuColumn_[i]->setChecked(*ColumnFlag(i));
    for (int i = PoolColSID; i < PoolColumnCount; ++i)
        SetColumnVisible(i, *ColumnFlag(i));
}

void TServicePool::SetColumnVisible(int index, bool visible) {
    // The name column always stays.
    if (index <= PoolColName || index >= PoolColumnCount)
        return;
    view_->header()->setSectionHidden(index, !visible);
}

void TServicePool::MenuHideWindowClick() {
    close();
}

void TServicePool::MenuTVClick() {
    ShowTV = !ShowTV;
    UpdatePoolControls();
    ApplyPoolFilter();
}

void TServicePool::MenuRadioClick() {
    ShowRadio = !ShowRadio;
    UpdatePoolControls();
    ApplyPoolFilter();
}

void TServicePool::MenuSpezialClick() {
    ShowSpezial = !ShowSpezial;
    UpdatePoolControls();
    ApplyPoolFilter();
}

void TServicePool::MenuSIDClick() {
    ShowSID = !ShowSID;
    UpdatePoolControls();
}

void TServicePool::MenuSTypClick() {
    ShowSTyp = !ShowSTyp;
    UpdatePoolControls();
}

void TServicePool::MenuTrOnIDClick() {
    ShowTrOnID = !ShowTrOnID;
    UpdatePoolControls();
}

void TServicePool::MenuTrIDClick() {
    ShowTrID = !ShowTrID;
    UpdatePoolControls();
}

void TServicePool::MenuDiseqcClick() {
    ShowDiseqc = !ShowDiseqc;
    UpdatePoolControls();
}

void TServicePool::MenuSatelitClick() {
    ShowSatelit = !ShowSatelit;
    UpdatePoolControls();
}

void TServicePool::MenuHinweisClick() {
    dialogs_.Message(this, TMsgKind::Information, T(kHinweis));
}

void TServicePool::VTSPHeaderClick(int column) {
    if (column < 0 || column >= PoolColumnCount)
        return;
    if (sortColumn_ >= 0)
        model_.SetShadedColumn(-1);
    if (sortColumn_ < 0 || column != sortColumn_) {
        sortColumn_ = column;
        sortOrder_ = Qt::AscendingOrder;
    } else {
        sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    model_.SetShadedColumn(sortColumn_);
    view_->header()->setSortIndicator(sortColumn_, sortOrder_);
    model_.Sort(sortColumn_, sortOrder_);
}

// ---- showing, hiding, settings ---------------------------------------------

void TServicePool::SetServicePoolVisible(bool visible) {
    if (visible) {
        // A minimised pool comes back as it was before.
        if (windowState() & Qt::WindowMinimized)
            setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    } else {
        hide();
    }
    emit visibilityChanged(visible);
}

void TServicePool::EnableSettingsSave() {
    activeBeforeBeenden_ = store_->Active;
    store_->Active = true;
}

void TServicePool::BeendenRefused() {
    store_->Active = activeBeforeBeenden_;
}

bool TServicePool::ShownToUser() const {
    return isVisible() && !(windowState() & Qt::WindowMinimized);
}

void TServicePool::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    store_->RestoreOnFirstShow();
    // Later showings restore nothing; the window reappears where it was.
    FirstShow = false;
    store_->Active = false;
}

void TServicePool::closeEvent(QCloseEvent* event) {
    // The window is never closed, only hidden: rows, sort and layout stay.
    event->ignore();
    SetServicePoolVisible(false);
}

void TServicePool::FStoreRestorePlacement() {
    bool* flags[] = {&ShowTV,     &ShowRadio, &ShowSpezial, &ShowSID,    &ShowSTyp,
                     &ShowTrOnID, &ShowTrID,  &ShowDiseqc,  &ShowSatelit};
    for (int i = 0; i < 9; ++i)
        *flags[i] = store_->ReadInt(QString::fromLatin1(kFlagKeys[i]), kFlagDefaults[i]) != 0;

    QHeaderView* header = view_->header();
    for (int i = 0; i < PoolColumnCount; ++i) {
        const int pos = store_->ReadInt(QStringLiteral("ColPos%1").arg(i), -1);
        // A position outside the table (a hand-edited file) is ignored.
        if (pos >= 0 && pos < PoolColumnCount)
            header->moveSection(header->visualIndex(i), pos);
        const int width = store_->ReadInt(QStringLiteral("ColWidth%1").arg(i), 60);
        widths_[i] = std::clamp(width, std::max(1, header->minimumSectionSize()), 10000);
        header->resizeSection(i, widths_[i]);
    }
    UpdatePoolControls();
    ApplyPoolFilter();
}

void TServicePool::FStoreSavePlacement() {
    const bool flags[] = {ShowTV,     ShowRadio, ShowSpezial, ShowSID,    ShowSTyp,
                          ShowTrOnID, ShowTrID,  ShowDiseqc,  ShowSatelit};
    for (int i = 0; i < 9; ++i)
        store_->WriteInt(QString::fromLatin1(kFlagKeys[i]), flags[i] ? 1 : 0);
    QHeaderView* header = view_->header();
    for (int i = 0; i < PoolColumnCount; ++i) {
        store_->WriteInt(QStringLiteral("ColPos%1").arg(i), header->visualIndex(i));
        store_->WriteInt(QStringLiteral("ColWidth%1").arg(i), widths_[i]);
    }
}

// ---- services tree notifications -------------------------------------------

void TServicePool::BeginRemove(Node* parent, std::size_t row) {
    // Drop the rows of the services about to be freed.
    const Node* gone = parent ? parent->Child(row) : doc_.VTS.Top(row);
    const Node* end = doc_.VTS.NextSkippingChildren(gone);
    std::unordered_set<const TTrChannel*> channels;
    for (const Node* n = gone; n && n != end; n = doc_.VTS.GetNext(n))
        if (n->Data() && n->Data()->Channel)
            channels.insert(n->Data()->Channel.get());
    if (!channels.empty()) {
        model_.DropRows(channels);
        ApplyPoolFilter();
    }
}

void TServicePool::BeginReset() {
    Clear();
}

} // namespace xantu
