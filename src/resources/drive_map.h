#pragma once
// Windows paths inside, host paths at the edge. The disc drive d: maps to the disc root, z: to
// the host root, c: to the per-user writable tree. Host file systems are case-sensitive and discs
// are not, so each component is matched exactly first and then without regard to case.
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vitrina {

// The program's own folder in the reader's tree, as a path box shows it: where copies go when
// the disc would name a place on the host.
inline constexpr std::string_view kOwnUserFolder = "c:\\vitrina";

// Whether a Windows path is on z:, the whole host: a place there is the reader's to name, never
// the disc's.
bool OnHostDrive(std::string_view windowsPath);

class TDriveMap {
public:
    // discFolder holds Vuv.dhl; when it is named "run" (any case) the disc root is its parent.
    // userRoot is the host folder that c: maps to.
    TDriveMap(const std::filesystem::path& discFolder, const std::filesystem::path& userRoot);

    // "d:\run\" when the disc folder is named run, else "d:\".
    const std::string& ProgramFolder() const { return programFolder_; }
    // "d:\"
    std::string ProgramDrive() const { return "d:\\"; }
    const std::filesystem::path& DiscRoot() const { return discRoot_; }
    const std::filesystem::path& UserRoot() const { return userRoot_; }

    // The host path of a Windows path (1251). "\" and "/" separate components; existing ones
    // are matched exactly, then ignoring case; the rest are kept as written. Relative paths are
    // taken from the program folder. Empty (as for a missing file) for a drive that is not
    // mapped, for a name with an empty (but a folder's trailing), "." or ".." component, for a
    // link to nothing, when links lead the path out of the drive's root, and on the disc drive
    // for a hidden name (".ssh"), as written or reached through a link.
    std::optional<std::filesystem::path> ToHostPath(std::string_view windowsPath) const;
    // The Windows form of a host path: below the disc root on d:, below the user tree on c:,
    // anywhere else on z:.
    std::string ToWindowsPath(const std::filesystem::path& hostPath) const;

    // Whether the disc root is a folder no disc may be: the host's root, a system folder, or the
    // reader's home or a folder above it (a disc unpacked as ~/run would have its pages read the
    // whole home). The home is $HOME and the user's entry in the password database.
    bool RootIsReadersOrSystemFolder() const;

    bool FileExists(std::string_view windowsPath) const;
    bool DirectoryExists(std::string_view windowsPath) const;

private:
    struct TListedName {
        std::string name;  // as on the host
        bool link = false;
    };
    struct TListing {
        bool listed = false;
        std::filesystem::file_time_type stamp;     // the folder's time when it was listed
        std::filesystem::file_time_type listedAt;  // when it was listed
        std::unordered_map<std::string, TListedName> byFoldedName;  // folded 1251 -> host entry
    };
    std::optional<TListedName> FindIgnoringCase(const std::filesystem::path& folder, const std::string& name1251) const;

    std::filesystem::path discRoot_;
    std::filesystem::path userRoot_;
    std::filesystem::path canonicalDiscRoot_;  // the roots with their links resolved
    std::filesystem::path canonicalUserRoot_;
    std::string programFolder_;
    mutable std::mutex mutex_;
    mutable std::unordered_map<std::string, TListing> listings_;
};

// Whether a part of the relative path is a name the host hides (begins with "."): such files
// are never served from the disc, nor below a folder the reader handed in.
bool HasHiddenPart(const std::filesystem::path& relative);

// The drive map as a function from Windows paths to host files, for the host services that
// take one.
inline auto HostPathsOf(const TDriveMap& drives) {
    return [&drives](const std::string& path) { return drives.ToHostPath(path); };
}

}  // namespace vitrina
