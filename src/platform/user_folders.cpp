#include "platform/user_folders.h"

#include <cstdlib>
#include <string>

#include <unistd.h>

namespace vitrina {
namespace fs = std::filesystem;

TUserFolders TUserFolders::FromEnvironment() {
    auto env = [](const char* name) -> fs::path {
        const char* value = std::getenv(name);
        return value && *value ? fs::path(value) : fs::path();
    };
    TUserFolders folders;
    if (const fs::path home = env("VITRINA_HOME"); !home.empty()) {
        folders.config = home / "config";
        folders.data = home / "c";
        folders.runtime = home / "run";
        return folders;
    }
    fs::path userHome = env("HOME");
    if (userHome.empty()) userHome = fs::temp_directory_path();
    fs::path config = env("XDG_CONFIG_HOME");
    fs::path data = env("XDG_DATA_HOME");
    fs::path runtime = env("XDG_RUNTIME_DIR");
    folders.config = (config.empty() ? userHome / ".config" : config) / "vitrina";
    folders.data = (data.empty() ? userHome / ".local" / "share" : data) / "vitrina" / "c";
    folders.runtime = runtime.empty() ? fs::temp_directory_path() / ("vitrina-" + std::to_string(::getuid()))
                                      : runtime / "vitrina";
    return folders;
}

}  // namespace vitrina
