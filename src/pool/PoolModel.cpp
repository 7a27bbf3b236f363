#include "pool/PoolModel.h"

#include "model/XmlFormat.h"
#include "text/ListText.h"

#include <QColor>
#include <QMimeData>
#include <algorithm>
#include <set>

namespace xantu {

namespace {

const QColor kSortBackground(0xE7, 0xE7, 0xE7);

inline unsigned char FoldAZ(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Three-way comparison without subtraction: identifiers are 32-bit values
// read from the file, and their difference may not fit.
inline int Cmp(int32_t a, int32_t b) {
    return (a > b) - (a < b);
}

struct ColumnInfo {
    const char* Header;
    const char* Hint; // nullptr: no hint
    int Width;
};

constexpr ColumnInfo kColumns[PoolColumnCount] = {
    {"Servicename", "ServiceName", 250},
    {"SID", "ServiceID", 60},
    {"STyp", "ServiceTyp", 60},
    {"TrOnID", "TransponderOnID", 60},
    {"TrID", "TransponderID", 60},
    {"Diseqc", "Diseqc", 60},
    {"Satelit", nullptr, 80},
};

QString HexCell(int32_t v) {
    return QStringLiteral("0x") + QString::fromStdString(HexText(v, 4));
}

} // namespace

int CompareTextFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = FoldAZ(static_cast<unsigned char>(a[i]));
        const int cb = FoldAZ(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    return (a.size() > b.size()) - (a.size() < b.size());
}

int ComparePoolRows(const TSPoolData& a, const TSPoolData& b, int column) {
    switch (column) {
    case PoolColName:
        return CompareTextFolded(a.Channel->Name, b.Channel->Name);
    case PoolColSID:
        return Cmp(a.Channel->ServiceId, b.Channel->ServiceId);
    case PoolColSTyp:
        return Cmp(a.Channel->ServiceType, b.Channel->ServiceType);
    case PoolColTrOnID:
        return Cmp(a.Transponder->Onid, b.Transponder->Onid);
    case PoolColTrID:
        return Cmp(a.Transponder->Id, b.Transponder->Id);
    case PoolColDiseqc:
        return CompareTextFolded(a.Sat->Diseqc, b.Sat->Diseqc);
    case PoolColSatelit:
        return CompareTextFolded(a.Sat->Name, b.Sat->Name);
    default:
        return 0;
    }
}

int PoolColumnWidth(int column) {
    return kColumns[column].Width;
}

TServicePoolModel::TServicePoolModel(QObject* parent) : QAbstractTableModel(parent) {}

void TServicePoolModel::Fill(const TServiceTree& vts) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(vts.TotalCount());
    for (PSNode n = vts.GetFirst(); n; n = vts.GetNext(n)) {
        const TBasicSNode* d = n->Data();
        if (!d || d->Kind != SKindChannel || !d->Channel)
            continue;
        Row r;
        r.D.Channel = d->Channel.get();
        r.D.Transponder = r.D.Channel->Transponder;
        r.D.Sat = r.D.Transponder ? r.D.Transponder->Sat : nullptr;
        // A channel outside a transponder or network has no place in the
        // table's columns; the services reader never builds one.
        if (!r.D.Transponder || !r.D.Sat)
            continue;
        r.Id = static_cast<uint32_t>(rows_.size());
        r.Class = static_cast<uint8_t>(ClassOfServiceType(r.D.Channel->ServiceType));
        rows_.push_back(r);
    }
    RebuildVisible();
    endResetModel();
}

void TServicePoolModel::Clear() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    visible_.clear();
    shownAt_.clear();
    endResetModel();
}

void TServicePoolModel::DropRows(const std::unordered_set<const TTrChannel*>& channels) {
    if (channels.empty() || rows_.empty())
        return;
    beginResetModel();
    std::erase_if(rows_, [&](const Row& r) { return channels.count(r.D.Channel) != 0; });
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].Id = static_cast<uint32_t>(i);
    RebuildVisible();
    endResetModel();
}

void TServicePoolModel::RebuildVisible() {
    visible_.clear();
    visible_.reserve(rows_.size());
    shownAt_.assign(rows_.size(), -1);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        if (show_[r.Class]) {
            shownAt_[r.Id] = static_cast<int32_t>(visible_.size());
            visible_.push_back(static_cast<uint32_t>(i));
        }
    }
}

template <class Fn> void TServicePoolModel::Relayout(Fn&& change, LayoutChangeHint hint) {
    emit layoutAboutToBeChanged({}, hint);
    const QModelIndexList from = persistentIndexList();
    std::vector<uint32_t> ids;
    ids.reserve(from.size());
    for (const QModelIndex& i : from)
        ids.push_back(rows_[visible_[i.row()]].Id);
    change();
    RebuildVisible();
    QModelIndexList to;
    to.reserve(from.size());
    for (qsizetype k = 0; k < from.size(); ++k) {
        const int row = shownAt_[ids[k]];
        to.append(row >= 0 ? index(row, from[k].column()) : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, hint);
}

int TServicePoolModel::SetClassFilter(bool tv, bool radio, bool special) {
    const bool next[3] = {tv, radio, special};
    if (std::equal(std::begin(next), std::end(next), std::begin(show_)))
        return VisibleCount();
    Relayout([&] { std::copy(std::begin(next), std::end(next), std::begin(show_)); }, NoLayoutChangeHint);
    return VisibleCount();
}

namespace {

// A row's key in the sort column, laid out so that most comparisons are one
// integer comparison on data already in the cache: texts keep their first
// eight folded bytes big-endian in Prefix and the rest in a shared buffer;
// identifiers are biased so that unsigned order is signed order.
struct SortKey {
    uint64_t Prefix = 0;
    uint32_t Row = 0;
    uint32_t Offset = 0;
    uint32_t Length = 0;
};

std::string_view TextOf(const TSPoolData& d, int column) {
    switch (column) {
    case PoolColName:
        return d.Channel->Name;
    case PoolColDiseqc:
        return d.Sat->Diseqc;
    case PoolColSatelit:
        return d.Sat->Name;
    default:
        return {};
    }
}

int32_t NumberOf(const TSPoolData& d, int column) {
    switch (column) {
    case PoolColSID:
        return d.Channel->ServiceId;
    case PoolColSTyp:
        return d.Channel->ServiceType;
    case PoolColTrOnID:
        return d.Transponder->Onid;
    case PoolColTrID:
        return d.Transponder->Id;
    default:
        return 0;
    }
}

} // namespace

void TServicePoolModel::Sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= PoolColumnCount)
        return;
    Relayout(
        [&] {
            const bool text = column == PoolColName || column == PoolColDiseqc || column == PoolColSatelit;
            std::vector<SortKey> keys(rows_.size());
            std::string folded;
            for (std::size_t i = 0; i < rows_.size(); ++i) {
                SortKey& k = keys[i];
                k.Row = static_cast<uint32_t>(i);
                if (text) {
                    const std::string_view t = TextOf(rows_[i].D, column);
                    k.Offset = static_cast<uint32_t>(folded.size());
                    k.Length = static_cast<uint32_t>(t.size());
                    for (std::size_t j = 0; j < t.size(); ++j) {
                        const unsigned char c = FoldAZ(static_cast<unsigned char>(t[j]));
                        folded.push_back(static_cast<char>(c));
                        if (j < 8)
                            k.Prefix |= static_cast<uint64_t>(c) << (8 * (7 - j));
                    }
                } else {
                    k.Prefix = static_cast<uint32_t>(NumberOf(rows_[i].D, column)) ^ 0x80000000u;
                }
            }
            // Equal prefixes of texts are settled by the whole folded text;
            // a text that is a prefix of the other comes first.
            auto compare = [&](const SortKey& a, const SortKey& b) {
                if (a.Prefix != b.Prefix)
                    return a.Prefix < b.Prefix ? -1 : 1;
                if (!text)
                    return 0;
                const std::string_view ta(folded.data() + a.Offset, a.Length);
                const std::string_view tb(folded.data() + b.Offset, b.Length);
                const int c = ta.compare(tb); // char_traits<char> compares as unsigned char
                return (c > 0) - (c < 0);
            };
            // Stable, so rows equal in this column keep the order of the
            // previous sort (by name, then by satellite: names stay in order).
            if (order == Qt::AscendingOrder)
                std::stable_sort(keys.begin(), keys.end(),
                                 [&](const SortKey& a, const SortKey& b) { return compare(a, b) < 0; });
            else
                std::stable_sort(keys.begin(), keys.end(),
                                 [&](const SortKey& a, const SortKey& b) { return compare(b, a) < 0; });
            std::vector<Row> sorted;
            sorted.reserve(rows_.size());
            for (const SortKey& k : keys)
                sorted.push_back(rows_[k.Row]);
            rows_.swap(sorted);
        },
        VerticalSortHint);
}

void TServicePoolModel::SetShadedColumn(int column) {
    if (column == shaded_)
        return;
    const int old = shaded_;
    shaded_ = column;
    const int last = rowCount() - 1;
    for (int c : {old, column}) {
        if (c < 0 || c >= PoolColumnCount)
            continue;
        if (last >= 0)
            emit dataChanged(index(0, c), index(last, c), {Qt::BackgroundRole});
        emit headerDataChanged(Qt::Horizontal, c, c);
    }
}

void TServicePoolModel::SetImageProvider(const TImageProvider& images) {
    for (int i = 0; i < static_cast<int>(icons_.size()); ++i)
        icons_[i] = images ? images(i) : QIcon();
    if (rowCount() > 0)
        emit dataChanged(index(0, PoolColName), index(rowCount() - 1, PoolColName), {Qt::DecorationRole});
}

void TServicePoolModel::SetNameDecoder(TNameDecoder decode) {
    decode_ = std::move(decode);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, PoolColumnCount - 1), {Qt::DisplayRole});
}

const TSPoolData* TServicePoolModel::RowData(int row) const {
    if (row < 0 || row >= VisibleCount())
        return nullptr;
    return &rows_[visible_[row]].D;
}

QString TServicePoolModel::CellText(const TSPoolData& d, int column) const {
    auto Display = [this](std::string_view bytes) {
        return decode_ ? decode_(bytes) : QString::fromStdString(DisplayText(bytes));
    };
    switch (column) {
    case PoolColName:
        return Display(d.Channel->Name);
    case PoolColSID:
        return HexCell(d.Channel->ServiceId);
    case PoolColSTyp:
        return HexCell(d.Channel->ServiceType);
    case PoolColTrOnID:
        return HexCell(d.Transponder->Onid);
    case PoolColTrID:
        return HexCell(d.Transponder->Id);
    case PoolColDiseqc:
        return Display(d.Sat->Diseqc);
    case PoolColSatelit:
        return Display(d.Sat->Name);
    default:
        return QString();
    }
}

int TServicePoolModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : VisibleCount();
}

int TServicePoolModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : PoolColumnCount;
}

QVariant TServicePoolModel::data(const QModelIndex& index, int role) const {
    const TSPoolData* d = index.isValid() ? RowData(index.row()) : nullptr;
    if (!d)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return CellText(*d, index.column());
    case Qt::DecorationRole:
        if (index.column() == PoolColName) {
            const QIcon& icon = icons_[ImageOfServiceType(d->Channel->ServiceType)];
            if (!icon.isNull())
                return icon;
        }
        return QVariant();
    case Qt::BackgroundRole:
        if (index.column() == shaded_)
            return kSortBackground;
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TServicePoolModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= PoolColumnCount)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(kColumns[section].Header);
    case Qt::ToolTipRole:
        return kColumns[section].Hint ? QVariant(QString::fromLatin1(kColumns[section].Hint)) : QVariant();
    case Qt::BackgroundRole:
        if (section == shaded_)
            return kSortBackground;
        return QVariant();
    case Qt::InitialSortOrderRole:
        return static_cast<int>(Qt::AscendingOrder);
    default:
        return QVariant();
    }
}

Qt::ItemFlags TServicePoolModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList TServicePoolModel::mimeTypes() const {
    return {QString::fromLatin1(MimeType)};
}

QMimeData* TServicePoolModel::mimeData(const QModelIndexList& indexes) const {
    // Only our own type: the bouquet tree takes it (each row's service id,
    // original network id and transponder id), and plain text would let any
    // edit field swallow the drop.
    std::set<int> rows;
    for (const QModelIndex& i : indexes)
        if (i.isValid())
            rows.insert(i.row());
    QByteArray bytes;
    for (int row : rows) {
        const TSPoolData* d = RowData(row);
        if (!d)
            continue;
        bytes += QByteArray::fromStdString(HexText(d->Channel->ServiceId, 4) + ' ' +
                                           HexText(d->Transponder->Onid, 4) + ' ' +
                                           HexText(d->Transponder->Id, 4) + '\n');
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(MimeType), bytes);
    return mime;
}

} // namespace xantu
