#pragma once
// Favorites: up to ten bookmarks, oldest first, kept in the settings key as "Favorite0".."Favorite9"
// = "{" caption "}" command, every "}" of the caption written twice: a page's title decides no
// part of the command. Values written before captions were so escaped read the same, since the
// first "}" ended their captions and no command starts with one.
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

class TRegistry;

struct RFavoriteCaption {
    std::string Caption;
    std::string Command;  // "htmlpos=" file "=" position
    bool operator==(const RFavoriteCaption&) const = default;
};
using TDynamicFavoriteCaption = std::vector<RFavoriteCaption>;

class THtmlFavorite {
public:
    static constexpr int kMaxFavorites = 10;

    enum class TAdded { Refused, Appended, OldestDropped };

    // LoadFavorites: missing or unreadable values are skipped.
    void Load(TRegistry& reg, std::string_view settingsKey);
    // SaveFavorites: the list compactly from 0, the values past its end deleted; a failing value
    // is skipped.
    void Save(TRegistry& reg, std::string_view settingsKey) const;

    // AddFavorite's list rule: a caption already present (ignoring case) is refused; an eleventh
    // entry drops the oldest.
    TAdded Add(std::string caption, std::string command);
    // RemoveFavorite: false when index is outside the list.
    bool Remove(int index);

    const TDynamicFavoriteCaption& Favorites() const { return favorites_; }

    static std::string Command(std::string_view file, int position);
    // "{caption}command", "}}" in the caption standing for "}"; a value without braces (or with
    // "}" before the first "{") is all command.
    static RFavoriteCaption Parse(std::string_view value);
    // The value Parse reads back as favorite, for any command that does not start with "}".
    static std::string Format(const RFavoriteCaption& favorite);

private:
    TDynamicFavoriteCaption favorites_;
};

}  // namespace vitrina
