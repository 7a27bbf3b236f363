#include "PoolTestSupport.h"
#include "settings/FormStore.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QColor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

namespace xantu::test {
namespace {

std::string ThreeClasses() {
    return Services(Sat("Astra 19.2E", "0",
                        Transponder("0401", "0001",
                                    Channel("6D66", "Erstes", "01") + Channel("6D70", "Welle", "02") +
                                        Channel("6D71", "Daten", "0C") + Channel("6D72", "Kino", "05"))) +
                    Sat("Hotbird 13.0E", "1", Transponder("2DB4", "013E", Channel("1F40", "Uno", "04"))));
}

class ServicePoolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ini = dir.filePath("Settings.ini");
        Make();
    }
    void Make() {
        pool = std::make_unique<TServicePool>(doc, ini, dialogs);
        host.Pool = pool.get();
    }
    void Destroy() {
        host.Pool = nullptr;
        pool.reset();
    }
    QAction* Action(const char* name) { return pool->findChild<QAction*>(QString::fromLatin1(name)); }
    QHeaderView* Header() { return pool->View()->header(); }
    QString Status(int n) { return QStringLiteral("Angezeigte Services: ") + QString::number(n); }
    QVariant Stored(const QString& key) {
        QSettings s(ini, QSettings::IniFormat);
        return s.value("ServicePool/" + key);
    }
    QStringList StoredKeys() {
        QSettings s(ini, QSettings::IniFormat);
        s.beginGroup("ServicePool");
        return s.childKeys();
    }
    std::string Name(int row) {
        return pool->Model().data(pool->Model().index(row, 0)).toString().toStdString();
    }

    QTemporaryDir dir;
    QString ini;
    TPoolHost host;
    TListDocument doc{&host};
    TScriptedDialogs dialogs;
    std::unique_ptr<TServicePool> pool; // destroyed before the document
};

TEST_F(ServicePoolTest, FirstShowingTakesDefaultsAndCountsTheTvClass) {
    doc.LoadServices(ThreeClasses());
    // Before the first showing every flag is off: nothing is listed yet.
    EXPECT_EQ(pool->Model().TotalCount(), 5);
    EXPECT_EQ(pool->StatusText(), Status(0));

    pool->SetServicePoolVisible(true);
    EXPECT_FALSE(pool->FirstShow);
    EXPECT_TRUE(pool->ShowTV);
    EXPECT_FALSE(pool->ShowRadio);
    EXPECT_FALSE(pool->ShowSpezial);
    EXPECT_EQ(pool->StatusText(), Status(doc.CountTV));
    EXPECT_EQ(doc.CountTV, 3);
    EXPECT_TRUE(Action("MenuTV")->isChecked());
    EXPECT_TRUE(Action("BttnShowTV")->isChecked());
    EXPECT_FALSE(Action("BttnShowRadio")->isChecked());
    // Without stored widths every column is 60 wide, also name and satellite.
    for (int i = 0; i < PoolColumnCount; ++i) {
        EXPECT_FALSE(Header()->isSectionHidden(i)) << i;
        EXPECT_EQ(Header()->sectionSize(i), 60) << i;
    }

    Action("BttnShowRadio")->trigger();
    EXPECT_TRUE(Action("MenuRadio")->isChecked());
    EXPECT_EQ(pool->StatusText(), Status(4));
    Action("MenuSpezial")->trigger();
    EXPECT_EQ(pool->StatusText(), Status(5));
    Action("MenuTV")->trigger();
    Action("MenuRadio")->trigger();
    Action("BttnShowSpezial")->trigger();
    EXPECT_EQ(pool->StatusText(), Status(0));
    EXPECT_EQ(pool->Model().rowCount(), 0);
}

TEST_F(ServicePoolTest, HeaderClicksSortAndShadeTheSortColumn) {
    doc.LoadServices(ThreeClasses());
    pool->SetServicePoolVisible(true);
    Action("MenuRadio")->trigger();
    Action("MenuSpezial")->trigger();
    auto shaded = [&](int column) {
        return pool->Model().data(pool->Model().index(0, column), Qt::BackgroundRole).value<QColor>() ==
               QColor(0xE7, 0xE7, 0xE7);
    };

    pool->VTSPHeaderClick(PoolColName);
    EXPECT_EQ(pool->SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Name(0), "Daten");
    pool->VTSPHeaderClick(PoolColName);
    EXPECT_EQ(pool->SortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(Name(0), "Welle");
    EXPECT_EQ(Header()->sortIndicatorOrder(), Qt::DescendingOrder);
    pool->VTSPHeaderClick(PoolColName);
    EXPECT_EQ(pool->SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Name(0), "Daten");
    EXPECT_TRUE(shaded(PoolColName));

    // Another column starts ascending and the first loses its shade.
    pool->VTSPHeaderClick(PoolColName);
    pool->VTSPHeaderClick(PoolColSID);
    EXPECT_EQ(pool->SortColumn(), PoolColSID);
    EXPECT_EQ(pool->SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Header()->sortIndicatorSection(), PoolColSID);
    EXPECT_EQ(Name(0), "Uno");
    EXPECT_TRUE(shaded(PoolColSID));
    EXPECT_FALSE(shaded(PoolColName));

    // A real click on the header goes the same way.
    const QPoint at(Header()->sectionViewportPosition(PoolColSID) + 5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, Header()->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, Header()->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Header()->viewport(), &press);
    QCoreApplication::sendEvent(Header()->viewport(), &release);
    EXPECT_EQ(pool->SortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(Name(0), "Kino");

    // A new read lists in file order; the header still marks the old column.
    doc.LoadServices(ThreeClasses());
    EXPECT_EQ(Name(0), "Erstes");
    EXPECT_EQ(pool->SortColumn(), PoolColSID);

    // Hiding and showing again keeps sort, filter and widths.
    pool->VTSPHeaderClick(PoolColSID);
    Header()->resizeSection(PoolColSatelit, 111);
    pool->SetServicePoolVisible(false);
    pool->SetServicePoolVisible(true);
    EXPECT_EQ(pool->SortColumn(), PoolColSID);
    EXPECT_EQ(pool->SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Name(0), "Uno");
    EXPECT_EQ(pool->StatusText(), Status(5));
    EXPECT_EQ(Header()->sectionSize(PoolColSatelit), 111);
}

TEST_F(ServicePoolTest, ColumnsHideByTheirMenuAndTheNameColumnStays) {
    pool->SetServicePoolVisible(true);
    Action("MenuSID")->trigger();
    Action("MenuSatelit")->trigger();
    EXPECT_TRUE(Header()->isSectionHidden(PoolColSID));
    EXPECT_TRUE(Header()->isSectionHidden(PoolColSatelit));
    EXPECT_FALSE(Action("MenuSID")->isChecked());
    EXPECT_FALSE(Header()->isSectionHidden(PoolColSTyp));
    pool->SetColumnVisible(PoolColName, false);
    EXPECT_FALSE(Header()->isSectionHidden(PoolColName));
    Action("MenuSID")->trigger();
    EXPECT_FALSE(Header()->isSectionHidden(PoolColSID));
    EXPECT_EQ(Header()->sectionSize(PoolColSID), 60);

    // Column 0 moves by header drag, and its picture with it.
    doc.LoadServices(ThreeClasses());
    Header()->moveSection(0, 4);
    EXPECT_EQ(Header()->logicalIndexAt(Header()->sectionViewportPosition(0) + 2), 0);
    EXPECT_EQ(Header()->visualIndex(0), 4);
    EXPECT_TRUE(pool->Model().data(pool->Model().index(0, 0), Qt::DecorationRole).isValid());
}

TEST_F(ServicePoolTest, ClosingOnlyHidesAndTheHintHasItsWords) {
    doc.LoadServices(ThreeClasses());
    QSignalSpy spy(pool.get(), &TServicePool::visibilityChanged);
    pool->SetServicePoolVisible(true);
    EXPECT_TRUE(pool->isVisible());
    EXPECT_FALSE(pool->close());
    EXPECT_FALSE(pool->isVisible());
    pool->SetServicePoolVisible(true);
    Action("BttnHideWindow")->trigger();
    EXPECT_FALSE(pool->isVisible());
    ASSERT_EQ(spy.size(), 4);
    EXPECT_EQ(spy[1][0].toBool(), false);
    EXPECT_EQ(spy[3][0].toBool(), false);
    EXPECT_EQ(pool->Model().TotalCount(), 5);

    Action("BttnInfo")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);
    EXPECT_EQ(dialogs.Messages[0].Text,
              QStringLiteral(
                  "Leider noch nicht vollständig in Funktion.\r(im Prinzip der Punkt, wo ich nach 1.5.0.3 "
                  "die Entwicklung eingestellt habe)\r\rZiel war, per Drag/Drop aus dem Servicepool die "
                  "Services ins Bouquet ziehen zu können. Ein Klick auf die Spaltenköpfe sortiert die "
                  "Liste."));
}

TEST_F(ServicePoolTest, EmptyingTheServicesTreeEmptiesThePool) {
    doc.LoadServices(ThreeClasses());
    pool->SetServicePoolVisible(true);
    ASSERT_EQ(pool->Model().TotalCount(), 5);
    doc.Clear(); // what the main window's ClearView does
    EXPECT_EQ(pool->Model().TotalCount(), 0);
    EXPECT_EQ(pool->StatusText(), Status(0));

    // A load that fails after the services tree was emptied leaves no row.
    doc.LoadServices(ThreeClasses());
    ASSERT_EQ(pool->Model().TotalCount(), 5);
    EXPECT_FALSE(doc.LoadListTexts("no root element", ""));
    EXPECT_EQ(pool->Model().TotalCount(), 0);
    EXPECT_EQ(pool->Model().rowCount(), 0);

    // A services file without channels.
    doc.LoadServices(Services(""));
    EXPECT_EQ(pool->StatusText(), Status(0));

    // Removing part of the tree drops just its rows.
    doc.LoadServices(ThreeClasses());
    ASSERT_EQ(pool->StatusText(), Status(3));
    PSNode hotbird = doc.VTS.Top(0)->Child(1);
    doc.VTS.Delete(hotbird);
    EXPECT_EQ(pool->Model().TotalCount(), 4);
    EXPECT_EQ(pool->StatusText(), Status(2));
}

// A listener of the services tree beside the pool (the services page)
// keeps hearing about every change, whether it came before or after the
// pool, and keeps its place when the pool goes.
struct CountingObserver : TTreeObserver<TBasicSNode> {
    void BeginInsert(Node*, std::size_t) override { ++inserts; }
    void EndInsert() override {}
    void BeginRemove(Node*, std::size_t) override { ++removes; }
    void EndRemove() override {}
    void BeginMove(Node*, std::size_t, Node*, std::size_t) override {}
    void EndMove() override {}
    void BeginReset() override { ++resets; }
    void EndReset() override {}
    int inserts = 0, removes = 0, resets = 0;
};

TEST_F(ServicePoolTest, PassesTreeNotificationsOnToTheServicesPage) {
    Destroy();
    CountingObserver before, after;
    doc.VTS.AddObserver(&before);
    Make();
    doc.VTS.AddObserver(&after);
    doc.LoadServices(ThreeClasses());
    for (const CountingObserver* page : {&before, &after}) {
        EXPECT_EQ(page->resets, 1);
        EXPECT_EQ(page->inserts, static_cast<int>(doc.VTS.TotalCount()));
    }
    EXPECT_EQ(pool->Model().TotalCount(), 5);
    doc.LoadServices(ThreeClasses());
    doc.Clear();
    EXPECT_EQ(pool->Model().TotalCount(), 0);
    EXPECT_EQ(before.resets, 3);
    EXPECT_EQ(after.resets, 3);
    Destroy();
    EXPECT_TRUE(doc.VTS.HasObserver(&before));
    EXPECT_TRUE(doc.VTS.HasObserver(&after));
    // The pool left the tree: a change now reaches only the pages.
    doc.LoadServices(ThreeClasses());
    EXPECT_EQ(before.resets, 4);
    doc.VTS.RemoveObserver(&before);
    doc.VTS.RemoveObserver(&after);
}

TEST_F(ServicePoolTest, SectionIsWrittenOnlyWhenShownAndEndedWithBeenden) {
    // Shown and hidden, ended through the close box: nothing written.
    pool->SetServicePoolVisible(true);
    pool->SetServicePoolVisible(false);
    Destroy();
    EXPECT_TRUE(StoredKeys().isEmpty());

    // "&Beenden" without the pool ever shown: nothing written.
    Make();
    pool->EnableSettingsSave();
    Destroy();
    EXPECT_TRUE(StoredKeys().isEmpty());

    // Shown, changed, ended with "&Beenden": written.
    Make();
    pool->SetServicePoolVisible(true);
    Action("MenuRadio")->trigger();
    Action("MenuSID")->trigger();
    Header()->resizeSection(PoolColSatelit, 123);
    Header()->resizeSection(PoolColName, 200);
    Header()->moveSection(Header()->visualIndex(PoolColName), 3);
    pool->SetServicePoolVisible(false); // writes nothing yet
    EXPECT_TRUE(StoredKeys().isEmpty());
    pool->EnableSettingsSave();
    Destroy();
    EXPECT_EQ(Stored("ShowTV").toInt(), 1);
    EXPECT_EQ(Stored("ShowRadio").toInt(), 1);
    EXPECT_EQ(Stored("ShowSpezial").toInt(), 0);
    EXPECT_EQ(Stored("ShowSID").toInt(), 0);
    EXPECT_EQ(Stored("ShowSatelit").toInt(), 1);
    EXPECT_EQ(Stored("ColPos0").toInt(), 3);
    EXPECT_EQ(Stored("ColWidth0").toInt(), 200);
    EXPECT_EQ(Stored("ColWidth1").toInt(), 60); // hidden, still its width
    EXPECT_EQ(Stored("ColWidth6").toInt(), 123);
    EXPECT_TRUE(Stored("NormPos").isValid());

    // The next run reads it back at the first showing only.
    Make();
    doc.LoadServices(ThreeClasses());
    EXPECT_EQ(Header()->visualIndex(PoolColName), 0);
    pool->SetServicePoolVisible(true);
    EXPECT_TRUE(pool->ShowRadio);
    EXPECT_FALSE(pool->ShowSID);
    EXPECT_TRUE(Header()->isSectionHidden(PoolColSID));
    EXPECT_EQ(Header()->visualIndex(PoolColName), 3);
    EXPECT_EQ(Header()->sectionSize(PoolColName), 200);
    EXPECT_EQ(Header()->sectionSize(PoolColSatelit), 123);
    EXPECT_EQ(pool->StatusText(), Status(4));
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("ServicePool/ShowRadio", 0);
    }
    pool->SetServicePoolVisible(false);
    pool->SetServicePoolVisible(true);
    EXPECT_TRUE(pool->ShowRadio);
}

TEST_F(ServicePoolTest, HandEditedValuesOutOfRangeAreHarmless) {
    Destroy();
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("ServicePool/ColPos0", 99);
        s.setValue("ServicePool/ColPos2", -7);
        s.setValue("ServicePool/ColWidth1", -5);
        s.setValue("ServicePool/ColWidth3", 5000000);
        s.setValue("ServicePool/ShowRadio", 2);
    }
    Make();
    pool->SetServicePoolVisible(true);
    EXPECT_EQ(Header()->visualIndex(0), 0);
    EXPECT_EQ(Header()->visualIndex(2), 2);
    EXPECT_GT(Header()->sectionSize(1), 0);
    EXPECT_LE(Header()->sectionSize(3), 10000);
    EXPECT_TRUE(pool->ShowRadio);
}

} // namespace
} // namespace xantu::test
