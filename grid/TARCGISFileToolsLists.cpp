#include "grid/TARCGISFileTools.h"

#include "util/TException.h"

#include <memory>

std::vector<TMap*> TARCGISFileTools::LoadFileList(std::vector<std::string> VecFileNames) {
    // The maps wait here until every file has loaded, so a failure releases those before it.
    std::vector<std::unique_ptr<TMap>> VecLoaded;
    VecLoaded.reserve(VecFileNames.size());
    for (const std::string& StrFileName : VecFileNames)
        VecLoaded.emplace_back(LoadARCGISFile(StrFileName));
    std::vector<TMap*> VecMaps;
    VecMaps.reserve(VecLoaded.size());
    for (auto& PtrMap : VecLoaded)
        VecMaps.push_back(PtrMap.release());
    return VecMaps;
}

void TARCGISFileTools::WriteFileList(std::vector<TMap*> VecMaps,
                                     std::vector<std::string> VecFileNames) {
    if (VecMaps.size() != VecFileNames.size())
        throw TException(
            "Size of map list and filename list do not match in TARCGISFileTools::WriteFileList");
    for (std::size_t SizI = 0; SizI < VecMaps.size(); ++SizI)
        WriteARCGISFile(VecMaps[SizI], VecFileNames[SizI]);
}
