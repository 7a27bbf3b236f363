// The readers take an element list with each start tag's attributes read in
// the walk that finds the tag's end, and search for tags through the '<'
// positions found once per text. Both must answer exactly what the element
// list, the attribute list and the plain search answer on any text, odd or
// cut ones included.
#include "listfiles/FastStrings.h"
#include "listfiles/UXml.h"

#include <gtest/gtest.h>
#include <random>

using namespace xantu;

namespace {

// Pieces of tags, plain and odd: blanks around "=", single quotes, '>' and
// '<' inside values, names glued to values, stray quotes and slashes, an
// unclosed value, another element's name, upper case.
std::string RandomTags(std::mt19937& rng, int count) {
    static const char* const pieces[] = {
        " a=\"1\"", " name=\"x>y\"", " b = '2'",  "\tc=\"<ch\"", " d=\"\"",     "e=\"3\"",
        " =\"4\"",  " \"",           " /",        " f",          " g=h",        " i=\"",
        "\n",       " NAME=\"Q\"",   " j='a\"b'", " k=\"v'w\"",  " l=\"</c>\"", "/"};
    static const char* const heads[] = {"<ch", "<CH", "<chx", "<ch", "<ch"};
    static const char* const tails[] = {"/>", ">x</ch>", ">", " />", ">\n<ch/></ch>", "", "></CH>"};
    std::string text;
    for (int t = 0; t < count; ++t) {
        text += rng() % 3 == 0 ? "\n\t" : "";
        text += heads[rng() % std::size(heads)];
        const int attrs = static_cast<int>(rng() % 5);
        for (int a = 0; a < attrs; ++a)
            text += pieces[rng() % std::size(pieces)];
        text += tails[rng() % std::size(tails)];
    }
    return text;
}

void ExpectSameAsTheLongWay(std::string_view text, const TTagStarts* starts) {
    TTagList plain;
    const bool plainOk = GetTagList(text, "ch", plain);
    TElementList list;
    const bool ok = GetElementList(text, "ch", list, starts);
    ASSERT_EQ(ok, plainOk) << text;
    if (!ok) {
        EXPECT_TRUE(list.empty());
        return;
    }
    ASSERT_EQ(list.Elements, plain) << text;
    ASSERT_EQ(list.AttrStart.size(), list.size() + 1);
    for (std::size_t k = 0; k < list.size(); ++k) {
        TAttrList attrs;
        GetAttrList(plain[k], attrs);
        const auto got = list.AttrsOf(k);
        ASSERT_EQ(got.size(), attrs.size()) << plain[k];
        for (std::size_t a = 0; a < attrs.size(); ++a) {
            EXPECT_EQ(got[a].Name, attrs[a].Name) << plain[k];
            EXPECT_EQ(got[a].Value, attrs[a].Value) << plain[k];
            EXPECT_EQ(got[a].Raw, attrs[a].Raw) << plain[k];
        }
    }
}

} // namespace

TEST(ScanInOneWalk, ElementsAndAttributesEqualTheLongWayOnRandomTags) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 1500; ++round) {
        const std::string text = RandomTags(rng, 1 + static_cast<int>(rng() % 8));
        ExpectSameAsTheLongWay(text, nullptr);
        TTagStarts starts;
        starts.Build(text);
        ExpectSameAsTheLongWay(text, &starts);
        // A list read from a part of a bigger text, as the readers do.
        const std::string outer = "<x>" + text + "</x>";
        starts.Build(outer);
        ExpectSameAsTheLongWay(std::string_view(outer).substr(3, text.size()), &starts);
    }
}

TEST(ScanInOneWalk, WrittenFormIsReadInTheWalkAndOddFormsTheLongWay) {
    TElementList list;
    ASSERT_TRUE(GetElementList("<ch a=\"1\" b = '>' c=\"x\"/><ch d=\"2\"e=\"3\" f=\"4\"/>", "ch", list));
    ASSERT_EQ(list.size(), 2u);
    ASSERT_EQ(list.AttrsOf(0).size(), 3u);
    EXPECT_EQ(list.AttrsOf(0)[1].Value, ">");
    EXPECT_EQ(list.AttrsOf(0)[1].Raw, "b = '>'");
    // A name glued to the value before it is no name.
    ASSERT_EQ(list.AttrsOf(1).size(), 2u);
    EXPECT_EQ(list.AttrsOf(1)[1].Name, "f");
    // A list that stops at an element without end leaves nothing behind.
    EXPECT_FALSE(GetElementList("<ch a=\"1\"/><ch b=\"2\">", "ch", list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.AttrStart.size(), 1u);
}

TEST(TagStarts, FindAnswersAsTheSearchWithoutThemOnRandomTexts) {
    std::mt19937 rng(7);
    const char* const needles[] = {"<ch", "</ch>", "<x", "</X>", "<", "<chx"};
    for (int round = 0; round < 200; ++round) {
        const std::string text = RandomTags(rng, 1 + static_cast<int>(rng() % 6));
        TTagStarts starts;
        starts.Build(text);
        for (int q = 0; q < 30; ++q) {
            const std::size_t from = rng() % (text.size() + 3);
            const std::size_t len = from > text.size() ? 0 : rng() % (text.size() - from + 1);
            const std::string_view part = std::string_view(text).substr(std::min(from, text.size()), len);
            const std::size_t start = rng() % (part.size() + 3);
            for (const char* needle : needles) {
                ASSERT_TRUE(starts.Covers(part));
                EXPECT_EQ(starts.Find(needle, part, start), TextPosNoCaseAnchored(needle, part, start))
                    << needle << " in [" << part << "] from " << start;
            }
        }
    }
    TTagStarts none;
    EXPECT_FALSE(none.Covers("<a>"));
}
