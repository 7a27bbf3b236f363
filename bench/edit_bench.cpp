// Times of the bouquet edits on a list of 100,000 services and 30,000
// entries. Prints milliseconds per operation (best of a few runs).
#include "SyntheticLists.h"
#include "edit/BouquetEditor.h"
#include "edit/ChangeSummary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    return 0;
}
