#include "resources/struct_loader.h"

#include <filesystem>

#include "resources/drive_map.h"
#include "resources/description.h"
#include "resources/read_bin.h"

namespace vitrina {

TStructLoad OpenDiscContainer(const TDriveMap& drives, TReadBin& container, std::string* error) {
    const std::string containerPath = drives.ProgramFolder() + "Vuv.dhl";
    const auto host = drives.ToHostPath(containerPath);
    if (!host || !drives.FileExists(containerPath)) {
        if (error) *error = "no Vuv.dhl in " + drives.DiscRoot().string();
        return TStructLoad::NoContainer;
    }
    try {
        container.Open(*host);
    } catch (const EContainerError& e) {
        if (error) *error = host->string() + ": " + e.what();
        return TStructLoad::MalformedContainer;
    }
    return TStructLoad::Loaded;
}

TStructLoad ReadStructLines(const TDriveMap& drives, TReadBin& container, TDynamicStringArray& lines,
                            std::string* error, const std::string& name) {
    if (const TStructLoad opened = OpenDiscContainer(drives, container, error); opened != TStructLoad::Loaded)
        return opened;
    std::string bytes;
    if (container.ReadBuffer(name, bytes) < 0) {
        if (error) *error = "Vuv.dhl in " + drives.DiscRoot().string() + " holds no " + name;
        return TStructLoad::NoDescription;
    }
    lines = DecodeDescription(bytes, true);
    return TStructLoad::Loaded;
}

}  // namespace vitrina
