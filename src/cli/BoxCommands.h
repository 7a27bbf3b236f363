// The box transfers of xantu-lists: fetch the pair from the box, send a
// local pair to it. Exit status as the other commands: 0 done, 1 a transfer
// failed or the lists did not load, 2 usage or files.
#pragma once

#include "cli/ListCommands.h"

namespace xantu {

int RunFetch(const TArgs& args);
int RunSend(const TArgs& args);
// Lists the backups, newest first, in lines a script can read.
int RunBackups(const TArgs& args);

} // namespace xantu
