// What the list document needs from whoever shows it: the window shows boxes
// and relabels itself, the command-line tool prints lines.
#pragma once

#ifdef XANTU_LISTFILES_LIBRARY
#error "The list files build on the model and the trees alone; pass them what they need from the document."
#endif

#include <string>
#include <vector>

namespace xantu {

enum class TMsgKind { Warning, Error, Information, Confirmation };

// Caption of a message box of that kind ("Warnung", "Fehler", ...).
const char* MsgKindCaption(TMsgKind kind);

// A bouquet entry that has no service, as a person reads it (UTF-8).
struct TUnlinkedEntry {
    std::string Bouquet;
    std::string Channel;
};

// The message that reports one entry without a service.
std::string UnlinkedEntryMessage(const TUnlinkedEntry& entry);

class TListHost {
  public:
    virtual ~TListHost() = default;
    // `text` is UTF-8; "\r" marks a line break.
    virtual void ShowMessage(TMsgKind kind, const std::string& text) = 0;
    virtual void SetSatBoxLabels() {}
    virtual void SetCableBoxLabels() {}
    virtual void ShowCounters(int /*total*/, int /*tv*/, int /*radio*/) {}
    virtual void FillServicePool() {}
    virtual void SetSatPosListVisible(bool /*visible*/) {}
    // The bouquet tree's visibility and expansion flags were recomputed.
    virtual void ViewFilterApplied() {}
    virtual void SetModified(bool /*modified*/) {}
    virtual void SetStatus(const std::string& /*text*/) {}
    // The entries a load found without a service, in tree order. By default
    // one information message each.
    virtual void ReportChannelsWithoutService(const std::vector<TUnlinkedEntry>& entries);
};

// A host that shows nothing; for tests and for code paths without a user.
class TSilentHost : public TListHost {
  public:
    void ShowMessage(TMsgKind, const std::string&) override {}
};

} // namespace xantu
