// Whole-file reads and writes. A write goes to a temporary file beside the
// target and is renamed over it only when complete, so a failure never
// leaves a truncated list behind.
#pragma once

#include <string>
#include <string_view>

namespace xantu {

bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& out);
// Throws Exception with a German message naming the file on failure.
void WriteWholeFile(const std::string& path, std::string_view data, unsigned mode = 0644);
// The folder part of a path including its last '/', or empty.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
// Folder of the running program, with a trailing '/'.
std::string ProgramFolder();

} // namespace xantu
