#include "panes/visit_groups.h"

#include "platform/cp1251.h"
#include "resources/description.h"

namespace vitrina {
namespace {

int FirstContaining(const TDynamicStringArray& groups, const std::string& text) {
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
}

}  // namespace

void TVisitGroups::RememberVisit(const std::string& document) {
    current_ = FirstContaining(groups_, document);
    if (current_ >= 0) return;
    groups_.push_back(document);
    current_ = static_cast<int>(groups_.size()) - 1;
}

void TVisitGroups::DocumentChanged(const std::string& currentFile) {
    if (groups_.empty()) return;
    if (const int found = FirstContaining(groups_, currentFile); found >= 0) {
        current_ = found;
        return;
    }
    if (current_ >= 0 && current_ < static_cast<int>(groups_.size()))
        groups_[current_] += "; " + LowerCase1251(currentFile);
}

std::string TVisitGroups::FirstDocument() const {
    if (current_ < 0 || current_ >= static_cast<int>(groups_.size())) return {};
    return ReadText(groups_[current_], 0);
}

std::vector<TPoint> SwitchPressPoints(const std::string& document, const TDynamicSwthOneArray& switches,
                                      const TDynamicSwthGrpArray& groups) {
    std::vector<TPoint> points;
    if (document.empty()) return points;
    for (const auto& s : switches) {
        const bool matches = s.state ? s.goup.find(document) != std::string::npos
                                     : s.godown.find(document) != std::string::npos;
        if (matches) points.push_back({s.vx + 1, s.vy + 1});
    }
    for (const auto& g : groups)
        if (g.go.find(document) != std::string::npos) points.push_back({g.vx + 1, g.vy + 1});
    return points;
}

}  // namespace vitrina
