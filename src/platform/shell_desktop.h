#pragma once
// The desktop of this host behind IDesktop: files and addresses through QDesktopServices,
// programs through QProcess (Windows programs through wine where it is installed), click sounds.
#include "platform/desktop.h"

namespace vitrina {

class TClickSound;
class TDriveMap;

class TShellDesktop : public IDesktop {
public:
    TShellDesktop(const TDriveMap& drives, TClickSound& sounds) : drives_(drives), sounds_(sounds) {}

    void ShellExecute(const std::string& target, const std::string& params) override;
    void WinExec(const std::string& program, const std::string& folder) override;
    void ShowHelpTopic(const std::string& helpFile, const std::string& topic) override;
    void PlayClickSound(const std::string& file) override;
    void PlayClickSoundToEnd(const std::string& file) override;

private:
    const TDriveMap& drives_;
    TClickSound& sounds_;
};

}  // namespace vitrina
