#include "EditTestKit.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

TEST(NewBouquet, HeadsTheListEachTimeAndIsSelected) {
    TEditFixture f;
    PBNode first = f.Editor.NewBouquet();
    PBNode second = f.Editor.NewBouquet();
    EXPECT_EQ(Shape(f.Doc), "Neu[] Neu[] Eins[Alpha mine,Beta,Gamma] Zwei[Delta,Epsilon,Ärzte TV] "
                            "Drei[ARD 1,ARD,Beta] andere*[Omega*]");
    EXPECT_EQ(f.Root()->Child(0), second);
    EXPECT_EQ(f.Root()->Child(1), first);
    EXPECT_EQ(f.Host.Selected, std::vector<PBNode>{second});
    EXPECT_TRUE(f.Host.Modified);
    EXPECT_EQ(second->Data()->Bouquet->Name, "Neu");
    EXPECT_FALSE(second->Data()->Bouquet->Hidden || second->Data()->Bouquet->Locked);
}

TEST(NewBouquet, DoesNothingWithoutALoadedList) {
    TListDocument doc;
    TEditRecorder host;
    TBouquetEditor editor(doc, host);
    EXPECT_EQ(editor.NewBouquet(), nullptr);
    EXPECT_FALSE(host.Modified);
    EXPECT_FALSE(editor.CanUndo());
}

TEST(DeleteSelection, RefusesNothingTheRootAndAndere) {
    TEditFixture f;
    const std::string before = FullState(f.Doc);
    EXPECT_FALSE(f.Editor.DeleteSelection({}));
    EXPECT_FALSE(f.Editor.DeleteSelection({f.Root()}));
    EXPECT_TRUE(f.Host.Messages.empty());
    EXPECT_TRUE(f.Host.Questions.empty());

    EXPECT_FALSE(f.Editor.DeleteSelection({f.Bouquet("Eins"), f.Andere()}));
    EXPECT_FALSE(f.Editor.DeleteSelection({f.Andere()->Child(0)}));
    ASSERT_EQ(f.Host.Messages.size(), 2u);
    EXPECT_EQ(f.Host.Messages[0],
              "Fehler: Die Auswahl zum Löschen enthält \"andere\"!\rDas ist nicht erlaubt!");
    EXPECT_TRUE(f.Host.Questions.empty());

    f.Host.Answers = {false};
    EXPECT_FALSE(f.Editor.DeleteSelection({f.Bouquet("Eins")}));
    ASSERT_EQ(f.Host.Questions.size(), 1u);
    EXPECT_EQ(f.Host.Questions[0].substr(0, 41), "Wollen Sie die Auswahl wirklich löschen?");
    EXPECT_EQ(FullState(f.Doc), before);
    EXPECT_FALSE(f.Host.Modified);
    EXPECT_FALSE(f.Editor.CanUndo());
}

TEST(DeleteSelection, RefillsAndereWithLinkedEntriesAndMarksTheListModified) {
    TEditFixture f;
    ASSERT_TRUE(f.Editor.DeleteSelection({f.Bouquet("Zwei")}));
    // Delta and Ärzte TV come back under their service names, in services
    // order after what was there; the special Epsilon is simply gone.
    EXPECT_EQ(Shape(f.Doc),
              "Eins[Alpha mine,Beta,Gamma] Drei[ARD 1,ARD,Beta] andere*[Omega*,Delta*,Ärzte TV*]");
    PBNode delta = f.Andere()->Child(1);
    ASSERT_NE(delta->Data()->Channel->Service, nullptr);
    EXPECT_EQ(delta->Data()->Channel->Service->Name, "Delta");
    EXPECT_EQ(delta->Data()->ImageIndex, ImgTV);
    EXPECT_EQ(InvariantFaults(f.Doc), "");
    EXPECT_TRUE(f.Host.Modified);
}

TEST(DeleteSelection, EntriesStillListedElsewhereAndNestedSelectionsAddNothing) {
    TEditFixture f;
    // Beta stands in Drei as well; the entry under its selected bouquet must
    // not be freed twice.
    ASSERT_TRUE(f.Editor.DeleteSelection({f.Entry("Eins", "Beta"), f.Entry("Eins", "Alpha mine")}));
    EXPECT_EQ(Shape(f.Doc),
              "Eins[Gamma] Zwei[Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] andere*[Omega*,Alpha*]");
    ASSERT_TRUE(f.Editor.DeleteSelection({f.Entry("Drei", "ARD"), f.Bouquet("Eins")}));
    EXPECT_EQ(Shape(f.Doc),
              "Zwei[Delta,Epsilon,Ärzte TV] Drei[ARD 1,Beta] andere*[Omega*,Alpha*,Gamma*,ARD*]");
    EXPECT_EQ(InvariantFaults(f.Doc), "");
}

TEST(DeleteSelection, ForgetsASearchPositionInsideTheDeletedNodes) {
    TEditFixture f;
    TSearchData d;
    d.SearchText = "Delta";
    f.Editor.Search().Start(d);
    ASSERT_NE(f.Editor.Search().SearchNode, nullptr); // the node after the hit, Epsilon
    ASSERT_TRUE(f.Editor.DeleteSelection({f.Bouquet("Zwei")}));
    EXPECT_EQ(f.Editor.Search().SearchNode, nullptr);
    f.Host.Messages.clear();
    EXPECT_EQ(f.Editor.Search().Next(), nullptr);
    EXPECT_TRUE(f.Host.Messages.empty()); // silent until the next search
}
