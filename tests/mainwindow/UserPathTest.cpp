// What the user sees and does, through the real window (headless): names as
// the tree shows them in the search, the panels and the boxes; undo and redo
// by key; the pool next to the window; Qt's own dialogs in German; the
// settings file.
#include "WindowTestKit.h"
#include "editui/SuchenDlg.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainEditing.h"
#include "mainwindow/NodeTreeModel.h"
#include "mainwindow/TreeImages.h"
#include "pool/ServicePool.h"
#include "settings/FormStore.h"
#include "settings/IniFile.h"
#include "ui/Application.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;

namespace {

// A pair whose names hold entities and character references, as the box
// writes them.
const QByteArray kServices =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n"
    "\t<sat name=\"Astra 19.2E\" diseqc=\"0\" position=\"192\">\n"
    "\t\t<transponder id=\"0401\" onid=\"0001\" frequency=\"11836500\" symbol_rate=\"27500000\" "
    "fec_inner=\"3\" polarization=\"0\">\n"
    "\t\t\t<channel service_id=\"0001\" name=\"Made in L&apos;Pool\" service_type=\"01\" channel_nr=\"1\"/>\n"
    "\t\t\t<channel service_id=\"0002\" name=\"Test A&amp;B\" service_type=\"01\" channel_nr=\"2\"/>\n"
    "\t\t\t<channel service_id=\"0003\" name=\"Sch&#246;ne &#x2605; Welt\" service_type=\"01\" "
    "channel_nr=\"3\"/>\n"
    "\t\t\t<channel service_id=\"0004\" name=\"&lt;i&gt;kursiv&lt;/i&gt;\" service_type=\"01\" "
    "channel_nr=\"4\"/>\n"
    "\t\t</transponder>\n\t</sat>\n</XANTU>";

QByteArray Bouquets(int unlinked = 0) {
    QByteArray b =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n"
        "\t<Bouquet name=\"Favoriten\" hidden=\"0\" locked=\"0\">\n"
        "\t\t<channel serviceID=\"0001\" name=\"Made in L&apos;Pool\" tsid=\"0401\" onid=\"0001\"/>\n"
        "\t\t<channel serviceID=\"0002\" name=\"Test A&amp;B\" tsid=\"0401\" onid=\"0001\"/>\n"
        "\t\t<channel serviceID=\"0003\" name=\"Sch&#246;ne &#x2605; Welt\" tsid=\"0401\" "
        "onid=\"0001\"/>\n"
        "\t\t<channel serviceID=\"0004\" name=\"&lt;i&gt;kursiv&lt;/i&gt;\" tsid=\"0401\" "
        "onid=\"0001\"/>\n";
    for (int i = 0; i < unlinked; ++i)
        b += QStringLiteral(
                 "\t\t<channel serviceID=\"%1\" name=\"Weg &amp; %2\" tsid=\"0401\" onid=\"0001\"/>\n")
                 .arg(0x100 + i, 4, 16, QLatin1Char('0'))
                 .arg(i + 1)
                 .toUtf8();
    b += "\t</Bouquet>\n</XANTU>";
    return b;
}

class UserPathTest : public TWindowTest {
  protected:
    void SetUp() override {
        TWindowTest::SetUp();
        pool = std::make_unique<TServicePool>(win->Doc(), win->FStore()->IniFileName(), dialogs, TreeImage,
                                              win.get());
        win->AttachServicePool(*pool);
        editing = &win->Editing();
        poolTester = std::make_unique<QAbstractItemModelTester>(
            &pool->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override {
        poolTester.reset();
        pool.reset(); // before the lists it shows
        TWindowTest::TearDown();
    }

    void Open(const QByteArray& bouquets) {
        WriteAll(dir.filePath("services.xml"), kServices);
        WriteAll(dir.filePath("bouquets.xml"), bouquets);
        dialogs.Files.push_back(dir.filePath("bouquets.xml"));
        Action(*win, "MenuOpen")->trigger();
    }
    PBNode Entry(std::size_t i) const { return win->Doc().VTB.GetFirst()->Child(0)->Child(i); }
    QString Shown(PBNode node) const {
        return VTBModel(*win)->data(VTBModel(*win)->IndexOf(node), Qt::DisplayRole).toString();
    }
    // F3 answered with a names search for `text`.
    void Search(const QString& text, bool caseSensitive = false, bool fullMatch = false) {
        editing->ExecSearchDialog = [=](TSuchenDlg& dlg) {
            dlg.CBTargetItem[SearchNames]->click();
            dlg.EText->setText(text);
            dlg.CBCase->setChecked(caseSensitive);
            dlg.CBFullEqual->setChecked(fullMatch);
            dlg.BttnOk->click();
            return dlg.result();
        };
        Action(*win, "MenuSuchen")->trigger();
    }
    QString Selected() const {
        PBNode n = win->FirstSelectedBouquetNode();
        return n ? Shown(n) : QString();
    }

    std::unique_ptr<TServicePool> pool;
    TMainEditing* editing = nullptr;
    std::unique_ptr<QAbstractItemModelTester> poolTester;
};

TEST_F(UserPathTest, SearchPanelsAndBoxesShowNamesAsTheTreeDoes) {
    Open(Bouquets());
    ASSERT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(Shown(Entry(0)), "Made in L'Pool");
    EXPECT_EQ(Shown(Entry(2)), QString::fromUtf8("Schöne ★ Welt"));

    Search("L'Pool");
    EXPECT_EQ(Selected(), "Made in L'Pool");
    EXPECT_EQ(Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName")->text(), "Made in L'Pool");
    Search("test a&b", false, true); // whole match, A-Z folded
    EXPECT_EQ(Selected(), "Test A&B");
    Search(QString::fromUtf8("SCHÖNE ★")); // the umlaut folds like the code page
    EXPECT_EQ(Selected(), QString::fromUtf8("Schöne ★ Welt"));
    // The bytes of an entity are nothing the user sees.
    for (const char* hidden : {"amp", "apos", "#246"}) {
        dialogs.Messages.clear();
        Search(QString::fromLatin1(hidden));
        ASSERT_EQ(dialogs.Messages.size(), 1) << hidden;
        EXPECT_EQ(dialogs.Messages[0].Text, "Der Suchstring wurde nicht gefunden!");
    }

    // A typed name with characters the file must escape reads back as typed
    // and is found as typed.
    win->SelectBouquetNode(Entry(1));
    QLineEdit* name = Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Tom & \"Jerry\""));
    EXPECT_EQ(Entry(1)->Data()->Caption, "Tom &amp; &quot;Jerry&quot;");
    EXPECT_EQ(Shown(Entry(1)), "Tom & \"Jerry\"");
    Search("tom & \"jerry\"", false, true);
    EXPECT_EQ(Selected(), "Tom & \"Jerry\"");

    // The jump's box names the entry as shown; boxes show it as plain text.
    dialogs.Messages.clear();
    win->SelectBouquetNode(Entry(3));
    win->Doc().VTS.ForEach([](PSNode n) { // the service goes away
        if (n->Data() && n->Data()->Channel && n->Data()->Channel->ServiceId == 4)
            n->Data()->Channel->ServiceId = 0x99;
    });
    Find<QPushButton>(BouquetRPanel(*win), "BttnGotoService")->click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].Text.contains("\"<i>kursiv</i>\""));
    bool plain = false;
    QTimer::singleShot(0, [&plain] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            plain = box->textFormat() == Qt::PlainText && box->text() == "<i>kursiv</i>";
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->done(0);
            if (box->isVisible())
                box->done(0);
        }
    });
    TQtDialogs().Message(win.get(), TMsgKind::Information, QStringLiteral("<i>kursiv</i>"));
    EXPECT_TRUE(plain);
}

TEST_F(UserPathTest, EntriesWithoutServiceComeInOneBox) {
    Open(Bouquets(35));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    const QString text = dialogs.Messages[0].Text;
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);
    EXPECT_TRUE(text.startsWith("35 Channels haben keinen gültigen Service:")) << text.toStdString();
    EXPECT_TRUE(text.contains("Bouquet \"Favoriten\": \"Weg & 1\""));
    EXPECT_TRUE(text.contains("\"Weg & 30\""));
    EXPECT_FALSE(text.contains("\"Weg & 31\""));
    EXPECT_TRUE(text.endsWith("… und 5 weitere"));
    // A single one keeps its own box.
    dialogs.Messages.clear();
    Open(Bouquets(1));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text,
              "Der Channel :\"Weg & 1\"\rim Bouquet \"Favoriten\" hat keinen gültigen Service!\"");
}

TEST_F(UserPathTest, UndoAndRedoByKeyActOnTheListsAndTrackTheSavedState) {
    Open(Bouquets());
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    PBNode favoriten = win->Doc().VTB.GetFirst()->Child(0);
    win->SelectBouquetNode(favoriten);
    QLineEdit* name = Find<QLineEdit>(BouquetRPanel(*win), "EBBouquetName");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Neu"));
    EXPECT_EQ(favoriten->Data()->Caption, "Neu");
    EXPECT_EQ(StatPanel(*win, 1)->text(), "Geändert");

    // Ctrl+Z in the field: the list's step, not the field's own undo; back
    // at the loaded state "Geändert" goes.
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(favoriten->Data()->Caption, "Favoriten");
    EXPECT_EQ(name->text(), "Favoriten");
    EXPECT_FALSE(win->Modified());
    EXPECT_EQ(StatPanel(*win, 1)->text(), "");
    EXPECT_TRUE(editing->Editor.CanRedo()); // nothing recorded a new rename

    // Ctrl+Y on the Services page: the Bouquets page comes up with the step.
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetServices"));
    QTest::keyClick(VTS(*win), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Pages(*win)->currentWidget(), Find<QWidget>(win.get(), "SheetBouquets"));
    EXPECT_EQ(favoriten->Data()->Caption, "Neu");
    EXPECT_EQ(Selected(), "Neu");
    EXPECT_TRUE(win->Modified());

    // Saved here: an undo leaves the saved state, a redo returns to it.
    dialogs.Files.push_back(dir.filePath("saved/bouquets.xml"));
    QDir(dir.path()).mkpath("saved");
    Action(*win, "MenuSaveAs")->trigger();
    EXPECT_FALSE(win->Modified());
    QTest::keyClick(VTB(*win), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(win->Modified());
    QTest::keyClick(VTB(*win), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(win->Modified());
    EXPECT_EQ(StatPanel(*win, 1)->text(), "");

    // The field's menu offers no undo of its own.
    auto offersUndo = [](QMenu* m) {
        for (QAction* a : m->actions())
            if (a->text().startsWith(QString::fromUtf8("&Rückgängig")) ||
                a->text().startsWith(QStringLiteral("Wieder&herstellen")))
                return true;
        return false;
    };
    std::unique_ptr<QMenu> menu(name->createStandardContextMenu());
    EXPECT_TRUE(offersUndo(menu.get())); // Qt's menu has it ...
    bool offered = true;
    QTimer::singleShot(0, [&offered, &offersUndo] {
        if (auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offered = offersUndo(shown) || shown->actions().size() < 5;
            shown->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), name->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(name, &event); // ... the field's does not
    EXPECT_FALSE(offered);
}

TEST_F(UserPathTest, NameFieldsTakeLongNames) {
    QByteArray bouquets = Bouquets();
    const QByteArray longName(40000, 'x');
    bouquets.replace("Favoriten", longName);
    Open(bouquets);
    win->SelectBouquetNode(win->Doc().VTB.GetFirst()->Child(0));
    EXPECT_EQ(Find<QLineEdit>(BouquetRPanel(*win), "EBBouquetName")->text().size(), 40000);
    QTest::keyClick(Find<QLineEdit>(BouquetRPanel(*win), "EBBouquetName"), Qt::Key_End);
    QTest::keyClicks(Find<QLineEdit>(BouquetRPanel(*win), "EBBouquetName"), QStringLiteral("y"));
    EXPECT_EQ(win->Doc().VTB.GetFirst()->Child(0)->Data()->Caption.size(), 40001u);
}

TEST_F(UserPathTest, InfoPanelsKeepTheirRowsAtTheSmallestWindow) {
    Open(Bouquets());
    win->resize(win->minimumSize());
    win->SelectBouquetNode(Entry(0));
    QApplication::processEvents();
    // Every row gets at least the height it asks for; the column scrolls.
    for (QWidget* panel :
         {static_cast<QWidget*>(BouquetRPanel(*win)), static_cast<QWidget*>(ServicesRPanel(*win))})
        EXPECT_GE(panel->height(), panel->minimumSizeHint().height()) << panel->objectName().toStdString();
    // The channel's name row and the row below it do not overlap.
    QWidget* name = Find<QLineEdit>(BouquetRPanel(*win), "EBChannelName");
    QWidget* onid = Find<QLabel>(BouquetRPanel(*win), "LBChannelOnID");
    const QRect nameAt(name->mapTo(BouquetRPanel(*win), QPoint(0, 0)), name->size());
    const QRect onidAt(onid->mapTo(BouquetRPanel(*win), QPoint(0, 0)), onid->size());
    EXPECT_LE(nameAt.bottom(), onidAt.top());
}

TEST_F(UserPathTest, PoolStaysWithTheWindowAndComesBackWithF9) {
    Open(Bouquets());
    EXPECT_TRUE(pool->windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(pool->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(pool->parentWidget(), win.get());
    Action(*win, "MenuServicepool")->trigger();
    EXPECT_TRUE(pool->isVisible());
    pool->showMinimized();
    Action(*win, "MenuServicepool")->trigger(); // a minimised pool comes back
    EXPECT_TRUE(pool->ShownToUser());
    EXPECT_TRUE(Action(*win, "MenuServicepool")->isChecked());
    // F9 with the pool in front hides it.
    pool->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pool.get()));
    QTest::keyClick(pool->View(), Qt::Key_F9);
    EXPECT_FALSE(pool->isVisible());
    EXPECT_FALSE(Action(*win, "MenuServicepool")->isChecked());

    // A refused "&Beenden" leaves the pool's section alone afterwards.
    Action(*win, "MenuServicepool")->trigger();
    EXPECT_FALSE(pool->Store()->Active);
    win->SetModified(true);
    dialogs.Answers.push_back(TAnswer::No);
    Action(*win, "Beenden1")->trigger();
    EXPECT_TRUE(win->isVisible());
    EXPECT_FALSE(pool->Store()->Active);
    win->SetModified(false);
}

TEST(PoolSorting, IsStableSoAnEarlierSortStaysWithinEqualRows) {
    TListDocument doc;
    const std::string services =
        "<XANTU>\n"
        "<sat name=\"B\" diseqc=\"0\" position=\"1\">\n"
        "<transponder id=\"1\" onid=\"1\" frequency=\"1\" symbol_rate=\"1\" "
        "fec_inner=\"1\" polarization=\"0\">\n"
        "<channel service_id=\"1\" name=\"d\" service_type=\"01\" channel_nr=\"0\"/>\n"
        "<channel service_id=\"2\" name=\"a\" service_type=\"01\" channel_nr=\"0\"/>\n"
        "</transponder>\n</sat>\n"
        "<sat name=\"A\" diseqc=\"0\" position=\"2\">\n"
        "<transponder id=\"2\" onid=\"1\" frequency=\"1\" symbol_rate=\"1\" "
        "fec_inner=\"1\" polarization=\"0\">\n"
        "<channel service_id=\"3\" name=\"c\" service_type=\"01\" channel_nr=\"0\"/>\n"
        "<channel service_id=\"4\" name=\"b\" service_type=\"01\" channel_nr=\"0\"/>\n"
        "</transponder>\n</sat>\n</XANTU>";
    doc.LoadServices(services);
    TServicePoolModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Fill(doc.VTS);
    model.SetClassFilter(true, true, true);
    auto names = [&] {
        QStringList out;
        for (int r = 0; r < model.rowCount(); ++r)
            out << model.index(r, PoolColName).data().toString();
        return out;
    };
    model.Sort(PoolColName, Qt::AscendingOrder);
    model.Sort(PoolColSatelit, Qt::AscendingOrder);
    EXPECT_EQ(names(), QStringList({"b", "c", "a", "d"}));
    model.Sort(PoolColName, Qt::DescendingOrder);
    model.Sort(PoolColSatelit, Qt::DescendingOrder);
    EXPECT_EQ(names(), QStringList({"d", "a", "c", "b"}));
}

TEST(GermanDialogs, OpenDialogSpeaksGermanAndFindsThePresetFile) {
    ASSERT_TRUE(TApplication::InstallGermanQtTexts());
    QTemporaryDir dir;
    WriteAll(dir.filePath("bouquets.xml"), "x");
    TFileDialogSetup setup;
    setup.Title = QStringLiteral("Bouquet und Services öffnen ...");
    setup.Filter = QStringLiteral("XML Dateien (*.xml)");
    setup.Folder = dir.path();
    setup.FileName = QStringLiteral("bouquets");
    setup.DefaultSuffix = QStringLiteral("xml");
    setup.MustExist = true;
    std::unique_ptr<QFileDialog> dlg(MakeFileDialog(nullptr, setup, false));
    dlg->show();
    auto* buttons = dlg->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "Abbrechen");
    auto* fileName = dlg->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(fileName, nullptr);
    EXPECT_EQ(fileName->text(), "bouquets");
    QTest::keyClick(fileName, Qt::Key_Return); // the user accepts the preset
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->selectedFiles(), QStringList{dir.filePath("bouquets.xml")});
}

TEST(SettingsFile, ValuesCannotInjectKeysAndKeepTheirBlanks) {
    TIniFile ini;
    ini.SetValue("Main", "LocalPath", "/tmp/evil\nBoxIP=10.66.66.66/");
    ini.SetValue("Main", "BoxPass", " geheim ");
    ini.SetValue("Main", "BoxUser", "\"root\"");
    ini.SetValue("Main", "BoxBouqDir", "C:\\box\\dir");
    const QByteArray text = ini.Text();
    EXPECT_EQ(text.count('\n'), 5); // the section line and four keys, nothing more
    EXPECT_FALSE(text.contains("\nBoxIP="));
    TIniFile back;
    back.Parse(text);
    EXPECT_FALSE(back.Has("Main", "BoxIP"));
    EXPECT_EQ(back.Value("Main", "LocalPath"), "/tmp/evil\nBoxIP=10.66.66.66/");
    EXPECT_EQ(back.Value("Main", "BoxPass"), " geheim ");
    EXPECT_EQ(back.Value("Main", "BoxUser"), "\"root\"");
    EXPECT_EQ(back.Value("Main", "BoxBouqDir"), "C:\\box\\dir"); // unquoted: backslashes as they are
    // Blanks a hand edit left around a value are not part of it.
    back.Parse("[Main]\nBoxIP = 192.168.0.1  \nBoxUser=\tadmin\n");
    EXPECT_EQ(back.Value("Main", "BoxIP"), "192.168.0.1");
    EXPECT_EQ(back.Value("Main", "BoxUser"), "admin");
}

TEST(SettingsFile, TheConfigFolderCopyStartsFromTheOneBesideTheProgram) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString mine = config.filePath("XantuEditor/Settings.ini");
    const QString beside = QCoreApplication::applicationDirPath() + "/Settings.ini";
    ASSERT_FALSE(QFile::exists(beside)) << "a settings file beside the test program is in the way";
    EXPECT_EQ(TFormStore::FallbackSourceFor(mine), QString()); // nothing shipped
    WriteAll(beside, "[Main]\nBoxIP=10.1.2.3\n");
    EXPECT_EQ(TFormStore::FallbackSourceFor(mine), beside);
    EXPECT_EQ(TFormStore::FallbackSourceFor(config.filePath("other.ini")), QString());
    {
        QWidget w;
        TFormStore store(&w, "Main");
        store.SetIniFileName(mine);
        store.RestoreOnFirstShow();
        EXPECT_EQ(store.ReadString("BoxIP", "x"), "10.1.2.3"); // the shipped default is honoured
        store.WriteString("BoxUser", "admin");
        store.SaveIfAllowed(); // ... and the user's copy is written
    }
    QFile::remove(beside);
    TIniFile written;
    ASSERT_TRUE(written.Load(mine));
    EXPECT_EQ(written.Value("Main", "BoxIP"), "10.1.2.3");
    EXPECT_EQ(written.Value("Main", "BoxUser"), "admin");
    // From now on the user's copy is read, not the default.
    QWidget w;
    TFormStore again(&w, "Main");
    again.SetIniFileName(mine);
    again.RestoreOnFirstShow();
    EXPECT_EQ(again.ReadString("BoxUser", "x"), "admin");
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsReportedOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/Settings.ini");
    QWidget a, b;
    TFormStore main(&a, "Main"), other(&b, "ServicePool");
    QStringList reported;
    for (TFormStore* s : {&main, &other}) {
        s->SetIniFileName(path);
        s->OnWriteFailed = [&reported](const QString& p) { reported << p; };
        s->RestoreOnFirstShow();
        s->SaveIfAllowed();
    }
    main.SaveIfAllowed();
    EXPECT_EQ(reported, QStringList{path});
}

} // namespace

namespace {
// The program installs Qt's German texts before any window; so do these tests.
class GermanQtTexts : public ::testing::Environment {
  public:
    void SetUp() override { xantu::TApplication::InstallGermanQtTexts(); }
};
const auto* const kGermanQtTexts = ::testing::AddGlobalTestEnvironment(new GermanQtTexts);
} // namespace
