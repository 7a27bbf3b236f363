#include "TestHelpers.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

// Ten TV services on one transponder (ids 0x10..0x19, onid 0x85, tsid 0x7),
// one radio and one special service.
std::string TenTvServices() {
    std::string body = "\t<cable name=\"Netz\">\n\t\t<transponder id=\"0007\" onid=\"0085\" frequency=\"1\" "
                       "inversion=\"\" symbol_rate=\"1\" fec_inner=\"0\" modulation=\"1\">\n";
    for (int i = 0; i < 10; ++i)
        body += "\t\t\t<channel service_id=\"001" + std::to_string(i) + "\" name=\"TV" + std::to_string(i) +
                "\" service_type=\"0" +
                std::string(i % 3 == 0   ? "1"
                            : i % 3 == 1 ? "4"
                                         : "5") +
                "\" channel_nr=\"0\"/>\n";
    body += "\t\t\t<channel service_id=\"0020\" name=\"Radio\" service_type=\"02\" channel_nr=\"0\"/>\n";
    body += "\t\t\t<channel service_id=\"0021\" name=\"Daten\" service_type=\"0C\" channel_nr=\"0\"/>\n";
    body += "\t\t</transponder>\n\t</cable>\n";
    return ServicesXml(body);
}

std::string Entry(const std::string& sid, const std::string& name, const std::string& tsid = "0007",
                  const std::string& onid = "0085") {
    return "\t\t<channel serviceID=\"" + sid + "\" name=\"" + name + "\" tsid=\"" + tsid + "\" onid=\"" +
           onid + "\"/>\n";
}

struct Loaded {
    TRecordingHost host;
    TListDocument doc{&host};
    bool ok = false;
    Loaded(const std::string& services, const std::string& bouquets, bool report = true) {
        doc.Info_ChannelWithoutService = report;
        ok = doc.LoadListTexts(services, bouquets);
    }
};

} // namespace

TEST(BouquetsFile, FillsAndereWithUnreferencedTvAndRadioInServiceOrder) {
    Loaded l(TenTvServices(),
             BouquetsXml("\t<Bouquet name=\"Fav\" hidden=\"0\" locked=\"0\">\n" + Entry("0013", "TV3") +
                         Entry("0010", "TV0") + Entry("0019", "TV9") + "\t</Bouquet>\n"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(DumpBouquetTree(l.doc), "Bouquets [0]\n"
                                      "  Fav [0]\n"
                                      "    TV3 [1] L\n"
                                      "    TV0 [1] L\n"
                                      "    TV9 [1] L\n"
                                      "  andere [4] R\n"
                                      "    TV1 [1] R L\n"
                                      "    TV2 [1] R L\n"
                                      "    TV4 [1] R L\n"
                                      "    TV5 [1] R L\n"
                                      "    TV6 [1] R L\n"
                                      "    TV7 [1] R L\n"
                                      "    TV8 [1] R L\n"
                                      "    Radio [2] R L hidden\n");
}

TEST(BouquetsFile, WritesNoneOfTheReservedBouquet) {
    const std::string bouquets =
        BouquetsXml("\t<Bouquet name=\"andere\" hidden=\"0\" locked=\"1\">\n" + Entry("0013", "TV3") +
                    "\t</Bouquet>\n\t<Bouquet name=\"Leer\" hidden=\"1\" locked=\"0\">\n\t</Bouquet>\n");
    Loaded l(TenTvServices(), bouquets);
    ASSERT_TRUE(l.ok);
    // A bouquet named "andere" in the file is an ordinary one; the reserved
    // bouquet follows it and is not written.
    EXPECT_EQ(l.doc.VTB.GetFirst()->ChildCount(), 3u);
    EXPECT_FALSE(l.doc.VTB.GetFirst()->Child(0)->Data()->Reserved);
    EXPECT_EQ(l.doc.SaveBouquets(), bouquets);
}

TEST(BouquetsFile, NormalisesFlagsAndTransportStreamIds) {
    Loaded l(TenTvServices(),
             BouquetsXml("<bouquet name=\"B\" hidden=\"2\" locked=\"256\">" + Entry("0013", "TV3", "9999") +
                         Entry("0077", "Weg", "0042", "0085") + "</bouquet>"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.doc.SaveBouquets(),
              BouquetsXml("\t<Bouquet name=\"B\" hidden=\"1\" locked=\"0\">\n" +
                          Entry("0013", "TV3", "0007") + Entry("0077", "Weg", "0042") + "\t</Bouquet>\n"));
}

TEST(BouquetsFile, ReportsEveryEntryWithoutAServiceInTreeOrder) {
    const std::string bouquets =
        BouquetsXml("<Bouquet name=\"A\" hidden=\"0\" locked=\"0\">" + Entry("0099", "Fehlt \xFC") +
                    "</Bouquet>" + "<Bouquet name=\"B\" hidden=\"0\" locked=\"0\">" +
                    Entry("0010", "TV0", "0007", "0086") + "</Bouquet>");
    Loaded on(TenTvServices(), bouquets, true);
    EXPECT_EQ(on.host.Messages,
              (std::vector<std::string>{
                  "Der Channel :\"Fehlt \xC3\xBC\"\rim Bouquet \"A\" hat keinen g\xC3\xBCltigen Service!\"",
                  "Der Channel :\"TV0\"\rim Bouquet \"B\" hat keinen g\xC3\xBCltigen Service!\""}));
    Loaded off(TenTvServices(), bouquets, false);
    EXPECT_TRUE(off.host.Messages.empty());
    // The unlinked entries keep picture 3 and stay visible.
    PBNode b = off.doc.VTB.GetFirst()->Child(1);
    EXPECT_EQ(b->Child(0)->Data()->ImageIndex, ImgSpecial);
    EXPECT_EQ(b->Child(0)->Data()->Channel->Service, nullptr);
}

TEST(BouquetsFile, LinksByServiceIdAndNetworkToTheFirstMatch) {
    const std::string services = ServicesXml(
        "<cable name=\"N\">"
        "<transponder id=\"1\" onid=\"5\" frequency=\"1\" symbol_rate=\"1\" fec_inner=\"1\" modulation=\"1\">"
        "<channel service_id=\"10\" name=\"A\" service_type=\"1\"/></transponder>"
        "<transponder id=\"2\" onid=\"6\" frequency=\"1\" symbol_rate=\"1\" fec_inner=\"1\" modulation=\"1\">"
        "<channel service_id=\"10\" name=\"B\" service_type=\"2\"/></transponder>"
        "<transponder id=\"3\" onid=\"5\" frequency=\"1\" symbol_rate=\"1\" fec_inner=\"1\" modulation=\"1\">"
        "<channel service_id=\"10\" name=\"A2\" service_type=\"1\"/></transponder>"
        "</cable>");
    Loaded l(services, BouquetsXml("<Bouquet name=\"X\" hidden=\"0\" locked=\"0\">" +
                                   Entry("0010", "e1", "0003", "0005") + Entry("0010", "e2", "0002", "0006") +
                                   "</Bouquet>"));
    ASSERT_TRUE(l.ok);
    PBNode x = l.doc.VTB.GetFirst()->Child(0);
    EXPECT_EQ(x->Child(0)->Data()->Channel->Service->Name, "A");
    EXPECT_EQ(x->Child(0)->Data()->Channel->Tsid, 1); // refreshed from the service
    EXPECT_EQ(x->Child(1)->Data()->Channel->Service->Name, "B");
    EXPECT_EQ(x->Child(1)->Data()->ImageIndex, ImgRadio);
    // A2 shares A's key: it gets no entry of its own in "andere".
    EXPECT_EQ(l.doc.ReservedBouquet()->ChildCount(), 0u);
}

TEST(BouquetsFile, WithoutBouquetsTheTreeStaysEmpty) {
    Loaded l(TenTvServices(), BouquetsXml(""));
    ASSERT_TRUE(l.ok);
    EXPECT_TRUE(l.doc.VTB.Empty());
    EXPECT_EQ(l.doc.ReservedBouquet(), nullptr);
}

TEST(BouquetsFile, ReportsMalformedFiles) {
    Loaded missingRoot(TenTvServices(), "<Bouquet name=\"a\" hidden=\"0\" locked=\"0\"></Bouquet>");
    EXPECT_FALSE(missingRoot.ok);
    EXPECT_EQ(missingRoot.host.Messages.back(), "bouquets load <xantu> failed");
    Loaded badFlag(TenTvServices(), BouquetsXml("<Bouquet name=\"a\" hidden=\"ja\" locked=\"0\"></Bouquet>"));
    EXPECT_EQ(badFlag.host.Messages.back(), "'ja' ist kein g\xC3\xBCltiger Integerwert");
    Loaded badHex(TenTvServices(), BouquetsXml("<Bouquet name=\"a\" hidden=\"0\" locked=\"0\">" +
                                               Entry("00G0", "x") + "</Bouquet>"));
    EXPECT_EQ(badHex.host.Messages.back(), "Invalid hex character G");
    // The tree keeps what was built before the error, without "andere".
    EXPECT_EQ(badHex.doc.VTB.TotalCount(), 2u);
    EXPECT_EQ(badHex.doc.ReservedBouquet(), nullptr);
}
