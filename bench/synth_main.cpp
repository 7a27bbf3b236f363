// xantu-synth SERVICES ENTRIES [--cable] [--seed N] OUT_DIR: writes a synthetic
// services.xml and bouquets.xml for trying the editor on big lists.
#include "SyntheticLists.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    xantu::TSyntheticSizes sizes;
    std::string out;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--cable"))
            sizes.Cable = true;
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            sizes.Seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else if (positional == 0 && ++positional)
            sizes.Services = std::atoi(argv[i]);
        else if (positional == 1 && ++positional)
            sizes.BouquetEntries = std::atoi(argv[i]);
        else
            out = argv[i];
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: xantu-synth SERVICES ENTRIES [--cable] [--seed N] OUT_DIR\n");
        return 2;
    }
    xantu::TSyntheticPair pair = xantu::MakeSyntheticPair(sizes);
    std::ofstream(out + "/services.xml", std::ios::binary) << pair.Services;
    std::ofstream(out + "/bouquets.xml", std::ios::binary) << pair.Bouquets;
    return 0;
}
