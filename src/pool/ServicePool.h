// The service pool: a second, non-modal window that lists every service of
// the loaded services file as one row of a flat, sortable, filterable table.
// It only reads the model. It is created hidden right after the main window
// and must be destroyed before the list document it shows.
#pragma once

#include "core/ListDocument.h"
#include "pool/PoolModel.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;
class QTreeView;

namespace xantu {

class TDialogs;
class TFormStore;

class TServicePool : public QMainWindow, private TTreeObserver<TBasicSNode> {
    Q_OBJECT
  public:
    // `iniFileName`: the settings file of the main window; the pool keeps
    // section "ServicePool" in it. `images`: the TreeImages pictures (may be
    // given later through SetImageProvider).
    TServicePool(TListDocument& doc, const QString& iniFileName, TDialogs& dialogs,
                 TImageProvider images = {}, QWidget* parent = nullptr);
    ~TServicePool() override;

    // Rebuilds all rows from the services tree in tree order; a sort chosen
    // earlier is not applied again. Called at the end of every services read.
    void FillServicePool();
    // Removes every row (the services tree is about to be emptied).
    void Clear();
    // Shows or hides the window; the main window follows with its check mark
    // through visibilityChanged.
    void SetServicePoolVisible(bool visible);
    // "&Beenden" switches the settings storage on again, so that the section
    // is written when the pool is destroyed, provided it was shown.
    void EnableSettingsSave();
    // The close that "&Beenden" asked for was refused: the storage is as
    // it was before, so a later close by the close box writes nothing.
    void BeendenRefused();
    // Visible and not minimised.
    bool ShownToUser() const;
    void SetImageProvider(const TImageProvider& images);
    void SetNameDecoder(TNameDecoder decode) { model_.SetNameDecoder(std::move(decode)); }

    void ApplyPoolFilter();
    void UpdatePoolControls();
    void SetColumnVisible(int index, bool visible);

    // Handlers of the header, the menus and the tool bar.
    void VTSPHeaderClick(int column);
    void MenuHideWindowClick();
    void MenuTVClick();
    void MenuRadioClick();
    void MenuSpezialClick();
    void MenuSIDClick();
    void MenuSTypClick();
    void MenuTrOnIDClick();
    void MenuTrIDClick();
    void MenuDiseqcClick();
    void MenuSatelitClick();
    void MenuHinweisClick();

    bool FirstShow = true;
    bool ShowTV = false;
    bool ShowRadio = false;
    bool ShowSpezial = false;
    bool ShowSID = false;
    bool ShowSTyp = false;
    bool ShowTrOnID = false;
    bool ShowTrID = false;
    bool ShowDiseqc = false;
    bool ShowSatelit = false;

    int SortColumn() const { return sortColumn_; }
    Qt::SortOrder SortOrder() const { return sortOrder_; }
    QString StatusText() const;
    TServicePoolModel& Model() { return model_; }
    QTreeView* View() const { return view_; }
    TFormStore* Store() const { return store_; }

  signals:
    void visibilityChanged(bool visible);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void FStoreRestorePlacement();
    void FStoreSavePlacement();
    void BuildControls(const TImageProvider& images);
    bool* ColumnFlag(int column);

    // The services tree tells us before it frees nodes, so no row is left
    // pointing at a freed service. Insertions and moves wait for the next
    // FillServicePool.
    void BeginInsert(Node*, std::size_t) override {}
    void EndInsert() override {}
    void BeginRemove(Node* parent, std::size_t row) override;
    void EndRemove() override {}
    void BeginMove(Node*, std::size_t, Node*, std::size_t) override {}
    void EndMove() override {}
    void BeginReset() override;
    void EndReset() override {}

    TListDocument& doc_;
    TDialogs& dialogs_;
    TServicePoolModel model_;
    QTreeView* view_ = nullptr;
    QLabel* status_ = nullptr;
    TFormStore* store_ = nullptr;
    bool activeBeforeBeenden_ = false;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    int widths_[PoolColumnCount] = {}; // last width of each column, hidden or not

    QAction* menuTV_ = nullptr;
    QAction* menuRadio_ = nullptr;
    QAction* menuSpezial_ = nullptr;
    QAction* bttnShowTV_ = nullptr;
    QAction* bttnShowRadio_ = nullptr;
    QAction* bttnShowSpezial_ = nullptr;
    QAction* menuColumn_[PoolColumnCount] = {}; // 1..6
};

} // namespace xantu
