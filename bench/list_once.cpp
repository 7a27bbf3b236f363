// One step of the list engine, run once on a synthetic pair, for instruction
// counts under callgrind (which a timed benchmark on a busy machine cannot
// give): list_once parse|load|write [SERVICES] [ENTRIES]
//   valgrind --tool=callgrind --toggle-collect='xantu::RunOnce*' list_once load
// With "compare", pugixml's parse and the load sequence run by turns, 21
// times each, and the fastest and the middle times of both are printed with
// their ratio: on a machine whose speed comes and goes, runs side by side
// compare fairer than two benchmarks one after the other.
#include "SyntheticLists.h"
#include "core/ListDocument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

namespace xantu {

// Kept out of line so that callgrind can count exactly this call.
__attribute__((noinline)) std::size_t RunOnce(const char* step, const TSyntheticPair& p, TListDocument& doc) {
    if (std::strcmp(step, "parse") == 0) {
        pugi::xml_document ds, db;
        ds.load_buffer(p.Services.data(), p.Services.size());
        db.load_buffer(p.Bouquets.data(), p.Bouquets.size());
        return ds.first_child() ? 1 : 0;
    }
    if (std::strcmp(step, "load") == 0)
        return doc.LoadListTexts(p.Services, p.Bouquets) ? 1 : 0;
    return doc.SaveServices().size() + doc.SaveBouquets().size();
}

} // namespace xantu

namespace {

double MillisecondsOf(const char* step, const xantu::TSyntheticPair& pair) {
    xantu::TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    const auto start = std::chrono::steady_clock::now();
    xantu::RunOnce(step, pair, doc);
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(stop - start).count();
}

int Compare(const xantu::TSyntheticPair& pair) {
    std::vector<double> parse, load;
    for (int i = 0; i < 21; ++i) {
        parse.push_back(MillisecondsOf("parse", pair));
        load.push_back(MillisecondsOf("load", pair));
    }
    std::sort(parse.begin(), parse.end());
    std::sort(load.begin(), load.end());
    const double pMin = parse.front(), pMid = parse[parse.size() / 2];
    const double lMin = load.front(), lMid = load[load.size() / 2];
    std::printf("pugixml parse  fastest %.1f ms  middle %.1f ms\n", pMin, pMid);
    std::printf("load sequence  fastest %.1f ms  middle %.1f ms\n", lMin, lMid);
    std::printf("ratio          fastest %.2f     middle %.2f\n", lMin / pMin, lMid / pMid);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("list_once parse|load|write|compare [SERVICES] [ENTRIES]\n", stderr);
        return 2;
    }
    xantu::TSyntheticSizes sizes;
    sizes.Services = argc > 2 ? std::atoi(argv[2]) : 100000;
    sizes.BouquetEntries = argc > 3 ? std::atoi(argv[3]) : 30000;
    const xantu::TSyntheticPair pair = xantu::MakeSyntheticPair(sizes);
    if (std::strcmp(argv[1], "compare") == 0)
        return Compare(pair);
    xantu::TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    if (std::strcmp(argv[1], "write") == 0)
        doc.LoadListTexts(pair.Services, pair.Bouquets);
    std::printf("%zu\n", xantu::RunOnce(argv[1], pair, doc));
    return 0;
}
