#pragma once
// The command dispatcher and the key table of the main window: what a control's command or a
// key does, on the disc session, the main window and the parts of TCommandServices.
#include <Qt>

#include <string>
#include <vector>

#include "commands/command_services.h"

namespace vitrina {

class IMainWindow;
class TDiscSession;

class TDispatcher {
public:
    TDispatcher(TDiscSession& session, TCommandServices& services);

    // The main window, once it exists; commands that need it do nothing before.
    void SetWindow(IMainWindow* window) { window_ = window; }

    // sound is played unless silent is 1; kind and index name the issuing control (0 button,
    // 1 switch, 2 member).
    void ExecuteCommand(const std::string& command, const std::string& sound, int silent, int kind, int index);
    // The key table; true when the key was consumed.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Files dropped on the window: the first one counts (a Windows path).
    void FilesDropped(const std::vector<std::string>& files);

    TCommandServices& Services() { return services_; }
    // A topic of the disc's help file (F1 and "help").
    void ShowHelp(const char* topic);

private:
    void Exit(int kind, int index);
    void ToggleBackgroundMusic();
    void PressSwitchesNamed(const char* word);

    TDiscSession& session_;
    TCommandServices& services_;
    IMainWindow* window_ = nullptr;
};

}  // namespace vitrina
