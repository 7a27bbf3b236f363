#pragma once

#include "core/ListHost.h"

#include <cstdio>

namespace xantu {

// Prints every message the editor would show as a box: its kind, ": " and
// the text, each line break as a newline and two blanks.
class TCliHost : public TListHost {
  public:
    explicit TCliHost(std::FILE* out = stderr) : out_(out) {}
    void ShowMessage(TMsgKind kind, const std::string& text) override;
    int Count(TMsgKind kind) const { return counts_[static_cast<int>(kind)]; }

  private:
    std::FILE* out_;
    int counts_[4] = {0, 0, 0, 0};
};

std::string FormatCliMessage(TMsgKind kind, const std::string& text);

} // namespace xantu
