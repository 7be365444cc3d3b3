#pragma once
#include <filesystem>

namespace vitrina {

// Per-user state lives under $VITRINA_HOME when it is set, else under the XDG folders.
struct TUserFolders {
    std::filesystem::path config;   // registry hives
    std::filesystem::path data;     // the c: tree
    std::filesystem::path runtime;  // window directory, mode 0700
    std::filesystem::path cache{};  // what can be made again: the word indexes of discs

    static TUserFolders FromEnvironment();
    // Without XDG_RUNTIME_DIR (a bare session, a container, su), names a private folder of this
    // user's in the temporary folder for it, as Qt would (Qt also warns on every start), so that
    // the program and the engine's helpers agree on it. A folder there that is not this user's
    // own, mode 0700, is not used.
    static void ProvideRuntimeFolder();
    // wanted, made when missing, when it is this user's own folder of mode 0700 (not a link);
    // otherwise a fresh folder beside it, and one line on stderr says so.
    static std::filesystem::path PrivateFolder(const std::filesystem::path& wanted);
};

}  // namespace vitrina
