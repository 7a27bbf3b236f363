// Helpers of the tests on damaged lists and files: a load that reports what
// it did, temporary folders, and runs of the command-line tool.
#pragma once

#include <string>
#include <vector>

namespace xantu::test {

// The refusal of a bouquets file cut short.
inline const std::string kCut = "Die Datei bouquets.xml ist unvollst\xC3\xA4ndig: das Ende </XANTU> fehlt.";

// The text with the first `from` replaced by `to` (a failed expectation when
// there is none).
std::string Replace(std::string text, const std::string& from, const std::string& to);

struct Loaded {
    bool ok = false;
    std::vector<std::string> messages;
    std::string dump;
    std::string bouquets; // written back, when loaded
    std::string services;
};

// Loads the pair as the editor does and, when it loaded, makes the texts a
// save would write; when it did not, checks that saving is refused.
Loaded Load(const std::string& services, const std::string& bouquets);

// A new folder, removed when the tests end.
std::string TempDir();

// Runs xantu-lists with `args` (shell words) under a time limit; its exit
// status, and what it wrote to stderr in `err`.
int RunCli(const std::string& args, std::string* err = nullptr);

} // namespace xantu::test
