#include "panes/html_font_values.h"

#include <exception>

#include "session/settings.h"
#include "platform/registry.h"

namespace vitrina {

THtmlFontValues THtmlFontValues::Read(TRegistry& reg, std::string_view title) {
    THtmlFontValues values;
    bool open = false;
    try {
        open = reg.OpenKey(SettingsKey(title), true);
    } catch (const std::exception&) {
    }
    if (!open) return values;
    try {
        if (std::string name = reg.ReadString("FontName"); !name.empty()) values.FontName = std::move(name);
    } catch (const std::exception&) {
    }
    values.FontColor = ReadIntegerOr(reg, "FontColor", values.FontColor, false);
    values.FontSize = ReadIntegerOr(reg, "FontSize", values.FontSize, false);
    values.HotSpotColor = ReadIntegerOr(reg, "HotSpotColor", values.HotSpotColor, false);
    values.Background = ReadIntegerOr(reg, "Background", values.Background, false);
    return values;
}

void THtmlFontValues::Write(TRegistry& reg, std::string_view title) const {
    try {
        if (!reg.OpenKey(SettingsKey(title), true)) return;
    } catch (const std::exception&) {
        return;
    }
    auto attempt = [](auto&& write) {
        try {
            write();
        } catch (const std::exception&) {
        }
    };
    attempt([&] { reg.WriteString("FontName", FontName); });
    attempt([&] { reg.WriteInteger("FontColor", FontColor); });
    attempt([&] { reg.WriteInteger("FontSize", FontSize); });
    attempt([&] { reg.WriteInteger("HotSpotColor", HotSpotColor); });
    attempt([&] { reg.WriteInteger("Background", Background); });
}

}  // namespace vitrina
