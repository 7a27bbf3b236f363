// The commands of xantu-lists. Each returns the process exit status:
// 0 done, 1 a list failed to load or a step was refused, 2 usage or files.
#pragma once

#include <string>
#include <vector>

namespace xantu {

using TArgs = std::vector<std::string>;

int RunCheck(const TArgs& args);
int RunResave(const TArgs& args);
int RunDump(const TArgs& args);

} // namespace xantu
