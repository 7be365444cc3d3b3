#pragma once
// The parts the dispatcher hands commands to. A null pointer is a part this window does not
// have (no HTML area, no popups, a subsystem not built): the commands for it do nothing.
namespace vitrina {

class IAboutCommands;
class IArchiveCommands;
class IClipCommands;
class IDesktop;
class IDialogCommands;
class IHtmlCommands;
class IOptionsCommands;
class IPlayerCommands;
class IPopupCommands;
class IPrintCommands;
class ISearchCommands;
class ISetupCommands;
class IStandardWindowCommands;
class ITreeCommands;
class TWindowDirectory;

struct TCommandServices {
    IDesktop* desktop = nullptr;
    TWindowDirectory* windows = nullptr;
    IHtmlCommands* html = nullptr;
    ITreeCommands* trees = nullptr;
    IPopupCommands* popups = nullptr;
    IStandardWindowCommands* standard = nullptr;
    IDialogCommands* dialogs = nullptr;
    IAboutCommands* about = nullptr;
    IOptionsCommands* options = nullptr;
    IPrintCommands* print = nullptr;
    ISearchCommands* search = nullptr;
    IPlayerCommands* player = nullptr;
    IClipCommands* clips = nullptr;
    IArchiveCommands* archive = nullptr;
    ISetupCommands* setup = nullptr;
};

}  // namespace vitrina
