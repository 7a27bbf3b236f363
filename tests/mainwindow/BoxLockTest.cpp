// While the window waits on the box (a load or a send against a scripted box
// that keeps silent for a while), the user tries every way of changing the
// lists; none gets through, and everything works again afterwards.
#include "FakeBox.h"
#include "WindowTestKit.h"
#include "core/FileIO.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainBox.h"
#include "mainwindow/MainEditing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace xantu;
using namespace xantu::test;

namespace {

QByteArray CableExample(const char* name) {
    std::string text;
    ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/cable/" + name, text);
    return QByteArray::fromStdString(text);
}

TBoxBehaviour SlowBox() {
    TBoxBehaviour b;
    b.SilenceMs = 400; // before each file's data moves
    return b;
}

class BoxLockTest : public TWindowTest {
  protected:
    void SetUp() override {
        box.Put("/var/pelmar/config/xantu/services.xml", CableExample("services.xml"));
        box.Put("/var/pelmar/config/xantu/bouquets.xml", CableExample("bouquets.xml"));
        TWindowTest::SetUp();
        // Keys reach the tree as the user's would: window active, tree focused.
        QApplication::setActiveWindow(win.get());
        VTB(*win)->setFocus();
        SetBoxIP(*win, QStringLiteral("127.0.0.1"));
        win->Box().Transfer.Port = box.Port();
        win->Box().Backups = TBackupStore(dir.filePath("backups"));
        editing = &win->Editing();
    }

    void Load() {
        Action(*win, "MenuLoadBouquetFTP")->trigger();
        ASSERT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("XML Struktur geladen"));
        dialogs.Messages.clear();
    }

    // The commands and fields that change the lists, with whether each is
    // enabled now.
    std::vector<std::pair<std::string, bool>> EditingControls() const {
        TBouquetInfo* p = BouquetRPanel(*win);
        return {{"MenuNewBouquet", Action(*win, "MenuNewBouquet")->isEnabled()},
                {"MenuNewBouquet2", Action(*win, "MenuNewBouquet2")->isEnabled()},
                {"BttnNewBouquet", Action(*win, "BttnNewBouquet")->isEnabled()},
                {"MenuDeleteSelection", Action(*win, "MenuDeleteSelection")->isEnabled()},
                {"MenuDeleteSelection2", Action(*win, "MenuDeleteSelection2")->isEnabled()},
                {"BttnDeleteSelection", Action(*win, "BttnDeleteSelection")->isEnabled()},
                {"MenuCopyMove", Action(*win, "MenuCopyMove")->isEnabled()},
                {"PanelCopyMove", PanelCopyMove(*win)->isEnabled()},
                {"MenuUndo", editing->MenuUndo->isEnabled()},
                {"VTB drops", VTB(*win)->acceptDrops()},
                {"VTB drags", VTB(*win)->dragEnabled()},
                {"EBBouquetName", Find<QLineEdit>(p, "EBBouquetName")->isEnabled()},
                {"EBBouquetHidden", Find<QCheckBox>(p, "EBBouquetHidden")->isEnabled()},
                {"EBBouquetLocked", Find<QCheckBox>(p, "EBBouquetLocked")->isEnabled()},
                {"EBChannelName", Find<QLineEdit>(p, "EBChannelName")->isEnabled()}};
    }
    static void ExpectAll(const std::vector<std::pair<std::string, bool>>& controls, bool enabled) {
        for (const auto& [name, on] : controls)
            EXPECT_EQ(on, enabled) << name;
    }

    // Everything the user could try on the window to change the lists.
    void TryEverything() {
        TBouquetInfo* p = BouquetRPanel(*win);
        PBNode root = win->Doc().VTB.GetFirst();
        VTB(*win)->setFocus();
        QTest::keyClick(VTB(*win), Qt::Key_Delete);
        QTest::keyClick(VTB(*win), Qt::Key_Insert);
        QTest::keyClick(win.get(), Qt::Key_F5);
        QTest::mouseClick(PanelCopyMove(*win), Qt::LeftButton);
        QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClicks(Find<QLineEdit>(p, "EBBouquetName"), "xyz");
        QTest::keyClicks(Find<QLineEdit>(p, "EBChannelName"), "xyz");
        QTest::mouseClick(Find<QCheckBox>(p, "EBBouquetHidden"), Qt::LeftButton);
        QTest::mouseClick(Find<QCheckBox>(p, "EBBouquetLocked"), Qt::LeftButton);
        Action(*win, "MenuNewBouquet")->trigger();
        Action(*win, "BttnDeleteSelection")->trigger();
        if (root && root->ChildCount() > 1)
            emit VTB(*win)->NodesDropped(VTBModel(*win)->IndexOf(root->Child(1)), TDropPosition::On, false);
    }

    TFakeBox box{SlowBox()};
    TMainEditing* editing = nullptr;
};

TEST_F(BoxLockTest, NothingChangesTheListsWhileASendWaitsOnTheBox) {
    Load();
    // One change before the send: it goes to the box with it.
    Action(*win, "MenuNewBouquet")->trigger();
    ASSERT_TRUE(win->Modified());
    PBNode entry = win->Doc().VTB.GetFirst()->Child(1)->Child(0);
    win->SelectBouquetNode(entry);
    const std::string sent = win->Doc().SaveBouquets();
    ExpectAll(EditingControls(), true);

    bool during = false;
    QTimer::singleShot(150, win.get(), [&] {
        during = true;
        ExpectAll(EditingControls(), false);
        TryEverything();
        EXPECT_EQ(win->Doc().SaveBouquets(), sent);
        EXPECT_FALSE(win->CopyMode());
    });
    Action(*win, "MenuSaveBouquetFTP")->trigger();
    ASSERT_TRUE(during);
    EXPECT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("FTP zur Box komplett"));
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/bouquets.xml").toStdString(), sent);
    EXPECT_EQ(win->Doc().SaveBouquets(), sent);
    EXPECT_FALSE(win->Modified());
    // The only box was the send's own success message: no delete question.
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);

    // Afterwards all of it works again, the entry's name field included.
    ExpectAll(EditingControls(), true);
    const std::size_t bouquets = win->Doc().VTB.GetFirst()->ChildCount();
    VTB(*win)->setFocus();
    QTest::keyClick(VTB(*win), Qt::Key_Insert);
    EXPECT_EQ(win->Doc().VTB.GetFirst()->ChildCount(), bouquets + 1);
    EXPECT_TRUE(win->Modified());
}

TEST_F(BoxLockTest, AChangeThatReachesTheListsDuringASendStaysUnsaved) {
    Load();
    const std::string sent = win->Doc().SaveBouquets();
    // A change by a way the disabled controls do not cover.
    QTimer::singleShot(150, win.get(), [&] { editing->Editor.NewBouquet(); });
    Action(*win, "MenuSaveBouquetFTP")->trigger();
    EXPECT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("FTP zur Box komplett"));
    EXPECT_EQ(box.Get("/var/pelmar/config/xantu/bouquets.xml").toStdString(), sent);
    EXPECT_NE(win->Doc().SaveBouquets(), sent);
    EXPECT_TRUE(win->Modified());
    EXPECT_EQ(StatPanel(*win, 1)->text(), QStringLiteral("Geändert"));

    // So closing still asks.
    dialogs.Messages.clear();
    dialogs.Answers.push_back(TAnswer::No);
    win->close();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Confirmation);
    EXPECT_TRUE(win->isVisible());
}

TEST_F(BoxLockTest, TheLockHoldsThroughALoadAndEndsWithIt) {
    Load();
    bool during = false;
    QTimer::singleShot(150, win.get(), [&] {
        during = true;
        EXPECT_TRUE(win->ListsLocked());
        EXPECT_FALSE(Action(*win, "MenuNewBouquet")->isEnabled());
        EXPECT_FALSE(VTB(*win)->acceptDrops());
        TryEverything();
    });
    Action(*win, "MenuLoadBouquetFTP")->trigger();
    ASSERT_TRUE(during);
    EXPECT_EQ(StatPanel(*win, 0)->text(), QStringLiteral("XML Struktur geladen"));
    EXPECT_FALSE(win->ListsLocked());
    EXPECT_FALSE(win->Modified());
    EXPECT_EQ(win->Doc().VTB.GetFirst()->ChildCount(), 3u);
    EXPECT_TRUE(Action(*win, "MenuNewBouquet")->isEnabled());
    EXPECT_TRUE(VTB(*win)->acceptDrops());
}

} // namespace
