// The box commands of the real main window against a scripted box on
// loopback: load, send, the settings dialog, and the backups they keep.
#include "FakeBox.h"
#include "WindowTestKit.h"
#include "box/BasicSettings.h"
#include "core/FileIO.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;
using namespace xantu::test;

namespace {

QByteArray CableFile(const char* name) {
    std::string text;
    ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/cable/" + name, text);
    return QByteArray::fromStdString(text);
}

class BoxWindowTest : public TWindowTest {
  protected:
    void SetUp() override {
        box.Put("/var/pelmar/config/xantu/services.xml", CableFile("services.xml"));
        box.Put("/var/pelmar/config/xantu/bouquets.xml", CableFile("bouquets.xml"));
        TWindowTest::SetUp();
        SetBoxIP(*win, QStringLiteral("127.0.0.1"));
        win->Box().Transfer.Port = box.Port();
        win->Box().Backups = TBackupStore(dir.filePath("backups"));
    }

    TFakeBox box;
};

} // namespace

TEST_F(BoxWindowTest, LoadsFromTheBoxAndSendsTheEditedListsBack) {
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    ASSERT_EQ(Status(), QStringLiteral("XML Struktur geladen")) << dialogs.Messages.size();
    EXPECT_EQ(win->windowTitle(), QStringLiteral("XantuEditor [Kabel-Box]"));
    EXPECT_EQ(win->Doc().VTB.GetFirst()->ChildCount(), 3u);
    EXPECT_FALSE(win->Modified());
    // Every pair fetched is kept as it came.
    ASSERT_EQ(win->Box().Backups.Folders().size(), 1);
    EXPECT_TRUE(win->Box().Backups.Folders().first().endsWith(QStringLiteral("fetched")));

    win->SetModified(true);
    Action(*win, "MenuSaveBouquetFTP")->trigger();
    EXPECT_FALSE(win->Modified());
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/bouquets.xml").toStdString(), win->Doc().SaveBouquets());
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/services.xml").toStdString(), win->Doc().SaveServices());
    // What the box held before the send, then what it took.
    EXPECT_EQ(win->Box().Backups.Folders().size(), 3);
    // The commands are usable again once the transfer ended.
    EXPECT_TRUE(Action(*win, "MenuOpen")->isEnabled());
    EXPECT_TRUE(Action(*win, "MenuLoadBouquetFTP")->isEnabled());
}

TEST_F(BoxWindowTest, AsksBeforeALoadDiscardsChanges) {
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    win->SetModified(true);
    const int connections = box.Connections();
    dialogs.Answers.push_back(TAnswer::No);
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(box.Connections(), connections);
    ASSERT_FALSE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Confirmation);
}

TEST_F(BoxWindowTest, SendingWithoutListsIsRefusedByTheGuard) {
    Action(*win, "MenuSaveBouquetFTP")->trigger();
    ASSERT_FALSE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Messages.last().Text,
              QStringLiteral("Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ..."));
    EXPECT_EQ(box.Connections(), 0);
}

TEST_F(BoxWindowTest, SettingsDialogCopiesValuesOnlyOnOk) {
    win->Box().SettingsExec = [](TBasicSettings& dlg) {
        dlg.EBoxIP->setText(QStringLiteral(" box.local "));
        dlg.EBoxUser->setText(QStringLiteral("admin"));
        dlg.CBInfoChwoSrv->setChecked(false);
        return static_cast<int>(QDialog::Rejected);
    };
    Action(*win, "Basiseinstellungen1")->trigger();
    EXPECT_EQ(win->BoxSettings().BoxIP, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(win->Doc().Info_ChannelWithoutService);

    win->Box().SettingsExec = [](TBasicSettings& dlg) {
        EXPECT_EQ(dlg.EBoxIP->text(), QStringLiteral("127.0.0.1"));
        dlg.EBoxIP->setText(QStringLiteral(" box.local "));
        dlg.EBoxUser->setText(QStringLiteral("admin"));
        dlg.CBInfoChwoSrv->setChecked(false);
        return static_cast<int>(QDialog::Accepted);
    };
    Action(*win, "Basiseinstellungen1")->trigger();
    EXPECT_EQ(win->BoxSettings().BoxIP, QStringLiteral(" box.local ")); // exactly as typed
    EXPECT_EQ(win->BoxSettings().BoxUser, QStringLiteral("admin"));
    EXPECT_FALSE(win->Doc().Info_ChannelWithoutService);
}

TEST_F(BoxWindowTest, ALocalSaveKeepsThePairItReplaces) {
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    const QString target = dir.filePath(QStringLiteral("out/bouquets.xml"));
    WriteWholeFile(target.toStdString(), "old bouquets");
    dialogs.Files.push_back(target);
    Action(*win, "MenuSaveAs")->trigger();
    const QStringList folders = win->Box().Backups.Folders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_TRUE(folders.last().endsWith(QStringLiteral("local")));
    std::string kept;
    const QString folder = win->Box().Backups.Root() + QLatin1Char('/') + folders.last();
    ASSERT_TRUE(ReadWholeFile((folder + QStringLiteral("/bouquets.xml")).toStdString(), kept));
    EXPECT_EQ(kept, "old bouquets");
}

TEST_F(BoxWindowTest, ABackupOpensLikeALocalOpenButCountsAsChanged) {
    // Nothing kept yet: said so, nothing else happens.
    Action(*win, "MenuOpenBackup")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages.last().Text, QStringLiteral("Es gibt noch keine Sicherungen."));
    EXPECT_TRUE(dialogs.BackupLists.isEmpty());

    Action(*win, "MenuLoadBouquetFTP")->trigger();
    const std::string held = win->Doc().SaveBouquets();
    // Rename a bouquet and send: the box state before is kept as "box".
    PBNode first = win->Doc().VTB.GetFirst()->FirstChild();
    first->Data()->Bouquet->Name = "Umbenannt";
    win->SetModified(true);
    Action(*win, "MenuSaveBouquetFTP")->trigger();
    ASSERT_FALSE(win->Modified());
    const QString localPath = win->LocalPath();

    // Cancelled: the lists stay as they are.
    Action(*win, "MenuOpenBackup")->trigger();
    ASSERT_EQ(dialogs.BackupLists.size(), 1);
    const QList<TBackupRow> rows = dialogs.BackupLists.last();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].Kind, QStringLiteral("zur Box übertragen"));
    EXPECT_EQ(rows[1].Kind, QStringLiteral("Box vor dem Übertragen"));
    EXPECT_EQ(rows[2].Kind, QStringLiteral("von der Box geladen"));
    EXPECT_EQ(rows[1].Bouquets, QStringLiteral("2"));
    EXPECT_EQ(rows[1].Services, QStringLiteral("5"));
    EXPECT_TRUE(QDateTime::fromString(rows[0].When, QStringLiteral("dd.MM.yyyy HH:mm:ss")).isValid());
    EXPECT_NE(win->Doc().SaveBouquets(), held);
    EXPECT_FALSE(win->Modified());

    // The state the box held before the send comes back, marked as changed.
    dialogs.BackupChoices.push_back(1);
    Action(*win, "MenuOpenBackup")->trigger();
    EXPECT_EQ(win->Doc().SaveBouquets(), held);
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(Status(), QStringLiteral("XML Struktur geladen"));
    EXPECT_EQ(win->LocalPath(), localPath);

    // With changes it asks first; No keeps them.
    const int shown = dialogs.BackupLists.size();
    dialogs.Answers.push_back(TAnswer::No);
    Action(*win, "MenuOpenBackup")->trigger();
    EXPECT_EQ(dialogs.BackupLists.size(), shown);
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Confirmation);
}

// The dialog itself: first row preselected, a click picks a row, Open and a
// double click accept, Cancel answers -1; run modally it ends on a click.
TEST(BackupDlg, PicksTheClickedRow) {
    const QList<TBackupRow> rows = {{"08.12.2026 21:00:00", "zur Box übertragen", "3", "9"},
                                    {"08.12.2026 20:00:00", "Box vor dem Übertragen", "2", "5"},
                                    {"07.12.2026 10:00:00", "von der Box geladen", "-", "5"}};
    {
        TBackupDlg dlg(rows);
        dlg.show();
        EXPECT_EQ(dlg.List->topLevelItemCount(), 3);
        EXPECT_EQ(dlg.Chosen(), 0);
        QWidget* viewport = dlg.List->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          dlg.List->visualItemRect(dlg.List->topLevelItem(2)).center());
        EXPECT_EQ(dlg.Chosen(), 2);
        QTest::mouseClick(dlg.BttnOpen, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    {
        TBackupDlg dlg(rows);
        dlg.show();
        const QPoint at = dlg.List->visualItemRect(dlg.List->topLevelItem(1)).center();
        // A double click is a press and release, then the second press.
        QTest::mouseClick(dlg.List->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dlg.List->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Chosen(), 1);
    }
    TQtDialogs real;
    for (const char* button : {"BttnOpen", "BttnCancel"}) {
        QTimer::singleShot(50, [button] {
            auto* dlg = qobject_cast<TBackupDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            QTest::mouseClick(dlg->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        EXPECT_EQ(real.ChooseBackup(nullptr, rows), std::string(button) == "BttnOpen" ? 0 : -1);
    }
    // Nothing to choose: Open cannot be pressed.
    TBackupDlg empty({});
    EXPECT_FALSE(empty.BttnOpen->isEnabled());
}

// The time-out ends a silent transfer while a modal dialog of the program
// is open, not only once it is closed.
TEST(BoxWindowModal, SilentBoxTimesOutUnderAModalDialog) {
    TFakeBox slow({.SilenceMs = 4000});
    slow.Put("/var/pelmar/config/xantu/services.xml", CableFile("services.xml"));
    slow.Put("/var/pelmar/config/xantu/bouquets.xml", CableFile("bouquets.xml"));
    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    TMain win(dialogs, options);
    win.show();
    SetBoxIP(win, QStringLiteral("127.0.0.1"));
    win.Box().Transfer.Port = slow.Port();
    win.Box().Backups = TBackupStore(dir.filePath("backups"));
    bool busyAtClose = true;
    bool connectedAtClose = true;
    QTimer::singleShot(100, &win, [&] {
        QDialog modal(&win);
        QTimer::singleShot(2800, &modal, [&] {
            busyAtClose = win.Box().Transfer.Client().Busy();
            connectedAtClose = win.Box().Transfer.Client().Connected();
            modal.accept();
        });
        modal.exec();
    });
    Action(win, "MenuLoadBouquetFTP")->trigger();
    EXPECT_FALSE(busyAtClose);
    EXPECT_FALSE(connectedAtClose);
    EXPECT_EQ(StatPanel(win, 0)->text(), QStringLiteral("FTP-Transfer fehlgeschlagen"));
    EXPECT_TRUE(Action(win, "MenuLoadBouquetFTP")->isEnabled());
}
