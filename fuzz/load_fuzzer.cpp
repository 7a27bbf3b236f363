// libFuzzer target over the whole load sequence and both writers. The input
// is split at its first NUL byte into the services text and the bouquets
// text; a load that succeeds is written, read back and written again.
#include "core/ListDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::size_t cut = all.find('\0');
    std::string_view services = all.substr(0, cut);
    std::string_view bouquets = cut == std::string_view::npos ? all : all.substr(cut + 1);

    xantu::TListDocument doc;
    doc.SatPositions = {"Astra 19.2E; Position=192", "; Position=", "x"};
    if (!doc.LoadListTexts(services, bouquets) || doc.BoxType == xantu::BoxNone)
        return 0;
    const std::string s1 = doc.SaveServices();
    const std::string b1 = doc.SaveBouquets();
    xantu::TListDocument again;
    if (again.LoadListTexts(s1, b1) && again.BoxType != xantu::BoxNone) {
        (void)again.SaveServices();
        (void)again.SaveBouquets();
    }
    return 0;
}
