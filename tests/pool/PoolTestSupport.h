#pragma once

#include "core/ListDocument.h"
#include "pool/ServicePool.h"

#include <string>

namespace xantu::test {

// Passes the end of every services read on to the pool, as the main window
// does.
class TPoolHost : public TSilentHost {
  public:
    void FillServicePool() override {
        if (Pool)
            Pool->FillServicePool();
    }
    TServicePool* Pool = nullptr;
};

inline std::string Channel(const std::string& sid, const std::string& name, const std::string& type) {
    return "\t\t\t<channel service_id=\"" + sid + "\" name=\"" + name + "\" service_type=\"" + type +
           "\" channel_nr=\"0\"/>\n";
}

inline std::string Transponder(const std::string& id, const std::string& onid, const std::string& channels) {
    return "\t\t<transponder id=\"" + id + "\" onid=\"" + onid +
           "\" frequency=\"11836500\" symbol_rate=\"27500000\" fec_inner=\"3\" polarization=\"0\">\n" +
           channels + "\t\t</transponder>\n";
}

inline std::string Sat(const std::string& name, const std::string& diseqc, const std::string& transponders) {
    return "\t<sat name=\"" + name + "\" diseqc=\"" + diseqc + "\" position=\"192\">\n" + transponders +
           "\t</sat>\n";
}

inline std::string Services(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n" + body + "</XANTU>";
}

} // namespace xantu::test
