// Bouquet editing through the real main window, headless: drops arrive the
// way the bouquet view reports them, the menu items run the commands, and
// every box and the search dialog are answered by the test.
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

// Readable failures.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
void PrintTo(const QByteArray& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the search dialog is to be answered with: the target clicked, the
// text typed, the options ticked, then OK (or Cancel).
struct TSearchAnswer {
    int Target = SearchNames;
    QString Text;
    bool CaseSensitive = false;
    bool FullMatch = false;
    bool Cancel = false;
};

class EditingWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TMainOptions options;
        options.IniFileName = dir.filePath("Settings.ini");
        win = std::make_unique<TMain>(dialogs, options);
        win->show();
        editing = EditingOf(*win);
        ASSERT_NE(editing, nullptr);
        editing->ExecSearchDialog = [this](TSuchenDlg& dlg) {
            shownDialogs.append(QStringList{dlg.CBTargetItem[dlg.Target()]->text(), dlg.EText->text()});
            if (searchAnswers.empty())
                return int(QDialog::Rejected);
            const TSearchAnswer a = searchAnswers.front();
            searchAnswers.pop_front();
            if (a.Cancel)
                return int(QDialog::Rejected);
            dlg.CBTargetItem[a.Target]->click();
            dlg.EText->setText(a.Text);
            dlg.CBCase->setChecked(a.CaseSensitive);
            dlg.CBFullEqual->setChecked(a.FullMatch);
            dlg.BttnOk->click();
            return dlg.result();
        };
        dialogs.Files.push_back(kExamples + "/sat/bouquets.xml");
        win->MenuOpen->trigger();
        ASSERT_NE(Root(), nullptr);
        dialogs.Messages.clear();
    }

    PBNode Root() const { return win->Doc().VTB.GetFirst(); }
    PBNode Bouquet(const char* caption) const {
        for (std::size_t i = 0; i < Root()->ChildCount(); ++i)
            if (Root()->Child(i)->Data()->Caption == caption)
                return Root()->Child(i);
        return nullptr;
    }
    PBNode Entry(const char* bouquet, std::size_t i) const { return Bouquet(bouquet)->Child(i); }

    // The captions below `node`, in order.
    static QStringList Captions(PBNode node) {
        QStringList out;
        for (std::size_t i = 0; i < node->ChildCount(); ++i)
            out << QString::fromStdString(node->Child(i)->Data()->Caption);
        return out;
    }

    void Select(std::initializer_list<PBNode> nodes) {
        QItemSelectionModel* sel = win->VTB->selectionModel();
        bool first = true;
        for (PBNode n : nodes) {
            const QModelIndex i = win->VTBModel->IndexOf(n);
            win->VTB->scrollTo(i); // the user opens the bouquet to click the entry
            sel->setCurrentIndex(i,
                                 first ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select);
            first = false;
        }
    }

    // A drop as the bouquet view reports it. Returns whether the view would
    // have let it land there at all.
    bool Drop(PBNode target, TDropPosition pos, bool ctrl = false) {
        const QModelIndex index = win->VTBModel->IndexOf(target);
        const bool accepted = !win->VTB->MayDropOn || win->VTB->MayDropOn(index);
        emit win->VTB->NodesDropped(index, pos, ctrl);
        return accepted;
    }

    QByteArray Save() {
        const QString path = dir.filePath(QStringLiteral("out%1/bouquets.xml").arg(++saves));
        QDir().mkpath(QFileInfo(path).path());
        dialogs.Files.push_back(path);
        win->MenuSaveAs->trigger();
        return ReadAll(path);
    }

    QStringList MessageTexts() const {
        QStringList t;
        for (const auto& m : dialogs.Messages)
            t << m.Text;
        return t;
    }

    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TMain> win;
    TMainEditing* editing = nullptr;
    std::deque<TSearchAnswer> searchAnswers;
    QList<QStringList> shownDialogs;
    int saves = 0;
};

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
    EXPECT_EQ(win->StatPanel[1]->text(), "Geändert");

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
    EXPECT_EQ(win->BouquetRPanel->EBChannelName->text(), "Erstes Programm");

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

    // A drag that did not start in the tree (the service pool's rows) is
    // refused as it enters, even with the tree's own data type.
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kBouquetNodesMime), QByteArray());
    const QPoint at = win->VTB->visualRect(win->VTBModel->IndexOf(Entry("Kinder", 0))).center();
    QDragEnterEvent enter(at, Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(win->VTB->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(win->VTB->viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_EQ(Captions(Root()), QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    delete mime;

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
    auto* panel = qobject_cast<TPanelCopyMove*>(win->PanelCopyMove);
    ASSERT_NE(panel, nullptr);
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(panel->palette().color(QPalette::Window), face);

    // F5 toggles, twice back to move.
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(win->VTB, Qt::Key_F5);
    EXPECT_EQ(panel->text(), "Kopieren");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::cyan));
    win->MenuCopyMove->trigger();
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
    win->BouquetRPanel->EBChannelName->setFocus();
    QTest::keyClick(win->BouquetRPanel->EBChannelName, Qt::Key_End);
    QTest::keyClicks(win->BouquetRPanel->EBChannelName, "!");
    EXPECT_EQ(copy->Data()->Caption, "Canale Uno!");
    EXPECT_EQ(source->Data()->Caption, "Canale Uno");

    // A whole bouquet copied behind another: all its entries, under the copy.
    win->MenuCopyMove->trigger();
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
    win->MenuRadio->trigger(); // the radio entries in sight
    PBNode andere = Bouquet("andere");
    const QStringList andereBefore = Captions(andere);
    ASSERT_EQ(andereBefore, QStringList({"Musica Classica"}));

    // Renamed, then moved with its neighbour onto an entry of "andere": one
    // question for the whole drop; both take their services' names.
    PBNode welle = Entry("Radio", 0), kultur = Entry("Radio", 1);
    Select({welle});
    QTest::keyClick(win->BouquetRPanel->EBChannelName, Qt::Key_End);
    QTest::keyClicks(win->BouquetRPanel->EBChannelName, " 2");
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
    win->MenuCopyMove->trigger();
    Select({welle});
    ASSERT_TRUE(bool(win->VTB->MayStartDrag));
    EXPECT_FALSE(win->VTB->MayStartDrag());
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
    EXPECT_TRUE(win->VTB->MayStartDrag());
    EXPECT_TRUE(Drop(Bouquet("Kinder"), TDropPosition::On));
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(Captions(Bouquet("Kinder")),
              QStringList({"Welle Eins", "Kultur Radio", "Kinder &amp; Familie"}));
    EXPECT_EQ(Captions(andere), andereBefore);
    EXPECT_FALSE(welle->Data()->Reserved || kultur->Data()->Reserved);
    EXPECT_EQ(win->PanelCopyMove->text(), "Verschieben");

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
    win->MenuNewBouquet->trigger();
    Select({Entry("Favoriten", 0)});
    win->MenuDeleteSelection->trigger();
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
    win->MenuNewBouquet->trigger();
    EXPECT_FALSE(redo->isEnabled());
    dialogs.Files.push_back(kExamples + "/sat/bouquets.xml");
    win->MenuOpen->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
}

TEST_F(EditingWindowTest, DeletionAsksRefusesAndleavesTheChangeMarked) {
    const QString question = "Wollen Sie die Auswahl wirklich löschen?\r\r"
                             "Die einzelnen Channel befinden sich dann unter\r"
                             "ihrem ursprünglichen Servicenamen in \"andere\".\r\r"
                             "Bouquetnamen gehen verloren!";
    win->MenuRadio->trigger(); // "Musica Classica" in sight
    Select({Bouquet("andere")->Child(0)});
    win->MenuDeleteSelection->trigger();
    EXPECT_EQ(MessageTexts(),
              QStringList({"Die Auswahl zum Löschen enthält \"andere\"!\rDas ist nicht erlaubt!"}));
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);

    dialogs.Messages.clear();
    Select({Bouquet("Radio")});
    dialogs.Answers.push_back(TAnswer::No);
    win->MenuDeleteSelection->trigger();
    EXPECT_EQ(MessageTexts(), QStringList({question}));
    EXPECT_NE(Bouquet("Radio"), nullptr);
    EXPECT_FALSE(win->Modified());

    // Del in the tree; the radio services go to the end of "andere".
    const int andereCount = int(Bouquet("andere")->ChildCount());
    Select({Bouquet("Radio")});
    QTest::keyClick(win->VTB, Qt::Key_Delete);
    EXPECT_EQ(Bouquet("Radio"), nullptr);
    const QStringList andere = Captions(Bouquet("andere"));
    EXPECT_EQ(andere.size(), andereCount + 2);
    EXPECT_EQ(andere.mid(andereCount), QStringList({"Welle Eins", "Kultur Radio"}));
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(win->StatPanel[1]->text(), "Geändert");

    // Not on the services page.
    dialogs.Messages.clear();
    Select({Bouquet("Kinder")});
    win->Pages->setCurrentWidget(win->SheetServices);
    win->MenuDeleteSelection->trigger();
    EXPECT_NE(Bouquet("Kinder"), nullptr);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(EditingWindowTest, SearchRunsThroughTheDialogAndGoesOnWithF4) {
    // Names, no options: the root first, F4 then goes on.
    searchAnswers.push_back({SearchNames, "bou"});
    win->MenuSuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Root());
    win->MenuWeitersuchen->trigger();
    EXPECT_EQ(MessageTexts(), QStringList({"Der Suchstring wurde nicht gefunden!"}));
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Root());
    dialogs.Messages.clear();

    // An umlaut, case folded, and a name with an entity as the user sees it.
    searchAnswers.push_back({SearchNames, "süd"});
    win->MenuSuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Entry("Favoriten", 1));
    searchAnswers.push_back({SearchNames, "kinder & familie", false, true});
    win->MenuSuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Entry("Kinder", 0));

    // The dialog opens with the last parameters.
    EXPECT_EQ(shownDialogs.last(), QStringList({"Bouquet- und Channelnamen", "süd"}));

    // A service id hidden by the view filter (radio is not shown): found,
    // and made visible with its bouquet open.
    PBNode kultur = Entry("Radio", 1);
    searchAnswers.push_back({SearchServiceId, "2f1c"});
    win->MenuSuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), kultur);
    const QModelIndex radio = win->VTBModel->IndexOf(Bouquet("Radio"));
    EXPECT_FALSE(win->VTB->isRowHidden(int(kultur->Index()), radio));
    EXPECT_TRUE(win->VTB->isExpanded(radio));
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // The network id 0001 goes on through the tree with F4, up to the end.
    searchAnswers.push_back({SearchOnId, "1"});
    win->MenuSuchen->trigger();
    QList<PBNode> hits{win->FirstSelectedBouquetNode()};
    for (int i = 0; i < 10 && dialogs.Messages.isEmpty(); ++i) {
        win->MenuWeitersuchen->trigger();
        if (dialogs.Messages.isEmpty())
            hits << win->FirstSelectedBouquetNode();
    }
    EXPECT_EQ(hits, QList<PBNode>({Entry("Favoriten", 0), Entry("Favoriten", 1), Entry("Radio", 0),
                                   Entry("Radio", 1), Entry("Kinder", 0)}));
    ASSERT_EQ(MessageTexts(), QStringList({"Der Suchstring wurde nicht gefunden!"}));
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);
    // Off the end: F4 stays silent until the next F3.
    win->MenuWeitersuchen->trigger();
    EXPECT_EQ(dialogs.Messages.size(), 1);

    // Cancel keeps the last search; F4 on the services page does nothing.
    searchAnswers.push_back({SearchNames, "Radio"});
    win->MenuSuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Bouquet("Radio"));
    searchAnswers.push_back({SearchNames, "x", false, false, /*Cancel=*/true});
    win->MenuSuchen->trigger();
    win->Pages->setCurrentWidget(win->SheetServices);
    win->MenuWeitersuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Bouquet("Radio"));
    win->Pages->setCurrentWidget(win->SheetBouquets);
    win->MenuWeitersuchen->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Entry("Radio", 1)); // "Kultur Radio"
}

TEST_F(EditingWindowTest, SearchRefusalsAndAPositionThatWasDeleted) {
    // The empty text: a confirmation with OK alone; the dialog stays open
    // (the test then closes it with Cancel).
    searchAnswers.push_back({SearchNames, ""});
    win->MenuSuchen->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "Der Suchstring darf nicht leer bleiben!");
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Confirmation);
    EXPECT_EQ(dialogs.Messages[0].Buttons, TButtons::OkOnly);
    searchAnswers.push_back({SearchServiceId, "0x6D"});
    win->MenuSuchen->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.Messages[1].Buttons, TButtons::OfKind);

    // The hit's successor is deleted: F4 says nothing and selects nothing.
    dialogs.Messages.clear();
    searchAnswers.push_back({SearchNames, "Nachrichten"});
    win->MenuSuchen->trigger();
    ASSERT_EQ(win->FirstSelectedBouquetNode(), Entry("Favoriten", 1));
    Select({Bouquet("Favoriten")});
    win->MenuDeleteSelection->trigger(); // answered Yes
    EXPECT_EQ(MessageTexts().size(), 1);
    Select({Bouquet("Kinder")});
    win->MenuWeitersuchen->trigger();
    EXPECT_EQ(MessageTexts().size(), 1);
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Bouquet("Kinder"));

    // The same after a load.
    searchAnswers.push_back({SearchNames, "Radio"});
    win->MenuSuchen->trigger();
    dialogs.Answers.push_back(TAnswer::Yes); // lose the changes
    dialogs.Files.push_back(kExamples + "/sat/bouquets.xml");
    win->MenuOpen->trigger();
    dialogs.Messages.clear();
    win->MenuWeitersuchen->trigger();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_TRUE(win->SelectedBouquetNodes().isEmpty());
}

} // namespace
