#pragma once

#include "core/ListDocument.h"

#include <string>
#include <vector>

namespace xantu::test {

// Records everything the document tells its host, in order.
class TRecordingHost : public TListHost {
  public:
    void ShowMessage(TMsgKind kind, const std::string& text) override {
        Events.push_back(std::string(MsgKindCaption(kind)) + ": " + text);
        Messages.push_back(text);
    }
    void SetSatBoxLabels() override { Events.push_back("labels: sat"); }
    void SetCableBoxLabels() override { Events.push_back("labels: cable"); }
    void ShowCounters(int t, int tv, int r) override {
        Events.push_back("counters: " + std::to_string(t) + "/" + std::to_string(tv) + "/" +
                         std::to_string(r));
    }
    void FillServicePool() override { Events.push_back("pool"); }
    void SetSatPosListVisible(bool v) override { Events.push_back(v ? "satpos: shown" : "satpos: hidden"); }
    void ViewFilterApplied() override { Events.push_back("filter"); }
    void SetModified(bool m) override { Events.push_back(m ? "modified" : "unmodified"); }
    void SetStatus(const std::string& s) override { Events.push_back("status: " + s); }

    std::vector<std::string> Events;
    std::vector<std::string> Messages;
};

std::string ReadExample(const std::string& relative);

// Builders for small list texts.
std::string ServicesXml(const std::string& body);
std::string BouquetsXml(const std::string& body);

// The bouquet tree as indented lines "caption [image] (flags)", for one
// readable comparison instead of many assertions.
std::string DumpBouquetTree(const TListDocument& doc);

} // namespace xantu::test
