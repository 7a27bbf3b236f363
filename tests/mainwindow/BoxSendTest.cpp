// The send question with its summary of changes, and the passive-mode
// switch from the settings file through the dialog to the transfer, in the
// real main window against a scripted box on loopback.
#include "FakeBox.h"
#include "WindowTestKit.h"
#include "box/BasicSettings.h"
#include "core/FileIO.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"
#include "mainwindow/NodeTreeModel.h"
#include "mainwindow/TreeViews.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;
using namespace xantu::test;

namespace {

const std::string kDir = "/var/pelmar/config/xantu/";

QByteArray Example(const char* name) {
    std::string text;
    ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/cable/" + name, text);
    return QByteArray::fromStdString(text);
}

QString Asked(const char* changes) {
    return QStringLiteral("Bouquets und Services zur Box übertragen?\r") + QString::fromUtf8(changes);
}

class BoxSendTest : public ::testing::Test {
  protected:
    void Start(TBoxBehaviour behaviour = {}, const QByteArray& ini = {}) {
        box = std::make_unique<TFakeBox>(behaviour);
        box->Put(kDir + "services.xml", Example("services.xml"));
        box->Put(kDir + "bouquets.xml", Example("bouquets.xml"));
        if (!ini.isEmpty())
            WriteWholeFile(dir.filePath("Settings.ini").toStdString(), ini.toStdString());
        TMainOptions options;
        options.IniFileName = dir.filePath("Settings.ini");
        win = std::make_unique<TMain>(dialogs, options);
        win->show();
        QApplication::setActiveWindow(win.get());
        SetBoxIP(*win, QStringLiteral("127.0.0.1"));
        win->Box().Transfer.Port = box->Port();
        win->Box().Backups = TBackupStore(dir.filePath("backups"));
    }

    PBNode Bouquet(const char* caption) const {
        PBNode root = win->Doc().VTB.GetFirst();
        for (std::size_t i = 0; root && i < root->ChildCount(); ++i)
            if (root->Child(i)->Data()->Caption == caption)
                return root->Child(i);
        return nullptr;
    }

    // A click on the node's row, as the user selects it.
    void Click(PBNode node) {
        const QModelIndex i = VTBModel(*win)->IndexOf(node);
        VTB(*win)->scrollTo(i);
        QTest::mouseClick(VTB(*win)->viewport(), Qt::LeftButton, {}, VTB(*win)->visualRect(i).center());
        VTB(*win)->setFocus();
    }

    // Sends with the question answered; the question's text.
    QString Send(TAnswer answer) {
        dialogs.Messages.clear();
        dialogs.Answers.push_back(answer);
        Action(*win, "MenuSaveBouquetFTP")->trigger();
        return dialogs.Messages.isEmpty() ? QString() : dialogs.Messages.first().Text;
    }

    QTemporaryDir dir;
    std::unique_ptr<TFakeBox> box;
    TScriptedDialogs dialogs;
    std::unique_ptr<TMain> win;
};

} // namespace

TEST_F(BoxSendTest, TheQuestionSumsUpWhatChangedSinceTheBoxStateWasKnown) {
    Start();
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    ASSERT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("XML Struktur geladen"));
    EXPECT_EQ(Send(TAnswer::No), Asked("Änderungen: keine."));

    // Rename "Lokal" by typing, delete "Filme" with Del, add one with Ins.
    Click(Bouquet("Lokal"));
    QLineEdit* name = BouquetRPanel(*win)->findChild<QLineEdit*>(QStringLiteral("EBBouquetName"));
    name->selectAll();
    QTest::keyClicks(name, "Nah");
    Click(Bouquet("Filme"));
    dialogs.Answers.push_back(TAnswer::Yes);
    QTest::keyClick(VTB(*win), Qt::Key_Delete);
    ASSERT_EQ(Bouquet("Filme"), nullptr);
    QTest::keyClick(VTB(*win), Qt::Key_Insert);
    ASSERT_TRUE(win->Modified());
    const char* changes = "Änderungen: 1 Bouquet neu, 1 gelöscht, 1 umbenannt, 1 Eintrag entfernt.";

    // No: nothing reaches the box, the changes stay unsaved.
    const int connections = box->Connections();
    const QByteArray held = box->Get(kDir + "bouquets.xml");
    ASSERT_EQ(Send(TAnswer::No), Asked(changes));
    EXPECT_EQ(dialogs.Messages.first().Kind, TMsgKind::Confirmation);
    EXPECT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(box->Connections(), connections);
    EXPECT_EQ(box->Get(kDir + "bouquets.xml"), held);
    EXPECT_TRUE(win->Modified());

    // A local save does not change what the box holds: still the same.
    dialogs.Files.push_back(dir.filePath("bouquets.xml"));
    Action(*win, "MenuSaveAs")->trigger();
    ASSERT_FALSE(win->Modified());
    ASSERT_EQ(Send(TAnswer::Yes), Asked(changes));
    EXPECT_EQ(box->Get(kDir + "bouquets.xml").toStdString(), win->Doc().SaveBouquets());
    EXPECT_EQ(dialogs.Messages.last().Kind, TMsgKind::Information);

    // Sent: measured from there now. Undoing the new bouquet takes away
    // one the box has.
    EXPECT_EQ(Send(TAnswer::No), Asked("Änderungen: keine."));
    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Send(TAnswer::No), Asked("Änderungen: 1 Bouquet gelöscht."));
}

TEST_F(BoxSendTest, PassiveModeComesFromTheSettingsAndReachesTheTransfer) {
    TBoxBehaviour refusesActive;
    refusesActive.RefuseActive = true;
    Start(refusesActive, "[Main]\nBoxPassive=1\n");
    ASSERT_TRUE(win->BoxSettings().BoxPassive);
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    ASSERT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("XML Struktur geladen"));
    EXPECT_EQ(box->PassivePeers().size(), 2u);

    // Switched off in the dialog: this box cannot be reached any more.
    win->Box().SettingsExec = [](TBasicSettings& dlg) {
        EXPECT_TRUE(dlg.CBPassive->isChecked());
        dlg.CBPassive->click();
        return int(QDialog::Accepted);
    };
    Action(*win, "Basiseinstellungen1")->trigger();
    EXPECT_FALSE(win->BoxSettings().BoxPassive);
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    EXPECT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("FTP-Transfer fehlgeschlagen"));

    // The choice is kept in section "Main".
    win->close();
    std::string ini;
    ASSERT_TRUE(ReadWholeFile(dir.filePath("Settings.ini").toStdString(), ini));
    EXPECT_NE(ini.find("BoxPassive=0"), std::string::npos) << ini;
}
