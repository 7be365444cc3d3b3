#include "panes/html_favorite.h"

#include "platform/cp1251.h"
#include "platform/registry.h"

namespace vitrina {
namespace {

std::string ValueName(int n) { return "Favorite" + std::to_string(n); }

}  // namespace

RFavoriteCaption THtmlFavorite::Parse(std::string_view value) {
    const auto open = value.find('{');
    const auto close = value.find('}');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return {"", std::string(value)};
    }
    return {std::string(value.substr(open + 1, close - open - 1)), std::string(value.substr(close + 1))};
}

std::string THtmlFavorite::Command(std::string_view file, int position) {
    return "htmlpos=" + std::string(file) + "=" + std::to_string(position);
}

void THtmlFavorite::Load(TRegistry& reg, std::string_view settingsKey) {
    favorites_.clear();
    try {
        if (!reg.OpenKey(settingsKey, true)) return;
    } catch (const std::exception&) {
        return;
    }
    for (int n = 0; n < kMaxFavorites; ++n) {
        std::string value;
        try {
            value = reg.ReadString(ValueName(n));
        } catch (const std::exception&) {
            continue;
        }
        if (!value.empty()) favorites_.push_back(Parse(value));
    }
}

void THtmlFavorite::Save(TRegistry& reg, std::string_view settingsKey) const {
    try {
        if (!reg.OpenKey(settingsKey, true)) return;
    } catch (const std::exception&) {
        return;
    }
    for (int n = 0; n < kMaxFavorites; ++n) {
        try {
            if (n < static_cast<int>(favorites_.size())) {
                reg.WriteString(ValueName(n), "{" + favorites_[n].Caption + "}" + favorites_[n].Command);
            } else {
                reg.DeleteValue(ValueName(n));
            }
        } catch (const std::exception&) {
        }
    }
}

THtmlFavorite::TAdded THtmlFavorite::Add(std::string caption, std::string command) {
    for (const auto& favorite : favorites_) {
        if (SameText1251(favorite.Caption, caption)) return TAdded::Refused;
    }
    RFavoriteCaption added{std::move(caption), std::move(command)};
    if (static_cast<int>(favorites_.size()) >= kMaxFavorites) {
        favorites_.erase(favorites_.begin());
        favorites_.push_back(std::move(added));
        return TAdded::OldestDropped;
    }
    favorites_.push_back(std::move(added));
    return TAdded::Appended;
}

bool THtmlFavorite::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(favorites_.size())) return false;
    favorites_.erase(favorites_.begin() + index);
    return true;
}

}  // namespace vitrina
