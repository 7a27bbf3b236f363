// Whole-file reads and writes. A write goes to a temporary file beside the
// target and is renamed over it only when complete, so a failure never
// leaves a truncated list behind.
#pragma once

#ifdef XANTU_LISTFILES_LIBRARY
#error "The list files build on the model and the trees alone; pass them what they need from the document."
#endif

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace xantu {

bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& out);
// Throws Exception with a German message naming the file on failure.
void WriteWholeFile(const std::string& path, std::string_view data, unsigned mode = 0644);
// The list files are read only when they are regular files (a FIFO would
// block for good, a device never ends) of at most this size.
constexpr std::size_t kMaxListFileSize = 256u * 1024u * 1024u;

enum class TReadFailure { None, Missing, Folder, NotRegular, NotReadable, TooLarge };

// Reads a list file whole. On failure `out` is empty and `message` (when
// given) says in German which file and why.
TReadFailure ReadListFile(const std::string& path, std::string& out, std::string* message = nullptr);
// As ReadListFile, throwing Exception with that message.
void ReadListFileOrThrow(const std::string& path, std::string& out);

// Writes two files as one: both go to temporary files beside their targets
// and are renamed into place only when both are complete; when the second
// rename fails the first target is put back. So the folders hold the old
// pair or the new pair. A replaced file keeps its mode, a new one gets 0644
// less the umask. Throws Exception with a German message naming the file.
void WriteFilePair(const std::string& path1, std::string_view data1, const std::string& path2,
                   std::string_view data2);

// For tests: called before each write ("write") and rename ("rename") of
// WriteFilePair with the target's path; a non-zero answer fails that step
// with this errno.
extern std::function<int(std::string_view step, const std::string& path)> FilePairFault;

// The folder part of a path including its last '/', or empty.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
// Folder of the running program, with a trailing '/'.
std::string ProgramFolder();

} // namespace xantu
