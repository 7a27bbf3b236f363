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

TEST(GetTag, MatchesWholeNamesWithoutRegardToCase) {
    const std::string text = "pre <XANTU>\n<sat a=\"1\"/></XANTU> post";
    EXPECT_EQ(GetTag(text, "xantu"), "<XANTU>\n<sat a=\"1\"/></XANTU>");
    // The name ends at a blank, "/" or ">": "sat" is not <satellites>.
    EXPECT_EQ(GetTag("<satellites><sat name=\"A\"/></satellites>", "sat"), "<sat name=\"A\"/>");
    EXPECT_EQ(GetTag("<satellites>", "sat"), "");
    // Without an end tag the first "/>" after the start ends the element.
    EXPECT_EQ(GetTag("<a><channel x=\"1\"/><b/>", "a"), "<a><channel x=\"1\"/>");
    // A start tag that closes itself is the whole element, also when a
    // sibling's end tag follows, and a ">" inside a value ends nothing.
    EXPECT_EQ(GetTag("<sat name=\"A>B\" /><sat name=\"C\"><t/></sat>", "sat"), "<sat name=\"A>B\" />");
    EXPECT_EQ(GetTag("<a>", "a"), "");
    EXPECT_EQ(GetTag("no tags", "a"), "");
}

TEST(GetTagList, CutsEveryElementInOrder) {
    TTagList list;
    GetTagList("<channel a=\"1\"/><channel a=\"2\"/>", "channel", list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "<channel a=\"1\"/>");
    EXPECT_EQ(list[1], "<channel a=\"2\"/>");

    // <satellites> is not a "sat" element; its satellites are.
    GetTagList(
        "<satellites>\n<sat name=\"A\" position=\"1\"/>\n<sat name=\"B\" position=\"2\"/>\n</satellites>",
        "sat", list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "<sat name=\"A\" position=\"1\"/>");
    EXPECT_EQ(list[1], "<sat name=\"B\" position=\"2\"/>");
    GetTagList("<satellites><sat name=\"A\"></sat><sat name=\"B\"></sat></satellites>", "sat", list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "<sat name=\"A\"></sat>");
    EXPECT_EQ(list[1], "<sat name=\"B\"></sat>");

    // Self-closing elements stay self-contained even with an end tag of
    // their name far away: each is one element.
    std::string many;
    for (int i = 0; i < 500; ++i)
        many += "<channel n=\"" + std::to_string(i) + "\"/>";
    many += "</channel>";
    GetTagList(many, "channel", list);
    ASSERT_EQ(list.size(), 500u);
    EXPECT_EQ(GetAttr(list[499], "n"), "499");
}

TEST(GetAttr, ReadsWholeNamesOfTheElementsOwnStartTag) {
    EXPECT_EQ(GetAttr("<t onid=\"0085\" id=\"0001\">", "id"), "0001");
    EXPECT_EQ(GetAttr("<t id=\"0001\" onid=\"0085\">", "id"), "0001");
    EXPECT_EQ(GetAttr("<t bouquet_id=\"22\" name=\"x id=&quot;\">", "id"), "");
    EXPECT_EQ(GetAttr("<t a=\"name=&quot;no\"\tname\n=\n'yes'>", "name"), "yes");
    EXPECT_EQ(GetAttr("<t id = \"1\">", "id"), "1");
    EXPECT_EQ(GetAttr("<t id='1\"2'>", "id"), "1\"2");
    EXPECT_EQ(GetAttr("<t NAME=\"a &amp; b\">", "name"), "a &amp; b");
    EXPECT_EQ(GetAttr("<t name=\"open", "name"), "");
    EXPECT_EQ(GetAttr("<t name=bare>", "name"), "");
    // Glued to the value before it, a name is no name.
    EXPECT_EQ(GetAttr("<t onid=\"1\"id=\"2\">", "id"), "");
    // A child's attribute is not the element's.
    EXPECT_EQ(GetAttr("<t a=\"1\"><c inversion=\"2\"/></t>", "inversion"), "");
    // The first of two wins.
    EXPECT_EQ(GetAttr("<t n=\"1\" N=\"2\"/>", "n"), "1");

    // Unknown attributes are kept with their bytes as written.
    TAttrList attrs;
    GetAttrList("<Bouquet type = '0' name=\"A\" bouquet_id=\"0022\"\thidden=\"0\">", attrs);
    EXPECT_EQ(KeptAttrs(attrs, {"name", "HIDDEN", "locked"}), " type = '0' bouquet_id=\"0022\"");
}

TEST(Scanner, CommentsAndContentHideNothingAndShowNothing) {
    std::string storage;
    const std::string text = "<x><!-- <sat name=\"gone\"/> --><sat name='a<!--b' /><!-- open";
    std::string_view blanked = BlankComments(text, storage);
    EXPECT_EQ(blanked.size(), text.size());
    TTagList list;
    GetTagList(blanked, "sat", list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(GetAttr(list[0], "name"), "a<!--b");
    // Without comments the text is used as it is.
    const std::string plain = "<a/>";
    EXPECT_EQ(BlankComments(plain, storage).data(), plain.data());

    // Children are looked for after the start tag only.
    EXPECT_EQ(ElementContent("<b name='<channel x=\"1\"/>'><c/></b>"), "<c/></b>");
    EXPECT_EQ(ElementContent("<b n=\"1\"/>"), "");

    bool complete = true;
    EXPECT_EQ(GetRootTag("<?xml?><XANTU><a/></xantu>", "xantu", complete), "<XANTU><a/></xantu>");
    EXPECT_TRUE(complete);
    EXPECT_EQ(GetRootTag("<XANTU><a/>", "xantu", complete), "");
    EXPECT_FALSE(complete);
    EXPECT_EQ(GetRootTag("<XANTU", "xantu", complete), "");
    EXPECT_FALSE(complete);
    EXPECT_EQ(GetRootTag("<XANTU/>", "xantu", complete), "<XANTU/>");
    EXPECT_TRUE(complete);
    EXPECT_EQ(GetRootTag("<other/>", "xantu", complete), "");
    EXPECT_TRUE(complete);
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
