#pragma once
// The desktop of this host behind IDesktop: files and addresses through QDesktopServices,
// programs through QProcess (Windows programs through wine where it is installed), click sounds.
#include <filesystem>
#include <functional>
#include <optional>

#include <QUrl>

#include "platform/desktop.h"

namespace vitrina {

class TClickSound;

class TShellDesktop : public IDesktop {
public:
    // The host file of a Windows path, empty when it has none.
    using THostPath = std::function<std::optional<std::filesystem::path>(const std::string&)>;

    TShellDesktop(THostPath hostPath, TClickSound& sounds) : hostPath_(std::move(hostPath)), sounds_(sounds) {}

    // What ShellExecute and WinExec do with a target: an address for the browser or mail
    // program, a disc document or medium for the desktop's opener, a Windows program for wine,
    // or nothing.
    struct TShellTarget {
        enum class TKind { None, Address, Document, WindowsProgram } kind = TKind::None;
        QUrl url;  // the address, or the host file
    };
    TShellTarget ShellTarget(const std::string& target) const;

    void ShellExecute(const std::string& target, const std::string& params) override;
    void WinExec(const std::string& program, const std::string& folder) override;
    // Through the help viewer once it is given one.
    using THelpViewer = std::function<void(const std::string& helpFile, const std::string& topic)>;
    void ShowHelpTopic(const std::string& helpFile, const std::string& topic) override;
    void SetHelpViewer(THelpViewer help) { help_ = std::move(help); }
    void PlayClickSound(const std::string& file) override;
    void PlayClickSoundToEnd(const std::string& file) override;

private:
    THostPath hostPath_;
    TClickSound& sounds_;
    THelpViewer help_;
};

}  // namespace vitrina
