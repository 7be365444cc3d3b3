#pragma once
// What OK of the settings dialog stores: each changed choice goes into its flag and the settings
// key; the interface size is written always; the slide show follows its choices.
#include <optional>
#include <string>
#include <string_view>

namespace vitrina {

class TRegistry;
struct TSettings;

struct TOptionsChoice {
    bool clip = false, clipEnabled = false;
    bool wav = false, wavEnabled = false;
    int sizeInterface = -1;  // the first checked choice, -1 when none is
    bool runSlideShow = false;
    int slideTime = 5;
    int sequence = 0;
};

struct TOptionsEffects {
    std::optional<bool> slideShowRunning;  // with slide areas: the timer runs or not
    std::optional<int> slideInterval;      // ms, when the time changed
};

// sizeInterface: the run's current choice (never read back from the key).
TOptionsEffects ApplyOptions(TRegistry& registry, std::string_view title, bool hasSlides, const TOptionsChoice& choice,
                             TSettings& settings, int& sizeInterface);

// "1 секунда", "3 секунды", "5 секунд" (1251).
std::string SlideTimeText(int seconds);

}  // namespace vitrina
