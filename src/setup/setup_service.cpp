#include "setup/setup_service.h"

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/registry.h"
#include "resources/description.h"

namespace vitrina {

std::pair<std::string, std::string> SplitExeName(const std::string& text) {
    const auto at = LowerAscii(text).find(".exe");
    if (at == std::string::npos) return {text, {}};
    return {text.substr(0, at + 4), Trim(text.substr(at + 4))};
}

TSetupService::TSetupService(const TDriveMap& drives, IDesktop& desktop, std::filesystem::path configFolder,
                             std::filesystem::path fontFolder)
    : desktop_(desktop), configFolder_(std::move(configFolder)), fonts_(drives, std::move(fontFolder)) {}

std::string TSetupService::GameValue(const std::string& key, const std::string& value) const {
    TRegistry registry(configFolder_, THive::LocalMachine);
    if (!registry.OpenKey("SOFTWARE\\Vostrand\\" + key, false)) return {};
    try {
        return registry.ReadString(value);
    } catch (const ERegistryError&) {
        return {};
    }
}

bool TSetupService::GameValuePresent(const std::string& key, const std::string& value) const {
    return !GameValue(key, value).empty();
}

void TSetupService::RunGame(const std::string& setup, const std::string& key) {
    auto [name, params] = SplitExeName(GameValue(key, "exename"));
    std::string program;
    if (!name.empty()) {
        std::string folder = GameValue(key, "instdir");
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        program = folder + name;
    } else {
        std::tie(program, params) = SplitExeName(setup);
    }
    if (!program.empty()) desktop_.ShellExecute(program, params);
}

void TSetupService::RemoveGame(const std::string&) {}

}  // namespace vitrina
