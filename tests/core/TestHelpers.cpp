#include "TestHelpers.h"

#include "core/FileIO.h"

#include <stdexcept>

namespace xantu::test {

std::string ReadExample(const std::string& relative) {
    std::string text;
    if (!ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/" + relative, text))
        throw std::runtime_error("missing example " + relative);
    return text;
}

std::string ServicesXml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n" + body + "</XANTU>";
}

std::string BouquetsXml(const std::string& body) {
    return ServicesXml(body);
}

std::string DumpBouquetTree(const TListDocument& doc) {
    std::string out;
    doc.VTB.ForEach([&](PBNode n) {
        const TBasicBNode* d = n->Data();
        out.append(static_cast<std::size_t>(n->Level()) * 2, ' ');
        out += d->Caption + " [" + std::to_string(d->ImageIndex) + "]";
        if (d->Reserved)
            out += " R";
        if (d->Channel && d->Channel->Service)
            out += " L";
        if (!n->Visible)
            out += " hidden";
        out += "\n";
    });
    return out;
}

} // namespace xantu::test
