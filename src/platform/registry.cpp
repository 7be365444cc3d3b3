#include "platform/registry.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <thread>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>

#include "platform/cp1251.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFileHeader = "Windows Registry Editor Version 5.00";
// A writer holds the lock for one read and one write of the file.
constexpr int kLockWaitMs = 10000;

std::string NormaliseKey(std::string_view key) {
    std::string k(key);
    while (!k.empty() && k.front() == '\\') k.erase(k.begin());
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k;
}

// Writers of one hive, in every copy of the program, one at a time. A copy that died holding
// the lock leaves a lock file that QLockFile finds stale. A writer holds it for milliseconds:
// QLockFile's own wait, from 100 ms doubling, would make every meeting of two writers slow.
class THiveLock {
public:
    explicit THiveLock(const fs::path& path) : lock_(QFile::decodeName(path.c_str())) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
        while (!(held_ = lock_.tryLock(0)) && lock_.error() == QLockFile::LockFailedError &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    bool Held() const { return held_; }

private:
    QLockFile lock_;
    bool held_ = false;
};

std::string Quote(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// Reads a quoted text at pos (on the opening quote); pos ends after the closing quote.
bool Unquote(std::string_view line, std::size_t& pos, std::string& out) {
    if (pos >= line.size() || line[pos] != '"') return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '\\' && pos + 1 < line.size()) {
            out += line[++pos];
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

bool ParseHex(std::string_view text, std::string& bytes) {
    bytes.clear();
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
        else if (c != ',' && c != ' ' && c != '\\' && c != '\t') return false;
    }
    if (digits.size() % 2) return false;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return true;
}

}  // namespace

std::string HiveName(THive hive) {
    return hive == THive::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::vector<TRegKey> ParseRegFile(std::string_view text, THive hive) {
    std::vector<TRegKey> keys;
    const std::string prefix = HiveName(hive);
    std::istringstream in{std::string(text)};
    std::string line;
    // Binary values may continue on following lines after a trailing "\".
    std::string pending;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!pending.empty()) {
            line = pending + line;
            pending.clear();
        }
        if (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
            line.pop_back();
            pending = line;
            continue;
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            std::string path = line.substr(1, line.size() - 2);
            if (path.rfind(prefix, 0) != 0) {
                keys.push_back({"\x01", {}});  // a key of another hive: its values are skipped
                continue;
            }
            keys.push_back({NormaliseKey(Utf8ToCp1251(path.substr(prefix.size()))), {}});
            continue;
        }
        if (keys.empty() || keys.back().path == "\x01") continue;
        TRegValue value;
        std::size_t pos = 0;
        std::string name;
        if (!line.empty() && line[0] == '@') {
            pos = 1;
        } else if (!Unquote(line, pos, name)) {
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        value.name = Utf8ToCp1251(name);
        std::string_view rest = std::string_view(line).substr(pos);
        if (rest.rfind("dword:", 0) == 0) {
            value.type = TRegType::DWord;
            try {
                value.dword = static_cast<std::uint32_t>(std::stoul(std::string(rest.substr(6)), nullptr, 16));
            } catch (...) {
                continue;
            }
        } else if (rest.rfind("hex:", 0) == 0) {
            value.type = TRegType::Binary;
            if (!ParseHex(rest.substr(4), value.data)) continue;
        } else if (!rest.empty() && rest[0] == '"') {
            std::size_t p = 0;
            std::string utf8;
            if (!Unquote(rest, p, utf8)) continue;
            value.type = TRegType::String;
            value.data = Utf8ToCp1251(utf8);
        } else {
            continue;
        }
        keys.back().values.push_back(std::move(value));
    }
    std::erase_if(keys, [](const TRegKey& k) { return k.path == "\x01"; });
    return keys;
}

std::string FormatRegFile(const std::vector<TRegKey>& keys, THive hive) {
    std::string out = std::string(kFileHeader) + "\n";
    char buf[16];
    for (const TRegKey& key : keys) {
        out += "\n[" + HiveName(hive) + (key.path.empty() ? "" : "\\") + Cp1251ToUtf8(key.path) + "]\n";
        for (const TRegValue& v : key.values) {
            out += v.name.empty() ? std::string("@") : Quote(Cp1251ToUtf8(v.name));
            out += '=';
            switch (v.type) {
            case TRegType::DWord:
                std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
                out += buf;
                break;
            case TRegType::String:
                out += Quote(Cp1251ToUtf8(v.data));
                break;
            case TRegType::Binary:
                out += "hex:";
                for (std::size_t i = 0; i < v.data.size(); ++i) {
                    std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", static_cast<unsigned char>(v.data[i]));
                    out += buf;
                }
                break;
            }
            out += '\n';
        }
    }
    return out;
}

bool LooksLikeRegFile(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // an editor's byte order mark
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return true;
    if (!text.starts_with(kFileHeader)) return false;
    const std::string_view rest = text.substr(kFileHeader.size());
    return rest.empty() || rest[0] == '\r' || rest[0] == '\n';
}

TRegistry::TRegistry(fs::path configFolder, THive root)
    : configFolder_(std::move(configFolder)), root_(root) {
    hivePath_ = configFolder_ / (HiveName(root) + ".reg");
    lockPath_ = configFolder_ / (HiveName(root) + ".reg.lock");
}

namespace {

TRegistry::TFileStamp StampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

// What is at the hive's place. A file written within the clock tick of its reading could be
// followed by another of the same size and time, so only a file older than that is identified
// by its stamp.
struct THiveFile {
    std::string text;
    std::string problem;  // not empty: something that is no hive file of ours
    TRegistry::TFileStamp stamp;
    bool settled = false;
};

THiveFile ReadHiveFile(const fs::path& path) {
    THiveFile file;
    // Non-blocking: a pipe put in the file's place must not hold the program up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return file;  // missing, or not ours to read: an empty hive
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return file;
    }
    file.stamp = StampOf(st);
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    file.settled = now.tv_sec - st.st_mtim.tv_sec > 1;
    if (!S_ISREG(st.st_mode)) {
        file.problem = "is not a regular file";
    } else if (static_cast<std::uintmax_t>(st.st_size) > kMaxHiveFileSize) {
        file.problem = "is larger than " + std::to_string(kMaxHiveFileSize) + " bytes";
    } else {
        // The size may have changed since fstat: read at most one byte past the limit.
        file.text.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t done = 0;
        while (done < kMaxHiveFileSize + 1) {
            if (done == file.text.size()) file.text.resize(std::min(done * 2, kMaxHiveFileSize + 1));
            const ssize_t n = ::read(fd, file.text.data() + done, file.text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ::close(fd);
                return {};
            }
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        file.text.resize(done);
        if (done > kMaxHiveFileSize) file.problem = "is larger than " + std::to_string(kMaxHiveFileSize) + " bytes";
        else if (!LooksLikeRegFile(file.text)) file.problem = "cannot be parsed";
    }
    ::close(fd);
    if (!file.problem.empty()) file.text.clear();
    return file;
}

// The reader's settings are not thrown away: the file goes aside under a name of its own.
void KeepAside(const fs::path& path, const std::string& problem) {
    char time[32];
    const std::time_t t = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&t, &local);
    std::strftime(time, sizeof time, "%Y%m%d-%H%M%S", &local);
    const std::string base = path.string() + ".damaged-" + time;
    std::string aside = base;
    struct stat st {};
    for (int n = 2; ::lstat(aside.c_str(), &st) == 0 && n < 100; ++n) aside = base + "-" + std::to_string(n);
    if (::rename(path.c_str(), aside.c_str()) == 0)
        std::cerr << "vitrina: the settings file " << path.string() << " " << problem << "; it is kept as " << aside
                  << " and the settings start afresh\n";
    else
        std::cerr << "vitrina: the settings file " << path.string() << " " << problem << " and cannot be kept aside ("
                  << std::strerror(errno) << "); the settings start afresh\n";
}

TRegKey* FindKey(std::vector<TRegKey>& keys, std::string_view path) {
    for (TRegKey& k : keys)
        if (SameText1251(k.path, path)) return &k;
    return nullptr;
}
const TRegKey* FindKey(const std::vector<TRegKey>& keys, std::string_view path) {
    for (const TRegKey& k : keys)
        if (SameText1251(k.path, path)) return &k;
    return nullptr;
}

}  // namespace

std::shared_ptr<const TRegistry::TKeys> TRegistry::Load() const {
    struct stat st {};
    if (::stat(hivePath_.c_str(), &st) != 0) return std::make_shared<const TKeys>();
    {
        std::lock_guard lock(cacheMutex_);
        if (cached_ && cachedStamp_ == StampOf(st)) return cached_;
    }
    const THiveFile file = ReadHiveFile(hivePath_);
    if (!file.problem.empty()) {
        // Kept aside under the writers' lock, so that a writer's fresh file never goes with it.
        THiveLock lock(lockPath_);
        return std::make_shared<const TKeys>(lock.Held() ? LoadLocked() : TKeys());
    }
    auto keys = std::make_shared<const TKeys>(ParseRegFile(file.text, root_));
    if (file.settled) {
        std::lock_guard lock(cacheMutex_);
        cached_ = keys;
        cachedStamp_ = file.stamp;
    }
    return keys;
}

TRegistry::TKeys TRegistry::LoadLocked() const {
    const THiveFile file = ReadHiveFile(hivePath_);
    if (!file.problem.empty()) KeepAside(hivePath_, file.problem);
    return ParseRegFile(file.text, root_);
}

void TRegistry::Save(const TKeys& keys) {
    const std::string text = FormatRegFile(keys, root_);
    QSaveFile file(QFile::decodeName(hivePath_.c_str()));
    const auto size = static_cast<qint64>(text.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), size) != size ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !file.commit())
        throw ERegistryError("cannot write " + hivePath_.string());
    std::lock_guard lock(cacheMutex_);
    cached_.reset();
}

bool TRegistry::KeyExists(std::string_view key) const {
    if (!fs::exists(configFolder_)) return false;
    return FindKey(*Load(), NormaliseKey(key)) != nullptr;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
    const std::string path = NormaliseKey(key);
    if (KeyExists(path)) {
        currentKey_ = path;
        open_ = true;
        return true;
    }
    if (!canCreate) return false;
    std::error_code ec;
    fs::create_directories(configFolder_, ec);
    THiveLock lock(lockPath_);
    if (!lock.Held()) return false;
    auto keys = LoadLocked();
    if (!FindKey(keys, path)) {
        keys.push_back({path, {}});
        try {
            Save(keys);
        } catch (const ERegistryError&) {
            return false;
        }
    }
    currentKey_ = path;
    open_ = true;
    return true;
}

const TRegValue* TRegistry::Find(const TKeys& keys, std::string_view name) const {
    const TRegKey* key = FindKey(keys, currentKey_);
    if (!key) return nullptr;
    for (const TRegValue& v : key->values)
        if (SameText1251(v.name, name)) return &v;
    return nullptr;
}

bool TRegistry::ValueExists(std::string_view name) const {
    if (!open_ || !fs::exists(configFolder_)) return false;
    return Find(*Load(), name) != nullptr;
}

int TRegistry::ReadInteger(std::string_view name) const {
    if (!open_) throw ERegistryError("no key open");
    const auto keys = Load();
    const TRegValue* v = Find(*keys, name);
    if (!v || v->type != TRegType::DWord) throw ERegistryError("invalid data type for " + std::string(name));
    return static_cast<int>(v->dword);
}

bool TRegistry::ReadBool(std::string_view name) const { return ReadInteger(name) != 0; }

std::string TRegistry::ReadString(std::string_view name) const {
    if (!open_) throw ERegistryError("no key open");
    if (!fs::exists(configFolder_)) return {};
    const auto keys = Load();
    const TRegValue* v = Find(*keys, name);
    if (!v) return {};
    if (v->type != TRegType::String) throw ERegistryError("invalid data type for " + std::string(name));
    return v->data;
}

std::string TRegistry::ReadBinary(std::string_view name) const {
    if (!open_) throw ERegistryError("no key open");
    const auto keys = Load();
    const TRegValue* v = Find(*keys, name);
    if (!v || v->type != TRegType::Binary) throw ERegistryError("invalid data type for " + std::string(name));
    return v->data;
}

void TRegistry::Write(const TRegValue& value) {
    if (!open_) throw ERegistryError("no key open");
    std::error_code ec;
    fs::create_directories(configFolder_, ec);
    THiveLock lock(lockPath_);
    if (!lock.Held()) throw ERegistryError("cannot lock " + lockPath_.string());
    auto keys = LoadLocked();
    TRegKey* key = FindKey(keys, currentKey_);
    if (!key) {
        keys.push_back({currentKey_, {}});
        key = &keys.back();
    }
    bool replaced = false;
    for (TRegValue& v : key->values) {
        if (SameText1251(v.name, value.name)) {
            v = value;
            replaced = true;
            break;
        }
    }
    if (!replaced) key->values.push_back(value);
    Save(keys);
}

void TRegistry::WriteInteger(std::string_view name, int value) {
    Write({std::string(name), TRegType::DWord, static_cast<std::uint32_t>(value), {}});
}

void TRegistry::WriteString(std::string_view name, std::string_view value) {
    Write({std::string(name), TRegType::String, 0, std::string(value)});
}

void TRegistry::WriteBinary(std::string_view name, std::string_view bytes) {
    Write({std::string(name), TRegType::Binary, 0, std::string(bytes)});
}

bool TRegistry::DeleteValue(std::string_view name) {
    if (!open_ || !fs::exists(configFolder_)) return false;
    THiveLock lock(lockPath_);
    if (!lock.Held()) return false;
    auto keys = LoadLocked();
    TRegKey* key = FindKey(keys, currentKey_);
    if (!key) return false;
    const auto before = key->values.size();
    std::erase_if(key->values, [&](const TRegValue& v) { return SameText1251(v.name, name); });
    if (key->values.size() == before) return false;
    try {
        Save(keys);
    } catch (const ERegistryError&) {
        return false;
    }
    return true;
}

}  // namespace vitrina
