// Seeded generator of synthetic list pairs of any size, for benchmarks and
// the fuzzer's seeds. The same seed and sizes give the same bytes.
#pragma once

#include <cstdint>
#include <string>

namespace xantu {

struct TSyntheticSizes {
    int Services = 10000;
    int BouquetEntries = 30000;
    int ServicesPerTransponder = 12;
    int TranspondersPerSat = 80;
    int Bouquets = 60;
    bool Cable = false;
    uint32_t Seed = 1;
};

struct TSyntheticPair {
    std::string Services;
    std::string Bouquets;
};

TSyntheticPair MakeSyntheticPair(const TSyntheticSizes& sizes);

} // namespace xantu
