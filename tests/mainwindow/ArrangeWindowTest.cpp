// Filling, ordering and tidying bouquets through the real window, headless:
// the shortcuts reach the bouquet tree as key presses, the pop-up menus open
// through the toolkit, and every box is answered by the test.
#include "WindowTestKit.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainArrange.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/NodeTreeModel.h"
#include "mainwindow/TreeImages.h"
#include "pool/ServicePool.h"
#include "settings/FormStore.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

class ArrangeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TMainOptions options;
        options.IniFileName = dir.filePath("Settings.ini");
        win = std::make_unique<TMain>(dialogs, options);
        pool = std::make_unique<TServicePool>(win->Doc(), win->FStore()->IniFileName(), dialogs, TreeImage,
                                              win.get());
        win->AttachServicePool(*pool);
        win->show();
        arrange = ArrangeOf(*win);
        ASSERT_NE(arrange, nullptr);
        tester = std::make_unique<QAbstractItemModelTester>(
            VTBModel(*win), QAbstractItemModelTester::FailureReportingMode::Fatal);
        Open(kExamples + "/sat/bouquets.xml");
    }
    void TearDown() override {
        tester.reset();
        pool.reset();
    }
    void Open(const QString& bouquets) {
        dialogs.Files.push_back(bouquets);
        Action(*win, "MenuOpen")->trigger();
        ASSERT_NE(Root(), nullptr);
        Action(*win, "MenuExpandBouquets")->trigger();
        QApplication::processEvents();
        dialogs.Messages.clear();
    }
    // A pair beside the example services with bouquets of our own.
    void OpenBouquets(const QByteArray& entries) {
        QFile::copy(kExamples + "/sat/services.xml", dir.filePath("services.xml"));
        QFile f(dir.filePath("bouquets.xml"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n\t<Bouquet name=\"Mix\" hidden=\"0\" "
                "locked=\"0\">\n" +
                entries + "\t</Bouquet>\n</XANTU>");
        f.close();
        Open(dir.filePath("bouquets.xml"));
    }

    PBNode Root() const { return win->Doc().VTB.GetFirst(); }
    PBNode Bouquet(const char* caption) const {
        for (std::size_t i = 0; i < Root()->ChildCount(); ++i)
            if (Root()->Child(i)->Data()->Caption == caption)
                return Root()->Child(i);
        return nullptr;
    }
    QStringList Captions(PBNode node) const {
        QStringList out;
        for (std::size_t i = 0; i < node->ChildCount(); ++i)
            out << QString::fromStdString(node->Child(i)->Data()->Caption.Str());
        return out;
    }
    void Select(std::initializer_list<PBNode> nodes) {
        QItemSelectionModel* sel = VTB(*win)->selectionModel();
        bool first = true;
        for (PBNode n : nodes) {
            sel->setCurrentIndex(VTBModel(*win)->IndexOf(n),
                                 first ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select);
            first = false;
        }
    }
    QStringList SelectedCaptions() const {
        QStringList out;
        for (PBNode n : win->SelectedBouquetNodes())
            out << QString::fromStdString(n->Data()->Caption.Str());
        return out;
    }
    void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QApplication::setActiveWindow(w->window());
        w->setFocus();
        QTest::keyClick(w, key, mods);
    }
    // Selects the channel of the services tree with that caption.
    void SelectService(const char* caption) {
        Pages(*win)->setCurrentWidget(Sheet(*win, "SheetServices"));
        PSNode found = nullptr;
        win->Doc().VTS.ForEach([&](PSNode n) {
            if (!found && n->Data()->Caption == caption)
                found = n;
        });
        ASSERT_NE(found, nullptr);
        const QModelIndex i = VTSModel(*win)->IndexOf(found);
        VTS(*win)->scrollTo(i);
        VTS(*win)->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    }
    // Opens `menu` the way the toolkit does and clicks the item `text`.
    void Choose(QMenu* menu, const QString& text) {
        menu->popup(win->mapToGlobal(QPoint(20, 20)));
        QApplication::processEvents();
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == text)
                chosen = a;
        ASSERT_NE(chosen, nullptr) << text.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        QApplication::processEvents();
    }
    QStringList MenuTexts(QMenu* menu) {
        menu->popup(win->mapToGlobal(QPoint(20, 20)));
        QApplication::processEvents();
        QStringList out;
        for (QAction* a : menu->actions())
            out << a->text();
        menu->hide();
        return out;
    }
    QString Status() const { return StatPanel(*win, 0)->text(); }

    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TMain> win;
    std::unique_ptr<TServicePool> pool;
    std::unique_ptr<QAbstractItemModelTester> tester;
    TMainArrange* arrange = nullptr;
};

TEST_F(ArrangeWindowTest, ShortcutsMoveTheSelectionAndKeepItSelected) {
    PBNode fav = Bouquet("Favoriten");
    ASSERT_EQ(Captions(fav), QStringList({"Erstes Programm", "Nachrichten Süd", "Canale Uno"}));
    Select({fav->Child(2)});
    Key(VTB(*win), Qt::Key_Up);
    EXPECT_EQ(Captions(fav), QStringList({"Erstes Programm", "Canale Uno", "Nachrichten Süd"}));
    EXPECT_EQ(SelectedCaptions(), QStringList({"Canale Uno"}));
    EXPECT_TRUE(win->Modified());
    Key(VTB(*win), Qt::Key_Home);
    EXPECT_EQ(Captions(fav), QStringList({"Canale Uno", "Erstes Programm", "Nachrichten Süd"}));
    Select({fav->Child(0), fav->Child(1)});
    Key(VTB(*win), Qt::Key_End);
    EXPECT_EQ(Captions(fav), QStringList({"Nachrichten Süd", "Canale Uno", "Erstes Programm"}));
    EXPECT_EQ(SelectedCaptions(), QStringList({"Canale Uno", "Erstes Programm"}));
    Key(VTB(*win), Qt::Key_Down); // at the end already: nothing
    EXPECT_EQ(Captions(fav), QStringList({"Nachrichten Süd", "Canale Uno", "Erstes Programm"}));
    EXPECT_EQ(VTB(*win)->currentIndex().parent(), VTBModel(*win)->IndexOf(fav));

    // Bouquets and "andere" move like one another; entries of "andere" stay.
    Select({Bouquet("andere")});
    Key(VTB(*win), Qt::Key_Home);
    EXPECT_EQ(Captions(Root()), QStringList({"andere", "Favoriten", "Radio", "Kinder"}));
    Select({Bouquet("andere")->Child(0)});
    Key(VTB(*win), Qt::Key_Down);
    EXPECT_EQ(Captions(Root()).first(), "andere");
    // The menu item does what the key does.
    Select({Bouquet("Kinder")});
    win->findChild<QAction*>(QStringLiteral("MenuMoveUp"))->trigger();
    EXPECT_EQ(Captions(Root()), QStringList({"andere", "Favoriten", "Kinder", "Radio"}));

    // Each move is one step back.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(VTB(*win), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    EXPECT_EQ(Captions(fav), QStringList({"Erstes Programm", "Canale Uno", "Nachrichten Süd"}));
    // Ctrl+Home in the name field stays the field's own key.
    Select({Bouquet("Radio")});
    Pages(*win)->setCurrentWidget(Sheet(*win, "SheetBouquets"));
    QWidget* field = win->findChild<QWidget*>(QStringLiteral("EBBouquetName"));
    ASSERT_NE(field, nullptr);
    Key(field, Qt::Key_Home);
    EXPECT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
}

TEST_F(ArrangeWindowTest, MenusOfferTheCommandsInBearbeitenAndThePopup) {
    auto* edit = win->findChild<QMenu*>(QStringLiteral("MenuBearbeiten"));
    ASSERT_NE(edit, nullptr);
    const QStringList items = MenuTexts(edit);
    for (const char* text : {"Nach oben", "Nach unten", "An den Anfang", "Ans Ende", "Bouquet sortieren",
                             "Einträge ohne Service entfernen", "Doppelte Einträge entfernen"}) {
        EXPECT_TRUE(items.contains(QString::fromUtf8(text))) << text;
        bool inPopup = false;
        for (QAction* a : VTB(*win)->actions())
            inPopup = inPopup || a->text() == QString::fromUtf8(text);
        EXPECT_TRUE(inPopup) << text;
    }
    EXPECT_EQ(MenuTexts(arrange->MenuSortBouquet),
              QStringList({"Nach Name", "Nach Service-ID", "Reihenfolge umkehren"}));
    EXPECT_EQ(arrange->MenuMoveUp->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Up));
    EXPECT_EQ(arrange->MenuMoveToEnd->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_End));

    // Sorting through the submenu: an entry stands for its bouquet.
    PBNode fav = Bouquet("Favoriten");
    Select({fav->Child(1)});
    Choose(arrange->MenuSortBouquet, QStringLiteral("Reihenfolge umkehren"));
    EXPECT_EQ(Captions(fav), QStringList({"Canale Uno", "Nachrichten Süd", "Erstes Programm"}));
    Choose(arrange->MenuSortBouquet, QStringLiteral("Nach Name"));
    EXPECT_EQ(Captions(fav), QStringList({"Canale Uno", "Erstes Programm", "Nachrichten Süd"}));
    Choose(arrange->MenuSortBouquet, QStringLiteral("Nach Service-ID"));
    EXPECT_EQ(Captions(fav), QStringList({"Canale Uno", "Erstes Programm", "Nachrichten Süd"}));
    EXPECT_TRUE(win->Modified());
    // "andere" is not sorted.
    Select({Bouquet("andere")});
    const std::size_t steps = win->Editing().Editor.History().UndoCount();
    Choose(arrange->MenuSortBouquet, QStringLiteral("Reihenfolge umkehren"));
    EXPECT_EQ(win->Editing().Editor.History().UndoCount(), steps);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(ArrangeWindowTest, SortedAndRestoredRowsKeepTheViewFilter) {
    // Musica Classica (radio, filtered out) joins "Favoriten" at the end.
    SelectService("Musica Classica");
    Choose(arrange->MenuAddToBouquet, QStringLiteral("Favoriten"));
    Pages(*win)->setCurrentWidget(Sheet(*win, "SheetBouquets"));
    PBNode fav = Bouquet("Favoriten");
    const QModelIndex f = VTBModel(*win)->IndexOf(fav);
    auto hidden = [&] {
        QList<bool> out;
        for (int r = 0; r < static_cast<int>(fav->ChildCount()); ++r)
            out << VTB(*win)->isRowHidden(r, f);
        return out;
    };
    ASSERT_EQ(hidden(), QList<bool>({false, false, false, true}));
    Select({fav});
    Choose(arrange->MenuSortBouquet, QStringLiteral("Nach Name"));
    EXPECT_EQ(Captions(fav),
              QStringList({"Canale Uno", "Erstes Programm", "Musica Classica", "Nachrichten Süd"}));
    EXPECT_EQ(hidden(), QList<bool>({false, false, true, false}));
    EXPECT_EQ(VTBModel(*win)->data(VTBModel(*win)->IndexOf(fav->Child(0)), Qt::DisplayRole).toString(),
              "Canale Uno");
    QTest::keyClick(VTB(*win), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Captions(fav),
              QStringList({"Erstes Programm", "Nachrichten Süd", "Canale Uno", "Musica Classica"}));
    EXPECT_EQ(hidden(), QList<bool>({false, false, false, true}));
    QTest::keyClick(VTB(*win), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(hidden(), QList<bool>({false, false, true, false}));
}

TEST_F(ArrangeWindowTest, CleanUpAsksOnceAndReports) {
    OpenBouquets("\t\t<channel serviceID=\"6D66\" name=\"Erstes Programm\" tsid=\"0401\" onid=\"0001\" "
                 "sat_position=\"192\"/>\n"
                 "\t\t<channel serviceID=\"7777\" name=\"Weg\" tsid=\"0401\" onid=\"0001\" "
                 "sat_position=\"192\"/>\n"
                 "\t\t<channel serviceID=\"6D66\" name=\"Erstes nochmal\" tsid=\"0401\" onid=\"0001\" "
                 "sat_position=\"192\"/>\n"
                 "\t\t<channel serviceID=\"7778\" name=\"Auch weg\" tsid=\"0401\" onid=\"0001\" "
                 "sat_position=\"192\"/>\n");
    PBNode mix = Bouquet("Mix");
    ASSERT_EQ(mix->ChildCount(), 4u);
    dialogs.Answers.push_back(TAnswer::No);
    arrange->MenuRemoveWithoutService->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "2 Einträge haben keinen Service.\rSollen sie entfernt werden?");
    EXPECT_EQ(mix->ChildCount(), 4u);
    EXPECT_FALSE(win->Modified());

    dialogs.Messages.clear();
    arrange->MenuRemoveWithoutService->trigger();
    EXPECT_EQ(Captions(mix), QStringList({"Erstes Programm", "Erstes nochmal"}));
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Kind, TMsgKind::Information);
    EXPECT_EQ(dialogs.Messages[1].Text, "2 Einträge ohne Service entfernt.");
    EXPECT_TRUE(win->Modified());

    dialogs.Messages.clear();
    arrange->MenuRemoveDuplicates->trigger();
    EXPECT_EQ(Captions(mix), QStringList({"Erstes Programm"}));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "1 doppelte Einträge entfernt.");
    QTest::keyClick(VTB(*win), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(VTB(*win), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Captions(mix), QStringList({"Erstes Programm", "Weg", "Erstes nochmal", "Auch weg"}));
}

TEST_F(ArrangeWindowTest, ServicesTreeAddsThroughItsMenuAndCtrlEnter) {
    // Nothing chosen yet: Ctrl+Enter explains instead of guessing.
    SelectService("Musica Classica");
    Key(VTS(*win), Qt::Key_Return);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].Text.startsWith("Noch kein Bouquet gewählt."));
    EXPECT_FALSE(win->Modified());

    // The submenu lists the bouquets without "andere".
    EXPECT_EQ(MenuTexts(arrange->MenuAddToBouquet), QStringList({"Favoriten", "Radio", "Kinder"}));
    SelectService("Musica Classica");
    Choose(arrange->MenuAddToBouquet, QStringLiteral("Radio"));
    EXPECT_EQ(Captions(Bouquet("Radio")), QStringList({"Welle Eins", "Kultur Radio", "Musica Classica"}));
    // It stood in "andere" and left it.
    EXPECT_EQ(Captions(Bouquet("andere")), QStringList());
    EXPECT_EQ(Status(), "1 Services zu \"Radio\" hinzugefügt");
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(Pages(*win)->currentWidget(), Sheet(*win, "SheetServices"));

    // Ctrl+Enter: the same bouquet again; asked once about a service in it.
    SelectService("Kultur Radio");
    dialogs.Answers.push_back(TAnswer::No);
    Key(VTS(*win), Qt::Key_Return);
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Text, "1 Services sind bereits im Bouquet. Trotzdem hinzufügen?");
    EXPECT_EQ(Bouquet("Radio")->ChildCount(), 3u);
    SelectService("Datendienst");
    Key(VTS(*win), Qt::Key_Enter);
    EXPECT_EQ(Captions(Bouquet("Radio")).last(), "Datendienst");
    // Radio and special services are filtered out of the view (TV only by
    // default), the new entries as the loaded ones.
    const QModelIndex radio = VTBModel(*win)->IndexOf(Bouquet("Radio"));
    EXPECT_TRUE(VTB(*win)->isRowHidden(0, radio));
    EXPECT_TRUE(VTB(*win)->isRowHidden(2, radio));
    EXPECT_TRUE(VTB(*win)->isRowHidden(3, radio));
    Action(*win, "MenuSpezial")->trigger();
    EXPECT_FALSE(VTB(*win)->isRowHidden(3, radio));
}

TEST_F(ArrangeWindowTest, PoolPopupAndCtrlEnterAddInTheShownOrder) {
    pool->SetServicePoolVisible(true);
    if (!pool->ShowRadio)
        pool->MenuRadioClick();
    if (!pool->ShowSpezial)
        pool->MenuSpezialClick();
    QTreeView* view = pool->View();
    // Sorted by name: the rows come in the order the user sees them.
    pool->VTSPHeaderClick(PoolColName);
    QItemSelectionModel* sel = view->selectionModel();
    auto selectRows = [&](QStringList names) {
        sel->clearSelection();
        for (int r = 0; r < pool->Model().rowCount(); ++r)
            if (names.contains(pool->Model().index(r, PoolColName).data().toString()))
                sel->select(pool->Model().index(r, 0),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    selectRows({"Sport Live HD", "Canale Uno", "Musica Classica"});
    // The pop-up opens on the toolkit's context-menu event.
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(10, 10),
                         view->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(view->viewport(), &ev);
    QApplication::processEvents();
    ASSERT_TRUE(arrange->PoolPopup->isVisible());
    arrange->PoolPopup->hide();
    Choose(arrange->PoolAddToBouquet, QStringLiteral("Kinder"));
    ASSERT_EQ(dialogs.Messages.size(), 0);
    EXPECT_EQ(Captions(Bouquet("Kinder")),
              QStringList({"Kinder & Familie", "Canale Uno", "Musica Classica", "Sport Live HD"})
                  .replaceInStrings("&", "&amp;"));

    // Ctrl+Enter in the pool: to "Kinder" again; both already there.
    selectRows({"Canale Uno", "Erstes Programm"});
    dialogs.Answers.push_back(TAnswer::No);
    Key(view, Qt::Key_Return);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "1 Services sind bereits im Bouquet. Trotzdem hinzufügen?");
    EXPECT_EQ(Captions(Bouquet("Kinder")).last(), "Erstes Programm");
    // The entry written for it carries the service's ids and position.
    EXPECT_NE(win->Doc().SaveBouquets().find(
                  "\t\t<channel serviceID=\"6D66\" name=\"Erstes Programm\" tsid=\"0401\" "
                  "onid=\"0001\" sat_position=\"192\"/>\n\t</Bouquet>\n</XANTU>"),
              std::string::npos);
}

TEST_F(ArrangeWindowTest, NothingChangesWhileTheBoxIsBusy) {
    PBNode fav = Bouquet("Favoriten");
    Select({fav->Child(2)});
    SelectService("Musica Classica");
    Choose(arrange->MenuAddToBouquet, QStringLiteral("Radio"));
    ASSERT_EQ(Bouquet("Radio")->ChildCount(), 3u);
    const std::string before = win->Doc().SaveBouquets();
    win->SetModified(false);
    win->SetListsLocked(true);
    for (QAction* a : {arrange->MenuMoveUp, arrange->MenuSortByName, arrange->MenuRemoveDuplicates,
                       arrange->MenuAddToLastBouquet, arrange->PoolAddToLastBouquet})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    SelectService("Canale Uno");
    Key(VTS(*win), Qt::Key_Return);
    Pages(*win)->setCurrentWidget(Sheet(*win, "SheetBouquets"));
    Select({fav->Child(2)});
    Key(VTB(*win), Qt::Key_Up);
    arrange->MoveSelection(TMoveStep::ToTop);
    arrange->SortSelection(TSortKey::Reverse);
    arrange->RemoveDuplicates();
    arrange->AddServices({win->Doc().VTS.GetFirst()->Child(0)->Child(0)->Data()->Channel.get()}, fav);
    EXPECT_EQ(win->Doc().SaveBouquets(), before);
    EXPECT_FALSE(win->Modified());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    win->SetListsLocked(false);
    EXPECT_TRUE(arrange->MenuMoveUp->isEnabled());
    Key(VTB(*win), Qt::Key_Up);
    EXPECT_EQ(Captions(fav), QStringList({"Erstes Programm", "Canale Uno", "Nachrichten Süd"}));
}

} // namespace
