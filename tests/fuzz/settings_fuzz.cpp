// The reader's settings file as it may be found: any bytes parse within bounds; what parses is
// written back in the same form and reads the same again; the favorites it holds come back from
// their written form unchanged; a file that looks like settings reads through the store itself.
#include "fuzz_support.h"
#include "panes/html_favorite.h"
#include "platform/cp1251.h"
#include "platform/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const std::string_view text = fuzz::AsText(data, size);
    const auto keys = ParseRegFile(text, THive::CurrentUser);
    const std::string written = FormatRegFile(keys, THive::CurrentUser);
    fuzz::Check(LooksLikeRegFile(written), "a written file is not taken for one");
    fuzz::Check(ParseRegFile(written, THive::CurrentUser) == keys, "a written file reads otherwise");

    for (const TRegKey& key : keys) {
        for (const TRegValue& value : key.values) {
            if (value.type != TRegType::String) continue;
            const RFavoriteCaption favorite = THtmlFavorite::Parse(value.data);
            if (favorite.Command.starts_with('}')) continue;  // the program writes no such command
            fuzz::Check(THtmlFavorite::Parse(THtmlFavorite::Format(favorite)) == favorite,
                        "a favorite comes back changed");
        }
    }

    // Anything else would be kept aside, which the store's tests cover.
    if (!LooksLikeRegFile(text) || size > kMaxHiveFileSize || keys.empty()) return 0;
    const std::filesystem::path folder = fuzz::ScratchFolder() / "settings";
    fuzz::WriteFile(folder / (HiveName(THive::CurrentUser) + ".reg"), text);
    TRegistry reg(folder);
    fuzz::Check(reg.OpenKey(keys.front().path, false), "a key of the file is not found");
    for (const TRegValue& value : keys.front().values) {
        // A later value of the same name (ignoring case) is shadowed by the first.
        const TRegValue* first = &value;
        for (const TRegValue& other : keys.front().values) {
            if (SameText1251(other.name, value.name)) {
                first = &other;
                break;
            }
        }
        switch (first->type) {
        case TRegType::String:
            fuzz::Check(reg.ReadString(value.name) == first->data, "a string reads otherwise");
            break;
        case TRegType::DWord:
            fuzz::Check(reg.ReadInteger(value.name) == static_cast<int>(first->dword), "a number reads otherwise");
            break;
        case TRegType::Binary:
            fuzz::Check(reg.ReadBinary(value.name) == first->data, "bytes read otherwise");
            break;
        }
    }
    THtmlFavorite favorites;
    favorites.Load(reg, keys.front().path);
    fuzz::Check(static_cast<int>(favorites.Favorites().size()) <= THtmlFavorite::kMaxFavorites, "more favorites than kept");
    return 0;
}
