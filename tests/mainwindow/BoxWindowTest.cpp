// The box commands of the real main window against a scripted box on
// loopback: load, send, the settings dialog, and the backups they keep.
#include "FakeBox.h"
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
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;
using namespace xantu::test;

namespace {

QByteArray Example(const char* name) {
    std::string text;
    ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/cable/" + name, text);
    return QByteArray::fromStdString(text);
}

class BoxWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        box.Put("/var/pelmar/config/xantu/services.xml", Example("services.xml"));
        box.Put("/var/pelmar/config/xantu/bouquets.xml", Example("bouquets.xml"));
        TMainOptions options;
        options.IniFileName = dir.filePath("Settings.ini");
        win = std::make_unique<TMain>(dialogs, options);
        win->show();
        win->BoxIP = QStringLiteral("127.0.0.1");
        win->Box().Transfer.Port = box.Port();
        win->Box().Backups = TBackupStore(dir.filePath("backups"));
    }

    QString Status() const { return win->StatPanel[0]->text(); }

    QTemporaryDir dir;
    TFakeBox box;
    TScriptedDialogs dialogs;
    std::unique_ptr<TMain> win;
};

} // namespace

TEST_F(BoxWindowTest, LoadsFromTheBoxAndSendsTheEditedListsBack) {
    win->MenuLoadBouquetFTP->trigger();
    ASSERT_EQ(Status(), QStringLiteral("XML Struktur geladen")) << dialogs.Messages.size();
    EXPECT_EQ(win->windowTitle(), QStringLiteral("XantuEditor [Kabel-Box]"));
    EXPECT_EQ(win->Doc().VTB.GetFirst()->ChildCount(), 3u);
    EXPECT_FALSE(win->Modified());
    // Every pair fetched is kept as it came.
    ASSERT_EQ(win->Box().Backups.Folders().size(), 1);
    EXPECT_TRUE(win->Box().Backups.Folders().first().endsWith(QStringLiteral("fetched")));

    win->SetModified(true);
    win->MenuSaveBouquetFTP->trigger();
    EXPECT_FALSE(win->Modified());
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/bouquets.xml").toStdString(), win->Doc().SaveBouquets());
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/services.xml").toStdString(), win->Doc().SaveServices());
    EXPECT_EQ(win->Box().Backups.Folders().size(), 2);
    // The commands are usable again once the transfer ended.
    EXPECT_TRUE(win->MenuOpen->isEnabled());
    EXPECT_TRUE(win->MenuLoadBouquetFTP->isEnabled());
}

TEST_F(BoxWindowTest, AsksBeforeALoadDiscardsChanges) {
    win->MenuLoadBouquetFTP->trigger();
    win->SetModified(true);
    const int connections = box.Connections();
    dialogs.Answers.push_back(TAnswer::No);
    win->MenuLoadBouquetFTP->trigger();
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(box.Connections(), connections);
    ASSERT_FALSE(dialogs.Messages.isEmpty());
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Confirmation);
}

TEST_F(BoxWindowTest, SendingWithoutListsIsRefusedByTheGuard) {
    win->MenuSaveBouquetFTP->trigger();
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
    win->Basiseinstellungen1->trigger();
    EXPECT_EQ(win->BoxIP, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(win->Doc().Info_ChannelWithoutService);

    win->Box().SettingsExec = [](TBasicSettings& dlg) {
        EXPECT_EQ(dlg.EBoxIP->text(), QStringLiteral("127.0.0.1"));
        dlg.EBoxIP->setText(QStringLiteral(" box.local "));
        dlg.EBoxUser->setText(QStringLiteral("admin"));
        dlg.CBInfoChwoSrv->setChecked(false);
        return static_cast<int>(QDialog::Accepted);
    };
    win->Basiseinstellungen1->trigger();
    EXPECT_EQ(win->BoxIP, QStringLiteral(" box.local ")); // exactly as typed
    EXPECT_EQ(win->BoxUser, QStringLiteral("admin"));
    EXPECT_FALSE(win->Doc().Info_ChannelWithoutService);
}

TEST_F(BoxWindowTest, ALocalSaveKeepsThePairItReplaces) {
    win->MenuLoadBouquetFTP->trigger();
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    const QString target = dir.filePath(QStringLiteral("out/bouquets.xml"));
    WriteWholeFile(target.toStdString(), "old bouquets");
    dialogs.Files.push_back(target);
    win->MenuSaveAs->trigger();
    const QStringList folders = win->Box().Backups.Folders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_TRUE(folders.last().endsWith(QStringLiteral("local")));
    std::string kept;
    const QString folder = win->Box().Backups.Root() + QLatin1Char('/') + folders.last();
    ASSERT_TRUE(ReadWholeFile((folder + QStringLiteral("/bouquets.xml")).toStdString(), kept));
    EXPECT_EQ(kept, "old bouquets");
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
