// Times of the bouquet edits on a list of 100,000 services and 30,000
// entries. Prints milliseconds per operation (best of a few runs).
#include "SyntheticLists.h"
#include "edit/BouquetCleanup.h"
#include "edit/BouquetEditor.h"
#include "edit/BouquetFill.h"
#include "edit/BouquetOrder.h"
#include "edit/ChangeSummary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace xantu;

namespace {

struct TQuietHost : TEditHost {
    bool Ask(const std::string&) override { return true; }
    void ShowMessage(TMsgKind, const std::string&) override {}
    void SetModified(bool) override {}
};

double Ms(const std::function<void()>& fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

std::vector<PBNode> FirstEntries(PBNode bouquet, std::size_t n) {
    std::vector<PBNode> out;
    for (std::size_t i = 0; i < bouquet->ChildCount() && out.size() < n; ++i)
        out.push_back(bouquet->Child(i));
    return out;
}

// The summary before a send: the state at load against the state after a
// drop of 1000 entries into another bouquet, 1000 deletions and a rename.
// Timed: taking the current state and comparing, as the send question does.
double ChangeSummaryMs(const TSyntheticPair& pair, std::string& line) {
    TListDocument doc;
    TQuietHost host;
    TBouquetEditor editor(doc, host);
    if (!doc.LoadListTexts(pair.Services, pair.Bouquets))
        return -1;
    editor.ListsReplaced();
    const TBouquetSnapshot loaded = TakeSnapshot(doc.VTB);
    PBNode root = doc.VTB.GetFirst();
    editor.DragDrop(FirstEntries(root->Child(0), 1000), root->Child(1), TDropPos::On);
    editor.DeleteSelection(FirstEntries(root->Child(2), 1000));
    editor.RenameBouquet(root->Child(3), "Umbenannt");
    double best = 1e9;
    for (int run = 0; run < 5; ++run)
        best = std::min(
            best, Ms([&] { line = ChangeSummaryLine(CompareSnapshots(loaded, TakeSnapshot(doc.VTB))); }));
    return best;
}

// Every `step`-th service of the services tree, from `first` on, up to `n`.
std::vector<TTrChannel*> SomeServices(const TListDocument& doc, std::size_t first, std::size_t step,
                                      std::size_t n) {
    std::vector<TTrChannel*> out;
    std::size_t i = 0;
    doc.VTS.ForEach([&](PSNode s) {
        if (out.size() < n && s->Data()->Channel && i++ >= first && (i - first) % step == 0)
            out.push_back(s->Data()->Channel.get());
    });
    return out;
}

// Filling, ordering and tidying bouquets on the same lists.
void FillOrderFigures(const TSyntheticPair& pair) {
    double add = 1e9, addUndo = 1e9, move = 1e9, moveTop = 1e9, sortName = 1e9, sortId = 1e9, reverse = 1e9,
           dead = 1e9, dups = 1e9, scan = 1e9;
    std::size_t deadCount = 0, dupCount = 0, sortSize = 0;
    for (int run = 0; run < 3; ++run) {
        TListDocument doc;
        TQuietHost host;
        TBouquetEditor editor(doc, host);
        TBouquetFill fill(editor, host);
        TBouquetOrder order(editor, host);
        TBouquetCleanup cleanup(editor, host);
        if (!doc.LoadListTexts(pair.Services, pair.Bouquets))
            std::exit(1);
        editor.ListsReplaced();
        PBNode root = doc.VTB.GetFirst();
        PBNode first = root->Child(0);

        // 1,000 pool rows spread over the list, most of them from "andere".
        const auto rows = SomeServices(doc, 7, 97, 1000);
        add = std::min(add, Ms([&] { fill.Append(rows, first); }));
        addUndo = std::min(addUndo, Ms([&] { editor.Undo(); }));

        // 1,000 selected entries, every third one, one place up; then to the top.
        std::vector<PBNode> sel;
        for (std::size_t i = 1; i < first->ChildCount() && sel.size() < 1000; i += 3)
            sel.push_back(first->Child(i));
        move = std::min(move, Ms([&] { order.Move(sel, TMoveStep::Up); }));
        moveTop = std::min(moveTop, Ms([&] { order.Move(sel, TMoveStep::ToTop); }));

        // A bouquet of 10,000 entries in the order of the services tree.
        PBNode big = editor.NewBouquet();
        fill.Append(SomeServices(doc, 0, 10, 10000), big);
        sortSize = big->ChildCount();
        sortName = std::min(sortName, Ms([&] { order.Sort({big}, TSortKey::Name); }));
        sortId = std::min(sortId, Ms([&] { order.Sort({big}, TSortKey::ServiceId); }));
        reverse = std::min(reverse, Ms([&] { order.Sort({big}, TSortKey::Reverse); }));

        // Clean-up over every entry: a scan that finds nothing, then 1,000
        // entries whose service is gone and 1,000 repeated services.
        scan = std::min(scan, Ms([&] { cleanup.RemoveWithoutService(); }));
        std::size_t k = 0, marked = 0;
        doc.VTB.ForEach([&](PBNode n) {
            TBasicBNode* d = n->Data();
            if (d->Channel && !d->Reserved && k++ % 29 == 0 && marked < 1000) {
                d->Channel->Service = nullptr;
                ++marked;
            }
        });
        fill.Append(SomeServices(doc, 0, 10, 1000), big);
        editor.ListsReplaced();
        dupCount = cleanup.Duplicates().size();
        const std::size_t deadNow = cleanup.WithoutService().size();
        dead = std::min(dead, Ms([&] { cleanup.RemoveWithoutService(); }));
        dups = std::min(dups, Ms([&] { cleanup.RemoveDuplicates(); }));
        deadCount = deadNow;
    }
    std::printf("add 1000 pool rows to a bouquet:    %.2f ms (undo %.2f ms)\n", add, addUndo);
    std::printf("move 1000 selected entries one up:  %.2f ms (to the top %.2f ms)\n", move, moveTop);
    std::printf("sort %zu entries by name:          %.2f ms (by id %.2f ms, reverse %.2f ms)\n", sortSize,
                sortName, sortId, reverse);
    std::printf("entries without service, none:      %.2f ms\n", scan);
    std::printf("remove %zu entries without service: %.2f ms\n", deadCount, dead);
    std::printf("remove %zu duplicate entries:       %.2f ms\n", dupCount, dups);
}

} // namespace

int main() {
    TSyntheticSizes sizes;
    sizes.Services = 100000;
    sizes.BouquetEntries = 30000;
    sizes.Bouquets = 10;
    sizes.Cable = true;
    const TSyntheticPair pair = MakeSyntheticPair(sizes);
    double drop = 1e9, undo = 1e9, del = 1e9, search = 1e9;
    std::size_t bytes = 0;
    for (int run = 0; run < 3; ++run) {
        TListDocument doc;
        TQuietHost host;
        TBouquetEditor editor(doc, host);
        if (!doc.LoadListTexts(pair.Services, pair.Bouquets))
            return 1;
        editor.ListsReplaced();
        PBNode root = doc.VTB.GetFirst();
        PBNode biggest = root->Child(0);
        for (std::size_t i = 0; i < root->ChildCount(); ++i)
            if (!root->Child(i)->Data()->Reserved && root->Child(i)->ChildCount() > biggest->ChildCount())
                biggest = root->Child(i);
        PBNode target = biggest == root->Child(0) ? root->Child(1) : root->Child(0);

        auto sel = FirstEntries(biggest, 1000);
        drop = std::min(drop, Ms([&] { editor.DragDrop(sel, target, TDropPos::On); }));
        bytes = editor.History().Bytes();
        undo = std::min(undo, Ms([&] { editor.Undo(); }));

        sel = FirstEntries(biggest, 1000);
        del = std::min(del, Ms([&] { editor.DeleteSelection(sel); }));

        TSearchData d;
        d.SearchText = "no such name anywhere";
        search = std::min(search, Ms([&] { editor.Search().Start(d); }));
        if (run == 0)
            std::printf("entries %zu, services %zu, largest bouquet %zu\n", doc.VTB.TotalCount(),
                        doc.VTS.TotalCount(), biggest->ChildCount());
    }
    std::printf("drop of 1000 entries on a bouquet: %.2f ms (undo record %zu bytes)\n", drop, bytes);
    std::printf("undo of that drop:                 %.2f ms\n", undo);
    std::printf("delete 1000 entries with refill:   %.2f ms\n", del);
    std::printf("search without a hit:              %.2f ms\n", search);
    std::string line;
    const double summary = ChangeSummaryMs(pair, line);
    std::printf("change summary (snapshot + compare): %.2f ms\n  %s\n", summary, line.c_str());
    FillOrderFigures(pair);
    return 0;
}
