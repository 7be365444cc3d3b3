#include "resources/drive_map.h"

#include <cstdlib>
#include <system_error>
#include <pwd.h>
#include <unistd.h>

#include "platform/cp1251.h"
#include "resources/windows_path.h"

namespace fs = std::filesystem;

namespace vitrina {
namespace {

// A component that names one entry of its folder: not empty, not "." or "..", no NUL (the host
// would end the name there). "/" never gets this far: it separates components.
bool IsPlainName(const std::string& part) {
    return !part.empty() && part != "." && part != ".." && part.find('\0') == std::string::npos;
}

bool IsWithin(const fs::path& path, const fs::path& root, fs::path& rest) {
    auto p = path.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++p) {
        if (r->empty()) continue;  // trailing separator of the root
        if (p == path.end() || *p != *r) return false;
    }
    rest.clear();
    for (; p != path.end(); ++p) rest /= *p;
    return true;
}

// Whether host, its links followed, still lies below the (resolved) root; rest is then the
// path below it.
bool StaysWithin(const fs::path& host, const fs::path& canonicalRoot, fs::path& rest) {
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(host, ec);
    return !ec && IsWithin(resolved, canonicalRoot, rest);
}

fs::path Canonical(const fs::path& path) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? path.lexically_normal() : canonical;
}

// Folders of the system that hold no disc: a disc root there would serve the system's files.
constexpr const char* kSystemFolders[] = {
    "/",         "/bin",      "/boot",     "/dev",          "/etc",      "/home",     "/lib",
    "/lib32",    "/lib64",    "/libx32",   "/media",        "/opt",      "/proc",     "/root",
    "/run",      "/sbin",     "/srv",      "/sys",          "/tmp",      "/usr",      "/usr/bin",
    "/usr/lib",  "/usr/lib32", "/usr/lib64", "/usr/libexec", "/usr/local", "/usr/sbin", "/usr/share",
    "/usr/src",  "/var",      "/var/cache", "/var/lib",     "/var/log",  "/var/tmp",  "/snap",
};

}  // namespace

bool OnHostDrive(std::string_view windowsPath) {
    return windowsPath.size() >= 2 && windowsPath[1] == ':' && LowerChar1251(static_cast<unsigned char>(windowsPath[0])) == 'z';
}

bool HasHiddenPart(const fs::path& relative) {
    for (const auto& part : relative) {
        const std::string& name = part.native();
        if (!name.empty() && name[0] == '.' && name != "." && name != "..") return true;
    }
    return false;
}

bool TDriveMap::RootIsReadersOrSystemFolder() const {
    fs::path rest;
    std::vector<fs::path> homes;
    if (const char* home = std::getenv("HOME"); home && *home == '/') homes.emplace_back(home);
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir == '/')
        homes.emplace_back(user->pw_dir);
    for (const fs::path& home : homes)
        if (IsWithin(Canonical(home), canonicalDiscRoot_, rest)) return true;
    for (const char* folder : kSystemFolders)
        if (Canonical(folder) == canonicalDiscRoot_) return true;
    return false;
}

TDriveMap::TDriveMap(const fs::path& discFolder, const fs::path& userRoot) : userRoot_(userRoot) {
    fs::path folder = fs::absolute(discFolder).lexically_normal();
    if (!folder.has_filename()) folder = folder.parent_path();
    if (SameText1251(Utf8ToCp1251(folder.filename().string()), "run") && folder.has_parent_path()) {
        discRoot_ = folder.parent_path();
        programFolder_ = "d:\\run\\";
    } else {
        discRoot_ = folder;
        programFolder_ = "d:\\";
    }
    // Resolved once: links inside the disc or the user tree are judged against these.
    std::error_code ec;
    canonicalDiscRoot_ = fs::weakly_canonical(discRoot_, ec);
    if (ec) canonicalDiscRoot_ = discRoot_;
    canonicalUserRoot_ = fs::weakly_canonical(fs::absolute(userRoot_, ec), ec);
    if (ec) canonicalUserRoot_ = fs::absolute(userRoot_, ec).lexically_normal();
}

std::optional<TDriveMap::TListedName> TDriveMap::FindIgnoringCase(const fs::path& folder, const std::string& name1251) const {
    std::error_code ec;
    const auto stamp = fs::last_write_time(folder, ec);
    if (ec) return std::nullopt;
    std::lock_guard lock(mutex_);
    auto& listing = listings_[folder.string()];
    auto list = [&] {
        listing.byFoldedName.clear();
        listing.stamp = stamp;
        listing.listedAt = fs::file_time_type::clock::now();
        listing.listed = true;
        std::error_code listError;
        for (fs::directory_iterator it(folder, listError), end; !listError && it != end; it.increment(listError)) {
            const std::string hostName = it->path().filename().string();
            std::error_code typeError;  // the type comes with the listing on most file systems
            const bool link = it->is_symlink(typeError);
            // The first name in listing order wins when several differ only in case.
            listing.byFoldedName.emplace(LowerCase1251(Utf8ToCp1251(hostName)), TListedName{hostName, link});
        }
    };
    if (!listing.listed || listing.stamp != stamp) list();
    const std::string folded = LowerCase1251(name1251);
    auto found = listing.byFoldedName.find(folded);
    // A file made within the clock tick of the listing leaves the folder's time unchanged: a
    // miss on such a fresh listing looks again, once.
    if (found == listing.byFoldedName.end() && listing.listedAt - listing.stamp < std::chrono::seconds(2)) {
        list();
        found = listing.byFoldedName.find(folded);
    }
    if (found == listing.byFoldedName.end()) return std::nullopt;
    return found->second;
}

std::optional<fs::path> TDriveMap::ToHostPath(std::string_view windowsPath) const {
    fs::path root;
    const fs::path* canonicalRoot = &canonicalDiscRoot_;  // none for z:, the whole host
    bool disc = true;
    std::vector<std::string> parts;
    if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
        switch (LowerChar1251(static_cast<unsigned char>(windowsPath[0]))) {
            case 'd': root = discRoot_; break;
            case 'z': root = "/", canonicalRoot = nullptr, disc = false; break;
            case 'c': root = userRoot_, canonicalRoot = &canonicalUserRoot_, disc = false; break;
            default: return std::nullopt;
        }
    } else {
        root = discRoot_;
        if (windowsPath.empty() || !IsPathSeparator(windowsPath[0])) {
            parts = PathComponents(programFolder_);
            if (!parts.empty()) parts.pop_back();  // its trailing separator
        }
    }
    // A name that could climb out of the folder it names is refused, not folded: a caller that
    // joined a folder and a name must get a place in that folder or nothing.
    std::vector<std::string> rest = PathComponents(windowsPath);
    if (!rest.empty() && rest.back().empty()) rest.pop_back();  // a folder's trailing separator
    for (auto& part : rest) {
        if (!IsPlainName(part) || (disc && part[0] == '.')) return std::nullopt;
        parts.push_back(std::move(part));
    }

    fs::path host = root;
    bool existing = true;
    bool throughLink = false;
    for (const auto& part : parts) {
        const std::string name = Cp1251ToUtf8(part);
        if (existing) {
            std::error_code ec;
            const fs::file_status status = fs::symlink_status(host / name, ec);
            std::optional<TListedName> actual;
            if (fs::exists(status)) {
                actual = TListedName{name, fs::is_symlink(status)};
            } else {
                actual = FindIgnoringCase(host, part);
            }
            if (actual) {
                host /= actual->name;
                if (actual->link) {
                    // A link to nowhere would have a write create its target wherever it points.
                    if (!fs::exists(fs::status(host, ec))) return std::nullopt;
                    throughLink = true;
                }
                continue;
            }
            existing = false;
        }
        host /= name;
    }
    // Without a link on the way the path is below the root as written: no "..", no "/" inside.
    if (throughLink && canonicalRoot) {
        fs::path below;
        if (!StaysWithin(host, *canonicalRoot, below) || (disc && HasHiddenPart(below))) return std::nullopt;
    }
    return host;
}

std::string TDriveMap::ToWindowsPath(const fs::path& hostPath) const {
    const fs::path path = fs::absolute(hostPath).lexically_normal();
    fs::path rest;
    std::string drive;
    if (IsWithin(path, discRoot_, rest)) {
        drive = "d:";
    } else if (IsWithin(path, userRoot_, rest)) {
        drive = "c:";
    } else {
        drive = "z:";
        rest = path.relative_path();
    }
    std::string out = drive;
    for (const auto& part : rest) {
        if (part.empty()) continue;
        out += '\\';
        out += Utf8ToCp1251(part.string());
    }
    if (out.size() == 2) out += '\\';
    return out;
}

bool TDriveMap::FileExists(std::string_view windowsPath) const {
    const auto host = ToHostPath(windowsPath);
    std::error_code ec;
    return host && fs::is_regular_file(*host, ec);
}

bool TDriveMap::DirectoryExists(std::string_view windowsPath) const {
    const auto host = ToHostPath(windowsPath);
    std::error_code ec;
    return host && fs::is_directory(*host, ec);
}


}  // namespace vitrina
