// libFuzzer target over the position list, the whole load sequence and both
// writers. The input is split at its first two NUL bytes into the services
// text, the bouquets text and a position list. For every input that loads,
// the saved pair must pass the read-back check and load again to the same
// dump, and writing it once more must give the same bytes.
#include "core/JsonDump.h"
#include "core/ListDocument.h"
#include "core/PairFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "load_fuzzer: %s\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::size_t cut = all.find('\0');
    std::string_view services = all.substr(0, cut);
    std::string_view rest = cut == std::string_view::npos ? all : all.substr(cut + 1);
    std::size_t cut2 = rest.find('\0');
    std::string_view bouquets = rest.substr(0, cut2);
    std::string_view positions = cut2 == std::string_view::npos ? std::string_view() : rest.substr(cut2 + 1);

    xantu::TListDocument doc;
    doc.SatPositions = {"Astra 19.2E; Position=192", "; Position=", "x", "Hot Bird; Position="};
    if (!positions.empty()) {
        try {
            doc.ParseSatPositions(positions);
        } catch (const std::exception&) {
        }
    }
    if (!doc.LoadListTexts(services, bouquets) || doc.BoxType == xantu::BoxNone)
        return 0;

    xantu::TPairTexts texts;
    try {
        texts = xantu::SavePairTexts(doc);
    } catch (const std::exception& e) {
        Fail("the saved pair does not read back", e.what());
    }
    xantu::TListDocument again;
    again.SatPositions = doc.SatPositions;
    if (!again.LoadListTexts(texts.Services, texts.Bouquets))
        Fail("the saved pair does not load", texts.Services + "\n" + texts.Bouquets);
    const std::string dump1 = xantu::DumpJson(doc);
    const std::string dump2 = xantu::DumpJson(again);
    if (dump1 != dump2)
        Fail("the saved pair loads to another dump", dump1 + "\n----\n" + dump2);
    if (again.SaveServices() != texts.Services || again.SaveBouquets() != texts.Bouquets)
        Fail("the saved pair is written differently the second time", texts.Bouquets);
    return 0;
}
