// Runs the built xantu-lists as a user's script would.
#include "TestHelpers.h"
#include "core/FileIO.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xantu;
using namespace xantu::test;

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

CliRun Cli(const std::string& args) {
    char dir[] = "/tmp/xantu-cli-XXXXXX";
    std::string tmp = mkdtemp(dir);
    std::string cmd = std::string(XANTU_CLI) + " " + args + " >" + tmp + "/out 2>" + tmp + "/err";
    CliRun r;
    int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    ReadWholeFile(tmp + "/out", r.out);
    ReadWholeFile(tmp + "/err", r.err);
    std::system(("rm -rf " + tmp).c_str());
    return r;
}

std::string TempDir() {
    char dir[] = "/tmp/xantu-cli-XXXXXX";
    return mkdtemp(dir);
}

const std::string kExamples = XANTU_EXAMPLES_DIR;

} // namespace

TEST(Cli, CheckPrintsMessagesAndTheSummary) {
    CliRun r = Cli("check --satpositions /nonexistent.xml " + kExamples + "/sat/bouquets.xml");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "box: sat\nservices: 9 tv: 4 radio: 3\nbouquets: 3 entries: 6 andere: 1 unlinked: 0\n");
    EXPECT_EQ(r.err, "Fehler: Die Datei \"/nonexistent.xml\"\n  wurde nicht gefunden!\n"
                     "Information: \"Hotbird 13.0E\" verf\xC3\xBCgt \xC3\xBC"
                     "ber keine Position in services.xml und\n"
                     "  wird auch in der Sat-Positionsliste nicht gefunden!\n"
                     "  Bringen Sie die Datei \"satpositionen.xml\" auf den neuesten Stand\n"
                     "  oder pr\xC3\xBC"
                     "fen Sie die \"services.xml\"!\n");
}

TEST(Cli, ExitStatusTellsUsageFilesAndBrokenLists) {
    EXPECT_EQ(Cli("").status, 2);
    EXPECT_EQ(Cli("frobnicate").status, 2);
    EXPECT_EQ(Cli("check").status, 2);
    EXPECT_EQ(Cli("check --help").status, 0);
    CliRun missing = Cli("check /nonexistent/bouquets.xml");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("Fehler: Die Datei \"services.xml\" existiert nicht! \xC3\x96"
                               "ffnen wird abgebrochen!"),
              std::string::npos);

    std::string dir = TempDir();
    WriteWholeFile(dir + "/services.xml", "<xantu><sat name=\"S\"><transponder></transponder></sat></xantu>");
    WriteWholeFile(dir + "/b.xml", "<xantu></xantu>");
    CliRun broken = Cli("check " + dir + "/b.xml");
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("Fehler: '' ist kein g\xC3\xBCltiger Integerwert"), std::string::npos);
    std::system(("rm -rf " + dir).c_str());
}

TEST(Cli, ResaveWritesTheEditorsBytesIntoANewFolder) {
    std::string dir = TempDir() + "/a/b";
    CliRun r = Cli("resave " + kExamples + "/cable/bouquets.xml " + dir);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string s, b;
    ASSERT_TRUE(ReadWholeFile(dir + "/services.xml", s));
    ASSERT_TRUE(ReadWholeFile(dir + "/bouquets.xml", b));
    EXPECT_EQ(s, ReadExample("cable/services.xml"));
    EXPECT_EQ(b, ReadExample("cable/bouquets.xml"));

    // Refused like the editor's save when the services name no kind of box.
    std::string empty = TempDir();
    WriteWholeFile(empty + "/services.xml", "<XANTU></XANTU>");
    WriteWholeFile(empty + "/bouquets.xml", ReadExample("cable/bouquets.xml"));
    CliRun refused = Cli("resave " + empty + "/bouquets.xml " + empty + "/out");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(
        refused.err.find("Es gibt kein Bouquet bzw. keine Services!\n  Die Aktion wird abgebrochen ..."),
        std::string::npos);
    EXPECT_FALSE(FileExists(empty + "/out/services.xml"));
    std::system(("rm -rf " + empty + " " + dir).c_str());
}

TEST(Cli, DumpPrintsBothTreesAsJson) {
    CliRun r = Cli("dump " + kExamples + "/cable/bouquets.xml");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"boxType\":2,\"services\":[{\"name\":\"Stadtnetz\",\"diseqc\":\"\",", 0), 0u);
    EXPECT_NE(
        r.out.find(
            "{\"name\":\"andere\",\"hidden\":false,\"locked\":false,\"reserved\":true,\"channels\":[{"
            "\"name\":\"Regional Eins\",\"serviceId\":258,\"tsid\":3,\"onid\":61441,\"satPosition\":\"\","
            "\"linked\":true,\"imageIndex\":1,\"reserved\":true}]}]}"),
        std::string::npos)
        << r.out;
}
