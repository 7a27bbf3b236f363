// The main window's settings, info column width, satellite position window
// and start-up, headless: every box and file dialog is answered by
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

class WindowSettingsTest : public TWindowTest {};

TEST_F(WindowSettingsTest, ClosingAsksOnChangesAndWritesSettingsOnlyThen) {
    const QString ini = dir.filePath("Settings.ini");
    SetBoxIP(*win, "10.1.2.3");
    Action(*win, "MenuRadio")->trigger();
    EXPECT_FALSE(QFile::exists(ini)); // nothing written before a close

    win->SetModified(true);
    dialogs.Answers.push_back(TAnswer::No);
    Action(*win, "Beenden1")->trigger();
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(dialogs.Messages.last().Text,
              "Am aktuellen Bouquet wurden Änderungen vorgenommen!\rWollen Sie die Anwendung beenden und die "
              "Änderungen verlieren?");
    EXPECT_FALSE(QFile::exists(ini));

    dialogs.Answers.push_back(TAnswer::Yes);
    Action(*win, "BttnBeenden")->trigger();
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
    EXPECT_EQ(win->BoxSettings().BoxIP, "10.1.2.3");
    EXPECT_TRUE(Action(*win, "MenuRadio")->isChecked());
    EXPECT_TRUE(Action(*win, "MenuTV")->isChecked());
    // Without changes, closing never asks.
    dialogs.Messages.clear();
    Open(kExamples + "/cable/bouquets.xml");
    win->close();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

// Every key of section "Main" comes back from the file it was written to;
// keys the file lacks take their defaults, and a flag is on for any
// number but 0 (a hand-edited file), its default for what is no number.
TEST_F(WindowSettingsTest, EveryMainKeyComesBackAndMissingOnesTakeTheirDefaults) {
    TBoxSettings box;
    box.BoxIP = "10.9.8.7";
    box.BoxUser = "admin";
    box.BoxPass = "geheim";
    box.BoxBouqDir = "/tmp/x";
    box.Info_ChannelWithoutService = false;
    win->SetBoxSettings(box);
    EXPECT_FALSE(win->Doc().Info_ChannelWithoutService); // the load sequence's switch follows
    win->SetLocalPath("/home/u/listen/");
    Action(*win, "MenuTV")->trigger();
    Action(*win, "MenuSpezial")->trigger();
    win->close();

    Start();
    const TBoxSettings& back = win->BoxSettings();
    EXPECT_EQ(back.BoxIP, "10.9.8.7");
    EXPECT_EQ(back.BoxUser, "admin");
    EXPECT_EQ(back.BoxPass, "geheim");
    EXPECT_EQ(back.BoxBouqDir, "/tmp/x");
    EXPECT_FALSE(back.Info_ChannelWithoutService);
    EXPECT_FALSE(win->Doc().Info_ChannelWithoutService);
    EXPECT_EQ(win->LocalPath(), "/home/u/listen/");
    EXPECT_FALSE(Action(*win, "MenuTV")->isChecked());
    EXPECT_FALSE(Action(*win, "MenuRadio")->isChecked());
    EXPECT_TRUE(Action(*win, "MenuSpezial")->isChecked());
    win.reset();

    // A file that holds only some keys, some of them hand-edited.
    const QString ini = dir.filePath("Settings.ini");
    TIniFile file;
    file.SetValue("Main", "BoxUser", "ich");
    file.SetValue("Main", "ShowTV", "abc");
    file.SetValue("Main", "ShowRadio", "2");
    file.SetValue("Main", "Info_ChannelWithoutService", "0");
    ASSERT_TRUE(file.Save(ini));
    Start();
    EXPECT_EQ(win->BoxSettings().BoxIP, "192.168.0.100");
    EXPECT_EQ(win->BoxSettings().BoxUser, "ich");
    EXPECT_EQ(win->BoxSettings().BoxPass, "qvex5");
    EXPECT_EQ(win->BoxSettings().BoxBouqDir, "/var/pelmar/config/xantu");
    EXPECT_TRUE(Action(*win, "MenuTV")->isChecked());
    EXPECT_TRUE(Action(*win, "MenuRadio")->isChecked());
    EXPECT_FALSE(Action(*win, "MenuSpezial")->isChecked());
    EXPECT_TRUE(win->LocalPath().isEmpty());
    EXPECT_FALSE(win->Doc().Info_ChannelWithoutService);
    // Written back as numbers, whatever the file held.
    win->close();
    ASSERT_TRUE(file.Load(ini));
    EXPECT_EQ(file.Value("Main", "ShowTV"), "1");
    EXPECT_EQ(file.Value("Main", "ShowRadio"), "1");
    EXPECT_EQ(file.Value("Main", "Info_ChannelWithoutService"), "0");
    EXPECT_EQ(file.Value("Main", "BoxIP"), "192.168.0.100");
}

TEST_F(WindowSettingsTest, InfoColumnsKeepOneWidth) {
    win->resize(900, 600);
    QApplication::processEvents();
    QSplitterHandle* handle = Find<QSplitter>(win.get(), "Splitter2")->handle(1);
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetServices"));
    QApplication::processEvents();
    const int before = ServicesRPanel(*win)->width();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 5));
    QTest::mouseMove(handle, QPoint(-60, 5));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-60, 5));
    const int after = ServicesRPanel(*win)->width();
    EXPECT_GT(after, before);
    EXPECT_EQ(win->InfoColumnWidth(), after);
    EXPECT_EQ(Find<QSplitter>(win.get(), "Splitter1")->sizes().at(1), after);
    // Never narrower than 220 on either side.
    win->SetInfoColumnWidth(100);
    EXPECT_EQ(win->InfoColumnWidth(), 220);
}

TEST_F(WindowSettingsTest, SatellitePositionWindowListsTheLines) {
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
