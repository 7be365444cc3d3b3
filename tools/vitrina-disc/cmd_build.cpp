// build: an author's source tree (skin/, documents/, files/) into a disc folder.
// extract: the inverse, for people who want a disc's content as plain files.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/cp1251.h"
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
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

bool IsDescription(const std::string& name1251) {
    return name1251.size() > 4 && SameText1251(name1251.substr(name1251.size() - 4), ".cfs");
}

// Regular files below root, sorted by their relative path so the output never depends on the
// order the file system lists them in.
std::vector<fs::path> FilesBelow(const fs::path& root) {
    std::vector<fs::path> files;
    if (!fs::is_directory(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root));
    }
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
    const fs::path out = Cp1251ToUtf8(args.At(1, "OUT"));
    if (!fs::is_directory(source)) throw EUsage("no source folder " + source.string());
    if (!HasScreenDescription(source / "skin")) {
        throw EUsage(source.string() + " is not a disc source: it needs skin/Struct.cfs with the pictures it names, "
                     "documents/ with the pages, files/ with what lies beside them (vitrina-disc new makes one)");
    }
    fs::create_directories(out);

    if (fs::is_directory(source / "skin")) {
        std::vector<TContainerEntry> entries;
        for (const auto& relative : FilesBelow(source / "skin")) {
            TContainerEntry entry{WindowsName(relative), ReadFile(source / "skin" / relative)};
            if (IsDescription(entry.name)) entry.data = ScrambleDescription(DescriptionSource(entry.data));
            entries.push_back(std::move(entry));
        }
        WriteFile(out / "Vuv.dhl", WriteContainer(entries));
    }
    if (fs::is_directory(source / "documents")) {
        std::vector<TStoreFile> files;
        for (const auto& relative : FilesBelow(source / "documents")) {
            files.push_back({WindowsName(relative), ReadFile(source / "documents" / relative)});
        }
        WriteFile(out / "interface.dat", WriteStore(files));
    }
    for (const auto& relative : FilesBelow(source / "files")) {
        fs::create_directories((out / relative).parent_path());
        fs::copy_file(source / "files" / relative, out / relative, fs::copy_options::overwrite_existing);
    }
    return kOk;
}

int ExtractCommand(const TArgs& args) {
    args.ExpectCount(2);
    const fs::path folder = Cp1251ToUtf8(args.At(0, "FOLDER"));
    const fs::path out = Cp1251ToUtf8(args.At(1, "OUT"));
    if (!fs::is_directory(folder)) throw EUsage("no disc folder " + folder.string());
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
            WriteFile(out / "skin" / *relative, bytes);
        }
    }

    if (const auto host = drives.ToHostPath(drives.ProgramFolder() + "interface.dat"); host && fs::is_regular_file(*host)) {
        TStore store;
        std::string error;
        if (!store.Open(*host, &error)) throw EUsage("malformed store: " + error);
        for (const auto& path : store.ListFiles()) {
            const auto relative = SafeRelative(path);
            std::string bytes;
            if (!relative || !store.ReadEntry(store.FindEntry(path), bytes)) {
                warn("cannot extract store file \"" + Cp1251ToUtf8(path) + "\"");
                continue;
            }
            WriteFile(out / "documents" / *relative, bytes);
        }
    }

    for (const auto& relative : FilesBelow(folder)) {
        if (relative.has_parent_path() == false && IsDiscFile(relative)) continue;
        fs::create_directories((out / "files" / relative).parent_path());
        fs::copy_file(folder / relative, out / "files" / relative, fs::copy_options::overwrite_existing);
    }
    return result;
}

}  // namespace vitrina::disc
