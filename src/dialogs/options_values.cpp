#include "dialogs/options_values.h"

#include "platform/cp1251.h"
#include "platform/registry.h"
#include "session/settings.h"

namespace vitrina {

namespace {

void Write(TRegistry& registry, std::string_view name, int value) {
    try {
        registry.WriteInteger(name, value);
    } catch (const ERegistryError&) {
    }
}

}  // namespace

TOptionsEffects ApplyOptions(TRegistry& registry, std::string_view title, bool hasSlides, const TOptionsChoice& choice,
                             TSettings& settings, int& sizeInterface) {
    TOptionsEffects effects;
    const bool open = registry.OpenKey(SettingsKey(title), true);
    auto store = [&](std::string_view name, int value) {
        if (open) Write(registry, name, value);
    };
    // A box that is disabled was never filled: it says nothing about its flag.
    if (choice.clipEnabled && choice.clip != settings.Clip) {
        settings.Clip = !settings.Clip;
        store("Clip", settings.Clip);
    }
    if (choice.wavEnabled && choice.wav != settings.Wav) {
        settings.Wav = !settings.Wav;
        store("Wav", settings.Wav);
    }
    if (choice.sizeInterface >= 0) sizeInterface = choice.sizeInterface;
    store("SizeInterface", sizeInterface);
    if (hasSlides) {
        if (choice.runSlideShow != settings.RunSlideShow) {
            settings.RunSlideShow = !settings.RunSlideShow;
            store("RunSlideShow", settings.RunSlideShow);
        }
        effects.slideShowRunning = settings.RunSlideShow;
        if (choice.slideTime != settings.SlideShowTime) {
            settings.SlideShowTime = choice.slideTime;
            store("SlideShowTime", settings.SlideShowTime);
            effects.slideInterval = choice.slideTime * 1000 + 1;
        }
        if (choice.sequence != settings.ImageSequence) {
            settings.ImageSequence = choice.sequence;
            store("ImageSequence", settings.ImageSequence);
        }
    }
    if (open) registry.CloseKey();
    return effects;
}

std::string SlideTimeText(int seconds) {
    const char* word = seconds == 1 ? " секунда" : seconds >= 2 && seconds <= 4 ? " секунды" : " секунд";
    return std::to_string(seconds) + Utf8ToCp1251(word);
}

}  // namespace vitrina
