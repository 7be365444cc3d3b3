#pragma once
#include <filesystem>

namespace vitrina {

// Per-user state lives under $VITRINA_HOME when it is set, else under the XDG folders.
struct TUserFolders {
    std::filesystem::path config;   // registry hives
    std::filesystem::path data;     // the c: tree
    std::filesystem::path runtime;  // window directory, mode 0700

    static TUserFolders FromEnvironment();
};

}  // namespace vitrina
