#pragma once
// The disc's fonts and games.
#include <string>

namespace vitrina {

class ISetupCommands {
public:
    virtual ~ISetupCommands() = default;
    virtual void InstallFonts() = 0;
    virtual void RunGame(const std::string& setup, const std::string& key) = 0;
    virtual void RemoveGame(const std::string& key) = 0;
    // The fonts folder a document's font links refer to.
    virtual void SetFontFolder(const std::string& file) = 0;
    // An installed game's registry value is there.
    virtual bool GameValuePresent(const std::string& key, const std::string& value) const = 0;
};

}  // namespace vitrina
