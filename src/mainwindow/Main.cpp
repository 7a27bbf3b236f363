#include "mainwindow/Main.h"

#include "about/AboutBox.h"
#include "core/FileIO.h"
#include "editui/PanelCopyMove.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/MainArrange.h"
#include "mainwindow/MainBox.h"
#include "mainwindow/Texts.h"
#include "pool/ServicePool.h"
#include "settings/FormStore.h"
#include "ui/Application.h"
#include "ui/Texts.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>

namespace xantu {

using namespace mainwindow_texts;

namespace {

constexpr int kInfoMinWidth = 220;

QString T(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

TMain::TMain(TDialogs& dialogs, const TMainOptions& options, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), doc_(this), vtbModel_(doc_.VTB), vtsModel_(doc_.VTS),
      editing_(*this), box_(std::make_unique<TMainBox>(*this)) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(T(kWindowTitleStart));
    setMinimumSize(550, 457);
    setGeometry(236, 88, 550, 493);

    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildPages();
    BuildStatusBar();
    editing_.Attach();
    AttachArrange(*this);

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
    BuildSettingsStore(options);
    setWindowTitle(QString::fromLatin1(kAppTitle));
}

TMain::~TMain() {
    // A window destroyed without an allowed close still keeps its settings.
    if (!settingsSaved_)
        fstore_->SaveIfAllowed();
    // The views let go of the models before the models go (they are
    // members, the views children destroyed after them).
    VTB->setModel(nullptr);
    VTS->setModel(nullptr);
    doc_.SetHost(nullptr);
}

// ---- frame ---------------------------------------------------------------------

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
        editing_.Editor.MarkSaved();
    StatPanel[1]->setText(modified ? T(kModified) : QString());
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
    // History and search position refer to the old lists; the mode goes
    // back to move.
    editing_.Editor.ListsReplaced();
    ShowCounters(0, 0, 0);
}

void TMain::Beenden1Click() {
    if (OnBeforeBeenden)
        OnBeforeBeenden();
    if (!close() && OnBeendenRefused)
        OnBeendenRefused();
}

void TMain::closeEvent(QCloseEvent* event) {
    if (modified_ && !dialogs_.Confirm(this, T(kAskQuit))) {
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
        TApplication::ReportError(&dialogs_, T(ui_texts::kOutOfMemory));
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
    QString text = T(kUnlinkedCount).arg(entries.size());
    for (std::size_t i = 0; i < entries.size() && i < kListed; ++i)
        text +=
            T(kUnlinkedEntry)
                .arg(QString::fromStdString(entries[i].Bouquet), QString::fromStdString(entries[i].Channel));
    if (entries.size() > kListed)
        text += T(kUnlinkedMore).arg(entries.size() - kListed);
    dialogs_.Message(this, TMsgKind::Information, text);
}

void TMain::ShowCounters(int total, int tv, int radio) {
    ServicesRPanel->ShowCounters(total, tv, radio);
}

void TMain::FillServicePool() {
    if (OnFillServicePool)
        OnFillServicePool();
}

void TMain::SetSatPosListVisible(bool visible) {
    MenuSatPosList->setVisible(visible);
}

void TMain::SetSatBoxLabels() {
    SetBoxLabels(true);
}

void TMain::SetCableBoxLabels() {
    SetBoxLabels(false);
}

void TMain::SetBoxLabels(bool satellite) {
    ServicesRPanel->SetBoxLabels(satellite);
    setWindowTitle(QString::fromLatin1(kAppTitle) + T(satellite ? kSatBoxTitle : kCableBoxTitle));
}

// ---- the windows beside this one -----------------------------------------------

void TMain::MenuServicepoolClick() {
    // The pool window is created at start-up as a window of its own and
    // attached; its visibilityChanged keeps the check marks in step.
    // A minimised pool counts as hidden: the command brings it back.
    if (pool_)
        pool_->SetServicePoolVisible(!pool_->ShownToUser());
}

void TMain::AttachServicePool(TServicePool& pool) {
    pool_ = &pool;
    pool.SetNameDecoder([this](std::string_view bytes) { return DisplayName(bytes); });
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
    if (TMainArrange* arrange = ArrangeOf(*this))
        arrange->AttachPool(pool);
}

void TMain::MenuInfoClick() {
    TAboutBox::Execute(this, dialogs_);
}

} // namespace xantu
