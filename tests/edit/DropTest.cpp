#include "EditTestKit.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

constexpr const char* kBase = "Eins[Alpha mine,Beta,Gamma] Zwei[Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] "
                              "andere*[Omega*]";

std::vector<PBNode> EntriesOf(PBNode bouquet) {
    std::vector<PBNode> out;
    for (std::size_t i = 0; i < bouquet->ChildCount(); ++i)
        out.push_back(bouquet->Child(i));
    return out;
}

} // namespace

TEST(DragOver, AcceptanceTable) {
    TEditFixture f;
    PBNode eins = f.Bouquet("Eins"), zwei = f.Bouquet("Zwei");
    PBNode alpha = f.Entry("Eins", "Alpha mine"), delta = f.Entry("Zwei", "Delta");
    PBNode omega = f.Andere()->Child(0);
    EXPECT_TRUE(f.Editor.DragOver({eins}, zwei));
    EXPECT_TRUE(f.Editor.DragOver({eins}, f.Andere()));
    EXPECT_TRUE(f.Editor.DragOver({f.Andere()}, eins));
    EXPECT_TRUE(f.Editor.DragOver({alpha}, zwei));
    EXPECT_TRUE(f.Editor.DragOver({alpha}, f.Andere()));
    EXPECT_TRUE(f.Editor.DragOver({alpha}, delta));
    EXPECT_TRUE(f.Editor.DragOver({omega}, delta));
    EXPECT_FALSE(f.Editor.DragOver({eins}, delta));
    EXPECT_FALSE(f.Editor.DragOver({f.Root()}, eins));
    EXPECT_FALSE(f.Editor.DragOver({eins}, f.Root()));
    EXPECT_FALSE(f.Editor.DragOver({alpha}, f.Root()));
    EXPECT_FALSE(f.Editor.DragOver({alpha}, alpha));
    EXPECT_FALSE(f.Editor.DragOver({}, eins));
    EXPECT_FALSE(f.Editor.DragOver({alpha}, nullptr));
    // The first selected node is the first in tree order, whatever order the
    // view reports.
    EXPECT_FALSE(f.Editor.DragOver({f.Entry("Eins", "Beta"), alpha}, alpha));
    EXPECT_TRUE(f.Host.Messages.empty());
}

TEST(DragOver, CopyModeRefusesAndereInTheSelection) {
    TEditFixture f;
    f.Editor.SetCopyMode();
    f.Host.Selected = {f.Andere()->Child(0)};
    EXPECT_FALSE(f.Editor.DragOver({f.Andere()->Child(0)}, f.Bouquet("Eins")));
    ASSERT_EQ(f.Host.Messages.size(), 1u);
    EXPECT_EQ(
        f.Host.Messages[0],
        "Fehler: \"andere\" darf beim Kopieren nicht in der Auswahl sein!\rDie Auswahl wird aufgehoben.");
    EXPECT_TRUE(f.Host.Selected.empty());
    EXPECT_FALSE(f.Editor.DragOver({f.Bouquet("Eins"), f.Andere()}, f.Bouquet("Zwei")));
    EXPECT_TRUE(f.Editor.CopyMode());
    // Several entries of "andere" are not mixed: they pass (and get moved).
    f.Editor.DeleteSelection({f.Bouquet("Zwei")});
    f.Host.Messages.clear();
    EXPECT_TRUE(f.Editor.DragOver(EntriesOf(f.Andere()), f.Bouquet("Eins")));
    EXPECT_TRUE(f.Host.Messages.empty());
}

TEST(DragDrop, EntriesKeepTheirOrderAboveOnAndBelow) {
    {
        TEditFixture f;
        f.Editor.DragDrop(EntriesOf(f.Bouquet("Eins")), f.Entry("Zwei", "Epsilon"), TDropPos::Above);
        EXPECT_EQ(Shape(f.Doc),
                  "Eins[] Zwei[Delta,Alpha mine,Beta,Gamma,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] "
                  "andere*[Omega*]");
        EXPECT_EQ(InvariantFaults(f.Doc), "");
        EXPECT_TRUE(f.Host.Modified);
    }
    for (TDropPos pos : {TDropPos::On, TDropPos::Below}) {
        TEditFixture f;
        f.Editor.DragDrop(EntriesOf(f.Bouquet("Eins")), f.Entry("Zwei", "Epsilon"), pos);
        EXPECT_EQ(Shape(f.Doc),
                  "Eins[] Zwei[Delta,Epsilon,Alpha mine,Beta,Gamma,Ärzte TV] Drei[ARD 1,ARD,Beta] "
                  "andere*[Omega*]");
        EXPECT_EQ(InvariantFaults(f.Doc), "");
    }
    for (TDropPos pos : {TDropPos::Above, TDropPos::On, TDropPos::Below}) {
        TEditFixture f;
        f.Editor.DragDrop({f.Entry("Zwei", "Ärzte TV"), f.Entry("Zwei", "Delta")}, f.Bouquet("Eins"), pos);
        EXPECT_EQ(Shape(f.Doc),
                  "Eins[Delta,Ärzte TV,Alpha mine,Beta,Gamma] Zwei[Epsilon] Drei[ARD 1,ARD,Beta] "
                  "andere*[Omega*]");
        EXPECT_EQ(f.Entry("Eins", "Delta")->Data()->Channel->Bouquet,
                  f.Bouquet("Eins")->Data()->Bouquet.get());
    }
    // Within one bouquet.
    TEditFixture f;
    f.Editor.DragDrop({f.Entry("Eins", "Alpha mine"), f.Entry("Eins", "Beta")}, f.Entry("Eins", "Gamma"),
                      TDropPos::Below);
    EXPECT_EQ(Shape(f.Doc).substr(0, 28), "Eins[Gamma,Alpha mine,Beta] ");
}

TEST(DragDrop, BouquetsReorderAndNeverNest) {
    TEditFixture f;
    f.Editor.DragDrop({f.Andere()}, f.Bouquet("Eins"), TDropPos::Above);
    EXPECT_EQ(Shape(f.Doc), "andere*[Omega*] Eins[Alpha mine,Beta,Gamma] Zwei[Delta,Epsilon,Ärzte TV] "
                            "Drei[ARD 1,ARD,Beta]");
    f.Editor.DragDrop({f.Bouquet("Eins"), f.Bouquet("Zwei")}, f.Bouquet("Drei"), TDropPos::On);
    EXPECT_EQ(Shape(f.Doc), "andere*[Omega*] Drei[ARD 1,ARD,Beta] Eins[Alpha mine,Beta,Gamma] "
                            "Zwei[Delta,Epsilon,Ärzte TV]");
    EXPECT_EQ(InvariantFaults(f.Doc), "");
    // "andere" stays left out of the file wherever it stands.
    EXPECT_EQ(f.Doc.SaveBouquets().find("Omega"), std::string::npos);
}

TEST(DragDrop, CopiesShareNothingWithTheirSources) {
    TEditFixture f;
    f.Editor.SetCopyMode();
    PBNode alpha = f.Entry("Eins", "Alpha mine");
    f.Editor.DragDrop({alpha}, f.Bouquet("Zwei"), TDropPos::Below);
    EXPECT_EQ(Shape(f.Doc), "Eins[Alpha mine,Beta,Gamma] Zwei[Alpha mine,Delta,Epsilon,Ärzte TV] "
                            "Drei[ARD 1,ARD,Beta] andere*[Omega*]");
    PBNode copy = f.Bouquet("Zwei")->Child(0);
    const TChannel &src = *alpha->Data()->Channel, &dst = *copy->Data()->Channel;
    EXPECT_NE(&src, &dst);
    EXPECT_EQ(dst.ServiceId, src.ServiceId);
    EXPECT_EQ(dst.Onid, src.Onid);
    EXPECT_EQ(dst.Tsid, src.Tsid);
    EXPECT_EQ(dst.Service, src.Service);
    EXPECT_EQ(dst.Bouquet, f.Bouquet("Zwei")->Data()->Bouquet.get());
    EXPECT_FALSE(f.Editor.CopyMode());
    EXPECT_FALSE(f.Host.CopyMode);
    EXPECT_EQ(f.Host.Selected, std::vector<PBNode>{copy});

    // A copied bouquet: its entries belong to the copy, renaming the copy
    // leaves the source alone.
    f.Editor.SetCopyMode();
    f.Editor.DragDrop({f.Bouquet("Drei")}, f.Bouquet("Eins"), TDropPos::Above);
    PBNode drei2 = f.Root()->Child(0);
    ASSERT_EQ(drei2->Data()->Caption, "Drei");
    EXPECT_EQ(drei2->Child(0)->Data()->Channel->Bouquet, drei2->Data()->Bouquet.get());
    f.Editor.RenameBouquet(drei2, "Kopie");
    f.Editor.RenameChannel(drei2->Child(0), "Erstes");
    EXPECT_EQ(Shape(f.Doc), "Kopie[Erstes,ARD,Beta] Eins[Alpha mine,Beta,Gamma] "
                            "Zwei[Alpha mine,Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] andere*[Omega*]");
    EXPECT_EQ(f.Bouquet("Drei")->Data()->Bouquet->Name, "Drei");
    EXPECT_EQ(InvariantFaults(f.Doc), "");
}

TEST(DragDrop, CopyNextToItselfAndSeveralCopies) {
    TEditFixture f;
    f.Editor.SetCopyMode();
    // The target is a selected node but not the first one.
    f.Editor.DragDrop({f.Entry("Eins", "Alpha mine"), f.Entry("Eins", "Beta")}, f.Entry("Eins", "Beta"),
                      TDropPos::Below);
    EXPECT_EQ(Shape(f.Doc).substr(0, 43), "Eins[Alpha mine,Beta,Alpha mine,Beta,Gamma]");
    EXPECT_EQ(f.Host.Selected, std::vector<PBNode>{f.Bouquet("Eins")->Child(2)});
    EXPECT_EQ(InvariantFaults(f.Doc), "");
}

TEST(DragDrop, EntriesGoingIntoAndereAskOnceAndTakeTheirServiceNames) {
    TEditFixture f;
    f.Editor.SetCopyMode(); // a drop touching "andere" moves all the same
    f.Editor.DragDrop({f.Entry("Eins", "Alpha mine"), f.Entry("Eins", "Beta")}, f.Andere()->Child(0),
                      TDropPos::Above);
    EXPECT_EQ(f.Host.Questions.size(), 1u);
    EXPECT_EQ(Shape(f.Doc), "Eins[Gamma] Zwei[Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] "
                            "andere*[Alpha*,Beta*,Omega*]");
    EXPECT_EQ(f.Andere()->Child(0)->Data()->Channel->Name, "Alpha");
    EXPECT_EQ(InvariantFaults(f.Doc), "");

    // Out again: ordinary entries that keep the service's name.
    f.Editor.DragDrop({f.Andere()->Child(0)}, f.Bouquet("Zwei"), TDropPos::On);
    EXPECT_EQ(Shape(f.Doc), "Eins[Gamma] Zwei[Alpha,Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] "
                            "andere*[Beta*,Omega*]");
    EXPECT_EQ(InvariantFaults(f.Doc), "");

    // Onto the "andere" node itself: no question.
    f.Host.Questions.clear();
    f.Editor.DragDrop({f.Entry("Zwei", "Ärzte TV")}, f.Andere(), TDropPos::Below);
    EXPECT_TRUE(f.Host.Questions.empty());
    EXPECT_EQ(Shape(f.Doc), "Eins[Gamma] Zwei[Alpha,Delta,Epsilon] Drei[ARD 1,ARD,Beta] "
                            "andere*[Ärzte TV*,Beta*,Omega*]");
}

TEST(DragDrop, DeclinedOrInsideAndereMovesNothingButMarksModified) {
    TEditFixture f;
    f.Editor.SetCopyMode();
    f.Host.Answers = {false};
    const std::string before = FullState(f.Doc);
    f.Editor.DragDrop({f.Entry("Eins", "Alpha mine")}, f.Andere()->Child(0), TDropPos::Below);
    EXPECT_EQ(FullState(f.Doc), before);
    EXPECT_TRUE(f.Host.Modified);
    EXPECT_FALSE(f.Editor.CopyMode());
    EXPECT_FALSE(f.Editor.CanUndo());

    f.Editor.DeleteSelection({f.Bouquet("Eins")});
    const std::string filled = Shape(f.Doc);
    EXPECT_EQ(filled, "Zwei[Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] andere*[Omega*,Alpha*,Gamma*]");
    f.Editor.DragDrop({f.Andere()->Child(2)}, f.Andere()->Child(0), TDropPos::Above);
    f.Editor.DragDrop({f.Andere()->Child(1), f.Andere()->Child(2)}, f.Andere(), TDropPos::On);
    EXPECT_EQ(Shape(f.Doc), filled);
    EXPECT_EQ(f.Editor.History().UndoCount(), 1u);
}

TEST(DragDrop, AndereEntriesInCopyModeAreMovedOut) {
    TEditFixture f;
    f.Editor.DeleteSelection({f.Bouquet("Zwei")});
    f.Editor.SetCopyMode();
    f.Editor.DragDrop({f.Andere()->Child(1), f.Andere()->Child(2)}, f.Bouquet("Eins"), TDropPos::On);
    EXPECT_EQ(Shape(f.Doc),
              "Eins[Delta,Ärzte TV,Alpha mine,Beta,Gamma] Drei[ARD 1,ARD,Beta] andere*[Omega*]");
    EXPECT_EQ(InvariantFaults(f.Doc), "");
}

TEST(RestoreServiceName, OnlyLinkedEntriesChange) {
    TEditFixture f;
    PBNode alpha = f.Entry("Eins", "Alpha mine");
    f.Editor.RestoreServiceName(alpha);
    EXPECT_EQ(alpha->Data()->Caption, "Alpha");
    EXPECT_EQ(alpha->Data()->Channel->Name, "Alpha");
    alpha->Data()->Channel->Service = nullptr;
    f.Editor.RenameChannel(alpha, "Eigenes");
    f.Editor.RestoreServiceName(alpha);
    EXPECT_EQ(alpha->Data()->Caption, "Eigenes");
}

TEST(DragDrop, EntriesAndereCannotKeepAreRemovedOnlyAfterAYes) {
    TEditFixture f;
    // Epsilon is a special service; Delta loses its service link.
    PBNode delta = f.Entry("Zwei", "Delta");
    delta->Data()->Channel->Service = nullptr;
    const std::string before = FullState(f.Doc);
    const std::vector<PBNode> zwei = EntriesOf(f.Bouquet("Zwei"));
    const char* question = "2 Einträge haben keinen TV- oder Radio-Service und werden entfernt. Fortfahren?";

    // "Nein": nothing moves, nothing is marked, nothing to undo; the drop
    // still ends in move mode.
    f.Editor.SetCopyMode();
    f.Host.Answers = {false};
    f.Editor.DragDrop(zwei, f.Andere(), TDropPos::On);
    EXPECT_FALSE(f.Editor.CopyMode());
    EXPECT_EQ(f.Host.Questions, std::vector<std::string>({question}));
    EXPECT_EQ(FullState(f.Doc), before);
    EXPECT_FALSE(f.Host.Modified);
    EXPECT_FALSE(f.Editor.CanUndo());

    // Onto an entry of "andere": this question, then the usual one; a "Nein"
    // to the second still moves nothing.
    f.Host.Questions.clear();
    f.Host.Answers = {true, false};
    f.Editor.DragDrop(zwei, f.Andere()->Child(0), TDropPos::Below);
    ASSERT_EQ(f.Host.Questions.size(), 2u);
    EXPECT_EQ(f.Host.Questions[0], question);
    EXPECT_EQ(Shape(f.Doc), kBase);

    // "Ja": the TV entry goes in under its service's name, the other two go.
    f.Host.Questions.clear();
    f.Host.Answers = {true};
    f.Editor.DragDrop(zwei, f.Andere(), TDropPos::On);
    EXPECT_EQ(f.Host.Questions, std::vector<std::string>({question}));
    EXPECT_EQ(Shape(f.Doc),
              "Eins[Alpha mine,Beta,Gamma] Zwei[] Drei[ARD 1,ARD,Beta] andere*[Ärzte TV*,Omega*]");
    EXPECT_EQ(InvariantFaults(f.Doc), "");
    EXPECT_TRUE(f.Host.Modified);

    // One undo brings all three back as they were; redo removes them again.
    ASSERT_TRUE(f.Editor.Undo());
    EXPECT_EQ(FullState(f.Doc), before);
    ASSERT_TRUE(f.Editor.Redo());
    EXPECT_EQ(Shape(f.Doc),
              "Eins[Alpha mine,Beta,Gamma] Zwei[] Drei[ARD 1,ARD,Beta] andere*[Ärzte TV*,Omega*]");

    // Entries of TV and radio services alone ask nothing new.
    f.Host.Questions.clear();
    f.Editor.DragDrop({f.Entry("Eins", "Gamma")}, f.Andere(), TDropPos::On);
    EXPECT_TRUE(f.Host.Questions.empty());
}
