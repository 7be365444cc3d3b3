#pragma once
// The parts the dispatcher hands commands to. Each part registers the interfaces it serves when
// it is made and holds the registration until it goes. A null pointer is a part this window does
// not have (no HTML area, no popups, a subsystem not built): the commands for it do nothing.
#include <type_traits>

#include "commands/service_registration.h"

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

    // part serves slot until the registration goes. A place already served stays with the part
    // that serves it (a test's stand-in, set before the program's parts are made), and this
    // registration is then empty.
    template <class I>
    [[nodiscard]] TServiceRegistration Register(I* TCommandServices::*slot, std::type_identity_t<I>* part) {
        if (!part || this->*slot) return {};
        this->*slot = part;
        return TServiceRegistration([this, slot, part] {
            if (this->*slot == part) this->*slot = nullptr;
        });
    }
};

}  // namespace vitrina
