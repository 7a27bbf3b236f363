// The list engine's own parts: the one index of services by match key, the
// load that ties, fills and normalises in two walks, and the pools the
// trees' objects come from.
#include "TestHelpers.h"
#include "core/JsonDump.h"
#include "listfiles/BouquetsFile.h"
#include "listfiles/ServiceIndex.h"
#include "listfiles/ServicesFile.h"
#include "tree/BlockPool.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace xantu;
using namespace xantu::test;

namespace {

// Services with many repeated keys: few service ids and networks, several
// transponders per network, every class of service type.
std::string CrowdedServices(std::mt19937& rng, int count) {
    std::string body = "<sat name=\"S\" diseqc=\"0\" position=\"1\">\n";
    for (int t = 0; t < count / 4; ++t) {
        body += "<transponder id=\"" + std::to_string(t + 1) + "\" onid=\"" + std::to_string(rng() % 3) +
                "\" frequency=\"1\" symbol_rate=\"1\" fec_inner=\"1\" polarization=\"0\">\n";
        for (int c = 0; c < 4; ++c)
            body += "<channel service_id=\"" + std::to_string(rng() % 6) + "\" name=\"N" + std::to_string(t) +
                    "_" + std::to_string(c) + "\" service_type=\"" + std::to_string(rng() % 4) + "\"" +
                    (rng() % 2 ? " channel_nr=\"7\"" : "") + "/>\n";
        body += "</transponder>\n";
    }
    return ServicesXml(body + "</sat>\n");
}

std::string CrowdedBouquets(std::mt19937& rng, int entries) {
    std::string body = "<Bouquet name=\"B\" hidden=\"0\" locked=\"0\">\n";
    for (int e = 0; e < entries; ++e)
        body += "<channel serviceID=\"" + std::to_string(rng() % 8) + "\" name=\"E" + std::to_string(e) +
                "\" tsid=\"FF\" onid=\"" + std::to_string(rng() % 4) + "\"/>\n";
    return BouquetsXml(body + "</Bouquet>\n");
}

// The first service in tree order that the entry matches, by the plain rule.
PSNode FirstMatch(const TServiceTree& services, const TChannel& entry) {
    PSNode hit = nullptr;
    services.ForEach([&](PSNode s) {
        if (!hit && s->Data()->Kind == SKindChannel && Matches(entry, *s->Data()->Channel))
            hit = s;
    });
    return hit;
}

// Everything a load leaves behind, links included, as one text.
std::string Everything(const TListDocument& doc, const TRecordingHost& host) {
    std::string out = DumpJson(doc) + DumpBouquetTree(doc);
    doc.VTB.ForEach([&](PBNode n) {
        const TChannel* c = n->Data()->Channel.get();
        if (c)
            out += c->Name + " -> " + (c->Service ? c->Service->Name : "-") + " tsid " +
                   std::to_string(c->Tsid) + " pos " + c->SatPosition + "\n";
    });
    for (const std::string& e : host.Events)
        out += e + "\n";
    return out;
}

} // namespace

TEST(ServiceIndex, AnswersEveryEntryAsTheMatchRuleDoes) {
    std::mt19937 rng(7);
    TServiceTree services;
    TServicesRead read;
    TServiceIndex index;
    ReadServices(CrowdedServices(rng, 200), services, read, &index);
    TServiceIndex built;
    built.Build(services);
    for (int32_t sid = 0; sid < 8; ++sid)
        for (int32_t onid = 0; onid < 4; ++onid) {
            TChannel entry;
            entry.ServiceId = sid;
            entry.Onid = onid;
            entry.Tsid = 12345; // plays no part
            const PSNode want = FirstMatch(services, entry);
            EXPECT_EQ(index.Find(entry), want) << sid << "/" << onid;
            EXPECT_EQ(built.Find(entry), want) << sid << "/" << onid;
        }
    // Each key is marked once; a key no service has is never marked.
    built.ClearMarks();
    const TTrChannel& first = *services.GetFirst()->Child(0)->Child(0)->Child(0)->Data()->Channel;
    EXPECT_TRUE(built.Mark(MatchKey(first)));
    EXPECT_FALSE(built.Mark(MatchKey(first)));
    EXPECT_FALSE(built.Mark(MatchKey(7, 3)));
}

TEST(ServiceIndex, AnEmptyOrClearedIndexFindsNothing) {
    TServiceIndex index;
    TChannel entry;
    EXPECT_EQ(index.Find(entry), nullptr);
    EXPECT_FALSE(index.Mark(0));
    TServiceTree services;
    TServicesRead read;
    ReadServices(ReadExample("sat/services.xml"), services, read, &index);
    entry.ServiceId = 0x6D66;
    entry.Onid = 1;
    ASSERT_NE(index.Find(entry), nullptr);
    index.Clear();
    EXPECT_EQ(index.Find(entry), nullptr);
}

// The load ties, fills "andere" and normalises in two walks; the steps one
// after another, as the editor's other commands run them, must give the same
// trees, links, messages and files, also when keys repeat, a special service
// comes before a TV service of its key and entries have no service.
TEST(ListEngine, TheFusedLoadEqualsTheStepsOneAfterAnother) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        const std::string services = CrowdedServices(rng, 120);
        const std::string bouquets = CrowdedBouquets(rng, 40);

        TRecordingHost fusedHost;
        TListDocument fused(&fusedHost);
        fused.SatPositions = {"S; Position=9"};
        ASSERT_TRUE(fused.LoadListTexts(services, bouquets));

        TRecordingHost stepHost;
        TListDocument steps(&stepHost);
        steps.SatPositions = fused.SatPositions;
        steps.LoadServices(services);
        steps.LoadBouquets(bouquets);
        steps.DecideNameCharset();
        steps.FillAndere();
        steps.LinkChannels();
        steps.DefaultChannelNumbers();
        steps.RefreshTsids();
        stepHost.SetSatPosListVisible(true);
        steps.ApplySatPositions();
        steps.ApplyViewFilter();
        stepHost.SetModified(false);
        stepHost.SetStatus("XML Struktur geladen");

        EXPECT_EQ(Everything(fused, fusedHost), Everything(steps, stepHost)) << "seed " << seed;
        EXPECT_EQ(fused.SaveBouquets(), steps.SaveBouquets());
        EXPECT_EQ(fused.SaveServices(), steps.SaveServices());
    }
}

TEST(ListEngine, OwnedTextsAreGivenBackAndLoadTheSame) {
    std::string services = ReadExample("sat/services.xml");
    std::string bouquets = ReadExample("sat/bouquets.xml");
    TListDocument viewed;
    ASSERT_TRUE(viewed.LoadListTexts(services, bouquets));
    TListDocument owned;
    ASSERT_TRUE(owned.LoadOwnedListTexts(std::move(services), std::move(bouquets)));
    EXPECT_TRUE(services.empty());
    EXPECT_TRUE(bouquets.empty());
    EXPECT_EQ(owned.SaveBouquets(), viewed.SaveBouquets());
    EXPECT_EQ(owned.SaveServices(), viewed.SaveServices());
    EXPECT_EQ(DumpJson(owned), DumpJson(viewed));
}

// A read that fails half-way still reports the kind of box and what it
// counted, so that the window's labels and the command-line summary tell
// the truth about the part that was read.
TEST(ListEngine, AFailedReadReportsWhatItReadUpToThere) {
    TServiceTree tree;
    TServicesRead read;
    const std::string text = ServicesXml("<cable name=\"C\"><transponder id=\"1\" onid=\"2\" frequency=\"1\" "
                                         "symbol_rate=\"1\" fec_inner=\"1\" modulation=\"1\">"
                                         "<channel service_id=\"1\" name=\"A\" service_type=\"1\"/>"
                                         "</transponder><transponder frequency=\"x\"></transponder></cable>");
    EXPECT_THROW(ReadServices(text, tree, read), EConvertError);
    EXPECT_EQ(read.BoxType, BoxCable);
    EXPECT_EQ(read.CountAll, 1);
    EXPECT_EQ(read.CountTV, 1);
    TRecordingHost host;
    TListDocument doc(&host);
    EXPECT_FALSE(doc.LoadListTexts(text, ReadExample("cable/bouquets.xml")));
    EXPECT_EQ(doc.BoxType, BoxCable);
    EXPECT_EQ(doc.CountAll, 1);
}

// The service jump and the refill after a deletion ask the document, which
// must not answer from nodes of a services tree that was changed around it.
TEST(ListEngine, TheDocumentIndexFollowsItsServicesTree) {
    TListDocument doc;
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("sat/services.xml"), ReadExample("sat/bouquets.xml")));
    TChannel entry;
    entry.ServiceId = 0x1F40;
    entry.Onid = 0x013E;
    PSNode hit = doc.FindService(entry);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Data()->Channel->Name, "Canale Uno");
    // A service whose identifiers change no longer answers for the old ones.
    hit->Data()->Channel->ServiceId = 0x1F49;
    EXPECT_EQ(doc.FindService(entry), nullptr);
    entry.ServiceId = 0x1F49;
    EXPECT_EQ(doc.FindService(entry), hit);
    doc.VTS.Delete(hit->Parent()); // the transponder with the service
    EXPECT_EQ(doc.FindService(entry), nullptr);
    doc.Clear();
    EXPECT_EQ(doc.FindService(entry), nullptr);
}

TEST(BlockPool, ReusesFreedBlocksAndGivesChunksBackWhenEmpty) {
    TBlockPool pool(40);
    EXPECT_EQ(pool.BlockSize() % alignof(std::max_align_t), 0u);
    std::vector<void*> blocks;
    for (int i = 0; i < 5000; ++i)
        blocks.push_back(pool.Allocate());
    EXPECT_EQ(pool.Live(), 5000u);
    EXPECT_GT(pool.Chunks(), 1u);
    std::sort(blocks.begin(), blocks.end());
    for (std::size_t i = 1; i < blocks.size(); ++i)
        ASSERT_GE(static_cast<char*>(blocks[i]) - static_cast<char*>(blocks[i - 1]),
                  static_cast<std::ptrdiff_t>(pool.BlockSize()));
    for (std::size_t i = 1; i < blocks.size(); ++i)
        pool.Free(blocks[i]);
    EXPECT_GT(pool.Chunks(), 1u); // one block still lives
    pool.Free(blocks[0]);
    EXPECT_EQ(pool.Live(), 0u);
    EXPECT_EQ(pool.Chunks(), 1u);
    void* again = pool.Allocate();
    EXPECT_NE(again, nullptr);
    pool.Free(again);
}

TEST(BlockPool, TreesGiveEveryObjectBackWhenCleared) {
    TBlockPool& nodes = TBlockPool::ForSize(sizeof(TTreeNode<TBasicSNode>));
    TBlockPool& wrappers = TBlockPool::ForSize(sizeof(TBasicSNode));
    const std::size_t nodesBefore = nodes.Live();
    const std::size_t wrappersBefore = wrappers.Live();
    {
        TListDocument doc;
        ASSERT_TRUE(doc.LoadListTexts(ReadExample("sat/services.xml"), ReadExample("sat/bouquets.xml")));
        EXPECT_GT(nodes.Live(), nodesBefore);
    }
    EXPECT_EQ(nodes.Live(), nodesBefore);
    EXPECT_EQ(wrappers.Live(), wrappersBefore);
}
