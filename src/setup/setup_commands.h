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
};

}  // namespace vitrina
