#include "SyntheticLists.h"

#include <random>
#include <vector>

namespace xantu {

namespace {

std::string Hex(uint32_t v, int digits) {
    static const char d[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), d[v & 15]);
        v >>= 4;
    } while (v);
    while (static_cast<int>(s.size()) < digits)
        s.insert(s.begin(), '0');
    return s;
}

const char* const kWords[] = {"Erstes",   "Zweites", "Kultur", "Sport",         "Nachrichten",
                              "Musik",    "Kinder",  "Film",   "Serien",        "Wetter",
                              "Regional", "Welle",   "Süd",    "Nord &amp; Ost"};

} // namespace

TSyntheticPair MakeSyntheticPair(const TSyntheticSizes& sizes) {
    std::mt19937 rng(sizes.Seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    struct Service {
        uint32_t sid, tsid, onid;
        std::string name;
    };
    std::vector<Service> services;
    services.reserve(static_cast<std::size_t>(sizes.Services));

    TSyntheticPair out;
    std::string& s = out.Services;
    s.reserve(static_cast<std::size_t>(sizes.Services) * 110);
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n";
    int made = 0;
    int sat = 0;
    uint32_t tsid = 1;
    while (made < sizes.Services) {
        const std::string satName = (sizes.Cable ? "Kabelnetz " : "Satellit ") + std::to_string(sat);
        if (sizes.Cable)
            s += "\t<cable name=\"" + satName + "\">\n";
        else
            s += "\t<sat name=\"" + satName + "\" diseqc=\"" + std::to_string(sat % 4) + "\" position=\"" +
                 std::to_string(10 * sat + 48) + "\">\n";
        for (int t = 0; t < sizes.TranspondersPerSat && made < sizes.Services; ++t, ++tsid) {
            const uint32_t onid = 1 + static_cast<uint32_t>(sat);
            s += "\t\t<transponder id=\"" + Hex(tsid, 4) + "\" onid=\"" + Hex(onid, 4) + "\" frequency=\"" +
                 std::to_string(10700000 + pick(2000000)) + "\"";
            if (sizes.Cable || pick(2))
                s += " inversion=\"" + std::string(pick(3) ? "2" : "") + "\"";
            s += " symbol_rate=\"27500000\" fec_inner=\"" + std::to_string(pick(9)) + "\" " +
                 (sizes.Cable ? "modulation" : "polarization") + "=\"" + std::to_string(pick(2)) + "\">\n";
            for (int c = 0; c < sizes.ServicesPerTransponder && made < sizes.Services; ++c, ++made) {
                const uint32_t sid = 0x100 + static_cast<uint32_t>(made);
                std::string name =
                    std::string(kWords[pick(14)]) + " " + kWords[pick(14)] + " " + std::to_string(made);
                const int r = pick(10);
                const int type = r < 6 ? 1 : r < 9 ? 2 : 0x0C;
                s += "\t\t\t<channel service_id=\"" + Hex(sid, 4) + "\" name=\"" + name +
                     "\" service_type=\"" + Hex(static_cast<uint32_t>(type), 2) + "\" channel_nr=\"" +
                     std::to_string(pick(3) ? 0 : made) + "\"/>\n";
                services.push_back({sid, tsid, onid, std::move(name)});
            }
            s += "\t\t</transponder>\n";
        }
        s += sizes.Cable ? "\t</cable>\n" : "\t</sat>\n";
        ++sat;
    }
    s += "</XANTU>";

    std::string& b = out.Bouquets;
    b.reserve(static_cast<std::size_t>(sizes.BouquetEntries) * 110);
    b += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n";
    const int bouquets = sizes.Bouquets > 0 ? sizes.Bouquets : 1;
    for (int i = 0; i < bouquets; ++i) {
        b += "\t<Bouquet name=\"Bouquet " + std::to_string(i) + "\" hidden=\"" + (i % 7 == 3 ? "1" : "0") +
             "\" locked=\"" + (i % 11 == 5 ? "1" : "0") + "\">\n";
        const int entries = sizes.BouquetEntries / bouquets + (i < sizes.BouquetEntries % bouquets ? 1 : 0);
        for (int e = 0; e < entries && !services.empty(); ++e) {
            const Service& sv = services[static_cast<std::size_t>(pick(static_cast<int>(services.size())))];
            b += "\t\t<channel serviceID=\"" + Hex(sv.sid, 4) + "\" name=\"" + sv.name + "\" tsid=\"" +
                 Hex(sv.tsid, 4) + "\" onid=\"" + Hex(sv.onid, 4) + "\"";
            if (!sizes.Cable)
                b += " sat_position=\"\"";
            b += "/>\n";
        }
        b += "\t</Bouquet>\n";
    }
    b += "</XANTU>";
    return out;
}

} // namespace xantu
