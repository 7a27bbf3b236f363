// The real main window, headless: every box and file dialog is answered by
// TScriptedDialogs.
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

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void CopyPair(const QString& from, const QString& to) {
    for (const char* name : {"bouquets.xml", "services.xml"})
        QFile::copy(from + "/" + name, to + "/" + name);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { Start(); }

    void Start() {
        win.reset();
        TMainOptions options;
        options.IniFileName = dir.filePath("Settings.ini");
        win = std::make_unique<TMain>(dialogs, options);
        win->show();
    }

    // Opens a pair through the open command.
    void Open(const QString& bouquetsFile) {
        dialogs.Files.push_back(bouquetsFile);
        win->MenuOpen->trigger();
    }

    QString Status(int i) const { return win->StatPanel[i]->text(); }

    PBNode BouquetNode(std::initializer_list<int> path) const {
        PBNode n = win->Doc().VTB.GetFirst();
        for (int i : path)
            n = n->Child(static_cast<std::size_t>(i));
        return n;
    }
    void Select(PBNode n) { win->SelectBouquetNode(n); }
    // Hidden rows are set when their branch opens.
    bool RowHidden(PBNode n) const {
        win->VTB->expand(win->VTBModel->IndexOf(n->Parent()));
        return win->VTB->isRowHidden(static_cast<int>(n->Index()), win->VTBModel->IndexOf(n->Parent()));
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
    EXPECT_FALSE(win->MenuSatPosList->isVisible());
    EXPECT_EQ(win->MenuSuchen->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(win->MenuWeitersuchen->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(win->MenuServicepool->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(win->MenuCopyMove->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(win->MenuNewBouquet2->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(win->MenuDeleteSelection2->shortcut(), QKeySequence(Qt::Key_Delete));

    QStringList hints;
    for (QAction* a : win->ToolBar->actions())
        if (!a->isSeparator())
            hints << a->toolTip();
    EXPECT_EQ(hints, QStringList({"Beenden", "Öffnen ...", "Speichern unter ...", "Bouquet von der Box laden",
                                  "Bouquet zur Box übertragen", "TV anzeigen", "Radio anzeigen",
                                  "Spezielle Dienste anzeigen", "Servicepool", "Neues Bouquet anlegen",
                                  "Auswahl löschen", "Info"}));
    // First run: only TV shown; the settings fields have their defaults.
    EXPECT_TRUE(win->MenuTV->isChecked());
    EXPECT_TRUE(win->BttnShowTV->isChecked());
    EXPECT_FALSE(win->BttnShowRadio->isChecked());
    EXPECT_FALSE(win->MenuSpezial->isChecked());
    EXPECT_EQ(win->BoxUser, "root");
    EXPECT_EQ(win->BoxPass, "qvex5");
    EXPECT_EQ(win->BoxBouqDir, "/var/pelmar/config/xantu");
    EXPECT_TRUE(win->Doc().Info_ChannelWithoutService);
    EXPECT_EQ(win->InfoColumnWidth(), 220);

    EXPECT_EQ(win->Pages->currentWidget(), win->SheetBouquets);
    EXPECT_EQ(win->Pages->tabText(0), "&Bouquets");
    EXPECT_EQ(win->Pages->tabText(1), "&Services");
    EXPECT_EQ(win->PanelCopyMove->text(), "Verschieben");
    EXPECT_EQ(win->ServicesRPanel->LSrvGesamt->text(), "0");
    EXPECT_EQ(win->StatPanel[0]->width(), 150);
    EXPECT_EQ(win->StatPanel[1]->width(), 80);
    EXPECT_EQ(win->StatPanel[2]->width(), 50);
    EXPECT_TRUE(Status(1).isEmpty());
    EXPECT_TRUE(dialogs.Messages.isEmpty()); // satpositionen.xml found beside the program
}

TEST_F(MainWindowTest, OpensASatellitePairWithTreesCountersAndFilter) {
    Open(kExamples + "/sat/bouquets.xml");
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Sat-Box]");
    EXPECT_EQ(Status(0), "XML Struktur geladen");
    EXPECT_TRUE(Status(1).isEmpty());
    EXPECT_TRUE(win->MenuSatPosList->isVisible());
    EXPECT_EQ(win->LocalPath, kExamples + "/sat/");
    const auto& fd = dialogs.FileDialogs.last();
    EXPECT_EQ(fd.Title, "Bouquet und Services öffnen ...");
    EXPECT_EQ(fd.FileName, "bouquets");
    EXPECT_TRUE(fd.MustExist);
    // The satellite without a position took it from the list.
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].Text.startsWith("\"Hotbird 13.0E\" verfügt über keine Position"));

    EXPECT_EQ(win->ServicesRPanel->LSrvGesamt->text(), "9");
    EXPECT_EQ(win->ServicesRPanel->LSrvTV->text(), "4");
    EXPECT_EQ(win->ServicesRPanel->LSrvRadio->text(), "3");

    // Bouquet tree: root open, bouquets closed, entity shown as its character.
    QAbstractItemModel* m = win->VTB->model();
    const QModelIndex root = m->index(0, 0);
    EXPECT_EQ(root.data().toString(), "Bouquets");
    EXPECT_TRUE(win->VTB->isExpanded(root));
    QStringList bouquets;
    for (int r = 0; r < m->rowCount(root); ++r) {
        bouquets << m->index(r, 0, root).data().toString();
        EXPECT_FALSE(win->VTB->isExpanded(m->index(r, 0, root)));
    }
    EXPECT_EQ(bouquets, QStringList({"Favoriten", "Radio", "Kinder", "andere"}));
    EXPECT_EQ(m->index(0, 0, m->index(2, 0, root)).data().toString(), "Kinder & Familie");
    EXPECT_EQ(m->index(1, 0, m->index(0, 0, root)).data().toString(), "Nachrichten Süd");

    // Only TV shows: the radio entries are hidden, the TV ones not.
    EXPECT_TRUE(RowHidden(BouquetNode({1, 0})));
    EXPECT_FALSE(RowHidden(BouquetNode({0, 0})));
    win->MenuRadio->trigger();
    EXPECT_TRUE(win->BttnShowRadio->isChecked());
    EXPECT_FALSE(RowHidden(BouquetNode({1, 0})));
    win->BttnShowTV->trigger();
    EXPECT_FALSE(win->MenuTV->isChecked());
    EXPECT_TRUE(RowHidden(BouquetNode({0, 0})));
    EXPECT_TRUE(Status(1).isEmpty()); // filtering is no change

    // Services tree: root open, satellites closed.
    QAbstractItemModel* s = win->VTS->model();
    EXPECT_EQ(s->index(0, 0).data().toString(), "Services");
    EXPECT_TRUE(win->VTS->isExpanded(s->index(0, 0)));
    EXPECT_FALSE(win->VTS->isExpanded(s->index(0, 0, s->index(0, 0))));
}

TEST_F(MainWindowTest, InfoPanelsFollowTheSelection) {
    Open(kExamples + "/sat/bouquets.xml");
    TBouquetInfo* b = win->BouquetRPanel;
    Select(BouquetNode({2, 0})); // "Kinder & Familie" in the locked bouquet "Kinder"
    EXPECT_TRUE(b->BouquetBInfoPanel->isVisibleTo(b));
    EXPECT_TRUE(b->BouquetCInfoPanel->isVisibleTo(b));
    EXPECT_FALSE(b->BouquetAInfoPanel->isVisibleTo(b));
    EXPECT_EQ(b->EBBouquetName->text(), "Kinder");
    EXPECT_TRUE(b->EBBouquetLocked->isChecked());
    EXPECT_FALSE(b->EBBouquetHidden->isChecked());
    EXPECT_EQ(b->EBChannelName->text(), "Kinder & Familie");
    EXPECT_TRUE(b->EBChannelName->isEnabled());
    EXPECT_EQ(b->LBChannelOnID->text(), "0x0001");
    EXPECT_EQ(b->LBChannelTsID->text(), "0x0401");
    EXPECT_EQ(b->LBChannelServiceID->text(), "0x6D67");
    EXPECT_TRUE(b->LBChannelSatPosition->isVisibleTo(b));
    EXPECT_EQ(b->LBChannelSatPosition->text(), "192");
    EXPECT_TRUE(win->StatPanel[1]->text().isEmpty()); // showing is no edit

    Select(BouquetNode({3, 0})); // an entry of "andere"
    EXPECT_TRUE(b->BouquetAInfoPanel->isVisibleTo(b));
    EXPECT_FALSE(b->BouquetBInfoPanel->isVisibleTo(b));
    EXPECT_FALSE(b->EBChannelName->isEnabled());
    Select(BouquetNode({}));
    EXPECT_FALSE(b->BouquetAInfoPanel->isVisibleTo(b));
    EXPECT_FALSE(b->BouquetBInfoPanel->isVisibleTo(b));
    EXPECT_FALSE(b->BouquetCInfoPanel->isVisibleTo(b));

    // Services page: a channel shows all three panels in their formats.
    TServicesInfo* p = win->ServicesRPanel;
    PSNode sat = win->Doc().VTS.GetFirst()->Child(0);
    PSNode special = sat->Child(1)->Child(2); // "Sport Live HD", type 0x19
    win->VTS->setCurrentIndex(win->VTSModel->IndexOf(special));
    EXPECT_TRUE(p->ServicesSatInfoPanel3->isVisibleTo(p));
    EXPECT_EQ(p->LSChServiceType->text(), "0x19");
    EXPECT_EQ(p->LSChServiceID->text(), "0x2F1E");
    EXPECT_EQ(p->LSTrPolarization->text(), "vertical");
    EXPECT_EQ(p->LSTrFrequency->text(), "12109500 kHz");
    EXPECT_EQ(p->LSSatName->text(), "Astra 19.2E");
    win->VTS->setCurrentIndex(win->VTSModel->IndexOf(sat->Child(0)->Child(3)));
    EXPECT_EQ(p->LSChServiceType->text(), "0x02 [Radio]");
    EXPECT_EQ(p->LSTrPolarization->text(), "horizontal");
    // Collapsing the transponder selects it and leaves the channel panel.
    win->VTS->expand(win->VTSModel->IndexOf(sat));
    win->VTS->expand(win->VTSModel->IndexOf(sat->Child(0)));
    win->VTS->collapse(win->VTSModel->IndexOf(sat->Child(0)));
    EXPECT_EQ(win->SelectedServiceNode(), sat->Child(0));
    EXPECT_FALSE(p->ServicesSatInfoPanel3->isVisibleTo(p));
    EXPECT_TRUE(p->ServicesSatInfoPanel2->isVisibleTo(p));
    win->VTS->setCurrentIndex(win->VTSModel->IndexOf(win->Doc().VTS.GetFirst()));
    EXPECT_FALSE(p->ServicesSatInfoPanel1->isVisibleTo(p));
}

TEST_F(MainWindowTest, RenamingActsOnTypedTextAndKeepsTheFileSound) {
    Open(kExamples + "/sat/bouquets.xml");
    TBouquetInfo* b = win->BouquetRPanel;
    PBNode fav = BouquetNode({0});
    Select(fav);
    b->EBBouquetName->clear();
    QTest::keyClicks(b->EBBouquetName, "Tom & \"Jerry\"");
    EXPECT_EQ(fav->Data()->Bouquet->Name, "Tom &amp; &quot;Jerry&quot;");
    EXPECT_EQ(fav->Data()->Caption, fav->Data()->Bouquet->Name);
    EXPECT_EQ(win->VTBModel->IndexOf(fav).data().toString(), "Tom & \"Jerry\"");
    EXPECT_EQ(Status(1), "Geändert");

    // The reserved word, with blanks around it, is refused.
    dialogs.Messages.clear();
    PBNode kinder = BouquetNode({2});
    Select(kinder->Child(0)); // an entry stands for its bouquet
    b->EBBouquetName->selectAll();
    QTest::keyClicks(b->EBBouquetName, " Andere");
    ASSERT_FALSE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.Messages.last().Text,
              "\"andere\" ist ein reserviertes Wort und\rdarf nicht für ein Bouquet verwendet werden!");
    EXPECT_EQ(kinder->Data()->Bouquet->Name, "Bouquet [reserviertes Wort]");
    EXPECT_EQ(b->EBBouquetName->text(), "Bouquet [reserviertes Wort]");
    // Each typed character renames at once: the blank after it is kept.
    QTest::keyClicks(b->EBBouquetName, " ");
    EXPECT_EQ(kinder->Data()->Bouquet->Name, "Bouquet [reserviertes Wort] ");

    // Channel names take no reserved-word test; hidden acts on the bouquet.
    PBNode entry = BouquetNode({0, 1});
    Select(entry);
    b->EBChannelName->clear();
    QTest::keyClicks(b->EBChannelName, "andere <S");
    QTest::sendKeyEvent(QTest::Click, b->EBChannelName, Qt::Key_Udiaeresis, QStringLiteral("ü"), {});
    QTest::keyClicks(b->EBChannelName, "d>");
    EXPECT_EQ(entry->Data()->Channel->Name, "andere &lt;S\xC3\xBC"
                                            "d&gt;");
    b->EBBouquetHidden->click();
    EXPECT_TRUE(fav->Data()->Bouquet->Hidden);

    // Saved and opened again, every name reads as typed.
    dialogs.Files.push_back(dir.filePath("bouquets.xml"));
    win->MenuSaveAs->trigger();
    EXPECT_TRUE(Status(1).isEmpty());
    const QByteArray saved = ReadAll(dir.filePath("bouquets.xml"));
    EXPECT_TRUE(saved.contains("name=\"Tom &amp; &quot;Jerry&quot;\" hidden=\"1\""));
    Open(dir.filePath("bouquets.xml"));
    EXPECT_EQ(win->VTBModel->IndexOf(BouquetNode({0})).data().toString(), "Tom & \"Jerry\"");
    EXPECT_EQ(win->VTBModel->IndexOf(BouquetNode({0, 1})).data().toString(), "andere <Süd>");
}

TEST_F(MainWindowTest, SavingWritesBothFilesAndAsksBeforeOverwriting) {
    // Nothing loaded: the guard refuses.
    win->MenuSaveAs->trigger();
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
    win->MenuSaveAs->trigger();
    EXPECT_EQ(dialogs.FileDialogs.last().Title, "Bouquet & Services lokal speichern ...");
    EXPECT_EQ(dialogs.FileDialogs.last().FileName, "bouquets.xml");
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(ReadAll(dir.filePath("out/meine.xml")), QByteArray::fromStdString(win->Doc().SaveBouquets()));
    EXPECT_EQ(ReadAll(dir.filePath("out/services.xml")),
              QByteArray::fromStdString(win->Doc().SaveServices()));
    EXPECT_EQ(win->LocalPath, dir.filePath("out/"));

    // Only services.xml exists: the question comes; No writes nothing.
    dialogs.Files.push_back(dir.filePath("out/bouquets.xml"));
    dialogs.Answers.push_back(TAnswer::No);
    win->MenuSaveAs->trigger();
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
    win->MenuSaveAs->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Kind, TMsgKind::Error);
    EXPECT_FALSE(dialogs.Messages[1].Text.isEmpty());
    EXPECT_EQ(Status(1), "Geändert");
    EXPECT_EQ(win->LocalPath, dir.filePath("out/"));
    EXPECT_EQ(ReadAll(dir.filePath("services.xml")), original);
}

TEST_F(MainWindowTest, FailedOpensReportAndClear) {
    Open(kExamples + "/sat/bouquets.xml");
    win->SetModified(true);

    // Unsaved changes: No keeps everything.
    dialogs.Messages.clear();
    dialogs.Answers.push_back(TAnswer::No);
    dialogs.Files.push_back(kExamples + "/cable/bouquets.xml");
    win->MenuOpen->trigger();
    EXPECT_EQ(dialogs.Messages[0].Text,
              "Am aktuellen Bouquet wurden Änderungen vorgenommen!\rWollen Sie fortfahren und die Änderungen "
              "verlieren?");
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Sat-Box]");
    EXPECT_TRUE(win->MenuSatPosList->isVisible());
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
    EXPECT_FALSE(win->MenuSatPosList->isVisible());
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
    EXPECT_EQ(win->LocalPath, dir.path() + "/");

    // Cancel in the dialog: nothing happens.
    dialogs.Messages.clear();
    win->MenuOpen->trigger();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_GT(win->Doc().VTS.TotalCount(), 0u);
}

TEST_F(MainWindowTest, JumpFromAnEntryToItsService) {
    Open(kExamples + "/sat/bouquets.xml");
    PBNode entry = BouquetNode({0, 2}); // "Canale Uno" on Hotbird
    Select(entry);
    win->BouquetRPanel->BttnGotoService->click();
    EXPECT_EQ(win->Pages->currentWidget(), win->SheetServices);
    PSNode hit = win->SelectedServiceNode();
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Data()->Channel->Name, "Canale Uno");
    EXPECT_TRUE(win->VTS->isExpanded(win->VTSModel->IndexOf(hit->Parent())));
    EXPECT_FALSE(win->VTS->isExpanded(win->VTSModel->IndexOf(win->Doc().VTS.GetFirst()->Child(0))));
    EXPECT_EQ(win->ServicesRPanel->LSChName->text(), "Canale Uno");

    entry->Data()->Channel->ServiceId = 0x7777;
    dialogs.Messages.clear();
    Select(entry);
    win->BouquetRPanel->BttnGotoService->click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);
    EXPECT_EQ(dialogs.Messages[0].Text, "Der Channel :\"Canale Uno\"\rhat keinen gültigen Service!\"");
}

TEST_F(MainWindowTest, CableBoxRelabelsAndSiblingOnlySelection) {
    Open(kExamples + "/sat/bouquets.xml");
    Open(kExamples + "/cable/bouquets.xml");
    EXPECT_EQ(win->windowTitle(), "XantuEditor [Kabel-Box]");
    EXPECT_FALSE(win->MenuSatPosList->isVisible());
    TServicesInfo* p = win->ServicesRPanel;
    EXPECT_EQ(p->ServicesSatInfoPanel1->Heading()->text(), "Kabel");
    EXPECT_EQ(p->CaptionTrPolarization->text(), "Modulation");
    EXPECT_FALSE(p->LSSatPosition->isVisibleTo(p));
    Select(BouquetNode({0, 0}));
    EXPECT_FALSE(win->BouquetRPanel->LBChannelSatPosition->isVisibleTo(win->BouquetRPanel));

    // Selecting a bouquet beside an entry keeps only siblings selected.
    win->VTB->expandAll();
    auto* sm = win->VTB->selectionModel();
    sm->setCurrentIndex(win->VTBModel->IndexOf(BouquetNode({0})), QItemSelectionModel::ClearAndSelect);
    sm->setCurrentIndex(win->VTBModel->IndexOf(BouquetNode({1})), QItemSelectionModel::Select);
    sm->setCurrentIndex(win->VTBModel->IndexOf(BouquetNode({0, 0})), QItemSelectionModel::Select);
    EXPECT_EQ(win->SelectedBouquetNodes(), QList<PBNode>({BouquetNode({0, 0})}));
    sm->setCurrentIndex(win->VTBModel->IndexOf(BouquetNode({1})), QItemSelectionModel::ClearAndSelect);
    sm->setCurrentIndex(win->VTBModel->IndexOf(BouquetNode({0})), QItemSelectionModel::Select);
    EXPECT_EQ(win->SelectedBouquetNodes(), QList<PBNode>({BouquetNode({0}), BouquetNode({1})}));
    EXPECT_EQ(win->FirstSelectedBouquetNode(), BouquetNode({0}));

    // "Nur Bouquets anzeigen" folds every bouquet.
    win->MenuShowOnlyBouquets->trigger();
    EXPECT_TRUE(win->VTB->isExpanded(win->VTBModel->IndexOf(BouquetNode({}))));
    EXPECT_FALSE(win->VTB->isExpanded(win->VTBModel->IndexOf(BouquetNode({0}))));
    win->MenuShowOnlyTransponder->trigger();
    PSNode net = win->Doc().VTS.GetFirst()->Child(0);
    EXPECT_TRUE(win->VTS->isExpanded(win->VTSModel->IndexOf(net)));
    EXPECT_FALSE(win->VTS->isExpanded(win->VTSModel->IndexOf(net->Child(0))));
}

TEST_F(MainWindowTest, ClosingAsksOnChangesAndWritesSettingsOnlyThen) {
    const QString ini = dir.filePath("Settings.ini");
    win->BoxIP = "10.1.2.3";
    win->MenuRadio->trigger();
    EXPECT_FALSE(QFile::exists(ini)); // nothing written before a close

    win->SetModified(true);
    dialogs.Answers.push_back(TAnswer::No);
    win->Beenden1->trigger();
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(dialogs.Messages.last().Text,
              "Am aktuellen Bouquet wurden Änderungen vorgenommen!\rWollen Sie die Anwendung beenden und die "
              "Änderungen verlieren?");
    EXPECT_FALSE(QFile::exists(ini));

    dialogs.Answers.push_back(TAnswer::Yes);
    win->BttnBeenden->trigger();
    EXPECT_FALSE(win->isVisible());
    TIniFile file;
    ASSERT_TRUE(file.Load(ini));
    const TIniFile::Section* main = file.Find("Main");
    ASSERT_NE(main, nullptr);
    QStringList keys;
    for (const auto& e : main->Entries)
        keys << e.first;
    const QStringList nine = {"BoxIP",       "BoxUser",   "BoxPass",
                              "BoxBouqDir",  "ShowTV",    "ShowRadio",
                              "ShowSpezial", "LocalPath", "Info_ChannelWithoutService"};
    ASSERT_GE(keys.size(), nine.size());
    EXPECT_EQ(keys.mid(keys.size() - nine.size()), nine);
    for (const char* k : {"NormPos", "BouquetRPanel.Width", "ServicesRPanel.Width"})
        EXPECT_TRUE(keys.contains(k)) << k;
    EXPECT_EQ(file.Value("Main", "BoxIP"), "10.1.2.3");
    EXPECT_EQ(file.Value("Main", "ShowRadio"), "1");
    EXPECT_EQ(QFile::permissions(ini) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    // The next start reads them back.
    Start();
    EXPECT_EQ(win->BoxIP, "10.1.2.3");
    EXPECT_TRUE(win->MenuRadio->isChecked());
    EXPECT_TRUE(win->MenuTV->isChecked());
    // Without changes, closing never asks.
    dialogs.Messages.clear();
    Open(kExamples + "/cable/bouquets.xml");
    win->close();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(MainWindowTest, InfoColumnsKeepOneWidth) {
    win->resize(900, 600);
    QApplication::processEvents();
    QSplitterHandle* handle = win->Splitter2->handle(1);
    win->Pages->setCurrentWidget(win->SheetServices);
    QApplication::processEvents();
    const int before = win->ServicesRPanel->width();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 5));
    QTest::mouseMove(handle, QPoint(-60, 5));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-60, 5));
    const int after = win->ServicesRPanel->width();
    EXPECT_GT(after, before);
    EXPECT_EQ(win->InfoColumnWidth(), after);
    EXPECT_EQ(win->Splitter1->sizes().at(1), after);
    // Never narrower than 220 on either side.
    win->SetInfoColumnWidth(100);
    EXPECT_EQ(win->InfoColumnWidth(), 220);
}

TEST_F(MainWindowTest, SatellitePositionWindowListsTheLines) {
    std::vector<std::string> lines = {"Astra 19.2E; Position=192", "ohne Trenner",
                                      "S\xC3\xBC"
                                      "d; Position=-50"};
    TSatPosList dlg(lines, win.get());
    EXPECT_EQ(dlg.windowTitle(), "Satellitenpositionen");
    EXPECT_EQ(dlg.size(), QSize(374, 442));
    ASSERT_EQ(dlg.LV->topLevelItemCount(), 3);
    EXPECT_EQ(dlg.LV->topLevelItem(0)->text(1), "192");
    EXPECT_EQ(dlg.LV->topLevelItem(1)->text(0), "");
    EXPECT_EQ(dlg.LV->topLevelItem(2)->text(0), "Süd");
    EXPECT_EQ(dlg.BitBtn1->text(), "S&chließen");
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
    win->MenuSaveAs->trigger();
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

TEST(MainWindowStart, BrokenOrMissingPositionFileIsReportedAndTheWindowStillWorks) {
    QTemporaryDir dir;
    QFile bad(dir.filePath("satpositionen.xml"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<nothing/>");
    bad.close();
    TScriptedDialogs dialogs;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    options.SatPositionsFile = dir.filePath("satpositionen.xml");
    {
        TMain win(dialogs, options);
        win.show();
        ASSERT_EQ(dialogs.Messages.size(), 1);
        EXPECT_EQ(dialogs.Messages[0].Text, "satellites tag load <satellites> failed");
        EXPECT_EQ(win.windowTitle(), "XantuEditor");
        win.close();
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("Settings.ini"))); // the settings still work

    options.SatPositionsFile = dir.filePath("missing.xml");
    dialogs.Messages.clear();
    TMain win(dialogs, options);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    // The message names the file really looked for.
    EXPECT_EQ(dialogs.Messages[0].Text,
              "Die Datei \"" + dir.filePath("missing.xml") + "\"\rwurde nicht gefunden!");
}

} // namespace
