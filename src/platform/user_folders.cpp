#include "platform/user_folders.h"

#include <cstdlib>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
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
        folders.cache = home / "cache";
        return folders;
    }
    fs::path userHome = env("HOME");
    if (userHome.empty()) userHome = fs::temp_directory_path();
    fs::path config = env("XDG_CONFIG_HOME");
    fs::path data = env("XDG_DATA_HOME");
    fs::path runtime = env("XDG_RUNTIME_DIR");
    fs::path cache = env("XDG_CACHE_HOME");
    folders.config = (config.empty() ? userHome / ".config" : config) / "vitrina";
    folders.data = (data.empty() ? userHome / ".local" / "share" : data) / "vitrina" / "c";
    folders.cache = (cache.empty() ? userHome / ".cache" : cache) / "vitrina";
    folders.runtime = runtime.empty() ? fs::temp_directory_path() / ("vitrina-" + std::to_string(::getuid()))
                                      : runtime / "vitrina";
    return folders;
}

void TUserFolders::ProvideRuntimeFolder() {
    if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return;
    const passwd* user = ::getpwuid(::getuid());
    const std::string name = user && user->pw_name ? user->pw_name : std::to_string(::getuid());
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec) / ("runtime-" + name);
    if (ec) return;
    ::mkdir(folder.c_str(), 0700);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 0777) != 0700)
        return;
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace vitrina
