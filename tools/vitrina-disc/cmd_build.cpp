// build: an author's source tree (skin/, documents/, files/) into a disc folder.
// extract: the inverse, for people who want a disc's content as plain files.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "out_folder.h"
#include "platform/cp1251.h"
#include "platform/regular_file.h"
#include "platform/user_folders.h"
#include "resources/drive_map.h"
#include "resources/container_writer.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "resources/read_bin.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "subcommands.h"

namespace fs = std::filesystem;

namespace vitrina::disc {

namespace {

std::string ReadFile(const fs::path& path) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes, std::numeric_limits<std::uint64_t>::max(), true))
        throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

// Copies a regular file below source into the same place below out.
void CopyFile(const fs::path& from, const TOutFolder& out, const fs::path& relative) {
    const TRegularFile file = TRegularFile::Open(from, true);
    if (!file.IsOpen()) throw std::runtime_error("cannot read " + from.string());
    out.CopyFrom(relative, file.Fd());
}

bool IsDescription(const std::string& name1251) {
    return name1251.size() > 4 && SameText1251(name1251.substr(name1251.size() - 4), ".cfs");
}

// Regular files below root, sorted by their relative path so the output never depends on the
// order the file system lists them in. Links and special files (pipes, devices) are skipped with
// a warning: a link could bring in a file from anywhere, and a pipe would block the read.
std::vector<fs::path> FilesBelow(const fs::path& root, const char* command) {
    std::vector<fs::path> files;
    auto skip = [&](const fs::path& path, const char* what) {
        std::fprintf(stderr, "vitrina-disc %s: skipped %s %s\n", command, what, path.string().c_str());
    };
    std::error_code ec;
    const fs::file_status rootStatus = fs::symlink_status(root, ec);
    if (fs::is_symlink(rootStatus)) skip(root, "the link");
    if (!fs::is_directory(rootStatus)) return files;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status status = it->symlink_status(ec);
        if (fs::is_directory(status)) continue;
        if (fs::is_symlink(status)) skip(it->path(), "the link");
        else if (!fs::is_regular_file(status)) skip(it->path(), "the special file");
        else files.push_back(it->path().lexically_relative(root));
    }
    if (ec) throw std::runtime_error("cannot list " + root.string() + ": " + ec.message());
    std::sort(files.begin(), files.end());
    return files;
}

// A relative host path in the disc's form: 1251 names joined by "\".
std::string WindowsName(const fs::path& relative) {
    std::string name;
    for (const auto& part : relative) {
        if (!name.empty()) name += '\\';
        name += Utf8ToCp1251(part.string());
    }
    return name;
}

// The host path below root for a "\"-separated 1251 name; empty when a part would climb out
// or name nothing.
std::optional<fs::path> SafeRelative(const std::string& name1251) {
    fs::path path;
    std::string part;
    auto flush = [&]() -> bool {
        if (part.empty() || part == "." || part == "..") return false;
        std::replace(part.begin(), part.end(), '/', '_');
        path /= Cp1251ToUtf8(part);
        part.clear();
        return true;
    };
    for (char c : name1251) {
        if (c == '\\') {
            if (!flush()) return std::nullopt;
        } else {
            part += c;
        }
    }
    if (!flush()) return std::nullopt;
    return path;
}

// Description text as authored: UTF-8, any line ends. A text that already has CR LF keeps its
// line ends byte for byte (so extract and build round-trip); otherwise LF becomes CR LF.
std::string DescriptionSource(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::string cp = Utf8ToCp1251(text);
    if (cp.find("\r\n") != std::string::npos) return cp;
    std::string out;
    out.reserve(cp.size() + cp.size() / 16);
    for (char c : cp) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The program opens no disc without a screen description; a folder without one is not a disc
// source, however many pages it holds.
bool HasScreenDescription(const fs::path& skin) {
    if (!fs::is_directory(skin)) return false;
    for (const auto& entry : fs::directory_iterator(skin)) {
        if (entry.is_regular_file() && SameText1251(Utf8ToCp1251(entry.path().filename().string()), "Struct.cfs")) return true;
    }
    return false;
}

bool IsDiscFile(const fs::path& name) {
    const std::string n = Utf8ToCp1251(name.filename().string());
    return SameText1251(n, "Vuv.dhl") || SameText1251(n, "interface.dat");
}

}  // namespace

int BuildCommand(const TArgs& args) {
    args.ExpectCount(2);
    const fs::path source = Cp1251ToUtf8(args.At(0, "SOURCE"));
    const fs::path outPath = Cp1251ToUtf8(args.At(1, "OUT"));
    if (!fs::is_directory(source)) throw EUsage("no source folder " + source.string());
    if (!HasScreenDescription(source / "skin")) {
        throw EUsage(source.string() + " is not a disc source: it needs skin/Struct.cfs with the pictures it names, "
                     "documents/ with the pages, files/ with what lies beside them (vitrina-disc new makes one)");
    }
    const TOutFolder out(outPath);

    if (fs::is_directory(source / "skin")) {
        std::vector<TContainerEntry> entries;
        for (const auto& relative : FilesBelow(source / "skin", "build")) {
            TContainerEntry entry{WindowsName(relative), ReadFile(source / "skin" / relative)};
            if (IsDescription(entry.name)) entry.data = ScrambleDescription(DescriptionSource(entry.data));
            entries.push_back(std::move(entry));
        }
        out.Write("Vuv.dhl", WriteContainer(entries));
    }
    if (fs::is_directory(source / "documents")) {
        std::vector<TStoreFile> files;
        for (const auto& relative : FilesBelow(source / "documents", "build")) {
            files.push_back({WindowsName(relative), ReadFile(source / "documents" / relative)});
        }
        out.Write("interface.dat", WriteStore(files));
    }
    for (const auto& relative : FilesBelow(source / "files", "build")) CopyFile(source / "files" / relative, out, relative);
    return kOk;
}

int ExtractCommand(const TArgs& args) {
    args.ExpectCount(2);
    const fs::path folder = Cp1251ToUtf8(args.At(0, "FOLDER"));
    if (!fs::is_directory(folder)) throw EUsage("no disc folder " + folder.string());
    const TOutFolder out(Cp1251ToUtf8(args.At(1, "OUT")));
    const TDriveMap drives(folder, TUserFolders::FromEnvironment().data);
    int result = kOk;
    auto warn = [&](const std::string& what) {
        std::fprintf(stderr, "vitrina-disc extract: %s\n", what.c_str());
        result = kBadInput;
    };

    if (const auto host = drives.ToHostPath(drives.ProgramFolder() + "Vuv.dhl"); host && fs::is_regular_file(*host)) {
        TReadBin container;
        try {
            container.Open(*host);
        } catch (const EContainerError& e) {
            throw EUsage(std::string("malformed container: ") + e.what());
        }
        for (const auto& entry : container.Directory()) {
            const auto relative = SafeRelative(entry.name);
            std::string bytes;
            if (!relative) {
                warn("skipped container entry with an unsafe name \"" + Cp1251ToUtf8(entry.name) + "\"");
                continue;
            }
            if (container.ReadBuffer(entry.name, bytes) < 0) {
                warn("cannot read container entry \"" + Cp1251ToUtf8(entry.name) + "\"");
                continue;
            }
            if (IsDescription(entry.name)) {
                std::string text;
                const auto lines = DecodeDescription(bytes, false);
                for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
                bytes = Cp1251ToUtf8(text);
            }
            out.Write("skin" / *relative, bytes);
        }
    }

    if (const auto host = drives.ToHostPath(drives.ProgramFolder() + "interface.dat"); host && fs::is_regular_file(*host)) {
        TStore store;
        std::string error;
        if (!store.Open(*host, &error)) throw EUsage("malformed store: " + error);
        for (const auto& path : store.ListFiles()) {
            const auto relative = SafeRelative(path);
            if (!relative) {
                warn("cannot extract store file \"" + Cp1251ToUtf8(path) + "\"");
                continue;
            }
            // Streamed: an entry may unpack to far more than memory holds.
            const TOutFolder::TFile file = out.Create("documents" / *relative);
            if (!store.CopyEntry(store.FindEntry(path), [&](std::string_view piece) {
                    file.Write(piece);
                    return true;
                }))
                warn("cannot extract store file \"" + Cp1251ToUtf8(path) + "\"");
        }
    }

    for (const auto& relative : FilesBelow(folder, "extract")) {
        if (relative.has_parent_path() == false && IsDiscFile(relative)) continue;
        CopyFile(folder / relative, out, "files" / relative);
    }
    return result;
}

}  // namespace vitrina::disc
