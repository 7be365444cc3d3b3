#pragma once
// The disc's fonts and games behind the "installfonts", "rungame" and "delgame" commands. Game
// records are the machine hive's "SOFTWARE\Vostrand\<key>" values "instdir" and "exename",
// written by each game's own installer.
#include <filesystem>
#include <string>
#include <utility>

#include "setup/font_installer.h"
#include "setup/setup_commands.h"

namespace vitrina {

class IDesktop;
class TDriveMap;

// "name.exe params" split after the first ".exe" in any letter case; without one, all is name.
std::pair<std::string, std::string> SplitExeName(const std::string& text);

class TSetupService : public ISetupCommands {
public:
    // configFolder holds the registry hives; fonts go to fontFolder.
    TSetupService(const TDriveMap& drives, IDesktop& desktop, std::filesystem::path configFolder,
                  std::filesystem::path fontFolder);

    void InstallFonts() override { fonts_.Install(); }
    // Starts the installed game, or its setup program when the record names none.
    void RunGame(const std::string& setup, const std::string& key) override;
    // Not built yet: removing a game does nothing.
    void RemoveGame(const std::string& key) override;
    void SetFontFolder(const std::string& file) override { fonts_.SetFolder(file); }
    bool GameValuePresent(const std::string& key, const std::string& value) const override;

    TFontInstaller& Fonts() { return fonts_; }
    // A value of the game record; empty when the record or the value is missing.
    std::string GameValue(const std::string& key, const std::string& value) const;

private:
    IDesktop& desktop_;
    std::filesystem::path configFolder_;
    TFontInstaller fonts_;
};

}  // namespace vitrina
