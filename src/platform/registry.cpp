#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/cp1251.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

std::string NormaliseKey(std::string_view key) {
    std::string k(key);
    while (!k.empty() && k.front() == '\\') k.erase(k.begin());
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k;
}

// Holds a flock on the hive's lock file for its lifetime.
class THiveLock {
public:
    THiveLock(const fs::path& path, bool exclusive) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
        }
    }
    ~THiveLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
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
    std::string out = "Windows Registry Editor Version 5.00\n";
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

TRegistry::TRegistry(fs::path configFolder, THive root)
    : configFolder_(std::move(configFolder)), root_(root) {
    hivePath_ = configFolder_ / (HiveName(root) + ".reg");
    lockPath_ = configFolder_ / (HiveName(root) + ".lock");
}

std::vector<TRegKey> TRegistry::Load() const {
    std::ifstream in(hivePath_, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return ParseRegFile(text.str(), root_);
}

namespace {
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

void WriteAtomically(const fs::path& target, const std::string& text) {
    const fs::path temp = target.string() + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) throw ERegistryError("cannot write " + temp.string());
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            ::unlink(temp.c_str());
            throw ERegistryError("cannot write " + temp.string());
        }
        done += static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw ERegistryError("cannot replace " + target.string());
    }
}
}  // namespace

bool TRegistry::KeyExists(std::string_view key) const {
    if (!fs::exists(configFolder_)) return false;
    THiveLock lock(lockPath_, false);
    const auto keys = Load();
    return FindKey(keys, NormaliseKey(key)) != nullptr;
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
    THiveLock lock(lockPath_, true);
    if (!lock.Held()) return false;
    auto keys = Load();
    if (!FindKey(keys, path)) {
        keys.push_back({path, {}});
        try {
            WriteAtomically(hivePath_, FormatRegFile(keys, root_));
        } catch (const ERegistryError&) {
            return false;
        }
    }
    currentKey_ = path;
    open_ = true;
    return true;
}

const TRegValue* TRegistry::Find(const std::vector<TRegKey>& keys, std::string_view name) const {
    const TRegKey* key = FindKey(keys, currentKey_);
    if (!key) return nullptr;
    for (const TRegValue& v : key->values)
        if (SameText1251(v.name, name)) return &v;
    return nullptr;
}

bool TRegistry::ValueExists(std::string_view name) const {
    if (!open_ || !fs::exists(configFolder_)) return false;
    THiveLock lock(lockPath_, false);
    const auto keys = Load();
    return Find(keys, name) != nullptr;
}

int TRegistry::ReadInteger(std::string_view name) const {
    if (!open_) throw ERegistryError("no key open");
    THiveLock lock(lockPath_, false);
    const auto keys = Load();
    const TRegValue* v = Find(keys, name);
    if (!v || v->type != TRegType::DWord) throw ERegistryError("invalid data type for " + std::string(name));
    return static_cast<int>(v->dword);
}

bool TRegistry::ReadBool(std::string_view name) const { return ReadInteger(name) != 0; }

std::string TRegistry::ReadString(std::string_view name) const {
    if (!open_) throw ERegistryError("no key open");
    if (!fs::exists(configFolder_)) return {};
    THiveLock lock(lockPath_, false);
    const auto keys = Load();
    const TRegValue* v = Find(keys, name);
    if (!v) return {};
    if (v->type != TRegType::String) throw ERegistryError("invalid data type for " + std::string(name));
    return v->data;
}

std::string TRegistry::ReadBinary(std::string_view name) const {
    if (!open_) throw ERegistryError("no key open");
    THiveLock lock(lockPath_, false);
    const auto keys = Load();
    const TRegValue* v = Find(keys, name);
    if (!v || v->type != TRegType::Binary) throw ERegistryError("invalid data type for " + std::string(name));
    return v->data;
}

void TRegistry::Write(const TRegValue& value) {
    if (!open_) throw ERegistryError("no key open");
    std::error_code ec;
    fs::create_directories(configFolder_, ec);
    THiveLock lock(lockPath_, true);
    if (!lock.Held()) throw ERegistryError("cannot lock " + lockPath_.string());
    auto keys = Load();
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
    WriteAtomically(hivePath_, FormatRegFile(keys, root_));
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
    THiveLock lock(lockPath_, true);
    auto keys = Load();
    TRegKey* key = FindKey(keys, currentKey_);
    if (!key) return false;
    const auto before = key->values.size();
    std::erase_if(key->values, [&](const TRegValue& v) { return SameText1251(v.name, name); });
    if (key->values.size() == before) return false;
    try {
        WriteAtomically(hivePath_, FormatRegFile(keys, root_));
    } catch (const ERegistryError&) {
        return false;
    }
    return true;
}

}  // namespace vitrina
