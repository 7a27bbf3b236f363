#include "EditTestKit.h"
#include "text/ListText.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

TSearchData Names(const std::string& text, bool caseSensitive = false, bool fullMatch = false) {
    TSearchData d;
    d.SearchText = text;
    d.CaseSensitive = caseSensitive;
    d.FullMatch = fullMatch;
    return d;
}

TSearchData Id(uint8_t target, int32_t value) {
    TSearchData d;
    d.SearchTarget = target;
    d.SearchText = "x";
    d.SearchValue = value;
    return d;
}

std::string Hit(TEditFixture& f, const TSearchData& d) {
    f.Host.Selected.clear();
    f.Editor.Search().Start(d);
    return f.Host.Selected.empty() ? "" : f.Host.Selected[0]->Data()->Caption.Str();
}

} // namespace

TEST(Search, OptionTable) {
    TEditFixture f;
    EXPECT_EQ(Hit(f, Names("ärzte")), "Ärzte TV");
    EXPECT_EQ(Hit(f, Names("ärzte tv", false, true)), ""); // whole match folds A-Z only
    EXPECT_EQ(Hit(f, Names("ÄRZTE TV", false, true)), "Ärzte TV");
    EXPECT_EQ(Hit(f, Names("Ärzte tv", false, true)), "Ärzte TV");
    EXPECT_EQ(Hit(f, Names("ard", false, true)), "ARD");
    EXPECT_EQ(Hit(f, Names("ARD", false, false)), "ARD 1");
    EXPECT_EQ(Hit(f, Names("ARD", true, true)), "ARD");
    EXPECT_EQ(Hit(f, Names("ard", true, false)), "");
    EXPECT_EQ(Hit(f, Names("ta", true, false)), "Beta");
}

TEST(Search, StartsAtTheRootAndF4GoesOnWithoutWrapping) {
    TEditFixture f;
    EXPECT_EQ(Hit(f, Names("bou")), "Bouquets");
    EXPECT_EQ(f.Editor.Search().SearchNode, f.Bouquet("Eins"));
    EXPECT_EQ(Hit(f, Names("beta")), "Beta");
    EXPECT_EQ(f.Editor.Search().Next(), f.Entry("Drei", "Beta"));
    EXPECT_TRUE(f.Host.Messages.empty());
    EXPECT_EQ(f.Editor.Search().Next(), nullptr);
    EXPECT_EQ(f.Host.Messages, std::vector<std::string>{"Information: Der Suchstring wurde nicht gefunden!"});
    EXPECT_EQ(f.Editor.Search().SearchNode, nullptr);
    EXPECT_EQ(f.Editor.Search().Next(), nullptr);
    EXPECT_EQ(f.Host.Messages.size(), 1u);

    // A hit on the very last node: the next F4 is silent.
    EXPECT_EQ(Hit(f, Names("omega", false, true)), "Omega");
    EXPECT_EQ(f.Editor.Search().SearchNode, nullptr);
    EXPECT_EQ(f.Editor.Search().Next(), nullptr);
    EXPECT_EQ(f.Host.Messages.size(), 1u);
}

TEST(Search, IdsHitOnlyEntriesAndRevealHiddenOnes) {
    TEditFixture f;
    PBNode zwei = f.Bouquet("Zwei");
    PBNode delta = f.Entry("Zwei", "Delta");
    zwei->Expanded = false;
    delta->Visible = false;
    EXPECT_EQ(Hit(f, Id(SearchServiceId, 0x13)), "Delta");
    EXPECT_TRUE(delta->Visible);
    EXPECT_TRUE(zwei->Expanded);
    EXPECT_EQ(f.Host.Revealed.back(), delta);
    // Onid 1 is every entry's; the root and the bouquets never hit.
    EXPECT_EQ(Hit(f, Id(SearchOnId, 1)), "Alpha mine");
    EXPECT_EQ(Hit(f, Id(SearchServiceId, 0x99)), "");
}

TEST(Search, ComparesTheNamesAsTheTreeShowsThem) {
    TEditFixture f;
    f.Editor.RenameChannel(f.Entry("Eins", "Beta"), NameForList("Kinder & Familie", TNameCharset::Utf8));
    f.Editor.RenameChannel(f.Entry("Eins", "Alpha mine"), "Made in L&apos;Pool &#8211; &#x263A;");
    EXPECT_EQ(f.Entry("Eins", "Kinder &amp; Familie")->Data()->Channel->Name, "Kinder &amp; Familie");
    EXPECT_EQ(Hit(f, Names("kinder & fam")), "Kinder &amp; Familie");
    EXPECT_EQ(Hit(f, Names("Kinder & Familie", true, true)), "Kinder &amp; Familie");
    // The entity's letters are not part of the name the user sees.
    EXPECT_EQ(Hit(f, Names("amp")), "");
    EXPECT_EQ(Hit(f, Names("L'Pool")), "Made in L&apos;Pool &#8211; &#x263A;");
    EXPECT_EQ(Hit(f, Names("l'pool \xE2\x80\x93 \xE2\x98\xBA")), "Made in L&apos;Pool &#8211; &#x263A;");
    EXPECT_EQ(Hit(f, Names("made in l'pool \xE2\x80\x93 \xE2\x98\xBA", false, true)),
              "Made in L&apos;Pool &#8211; &#x263A;");
    EXPECT_EQ(Hit(f, Names("apos")), "");
}

TEST(Search, Windows1252ListsFoldThroughTheByteTable) {
    TListDocument doc;
    TEditRecorder host;
    TBouquetEditor editor(doc, host);
    std::string services = FixtureServices();
    std::string bouquets = FixtureBouquets();
    for (std::string* s : {&services, &bouquets})
        for (std::size_t p; (p = s->find("Ärzte")) != std::string::npos;)
            s->replace(p, 2, "\xC4");
    ASSERT_TRUE(doc.LoadListTexts(services, bouquets));
    editor.ListsReplaced();
    TSearchData d = Names("ärzte");
    editor.Search().Start(d);
    ASSERT_EQ(host.Selected.size(), 1u);
    EXPECT_EQ(host.Selected[0]->Data()->Caption, "\xC4rzte TV");
    EXPECT_EQ(NameForList("Ärzte <neu>", TNameCharset::Cp1252), "\xC4rzte &lt;neu&gt;");
}

TEST(Search, NothingHappensWithoutListOrText) {
    TListDocument doc;
    TEditRecorder host;
    TBouquetEditor editor(doc, host);
    editor.Search().Start(Names("x"));
    EXPECT_EQ(editor.Search().Next(), nullptr);
    EXPECT_TRUE(host.Messages.empty());
    TEditFixture f;
    f.Editor.Search().Start(Names(""));
    EXPECT_TRUE(f.Host.Messages.empty());
}
