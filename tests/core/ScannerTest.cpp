#include "listfiles/FastStringFuncs.h"
#include "listfiles/FastStrings.h"
#include "listfiles/UXml.h"
#include "model/XantuModel.h"
#include "text/ListText.h"

#include <gtest/gtest.h>
#include <random>

using namespace xantu;

namespace {

std::size_t NaivePos(std::string_view needle, std::string_view hay, bool cs, std::size_t start) {
    for (std::size_t s = start - 1; s + needle.size() <= hay.size(); ++s) {
        std::size_t k = 0;
        while (k < needle.size() && (cs ? hay[s + k] == needle[k] : Fold(hay[s + k]) == Fold(needle[k])))
            ++k;
        if (k == needle.size())
            return s + 1;
    }
    return 0;
}

std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(TextSearch, FindsWithAndWithoutCaseFromStartPosition) {
    EXPECT_EQ(TextPos("ab", "xxAB", false, 1), 3u);
    EXPECT_EQ(TextPos("ab", "xxAB", true, 1), 0u);
    EXPECT_EQ(TextPos("ab", "xxAB", false, 4), 0u);
    EXPECT_EQ(TextPos("ab", "", false, 1), 0u);
    EXPECT_EQ(TextPos("ab", "ab", false, 3), 0u);
    EXPECT_EQ(Message([] { TextPos("", "abc", false, 1); }), "BufferLen is 0");
    EXPECT_EQ(CharPos("a\"b\"", '"', 3), 4u);
    EXPECT_EQ(CharPosNoCase("xyZ", 'z', 1), 3u);
}

TEST(TextSearch, BothSearchesAgreeWithANaiveScanOnRandomTexts) {
    std::mt19937 rng(7);
    const std::string alphabet = "aAbB<\"=/>\xE4\xC4\xFF\x9F";
    for (int round = 0; round < 4000; ++round) {
        std::string hay, needle;
        for (int i = static_cast<int>(rng() % 40); i > 0; --i)
            hay.push_back(alphabet[rng() % alphabet.size()]);
        for (int i = 1 + static_cast<int>(rng() % 4); i > 0; --i)
            needle.push_back(alphabet[rng() % alphabet.size()]);
        std::size_t start = 1 + rng() % (hay.size() + 2);
        ASSERT_EQ(TextPos(needle, hay, true, start), NaivePos(needle, hay, true, start))
            << hay << " / " << needle;
        ASSERT_EQ(TextPos(needle, hay, false, start), NaivePos(needle, hay, false, start))
            << hay << " / " << needle;
        ASSERT_EQ(TextPosNoCaseAnchored(needle, hay, start), NaivePos(needle, hay, false, start))
            << hay << " / " << needle;
    }
}

TEST(FoldTable, FollowsTheWindows1252UpperCase) {
    EXPECT_EQ(Fold('a'), 'A');
    EXPECT_EQ(Fold('\xE4'), 0xC4); // a umlaut
    EXPECT_EQ(Fold('\xFF'), 0x9F); // y diaeresis
    EXPECT_EQ(Fold('\x9A'), 0x8A); // s caron
    EXPECT_EQ(Fold('\xDF'), 0xDF); // sharp s has no capital here
    EXPECT_EQ(Fold('\xF7'), 0xF7); // division sign
    EXPECT_EQ(Fold('1'), '1');
}

TEST(ParseHex, ReadsDigitsOfEitherCaseAndRefusesTheRest) {
    EXPECT_EQ(ParseHex("00fF"), 255u);
    EXPECT_EQ(ParseHex(""), 0u);
    EXPECT_EQ(static_cast<uint32_t>(ParseHex("100000000")), 0u);
    EXPECT_EQ(static_cast<uint32_t>(ParseHex("FFFFFFFF")), 0xFFFFFFFFu);
    EXPECT_EQ(Message([] { ParseHex("1G"); }), "Invalid hex character G");
    EXPECT_EQ(Message([] { ParseHex("0x1F"); }), "Invalid hex character x");
    // Scanning runs from the end, so the right-most bad character is named.
    EXPECT_EQ(Message([] { ParseHex("Z1Y"); }), "Invalid hex character Y");
    EXPECT_EQ(Message([] { ParseHex(" 1"); }), "Invalid hex character  ");
    EXPECT_EQ(ParseHex(std::string(255, 'F').substr(0, 255)), ~0ull);
    EXPECT_EQ(Message([] { ParseHex(std::string(256, '0')); }),
              "'" + std::string(256, '0') + "' ist kein g\xC3\xBCltiger Integerwert");
}

TEST(StrToInt, AcceptsSignedDecimalsWithin32Bits) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    for (const char* bad :
         {"", "-", "2147483648", "-2147483649", "99999999999999999999", "12a", " 1", "0x10"})
        EXPECT_EQ(Message([&] { StrToInt(bad); }),
                  "'" + std::string(bad) + "' ist kein g\xC3\xBCltiger Integerwert")
            << bad;
}

TEST(GetTag, MatchesNamesAsCaseInsensitivePrefixes) {
    const std::string text = "pre <XANTU>\n<sat a=\"1\"/></XANTU> post";
    EXPECT_EQ(GetTag(text, "xantu"), "<XANTU>\n<sat a=\"1\"/></XANTU>");
    // The start pattern needs no delimiter: "sat" finds <satellites>.
    // "</satellites>" is no "</sat>", so the first "/>" ends the element.
    EXPECT_EQ(GetTag("<satellites><sat name=\"A\"/></satellites>", "sat"), "<satellites><sat name=\"A\"/>");
    // Without an end tag the first "/>" after the start ends the element.
    EXPECT_EQ(GetTag("<a><channel x=\"1\"/><b/>", "a"), "<a><channel x=\"1\"/>");
    EXPECT_EQ(GetTag("<a>", "a"), "");
    EXPECT_EQ(GetTag("no tags", "a"), "");
}

TEST(GetTagList, CutsEveryElementInOrder) {
    TTagList list;
    GetTagList("<channel a=\"1\"/><channel a=\"2\"/>", "channel", list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "<channel a=\"1\"/>");
    EXPECT_EQ(list[1], "<channel a=\"2\"/>");

    // The first "sat" entry starts at <satellites> and carries the first
    // satellite's attributes.
    GetTagList(
        "<satellites>\n<sat name=\"A\" position=\"1\"/>\n<sat name=\"B\" position=\"2\"/>\n</satellites>",
        "sat", list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "<satellites>\n<sat name=\"A\" position=\"1\"/>");
    EXPECT_EQ(GetAttr(list[0], "name"), "A");
    EXPECT_EQ(list[1], "<sat name=\"B\" position=\"2\"/>");
    GetTagList("<satellites><sat name=\"A\"></sat><sat name=\"B\"></sat></satellites>", "sat", list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "<satellites><sat name=\"A\"></sat>");
    EXPECT_EQ(list[1], "<sat name=\"B\"></sat>");

    // A list over a big element with an end tag far away stays exact.
    std::string many;
    for (int i = 0; i < 500; ++i)
        many += "<channel n=\"" + std::to_string(i) + "\"/>";
    many += "</channel>";
    GetTagList(many, "channel", list);
    ASSERT_EQ(list.size(), 1u); // the one end tag ends the first element
    EXPECT_EQ(list[0].size(), many.size());
}

TEST(GetAttr, TakesTheFirstMatchAnywhereAndNothingElse) {
    EXPECT_EQ(GetAttr("<t onid=\"0085\" id=\"0001\">", "id"), "0085");
    EXPECT_EQ(GetAttr("<t id=\"0001\" onid=\"0085\">", "id"), "0001");
    EXPECT_EQ(GetAttr("<t id = \"1\">", "id"), "");
    EXPECT_EQ(GetAttr("<t id='1'>", "id"), "");
    EXPECT_EQ(GetAttr("<t NAME=\"a &amp; b\">", "name"), "a &amp; b");
    EXPECT_EQ(GetAttr("<t name=\"open", "name"), "");
    // Absent on the element but present on a child: the child's value.
    EXPECT_EQ(GetAttr("<t a=\"1\"><c inversion=\"2\"/></t>", "inversion"), "2");
}

TEST(GetAttrConversions, FollowTheirOwnRules) {
    EXPECT_TRUE(GetAttrBool("<b h=\"1\">", "h"));
    EXPECT_TRUE(GetAttrBool("<b h=\"2\">", "h"));
    EXPECT_FALSE(GetAttrBool("<b h=\"256\">", "h"));
    EXPECT_FALSE(GetAttrBool("<b h=\"0\">", "h"));
    EXPECT_EQ(Message([] { GetAttrBool("<b>", "h"); }), "'' ist kein g\xC3\xBCltiger Integerwert");
    EXPECT_EQ(Message([] { GetAttrInt("<b h=\"x\">", "h"); }), "'x' ist kein g\xC3\xBCltiger Integerwert");
    EXPECT_EQ(GetAttrHex("<b id=\"ffffffff\">", "id"), -1);
    EXPECT_EQ(GetAttrHex("<b>", "id"), 0);
}

TEST(TextCodec, DecodesUtf8OrWindows1252) {
    EXPECT_EQ(DisplayText("S\xC3\xBC"
                          "d"),
              "S\xC3\xBC"
              "d");
    EXPECT_EQ(DisplayText("S\xFC"
                          "d"),
              "S\xC3\xBC"
              "d");
    EXPECT_EQ(DisplayText("\x80"), "\xE2\x82\xAC");
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    // Messages show names as the tree does: entities resolved.
    EXPECT_EQ(DisplayText("Tom &amp; Jerry"), "Tom & Jerry");
    EXPECT_EQ(BytesAsUtf8("Tom &amp; Jerry"), "Tom &amp; Jerry");
}
