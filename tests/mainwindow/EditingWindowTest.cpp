// Bouquet editing through the real main window, headless: drops arrive the
// way the bouquet view reports them, the menu items run the commands, and
// every box and the search dialog are answered by the test.
#include "WindowTestKit.h"
#include "editui/PanelCopyMove.h"
#include "editui/SuchenDlg.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/NodeTreeModel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

class EditingWindowTest : public TEditingWindowTest {};

const char* const kMoveIntoAndere = "Soll die Auswahl wirklich nach \"andere\" verschoben werden?\r"
                                    "Es werden dann die ursprünglichen Servicenamen zugewiesen!";
const char* const kCopyAndere =
    "\"andere\" darf beim Kopieren nicht in der Auswahl sein!\rDie Auswahl wird aufgehoben.";

TEST_F(EditingWindowTest, EntryDropsKeepTheSelectionsOrderAndFollowTheirBouquet) {
    ASSERT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    PBNode erstes = Entry("Favoriten", 0), nachrichten = Entry("Favoriten", 1);

    // Two entries above an entry of another bouquet: right before it, in
    // their order, and they now belong to that bouquet.
    Select({nachrichten, erstes});
    EXPECT_TRUE(Drop(Entry("Radio", 1), TDropPosition::Above));
    EXPECT_EQ(Captions(Bouquet("Radio")),
              QStringList({"Welle Eins", "Erstes Programm", "Nachrichten Süd", "Kultur Radio"}));
    EXPECT_EQ(Captions(Bouquet("Favoriten")), QStringList({"Canale Uno"}));
    EXPECT_EQ(erstes->Data()->Channel->Bouquet, Bouquet("Radio")->Data()->Bouquet.get());
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(StatPanel(*win, 1)->text(), "Geändert");

    // Below the last entry: after it, still in order.
    Select({erstes, nachrichten});
    EXPECT_TRUE(Drop(Entry("Radio", 3), TDropPosition::Below));
    EXPECT_EQ(Captions(Bouquet("Radio")),
              QStringList({"Welle Eins", "Kultur Radio", "Erstes Programm", "Nachrichten Süd"}));

    // On a bouquet, whatever the place: its first entries, in order.
    Select({erstes, nachrichten});
    EXPECT_TRUE(Drop(Bouquet("Kinder"), TDropPosition::Below));
    EXPECT_EQ(Captions(Bouquet("Kinder")),
              QStringList({"Erstes Programm", "Nachrichten Süd", "Kinder &amp; Familie"}));
    EXPECT_EQ(nachrichten->Data()->Channel->Bouquet, Bouquet("Kinder")->Data()->Bouquet.get());
    // Captions are list bytes: the entity stays as the file has it.
    // The panel shows the first dropped node.
    EXPECT_EQ(Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName")->text(), "Erstes Programm");

    // Dropped "on" an entry: after it. The copy key changes nothing; only
    // the panel's mode copies.
    Select({Entry("Favoriten", 0)});
    EXPECT_TRUE(Drop(Entry("Kinder", 0), TDropPosition::On, /*ctrl=*/true));
    EXPECT_EQ(Captions(Bouquet("Kinder")),
              QStringList({"Erstes Programm", "Canale Uno", "Nachrichten Süd", "Kinder &amp; Familie"}));
    EXPECT_TRUE(Bouquet("Favoriten")->ChildCount() == 0);

    // The acceptance table as the view asks it: a bouquet never lands on an
    // entry, nothing lands on the root or on the dragged node itself.
    Select({Bouquet("Radio")});
    EXPECT_FALSE(Drop(Entry("Kinder", 0), TDropPosition::Above));
    EXPECT_FALSE(Drop(Root(), TDropPosition::On));
    EXPECT_FALSE(Drop(Bouquet("Radio"), TDropPosition::On));
    EXPECT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<XANTU>\n"
        "\t<Bouquet name=\"Favoriten\" hidden=\"0\" locked=\"0\">\n"
        "\t</Bouquet>\n"
        "\t<Bouquet name=\"Radio\" hidden=\"0\" locked=\"0\">\n"
        "\t\t<channel serviceID=\"6D70\" name=\"Welle Eins\" tsid=\"0401\" onid=\"0001\" "
        "sat_position=\"192\"/>\n"
        "\t\t<channel serviceID=\"2F1C\" name=\"Kultur Radio\" tsid=\"0451\" onid=\"0001\" "
        "sat_position=\"192\"/>\n"
        "\t</Bouquet>\n"
        "\t<Bouquet name=\"Kinder\" hidden=\"0\" locked=\"1\">\n"
        "\t\t<channel serviceID=\"6D66\" name=\"Erstes Programm\" tsid=\"0401\" onid=\"0001\" "
        "sat_position=\"192\"/>\n"
        "\t\t<channel serviceID=\"1F40\" name=\"Canale Uno\" tsid=\"2DB4\" onid=\"013E\" "
        "sat_position=\"130\"/>\n"
        "\t\t<channel serviceID=\"6D68\" name=\"Nachrichten Süd\" tsid=\"0401\" onid=\"0001\" "
        "sat_position=\"192\"/>\n"
        "\t\t<channel serviceID=\"6D67\" name=\"Kinder &amp; Familie\" tsid=\"0401\" "
        "onid=\"0001\" sat_position=\"192\"/>\n"
        "\t</Bouquet>\n"
        "</XANTU>"; // "andere" is the editor's own: never written
    const QByteArray saved = Save();
    EXPECT_EQ(saved.toStdString(), expected.toStdString());
    EXPECT_FALSE(win->Modified());
}

// A drag that did not start in the tree (the service pool's rows) is
// refused as it enters, even with the tree's own data type.
TEST_F(EditingWindowTest, DragsFromOutsideTheTreeAreRefusedAsTheyEnter) {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kBouquetNodesMime), QByteArray());
    const QPoint at = VTB(*win)->visualRect(VTBModel(*win)->IndexOf(Entry("Kinder", 0))).center();
    QDragEnterEvent enter(at, Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(VTB(*win)->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(VTB(*win)->viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    delete mime;
}

TEST_F(EditingWindowTest, BouquetsAreReorderedNeverNested) {
    // Two bouquets above the first: at the top, in their order.
    Select({Bouquet("Radio"), Bouquet("Kinder")});
    EXPECT_TRUE(Drop(Bouquet("Favoriten"), TDropPosition::Above));
    EXPECT_EQ(Captions(Root()), QStringList({"Radio", "Kinder", "Favoriten", "andere"}));
    // On a bouquet: after it, not inside it.
    Select({Bouquet("Radio")});
    EXPECT_TRUE(Drop(Bouquet("Favoriten"), TDropPosition::On));
    EXPECT_EQ(Captions(Root()), QStringList({"Kinder", "Favoriten", "Radio", "andere"}));
    EXPECT_EQ(Captions(Bouquet("Radio")), QStringList({"Welle Eins", "Kultur Radio"}));
    // "andere" goes anywhere among the bouquets and stays reserved.
    Select({Bouquet("andere")});
    EXPECT_TRUE(Drop(Bouquet("Kinder"), TDropPosition::Below));
    EXPECT_EQ(Captions(Root()), QStringList({"Kinder", "andere", "Favoriten", "Radio"}));
    EXPECT_TRUE(Bouquet("andere")->Data()->Reserved);
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    const QByteArray saved = Save();
    const int kinder = saved.indexOf("name=\"Kinder\""), favoriten = saved.indexOf("name=\"Favoriten\""),
              radio = saved.indexOf("name=\"Radio\"");
    EXPECT_TRUE(kinder > 0 && kinder < favoriten && favoriten < radio) << saved.toStdString();
}

TEST_F(EditingWindowTest, CopyModeHoldsForOneDropAndCopiesStandAlone) {
    auto* panel = qobject_cast<TPanelCopyMove*>(PanelCopyMove(*win));
    ASSERT_NE(panel, nullptr);
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(panel->palette().color(QPalette::Window), face);

    // F5 toggles, twice back to move.
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(VTB(*win), Qt::Key_F5);
    EXPECT_EQ(panel->text(), "Kopieren");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::cyan));
    Action(*win, "MenuCopyMove")->trigger();
    EXPECT_EQ(panel->text(), "Verschieben");
    EXPECT_EQ(panel->palette().color(QPalette::Window), face);
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(panel->text(), "Kopieren");
    EXPECT_TRUE(editing->Editor.CopyMode());

    PBNode source = Entry("Favoriten", 2); // Canale Uno, 13.0E
    Select({source});
    EXPECT_TRUE(Drop(Bouquet("Kinder"), TDropPosition::Above));
    EXPECT_EQ(Captions(Bouquet("Favoriten")),
              QStringList({"Erstes Programm", "Nachrichten Süd", "Canale Uno"}));
    EXPECT_EQ(Captions(Bouquet("Kinder")), QStringList({"Canale Uno", "Kinder &amp; Familie"}));
    PBNode copy = Entry("Kinder", 0);
    EXPECT_NE(copy, source);
    EXPECT_NE(copy->Data()->Channel.get(), source->Data()->Channel.get());
    EXPECT_EQ(copy->Data()->Channel->Service, source->Data()->Channel->Service);
    EXPECT_EQ(copy->Data()->Channel->Bouquet, Bouquet("Kinder")->Data()->Bouquet.get());
    EXPECT_EQ(win->SelectedBouquetNodes(), QList<PBNode>({copy}));
    // Back to move after the drop.
    EXPECT_EQ(panel->text(), "Verschieben");
    EXPECT_FALSE(editing->Editor.CopyMode());

    // Renaming the copy leaves its source alone.
    Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName")->setFocus();
    QTest::keyClick(Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName"), Qt::Key_End);
    QTest::keyClicks(Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName"), "!");
    EXPECT_EQ(copy->Data()->Caption, "Canale Uno!");
    EXPECT_EQ(source->Data()->Caption, "Canale Uno");

    // A whole bouquet copied behind another: all its entries, under the copy.
    Action(*win, "MenuCopyMove")->trigger();
    Select({Bouquet("Radio")});
    EXPECT_TRUE(Drop(Bouquet("Kinder"), TDropPosition::Below));
    ASSERT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "Radio", "andere"}));
    PBNode radioCopy = Root()->Child(3);
    EXPECT_EQ(Captions(radioCopy), QStringList({"Welle Eins", "Kultur Radio"}));
    EXPECT_EQ(radioCopy->Child(0)->Data()->Channel->Bouquet, radioCopy->Data()->Bouquet.get());
    EXPECT_NE(radioCopy->Data()->Bouquet.get(), Root()->Child(1)->Data()->Bouquet.get());
    EXPECT_EQ(panel->text(), "Verschieben");

    const QByteArray saved = Save();
    EXPECT_EQ(saved.count("name=\"Radio\""), 2);
    EXPECT_EQ(saved.count("name=\"Welle Eins\""), 2);
    EXPECT_TRUE(saved.contains("\t<Bouquet name=\"Kinder\" hidden=\"0\" locked=\"1\">\n"
                               "\t\t<channel serviceID=\"1F40\" name=\"Canale Uno!\" tsid=\"2DB4\" "
                               "onid=\"013E\" sat_position=\"130\"/>\n"))
        << saved.toStdString();
}

TEST_F(EditingWindowTest, AndereAsksOnceRefusesMixedCopiesAndKeepsItsOrder) {
    Action(*win, "MenuRadio")->trigger(); // the radio entries in sight
    PBNode andere = Bouquet("andere");
    const QStringList andereBefore = Captions(andere);
    ASSERT_EQ(andereBefore, QStringList({"Musica Classica"}));

    // Renamed, then moved with its neighbour onto an entry of "andere": one
    // question for the whole drop; both take their services' names.
    PBNode welle = Entry("Radio", 0), kultur = Entry("Radio", 1);
    Select({welle});
    QTest::keyClick(Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName"), Qt::Key_End);
    QTest::keyClicks(Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName"), " 2");
    ASSERT_EQ(welle->Data()->Caption, "Welle Eins 2");

    // Answered No first: nothing moves, but the drop still counts as an edit.
    const QByteArray before = Save();
    Select({welle, kultur});
    dialogs.Answers.push_back(TAnswer::No);
    EXPECT_TRUE(Drop(andere->Child(0), TDropPosition::Below));
    EXPECT_EQ(MessageTexts(), QStringList({kMoveIntoAndere}));
    EXPECT_EQ(Captions(Bouquet("Radio")), QStringList({"Welle Eins 2", "Kultur Radio"}));
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(Save(), before);

    dialogs.Messages.clear();
    Select({welle, kultur});
    EXPECT_TRUE(Drop(andere->Child(0), TDropPosition::Below));
    EXPECT_EQ(MessageTexts(), QStringList({kMoveIntoAndere}));
    EXPECT_EQ(Captions(andere).mid(0, 3), QStringList({andereBefore[0], "Welle Eins", "Kultur Radio"}));
    EXPECT_TRUE(welle->Data()->Reserved && kultur->Data()->Reserved);
    EXPECT_EQ(welle->Data()->Channel->Name, "Welle Eins");

    // Reordering inside "andere" is refused silently.
    dialogs.Messages.clear();
    const QStringList inside = Captions(andere);
    Select({welle});
    Drop(andere->Child(0), TDropPosition::Above);
    EXPECT_EQ(Captions(andere), inside);
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // Copy mode refuses a single entry of "andere" as the drag starts, and
    // clears the selection.
    Action(*win, "MenuCopyMove")->trigger();
    Select({welle});
    ASSERT_TRUE(bool(VTB(*win)->MayStartDrag));
    EXPECT_FALSE(VTB(*win)->MayStartDrag());
    EXPECT_EQ(MessageTexts(), QStringList({kCopyAndere}));
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);
    EXPECT_TRUE(win->SelectedBouquetNodes().isEmpty());
    // A drop that arrives anyway changes nothing.
    Select({welle});
    Drop(Bouquet("Kinder"), TDropPosition::On);
    EXPECT_EQ(Captions(Bouquet("Kinder")), QStringList({"Kinder &amp; Familie"}));

    // Two entries of "andere" in copy mode pass, and are moved out, not
    // copied, without a question; they become ordinary entries.
    dialogs.Messages.clear();
    Select({welle, kultur});
    EXPECT_TRUE(VTB(*win)->MayStartDrag());
    EXPECT_TRUE(Drop(Bouquet("Kinder"), TDropPosition::On));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(Captions(Bouquet("Kinder")),
              QStringList({"Welle Eins", "Kultur Radio", "Kinder &amp; Familie"}));
    EXPECT_EQ(Captions(andere), andereBefore);
    EXPECT_FALSE(welle->Data()->Reserved || kultur->Data()->Reserved);
    EXPECT_EQ(PanelCopyMove(*win)->text(), "Verschieben");

    // Onto the "andere" node itself: no question.
    Select({Entry("Favoriten", 0)});
    EXPECT_TRUE(Drop(andere, TDropPosition::Above));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(andere->Child(0)->Data()->Caption, "Erstes Programm");
    EXPECT_TRUE(andere->Child(0)->Data()->Reserved);
}

TEST_F(EditingWindowTest, UndoAndRedoItemsFollowTheHistory) {
    QAction* undo = editing->MenuUndo;
    QAction* redo = editing->MenuRedo;
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), "&Rückgängig");
    EXPECT_EQ(redo->text(), "&Wiederholen");
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    // The last two items of "&Bearbeiten".
    const QList<QAction*> items = win->findChild<QMenu*>("MenuBearbeiten")->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[items.size() - 2], undo);
    EXPECT_EQ(items.last(), redo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    const QByteArray loaded = Save();
    Select({Bouquet("Kinder")});
    Drop(Bouquet("Favoriten"), TDropPosition::Above);
    Select({Entry("Radio", 1)});
    Drop(Bouquet("Favoriten"), TDropPosition::On);
    Action(*win, "MenuNewBouquet")->trigger();
    Select({Entry("Favoriten", 0)});
    Action(*win, "MenuDeleteSelection")->trigger();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    const QByteArray edited = Save();
    EXPECT_FALSE(win->Modified());

    // Undoing sets Modified: the lists differ from the saved file again.
    undo->trigger();
    EXPECT_TRUE(win->Modified());
    EXPECT_TRUE(redo->isEnabled());
    for (int i = 0; i < 3; ++i)
        undo->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(Save(), loaded);
    for (int i = 0; i < 4; ++i)
        redo->trigger();
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(Save(), edited);

    // A new edit drops what could be redone; a load forgets everything.
    undo->trigger();
    Action(*win, "MenuNewBouquet")->trigger();
    EXPECT_FALSE(redo->isEnabled());
    dialogs.Files.push_back(kExamples + "/sat/bouquets.xml");
    Action(*win, "MenuOpen")->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(EditingWindowTest, DeletionAsksRefusesAndleavesTheChangeMarked) {
    const QString question = "Wollen Sie die Auswahl wirklich löschen?\r\r"
                             "Die einzelnen Channel befinden sich dann unter\r"
                             "ihrem ursprünglichen Servicenamen in \"andere\".\r\r"
                             "Bouquetnamen gehen verloren!";
    Action(*win, "MenuRadio")->trigger(); // "Musica Classica" in sight
    Select({Bouquet("andere")->Child(0)});
    Action(*win, "MenuDeleteSelection")->trigger();
    EXPECT_EQ(MessageTexts(),
              QStringList({"Die Auswahl zum Löschen enthält \"andere\"!\rDas ist nicht erlaubt!"}));
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);

    dialogs.Messages.clear();
    Select({Bouquet("Radio")});
    dialogs.Answers.push_back(TAnswer::No);
    Action(*win, "MenuDeleteSelection")->trigger();
    EXPECT_EQ(MessageTexts(), QStringList({question}));
    EXPECT_NE(Bouquet("Radio"), nullptr);
    EXPECT_FALSE(win->Modified());

    // Del in the tree; the radio services go to the end of "andere".
    const int andereCount = int(Bouquet("andere")->ChildCount());
    Select({Bouquet("Radio")});
    QTest::keyClick(VTB(*win), Qt::Key_Delete);
    EXPECT_EQ(Bouquet("Radio"), nullptr);
    const QStringList andere = Captions(Bouquet("andere"));
    EXPECT_EQ(andere.size(), andereCount + 2);
    EXPECT_EQ(andere.mid(andereCount), QStringList({"Welle Eins", "Kultur Radio"}));
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(StatPanel(*win, 1)->text(), "Geändert");

    // Not on the services page.
    dialogs.Messages.clear();
    Select({Bouquet("Kinder")});
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetServices"));
    Action(*win, "MenuDeleteSelection")->trigger();
    EXPECT_NE(Bouquet("Kinder"), nullptr);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

} // namespace
