// The flat table behind the service pool: one row per service of the
// services tree, with class filtering and sorting done here rather than in a
// proxy, so that 100,000 rows fill, sort and filter without delay. Rows hold
// non-owning links into the services tree; whoever empties that tree must
// empty this model first (TServicePool does so through the tree's observer).
#pragma once

#include "core/ListDocument.h"
#include "model/XantuModel.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace xantu {

// One row: the service and the transponder and network it belongs to.
struct TSPoolData {
    TSat* Sat = nullptr;                 // not owned
    TTransponder* Transponder = nullptr; // not owned
    TTrChannel* Channel = nullptr;       // not owned
};

enum TPoolColumn : int {
    PoolColName = 0,
    PoolColSID = 1,
    PoolColSTyp = 2,
    PoolColTrOnID = 3,
    PoolColTrID = 4,
    PoolColDiseqc = 5,
    PoolColSatelit = 6,
    PoolColumnCount = 7,
};

// Pictures by TreeImages index (0 structure, 1 TV, 2 radio, 3 special,
// 4 reserved bouquet).
using TImageProvider = std::function<QIcon(int index)>;
// The readable form of name bytes from the list files.
using TNameDecoder = std::function<QString(std::string_view bytes)>;

// Compares byte by byte, folding only a-z to A-Z; other bytes count by their
// unsigned value and a prefix sorts first. Negative, zero or positive.
int CompareTextFolded(std::string_view a, std::string_view b);
// Ascending order of two rows by one column; negative, zero or positive.
int ComparePoolRows(const TSPoolData& a, const TSPoolData& b, int column);
// Initial width of a column in pixels.
int PoolColumnWidth(int column);

class TServicePoolModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr const char* MimeType = "application/x-xantu-servicepool";

    explicit TServicePoolModel(QObject* parent = nullptr);

    // Replaces all rows by the channels of `vts` in tree order; the class
    // filter stays as it is.
    void Fill(const TServiceTree& vts);
    void Clear();
    // Drops the rows whose service is in `channels` (a part of the services
    // tree is about to be freed).
    void DropRows(const std::unordered_set<const TTrChannel*>& channels);

    // Shows the rows of the classes switched on; returns the number shown.
    int SetClassFilter(bool tv, bool radio, bool special);
    // Reorders all rows, shown and hidden alike. Rows equal in the column
    // keep their order.
    void Sort(int column, Qt::SortOrder order);
    // The column drawn on the sort background (-1: none).
    void SetShadedColumn(int column);
    int ShadedColumn() const { return shaded_; }

    void SetImageProvider(const TImageProvider& images);
    // Names, Diseqc and satellite texts are shown through `decode` (empty:
    // UTF-8 where valid, else Windows-1252).
    void SetNameDecoder(TNameDecoder decode);

    int TotalCount() const { return static_cast<int>(rows_.size()); }
    int VisibleCount() const { return static_cast<int>(visible_.size()); }
    // The data of a shown row (nullptr when out of range).
    const TSPoolData* RowData(int row) const;

    QString CellText(const TSPoolData& d, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

  private:
    struct Row {
        TSPoolData D;
        uint32_t Id = 0;   // position in file order; stable across sorting
        uint8_t Class = 0; // ServiceClass of the service type
    };
    // Runs `change` (which reorders rows_ or changes the filter), recomputes
    // the shown rows and moves selections and the current row along with
    // their services.
    template <class Fn> void Relayout(Fn&& change, LayoutChangeHint hint);
    void RebuildVisible();

    std::vector<Row> rows_;         // file order or the last sort; shown and hidden
    std::vector<uint32_t> visible_; // indexes into rows_ of the rows shown
    std::vector<int32_t> shownAt_;  // by Id: row in the table, -1 when hidden
    bool show_[3] = {false, false, false};
    int shaded_ = -1;
    std::array<QIcon, 5> icons_;
    TNameDecoder decode_;
};

} // namespace xantu
