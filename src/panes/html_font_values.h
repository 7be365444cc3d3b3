#pragma once
// The HTML pane's default look as kept in the settings store: font, colours, background. Read
// when the pane is made, written from the current viewer when it goes.
#include <string>
#include <string_view>

#include "resources/dynamic_arrays.h"

namespace vitrina {

class TRegistry;

struct THtmlFontValues {
    std::string FontName = "Arial";
    TColor FontColor = 0;
    int FontSize = 8;
    TColor HotSpotColor = 0x3366;
    TColor Background = 0xFFFFFF;

    // From the title's settings key (created when missing). A missing, empty or wrongly typed
    // value, or a key that cannot be opened, gives that value's default; errors never escape.
    static THtmlFontValues Read(TRegistry& reg, std::string_view title);
    // Into the title's settings key; a key that cannot be opened writes nothing, a value that
    // cannot be written is skipped.
    void Write(TRegistry& reg, std::string_view title) const;

    bool operator==(const THtmlFontValues&) const = default;
};

}  // namespace vitrina
