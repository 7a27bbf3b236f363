// Names share their bytes: copies point at the same bytes, a name set anew
// gets bytes of its own, and the bytes stay as long as any name points at
// them, whoever made them (a reader's block, a tree since cleared).
#include "model/ListName.h"
#include "TestHelpers.h"
#include "model/XantuModel.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace xantu;
using namespace xantu::test;

TEST(ListName, CopiesShareBytesAndNewValuesTakeTheirOwn) {
    TListName a("Das Erste HD");
    TListName b = a;
    EXPECT_TRUE(b.SharesBytesWith(a));
    EXPECT_EQ(b, "Das Erste HD");
    b = std::string("ZDF");
    EXPECT_FALSE(b.SharesBytesWith(a));
    EXPECT_EQ(a, "Das Erste HD");
    EXPECT_EQ(b.View(), "ZDF");

    TListName moved = std::move(a);
    EXPECT_EQ(moved, "Das Erste HD");
    EXPECT_TRUE(a.empty()); // NOLINT: a moved-from name is empty
    a = moved;
    a = a; // assigning a name to itself keeps it
    EXPECT_EQ(a, "Das Erste HD");

    const TListName empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.View(), "");
    EXPECT_EQ(std::string(empty.data()), "");

    // Bytes of any value travel unchanged: zero bytes and bytes above 0x7F.
    const std::string odd("A\0B\xE4\xFF", 5);
    const TListName n(odd);
    EXPECT_EQ(n.size(), 5u);
    EXPECT_EQ(n.Str(), odd);
    EXPECT_EQ("x" + TListName("y") + std::string("z"), "xyz");
}

TEST(ListName, ArenaNamesLieSideBySideAndOutliveTheArena) {
    std::vector<TListName> names;
    {
        TListNameArena arena;
        for (int i = 0; i < 20000; ++i) // more than one block
            names.push_back(arena.Add("Kanal " + std::to_string(i)));
        names.push_back(arena.Add(""));
        names.push_back(arena.Add(std::string(40000, 'x'))); // bigger than a block's share
        EXPECT_EQ(names[1].data(), names[0].data() + names[0].size());
    }
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(names[static_cast<std::size_t>(i)], "Kanal " + std::to_string(i));
    EXPECT_TRUE(names[20000].empty());
    EXPECT_EQ(names[20001].size(), 40000u);
    // Dropping the first names of a block keeps the bytes of the rest.
    names.erase(names.begin(), names.begin() + 10000);
    EXPECT_EQ(names[0], "Kanal 10000");
    EXPECT_EQ(names[9999], "Kanal 19999");
}

TEST(ListName, NamesTakenFromALoadedTreeStayAfterTheTreeIsGone) {
    TListName service, entry, caption;
    {
        auto doc = std::make_unique<TListDocument>();
        doc->Info_ChannelWithoutService = false;
        ASSERT_TRUE(doc->LoadListTexts(
            ServicesXml("<sat name=\"S\" diseqc=\"0\" position=\"19\"><transponder id=\"1\" onid=\"1\" "
                        "frequency=\"1\" symbol_rate=\"1\" fec_inner=\"1\" polarization=\"0\"><channel "
                        "service_id=\"1\" name=\"Sport &amp; Mehr\" service_type=\"1\" channel_nr=\"0\"/>"
                        "</transponder></sat>"),
            BouquetsXml("<Bouquet name=\"Fav\" hidden=\"0\" locked=\"0\"><channel serviceID=\"1\" "
                        "name=\"Eintrag\" tsid=\"1\" onid=\"1\"/></Bouquet>")));
        PSNode channel = doc->VTS.GetFirst();
        while (channel && channel->Data()->Kind != SKindChannel)
            channel = doc->VTS.GetNext(channel);
        ASSERT_TRUE(channel);
        service = channel->Data()->Channel->Name;
        caption = channel->Data()->Caption;
        EXPECT_TRUE(caption.SharesBytesWith(service)); // a caption is its service's name
        PBNode e = doc->VTB.GetFirst();
        while (e && e->Data()->Kind != BKindChannel)
            e = doc->VTB.GetNext(e);
        ASSERT_TRUE(e);
        entry = e->Data()->Channel->Name;
        // Renaming one node leaves the other holders of the bytes alone.
        channel->Data()->Caption = "Neu";
        EXPECT_EQ(channel->Data()->Channel->Name, "Sport &amp; Mehr");
        doc->Clear();
    }
    EXPECT_EQ(service, "Sport &amp; Mehr");
    EXPECT_EQ(caption, "Sport &amp; Mehr");
    EXPECT_EQ(entry, "Eintrag");
}
