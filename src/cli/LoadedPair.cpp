#include "cli/LoadedPair.h"

#include "cli/Texts.h"
#include "core/FileIO.h"

#include <cstdio>

namespace xantu {

int ParsePairOptions(const std::vector<std::string>& args, std::size_t fileCount, const char* help,
                     TPairOptions& opt) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(help, stdout);
            return 0;
        }
        if (a == "--satpositions") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, cli_texts::PositionsNeedFile, help);
                return 2;
            }
            opt.SatPositionsFile = args[++i];
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, cli_texts::UnknownOption, a.c_str(), help);
            return 2;
        }
        opt.Files.push_back(a);
    }
    if (opt.Files.size() != fileCount) {
        std::fprintf(stderr, cli_texts::WrongFileCount, fileCount, opt.Files.size(), help);
        return 2;
    }
    return -1;
}

bool TLoadedPair::LoadPositions(const std::string& file) {
    const std::string path = file.empty() ? ProgramFolder() + "satpositionen.xml" : file;
    try {
        Doc.LoadSatPositions(path);
    } catch (const std::exception& e) {
        host_.ShowMessage(TMsgKind::Error, e.what());
        return false;
    }
    return true;
}

int TLoadedPair::Load(const TPairOptions& opt) {
    // A broken position list matters only to a satellite box; a cable pair
    // loads without it.
    const bool positionsLoaded = LoadPositions(opt.SatPositionsFile);
    const std::string& bouquetsFile = opt.Files[0];
    const std::string servicesFile = FolderOf(bouquetsFile) + "services.xml";
    std::string why;
    if (ReadListFile(servicesFile, ServicesText, &why) == TReadFailure::Missing) {
        host_.ShowMessage(TMsgKind::Error, cli_texts::NoServicesFile);
        return 2;
    }
    if (why.empty())
        ReadListFile(bouquetsFile, BouquetsText, &why);
    if (!why.empty()) {
        host_.ShowMessage(TMsgKind::Error, cli_texts::OpenFailed + why);
        return 2;
    }
    // The texts are not needed once read; a big pair would hold them beside
    // its trees.
    if (!Doc.LoadOwnedListTexts(std::move(ServicesText), std::move(BouquetsText)))
        return 1;
    return positionsLoaded || Doc.BoxType != BoxSat ? 0 : 1;
}

int TLoadedPair::CheckedTexts(TPairTexts& texts) {
    if (!Doc.CheckListsPresent())
        return 1;
    try {
        texts = SavePairTexts(Doc);
    } catch (const std::exception& e) {
        host_.ShowMessage(TMsgKind::Error, e.what());
        return 1;
    }
    return 0;
}

} // namespace xantu
