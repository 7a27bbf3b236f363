// One step of the list engine, run once on a synthetic pair, for instruction
// counts under callgrind (which a timed benchmark on a busy machine cannot
// give): list_once parse|load|write [SERVICES] [ENTRIES]
//   valgrind --tool=callgrind --toggle-collect='xantu::RunOnce*' list_once load
#include "SyntheticLists.h"
#include "core/ListDocument.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>

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

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("list_once parse|load|write [SERVICES] [ENTRIES]\n", stderr);
        return 2;
    }
    xantu::TSyntheticSizes sizes;
    sizes.Services = argc > 2 ? std::atoi(argv[2]) : 100000;
    sizes.BouquetEntries = argc > 3 ? std::atoi(argv[3]) : 30000;
    const xantu::TSyntheticPair pair = xantu::MakeSyntheticPair(sizes);
    xantu::TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    if (std::strcmp(argv[1], "write") == 0)
        doc.LoadListTexts(pair.Services, pair.Bouquets);
    std::printf("%zu\n", xantu::RunOnce(argv[1], pair, doc));
    return 0;
}
