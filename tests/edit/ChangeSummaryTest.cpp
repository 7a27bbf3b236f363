#include "edit/ChangeSummary.h"
#include "EditTestKit.h"

#include <gtest/gtest.h>

#include <random>

using namespace xantu;
using namespace xantu::test;

namespace {

using TB = TBouquetSnapshot::TBouquet;

// A bouquet of entries named after their service ids.
TB Bq(const std::string& name, const std::vector<int>& sids) {
    TB b;
    b.Name = name;
    for (int sid : sids)
        b.Entries.push_back({uint64_t(sid) << 32 | 1, "S" + std::to_string(sid)});
    return b;
}

TBouquetSnapshot Snap(std::vector<TB> bouquets) {
    TBouquetSnapshot s;
    s.Bouquets = std::move(bouquets);
    return s;
}

std::vector<PBNode> Children(PBNode node) {
    std::vector<PBNode> out;
    for (std::size_t i = 0; i < node->ChildCount(); ++i)
        out.push_back(node->Child(i));
    return out;
}

std::size_t EntryCount(const TBouquetSnapshot& s) {
    std::size_t n = 0;
    for (const auto& b : s.Bouquets)
        n += b.Entries.size();
    return n;
}

} // namespace

TEST(ChangeSummary, TheLineLeavesOutZerosAndNamesEachGroupOnce) {
    EXPECT_EQ(ChangeSummaryLine({}), "Änderungen: keine.");
    TChangeCounts c;
    c.BouquetsAdded = 2;
    c.BouquetsDeleted = 1;
    c.BouquetsRenamed = 3;
    c.EntriesAdded = 41;
    c.EntriesRemoved = 12;
    c.EntriesMoved = 17;
    EXPECT_EQ(ChangeSummaryLine(c),
              "Änderungen: 2 Bouquets neu, 1 gelöscht, 3 umbenannt, 41 Einträge hinzugefügt, 12 entfernt, 17 "
              "verschoben.");
    // The noun goes with the first part of its group, in its number.
    TChangeCounts d;
    d.BouquetsDeleted = 1;
    d.BouquetsMoved = 4;
    d.EntriesRemoved = 1;
    d.EntriesRenamed = 2;
    EXPECT_EQ(ChangeSummaryLine(d),
              "Änderungen: 1 Bouquet gelöscht, 4 verschoben, 1 Eintrag entfernt, 2 umbenannt.");
    TChangeCounts e;
    e.BouquetsChanged = 1;
    e.EntriesMoved = 1;
    EXPECT_EQ(ChangeSummaryLine(e), "Änderungen: 1 Bouquet geändert, 1 Eintrag verschoben.");
}

TEST(ChangeSummary, BouquetsPairByNameThenByTheirEntries) {
    const auto before = Snap({Bq("A", {1, 2, 3, 4}), Bq("B", {5, 6}), Bq("C", {7, 8, 9}), Bq("D", {})});
    // B renamed untouched, C renamed and given one more entry, D deleted,
    // E new and empty, A unchanged.
    const auto after = Snap({Bq("A", {1, 2, 3, 4}), Bq("B2", {5, 6}), Bq("C2", {7, 8, 9, 10}), Bq("E", {})});
    const TChangeCounts c = CompareSnapshots(before, after);
    EXPECT_EQ(c.BouquetsRenamed, 2);
    EXPECT_EQ(c.BouquetsAdded, 1);
    EXPECT_EQ(c.BouquetsDeleted, 1);
    EXPECT_EQ(c.EntriesAdded, 1);
    EXPECT_EQ(c.EntriesRemoved, 0);
    EXPECT_EQ(c.BouquetsMoved, 0);

    // A bouquet deleted and another made with other services is no rename.
    const TChangeCounts n = CompareSnapshots(Snap({Bq("X", {1, 2, 3})}), Snap({Bq("Y", {3, 4, 5})}));
    EXPECT_EQ(n.BouquetsRenamed, 0);
    EXPECT_EQ(n.BouquetsAdded, 1);
    EXPECT_EQ(n.BouquetsDeleted, 1);
    // Service 3 left X for Y: moved; 1 and 2 went, 4 and 5 came.
    EXPECT_EQ(n.EntriesMoved, 1);
    EXPECT_EQ(n.EntriesRemoved, 2);
    EXPECT_EQ(n.EntriesAdded, 2);

    // Two bouquets of one name pair in their order; the order of bouquets
    // counts moves, not shifts.
    const TChangeCounts d = CompareSnapshots(Snap({Bq("S", {1}), Bq("S", {2}), Bq("T", {3}), Bq("U", {4})}),
                                             Snap({Bq("U", {4}), Bq("S", {1}), Bq("S", {2}), Bq("T", {3})}));
    EXPECT_EQ(d, (TChangeCounts{.BouquetsMoved = 1}));
}

TEST(ChangeSummary, EntriesCountAsAddedRemovedMovedOrRenamed) {
    const auto before = Snap({Bq("A", {1, 2, 3, 4, 5, 6}), Bq("B", {7, 8})});
    auto after = Snap({Bq("A", {6, 1, 2, 4, 5, 9}), Bq("B", {7, 8, 3})});
    after.Bouquets[1].Entries[0].Name = "Sieben";
    after.Bouquets[1].Hidden = true;
    const TChangeCounts c = CompareSnapshots(before, after);
    // 6 to the top (one move inside A), 3 from A to B (a move), 9 new.
    EXPECT_EQ(c.EntriesMoved, 2);
    EXPECT_EQ(c.EntriesAdded, 1);
    EXPECT_EQ(c.EntriesRemoved, 0);
    EXPECT_EQ(c.EntriesRenamed, 1);
    EXPECT_EQ(c.BouquetsChanged, 1);

    // Reversed: all but one moved. Duplicates pair one by one.
    EXPECT_EQ(CompareSnapshots(Snap({Bq("A", {1, 2, 3, 4})}), Snap({Bq("A", {4, 3, 2, 1})})).EntriesMoved, 3);
    auto dupBefore = Snap({Bq("A", {1, 1, 2, 1})});
    dupBefore.Bouquets[0].Entries[1].Name = "zweite";
    dupBefore.Bouquets[0].Entries[3].Name = "dritte";
    auto dupAfter = Snap({Bq("A", {1, 2, 1})});
    dupAfter.Bouquets[0].Entries[2].Name = "dritte";
    EXPECT_EQ(CompareSnapshots(dupBefore, dupAfter), (TChangeCounts{.EntriesRemoved = 1}));
    // A service a hundred times over: the order is judged the cheap way,
    // with the same answer for a plain move.
    std::vector<int> many(100, 1);
    many.push_back(2);
    std::vector<int> moved{2};
    moved.insert(moved.end(), 100, 1);
    EXPECT_EQ(CompareSnapshots(Snap({Bq("A", many)}), Snap({Bq("A", moved)})),
              (TChangeCounts{.EntriesMoved = 1}));
    const TChangeCounts same =
        CompareSnapshots(Snap({Bq("A", {1, 2}), Bq("B", {1})}), Snap({Bq("A", {1, 2}), Bq("B", {1})}));
    EXPECT_EQ(same, TChangeCounts{});
}

TEST(ChangeSummary, EditsThroughTheEditorAndTheirUndoAndTheReservedBouquet) {
    TEditFixture f;
    const TBouquetSnapshot loaded = TakeSnapshot(f.Doc.VTB);
    ASSERT_EQ(loaded.Bouquets.size(), 3u); // "andere" is never sent
    EXPECT_EQ(CompareSnapshots(loaded, TakeSnapshot(f.Doc.VTB)), TChangeCounts{});

    f.Editor.RenameBouquet(f.Bouquet("Eins"), "Erste");
    f.Editor.EndNameEdit();
    // Delta from Zwei to the end of Drei.
    f.Editor.DragDrop({f.Entry("Zwei", "Delta")}, f.Entry("Drei", "Beta"), TDropPos::Below);
    // Beta of Drei to its top.
    f.Editor.DragDrop({f.Entry("Drei", "Beta")}, f.Entry("Drei", "ARD 1"), TDropPos::Above);
    // Gamma deleted: its service goes to "andere", which is not sent.
    f.Host.Answers = {true};
    f.Editor.DeleteSelection({f.Entry("Erste", "Gamma")});
    // Omega out of "andere" into Zwei: an entry the box did not have.
    f.Editor.DragDrop({f.Andere()->Child(0)}, f.Bouquet("Zwei"), TDropPos::On);
    f.Editor.NewBouquet();
    f.Editor.SetLocked(f.Bouquet("Zwei"), true);

    TChangeCounts want;
    want.BouquetsAdded = 1;
    want.BouquetsRenamed = 1;
    want.BouquetsChanged = 1;
    want.EntriesAdded = 1;
    want.EntriesRemoved = 1;
    want.EntriesMoved = 2;
    EXPECT_EQ(CompareSnapshots(loaded, TakeSnapshot(f.Doc.VTB)), want)
        << ChangeSummaryLine(CompareSnapshots(loaded, TakeSnapshot(f.Doc.VTB)));

    // Deleting the new bouquet with "andere" around changes nothing sent.
    while (f.Editor.Undo()) {
    }
    EXPECT_EQ(CompareSnapshots(loaded, TakeSnapshot(f.Doc.VTB)), TChangeCounts{});
    EXPECT_EQ(ChangeSummaryLine(CompareSnapshots(loaded, TakeSnapshot(f.Doc.VTB))), "Änderungen: keine.");
}

// Random edits of every kind: the counts always balance with the sizes, and
// undoing everything leaves nothing to report.
TEST(ChangeSummary, RandomEditsBalanceAndUndoToNothing) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TEditFixture f;
        std::mt19937 rng(seed);
        const auto pick = [&](std::size_t n) { return std::size_t(rng() % n); };
        const TBouquetSnapshot loaded = TakeSnapshot(f.Doc.VTB);
        for (int i = 0; i < 30; ++i) {
            std::vector<PBNode> bouquets = Children(f.Root());
            PBNode bouquet = bouquets[pick(bouquets.size())];
            std::vector<PBNode> entries = Children(bouquet);
            f.Host.Answers = {rng() % 4 != 0};
            switch (pick(6)) {
            case 0:
                f.Editor.NewBouquet();
                break;
            case 1:
                if (!bouquet->Data()->Reserved)
                    f.Editor.DeleteSelection(entries.empty() || rng() % 3 == 0
                                                 ? std::vector<PBNode>{bouquet}
                                                 : std::vector<PBNode>{entries[0]});
                break;
            case 2:
            case 3: {
                if (rng() % 3 == 0)
                    f.Editor.SetCopyMode();
                std::vector<PBNode> sel = entries.empty() || rng() % 4 == 0
                                              ? std::vector<PBNode>{bouquet}
                                              : std::vector<PBNode>{entries[pick(entries.size())]};
                PBNode tb = bouquets[pick(bouquets.size())];
                PBNode target = tb->ChildCount() && rng() % 2 ? tb->Child(pick(tb->ChildCount())) : tb;
                if (f.Editor.DragOver(sel, target))
                    f.Editor.DragDrop(sel, target, TDropPos(pick(3)));
                f.Editor.SetMoveMode();
                break;
            }
            case 4:
                f.Editor.RenameBouquet(bouquet, "R" + std::to_string(rng() % 5));
                break;
            case 5:
                if (!entries.empty())
                    f.Editor.RenameChannel(entries[0], "N" + std::to_string(rng() % 5));
                break;
            }
            f.Editor.EndNameEdit();
            const TBouquetSnapshot now = TakeSnapshot(f.Doc.VTB);
            const TChangeCounts c = CompareSnapshots(loaded, now);
            ASSERT_EQ(c.BouquetsAdded - c.BouquetsDeleted,
                      int(now.Bouquets.size()) - int(loaded.Bouquets.size()))
                << "seed " << seed;
            ASSERT_EQ(c.EntriesAdded - c.EntriesRemoved, int(EntryCount(now)) - int(EntryCount(loaded)))
                << "seed " << seed;
            ASSERT_EQ(CompareSnapshots(now, now), TChangeCounts{});
        }
        while (f.Editor.Undo()) {
        }
        ASSERT_EQ(CompareSnapshots(loaded, TakeSnapshot(f.Doc.VTB)), TChangeCounts{}) << "seed " << seed;
    }
}
