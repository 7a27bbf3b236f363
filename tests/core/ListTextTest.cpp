#include "text/ListText.h"

#include "core/ListDocument.h"

#include <gtest/gtest.h>

using namespace xantu;

TEST(ListText, DisplayDecodesCharsetAndReferences) {
    EXPECT_EQ(NameForDisplay("Kinder &amp; Familie", TNameCharset::Utf8), "Kinder & Familie");
    EXPECT_EQ(NameForDisplay("&lt;a&gt; &quot;b&quot; &apos;c&apos;", TNameCharset::Utf8), "<a> \"b\" 'c'");
    EXPECT_EQ(NameForDisplay("S\xC3\xBC"
                             "d",
                             TNameCharset::Utf8),
              "S\xC3\xBC"
              "d");
    // The same umlaut in a Windows-1252 list.
    EXPECT_EQ(NameForDisplay("S\xFC"
                             "d",
                             TNameCharset::Cp1252),
              "S\xC3\xBC"
              "d");
    EXPECT_EQ(NameForDisplay("&#252;&#xFC;&#x20AC;", TNameCharset::Utf8), "\xC3\xBC\xC3\xBC\xE2\x82\xAC");
    // Malformed or unsafe references stay as written.
    EXPECT_EQ(NameForDisplay("A & B", TNameCharset::Utf8), "A & B");
    EXPECT_EQ(NameForDisplay("&nbsp;&#0;&#xD800;&#x110000;&#12a;&", TNameCharset::Utf8),
              "&nbsp;&#0;&#xD800;&#x110000;&#12a;&");
}

TEST(ListText, TypedNamesCannotBreakTheFile) {
    EXPECT_EQ(NameForList("Tom & \"Jerry\" <HD>", TNameCharset::Utf8),
              "Tom &amp; &quot;Jerry&quot; &lt;HD&gt;");
    EXPECT_EQ(NameForList("It's", TNameCharset::Utf8), "It's");
    EXPECT_EQ(NameForList("S\xC3\xBC"
                          "d",
                          TNameCharset::Utf8),
              "S\xC3\xBC"
              "d");
    EXPECT_EQ(NameForList("S\xC3\xBC"
                          "d \xE2\x82\xAC",
                          TNameCharset::Cp1252),
              "S\xFC"
              "d \x80");
    // A character the code page lacks survives as a reference.
    EXPECT_EQ(NameForList("\xE2\x98\x85", TNameCharset::Cp1252), "&#9733;");
    EXPECT_EQ(NameForList("?", TNameCharset::Cp1252), "?");
    // Whatever is typed reads back the same.
    for (const char* typed : {"A&B", "&amp;", "\"quoted\"", "x<y>z", "\xE2\x98\x85 Sterne",
                              "S\xC3\xBC"
                              "d"})
        for (TNameCharset cs : {TNameCharset::Utf8, TNameCharset::Cp1252})
            EXPECT_EQ(NameForDisplay(NameForList(typed, cs), cs), typed) << typed;
}

TEST(ListText, ReservedWordReadsTheTypedText) {
    EXPECT_TRUE(IsReservedBouquetName("andere"));
    EXPECT_TRUE(IsReservedBouquetName(" Andere "));
    EXPECT_TRUE(IsReservedBouquetName("\tANDERE\x01"));
    EXPECT_FALSE(IsReservedBouquetName("andere2"));
    EXPECT_FALSE(IsReservedBouquetName("an dere"));
    EXPECT_FALSE(IsReservedBouquetName("\xC3\x84ndere"));
    EXPECT_FALSE(IsReservedBouquetName(""));
}

TEST(ListText, CharsetFollowsAllNamesOfBothLists) {
    TListDocument doc;
    const std::string services = "<XANTU>\n<sat name=\"Astra\" diseqc=\"0\" position=\"192\">\n"
                                 "<transponder id=\"0001\" onid=\"0001\" frequency=\"1\" symbol_rate=\"1\" "
                                 "fec_inner=\"1\" polarization=\"0\">\n"
                                 "<channel service_id=\"0001\" name=\"S\xC3\xBC"
                                 "d\" service_type=\"01\" "
                                 "channel_nr=\"0\"/>\n</transponder>\n</sat>\n</XANTU>";
    std::string bouquets = "<XANTU>\n<Bouquet name=\"Fav\" hidden=\"0\" locked=\"0\">\n"
                           "<channel serviceID=\"0001\" name=\"S\xC3\xBC"
                           "d\" tsid=\"0001\" onid=\"0001\"/>\n"
                           "</Bouquet>\n</XANTU>";
    ASSERT_TRUE(doc.LoadListTexts(services, bouquets));
    EXPECT_EQ(doc.NameCharset, TNameCharset::Utf8);
    // One Windows-1252 byte in a bouquet name decides for the whole pair.
    bouquets.replace(bouquets.find("Fav"), 3, "F\xE4v");
    ASSERT_TRUE(doc.LoadListTexts(services, bouquets));
    EXPECT_EQ(doc.NameCharset, TNameCharset::Cp1252);
}

TEST(ListText, FoldUpperFollowsTheCodePage) {
    EXPECT_EQ(FoldUpper("\xC3\xA4rzte tv"), "\xC3\x84RZTE TV");                                   // ä -> Ä
    EXPECT_EQ(FoldUpper("\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF"), "\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8"); // š œ ž ÿ
    EXPECT_EQ(FoldUpper("\xC3\x9F \xC3\xB7 \xE2\x82\xAC"), "\xC3\x9F \xC3\xB7 \xE2\x82\xAC"); // ß ÷ € stay
    EXPECT_EQ(FoldUpper("a\xFF"), "A\xFF"); // a stray byte stays as it is
    EXPECT_TRUE(EqualAsciiNoCase("ARD", "ard"));
    EXPECT_FALSE(EqualAsciiNoCase("\xC3\x84", "\xC3\xA4"));
}

TEST(ListText, Windows1252KeepsItsUndefinedBytesAndC1) {
    // The five bytes Windows-1252 leaves undefined read back as C1 controls
    // and are written back as the same bytes.
    for (const char* raw : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"})
        EXPECT_EQ(NameForList(NameForDisplay(raw, TNameCharset::Cp1252), TNameCharset::Cp1252), raw);
    EXPECT_EQ(NameForList("\xC5\xB8", TNameCharset::Cp1252), "\x9F"); // Ÿ
}
