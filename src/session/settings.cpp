#include "session/settings.h"

#include "platform/registry.h"
#include "resources/dialog_description.h"
#include "resources/screen_model.h"

namespace vitrina {

std::string SettingsKey(std::string_view title) {
    return "SOFTWARE\\Quarnelo\\" + std::string(title);
}

std::string SwitchValueName(std::string_view prefix, int screen, int index) {
    return std::string(prefix) + std::to_string(screen) + std::to_string(index);
}

bool ReadBoolOr(TRegistry& reg, std::string_view name, bool fallback, bool writeBack) {
    try {
        return reg.ReadBool(name);
    } catch (const ERegistryError&) {
    }
    if (writeBack) {
        try {
            reg.WriteBool(name, fallback);
        } catch (const ERegistryError&) {
        }
    }
    return fallback;
}

int ReadIntegerOr(TRegistry& reg, std::string_view name, int fallback, bool writeBack) {
    try {
        return reg.ReadInteger(name);
    } catch (const ERegistryError&) {
    }
    if (writeBack) {
        try {
            reg.WriteInteger(name, fallback);
        } catch (const ERegistryError&) {
        }
    }
    return fallback;
}

void TSettings::Load(TRegistry& reg, std::string_view title, bool hasSlides) {
    if (!reg.OpenKey(SettingsKey(title), true)) return;
    Clip = ReadBoolOr(reg, "Clip", true, true);
    Wav = ReadBoolOr(reg, "Wav", true, true);
    BGSound = ReadBoolOr(reg, "BGSound", true, true);
    Animation = ReadBoolOr(reg, "Animation", true, true);
    Hint = ReadBoolOr(reg, "Hint", true, true);
    if (hasSlides) {
        RunSlideShow = ReadBoolOr(reg, "RunSlideShow", false, true);
        SlideShowTime = ReadIntegerOr(reg, "SlideShowTime", 5, true);
        ImageSequence = ReadIntegerOr(reg, "ImageSequence", 0, true);
    }
    reg.CloseKey();
}

std::optional<std::pair<int, int>> ReadWindowPlace(TRegistry& reg, std::string_view title) {
    if (!reg.OpenKey(SettingsKey(title), false)) return std::nullopt;
    std::optional<std::pair<int, int>> place;
    try {
        if (reg.ValueExists("WindowLeft") && reg.ValueExists("WindowTop"))
            place = std::pair(reg.ReadInteger("WindowLeft"), reg.ReadInteger("WindowTop"));
    } catch (const ERegistryError&) {
        place.reset();
    }
    reg.CloseKey();
    return place;
}

void WriteWindowPlace(TRegistry& reg, std::string_view title, int left, int top) {
    if (!reg.OpenKey(SettingsKey(title), true)) return;
    try {
        reg.WriteInteger("WindowLeft", left);
        reg.WriteInteger("WindowTop", top);
    } catch (const ERegistryError&) {
    }
    reg.CloseKey();
}

void ReadStoredSwitchStates(TRegistry& reg, std::string_view title, TScreenModel& model) {
    const bool open = reg.OpenKey(SettingsKey(title), true);
    for (std::size_t s = 0; s < model.ScreenSwitches.size(); ++s) {
        for (std::size_t i = 0; i < model.ScreenSwitches[s].size(); ++i) {
            RSwthOne& sw = model.ScreenSwitches[s][i];
            sw.Hovered = false;
            if (open && sw.store)
                sw.state = ReadBoolOr(reg, SwitchValueName("SwOne", int(s), int(i)), sw.state, false);
        }
    }
    for (std::size_t s = 0; s < model.ScreenGroups.size(); ++s) {
        for (std::size_t i = 0; i < model.ScreenGroups[s].size(); ++i) {
            RSwthGrp& g = model.ScreenGroups[s][i];
            g.Hovered = false;
            if (open && g.store)
                g.state = ReadBoolOr(reg, SwitchValueName("SwGrp", int(s), int(i)), g.state, false);
        }
    }
    reg.CloseKey();
}

void WriteStoredSwitchStates(TRegistry& reg, std::string_view title, const TScreenModel& model) {
    if (!reg.OpenKey(SettingsKey(title), true)) return;
    auto write = [&](const std::string& name, bool state) {
        try {
            reg.WriteBool(name, state);
        } catch (const ERegistryError&) {
        }
    };
    for (std::size_t s = 0; s < model.ScreenSwitches.size(); ++s)
        for (std::size_t i = 0; i < model.ScreenSwitches[s].size(); ++i)
            if (model.ScreenSwitches[s][i].store)
                write(SwitchValueName("SwOne", int(s), int(i)), model.ScreenSwitches[s][i].state);
    for (std::size_t s = 0; s < model.ScreenGroups.size(); ++s)
        for (std::size_t i = 0; i < model.ScreenGroups[s].size(); ++i)
            if (model.ScreenGroups[s][i].store)
                write(SwitchValueName("SwGrp", int(s), int(i)), model.ScreenGroups[s][i].state);
    reg.CloseKey();
}

void ReadStoredSwitchStates(TRegistry& reg, std::string_view title, TDialogDescription& dialogs) {
    const bool open = reg.OpenKey(SettingsKey(title), true);
    for (std::size_t d = 0; d < dialogs.DialogSwitches.size(); ++d) {
        for (std::size_t i = 0; i < dialogs.DialogSwitches[d].size(); ++i) {
            RSwthGrp& s = dialogs.DialogSwitches[d][i];
            s.Hovered = false;
            if (open && s.store) s.state = ReadBoolOr(reg, SwitchValueName("SwGrpD", int(d), int(i)), s.state, false);
        }
    }
    reg.CloseKey();
}

void WriteStoredSwitchStates(TRegistry& reg, std::string_view title, const TDialogDescription& dialogs) {
    if (!reg.OpenKey(SettingsKey(title), true)) return;
    for (std::size_t d = 0; d < dialogs.DialogSwitches.size(); ++d) {
        for (std::size_t i = 0; i < dialogs.DialogSwitches[d].size(); ++i) {
            const RSwthGrp& s = dialogs.DialogSwitches[d][i];
            if (!s.store) continue;
            try {
                reg.WriteBool(SwitchValueName("SwGrpD", int(d), int(i)), s.state);
            } catch (const ERegistryError&) {
            }
        }
    }
    reg.CloseKey();
}

}  // namespace vitrina
