#include "platform/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vitrina {
namespace fs = std::filesystem;

namespace {

// Ours alone: a folder (not a link to one) owned by this user that no one else may enter.
bool IsPrivateFolder(const fs::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 0777) == 0700;
}

}  // namespace

fs::path TUserFolders::PrivateFolder(const fs::path& wanted) {
    ::mkdir(wanted.c_str(), 0700);
    if (IsPrivateFolder(wanted)) return wanted;
    std::string pattern = wanted.string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::cerr << "vitrina: " << wanted.string() << " is not this user's own folder, and no other can be made ("
                  << std::strerror(errno) << ")\n";
        return wanted;
    }
    std::cerr << "vitrina: " << wanted.string() << " is not this user's own folder; using " << pattern
              << " (other copies of the program may not be found)\n";
    return pattern;
}

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
    // In the shared temporary folder anyone may have made the folder first.
    folders.runtime = runtime.empty() ? PrivateFolder(fs::temp_directory_path() / ("vitrina-" + std::to_string(::getuid())))
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
    if (!IsPrivateFolder(folder)) return;
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace vitrina
