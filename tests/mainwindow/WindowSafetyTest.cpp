// The window acts only on what the user sees: folding by hand or by command
// leaves no hidden node selected, the info panels show exactly the
// selection, Del reaches only visible nodes. Also: a save never makes both
// list files one, the first status field shows its whole text, and a move
// into "andere" says which entries it cannot keep.
#include "WindowTestKit.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/PairPaths.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class WindowSafetyTest : public TWindowTest {
  protected:
    void SetUp() override {
        TWindowTest::SetUp();
        win->resize(700, 600);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(win.get()));
        // Shortcuts reach an active window only.
        QApplication::setActiveWindow(win.get());
        Open(kExamples + "/sat/bouquets.xml");
        ASSERT_NE(Root(), nullptr);
        dialogs.Messages.clear();
    }

    PBNode Bouquet(int i) const { return Root()->Child(static_cast<std::size_t>(i)); }

    // A left click on the row, as the user clicks it (it must be in sight).
    void Click(TListTreeView* view, const QModelIndex& index, Qt::KeyboardModifiers mods = {}) {
        ASSERT_TRUE(view->IsShown(index));
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, view->visualRect(index).center());
    }
    void Click(PBNode n, Qt::KeyboardModifiers mods = {}) {
        Click(VTB(*win), VTBModel(*win)->IndexOf(n), mods);
    }
    void Click(PSNode n) { Click(VTS(*win), VTSModel(*win)->IndexOf(n)); }

    // Every selected row of the view can be seen.
    static bool SelectionShown(TListTreeView* view) {
        for (const QModelIndex& i : view->selectionModel()->selectedRows())
            if (!view->IsShown(i))
                return false;
        return true;
    }
    QList<PBNode> SelectedRows() const {
        QList<PBNode> out;
        for (const QModelIndex& i : VTB(*win)->selectionModel()->selectedRows())
            out << VTBModel(*win)->NodeOf(i);
        return out;
    }
    bool Shows(QWidget* panel) const { return panel->isVisibleTo(panel->parentWidget()); }
};

// ---- no hidden node is ever selected ----------------------------------------------------

TEST_F(WindowSafetyTest, ShowingOnlyTheBouquetsLeavesTheEntrysBouquetSelected) {
    TBouquetInfo* b = BouquetRPanel(*win);
    // Every entry in turn: the whole structure, a click on the entry, then
    // only the bouquets. However the toolkit orders its collapse reports,
    // the entry's bouquet is what stays selected and shown.
    for (int bi = 0; bi < 3; ++bi)
        for (std::size_t ei = 0; ei < Bouquet(bi)->ChildCount(); ++ei) {
            Action(*win, "MenuExpandBouquets")->trigger();
            PBNode entry = Bouquet(bi)->Child(ei);
            if (!VTB(*win)->IsShown(VTBModel(*win)->IndexOf(entry)))
                continue; // filtered out (radio)
            Click(entry);
            ASSERT_EQ(win->SelectedBouquetNodes(), QList<PBNode>({entry}));
            ASSERT_TRUE(Shows(Find<TInfoPanel>(b, "BouquetCInfoPanel")));

            Action(*win, "MenuShowOnlyBouquets")->trigger();
            EXPECT_EQ(SelectedRows(), QList<PBNode>({Bouquet(bi)})) << bi << "/" << ei;
            EXPECT_TRUE(SelectionShown(VTB(*win)));
            EXPECT_FALSE(Shows(Find<TInfoPanel>(b, "BouquetCInfoPanel")));
            EXPECT_TRUE(Shows(Find<TInfoPanel>(b, "BouquetBInfoPanel")));
            EXPECT_EQ(Find<QLineEdit>(b, "EBBouquetName")->text(),
                      QString::fromStdString(Bouquet(bi)->Data()->Caption.Str()));
        }

    // Del now asks about the bouquet the user sees highlighted; declined,
    // every entry is still there.
    const std::size_t entries = Bouquet(2)->ChildCount();
    dialogs.Answers.push_back(TAnswer::No);
    QTest::keyClick(VTB(*win), Qt::Key_Delete);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].Text.startsWith("Wollen Sie die Auswahl wirklich löschen?"));
    EXPECT_EQ(Bouquet(2)->ChildCount(), entries);
}

TEST_F(WindowSafetyTest, FoldingByHandSelectsTheFoldedNodeOnce) {
    Action(*win, "MenuExpandBouquets")->trigger();
    // Two entries of "Favoriten" selected, then "Radio" folded and "Favoriten"
    // folded: each time the folded node alone.
    Click(Bouquet(0)->Child(0));
    Click(Bouquet(0)->Child(2), Qt::ControlModifier);
    ASSERT_EQ(win->SelectedBouquetNodes().size(), 2);
    VTB(*win)->collapse(VTBModel(*win)->IndexOf(Bouquet(1)));
    EXPECT_EQ(SelectedRows(), QList<PBNode>({Bouquet(1)}));
    Click(Bouquet(0)->Child(1));
    VTB(*win)->collapse(VTBModel(*win)->IndexOf(Bouquet(0)));
    EXPECT_EQ(SelectedRows(), QList<PBNode>({Bouquet(0)}));
    EXPECT_EQ(Find<QLineEdit>(BouquetRPanel(*win), "EBBouquetName")->text(), "Favoriten");

    // Folding the root with an entry selected deep down: the root.
    Action(*win, "MenuExpandBouquets")->trigger();
    Click(Bouquet(2)->Child(0));
    VTB(*win)->collapse(VTBModel(*win)->IndexOf(Root()));
    EXPECT_EQ(SelectedRows(), QList<PBNode>({Root()}));
    EXPECT_FALSE(Shows(Find<TInfoPanel>(BouquetRPanel(*win), "BouquetBInfoPanel")));
}

TEST_F(WindowSafetyTest, TheViewFilterKeepsWhatStaysInSightAndMovesUpFromWhatGoes) {
    TBouquetInfo* b = BouquetRPanel(*win);
    Action(*win, "MenuRadio")->trigger(); // radio entries shown
    VTB(*win)->expand(VTBModel(*win)->IndexOf(Bouquet(1)));
    PBNode welle = Bouquet(1)->Child(0);
    Click(welle);
    ASSERT_EQ(Find<QLineEdit>(b, "EBChannelName")->text(), "Welle Eins");

    // Radio off: the entry is folded away and filtered out; its bouquet
    // takes its place, in the panels too.
    Action(*win, "MenuRadio")->trigger();
    EXPECT_EQ(SelectedRows(), QList<PBNode>({Bouquet(1)}));
    EXPECT_FALSE(Shows(Find<TInfoPanel>(b, "BouquetCInfoPanel")));
    EXPECT_EQ(Find<QLineEdit>(b, "EBBouquetName")->text(), "Radio");

    // A bouquet that stays in sight stays selected through a toggle.
    Click(Bouquet(2));
    Action(*win, "BttnShowSpezial")->trigger();
    EXPECT_EQ(SelectedRows(), QList<PBNode>({Bouquet(2)}));
    EXPECT_EQ(Find<QLineEdit>(b, "EBBouquetName")->text(), "Kinder");

    // A selected entry the filter hides while its bouquet stays open (the
    // search or the user opened it): the filter folds all, so the bouquet.
    VTB(*win)->expand(VTBModel(*win)->IndexOf(Bouquet(0)));
    Click(Bouquet(0)->Child(1));
    Action(*win, "MenuTV")->trigger();
    EXPECT_EQ(SelectedRows(), QList<PBNode>({Bouquet(0)}));
    EXPECT_TRUE(SelectionShown(VTB(*win)));
}

TEST_F(WindowSafetyTest, ServicesShowOnlyTranspondersAfterTheWholeStructure) {
    TServicesInfo* p = ServicesRPanel(*win);
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetServices"));
    Action(*win, "MenuExpandServices")->trigger();
    PSNode sport = SRoot()->Child(0)->Child(1)->Child(2);
    Click(sport);
    ASSERT_TRUE(Shows(Find<TInfoPanel>(p, "ServicesSatInfoPanel3")));

    Action(*win, "MenuShowOnlyTransponder")->trigger();
    EXPECT_EQ(win->SelectedServiceNode(), sport->Parent());
    EXPECT_TRUE(SelectionShown(VTS(*win)));
    EXPECT_FALSE(Shows(Find<TInfoPanel>(p, "ServicesSatInfoPanel3")));
    EXPECT_TRUE(Shows(Find<TInfoPanel>(p, "ServicesSatInfoPanel2")));
    EXPECT_EQ(Find<QLabel>(p, "LSTrID")->text(), "0x0451");

    // The jump from an entry folds the services tree as well, and selects
    // only its hit.
    Action(*win, "MenuExpandServices")->trigger();
    Click(SRoot()->Child(1)->Child(0)->Child(1));
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetBouquets"));
    Action(*win, "MenuExpandBouquets")->trigger();
    Click(Bouquet(0)->Child(0));
    Find<QPushButton>(BouquetRPanel(*win), "BttnGotoService")->click();
    EXPECT_EQ(win->SelectedServiceNode(), SRoot()->Child(0)->Child(0)->Child(0));
    EXPECT_EQ(VTS(*win)->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(Find<QLabel>(p, "LSChName")->text(), "Erstes Programm");
}

TEST_F(WindowSafetyTest, PanelsShowNothingWhenNothingIsSelected) {
    TBouquetInfo* b = BouquetRPanel(*win);
    TServicesInfo* p = ServicesRPanel(*win);
    Action(*win, "MenuExpandBouquets")->trigger();
    Click(Bouquet(0)->Child(0));
    Action(*win, "MenuExpandServices")->trigger();
    Click(SRoot()->Child(0)->Child(0)->Child(0));
    ASSERT_TRUE(Shows(Find<TInfoPanel>(b, "BouquetCInfoPanel")));
    ASSERT_TRUE(Shows(Find<TInfoPanel>(p, "ServicesSatInfoPanel3")));

    // A new load empties both trees: the panels of the old lists go too, so
    // nothing typed there can reach the new ones.
    Open(kExamples + "/cable/bouquets.xml");
    EXPECT_TRUE(VTB(*win)->selectionModel()->selectedRows().isEmpty());
    for (QWidget* w : {static_cast<QWidget*>(Find<QFrame>(b, "BouquetAInfoPanel")),
                       static_cast<QWidget*>(Find<TInfoPanel>(b, "BouquetBInfoPanel")),
                       static_cast<QWidget*>(Find<TInfoPanel>(b, "BouquetCInfoPanel")),
                       static_cast<QWidget*>(Find<TInfoPanel>(p, "ServicesSatInfoPanel1")),
                       static_cast<QWidget*>(Find<TInfoPanel>(p, "ServicesSatInfoPanel2")),
                       static_cast<QWidget*>(Find<TInfoPanel>(p, "ServicesSatInfoPanel3"))})
        EXPECT_FALSE(Shows(w)) << w->objectName().toStdString();
    EXPECT_TRUE(Shows(Find<QLabel>(b, "BouquetInfoCaptionPanel")));

    // A deleted selection leaves the panels empty as well; Ctrl+click away
    // one of two selected bouquets shows the other.
    Click(Bouquet(0));
    Click(Bouquet(1), Qt::ControlModifier);
    Click(Bouquet(1), Qt::ControlModifier);
    EXPECT_EQ(Find<QLineEdit>(b, "EBBouquetName")->text(),
              QString::fromStdString(Bouquet(0)->Data()->Caption.Str()));
    QTest::keyClick(VTB(*win), Qt::Key_Delete);
    EXPECT_TRUE(VTB(*win)->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(Shows(Find<TInfoPanel>(b, "BouquetBInfoPanel")));
}

// ---- a save never makes both files one -----------------------------------------------------

TEST_F(WindowSafetyTest, SaveAsRefusesTheServicesFileAsBouquetsFile) {
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    win->SetModified(true);
    dialogs.Files.push_back(out + "/services.xml");
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);
    EXPECT_EQ(
        dialogs.Messages[0].Text,
        "Die Bouquetdatei darf nicht die Servicesdatei \"services.xml\" sein!\rSpeichern wird abgebrochen!");
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(win->Modified());

    // Typed without extension, the default one makes it the same name.
    dialogs.Messages.clear();
    dialogs.Files.push_back(out + "/services");
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());

    // Over an existing pair: refused before the overwrite question, and the
    // pair stays as it was.
    WriteAll(out + "/services.xml", "old services");
    WriteAll(out + "/bouquets.xml", "old bouquets");
    dialogs.Messages.clear();
    dialogs.Files.push_back(out + "/services.xml");
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);
    EXPECT_EQ(ReadAll(out + "/services.xml"), "old services");
    EXPECT_EQ(ReadAll(out + "/bouquets.xml"), "old bouquets");

    // Any other name is a save as before.
    dialogs.Files.push_back(out + "/liste.xml");
    Action(*win, "MenuSaveAs")->trigger();
    EXPECT_EQ(ReadAll(out + "/liste.xml").toStdString(), win->Doc().SaveBouquets());
    EXPECT_EQ(ReadAll(out + "/services.xml").toStdString(), win->Doc().SaveServices());
    EXPECT_FALSE(win->Modified());
}

TEST(PairPaths, NamesOneFileWhenTheSecondWriteWouldReplaceTheFirst) {
    QTemporaryDir dir;
    const QString d = dir.path();
    EXPECT_TRUE(NamesOneFile(d + "/services.xml", d + "/services.xml"));
    EXPECT_TRUE(NamesOneFile(d + "/x/../services.xml", d + "/services.xml"));
    EXPECT_FALSE(NamesOneFile(d + "/bouquets.xml", d + "/services.xml"));

    // Names differing in case: in an empty folder nothing tells whether the
    // file system keeps them apart, so they count as one.
    EXPECT_TRUE(NamesOneFile(d + "/Services.XML", d + "/services.xml"));
    // This folder keeps "Bouquets.xml" and "bouquets.xml" apart (probed with
    // an entry of its own), so "Services.xml" is a file of its own.
    WriteAll(d + "/Bouquets.xml", "b");
    const bool ignoresCase = QFile::exists(d + "/bouquets.xml");
    EXPECT_EQ(NamesOneFile(d + "/Services.xml", d + "/services.xml"), ignoresCase);
    // One spelling there, the other not: two files.
    WriteAll(d + "/services.xml", "s");
    EXPECT_EQ(NamesOneFile(d + "/SERVICES.xml", d + "/services.xml"), ignoresCase);
    // A link to the services file is that file.
    ASSERT_TRUE(QFile::link(d + "/services.xml", d + "/link.xml"));
    EXPECT_TRUE(NamesOneFile(d + "/link.xml", d + "/services.xml"));
}

// ---- the first status field shows its whole text -------------------------------------------

TEST_F(WindowSafetyTest, TheFirstStatusFieldGrowsWithItsTextAndCarriesItAsTooltip) {
    QLabel* s = StatPanel(*win, 0);
    const std::string longText = "FTP zur Box fehlgeschlagen! - Sicherungskopie fehlgeschlagen";
    win->SetStatus(longText);
    QApplication::processEvents();
    const QString text = QString::fromStdString(longText);
    EXPECT_EQ(s->text(), text);
    EXPECT_EQ(s->toolTip(), text);
    EXPECT_GT(s->width(), 150);
    EXPECT_GE(s->contentsRect().width(), s->fontMetrics().horizontalAdvance(text));
    EXPECT_EQ(StatPanel(*win, 1)->width(), 80);

    win->SetStatus("XML Struktur geladen");
    QApplication::processEvents();
    EXPECT_EQ(s->width(), 150);
    EXPECT_EQ(s->toolTip(), "XML Struktur geladen");
    // The field's own need does not widen the window beyond its minimum.
    EXPECT_LE(win->minimumSizeHint().width(), 550);
}

// ---- moves into "andere" say what they cannot keep ------------------------------------------

TEST_F(WindowSafetyTest, MovingUnkeepableEntriesIntoAndereAsksAndUndoBringsThemBack) {
    // A pair with a bouquet holding a special service, an entry without a
    // service and a TV service.
    const QString pair = dir.filePath("pair");
    QDir().mkpath(pair);
    QFile::copy(kExamples + "/sat/services.xml", pair + "/services.xml");
    WriteAll(pair + "/bouquets.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n"
                                     "\t<Bouquet name=\"Mix\" hidden=\"0\" locked=\"0\">\n"
                                     "\t\t<channel serviceID=\"2F1E\" name=\"Sport Live HD\" tsid=\"0451\" "
                                     "onid=\"0001\" sat_position=\"192\"/>\n"
                                     "\t\t<channel serviceID=\"7777\" name=\"Verschwunden\" tsid=\"0451\" "
                                     "onid=\"0001\" sat_position=\"192\"/>\n"
                                     "\t\t<channel serviceID=\"6D66\" name=\"Erstes Programm\" tsid=\"0401\" "
                                     "onid=\"0001\" sat_position=\"192\"/>\n"
                                     "\t</Bouquet>\n</XANTU>");
    win->Doc().ShowSpezial = true;
    Open(pair + "/bouquets.xml");
    dialogs.Messages.clear();
    PBNode mix = Bouquet(0), andere = Bouquet(1);
    const std::size_t andereBefore = andere->ChildCount();
    VTB(*win)->expand(VTBModel(*win)->IndexOf(mix));
    Click(mix->Child(0));
    Click(mix->Child(2), Qt::ShiftModifier);
    ASSERT_EQ(win->SelectedBouquetNodes().size(), 3);

    const QString question =
        "2 Einträge haben keinen TV- oder Radio-Service und werden entfernt. Fortfahren?";
    dialogs.Answers.push_back(TAnswer::No);
    emit VTB(*win)->NodesDropped(VTBModel(*win)->IndexOf(andere), TDropPosition::On, false);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Confirmation);
    EXPECT_EQ(dialogs.Messages[0].Text, question);
    EXPECT_EQ(mix->ChildCount(), 3u);
    EXPECT_FALSE(win->Modified());

    dialogs.Answers.push_back(TAnswer::Yes);
    emit VTB(*win)->NodesDropped(VTBModel(*win)->IndexOf(andere), TDropPosition::On, false);
    EXPECT_EQ(mix->ChildCount(), 0u);
    EXPECT_EQ(andere->ChildCount(), andereBefore + 1);
    EXPECT_EQ(andere->Child(0)->Data()->Caption, "Erstes Programm");
    EXPECT_TRUE(SelectionShown(VTB(*win)));

    // Undo (Ctrl+Z) puts all three back into "Mix".
    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(mix->ChildCount(), 3u);
    EXPECT_EQ(mix->Child(0)->Data()->Caption, "Sport Live HD");
    EXPECT_EQ(mix->Child(1)->Data()->Caption, "Verschwunden");
    EXPECT_EQ(andere->ChildCount(), andereBefore);
}

} // namespace
