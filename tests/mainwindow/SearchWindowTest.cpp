// The search through the real main window, headless: F3 and F4 run the
// commands, and the search dialog is answered by the test.
#include "WindowTestKit.h"
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

namespace {

const QString kExamples = QStringLiteral(XANTU_EXAMPLES_DIR);

class SearchWindowTest : public TEditingWindowTest {};

TEST_F(SearchWindowTest, SearchRunsThroughTheDialogAndGoesOnWithF4) {
    // Names, no options: the root first, F4 then goes on.
    searchAnswers.push_back({SearchNames, "bou"});
    Action(*win, "MenuSuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Root());
    Action(*win, "MenuWeitersuchen")->trigger();
    EXPECT_EQ(MessageTexts(), QStringList({"Der Suchstring wurde nicht gefunden!"}));
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Root());
    dialogs.Messages.clear();

    // An umlaut, case folded, and a name with an entity as the user sees it.
    searchAnswers.push_back({SearchNames, "süd"});
    Action(*win, "MenuSuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Entry("Favoriten", 1));
    searchAnswers.push_back({SearchNames, "kinder & familie", false, true});
    Action(*win, "MenuSuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Entry("Kinder", 0));

    // The dialog opens with the last parameters.
    EXPECT_EQ(shownDialogs.last(), QStringList({"Bouquet- und Channelnamen", "süd"}));

    // A service id hidden by the view filter (radio is not shown): found,
    // and made visible with its bouquet open.
    PBNode kultur = Entry("Radio", 1);
    searchAnswers.push_back({SearchServiceId, "2f1c"});
    Action(*win, "MenuSuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), kultur);
    const QModelIndex radio = VTBModel(*win)->IndexOf(Bouquet("Radio"));
    EXPECT_FALSE(VTB(*win)->isRowHidden(int(kultur->Index()), radio));
    EXPECT_TRUE(VTB(*win)->isExpanded(radio));
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    // The network id 0001 goes on through the tree with F4, up to the end.
    searchAnswers.push_back({SearchOnId, "1"});
    Action(*win, "MenuSuchen")->trigger();
    QList<PBNode> hits{win->FirstSelectedBouquetNode()};
    for (int i = 0; i < 10 && dialogs.Messages.isEmpty(); ++i) {
        Action(*win, "MenuWeitersuchen")->trigger();
        if (dialogs.Messages.isEmpty())
            hits << win->FirstSelectedBouquetNode();
    }
    EXPECT_EQ(hits, QList<PBNode>({Entry("Favoriten", 0), Entry("Favoriten", 1), Entry("Radio", 0),
                                   Entry("Radio", 1), Entry("Kinder", 0)}));
    ASSERT_EQ(MessageTexts(), QStringList({"Der Suchstring wurde nicht gefunden!"}));
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Information);
    // Off the end: F4 stays silent until the next F3.
    Action(*win, "MenuWeitersuchen")->trigger();
    EXPECT_EQ(dialogs.Messages.size(), 1);

    // Cancel keeps the last search; F4 on the services page does nothing.
    searchAnswers.push_back({SearchNames, "Radio"});
    Action(*win, "MenuSuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Bouquet("Radio"));
    searchAnswers.push_back({SearchNames, "x", false, false, /*Cancel=*/true});
    Action(*win, "MenuSuchen")->trigger();
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetServices"));
    Action(*win, "MenuWeitersuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Bouquet("Radio"));
    Pages(*win)->setCurrentWidget(Find<QWidget>(win.get(), "SheetBouquets"));
    Action(*win, "MenuWeitersuchen")->trigger();
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Entry("Radio", 1)); // "Kultur Radio"
}

TEST_F(SearchWindowTest, SearchRefusalsAndAPositionThatWasDeleted) {
    // The empty text: a confirmation with OK alone; the dialog stays open
    // (the test then closes it with Cancel).
    searchAnswers.push_back({SearchNames, ""});
    Action(*win, "MenuSuchen")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "Der Suchstring darf nicht leer bleiben!");
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Confirmation);
    EXPECT_EQ(dialogs.Messages[0].Buttons, TButtons::OkOnly);
    searchAnswers.push_back({SearchServiceId, "0x6D"});
    Action(*win, "MenuSuchen")->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.Messages[1].Buttons, TButtons::OfKind);

    // The hit's successor is deleted: F4 says nothing and selects nothing.
    dialogs.Messages.clear();
    searchAnswers.push_back({SearchNames, "Nachrichten"});
    Action(*win, "MenuSuchen")->trigger();
    ASSERT_EQ(win->FirstSelectedBouquetNode(), Entry("Favoriten", 1));
    Select({Bouquet("Favoriten")});
    Action(*win, "MenuDeleteSelection")->trigger(); // answered Yes
    EXPECT_EQ(MessageTexts().size(), 1);
    Select({Bouquet("Kinder")});
    Action(*win, "MenuWeitersuchen")->trigger();
    EXPECT_EQ(MessageTexts().size(), 1);
    EXPECT_EQ(win->FirstSelectedBouquetNode(), Bouquet("Kinder"));

    // The same after a load.
    searchAnswers.push_back({SearchNames, "Radio"});
    Action(*win, "MenuSuchen")->trigger();
    dialogs.Answers.push_back(TAnswer::Yes); // lose the changes
    dialogs.Files.push_back(kExamples + "/sat/bouquets.xml");
    Action(*win, "MenuOpen")->trigger();
    dialogs.Messages.clear();
    Action(*win, "MenuWeitersuchen")->trigger();
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_TRUE(win->SelectedBouquetNodes().isEmpty());
}

} // namespace
