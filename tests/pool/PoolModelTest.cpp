#include "pool/PoolModel.h"
#include "PoolTestSupport.h"

#include <QColor>
#include <QItemSelectionModel>
#include <QMimeData>
#include <climits>
#include <gtest/gtest.h>
#include <random>

namespace xantu::test {
namespace {

// Two satellites, three transponders, TV, radio and special services.
std::string MixedServices() {
    return Services(
        Sat("Astra 19.2E", "0",
            Transponder("0401", "0001",
                        Channel("6D66", "Erstes", "01") + Channel("6D70", "Welle", "02") +
                            Channel("6D71", "Daten", "0C")) +
                Transponder("0451", "0001",
                            Channel("2F1C", "zweites", "19") + Channel("2F1D", "Kino", "04"))) +
        Sat("Hotbird 13.0E", "10",
            Transponder("2DB4", "013E", Channel("1F40", "Uno", "05") + Channel("1F41", "Musica", "02"))));
}

struct Loaded {
    Loaded(const std::string& text, bool tv = true, bool radio = true, bool special = true) {
        doc.LoadServices(text);
        model.SetClassFilter(tv, radio, special);
        model.Fill(doc.VTS);
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> out;
        for (int r = 0; r < model.rowCount(); ++r)
            out.push_back(model.data(model.index(r, column)).toString().toStdString());
        return out;
    }
    TListDocument doc;
    TServicePoolModel model;
};

using Names = std::vector<std::string>;

TEST(PoolCompare, NamesFoldOnlyAsciiLettersAndPrefixesComeFirst) {
    EXPECT_EQ(CompareTextFolded("abc", "ABC"), 0);
    EXPECT_LT(CompareTextFolded("apfel", "Birne"), 0);
    // Folding goes to upper case: '_' (0x5F) lies between 'Z' and 'a'.
    EXPECT_LT(CompareTextFolded("a", "_"), 0);
    EXPECT_LT(CompareTextFolded("Z", "_"), 0);
    // Bytes above 0x7F count unsigned and are not folded.
    EXPECT_GT(CompareTextFolded("\xC4rger", "zebra"), 0);
    EXPECT_NE(CompareTextFolded("\xE4", "\xC4"), 0);
    EXPECT_LT(CompareTextFolded("ab", "abc"), 0);
    EXPECT_GT(CompareTextFolded("abc", "AB"), 0);
    EXPECT_EQ(CompareTextFolded("", ""), 0);
    EXPECT_LT(CompareTextFolded("", "a"), 0);
}

TEST(PoolCompare, IdentifiersCompareWithoutOverflow) {
    TSat sat{"S", "0", "", ""};
    TTransponder tp;
    tp.Sat = &sat;
    TTrChannel lo{&tp, "a", INT_MIN, 1, "0", ""};
    TTrChannel hi{&tp, "b", INT_MAX, 1, "0", ""};
    TSPoolData a{&sat, &tp, &lo}, b{&sat, &tp, &hi};
    // A subtraction would wrap here and put INT_MIN after INT_MAX.
    EXPECT_LT(ComparePoolRows(a, b, PoolColSID), 0);
    EXPECT_GT(ComparePoolRows(b, a, PoolColSID), 0);
    EXPECT_EQ(ComparePoolRows(a, a, PoolColSID), 0);
}

TEST(PoolModel, FillsInFileOrderWithCellTextsAndPictures) {
    Loaded l(MixedServices());
    l.model.SetImageProvider([](int i) {
        QPixmap pm(4, 4);
        pm.fill(QColor(i * 40, 0, 0));
        return QIcon(pm);
    });
    EXPECT_EQ(l.Column(PoolColName), (Names{"Erstes", "Welle", "Daten", "zweites", "Kino", "Uno", "Musica"}));
    EXPECT_EQ(l.model.TotalCount(), l.doc.CountAll);
    EXPECT_EQ(l.Column(PoolColSID)[0], "0x6D66");
    EXPECT_EQ(l.Column(PoolColSTyp)[0], "0x0001");
    EXPECT_EQ(l.Column(PoolColSTyp)[3], "0x0019");
    EXPECT_EQ(l.Column(PoolColTrOnID)[5], "0x013E");
    EXPECT_EQ(l.Column(PoolColTrID)[5], "0x2DB4");
    EXPECT_EQ(l.Column(PoolColDiseqc)[5], "10");
    EXPECT_EQ(l.Column(PoolColSatelit)[6], "Hotbird 13.0E");

    // Picture in column 0 only, chosen by class.
    auto colourAt = [&](int row) {
        QIcon icon = l.model.data(l.model.index(row, 0), Qt::DecorationRole).value<QIcon>();
        return icon.pixmap(4, 4).toImage().pixelColor(0, 0).red();
    };
    EXPECT_EQ(colourAt(0), ImgTV * 40);
    EXPECT_EQ(colourAt(1), ImgRadio * 40);
    EXPECT_EQ(colourAt(2), ImgSpecial * 40);
    EXPECT_EQ(colourAt(4), ImgTV * 40); // type 4 is TV
    EXPECT_FALSE(l.model.data(l.model.index(0, 1), Qt::DecorationRole).isValid());

    EXPECT_EQ(l.model.headerData(0, Qt::Horizontal).toString(), "Servicename");
    EXPECT_EQ(l.model.headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(), "TransponderOnID");
    EXPECT_FALSE(l.model.headerData(6, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

TEST(PoolModel, ClassFilterHidesRowsAndCountsMatchTheServicesCounters) {
    Loaded l(MixedServices(), true, false, false);
    EXPECT_EQ(l.model.VisibleCount(), l.doc.CountTV);
    EXPECT_EQ(l.Column(0), (Names{"Erstes", "Kino", "Uno"}));
    EXPECT_EQ(l.model.SetClassFilter(false, true, false), l.doc.CountRadio);
    EXPECT_EQ(l.model.SetClassFilter(false, false, true), l.doc.CountAll - l.doc.CountTV - l.doc.CountRadio);
    EXPECT_EQ(l.model.SetClassFilter(false, false, false), 0);
    EXPECT_EQ(l.model.rowCount(), 0);
    EXPECT_EQ(l.model.SetClassFilter(true, true, true), 7);
    EXPECT_EQ(l.model.TotalCount(), 7); // hidden rows were never removed
}

TEST(PoolModel, SortsEveryColumnBothWaysAndKeepsHiddenRowsSorted) {
    Loaded l(MixedServices());
    l.model.Sort(PoolColName, Qt::AscendingOrder);
    EXPECT_EQ(l.Column(0), (Names{"Daten", "Erstes", "Kino", "Musica", "Uno", "Welle", "zweites"}));
    l.model.Sort(PoolColName, Qt::DescendingOrder);
    EXPECT_EQ(l.Column(0), (Names{"zweites", "Welle", "Uno", "Musica", "Kino", "Erstes", "Daten"}));

    l.model.Sort(PoolColSID, Qt::AscendingOrder);
    EXPECT_EQ(l.Column(PoolColSID),
              (Names{"0x1F40", "0x1F41", "0x2F1C", "0x2F1D", "0x6D66", "0x6D70", "0x6D71"}));
    l.model.Sort(PoolColSTyp, Qt::DescendingOrder);
    EXPECT_EQ(l.Column(PoolColSTyp).front(), "0x0019");
    EXPECT_EQ(l.Column(PoolColSTyp).back(), "0x0001");
    l.model.Sort(PoolColTrOnID, Qt::DescendingOrder);
    EXPECT_EQ(l.Column(PoolColTrOnID)[0], "0x013E");
    EXPECT_EQ(l.Column(PoolColTrOnID)[1], "0x013E");
    l.model.Sort(PoolColTrID, Qt::AscendingOrder);
    EXPECT_EQ(l.Column(PoolColTrID).back(), "0x2DB4");
    l.model.Sort(PoolColSatelit, Qt::DescendingOrder);
    EXPECT_EQ(l.Column(PoolColSatelit).front(), "Hotbird 13.0E");

    // Text order for Diseqc: "10" before "2".
    Loaded d(Services(Sat("A", "2", Transponder("0001", "0001", Channel("0001", "a", "01"))) +
                      Sat("B", "10", Transponder("0002", "0001", Channel("0002", "b", "01")))));
    d.model.Sort(PoolColDiseqc, Qt::AscendingOrder);
    EXPECT_EQ(d.Column(PoolColDiseqc), (Names{"10", "2"}));

    // Rows hidden while sorting take their sorted place when shown again.
    l.model.SetClassFilter(false, true, false);
    l.model.Sort(PoolColName, Qt::AscendingOrder);
    EXPECT_EQ(l.Column(0), (Names{"Musica", "Welle"}));
    l.model.SetClassFilter(true, true, true);
    EXPECT_EQ(l.Column(0), (Names{"Daten", "Erstes", "Kino", "Musica", "Uno", "Welle", "zweites"}));
}

// The sort works on prepared keys; its order must be the one of the row
// comparison for any bytes, long shared prefixes and extreme identifiers.
TEST(PoolModel, SortAgreesWithTheRowComparisonOnArbitraryData) {
    TListDocument doc;
    PSNode root = doc.AddServiceNode(nullptr, std::make_unique<TBasicSNode>("Services", ImgStructure));
    std::mt19937 rng(7);
    const char alphabet[] = {'a', 'A', 'z', 'Z', '_', '0', ' ', '\x7f', '\x80', '\xC4', '\xE4', '\xFF', '\0'};
    auto word = [&] {
        std::string w = (rng() % 2) ? "Nachrichten" : "";
        for (int n = static_cast<int>(rng() % 12); n > 0; --n)
            w += alphabet[rng() % sizeof(alphabet)];
        return w;
    };
    const int32_t numbers[] = {INT_MIN, -1, 0, 1, 0x7FFF, INT_MAX};
    for (int s = 0; s < 4; ++s) {
        auto sat = std::make_unique<TBasicSNode>("", ImgStructure);
        sat->SetSat(word(), word(), "");
        TSat* satData = sat->Sat.get();
        PSNode satNode = doc.AddServiceNode(root, std::move(sat));
        for (int t = 0; t < 5; ++t) {
            auto tp = std::make_unique<TBasicSNode>("", ImgStructure);
            tp->SetTransponder(satData, numbers[rng() % 6], numbers[rng() % 6], 0, 0, 0, 0, "");
            TTransponder* tpData = tp->Transponder.get();
            PSNode tpNode = doc.AddServiceNode(satNode, std::move(tp));
            for (int c = 0; c < 40; ++c) {
                auto ch = std::make_unique<TBasicSNode>("", ImgTV);
                ch->SetChannel(tpData, word(), "0", numbers[rng() % 6], numbers[rng() % 6]);
                doc.AddServiceNode(tpNode, std::move(ch));
            }
        }
    }
    TServicePoolModel model;
    model.SetClassFilter(true, true, true);
    model.Fill(doc.VTS);
    ASSERT_EQ(model.rowCount(), 800);
    for (int column = 0; column < PoolColumnCount; ++column) {
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            model.Sort(column, order);
            for (int r = 1; r < model.rowCount(); ++r) {
                const int c = ComparePoolRows(*model.RowData(r - 1), *model.RowData(r), column);
                ASSERT_TRUE(order == Qt::AscendingOrder ? c <= 0 : c >= 0)
                    << "column " << column << " row " << r;
            }
        }
    }
}

TEST(PoolModel, SelectionFollowsItsServicesThroughSortAndFilter) {
    Loaded l(MixedServices());
    QItemSelectionModel sel(&l.model);
    sel.select(l.model.index(5, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); // "Uno"
    sel.setCurrentIndex(l.model.index(1, 0), QItemSelectionModel::NoUpdate);                  // "Welle"
    l.model.Sort(PoolColName, Qt::AscendingOrder);
    ASSERT_EQ(sel.selectedRows().size(), 1);
    EXPECT_EQ(l.model.data(sel.selectedRows()[0]).toString(), "Uno");
    EXPECT_EQ(l.model.data(sel.currentIndex()).toString(), "Welle");
    // Hiding the radio class drops "Welle" as current, "Uno" stays selected.
    l.model.SetClassFilter(true, false, true);
    EXPECT_FALSE(sel.currentIndex().isValid());
    ASSERT_EQ(sel.selectedRows().size(), 1);
    EXPECT_EQ(l.model.data(sel.selectedRows()[0]).toString(), "Uno");
}

TEST(PoolModel, ShadesTheSortColumnAndItsHeaderOnly) {
    Loaded l(MixedServices());
    l.model.SetShadedColumn(PoolColTrID);
    EXPECT_EQ(l.model.data(l.model.index(2, PoolColTrID), Qt::BackgroundRole).value<QColor>(),
              QColor(231, 231, 231));
    EXPECT_EQ(l.model.headerData(PoolColTrID, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
              QColor(0xE7, 0xE7, 0xE7));
    EXPECT_FALSE(l.model.data(l.model.index(2, PoolColName), Qt::BackgroundRole).isValid());
    l.model.SetShadedColumn(-1);
    EXPECT_FALSE(l.model.data(l.model.index(2, PoolColTrID), Qt::BackgroundRole).isValid());
}

TEST(PoolModel, DragCarriesOnlyThePoolsOwnType) {
    Loaded l(MixedServices());
    std::unique_ptr<QMimeData> mime(
        l.model.mimeData({l.model.index(0, 0), l.model.index(0, 3), l.model.index(5, 0)}));
    ASSERT_TRUE(mime);
    // No text: an edit field of the main window must not take pool rows.
    EXPECT_FALSE(mime->hasText());
    EXPECT_EQ(mime->formats(), QStringList{TServicePoolModel::MimeType});
    EXPECT_EQ(mime->data(TServicePoolModel::MimeType), QByteArray("6D66 0001 0401\n1F40 013E 2DB4\n"));
    EXPECT_TRUE(l.model.flags(l.model.index(0, 0)) & Qt::ItemIsDragEnabled);
    EXPECT_FALSE(l.model.flags(l.model.index(0, 0)) & Qt::ItemIsDropEnabled);
}

} // namespace
} // namespace xantu::test
