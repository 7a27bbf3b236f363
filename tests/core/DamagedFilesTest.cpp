// Damaged files around the lists: saving that must not tear the pair apart,
// paths that are no regular files, and the command-line tool's exit status
// and output when things go wrong.
#include "DamagedKit.h"
#include "TestHelpers.h"
#include "core/FileIO.h"
#include "core/PairFiles.h"
#include "text/VisibleText.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace xantu;
using namespace xantu::test;

TEST(DamagedLists, ThePairIsSavedAsAPairOrNotAtAll) {
    TListDocument doc;
    doc.Info_ChannelWithoutService = false;
    ASSERT_TRUE(doc.LoadListTexts(ReadExample("cable/services.xml"), ReadExample("cable/bouquets.xml")));
    doc.VTB.GetFirst()->Child(0)->Data()->Bouquet->Name = "Neu";

    const std::string dir = TempDir();
    const std::string b = dir + "/bouquets.xml", s = dir + "/services.xml";
    SaveListPair(doc, b, s);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(b.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644 & ~mask);
    ::chmod(b.c_str(), 0600);
    std::string oldB, oldS;
    ASSERT_TRUE(ReadWholeFile(b, oldB));
    ASSERT_TRUE(ReadWholeFile(s, oldS));

    // The second file cannot be put in place: the first is put back.
    doc.VTB.GetFirst()->Child(0)->Data()->Bouquet->Name = "Neuer";
    for (const char* step : {"write", "rename"}) {
        FilePairFault = [&](std::string_view what, const std::string& path) {
            return what == step && path == s ? ENOSPC : 0;
        };
        EXPECT_THROW(SaveListPair(doc, b, s), Exception) << step;
        FilePairFault = nullptr;
        std::string nowB, nowS;
        ASSERT_TRUE(ReadWholeFile(b, nowB));
        ASSERT_TRUE(ReadWholeFile(s, nowS));
        EXPECT_EQ(nowB, oldB) << step;
        EXPECT_EQ(nowS, oldS) << step;
    }
    // A folder where services.xml should go.
    const std::string other = TempDir();
    ASSERT_EQ(::mkdir((other + "/services.xml").c_str(), 0755), 0);
    EXPECT_THROW(SaveListPair(doc, other + "/bouquets.xml", other + "/services.xml"), Exception);
    EXPECT_FALSE(FileExists(other + "/bouquets.xml"));

    // Saved for real: the replaced file keeps its mode; no temporary files
    // are left behind anywhere.
    SaveListPair(doc, b, s);
    ASSERT_EQ(::stat(b.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const int left = std::system(
        ("test -z \"$(find " + dir + " " + other + " -name '*.tmp*' -o -name '*.old*')\"").c_str());
    EXPECT_EQ(left, 0);
}

TEST(DamagedLists, OnlyRegularFilesAreReadAndMessagesShowEveryByte) {
    const std::string dir = TempDir();
    const std::string fifo = dir + "/bouquets.xml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir + "/zero.xml").c_str()), 0);
    std::string text, why;
    EXPECT_EQ(ReadListFile(fifo, text, &why), TReadFailure::NotRegular);
    EXPECT_NE(why.find(fifo), std::string::npos);
    EXPECT_EQ(ReadListFile(dir + "/zero.xml", text, &why), TReadFailure::NotRegular);
    EXPECT_EQ(ReadListFile(dir, text, &why), TReadFailure::Folder);
    EXPECT_EQ(ReadListFile(dir + "/none.xml", text, &why), TReadFailure::Missing);

    // Through the command-line tool, within a time limit.
    ::symlink((std::string(XANTU_EXAMPLES_DIR) + "/sat/services.xml").c_str(),
              (dir + "/services.xml").c_str());
    std::string err;
    EXPECT_EQ(RunCli("check --satpositions /dev/zero " + fifo, &err), 2);
    EXPECT_NE(err.find("ist keine gew\xC3\xB6hnliche Datei"), std::string::npos) << err;
    EXPECT_EQ(
        RunCli("check --satpositions " + fifo + " " + std::string(XANTU_EXAMPLES_DIR) + "/cable/bouquets.xml",
               &err),
        0)
        << err;

    // A NUL or control byte in a message is shown, not cut off there.
    const std::string nul(1, '\0');
    const Loaded r =
        Load(ServicesXml("<sat name=\"S\"><transponder onid=\"x1" + nul +
                         "\" frequency=\"1\" symbol_rate=\"1\" fec_inner=\"1\" polarization=\"1\"/></sat>"),
             BouquetsXml(""));
    EXPECT_EQ(r.messages, std::vector<std::string>{"Invalid hex character \\0"});
    EXPECT_EQ(VisibleText(std::string("a\0b\tc\x1f", 6)), "a\\0b\\tc\\x1F");
}

TEST(DamagedLists, TheCommandLineToolTellsTheTruth) {
    const std::string ex = XANTU_EXAMPLES_DIR;
    EXPECT_EQ(RunCli("dump --satpositions /dev/null " + ex + "/cable/bouquets.xml > /dev/full"), 2);
    EXPECT_EQ(RunCli("check --satpositions /dev/null " + ex + "/cable/bouquets.xml > /dev/full"), 2);

    // A cut pair: check fails, resave fails and writes nothing.
    const std::string dir = TempDir();
    WriteWholeFile(dir + "/services.xml", ReadExample("sat/services.xml"));
    const std::string b = ReadExample("sat/bouquets.xml");
    WriteWholeFile(dir + "/bouquets.xml", b.substr(0, b.size() / 2));
    std::string err;
    EXPECT_EQ(RunCli("check " + dir + "/bouquets.xml > /dev/null", &err), 1);
    EXPECT_NE(err.find(kCut), std::string::npos) << err;
    EXPECT_EQ(RunCli("resave " + dir + "/bouquets.xml " + dir + "/out"), 1);
    EXPECT_FALSE(FileExists(dir + "/out/bouquets.xml"));

    // A folder as position list: "not found", naming it; a cable pair loads,
    // a satellite pair with a broken list does not.
    EXPECT_EQ(RunCli("check --satpositions " + dir + " " + ex + "/cable/bouquets.xml > /dev/null", &err), 0);
    EXPECT_NE(err.find("Die Datei \"" + dir + "\"\n  wurde nicht gefunden!"), std::string::npos) << err;
    WriteWholeFile(dir + "/pos.xml", "<satellites><sat name=\"A\" position=\"1\"/>");
    EXPECT_EQ(RunCli("check --satpositions " + dir + "/pos.xml " + ex + "/cable/bouquets.xml > /dev/null"),
              0);
    EXPECT_EQ(
        RunCli("check --satpositions " + dir + "/pos.xml " + ex + "/sat/bouquets.xml > /dev/null", &err), 1);
    EXPECT_NE(err.find("</satellites> fehlt"), std::string::npos) << err;
}
