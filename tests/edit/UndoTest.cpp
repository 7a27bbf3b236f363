#include "EditTestKit.h"
#include "edit/BouquetCleanup.h"
#include "edit/BouquetFill.h"
#include "edit/BouquetOrder.h"

#include <gtest/gtest.h>

#include <random>

using namespace xantu;
using namespace xantu::test;

namespace {

std::vector<PBNode> Children(PBNode node) {
    std::vector<PBNode> out;
    for (std::size_t i = 0; i < node->ChildCount(); ++i)
        out.push_back(node->Child(i));
    return out;
}

// One random edit of any kind the user can make. Returns false when the
// dice picked something impossible in the current tree.
void RandomEdit(TEditFixture& f, std::mt19937& rng) {
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    PBNode root = f.Root();
    std::vector<PBNode> bouquets = Children(root);
    PBNode bouquet = bouquets[pick(bouquets.size())];
    std::vector<PBNode> entries = Children(bouquet);
    // A random run of siblings: some entries of the bouquet, or bouquets.
    auto someOf = [&](std::vector<PBNode> from) {
        std::vector<PBNode> out;
        for (PBNode n : from)
            if (rng() % 3 == 0)
                out.push_back(n);
        if (out.empty() && !from.empty())
            out.push_back(from[pick(from.size())]);
        return out;
    };
    f.Host.Answers = {rng() % 4 != 0};
    switch (pick(12)) {
    case 0:
        f.Editor.NewBouquet();
        break;
    case 1:
        f.Editor.DeleteSelection(rng() % 2 ? someOf(entries) : someOf(bouquets));
        break;
    case 2:
    case 3:
    case 4: {
        if (rng() % 2)
            f.Editor.SetCopyMode();
        std::vector<PBNode> sel = rng() % 3 ? someOf(entries) : someOf(bouquets);
        PBNode targetBouquet = bouquets[pick(bouquets.size())];
        PBNode target = targetBouquet;
        if (targetBouquet->ChildCount() && rng() % 2)
            target = targetBouquet->Child(pick(targetBouquet->ChildCount()));
        TDropPos pos = static_cast<TDropPos>(pick(3));
        if (!sel.empty() && f.Editor.DragOver(sel, target))
            f.Editor.DragDrop(sel, target, pos);
        f.Editor.SetMoveMode();
        break;
    }
    case 5:
        f.Editor.RenameBouquet(rng() % 2 || entries.empty() ? bouquet : entries[0],
                               "B" + std::to_string(rng() % 100));
        break;
    case 6:
        if (!entries.empty())
            f.Editor.RenameChannel(entries[pick(entries.size())], "C&amp;" + std::to_string(rng() % 100));
        break;
    case 7:
        if (rng() % 2)
            f.Editor.SetHidden(bouquet, rng() % 2);
        else
            f.Editor.SetLocked(bouquet, rng() % 2);
        break;
    case 8: {
        // Services into a bouquet: from "andere", from other bouquets, twice.
        std::vector<TTrChannel*> services;
        f.Doc.VTS.ForEach([&](PSNode n) {
            if (n->Data()->Channel && rng() % 3 == 0)
                services.push_back(n->Data()->Channel.get());
        });
        TBouquetFill fill(f.Editor, f.Host);
        if (rng() % 2 || entries.empty())
            fill.Append(services, bouquet);
        else
            fill.Drop(services, entries[pick(entries.size())], static_cast<TDropPos>(pick(3)));
        break;
    }
    case 9: {
        TBouquetOrder order(f.Editor, f.Host);
        order.Move(rng() % 3 ? someOf(entries) : someOf(bouquets), static_cast<TMoveStep>(pick(4)));
        break;
    }
    case 10: {
        TBouquetOrder order(f.Editor, f.Host);
        order.Sort(rng() % 2 ? someOf(bouquets) : someOf(entries), static_cast<TSortKey>(pick(3)));
        break;
    }
    case 11: {
        TBouquetCleanup cleanup(f.Editor, f.Host);
        if (rng() % 2)
            cleanup.RemoveDuplicates();
        else
            cleanup.RemoveWithoutService();
        break;
    }
    }
    f.Editor.EndNameEdit();
}

} // namespace

TEST(Undo, RandomEditsUndoToTheBytesBeforeAndRedoToTheBytesAfter) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        TEditFixture f;
        // Two entries whose services are gone, for the clean-up to find.
        for (const char* name : {"Eins", "Drei"}) {
            PBNode b = f.Bouquet(name);
            auto w = std::make_unique<TBasicBNode>("Weg", ImgTV);
            w->SetChannel(b->Data()->Bouquet.get(), "Weg", 0x7000, 3, 1);
            f.Doc.AddBouquetNode(b, std::move(w));
        }
        f.Editor.ListsReplaced();
        std::mt19937 rng(seed);
        std::vector<std::string> states{FullState(f.Doc)};
        for (int i = 0; i < 40; ++i) {
            std::size_t steps = f.Editor.History().UndoCount();
            RandomEdit(f, rng);
            ASSERT_EQ(InvariantFaults(f.Doc), "") << "seed " << seed << " edit " << i;
            ASSERT_EQ(f.Host.Batch, 0) << "a batch left open";
            ASSERT_FALSE(f.Host.BoxInBatch) << "a box while the view gathers its updates";
            if (f.Editor.History().UndoCount() > steps)
                states.push_back(FullState(f.Doc));
            else
                ASSERT_EQ(FullState(f.Doc), states.back()) << "an edit without a step changed the tree";
        }
        const std::string bytesBefore = f.Doc.SaveBouquets();
        ASSERT_EQ(f.Editor.History().UndoCount(), states.size() - 1);
        for (std::size_t k = states.size() - 1; k > 0; --k) {
            f.Host.Modified = false;
            ASSERT_TRUE(f.Editor.Undo());
            EXPECT_TRUE(f.Host.Modified);
            ASSERT_EQ(FullState(f.Doc), states[k - 1]) << "seed " << seed << " undo to " << k - 1;
            ASSERT_EQ(InvariantFaults(f.Doc), "");
        }
        EXPECT_FALSE(f.Editor.Undo());
        for (std::size_t k = 1; k < states.size(); ++k) {
            ASSERT_TRUE(f.Editor.Redo());
            ASSERT_EQ(FullState(f.Doc), states[k]) << "seed " << seed << " redo to " << k;
        }
        EXPECT_FALSE(f.Editor.Redo());
        EXPECT_EQ(f.Doc.SaveBouquets(), bytesBefore);
    }
}

TEST(Undo, TypingANameIsOneStepPerSession) {
    TEditFixture f;
    PBNode eins = f.Bouquet("Eins");
    for (const char* typed : {"E", "Ei", "Eig", "Eigen"})
        f.Editor.RenameBouquet(eins, typed);
    f.Editor.EndNameEdit();
    f.Editor.RenameBouquet(eins, "Eigene");
    f.Editor.RenameChannel(eins->Child(1), "X");
    f.Editor.RenameChannel(eins->Child(1), "XY");
    EXPECT_EQ(f.Editor.History().UndoCount(), 3u);
    f.Editor.Undo();
    EXPECT_EQ(eins->Child(1)->Data()->Caption, "Beta");
    f.Editor.Undo();
    EXPECT_EQ(eins->Data()->Caption, "Eigen");
    f.Editor.Undo();
    EXPECT_EQ(eins->Data()->Caption, "Eins");
    EXPECT_EQ(eins->Data()->Bouquet->Name, "Eins");
    EXPECT_EQ(f.Host.Selected, std::vector<PBNode>{eins});
}

TEST(Undo, ReservedWordIsRefusedAndTheReplacementIsTheName) {
    TEditFixture f;
    EXPECT_EQ(f.Editor.RenameBouquet(f.Entry("Eins", "Beta"), " Andere "), "Bouquet [reserviertes Wort]");
    EXPECT_EQ(f.Bouquet("Bouquet [reserviertes Wort]")->Child(0)->Data()->Caption, "Alpha mine");
    ASSERT_EQ(f.Host.Messages.size(), 1u);
    EXPECT_EQ(f.Host.Messages[0].substr(0, 40), "Fehler: \"andere\" ist ein reserviertes Wo");
    // "andere" itself and its entries keep their names.
    f.Editor.RenameBouquet(f.Andere(), "Papierkorb");
    f.Editor.RenameChannel(f.Andere()->Child(0), "Z");
    EXPECT_EQ(Shape(f.Doc).substr(Shape(f.Doc).size() - 15), "andere*[Omega*]");
}

TEST(Undo, NewEditDropsTheRedoStepsAndALoadClearsAll) {
    TEditFixture f;
    f.Editor.NewBouquet();
    f.Editor.NewBouquet();
    f.Editor.Undo();
    EXPECT_TRUE(f.Editor.CanRedo());
    f.Editor.SetHidden(f.Bouquet("Eins"), true);
    EXPECT_FALSE(f.Editor.CanRedo());
    f.Doc.LoadListTexts(FixtureServices(), FixtureBouquets());
    f.Editor.ListsReplaced();
    EXPECT_FALSE(f.Editor.CanUndo());
    EXPECT_FALSE(f.Editor.Undo());
}

TEST(Undo, HistoryStaysBoundedAndSmall) {
    TEditFixture f;
    for (int i = 0; i < 150; ++i)
        f.Editor.SetLocked(f.Bouquet("Eins"), i % 2 == 0);
    EXPECT_EQ(f.Editor.History().UndoCount(), TEditHistory::kMaxSteps);

    // A drop of many entries keeps positions, not copies of the list.
    TEditFixture g;
    PBNode eins = g.Bouquet("Eins");
    for (int i = 0; i < 2000; ++i) {
        auto w = std::make_unique<TBasicBNode>("Entry with a name long enough", ImgTV);
        w->SetChannel(eins->Data()->Bouquet.get(), w->Caption, 0x100 + i, 3, 1);
        g.Doc.AddBouquetNode(eins, std::move(w));
    }
    g.Editor.ListsReplaced();
    g.Editor.DragDrop(Children(eins), g.Bouquet("Zwei"), TDropPos::On);
    ASSERT_EQ(g.Bouquet("Zwei")->ChildCount(), 2006u);
    EXPECT_LT(g.Editor.History().Bytes(), 2006u * 100);
    g.Editor.Undo();
    EXPECT_EQ(g.Bouquet("Eins")->ChildCount(), 2003u);
    EXPECT_EQ(g.Bouquet("Eins")->Child(0)->Data()->Caption, "Alpha mine");
}
