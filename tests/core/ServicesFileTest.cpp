#include "TestHelpers.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

std::string Resaved(const std::string& services, TListHost* host = nullptr) {
    TListDocument doc(host);
    doc.LoadServices(services);
    doc.DefaultChannelNumbers();
    return doc.SaveServices();
}

std::string Error(TListDocument& doc, const std::string& text) {
    try {
        doc.LoadServices(text);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(ServicesFile, WritesASavedSatelliteFileBackByteForByte) {
    const std::string sat = ServicesXml(
        "\t<sat name=\"Astra &amp; Co \xC3\xBC\" diseqc=\"0\" position=\"192\">\n"
        "\t\t<transponder id=\"0401\" onid=\"0001\" frequency=\"11836500\" inversion=\"2\" "
        "symbol_rate=\"27500000\" "
        "fec_inner=\"3\" polarization=\"0\">\n"
        "\t\t\t<channel service_id=\"6D66\" name=\"Eins &lt;HD&gt;\" service_type=\"01\" channel_nr=\"1\"/>\n"
        "\t\t\t<channel service_id=\"FFFFFFFF\" name=\"S\xFC"
        "d\" service_type=\"1F\" channel_nr=\"12\"/>\n"
        "\t\t</transponder>\n"
        "\t</sat>\n"
        "\t<sat name=\"Leer\" diseqc=\"1\" position=\"130\">\n"
        "\t</sat>\n");
    EXPECT_EQ(Resaved(sat), sat);
}

TEST(ServicesFile, WritesASavedCableFileBackByteForByte) {
    const std::string cable = ServicesXml(
        "\t<cable name=\"Netz\">\n"
        "\t\t<transponder id=\"0003\" onid=\"F001\" frequency=\"346000\" inversion=\"\" "
        "symbol_rate=\"6900000\" "
        "fec_inner=\"0\" modulation=\"5\">\n"
        "\t\t\t<channel service_id=\"0101\" name=\"Stadt\" service_type=\"02\" channel_nr=\"0\"/>\n"
        "\t\t</transponder>\n"
        "\t</cable>\n");
    EXPECT_EQ(Resaved(cable), cable);
}

TEST(ServicesFile, NormalisesWhatTheBoxWritesLoosely) {
    // Lower-case root and hex, CRLF, a byte-order mark, one-digit ids, no
    // channel number, an empty inversion on a satellite box.
    const std::string loose =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<xantu>\r\n"
        "<sat name=\"S\" diseqc=\"0\" position=\"1\">\r\n"
        "<transponder id=\"1\" onid=\"ab\" frequency=\"1\" inversion=\"\" symbol_rate=\"2\" fec_inner=\"3\" "
        "polarization=\"1\">\r\n"
        "<channel service_id=\"a\" name=\"N\" service_type=\"1\"/>\r\n"
        "</transponder>\r\n</sat>\r\n</xantu>\r\n";
    const std::string expected = ServicesXml(
        "\t<sat name=\"S\" diseqc=\"0\" position=\"1\">\n"
        "\t\t<transponder id=\"0001\" onid=\"00AB\" frequency=\"1\" symbol_rate=\"2\" fec_inner=\"3\" "
        "polarization=\"1\">\n"
        "\t\t\t<channel service_id=\"000A\" name=\"N\" service_type=\"01\" channel_nr=\"0\"/>\n"
        "\t\t</transponder>\n"
        "\t</sat>\n");
    EXPECT_EQ(Resaved(loose), expected);
    EXPECT_EQ(Resaved(expected), expected);
}

TEST(ServicesFile, BuildsTheTreeAndCountsByServiceClass) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.LoadServices(ReadExample("sat/services.xml"));
    EXPECT_EQ(doc.BoxType, BoxSat);
    EXPECT_EQ(doc.CountAll, 9);
    EXPECT_EQ(doc.CountTV, 4);
    EXPECT_EQ(doc.CountRadio, 3);
    EXPECT_EQ(host.Events, (std::vector<std::string>{"labels: sat", "counters: 9/4/3", "pool"}));
    PSNode root = doc.VTS.GetFirst();
    EXPECT_EQ(root->Data()->Caption, "Services");
    EXPECT_TRUE(root->Expanded);
    PSNode tp = root->Child(0)->Child(0);
    EXPECT_EQ(tp->Data()->Caption, "Transponder 0x0401");
    EXPECT_EQ(tp->Data()->Transponder->Sat, root->Child(0)->Data()->Sat.get());
    PSNode special = root->Child(0)->Child(1)->Child(1);
    EXPECT_EQ(special->Data()->ImageIndex, ImgSpecial);
    EXPECT_EQ(special->Data()->Channel->Transponder, root->Child(0)->Child(1)->Data()->Transponder.get());
}

TEST(ServicesFile, ChoosesTheKindOfBoxFromTheContent) {
    TListDocument doc;
    // Both kinds in one file: refused, since one kind would vanish on save.
    EXPECT_THROW(
        doc.LoadServices(ServicesXml("<cable name=\"C\"></cable><sat name=\"S\" position=\"1\"></sat>")),
        EXMLException);
    doc.LoadServices(ServicesXml("<cable name=\"C\"></cable>"));
    EXPECT_EQ(doc.BoxType, BoxCable);
    doc.LoadServices(ServicesXml(""));
    EXPECT_EQ(doc.BoxType, BoxNone);
    EXPECT_EQ(doc.VTS.TotalCount(), 1u);
}

TEST(ServicesFile, ReportsMalformedFilesWithTheReadersMessages) {
    TListDocument doc;
    EXPECT_EQ(Error(doc, ""), "services load <xantu> failed");
    EXPECT_EQ(doc.VTS.TotalCount(), 1u); // the root stays
    EXPECT_EQ(Error(doc, "<XANTU><sat name=\"a\">"),
              "Die Datei services.xml ist unvollst\xC3\xA4ndig: das Ende </XANTU> fehlt.");
    EXPECT_EQ(
        Error(doc, ServicesXml("<sat name=\"S\"><transponder id=\"1\" symbol_rate=\"1\" fec_inner=\"1\" "
                               "polarization=\"1\"></transponder></sat>")),
        "'' ist kein g\xC3\xBCltiger Integerwert");
    EXPECT_EQ(doc.BoxType, BoxSat); // kept as far as it was set
    EXPECT_EQ(
        Error(doc, ServicesXml("<sat name=\"S\"><transponder id=\"1\" frequency=\"99999999999\" "
                               "symbol_rate=\"1\" fec_inner=\"1\" polarization=\"1\"></transponder></sat>")),
        "'99999999999' ist kein g\xC3\xBCltiger Integerwert");
    EXPECT_EQ(
        Error(doc, ServicesXml("<sat name=\"S\"><transponder id=\"1\" onid=\"0x1\" frequency=\"1\" "
                               "symbol_rate=\"1\" fec_inner=\"1\" polarization=\"1\"></transponder></sat>")),
        "Invalid hex character x");
}

TEST(ServicesFile, RefusesToWriteWithoutAKindOfBox) {
    TListDocument doc;
    doc.LoadServices(ServicesXml(""));
    EXPECT_THROW(doc.SaveServices(), Exception);
}
