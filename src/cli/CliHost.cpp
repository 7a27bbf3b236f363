#include "cli/CliHost.h"

namespace xantu {

std::string FormatCliMessage(TMsgKind kind, const std::string& text) {
    std::string line = MsgKindCaption(kind);
    line.append(": ");
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            // "\r\n" is one line break, not two.
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line.append("\n  ");
        } else {
            line.push_back(c);
        }
    }
    line.push_back('\n');
    return line;
}

void TCliHost::ShowMessage(TMsgKind kind, const std::string& text) {
    ++counts_[static_cast<int>(kind)];
    std::string line = FormatCliMessage(kind, text);
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
}

} // namespace xantu
