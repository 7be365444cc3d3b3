#include "resources/windows_path.h"

#include "platform/cp1251.h"
#include "resources/description.h"

namespace vitrina {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::size_t LastNameDelimiter(std::string_view path) { return path.find_last_of("\\/:"); }

// Length of the drive and root separator that PathComponents and FoldPath leave in front.
std::size_t RootLength(std::string_view path) {
    std::size_t length = HasDrive(path) ? 2 : 0;
    if (length < path.size() && IsPathSeparator(path[length])) ++length;
    return length;
}

// The program drive: its letter lower-cased, followed by ":\".
std::string DriveRoot(std::string_view programFolder) {
    return LowerAscii(programFolder.substr(0, std::min<std::size_t>(2, programFolder.size()))) + '\\';
}

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(std::string_view path) { return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':'; }

std::string FileNamePart(std::string_view path) {
    const auto cut = LastNameDelimiter(path);
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FolderPart(std::string_view path) {
    const auto cut = LastNameDelimiter(path);
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::vector<std::string> PathComponents(std::string_view path) {
    std::vector<std::string> parts;
    const std::string_view rest = path.substr(RootLength(path));
    if (rest.empty()) return parts;
    std::string current;
    for (char c : rest) {
        if (IsPathSeparator(c)) {
            parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(std::move(current));
    return parts;
}

std::string BackslashPath(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string FoldPath(std::string_view path) {
    std::string out;
    if (HasDrive(path)) {
        out = std::string(path.substr(0, 2)) + '\\';
    } else if (!path.empty() && IsPathSeparator(path[0])) {
        out = "\\";
    }
    std::vector<std::string> kept;
    for (auto& part : PathComponents(path)) {
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (!part.empty() && part != ".") {
            kept.push_back(std::move(part));
        }
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i) out += '\\';
        out += kept[i];
    }
    if (!kept.empty() && IsPathSeparator(path.back())) out += '\\';
    return out;
}

std::string ResolvePath(std::string_view value, const std::string& programFolder) {
    if (const auto cd = value.find("<cd>"); cd != std::string_view::npos) {
        return std::string(value.substr(0, cd)) + DriveRoot(programFolder) + std::string(value.substr(cd + 4));
    }
    if (Contains(value, ":\\")) return std::string(value);
    if (Contains(value, ".") || Contains(value, "\\")) {
        const auto eq = value.rfind('=');
        if (eq != std::string_view::npos) {
            return std::string(value.substr(0, eq + 1)) + JoinPath(programFolder, value.substr(eq + 1));
        }
        return JoinPath(programFolder, value);
    }
    return std::string(value);
}

std::string JoinPath(std::string_view baseText, std::string_view relativeText) {
    std::string base(baseText);
    std::size_t anchor;
    if (const auto root = base.find(":\\"); root != std::string::npos) {
        anchor = base.find('\\', root + 2);
        if (anchor == std::string::npos) anchor = root + 1;
    } else {
        anchor = base.find('\\');
        if (anchor == std::string::npos) {
            base += '\\';
            anchor = base.size() - 1;
        }
    }
    if (base.back() != '\\') base += '\\';

    const std::string relative = Trim(relativeText);
    std::string result;
    if (!relative.empty() && relative[0] == '\\') {
        result = base.substr(0, anchor + 1) + relative.substr(1);
    } else {
        result = base + relative;
    }

    for (std::size_t p; (p = result.find("\\..\\")) != std::string::npos;) {
        if (p > anchor) {
            const auto q = result.rfind('\\', p - 1);
            if (q == std::string::npos || q + 1 == p) break;  // no folder name to remove
            result.erase(q, p + 3 - q);
        } else {
            result.erase(p + 1, 3);
        }
    }
    return result;
}

std::string ContentFolderOf(std::string_view programFolder) {
    const std::size_t start = RootLength(programFolder);
    for (std::size_t at = start; at < programFolder.size();) {
        std::size_t end = at;
        while (end < programFolder.size() && !IsPathSeparator(programFolder[end])) ++end;
        if (end < programFolder.size() && SameText1251(programFolder.substr(at, end - at), "run"))
            return std::string(programFolder.substr(0, at)) + std::string(programFolder.substr(end + 1));
        at = end + 1;
    }
    return std::string(programFolder);
}

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace vitrina
