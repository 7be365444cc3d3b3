#pragma once
// The desktop of this host behind IDesktop: files and addresses through QDesktopServices,
// programs through QProcess (Windows programs through wine where it is installed), click sounds.
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/desktop.h"

namespace vitrina {

class TClickSound;

class TShellDesktop : public IDesktop {
public:
    // The host file of a Windows path, empty when it has none.
    using THostPath = std::function<std::optional<std::filesystem::path>(const std::string&)>;

    TShellDesktop(THostPath hostPath, TClickSound& sounds) : hostPath_(std::move(hostPath)), sounds_(sounds) {}

    void ShellExecute(const std::string& target, const std::string& params) override;
    void WinExec(const std::string& program, const std::string& folder) override;
    void ShowHelpTopic(const std::string& helpFile, const std::string& topic) override;
    void PlayClickSound(const std::string& file) override;
    void PlayClickSoundToEnd(const std::string& file) override;

private:
    THostPath hostPath_;
    TClickSound& sounds_;
};

}  // namespace vitrina
