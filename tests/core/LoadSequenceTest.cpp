#include "TestHelpers.h"

#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

TEST(LoadSequence, RunsEveryStepInOrderAndEndsUnmodified) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.SatPositions = {"Hotbird 13.0E; Position=130"};
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("sat/services.xml"), ReadExample("sat/bouquets.xml")));
    ASSERT_EQ(host.Events.size(), 8u);
    EXPECT_EQ(host.Events[0], "labels: sat");
    EXPECT_EQ(host.Events[1], "counters: 9/4/3");
    EXPECT_EQ(host.Events[2], "pool");
    EXPECT_EQ(host.Events[3], "satpos: shown");
    EXPECT_EQ(host.Events[4].substr(0, 13), "Information: ");
    EXPECT_EQ(host.Events[5], "filter");
    EXPECT_EQ(host.Events[6], "unmodified");
    EXPECT_EQ(host.Events[7], "status: XML Struktur geladen");
}

TEST(LoadSequence, StopsAtTheFirstErrorAndReportsIt) {
    TRecordingHost host;
    TListDocument doc(&host);
    EXPECT_FALSE(doc.LoadListTexts("", ReadExample("sat/bouquets.xml")));
    EXPECT_EQ(host.Events, (std::vector<std::string>{"status: Formatfehler der XML-Dateien",
                                                     "Fehler: services load <xantu> failed"}));
    EXPECT_TRUE(doc.VTB.Empty());
}

TEST(LoadSequence, ViewFilterHidesLinkedEntriesByClassAndFoldsTheTree) {
    TRecordingHost host;
    TListDocument doc(&host);
    doc.ShowTV = false;
    doc.ShowRadio = true;
    doc.ShowSpezial = false;
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("cable/services.xml"), ReadExample("cable/bouquets.xml")));
    EXPECT_EQ(DumpBouquetTree(doc), "Bouquets [0]\n"
                                    "  Lokal [0]\n"
                                    "    Stadt TV [1] L hidden\n"
                                    "    Stadtradio [2] L\n"
                                    "  Filme [0]\n"
                                    "    Film Zwei [1] L hidden\n"
                                    "  andere [4] R\n"
                                    "    Regional Eins [1] R L hidden\n");
    EXPECT_TRUE(doc.VTB.GetFirst()->Expanded);
    EXPECT_FALSE(doc.VTB.GetFirst()->Child(0)->Expanded);
}

TEST(LoadSequence, GuardRefusesEmptyTreesAndListsOfNoKnownBox) {
    TRecordingHost host;
    TListDocument doc(&host);
    EXPECT_FALSE(doc.CheckListsPresent());
    const std::string guard = "Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...";
    EXPECT_EQ(host.Messages.back(), guard);
    // Services of neither kind but bouquets present: refused rather than a
    // file the box cannot read.
    ASSERT_TRUE(doc.LoadListTexts(ServicesXml(""), ReadExample("cable/bouquets.xml")));
    EXPECT_FALSE(doc.CheckListsPresent());
    EXPECT_EQ(host.Messages.back(), guard);
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("cable/services.xml"), ReadExample("cable/bouquets.xml")));
    EXPECT_TRUE(doc.CheckListsPresent());
}
