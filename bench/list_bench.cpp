// The whole load sequence and both writers at 10,000 and 100,000 services
// with 30,000 bouquet entries, next to pugixml parsing the same two texts.
#include "SyntheticLists.h"
#include "core/ListDocument.h"
#include "core/PairFiles.h"

#include <benchmark/benchmark.h>
#include <map>
#include <pugixml.hpp>
#include <sys/resource.h>

namespace {

const xantu::TSyntheticPair& Pair(int services) {
    static std::map<int, xantu::TSyntheticPair> cache;
    auto it = cache.find(services);
    if (it == cache.end()) {
        xantu::TSyntheticSizes sizes;
        sizes.Services = services;
        sizes.BouquetEntries = 30000;
        it = cache.emplace(services, xantu::MakeSyntheticPair(sizes)).first;
    }
    return it->second;
}

void SetBytes(benchmark::State& state, const xantu::TSyntheticPair& p) {
    state.counters["MB"] = static_cast<double>(p.Services.size() + p.Bouquets.size()) / 1e6;
}

void BM_LoadSequence(benchmark::State& state) {
    const auto& p = Pair(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        xantu::TListDocument doc;
        doc.Info_ChannelWithoutService = false;
        bool ok = doc.LoadListTexts(p.Services, p.Bouquets);
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();
        doc.Clear();
        state.ResumeTiming();
    }
    SetBytes(state, p);
}

void BM_Writers(benchmark::State& state) {
    const auto& p = Pair(static_cast<int>(state.range(0)));
    xantu::TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    doc.LoadListTexts(p.Services, p.Bouquets);
    for (auto _ : state) {
        std::string s = doc.SaveServices();
        std::string b = doc.SaveBouquets();
        benchmark::DoNotOptimize(s.data());
        benchmark::DoNotOptimize(b.data());
    }
    SetBytes(state, p);
}

// What a save costs: both writers and the read-back of their texts.
void BM_SaveWithReadBack(benchmark::State& state) {
    const auto& p = Pair(static_cast<int>(state.range(0)));
    xantu::TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    doc.LoadListTexts(p.Services, p.Bouquets);
    for (auto _ : state) {
        xantu::TPairTexts texts = xantu::SavePairTexts(doc);
        benchmark::DoNotOptimize(texts.Services.data());
    }
    SetBytes(state, p);
}

void BM_PugixmlParse(benchmark::State& state) {
    const auto& p = Pair(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document ds, db;
        auto r1 = ds.load_buffer(p.Services.data(), p.Services.size());
        auto r2 = db.load_buffer(p.Bouquets.data(), p.Bouquets.size());
        benchmark::DoNotOptimize(r1);
        benchmark::DoNotOptimize(r2);
    }
    SetBytes(state, p);
}

void BM_ClearTrees(benchmark::State& state) {
    const auto& p = Pair(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        xantu::TListDocument doc;
        doc.Info_ChannelWithoutService = false;
        doc.LoadListTexts(p.Services, p.Bouquets);
        state.ResumeTiming();
        doc.Clear();
    }
}

} // namespace

BENCHMARK(BM_PugixmlParse)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSequence)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Writers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWithReadBack)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearTrees)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
