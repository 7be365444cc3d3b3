#include "panes/html_favorite.h"

#include "platform/cp1251.h"
#include "platform/registry.h"

namespace vitrina {
namespace {

std::string ValueName(int n) { return "Favorite" + std::to_string(n); }

}  // namespace

RFavoriteCaption THtmlFavorite::Parse(std::string_view value) {
    const auto open = value.find('{');
    if (open == std::string_view::npos || value.find('}') < open) return {"", std::string(value)};
    std::string caption;
    for (std::size_t i = open + 1; i < value.size(); ++i) {
        if (value[i] != '}') {
            caption += value[i];
        } else if (i + 1 < value.size() && value[i + 1] == '}') {
            caption += '}';
            ++i;
        } else {
            return {std::move(caption), std::string(value.substr(i + 1))};
        }
    }
    return {"", std::string(value)};
}

std::string THtmlFavorite::Format(const RFavoriteCaption& favorite) {
    std::string value = "{";
    for (char c : favorite.Caption) {
        value += c;
        if (c == '}') value += '}';
    }
    return value + "}" + favorite.Command;
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
                reg.WriteString(ValueName(n), Format(favorites_[n]));
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
