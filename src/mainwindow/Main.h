// The main window: tool bar, menus, the two pages with the bouquet tree and
// the services tree and their info columns, the status bar. It owns the list
// document and shows what the load sequence reports (it is the document's
// host). Commands of the editing, box, pool and about parts are routed to
// the public handlers below. Its controls are its own: the editing and box
// halves reach them as friends, tests and tools by object name.
#pragma once

#include "core/ListDocument.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/NodeTreeModel.h"
#include "mainwindow/TreeViews.h"
#include "net/BoxSettings.h"
#include "text/ListText.h"
#include "ui/Dialogs.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace xantu {

class TBouquetInfo;
class TServicesInfo;
class TFormStore;
class TMainBox;
class TPanelCopyMove;
class TServicePool;

using TBouquetModel = TNodeTreeModel<TBasicBNode>;
using TServicesModel = TNodeTreeModel<TBasicSNode>;

struct TMainOptions {
    // Settings file; empty: Settings.ini beside the program (or in the
    // user's configuration folder when that one cannot be written).
    QString IniFileName;
    // satpositionen.xml; empty: the one beside the program.
    QString SatPositionsFile;
};

class TMain : public QMainWindow, public TListHost {
    Q_OBJECT
  public:
    static constexpr const char* kAppTitle = "XantuEditor";

    explicit TMain(TDialogs& dialogs, const TMainOptions& options = {}, QWidget* parent = nullptr);
    ~TMain() override;

    TListDocument& Doc() { return doc_; }
    TDialogs& Dialogs() const { return dialogs_; }
    TFormStore* FStore() const { return fstore_; }
    // The box connection: transfers, backups, the settings dialog.
    TMainBox& Box() const { return *box_; }
    // The bouquet editing with its undo history and search.
    TMainEditing& Editing() { return editing_; }
    bool Modified() const { return modified_; }
    bool CopyMode() const { return editing_.Editor.CopyMode(); }
    // Character set of the loaded lists' names (decided after each load).
    TNameCharset NameCharset() const { return doc_.NameCharset; }
    // The bytes to store for a name the user typed, in the lists' charset.
    std::string EncodeTypedName(const QString& typed) const;
    QString DisplayName(std::string_view bytes) const;

    // How the box is reached; "Info_ChannelWithoutService" is the load
    // sequence's own switch and follows these settings.
    const TBoxSettings& BoxSettings() const { return boxSettings_; }
    void SetBoxSettings(const TBoxSettings& settings);
    // The folder of the last local open or save.
    const QString& LocalPath() const { return localPath_; }
    void SetLocalPath(const QString& path) { localPath_ = path; }

    // Hooks for the windows that live beside this one.
    std::function<void()> OnFillServicePool; // end of every services read
    std::function<void()> OnBeforeBeenden;   // "&Beenden", before the close
    std::function<void()> OnBeendenRefused;  // "&Beenden", the close was refused
    std::function<void()> OnBasicSettings;   // replaces the settings dialog (tests)

    // Ties the service pool window to this one: refilled at every services
    // read, its names shown like the trees', its section written on
    // "&Beenden", F9 and the check marks following it.
    void AttachServicePool(TServicePool& pool);

    // --- TListHost ---
    void ShowMessage(TMsgKind kind, const std::string& text) override;
    void SetSatBoxLabels() override;
    void SetCableBoxLabels() override;
    void ShowCounters(int total, int tv, int radio) override;
    void FillServicePool() override;
    void SetSatPosListVisible(bool visible) override;
    void ViewFilterApplied() override;
    void SetModified(bool modified) override;
    void SetStatus(const std::string& text) override;
    void ReportChannelsWithoutService(const std::vector<TUnlinkedEntry>& entries) override;

    // --- frame ---
    void ClearView();
    void UpdateViewFilterControls();
    // Selected nodes of the bouquet tree in tree order (all siblings).
    QList<PBNode> SelectedBouquetNodes() const;
    PBNode FirstSelectedBouquetNode() const;
    PSNode SelectedServiceNode() const;
    // Selects exactly `node` in the bouquet tree and makes it current,
    // unfolding its ancestors so the user sees what is selected.
    void SelectBouquetNode(PBNode node);
    // Selected rows the user cannot see (folded away or filtered out) leave
    // the selection; when none stays, their nearest visible ancestor takes
    // their place.
    void KeepSelectionShown(TListTreeView* view);
    // While the box is busy the lists stand still: every command and field
    // that changes them is disabled, and the handlers refuse.
    void SetListsLocked(bool locked);
    bool ListsLocked() const { return listsLocked_; }
    // Counts every change to the lists (each SetModified(true)); a send
    // compares it to tell whether the lists changed while it ran.
    unsigned EditCount() const { return editCount_; }
    // Loads two list texts into the window (the shared load sequence).
    bool LoadListTexts(const std::string& servicesText, const std::string& bouquetsText);
    bool CheckListsPresent();
    // Asks before unsaved changes are dropped by an open; true to go on.
    bool ConfirmDiscardChanges();
    int InfoColumnWidth() const;
    void SetInfoColumnWidth(int width);

  public slots:
    void Beenden1Click();
    void Basiseinstellungen1Click();
    void MenuOpenClick();
    void MenuSaveAsClick();
    void MenuOpenBackupClick();
    void MenuSatPosListClick();
    void MenuTVClick();
    void MenuRadioClick();
    void MenuSpezialClick();
    void MenuExpandBouquetsClick();
    void MenuShowOnlyBouquetsClick();
    void MenuExpandServicesClick();
    void MenuShowOnlyTransponderClick();
    void BttnGotoServiceClick();
    void EBBouquetNameChange(const QString& typed);
    void EBChannelNameChange(const QString& typed);
    void EBBouquetHiddenClick(bool checked);
    void EBBouquetLockedClick(bool checked);
    void VTBChange(PBNode node);
    void VTSChange(PSNode node);
    void VTBCollapsed(const QModelIndex& index);
    void VTSCollapsed(const QModelIndex& index);

    void MenuLoadBouquetFTPClick();
    void MenuSaveBouquetFTPClick();
    void MenuServicepoolClick();
    void MenuInfoClick();
    void MenuNewBouquetClick();
    void MenuDeleteSelectionClick();
    void MenuSuchenClick();
    void MenuWeitersuchenClick();
    void MenuCopyMoveClick();
    // A drop on the bouquet tree: target node (nullptr: empty space) and
    // where relative to it.
    void VTBDragDrop(PBNode target, TDropPosition position, bool copyKey);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class TMainEditing;
    friend class TMainBox;
    friend class TMainArrange;

    void RunCommand(const std::function<void()>& command);
    QAction* MakeAction(const char* name, const QString& text, void (TMain::*slot)());
    void BuildActions();
    void BuildButtons();
    void BuildMenus();
    void BuildPopups();
    void BuildToolBar();
    void BuildPages();
    QWidget* BuildBouquetsPage();
    QWidget* BuildServicesPage();
    void BuildSplitters();
    void ConnectTrees();
    void ConnectInfoPanels();
    void BuildStatusBar();
    void BuildSettingsStore(const TMainOptions& options);
    void FormShow();
    void FStoreRestorePlacement();
    void FStoreSavePlacement();
    void SettingsWriteFailed(const QString& path);
    void Splitter1Moved();
    void Splitter2Moved();
    void SetBoxLabels(bool satellite);
    void SyncBouquetView();
    void ApplyHiddenRows(PBNode parent);
    void ApplyAllHiddenRows();
    void VTBExpanding(const QModelIndex& index);
    void BeginLoad();
    void EndLoad();
    void AttachSelectionRules();
    void ShowBouquetSelection(bool refill = false);
    void ShowServiceSelection();
    void RevealBouquetSelection();
    struct TSavedSelection {
        std::vector<PBNode> Nodes;
        PBNode Current = nullptr;
    };
    TSavedSelection SaveBouquetSelection() const;
    void RestoreBouquetSelection(const TSavedSelection& saved);

    TDialogs& dialogs_;
    TListDocument doc_;
    // The item models over the document's trees: after the document, so
    // they leave its trees' listeners before the trees go.
    TBouquetModel vtbModel_;
    TServicesModel vtsModel_;
    TFormStore* fstore_ = nullptr;
    // The service pool window, once attached; it may go before this window.
    QPointer<TServicePool> pool_;
    TBoxSettings boxSettings_;
    QString localPath_;
    bool modified_ = false;
    bool loading_ = false;
    bool filterPending_ = false;
    bool settingsSaved_ = false;
    bool listsLocked_ = false;
    unsigned editCount_ = 0;
    int infoWidth_ = 220;
    // Branches of the bouquet tree whose filtered rows the view already hides.
    std::unordered_set<PBNode> hiddenApplied_;

    // --- controls ---
    QToolBar* ToolBar = nullptr;
    QTabWidget* Pages = nullptr;
    QWidget* SheetBouquets = nullptr;
    QWidget* SheetServices = nullptr;
    TPanelCopyMove* PanelCopyMove = nullptr;
    TBouquetView* VTB = nullptr;
    TListTreeView* VTS = nullptr;
    TBouquetInfo* BouquetRPanel = nullptr;
    TServicesInfo* ServicesRPanel = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QLabel* StatPanel[3] = {};
    QMenu* MenuBearbeiten = nullptr;
    QMenu* PopupBouquets = nullptr;
    QMenu* PopupServices = nullptr;

    // Menu items (the tool-bar buttons share the handlers of their commands).
    QAction* Basiseinstellungen1 = nullptr;
    QAction* MenuOpen = nullptr;
    QAction* MenuSaveAs = nullptr;
    QAction* MenuOpenBackup = nullptr;
    QAction* Beenden1 = nullptr;
    QAction* MenuCopyMove = nullptr;
    QAction* MenuLoadBouquetFTP = nullptr;
    QAction* MenuSaveBouquetFTP = nullptr;
    QAction* MenuNewBouquet = nullptr;
    QAction* MenuDeleteSelection = nullptr;
    QAction* MenuSuchen = nullptr;
    QAction* MenuWeitersuchen = nullptr;
    QAction* MenuTV = nullptr;
    QAction* MenuRadio = nullptr;
    QAction* MenuSpezial = nullptr;
    QAction* MenuServicepool = nullptr;
    QAction* MenuSatPosList = nullptr;
    QAction* MenuInfo = nullptr;
    // Pop-up of the bouquet tree (Ins and Del act while the tree has focus).
    QAction* MenuNewBouquet2 = nullptr;
    QAction* MenuDeleteSelection2 = nullptr;
    QAction* MenuExpandBouquets = nullptr;
    QAction* MenuShowOnlyBouquets = nullptr;
    // Pop-up of the services tree.
    QAction* MenuExpandServices = nullptr;
    QAction* MenuShowOnlyTransponder = nullptr;
    // Tool-bar buttons, left to right.
    QAction* BttnBeenden = nullptr;
    QAction* BttnOpenBouquet = nullptr;
    QAction* BttnSaveAs = nullptr;
    QAction* BttnLoadBouquet = nullptr;
    QAction* BttnTransferBouquet = nullptr;
    QAction* BttnShowTV = nullptr;
    QAction* BttnShowRadio = nullptr;
    QAction* BttnShowSpezial = nullptr;
    QAction* BttnServicePool = nullptr;
    QAction* BttnNewBouquet = nullptr;
    QAction* BttnDeleteSelection = nullptr;
    QAction* BttnInfo = nullptr;

    // After the document they work on; the box goes first, so a transfer
    // ending on the way out still finds the editing.
    TMainEditing editing_;
    std::unique_ptr<TMainBox> box_;
};

} // namespace xantu
