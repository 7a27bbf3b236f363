#include "TestHelpers.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

std::string OneSat(const std::string& name, const std::string& position) {
    return ServicesXml("\t<sat name=\"" + name + "\" diseqc=\"0\" position=\"" + position +
                       "\">\n\t\t<transponder id=\"0001\" onid=\"0001\" frequency=\"1\" symbol_rate=\"1\" "
                       "fec_inner=\"1\" polarization=\"0\">\n\t\t\t<channel service_id=\"0001\" name=\"C\" "
                       "service_type=\"01\" channel_nr=\"0\"/>\n\t\t</transponder>\n\t</sat>\n");
}

const std::string kBouquets = BouquetsXml("\t<Bouquet name=\"B\" hidden=\"0\" locked=\"0\">\n\t\t<channel "
                                          "serviceID=\"0001\" name=\"C\" tsid=\"0001\" onid=\"0001\" "
                                          "sat_position=\"\"/>\n\t</Bouquet>\n");

} // namespace

TEST(SatPositions, ReadsOneLinePerSatInFileOrder) {
    TListDocument doc;
    doc.ParseSatPositions("<?xml?>\n<SATELLITES>\n<sat name=\"Sat North\" position=\"235\"/>\n"
                          "<sat name=\"B\" position=\"1\"/>\n<sat position=\"9\"/>\n</SATELLITES>");
    EXPECT_EQ(doc.SatPositions,
              (std::vector<std::string>{"Sat North; Position=235", "B; Position=1", "; Position=9"}));
    std::string name, pos;
    SplitSatPosition("no separator", name, pos);
    EXPECT_EQ(name + "|" + pos, "|");
    EXPECT_THROW(doc.ParseSatPositions("<sats></sats>"), EXMLException);
}

TEST(SatPositions, FillsAMissingPositionFromTheListWithItsMessage) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.SatPositions = {"SAT NORTH; Position=999", "sat north; Position=235"};
    doc.SatPositions.insert(doc.SatPositions.begin(), "Other; Position=1");
    ASSERT_TRUE(doc.LoadListTexts(OneSat("Sat North", ""), kBouquets));
    EXPECT_EQ(host.Messages,
              (std::vector<std::string>{
                  "\"Sat North\" verf\xC3\xBCgt \xC3\xBC"
                  "ber keine Position in services.xml!\r"
                  "Es wird jetzt die Sat-Position: 999 verwendet!\r"
                  "Wenn die Position nicht stimmt, mu\xC3\x9F die Datei \"satpositionen.xml\"\r"
                  "auf den neuesten Stand gebracht werden!"}));
    EXPECT_NE(doc.SaveBouquets().find("sat_position=\"999\""), std::string::npos);
    EXPECT_NE(doc.SaveServices().find("position=\"999\""), std::string::npos);
}

TEST(SatPositions, KeepsAKnownPositionAndFallsBackToZero) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.SatPositions = {"Sat North; Position=235"};
    ASSERT_TRUE(doc.LoadListTexts(OneSat("Sat North", "130"), kBouquets));
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_NE(doc.SaveBouquets().find("sat_position=\"130\""), std::string::npos);

    // Umlauts compare exactly: only A to Z fold.
    doc.SatPositions = {"S\xC3\x84T; Position=1"};
    ASSERT_TRUE(doc.LoadListTexts(OneSat("s\xC3\xA4t", ""), kBouquets));
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0], "\"s\xC3\xA4t\" verf\xC3\xBCgt \xC3\xBC"
                                "ber keine Position in services.xml und\r"
                                "wird auch in der Sat-Positionsliste nicht gefunden!\r"
                                "Bringen Sie die Datei \"satpositionen.xml\" auf den neuesten Stand\r"
                                "oder pr\xC3\xBC"
                                "fen Sie die \"services.xml\"!");
    EXPECT_NE(doc.SaveBouquets().find("sat_position=\"0\""), std::string::npos);
}

TEST(SatPositions, AMissingListFileIsReportedOnce) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.SatPositions = {"stale; Position=1"};
    doc.LoadSatPositions("/nonexistent/satpositionen.xml");
    EXPECT_TRUE(doc.SatPositions.empty());
    // The message names the path really used.
    EXPECT_EQ(host.Messages, (std::vector<std::string>{
                                 "Die Datei \"/nonexistent/satpositionen.xml\"\rwurde nicht gefunden!"}));
}

TEST(SatPositions, NothingHappensForACableBox) {
    TRecordingHost host;
    TListDocument doc(&host);
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("cable/services.xml"), ReadExample("cable/bouquets.xml")));
    EXPECT_TRUE(host.Messages.empty());
    for (const auto& e : host.Events)
        EXPECT_NE(e, "satpos: shown");
}
