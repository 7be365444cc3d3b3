#pragma once
// "unarc": the shown archive page's archive, unpacked where the reader asks; and an archive
// dropped on the window, shown for the current document.
#include <string>

namespace vitrina {

class IArchiveCommands {
public:
    virtual ~IArchiveCommands() = default;
    virtual void ExtractArchive() = 0;
    virtual void OpenArchivePage(const std::string& archive, const std::string& document) = 0;
};

}  // namespace vitrina
