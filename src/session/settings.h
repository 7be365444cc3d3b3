#pragma once
// The settings key and the values the main window owns: the user's options (read with
// write-back of their defaults) and the stored states of switches and group members.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vitrina {

class TRegistry;
class TDialogDescription;
class TScreenModel;

// HKEY_CURRENT_USER key of a title.
std::string SettingsKey(std::string_view title);

// "SwOne" + screen + index, both 0-based decimal without separator (so 1,12 and 11,2 meet);
// "SwGrp" for group members, "SwGrpD" for the switches of the dialogs.
std::string SwitchValueName(std::string_view prefix, int screen, int index);

// A Boolean or Integer read; a missing or wrongly typed value gives the default, written back
// when asked. Errors never escape.
bool ReadBoolOr(TRegistry& reg, std::string_view name, bool fallback, bool writeBack);
int ReadIntegerOr(TRegistry& reg, std::string_view name, int fallback, bool writeBack);

// The options the settings dialog loads into process-wide flags when it is created.
struct TSettings {
    bool Clip = true;
    bool Wav = true;
    bool BGSound = true;
    bool Animation = true;
    bool Hint = true;
    bool RunSlideShow = false;
    int SlideShowTime = 5;
    int ImageSequence = 0;

    // A control's sound is heard: button sounds are on and the control names one.
    bool PlaysSound(std::string_view wav) const { return Wav && !wav.empty() && wav != "no"; }

    // Opens the key (created when missing); the slide values only when there are slide areas.
    void Load(TRegistry& reg, std::string_view title, bool hasSlides);
};

// The main window's top-left corner, kept under the disc's key ("WindowLeft", "WindowTop"); none
// when it was never stored or cannot be read.
std::optional<std::pair<int, int>> ReadWindowPlace(TRegistry& reg, std::string_view title);
void WriteWindowPlace(TRegistry& reg, std::string_view title, int left, int top);

// Stored switch and member states of every screen: read into the records at start (a missing
// or unreadable value keeps the described state; Hovered is cleared), written at the end (each
// failing write skipped).
void ReadStoredSwitchStates(TRegistry& reg, std::string_view title, TScreenModel& model);
void WriteStoredSwitchStates(TRegistry& reg, std::string_view title, const TScreenModel& model);
// The same for the switches of every dialog.
void ReadStoredSwitchStates(TRegistry& reg, std::string_view title, TDialogDescription& dialogs);
void WriteStoredSwitchStates(TRegistry& reg, std::string_view title, const TDialogDescription& dialogs);

}  // namespace vitrina
