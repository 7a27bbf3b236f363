// The real main window, headless: every box and file dialog is answered by
// TScriptedDialogs.
#include "WindowTestKit.h"
#include "core/FileIO.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/SatPosList.h"
#include "settings/IniFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

using namespace xantu;

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

void CopyPair(const QString& from, const QString& to) {
    for (const char* name : {"bouquets.xml", "services.xml"})
        QFile::copy(from + "/" + name, to + "/" + name);
}

class MainWindowTest : public TWindowTest {
  protected:
    void Select(PBNode n) { win->SelectBouquetNode(n); }
    // Hidden rows are set when their branch opens.
    bool RowHidden(PBNode n) const {
        VTB(*win)->expand(VTBModel(*win)->IndexOf(n->Parent()));
        return VTB(*win)->isRowHidden(static_cast<int>(n->Index()), VTBModel(*win)->IndexOf(n->Parent()));
    }
};

TEST_F(MainWindowTest, FrameHasItsMenusToolBarAndDefaults) {
    EXPECT_EQ(win->windowTitle(), "XantuEditor");
    EXPECT_EQ(win->minimumSize(), QSize(550, 457));
    QStringList menus;
    for (QAction* a : win->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&Anwendung", "&FTP", "&Bearbeiten", "An&sicht", "&Info"}));
    QStringList view;
    for (QAction* a : win->menuBar()->actions()[3]->menu()->actions())
        view << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(view, QStringList({"&TV", "&Radio", "&Spezielle Dienste", "-", "Service&pool",
                                 "Satellitenpositionsliste"}));
    EXPECT_FALSE(Action(*win, "MenuSatPosList")->isVisible());
    EXPECT_EQ(Action(*win, "MenuSuchen")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(Action(*win, "MenuWeitersuchen")->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(Action(*win, "MenuServicepool")->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(Action(*win, "MenuCopyMove")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(Action(*win, "MenuNewBouquet2")->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(Action(*win, "MenuDeleteSelection2")->shortcut(), QKeySequence(Qt::Key_Delete));

    QStringList hints;
    for (QAction* a : Find<QToolBar>(win.get(), "ToolBar")->actions())
        if (!a->isSeparator())
            hints << a->toolTip();
    EXPECT_EQ(hints, QStringList({"Beenden", "Öffnen ...", "Speichern unter ...", "Bouquet von der Box laden",
                                  "Bouquet zur Box übertragen", "TV anzeigen", "Radio anzeigen",
                                  "Spezielle Dienste anzeigen", "Servicepool", "Neues Bouquet anlegen",
                                  "Auswahl löschen", "Info"}));
    // First run: only TV shown; the settings fields have their defaults.
    EXPECT_TRUE(Action(*win, "MenuTV")->isChecked());
    EXPECT_TRUE(Action(*win, "BttnShowTV")->isChecked());
    EXPECT_FALSE(Action(*win, "BttnShowRadio")->isChecked());
    EXPECT_FALSE(Action(*win, "MenuSpezial")->isChecked());
    EXPECT_EQ(win->BoxSettings().BoxUser, "root");
    EXPECT_EQ(win->BoxSettings().BoxPass, "qvex5");
    EXPECT_EQ(win->BoxSettings().BoxBouqDir, "/var/pelmar/config/xantu");
    EXPECT_TRUE(win->Doc().Info_ChannelWithoutService);
    EXPECT_EQ(win->InfoColumnWidth(), 220);

    EXPECT_EQ(Pages(*win)->currentWidget(), Find<QWidget>(win.get(), "SheetBouquets"));
    EXPECT_EQ(Pages(*win)->tabText(0), "&Bouquets");
    EXPECT_EQ(Pages(*win)->tabText(1), "&Services");
    EXPECT_EQ(PanelCopyMove(*win)->text(), "Verschieben");
    EXPECT_EQ(Find<QLabel>(ServicesRPanel(*win), "LSrvGesamt")->text(), "0");
    EXPECT_EQ(StatPanel(*win, 0)->width(), 150);
    EXPECT_EQ(StatPanel(*win, 1)->width(), 80);
    EXPECT_EQ(StatPanel(*win, 2)->width(), 50);
    EXPECT_TRUE(Status(1).isEmpty());
    EXPECT_TRUE(dialogs.Messages.isEmpty()); // satpositionen.xml found beside the program
}

TEST_F(MainWindowTest, OpensASatellitePairWithTreesCountersAndFilter) {
    Open(kExamples + "/sat/bouquets.xml");
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Sat-Box]");
    EXPECT_EQ(Status(0), "XML Struktur geladen");
    EXPECT_TRUE(Status(1).isEmpty());
    EXPECT_TRUE(Action(*win, "MenuSatPosList")->isVisible());
    EXPECT_EQ(win->LocalPath(), kExamples + "/sat/");
    const auto& fd = dialogs.FileDialogs.last();
    EXPECT_EQ(fd.Title, "Bouquet und Services öffnen ...");
    EXPECT_EQ(fd.FileName, "bouquets");
    EXPECT_TRUE(fd.MustExist);
    // The satellite without a position took it from the list.
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].Text.startsWith("\"Hotbird 13.0E\" verfügt über keine Position"));

    EXPECT_EQ(Find<QLabel>(ServicesRPanel(*win), "LSrvGesamt")->text(), "9");
    EXPECT_EQ(Find<QLabel>(ServicesRPanel(*win), "LSrvTV")->text(), "4");
    EXPECT_EQ(Find<QLabel>(ServicesRPanel(*win), "LSrvRadio")->text(), "3");

    // Bouquet tree: root open, bouquets closed, entity shown as its character.
    QAbstractItemModel* m = VTB(*win)->model();
    const QModelIndex root = m->index(0, 0);
    EXPECT_EQ(root.data().toString(), "Bouquets");
    EXPECT_TRUE(VTB(*win)->isExpanded(root));
    QStringList bouquets;
    for (int r = 0; r < m->rowCount(root); ++r) {
        bouquets << m->index(r, 0, root).data().toString();
        EXPECT_FALSE(VTB(*win)->isExpanded(m->index(r, 0, root)));
    }
    EXPECT_EQ(bouquets, QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    EXPECT_EQ(m->index(0, 0, m->index(2, 0, root)).data().toString(), "Kinder & Familie");
    EXPECT_EQ(m->index(1, 0, m->index(0, 0, root)).data().toString(), "Nachrichten Süd");

    // Only TV shows: the radio entries are hidden, the TV ones not.
    EXPECT_TRUE(RowHidden(BouquetNode({1, 0})));
    EXPECT_FALSE(RowHidden(BouquetNode({0, 0})));
    Action(*win, "MenuRadio")->trigger();
    EXPECT_TRUE(Action(*win, "BttnShowRadio")->isChecked());
    EXPECT_FALSE(RowHidden(BouquetNode({1, 0})));
    Action(*win, "BttnShowTV")->trigger();
    EXPECT_FALSE(Action(*win, "MenuTV")->isChecked());
    EXPECT_TRUE(RowHidden(BouquetNode({0, 0})));
    EXPECT_TRUE(Status(1).isEmpty()); // filtering is no change

    // Services tree: root open, satellites closed.
    QAbstractItemModel* s = VTS(*win)->model();
    EXPECT_EQ(s->index(0, 0).data().toString(), "Services");
    EXPECT_TRUE(VTS(*win)->isExpanded(s->index(0, 0)));
    EXPECT_FALSE(VTS(*win)->isExpanded(s->index(0, 0, s->index(0, 0))));
}

TEST_F(MainWindowTest, InfoPanelsFollowTheSelection) {
    Open(kExamples + "/sat/bouquets.xml");
    TBouquetInfo* b = BouquetRPanel(*win);
    Select(BouquetNode({2, 0})); // "Kinder & Familie" in the locked bouquet "Kinder"
    EXPECT_TRUE(Find<TInfoPanel>(b, "BouquetBInfoPanel")->isVisibleTo(b));
    EXPECT_TRUE(Find<TInfoPanel>(b, "BouquetCInfoPanel")->isVisibleTo(b));
    EXPECT_FALSE(Find<QFrame>(b, "BouquetAInfoPanel")->isVisibleTo(b));
    EXPECT_EQ(Find<QLineEdit>(b, "EBBouquetName")->text(), "Kinder");
    EXPECT_TRUE(Find<QCheckBox>(b, "EBBouquetLocked")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(b, "EBBouquetHidden")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(b, "EBChannelName")->text(), "Kinder & Familie");
    EXPECT_TRUE(Find<QLineEdit>(b, "EBChannelName")->isEnabled());
    EXPECT_EQ(Find<QLabel>(b, "LBChannelOnID")->text(), "0x0001");
    EXPECT_EQ(Find<QLabel>(b, "LBChannelTsID")->text(), "0x0401");
    EXPECT_EQ(Find<QLabel>(b, "LBChannelServiceID")->text(), "0x6D67");
    EXPECT_TRUE(Find<QLabel>(b, "LBChannelSatPosition")->isVisibleTo(b));
    EXPECT_EQ(Find<QLabel>(b, "LBChannelSatPosition")->text(), "192");
    EXPECT_TRUE(StatPanel(*win, 1)->text().isEmpty()); // showing is no edit

    Select(BouquetNode({3, 0})); // an entry of "andere"
    EXPECT_TRUE(Find<QFrame>(b, "BouquetAInfoPanel")->isVisibleTo(b));
    EXPECT_FALSE(Find<TInfoPanel>(b, "BouquetBInfoPanel")->isVisibleTo(b));
    EXPECT_FALSE(Find<QLineEdit>(b, "EBChannelName")->isEnabled());
    Select(BouquetNode({}));
    EXPECT_FALSE(Find<QFrame>(b, "BouquetAInfoPanel")->isVisibleTo(b));
    EXPECT_FALSE(Find<TInfoPanel>(b, "BouquetBInfoPanel")->isVisibleTo(b));
    EXPECT_FALSE(Find<TInfoPanel>(b, "BouquetCInfoPanel")->isVisibleTo(b));

    // Services page: a channel shows all three panels in their formats.
    TServicesInfo* p = ServicesRPanel(*win);
    PSNode sat = win->Doc().VTS.GetFirst()->Child(0);
    PSNode special = sat->Child(1)->Child(2); // "Sport Live HD", type 0x19
    VTS(*win)->setCurrentIndex(VTSModel(*win)->IndexOf(special));
    EXPECT_TRUE(Find<TInfoPanel>(p, "ServicesSatInfoPanel3")->isVisibleTo(p));
    EXPECT_EQ(Find<QLabel>(p, "LSChServiceType")->text(), "0x19");
    EXPECT_EQ(Find<QLabel>(p, "LSChServiceID")->text(), "0x2F1E");
    EXPECT_EQ(Find<QLabel>(p, "LSTrPolarization")->text(), "vertical");
    EXPECT_EQ(Find<QLabel>(p, "LSTrFrequency")->text(), "12109500 kHz");
    EXPECT_EQ(Find<QLabel>(p, "LSSatName")->text(), "Astra 19.2E");
    VTS(*win)->setCurrentIndex(VTSModel(*win)->IndexOf(sat->Child(0)->Child(3)));
    EXPECT_EQ(Find<QLabel>(p, "LSChServiceType")->text(), "0x02 [Radio]");
    EXPECT_EQ(Find<QLabel>(p, "LSTrPolarization")->text(), "horizontal");
    // Collapsing the transponder selects it and leaves the channel panel.
    VTS(*win)->expand(VTSModel(*win)->IndexOf(sat));
    VTS(*win)->expand(VTSModel(*win)->IndexOf(sat->Child(0)));
    VTS(*win)->collapse(VTSModel(*win)->IndexOf(sat->Child(0)));
    EXPECT_EQ(win->SelectedServiceNode(), sat->Child(0));
    EXPECT_FALSE(Find<TInfoPanel>(p, "ServicesSatInfoPanel3")->isVisibleTo(p));
    EXPECT_TRUE(Find<TInfoPanel>(p, "ServicesSatInfoPanel2")->isVisibleTo(p));
    VTS(*win)->setCurrentIndex(VTSModel(*win)->IndexOf(win->Doc().VTS.GetFirst()));
    EXPECT_FALSE(Find<TInfoPanel>(p, "ServicesSatInfoPanel1")->isVisibleTo(p));
}

TEST_F(MainWindowTest, RenamingActsOnTypedTextAndKeepsTheFileSound) {
    Open(kExamples + "/sat/bouquets.xml");
    TBouquetInfo* b = BouquetRPanel(*win);
    PBNode fav = BouquetNode({0});
    Select(fav);
    Find<QLineEdit>(b, "EBBouquetName")->clear();
    QTest::keyClicks(Find<QLineEdit>(b, "EBBouquetName"), "Tom & \"Jerry\"");
    EXPECT_EQ(fav->Data()->Bouquet->Name, "Tom &amp; &quot;Jerry&quot;");
    EXPECT_EQ(fav->Data()->Caption, fav->Data()->Bouquet->Name);
    EXPECT_EQ(VTBModel(*win)->IndexOf(fav).data().toString(), "Tom & \"Jerry\"");
    EXPECT_EQ(Status(1), "Geändert");

    // The reserved word, with blanks around it, is refused.
    dialogs.Messages.clear();
    PBNode kinder = BouquetNode({2});
    Select(kinder->Child(0)); // an entry stands for its bouquet
    Find<QLineEdit>(b, "EBBouquetName")->selectAll();
    QTest::keyClicks(Find<QLineEdit>(b, "EBBouquetName"), " Andere");
    ASSERT_FALSE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.Messages.last().Text,
              "\"andere\" ist ein reserviertes Wort und\rdarf nicht für ein Bouquet verwendet werden!");
    EXPECT_EQ(kinder->Data()->Bouquet->Name, "Bouquet [reserviertes Wort]");
    EXPECT_EQ(Find<QLineEdit>(b, "EBBouquetName")->text(), "Bouquet [reserviertes Wort]");
    // Each typed character renames at once: the blank after it is kept.
    QTest::keyClicks(Find<QLineEdit>(b, "EBBouquetName"), " ");
    EXPECT_EQ(kinder->Data()->Bouquet->Name, "Bouquet [reserviertes Wort] ");

    // Channel names take no reserved-word test; hidden acts on the bouquet.
    PBNode entry = BouquetNode({0, 1});
    Select(entry);
    Find<QLineEdit>(b, "EBChannelName")->clear();
    QTest::keyClicks(Find<QLineEdit>(b, "EBChannelName"), "andere <S");
    QTest::sendKeyEvent(QTest::Click, Find<QLineEdit>(b, "EBChannelName"), Qt::Key_Udiaeresis,
                        QStringLiteral("ü"), {});
    QTest::keyClicks(Find<QLineEdit>(b, "EBChannelName"), "d>");
    EXPECT_EQ(entry->Data()->Channel->Name, "andere &lt;S\xC3\xBC"
                                            "d&gt;");
    Find<QCheckBox>(b, "EBBouquetHidden")->click();
    EXPECT_TRUE(fav->Data()->Bouquet->Hidden);

    // Saved and opened again, every name reads as typed.
    dialogs.Files.push_back(dir.filePath("bouquets.xml"));
    Action(*win, "MenuSaveAs")->trigger();
    EXPECT_TRUE(Status(1).isEmpty());
    const QByteArray saved = ReadAll(dir.filePath("bouquets.xml"));
    EXPECT_TRUE(saved.contains("name=\"Tom &amp; &quot;Jerry&quot;\" hidden=\"1\""));
    Open(dir.filePath("bouquets.xml"));
    EXPECT_EQ(VTBModel(*win)->IndexOf(BouquetNode({0})).data().toString(), "Tom & \"Jerry\"");
    EXPECT_EQ(VTBModel(*win)->IndexOf(BouquetNode({0, 1})).data().toString(), "andere <Süd>");
}

TEST_F(MainWindowTest, SavingWritesBothFilesAndAsksBeforeOverwriting) {
    // Nothing loaded: the guard refuses.
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text,
              "Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...");
    EXPECT_TRUE(dialogs.FileDialogs.isEmpty());

    CopyPair(kExamples + "/cable", dir.path());
    Open(dir.filePath("bouquets.xml"));
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Kabel-Box]");
    const QByteArray original = ReadAll(dir.filePath("services.xml"));

    // Under a new name without extension in a fresh folder: no question.
    QDir(dir.path()).mkdir("out");
    dialogs.Messages.clear();
    dialogs.Files.push_back(dir.filePath("out/meine"));
    Action(*win, "MenuSaveAs")->trigger();
    EXPECT_EQ(dialogs.FileDialogs.last().Title, "Bouquet & Services lokal speichern ...");
    EXPECT_EQ(dialogs.FileDialogs.last().FileName, "bouquets.xml");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(ReadAll(dir.filePath("out/meine.xml")), QByteArray::fromStdString(win->Doc().SaveBouquets()));
    EXPECT_EQ(ReadAll(dir.filePath("out/services.xml")),
              QByteArray::fromStdString(win->Doc().SaveServices()));
    EXPECT_EQ(win->LocalPath(), dir.filePath("out/"));

    // Only services.xml exists: the question comes; No writes nothing.
    dialogs.Files.push_back(dir.filePath("out/bouquets.xml"));
    dialogs.Answers.push_back(TAnswer::No);
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text,
              "Die Bouquet- und/oder Servicesdatei existiert bereits!\rÜberschreiben?");
    EXPECT_FALSE(QFile::exists(dir.filePath("out/bouquets.xml")));

    // A write that fails reaches the error report; the old file is intact
    // and the changes stay marked.
    win->SetModified(true);
    dialogs.Messages.clear();
    QDir(dir.path()).mkdir("blocked");
    QDir(dir.path()).mkdir("blocked/services.xml"); // a folder where the file should go
    dialogs.Files.push_back(dir.filePath("blocked/bouquets.xml"));
    dialogs.Answers.push_back(TAnswer::Yes);
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Kind, TMsgKind::Error);
    EXPECT_FALSE(dialogs.Messages[1].Text.isEmpty());
    EXPECT_EQ(Status(1), "Geändert");
    EXPECT_EQ(win->LocalPath(), dir.filePath("out/"));
    EXPECT_EQ(ReadAll(dir.filePath("services.xml")), original);
}

TEST_F(MainWindowTest, FailedOpensReportAndClear) {
    Open(kExamples + "/sat/bouquets.xml");
    win->SetModified(true);

    // Unsaved changes: No keeps everything.
    dialogs.Messages.clear();
    dialogs.Answers.push_back(TAnswer::No);
    dialogs.Files.push_back(kExamples + "/cable/bouquets.xml");
    Action(*win, "MenuOpen")->trigger();
    EXPECT_EQ(dialogs.Messages[0].Text,
              "Am aktuellen Bouquet wurden Änderungen vorgenommen!\rWollen Sie fortfahren und die Änderungen "
              "verlieren?");
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Sat-Box]");
    EXPECT_TRUE(Action(*win, "MenuSatPosList")->isVisible());
    dialogs.Files.clear();

    // No services.xml beside the chosen file.
    QFile::copy(kExamples + "/sat/bouquets.xml", dir.filePath("alone.xml"));
    dialogs.Messages.clear();
    Open(dir.filePath("alone.xml")); // the question is answered Yes
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Text,
              "Die Datei \"services.xml\" existiert nicht! Öffnen wird abgebrochen!");
    EXPECT_EQ(win->Doc().VTB.TotalCount(), 0u);
    EXPECT_EQ(win->Doc().VTS.TotalCount(), 0u);
    EXPECT_FALSE(Action(*win, "MenuSatPosList")->isVisible());
    EXPECT_EQ(Status(1), "Geändert"); // unchanged
    win->SetModified(false);

    // An empty bouquets file ends in the format error.
    QFile::copy(kExamples + "/sat/services.xml", dir.filePath("services.xml"));
    QFile empty(dir.filePath("leer.xml"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    dialogs.Messages.clear();
    Open(dir.filePath("leer.xml"));
    EXPECT_EQ(Status(0), "Formatfehler der XML-Dateien");
    ASSERT_FALSE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Error);
    EXPECT_GT(win->Doc().VTS.TotalCount(), 0u); // what was built stays
    EXPECT_EQ(win->LocalPath(), dir.path() + "/");

    // Cancel in the dialog: nothing happens.
    dialogs.Messages.clear();
    Action(*win, "MenuOpen")->trigger();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_GT(win->Doc().VTS.TotalCount(), 0u);
}

TEST_F(MainWindowTest, JumpFromAnEntryToItsService) {
    Open(kExamples + "/sat/bouquets.xml");
    PBNode entry = BouquetNode({0, 2}); // "Canale Uno" on Hotbird
    Select(entry);
    Find<QPushButton>(BouquetRPanel(*win), "BttnGotoService")->click();
    EXPECT_EQ(Pages(*win)->currentWidget(), Find<QWidget>(win.get(), "SheetServices"));
    PSNode hit = win->SelectedServiceNode();
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Data()->Channel->Name, "Canale Uno");
    EXPECT_TRUE(VTS(*win)->isExpanded(VTSModel(*win)->IndexOf(hit->Parent())));
    EXPECT_FALSE(VTS(*win)->isExpanded(VTSModel(*win)->IndexOf(win->Doc().VTS.GetFirst()->Child(0))));
    EXPECT_EQ(Find<QLabel>(ServicesRPanel(*win), "LSChName")->text(), "Canale Uno");

    entry->Data()->Channel->ServiceId = 0x7777;
    dialogs.Messages.clear();
    Select(entry);
    Find<QPushButton>(BouquetRPanel(*win), "BttnGotoService")->click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);
    EXPECT_EQ(dialogs.Messages[0].Text, "Der Channel :\"Canale Uno\"\rhat keinen gültigen Service!\"");
}

TEST_F(MainWindowTest, CableBoxRelabelsAndSiblingOnlySelection) {
    Open(kExamples + "/sat/bouquets.xml");
    Open(kExamples + "/cable/bouquets.xml");
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Kabel-Box]");
    EXPECT_FALSE(Action(*win, "MenuSatPosList")->isVisible());
    TServicesInfo* p = ServicesRPanel(*win);
    EXPECT_EQ(Find<TInfoPanel>(p, "ServicesSatInfoPanel1")->Heading()->text(), "Kabel");
    EXPECT_EQ(Find<QLabel>(p, "CaptionTrPolarization")->text(), "Modulation");
    EXPECT_FALSE(Find<QLabel>(p, "LSSatPosition")->isVisibleTo(p));
    Select(BouquetNode({0, 0}));
    EXPECT_FALSE(Find<QLabel>(BouquetRPanel(*win), "LBChannelSatPosition")->isVisibleTo(BouquetRPanel(*win)));

    // Selecting a bouquet beside an entry keeps only siblings selected.
    VTB(*win)->expandAll();
    auto* sm = VTB(*win)->selectionModel();
    sm->setCurrentIndex(VTBModel(*win)->IndexOf(BouquetNode({0})), QItemSelectionModel::ClearAndSelect);
    sm->setCurrentIndex(VTBModel(*win)->IndexOf(BouquetNode({1})), QItemSelectionModel::Select);
    sm->setCurrentIndex(VTBModel(*win)->IndexOf(BouquetNode({0, 0})), QItemSelectionModel::Select);
    EXPECT_EQ(win->SelectedBouquetNodes(), QList<PBNode>({BouquetNode({0, 0})}));
    sm->setCurrentIndex(VTBModel(*win)->IndexOf(BouquetNode({1})), QItemSelectionModel::ClearAndSelect);
    sm->setCurrentIndex(VTBModel(*win)->IndexOf(BouquetNode({0})), QItemSelectionModel::Select);
    EXPECT_EQ(win->SelectedBouquetNodes(), QList<PBNode>({BouquetNode({0}), BouquetNode({1})}));
    EXPECT_EQ(win->FirstSelectedBouquetNode(), BouquetNode({0}));

    // "Nur Bouquets anzeigen" folds every bouquet.
    Action(*win, "MenuShowOnlyBouquets")->trigger();
    EXPECT_TRUE(VTB(*win)->isExpanded(VTBModel(*win)->IndexOf(BouquetNode({}))));
    EXPECT_FALSE(VTB(*win)->isExpanded(VTBModel(*win)->IndexOf(BouquetNode({0}))));
    Action(*win, "MenuShowOnlyTransponder")->trigger();
    PSNode net = win->Doc().VTS.GetFirst()->Child(0);
    EXPECT_TRUE(VTS(*win)->isExpanded(VTSModel(*win)->IndexOf(net)));
    EXPECT_FALSE(VTS(*win)->isExpanded(VTSModel(*win)->IndexOf(net->Child(0))));
}

TEST_F(MainWindowTest, CutOrOddFilesAreRefusedAndNothingIsSavedFromThem) {
    // bouquets.xml cut off in the middle: the format error, the message
    // naming the file, no bouquets, and no save.
    CopyPair(kExamples + "/sat", dir.path());
    const QByteArray full = ReadAll(dir.filePath("bouquets.xml"));
    QFile cut(dir.filePath("bouquets.xml"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cut.write(full.left(full.size() / 2));
    cut.close();
    dialogs.Messages.clear();
    Open(dir.filePath("bouquets.xml"));
    EXPECT_EQ(Status(0), "Formatfehler der XML-Dateien");
    EXPECT_TRUE(
        MessageTexts().contains("Die Datei bouquets.xml ist unvollständig: das Ende </XANTU> fehlt."));
    EXPECT_EQ(win->Doc().VTB.TotalCount(), 0u);
    dialogs.Messages.clear();
    Action(*win, "MenuSaveAs")->trigger();
    EXPECT_TRUE(dialogs.FileDialogs.size() == 1); // only the open dialog; saving was refused
    EXPECT_EQ(ReadAll(dir.filePath("bouquets.xml")), full.left(full.size() / 2));

    // A FIFO in place of bouquets.xml: a message at once, no frozen window.
    QDir(dir.path()).mkdir("fifo");
    QFile::copy(kExamples + "/sat/services.xml", dir.filePath("fifo/services.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo/bouquets.xml")).constData(), 0644), 0);
    dialogs.Messages.clear();
    Open(dir.filePath("fifo/bouquets.xml"));
    EXPECT_EQ(Status(0), "Öffnen ist fehlgeschlagen");
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].Text.contains("ist keine gewöhnliche Datei"))
        << dialogs.Messages[0].Text.toStdString();
}

} // namespace

namespace {

// The info panels on their own: they fill themselves from a node and report
// only what the user typed, never what they showed.
TEST(InfoPanels, FillFromANodeAndReportOnlyTypedChanges) {
    TBasicBNode bouquet("Sport", ImgStructure);
    bouquet.SetBouquet("Sport", true, false);
    TBasicBNode entry("Kanal", ImgTV);
    entry.SetChannel(bouquet.Bouquet.get(), "Kanal", 0x6d66, 0x401, 0x1);
    entry.Channel->SatPosition = "192";

    TBouquetInfo panel;
    QStringList reported;
    QObject::connect(&panel, &TBouquetInfo::BouquetNameEdited, [&](const QString& t) { reported << t; });
    QObject::connect(&panel, &TBouquetInfo::ChannelNameEdited, [&](const QString& t) { reported << t; });
    panel.Show(entry, BoxSat, TNameCharset::Utf8, true);
    auto* name = Find<QLineEdit>(&panel, "EBBouquetName");
    auto* channel = Find<QLineEdit>(&panel, "EBChannelName");
    EXPECT_EQ(name->text(), "Sport");
    EXPECT_TRUE(Find<QCheckBox>(&panel, "EBBouquetHidden")->isChecked());
    EXPECT_EQ(channel->text(), "Kanal");
    EXPECT_TRUE(channel->isEnabled());
    EXPECT_EQ(Find<QLabel>(&panel, "LBChannelServiceID")->text(), "0x6D66");
    EXPECT_EQ(Find<QLabel>(&panel, "LBChannelSatPosition")->text(), "192");
    EXPECT_FALSE(Find<QLabel>(&panel, "Label15")->isHidden());
    EXPECT_TRUE(reported.isEmpty());

    // Typed: reported; replaced by the window: not.
    QTest::keyClicks(name, "X");
    panel.ReplaceBouquetName("Bouquet [reserviertes Wort]");
    EXPECT_EQ(reported, QStringList({"XSport"})); // the name shows from its start

    // Locked lists, a cable box: no input, no satellite position.
    panel.Show(entry, BoxCable, TNameCharset::Utf8, false);
    EXPECT_FALSE(channel->isEnabled());
    EXPECT_TRUE(Find<QLabel>(&panel, "Label15")->isHidden());
    panel.ShowNothing();
    EXPECT_TRUE(Find<QFrame>(&panel, "BouquetCInfoPanel")->isHidden());
    EXPECT_TRUE(Find<QFrame>(&panel, "BouquetBInfoPanel")->isHidden());
}

} // namespace
