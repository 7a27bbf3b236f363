#include "TestHelpers.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;
using namespace std::string_literals;

namespace {

struct Pair {
    std::string services, bouquets;
};

Pair Resave(const Pair& in, uint8_t* boxType = nullptr) {
    TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    doc.SatPositions = {"Hotbird 13.0E; Position=130"};
    EXPECT_TRUE(doc.LoadListTexts(in.services, in.bouquets));
    if (boxType)
        *boxType = doc.BoxType;
    return {doc.SaveServices(), doc.SaveBouquets()};
}

} // namespace

// The examples are written as the editor writes, so they come back unchanged;
// the satellite example lacks one position, which the list fills in.
TEST(RoundTrip, ExamplesComeBackAsTheyWereWritten) {
    Pair cable{ReadExample("cable/services.xml"), ReadExample("cable/bouquets.xml")};
    Pair out = Resave(cable);
    EXPECT_EQ(out.services, cable.services);
    EXPECT_EQ(out.bouquets, cable.bouquets);

    Pair sat{ReadExample("sat/services.xml"), ReadExample("sat/bouquets.xml")};
    out = Resave(sat);
    std::string expected = sat.services;
    expected.replace(expected.find("position=\"\""), 11, "position=\"130\"");
    EXPECT_EQ(out.services, expected);
    EXPECT_EQ(out.bouquets, sat.bouquets);
    EXPECT_EQ(Resave(out).services, out.services);
}

TEST(RoundTrip, NamesTravelByteForByteInEveryEncoding) {
    const std::string names[] = {"A &amp; B",
                                 "&lt;x&gt; &#228;",
                                 "S\xC3\xBC"
                                 "d",
                                 "S\xFC"
                                 "d \x80",
                                 "a&b",
                                 "'q'"};
    std::string services =
        "\t<cable name=\"Netz\">\n\t\t<transponder id=\"0001\" onid=\"0001\" frequency=\"1\" "
        "inversion=\"\" symbol_rate=\"1\" fec_inner=\"0\" modulation=\"1\">\n";
    std::string bouquets = "\t<Bouquet name=\"" + names[2] + "\" hidden=\"0\" locked=\"0\">\n";
    int sid = 1;
    for (const auto& n : names) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", sid++);
        services += "\t\t\t<channel service_id=\"" + std::string(hex) + "\" name=\"" + n +
                    "\" service_type=\"01\" channel_nr=\"0\"/>\n";
        bouquets += "\t\t<channel serviceID=\"" + std::string(hex) + "\" name=\"" + n +
                    "\" tsid=\"0001\" onid=\"0001\"/>\n";
    }
    services += "\t\t</transponder>\n\t</cable>\n";
    bouquets += "\t</Bouquet>\n";
    Pair in{ServicesXml(services), BouquetsXml(bouquets)};
    Pair out = Resave(in);
    EXPECT_EQ(out.services, in.services);
    EXPECT_EQ(out.bouquets, in.bouquets);
}

TEST(RoundTrip, HostileTextsEndInAnErrorOrALoadNeverACrash) {
    const Pair base{ReadExample("sat/services.xml"), ReadExample("sat/bouquets.xml")};
    // Every prefix of a real pair: truncated downloads end in a message.
    for (std::size_t cut = 0; cut < base.services.size(); cut += 37) {
        TListDocument doc;
        doc.Info_ChannelWithoutService = false;
        doc.LoadListTexts(base.services.substr(0, cut), base.bouquets.substr(0, cut % base.bouquets.size()));
    }
    // Nesting, stray quotes and NUL bytes.
    const std::string odd[] = {"<xantu><sat name=\"<sat\"><sat></xantu>",
                               "<xantu>\0<cable name=\"\0\"></cable></xantu>"s, "<xantu/>", "</xantu><xantu>",
                               "<xantu><sat/><sat/></xantu>"};
    for (const auto& t : odd) {
        TListDocument doc;
        doc.Info_ChannelWithoutService = false;
        doc.LoadListTexts(t, t);
        if (doc.BoxType != BoxNone && !doc.VTB.Empty())
            (void)doc.SaveBouquets();
    }
    SUCCEED();
}
