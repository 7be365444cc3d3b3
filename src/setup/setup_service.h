#pragma once
// The disc's fonts and games behind the "installfonts", "rungame" and "delgame" commands. Game
// records are the machine hive's "SOFTWARE\Vostrand\<key>" values "instdir" and "exename",
// written by each game's own installer.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "commands/setup_commands.h"
#include "setup/font_installer.h"

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
    // Runs the game's uninstaller, found from "instdir" upwards, and when it has removed the
    // record, deletes what it left behind. Remains are deleted only inside the per-user c: tree
    // (never its root), and never through a symbolic link: a damaged or hostile record cannot
    // aim the deletion elsewhere.
    void RemoveGame(const std::string& key) override;
    void SetFontFolder(const std::string& file) override { fonts_.SetFolder(file); }
    bool GameValuePresent(const std::string& key, const std::string& value) const override;

    TFontInstaller& Fonts() { return fonts_; }
    // Shows "Игра не установлена." and the like (the skinned dialog's message box).
    std::function<void(const std::string& message)> ShowMessage;
    // Runs the uninstaller's command line (Windows paths) to its end (a test's stand-in). By
    // default it runs through wine, when it is installed, without the window waiting for it: the
    // remains go once it has ended (or has been stopped after a time limit).
    std::function<void(const std::string& program, const std::string& params)> RunUninstaller;
    // A value of the game record; empty when the record or the value is missing.
    std::string GameValue(const std::string& key, const std::string& value) const;

private:
    void DeleteRemains(const std::string& folder) const;

    const TDriveMap& drives_;
    IDesktop& desktop_;
    std::filesystem::path configFolder_;
    TFontInstaller fonts_;
    // An uninstaller that ends after the service has gone finds it gone.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace vitrina
