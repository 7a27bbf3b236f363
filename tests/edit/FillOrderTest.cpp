#include "EditTestKit.h"
#include "edit/BouquetCleanup.h"
#include "edit/BouquetFill.h"
#include "edit/BouquetOrder.h"
#include "edit/NameCollation.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

constexpr const char* kBase = "Eins[Alpha mine,Beta,Gamma] Zwei[Delta,Epsilon,Ärzte TV] Drei[ARD 1,ARD,Beta] "
                              "andere*[Omega*]";

struct TFillFixture : TEditFixture {
    TBouquetFill Fill{Editor, Host};
    TBouquetOrder Order{Editor, Host};
    TBouquetCleanup Cleanup{Editor, Host};

    TTrChannel* Service(const std::string& name) const {
        TTrChannel* found = nullptr;
        Doc.VTS.ForEach([&](PSNode n) {
            if (!found && n->Data()->Channel && n->Data()->Channel->Name == name)
                found = n->Data()->Channel.get();
        });
        if (!found)
            throw std::runtime_error("no service " + name);
        return found;
    }
    // An entry of `bouquet` for ids no service has.
    PBNode AddOrphan(PBNode bouquet, const std::string& name, int32_t sid) {
        auto w = std::make_unique<TBasicBNode>(name, ImgTV);
        w->SetChannel(bouquet->Data()->Bouquet.get(), name, sid, 3, 1);
        PBNode n = Doc.AddBouquetNode(bouquet, std::move(w));
        Editor.ListsReplaced();
        return n;
    }
    // Checks one undo back to `before` and one redo forward to `after`.
    void ExpectOneStep(const std::string& before) {
        const std::string after = FullState(Doc);
        ASSERT_TRUE(Editor.Undo());
        EXPECT_EQ(FullState(Doc), before);
        ASSERT_TRUE(Editor.Redo());
        EXPECT_EQ(FullState(Doc), after);
        EXPECT_EQ(InvariantFaults(Doc), "");
    }
};

std::vector<std::string> Captions(PBNode bouquet) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < bouquet->ChildCount(); ++i)
        out.push_back(bouquet->Child(i)->Data()->Caption.Str());
    return out;
}

} // namespace

// ---- services into bouquets ------------------------------------------------------

TEST(Fill, DropPlacesFollowTheTargetAndKeepTheOrder) {
    TFillFixture f;
    const std::string before = FullState(f.Doc);
    // On a bouquet: its first entries, in the order given.
    auto added = f.Fill.Drop({f.Service("Delta"), f.Service("ARD")}, f.Bouquet("Eins"), TDropPos::Below);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(Captions(f.Bouquet("Eins")),
              (std::vector<std::string>{"Delta", "ARD", "Alpha mine", "Beta", "Gamma"}));
    EXPECT_TRUE(f.Host.Modified);
    EXPECT_TRUE(f.Host.Questions.empty());
    f.ExpectOneStep(before);

    // Above an entry: before it; on or below: after it.
    f.Fill.Drop({f.Service("Delta"), f.Service("Ärzte TV")}, f.Entry("Drei", "ARD"), TDropPos::Above);
    f.Fill.Drop({f.Service("Gamma")}, f.Entry("Drei", "ARD 1"), TDropPos::On);
    EXPECT_EQ(Captions(f.Bouquet("Drei")),
              (std::vector<std::string>{"ARD 1", "Gamma", "Delta", "Ärzte TV", "ARD", "Beta"}));
    // To the end of a bouquet.
    f.Fill.Append({f.Service("Alpha")}, f.Bouquet("Zwei"));
    EXPECT_EQ(Captions(f.Bouquet("Zwei")).back(), "Alpha");
    EXPECT_EQ(f.Editor.History().UndoCount(), 4u);
    EXPECT_EQ(InvariantFaults(f.Doc), "");
}

TEST(Fill, NewEntryCarriesTheServiceAndFollowsTheFilter) {
    TFillFixture f;
    f.Doc.ShowRadio = false;
    auto added = f.Fill.Append({f.Service("ARD"), f.Service("Ärzte TV")}, f.Bouquet("Eins"));
    ASSERT_EQ(added.size(), 2u);
    const TBasicBNode* d = added[0]->Data();
    EXPECT_EQ(d->Caption, "ARD");
    EXPECT_EQ(d->Kind, BKindChannel);
    EXPECT_EQ(d->ImageIndex, ImgRadio);
    EXPECT_FALSE(d->Reserved);
    EXPECT_EQ(d->Channel->Name, "ARD");
    EXPECT_EQ(d->Channel->ServiceId, 0x18);
    EXPECT_EQ(d->Channel->Tsid, 3);
    EXPECT_EQ(d->Channel->Onid, 1);
    EXPECT_EQ(d->Channel->Service, f.Service("ARD"));
    EXPECT_EQ(d->Channel->Bouquet, f.Bouquet("Eins")->Data()->Bouquet.get());
    // Radio is filtered out of the view, TV is not.
    EXPECT_FALSE(added[0]->Visible);
    EXPECT_TRUE(added[1]->Visible);
    // What a save writes for it.
    EXPECT_NE(f.Doc.SaveBouquets().find("serviceID=\"0018\" name=\"ARD\" tsid=\"0003\" onid=\"0001\""),
              std::string::npos);
}

TEST(Fill, AServiceInAndereLeavesItAndAndereIsNoTarget) {
    TFillFixture f;
    PBNode omega = f.Andere()->Child(0);
    const std::string before = FullState(f.Doc);
    EXPECT_TRUE(f.Fill.Drop({f.Service("Omega")}, f.Andere(), TDropPos::On).empty());
    EXPECT_TRUE(f.Fill.Drop({f.Service("Alpha")}, omega, TDropPos::Above).empty());
    EXPECT_TRUE(f.Fill.Drop({f.Service("Alpha")}, f.Root(), TDropPos::On).empty());
    EXPECT_TRUE(f.Fill.Append({f.Service("Alpha")}, f.Entry("Eins", "Beta")).empty());
    EXPECT_EQ(FullState(f.Doc), before);
    EXPECT_FALSE(f.Editor.CanUndo());
    EXPECT_FALSE(f.Host.Modified);

    auto added = f.Fill.Drop({f.Service("Omega")}, f.Entry("Zwei", "Delta"), TDropPos::Below);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(Shape(f.Doc), "Eins[Alpha mine,Beta,Gamma] Zwei[Delta,Omega,Epsilon,Ärzte TV] "
                            "Drei[ARD 1,ARD,Beta] andere*[]");
    EXPECT_EQ(added[0]->Data()->Channel->Bouquet, f.Bouquet("Zwei")->Data()->Bouquet.get());
    EXPECT_EQ(InvariantFaults(f.Doc), "");
    f.ExpectOneStep(before);
    f.Editor.Undo();
    EXPECT_EQ(Shape(f.Doc), kBase);
}

TEST(Fill, ServicesAlreadyInTheBouquetAreAskedAboutOnce) {
    TFillFixture f;
    std::vector<TTrChannel*> three = {f.Service("Alpha"), f.Service("Omega"), f.Service("Beta")};
    f.Host.Answers = {false};
    auto added = f.Fill.Append(three, f.Bouquet("Eins"));
    ASSERT_EQ(f.Host.Questions,
              std::vector<std::string>{"2 Services sind bereits im Bouquet. Trotzdem hinzufügen?"});
    EXPECT_EQ(Captions(f.Bouquet("Eins")),
              (std::vector<std::string>{"Alpha mine", "Beta", "Gamma", "Omega"}));
    EXPECT_EQ(added.size(), 1u);

    f.Host.Questions.clear();
    f.Host.Answers = {true};
    f.Fill.Append(three, f.Bouquet("Eins"));
    EXPECT_EQ(f.Host.Questions.size(), 1u);
    EXPECT_EQ(Captions(f.Bouquet("Eins")),
              (std::vector<std::string>{"Alpha mine", "Beta", "Gamma", "Omega", "Alpha", "Omega", "Beta"}));

    // Declined with nothing else to add: no step at all.
    const std::size_t steps = f.Editor.History().UndoCount();
    f.Host.Answers = {false};
    EXPECT_TRUE(f.Fill.Append({f.Service("Gamma")}, f.Bouquet("Eins")).empty());
    EXPECT_EQ(f.Editor.History().UndoCount(), steps);
}

TEST(Fill, LastBouquetIsForgottenWhenItGoes) {
    TFillFixture f;
    EXPECT_EQ(f.Fill.LastBouquet(), nullptr);
    f.Fill.Append({f.Service("Alpha")}, f.Bouquet("Zwei"));
    EXPECT_EQ(f.Fill.LastBouquet(), f.Bouquet("Zwei"));
    f.Editor.DeleteSelection({f.Bouquet("Zwei")});
    EXPECT_EQ(f.Fill.LastBouquet(), nullptr);
    // Bouquets offered: all but "andere".
    std::vector<PBNode> offered = f.Fill.Bouquets();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1], f.Bouquet("Drei"));
}

// ---- moves without the mouse -----------------------------------------------------

TEST(Order, StepsKeepTheSelectionTogetherAtTheEdges) {
    TFillFixture f;
    PBNode eins = f.Bouquet("Eins");
    for (const char* name : {"D", "E", "F"})
        f.AddOrphan(eins, name, 0x700);
    // Alpha mine, Beta, Gamma, D, E, F: select Alpha mine, Gamma and E.
    std::vector<PBNode> sel = {eins->Child(4), eins->Child(0), eins->Child(2)};
    const std::string before = FullState(f.Doc);
    ASSERT_TRUE(f.Order.Move(sel, TMoveStep::Up));
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"Alpha mine", "Gamma", "Beta", "E", "D", "F"}));
    EXPECT_TRUE(f.Host.Modified);
    f.ExpectOneStep(before);
    ASSERT_TRUE(f.Order.Move(sel, TMoveStep::Up));
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"Alpha mine", "Gamma", "E", "Beta", "D", "F"}));
    EXPECT_FALSE(TBouquetOrder::CanMove(sel, TMoveStep::Up));
    EXPECT_FALSE(f.Order.Move(sel, TMoveStep::Up));
    EXPECT_EQ(f.Editor.History().UndoCount(), 2u);

    ASSERT_TRUE(f.Order.Move(sel, TMoveStep::Down));
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"Beta", "Alpha mine", "Gamma", "E", "D", "F"}));
    ASSERT_TRUE(f.Order.Move(sel, TMoveStep::ToEnd));
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"Beta", "D", "F", "Alpha mine", "Gamma", "E"}));
    EXPECT_FALSE(f.Order.Move(sel, TMoveStep::Down));
    ASSERT_TRUE(f.Order.Move({eins->Child(2), eins->Child(4)}, TMoveStep::ToTop));
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"F", "Gamma", "Beta", "D", "Alpha mine", "E"}));
    EXPECT_EQ(InvariantFaults(f.Doc), "");
    while (f.Editor.Undo()) {
    }
    EXPECT_EQ(FullState(f.Doc), before);
}

TEST(Order, AndereEntriesStayButAndereMovesLikeABouquet) {
    TFillFixture f;
    PBNode andere = f.Andere();
    f.Fill.Append({f.Service("Alpha")}, f.Bouquet("Eins")); // a second step to leave nothing in doubt
    f.Editor.DeleteSelection({f.Entry("Zwei", "Delta")});   // Delta goes to "andere"
    ASSERT_EQ(andere->ChildCount(), 2u);
    const std::size_t steps = f.Editor.History().UndoCount();
    for (TMoveStep step : {TMoveStep::Up, TMoveStep::Down, TMoveStep::ToTop, TMoveStep::ToEnd}) {
        EXPECT_FALSE(TBouquetOrder::CanMove({andere->Child(1)}, step));
        EXPECT_FALSE(f.Order.Move({andere->Child(1)}, step));
    }
    EXPECT_FALSE(f.Order.Move({f.Root()}, TMoveStep::Down));
    EXPECT_EQ(f.Editor.History().UndoCount(), steps);

    ASSERT_TRUE(f.Order.Move({andere}, TMoveStep::ToTop));
    EXPECT_EQ(f.Root()->Child(0), andere);
    ASSERT_TRUE(f.Order.Move({andere, f.Bouquet("Zwei")}, TMoveStep::Down));
    EXPECT_EQ(Shape(f.Doc).substr(0, 28), "Eins[Alpha mine,Beta,Gamma,A");
    EXPECT_EQ(f.Root()->Child(1), andere);
    EXPECT_EQ(InvariantFaults(f.Doc), "");
}

// ---- sorting -----------------------------------------------------------------------

TEST(Collation, GermanReadersOrder) {
    auto less = [](const char* a, const char* b) {
        return CompareCollation(MakeCollationKey(a), MakeCollationKey(b)) < 0;
    };
    EXPECT_TRUE(less("Kanal 2", "Kanal 10"));
    EXPECT_TRUE(less("kanal 9", "Kanal 10"));
    EXPECT_TRUE(less("Kanal 007", "Kanal 8"));
    EXPECT_TRUE(less("Arzte", "Ärzte"));
    EXPECT_TRUE(less("Ärzte", "Bären"));
    EXPECT_TRUE(less("Öl", "Ost"));
    EXPECT_TRUE(less("Straße", "Strasz"));
    EXPECT_TRUE(less("arte", "BR"));
    EXPECT_TRUE(less("ZDF", "zdf info"));
    EXPECT_FALSE(less("ZDF", "zdf"));
    EXPECT_FALSE(less("zdf", "ZDF"));
    EXPECT_TRUE(less("Élan", "Ende"));
    // Bytes that are not UTF-8 read as Windows-1252: 0xE4 is "ä".
    EXPECT_TRUE(less("\xE4pfel", "Bahn"));
    EXPECT_TRUE(less("", "a"));
    EXPECT_TRUE(less("99", "100"));
    EXPECT_TRUE(less("Sender", "Sender 1"));
}

TEST(Order, SortByNameIdOrReverseIsOneStepAndAndereIsNotSortable) {
    TFillFixture f;
    PBNode eins = f.Bouquet("Eins");
    for (const char* name : {"Kanal 10", "kanal 2", "Ärzte", "Arzte", "Öl", "Ost"})
        f.AddOrphan(eins, name, 0x701);
    const std::string before = FullState(f.Doc);
    // An entry stands for its bouquet; "andere" in the selection is skipped.
    EXPECT_EQ(TBouquetOrder::SortableBouquets({f.Andere()}).size(), 0u);
    EXPECT_EQ(f.Order.Sort({f.Andere()}, TSortKey::Name), 0u);
    EXPECT_EQ(f.Order.Sort({eins->Child(3)}, TSortKey::Name), 1u);
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"Alpha mine", "Arzte", "Ärzte", "Beta", "Gamma",
                                                        "kanal 2", "Kanal 10", "Öl", "Ost"}));
    f.ExpectOneStep(before);
    // Sorted already: nothing changes, no step.
    EXPECT_EQ(f.Order.Sort({eins}, TSortKey::Name), 0u);
    EXPECT_EQ(f.Editor.History().UndoCount(), 1u);

    ASSERT_EQ(f.Order.Sort({eins, f.Bouquet("Zwei"), f.Andere()}, TSortKey::Reverse), 2u);
    EXPECT_EQ(Captions(f.Bouquet("Zwei")), (std::vector<std::string>{"Ärzte TV", "Epsilon", "Delta"}));
    EXPECT_EQ(Captions(eins).front(), "Ost");
    EXPECT_EQ(Shape(f.Doc).substr(Shape(f.Doc).size() - 15), "andere*[Omega*]");
    EXPECT_EQ(f.Editor.History().UndoCount(), 2u);

    // By service id; equal ids keep their order.
    ASSERT_EQ(f.Order.Sort({eins}, TSortKey::ServiceId), 1u);
    EXPECT_EQ(Captions(eins), (std::vector<std::string>{"Alpha mine", "Beta", "Gamma", "Ost", "Öl",
                                                        "Kanal 10", "kanal 2", "Ärzte", "Arzte"}));
    EXPECT_EQ(InvariantFaults(f.Doc), "");
    while (f.Editor.Undo()) {
    }
    EXPECT_EQ(FullState(f.Doc), before);
}

// ---- clean-up ----------------------------------------------------------------------

TEST(Cleanup, EntriesWithoutServiceGoAfterOneQuestion) {
    TFillFixture f;
    f.AddOrphan(f.Bouquet("Eins"), "Weg 1", 0x7001);
    f.AddOrphan(f.Bouquet("Drei"), "Weg 2", 0x7002);
    f.AddOrphan(f.Bouquet("Drei"), "Weg 3", 0x7003);
    const std::string before = FullState(f.Doc);
    f.Host.Answers = {false};
    EXPECT_EQ(f.Cleanup.RemoveWithoutService(), 0u);
    EXPECT_EQ(f.Host.Questions,
              std::vector<std::string>{"3 Einträge haben keinen Service.\rSollen sie entfernt werden?"});
    EXPECT_EQ(FullState(f.Doc), before);
    EXPECT_FALSE(f.Editor.CanUndo());

    EXPECT_EQ(f.Cleanup.RemoveWithoutService(), 3u);
    EXPECT_EQ(Shape(f.Doc), kBase);
    EXPECT_EQ(f.Host.Messages, std::vector<std::string>{"Information: 3 Einträge ohne Service entfernt."});
    EXPECT_TRUE(f.Host.Modified);
    f.ExpectOneStep(before);

    f.Host.Messages.clear();
    f.Host.Questions.clear();
    EXPECT_EQ(f.Cleanup.RemoveWithoutService(), 0u);
    EXPECT_TRUE(f.Host.Questions.empty());
    EXPECT_EQ(f.Host.Messages, std::vector<std::string>{"Information: Alle Einträge haben einen Service."});
}

TEST(Cleanup, DuplicatesGoInsideEachBouquetOnly) {
    TFillFixture f;
    f.Fill.Append({f.Service("Beta"), f.Service("Alpha"), f.Service("Beta")}, f.Bouquet("Eins"));
    f.Fill.Append({f.Service("Delta")}, f.Bouquet("Zwei"));
    f.Editor.RenameChannel(f.Bouquet("Zwei")->Child(3), "Mein Delta");
    const std::string before = FullState(f.Doc);
    // Beta stands in "Drei" as well: that one stays.
    ASSERT_EQ(f.Cleanup.Duplicates().size(), 4u);
    EXPECT_EQ(f.Cleanup.RemoveDuplicates(), 4u);
    EXPECT_EQ(Shape(f.Doc), kBase);
    EXPECT_EQ(f.Host.Messages.back(), "Information: 4 doppelte Einträge entfernt.");
    f.ExpectOneStep(before);
    EXPECT_EQ(f.Cleanup.RemoveDuplicates(), 0u);
    EXPECT_EQ(f.Host.Messages.back(), "Information: Kein Bouquet enthält einen Service doppelt.");
}
