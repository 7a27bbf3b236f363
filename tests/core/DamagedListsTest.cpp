// Lists that are cut short, odd or hand-edited: each either loads with all
// of its data or fails loudly, and nothing is written that would not read
// back.
#include "DamagedKit.h"
#include "TestHelpers.h"
#include "core/FileIO.h"
#include "core/JsonDump.h"
#include "core/PairFiles.h"
#include "text/VisibleText.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xantu;
using namespace xantu::test;

TEST(DamagedLists, ACutFileFailsWhereverItWasCut) {
    const std::string services = ReadExample("sat/services.xml");
    const std::string bouquets = ReadExample("sat/bouquets.xml");
    const std::size_t inTag = bouquets.find("name=\"Radio\"") + 4;
    const std::size_t between = bouquets.find("\t<Bouquet name=\"Radio\"");
    const std::size_t beforeEnd = bouquets.find("</XANTU>");
    for (std::size_t at : {inTag, between, beforeEnd, beforeEnd + 5, bouquets.size() - 1}) {
        Loaded r = Load(services, bouquets.substr(0, at));
        EXPECT_FALSE(r.ok) << at;
        EXPECT_EQ(r.messages, std::vector<std::string>{kCut}) << at;
        EXPECT_NE(r.dump.find("\"bouquets\":[]"), std::string::npos) << at;
    }
    // The services file alike, and the end tag in any case counts.
    Loaded s = Load(services.substr(0, services.find("</sat>")), bouquets);
    EXPECT_EQ(s.messages, std::vector<std::string>{
                              "Die Datei services.xml ist unvollst\xC3\xA4ndig: das Ende </XANTU> fehlt."});
    EXPECT_TRUE(Load(services, Replace(bouquets, "</XANTU>", "</xantu>")).ok);
    // An element that ends inside another one's tag (a raw "</Bouquet>" in
    // a name) would drop the entries after it: refused as well.
    Loaded raw = Load(services, Replace(bouquets, "name=\"Erstes Programm\"", "name=\"Erstes</Bouquet>\""));
    EXPECT_EQ(raw.messages,
              std::vector<std::string>{"Die Datei bouquets.xml ist fehlerhaft: ein <channel>-Element "
                                       "ist nicht abgeschlossen."});
    // An end tag that only stands in a comment does not make a file whole.
    EXPECT_FALSE(Load(services, Replace(bouquets, "</XANTU>", "<!-- </XANTU> -->")).ok);
}

TEST(DamagedLists, AnElementThatLostItsEndTagIsRefusedNotMergedOrCut) {
    const std::string services = ReadExample("sat/services.xml");
    const std::string bouquets = ReadExample("sat/bouquets.xml");
    const std::vector<std::string> transponderOpen{
        "Die Datei services.xml ist fehlerhaft: ein <transponder>-Element ist nicht abgeschlossen."};
    // Without its end tag the first transponder would reach to the second's
    // end and swallow it with its channels.
    EXPECT_EQ(Load(Replace(services, "</transponder>", ""), bouquets).messages, transponderOpen);
    // The last one would end at its first channel's "/>" and drop the rest.
    std::string lastOpen = services;
    lastOpen.erase(lastOpen.rfind("</transponder>"), std::string("</transponder>").size());
    EXPECT_EQ(Load(lastOpen, bouquets).messages, transponderOpen);
    Loaded bouquet = Load(services, Replace(bouquets, "</Bouquet>", ""));
    EXPECT_EQ(bouquet.messages, std::vector<std::string>{"Die Datei bouquets.xml ist fehlerhaft: ein "
                                                         "<bouquet>-Element ist nicht abgeschlossen."});
}

TEST(DamagedLists, SelfClosingElementsEndThereAndTheirSiblingsStaySiblings) {
    const std::string services = ReadExample("sat/services.xml");
    const std::string bouquets = ReadExample("sat/bouquets.xml");
    Loaded b = Load(
        services, Replace(bouquets, "\t<Bouquet name=\"Radio\"",
                          "\t<Bouquet name=\"Leer\" hidden=\"1\" locked=\"0\"/>\n\t<Bouquet name=\"Radio\""));
    ASSERT_TRUE(b.ok);
    EXPECT_NE(b.bouquets.find("<Bouquet name=\"Leer\" hidden=\"1\" locked=\"0\">\n\t</Bouquet>\n\t<Bouquet "
                              "name=\"Radio\" hidden=\"0\" locked=\"0\">\n\t\t<channel serviceID=\"6D70\""),
              std::string::npos)
        << b.bouquets;

    // A satellite and a transponder without content, each before a sibling
    // with children of its own.
    std::string s =
        Replace(services, "\t<sat name=\"Astra 19.2E\"",
                "\t<sat name=\"Leer\" diseqc=\"1\" position=\"10\"/>\n\t<sat name=\"Astra 19.2E\"");
    s = Replace(
        s, "\t\t<transponder id=\"0401\"",
        "\t\t<transponder id=\"0999\" onid=\"0001\" frequency=\"1\" symbol_rate=\"2\" fec_inner=\"3\" "
        "polarization=\"1\" />\n\t\t<transponder id=\"0401\"");
    Loaded r = Load(s, bouquets);
    ASSERT_TRUE(r.ok);
    EXPECT_NE(
        r.services.find("<sat name=\"Leer\" diseqc=\"1\" position=\"10\">\n\t</sat>\n\t<sat name=\"Astra"),
        std::string::npos);
    EXPECT_NE(
        r.services.find("polarization=\"1\">\n\t\t</transponder>\n\t\t<transponder id=\"0401\" onid=\"0001\" "
                        "frequency=\"11836500\""),
        std::string::npos);
}

TEST(DamagedLists, CommentedOutElementsNeverBecomeLive) {
    const std::string services = ReadExample("sat/services.xml");
    const std::string bouquets = ReadExample("sat/bouquets.xml");
    const Loaded plain = Load(services, bouquets);
    std::string b = Replace(bouquets, "<XANTU>\n",
                            "<!-- <Bouquet name=\"Alt\" hidden=\"0\" locked=\"0\"></Bouquet> -->"
                            "<XANTU>\n<!--\n<Bouquet name=\"Alt2\" hidden=\"0\" locked=\"0\">"
                            "</Bouquet>\n-->");
    b = Replace(b, "\t\t<channel serviceID=\"6D70\"",
                "<!-- <channel serviceID=\"0001\" name=\"Alt\"/> -->"
                "\t\t<channel serviceID=\"6D70\"");
    std::string s =
        Replace(services, "\t<sat name=\"Astra 19.2E\"",
                "<!-- <sat name=\"Alt\" diseqc=\"0\" position=\"1\"></sat> -->\t<sat name=\"Astra 19.2E\"");
    s = Replace(
        s, "\t\t<transponder id=\"0401\"",
        "<!--<transponder id=\"0999\" onid=\"0001\" frequency=\"1\" symbol_rate=\"2\" fec_inner=\"3\" "
        "polarization=\"1\"><channel service_id=\"0999\" name=\"Alt\"/></transponder>-->"
        "\t\t<transponder id=\"0401\"");
    const Loaded r = Load(s, b);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.dump, plain.dump);
    EXPECT_EQ(r.bouquets, plain.bouquets);
    EXPECT_EQ(r.services, plain.services);
}

TEST(DamagedLists, AttributesAreReadAsWholeNamesInAnyOrderAndQuoting) {
    const std::string services = ReadExample("sat/services.xml");
    const std::string bouquets = ReadExample("sat/bouquets.xml");
    const Loaded plain = Load(services, bouquets);
    // onid before id, blanks around "=", single quotes, another line: the
    // same lists.
    std::string s = Replace(services, "<transponder id=\"0401\" onid=\"0001\"",
                            "<transponder onid = '0001'\n id=\"0401\"");
    std::string b =
        Replace(bouquets, "<channel serviceID=\"6D66\" name=\"Erstes Programm\" tsid=\"0401\" onid=\"0001\"",
                "<channel onid='0001' tsid=\"0401\"\tname = \"Erstes Programm\" serviceID='6D66'");
    Loaded r = Load(s, b);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.dump, plain.dump);
    EXPECT_EQ(r.services, plain.services);
    EXPECT_EQ(r.bouquets, plain.bouquets);
    // A name that only ends like a known one is not that one.
    b = Replace(bouquets, "<Bouquet name=\"Favoriten\"",
                "<Bouquet bouquet_name=\"Falsch\" name=\"Favoriten\"");
    r = Load(services, b);
    ASSERT_TRUE(r.ok);
    EXPECT_NE(
        r.bouquets.find("<Bouquet name=\"Favoriten\" hidden=\"0\" locked=\"0\" bouquet_name=\"Falsch\">"),
        std::string::npos);
    // A value that is there but no number still fails as before.
    r = Load(services, Replace(bouquets, "hidden=\"0\"", "hidden='x'"));
    EXPECT_EQ(r.messages, std::vector<std::string>{"'x' ist kein g\xC3\xBCltiger Integerwert"});
}

TEST(DamagedLists, UnknownAttributesSurviveInTheirOrderAndCopiesCarryThem) {
    std::string s = ReadExample("sat/services.xml");
    std::string b = ReadExample("sat/bouquets.xml");
    s = Replace(s, "diseqc=\"0\" position=\"192\"", "diseqc=\"0\" lnb = '2' position=\"192\" Band=\"ku\"");
    s = Replace(s, "channel_nr=\"1\"/>", "channel_nr=\"1\" lcn=\"101\"/>");
    b = Replace(b, "<Bouquet name=\"Favoriten\" hidden=\"0\" locked=\"0\">",
                "<Bouquet type=\"0\" bouquet_id=\"0022\" name=\"Favoriten\" hidden=\"0\" locked=\"0\">");
    b = Replace(b, "tsid=\"0401\" onid=\"0001\" sat_position=\"192\"/>",
                "tsid=\"0401\" onid=\"0001\" sat_position=\"192\" sat=\"282\"/>");
    const Loaded r = Load(s, b);
    ASSERT_TRUE(r.ok);
    EXPECT_NE(
        r.services.find("<sat name=\"Astra 19.2E\" diseqc=\"0\" position=\"192\" lnb = '2' Band=\"ku\">"),
        std::string::npos);
    EXPECT_NE(r.services.find("channel_nr=\"1\" lcn=\"101\"/>"), std::string::npos);
    EXPECT_NE(r.bouquets.find("<Bouquet name=\"Favoriten\" hidden=\"0\" locked=\"0\" type=\"0\" "
                              "bouquet_id=\"0022\">"),
              std::string::npos);
    EXPECT_NE(r.bouquets.find("name=\"Erstes Programm\" tsid=\"0401\" onid=\"0001\" sat_position=\"192\" "
                              "sat=\"282\"/>"),
              std::string::npos);
    // Written again, the same bytes.
    EXPECT_EQ(Load(r.services, r.bouquets).bouquets, r.bouquets);
    EXPECT_EQ(Load(r.services, r.bouquets).services, r.services);

    // A copy of an entry carries them; an entry made from a service has none.
    TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    ASSERT_TRUE(doc.LoadListTexts(s, b));
    const TBasicBNode& first = *doc.VTB.GetFirst()->Child(0)->Child(0)->Data();
    EXPECT_EQ(first.Clone()->Channel->Extra, " sat=\"282\"");
    const TBasicBNode& andere = *doc.ReservedBouquet()->Child(0)->Data();
    EXPECT_EQ(andere.Channel->Extra, "");
}

TEST(DamagedLists, MixedOrInconsistentContentFailsLoudly) {
    const std::string sat = ReadExample("sat/services.xml");
    const std::string cable = ReadExample("cable/services.xml");
    const std::string mixed = Replace(sat, "</XANTU>", cable.substr(cable.find("\t<cable")));
    const Loaded r = Load(mixed, ReadExample("sat/bouquets.xml"));
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("Satelliten (<sat>) und Kabelnetze (<cable>)"), std::string::npos);

    // A position line that has the name but no position is "not found".
    TRecordingHost host;
    TListDocument doc(&host);
    doc.ParseSatPositions(
        "<satellites><sat name=\"Hotbird 13.0E\"/><sat name=\"X\" position=\"1\"/></satellites>");
    ASSERT_TRUE(doc.LoadListTexts(sat, ReadExample("sat/bouquets.xml")));
    EXPECT_NE(DumpJson(doc).find("\"name\":\"Hotbird 13.0E\",\"diseqc\":\"1\",\"position\":\"0\""),
              std::string::npos);
    EXPECT_NE(host.Messages.back().find("wird auch in der Sat-Positionsliste nicht gefunden!"),
              std::string::npos);
    // A position list cut short is refused like one without its element.
    EXPECT_THROW(doc.ParseSatPositions("<satellites><sat name=\"A\" position=\"1\"/>"), EXMLException);
}

TEST(DamagedLists, ANameThatWouldNotReadBackIsNeverWritten) {
    TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("cable/services.xml"), ReadExample("cable/bouquets.xml")));
    TBouquet& b = *doc.VTB.GetFirst()->Child(1)->Data()->Bouquet;
    b.Name = "Film's \"Zwei\"";
    try {
        SavePairTexts(doc);
        FAIL() << "saved";
    } catch (const Exception& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("Die Listen wurden nicht gespeichert"), std::string::npos) << m;
        EXPECT_NE(m.find("bouquets.xml, Bouquet 2"), std::string::npos) << m;
    }
    const std::string dir = TempDir();
    EXPECT_THROW(SaveListPair(doc, dir + "/bouquets.xml", dir + "/services.xml"), Exception);
    EXPECT_FALSE(FileExists(dir + "/bouquets.xml"));
    EXPECT_FALSE(FileExists(dir + "/services.xml"));
    // A value with one kind of quote goes back in the other kind.
    b.Name = "Film \"Zwei\"";
    EXPECT_NE(SavePairTexts(doc).Bouquets.find("<Bouquet name='Film \"Zwei\"'"), std::string::npos);
}

// Random trees with names as files hold them (entities, bytes above 127,
// the odd '<', '>' and quote) and unknown attributes: written, read and
// written again they give the same bytes and the same trees.
TEST(DamagedLists, RandomTreesReadBackToThemselves) {
    std::mt19937 rng(20261208);
    const std::vector<std::string> pieces = {"a",      "Z",        " ",    "&amp;", "&lt;", "&quot;",
                                             "&#228;", "\xC3\xBC", "\xE4", "\x80",  ">",    "<1",
                                             "'",      "<!--",     "/",    "=",     "\t",   "1"};
    auto name = [&] {
        std::string n;
        const int len = static_cast<int>(rng() % 6);
        for (int i = 0; i < len; ++i)
            n += pieces[rng() % pieces.size()];
        if (rng() % 8 == 0 && n.find('\'') == std::string::npos)
            n += "\"q\"";
        return n;
    };
    auto extra = [&] {
        std::string e;
        const int count = static_cast<int>(rng() % 3);
        for (int i = 0; i < count; ++i)
            e += std::string(" x") + std::to_string(i) + (rng() % 2 ? "=\"" : " = '") +
                 (rng() % 2 ? "v" : "&amp;") + (e.size() % 2 ? "\"" : "'");
        return e;
    };
    for (int round = 0; round < 60; ++round) {
        // Extra attributes must close with the quote they opened with.
        auto fixQuotes = [](std::string e) {
            std::string out;
            std::size_t i = 0;
            while (i < e.size()) {
                const std::size_t q = e.find_first_of("\"'", i);
                if (q == std::string::npos)
                    break;
                const std::size_t close = e.find_first_of("\"'", q + 1);
                out += e.substr(i, q - i + 1) + e.substr(q + 1, close - q - 1) + e[q];
                i = close + 1;
            }
            return out;
        };
        TListDocument doc;
        doc.BoxType = round % 2 ? BoxSat : BoxCable;
        PSNode sroot = doc.AddServiceNode(nullptr, std::make_unique<TBasicSNode>("Services", 0));
        for (int s = 0, ns = 1 + static_cast<int>(rng() % 3); s < ns; ++s) {
            auto sat = std::make_unique<TBasicSNode>("", 0);
            if (doc.BoxType == BoxSat)
                sat->SetSat(name(), name(), name());
            else
                sat->SetSat(name(), {}, {});
            sat->Sat->Extra = fixQuotes(extra());
            TSat* satp = sat->Sat.get();
            PSNode sn = doc.AddServiceNode(sroot, std::move(sat));
            for (int t = 0, nt = static_cast<int>(rng() % 3); t < nt; ++t) {
                auto tp = std::make_unique<TBasicSNode>("", 0);
                tp->SetTransponder(satp, static_cast<int32_t>(rng()), static_cast<int32_t>(rng()),
                                   static_cast<int32_t>(rng()), static_cast<int32_t>(rng()), -3,
                                   static_cast<int32_t>(rng() % 4), name());
                tp->Transponder->Extra = fixQuotes(extra());
                TTransponder* tpp = tp->Transponder.get();
                PSNode tn = doc.AddServiceNode(sn, std::move(tp));
                for (int c = 0, nc = static_cast<int>(rng() % 4); c < nc; ++c) {
                    auto ch = std::make_unique<TBasicSNode>("", 3);
                    std::string nr = name();
                    ch->SetChannel(tpp, name(), nr.empty() ? "0" : nr, static_cast<int32_t>(rng() % 300),
                                   static_cast<int32_t>(rng()));
                    ch->Channel->Extra = fixQuotes(extra());
                    doc.AddServiceNode(tn, std::move(ch));
                }
            }
        }
        PBNode broot = doc.AddBouquetNode(nullptr, std::make_unique<TBasicBNode>("Bouquets", 0));
        for (int i = 0, nb = static_cast<int>(rng() % 4); i < nb; ++i) {
            auto bq = std::make_unique<TBasicBNode>("", 0);
            bq->SetBouquet(name(), rng() % 2, rng() % 2);
            bq->Bouquet->Extra = fixQuotes(extra());
            TBouquet* bp = bq->Bouquet.get();
            PBNode bn = doc.AddBouquetNode(broot, std::move(bq));
            for (int k = 0, ne = static_cast<int>(rng() % 4); k < ne; ++k) {
                auto e = std::make_unique<TBasicBNode>("", 3);
                e->SetChannel(bp, name(), static_cast<int32_t>(rng()), static_cast<int32_t>(rng()),
                              static_cast<int32_t>(rng()));
                e->Channel->Extra = fixQuotes(extra());
                doc.AddBouquetNode(bn, std::move(e));
            }
        }
        const std::string s1 = doc.SaveServices();
        const std::string b1 = doc.SaveBouquets();
        ASSERT_EQ(FirstReadBackDifference(doc, s1, b1), "") << s1 << "\n" << b1;
        TListDocument back;
        back.LoadServices(s1);
        back.LoadBouquets(b1);
        EXPECT_EQ(back.SaveServices(), s1);
        EXPECT_EQ(back.SaveBouquets(), b1);
    }
}
