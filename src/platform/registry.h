#pragma once
// The registry stand-in: typed values (DWORD, string, binary) kept per hive in a text file in
// .reg format under the user's config folder. Every write takes a cross-process lock on the
// hive, re-reads the file and replaces it atomically, so two copies of the program never lose
// each other's values; reads take the parsed file kept from the last read while the file is
// unchanged.
//
// The hive file is read only when it is a regular file of at most kMaxHiveFileSize bytes in this
// format; anything else found in its place (a pipe, a device, a huge or a garbled file) is
// renamed aside with a ".damaged-<time>" suffix, one line on stderr says so, and the hive starts
// empty.
//
// Key paths, value names and strings are 1251 inside and UTF-8 in the file; names compare
// without regard to case, as on Windows.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

enum class THive { CurrentUser, LocalMachine };
enum class TRegType { DWord, String, Binary };

struct TRegValue {
    std::string name;
    TRegType type = TRegType::String;
    std::uint32_t dword = 0;
    std::string data;  // string (1251) or binary bytes
    bool operator==(const TRegValue&) const = default;
};

struct TRegKey {
    std::string path;  // 1251, "\"-separated, below the hive
    std::vector<TRegValue> values;
    bool operator==(const TRegKey&) const = default;
};

// A missing value, a value of another type, a key that is not open, or a file that cannot be
// written. Readers of settings catch it and use their default.
class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kMaxHiveFileSize = 16 * 1024 * 1024;

// The text of one hive file and back. Unreadable lines are skipped.
std::vector<TRegKey> ParseRegFile(std::string_view text, THive hive);
std::string FormatRegFile(const std::vector<TRegKey>& keys, THive hive);
std::string HiveName(THive hive);
// Whether text is a hive file at all: blank, or starting with the format's first line.
bool LooksLikeRegFile(std::string_view text);

class TRegistry {
public:
    // configFolder holds the hive files; it is created on the first write.
    explicit TRegistry(std::filesystem::path configFolder, THive root = THive::CurrentUser);

    // Opens key (leading "\" ignored). With canCreate a missing key is created; without it a
    // missing key gives false.
    bool OpenKey(std::string_view key, bool canCreate);
    void CloseKey() { currentKey_.clear(); open_ = false; }
    bool KeyExists(std::string_view key) const;

    bool ValueExists(std::string_view name) const;
    bool ReadBool(std::string_view name) const;  // DWORD not 0
    int ReadInteger(std::string_view name) const;
    // A missing string reads as empty; a value of another type is an error.
    std::string ReadString(std::string_view name) const;
    std::string ReadBinary(std::string_view name) const;

    void WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }
    void WriteInteger(std::string_view name, int value);
    void WriteString(std::string_view name, std::string_view value);
    void WriteBinary(std::string_view name, std::string_view bytes);
    // False when the value did not exist.
    bool DeleteValue(std::string_view name);

    const std::filesystem::path& HivePath() const { return hivePath_; }

    // The identity of one version of the hive file.
    struct TFileStamp {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t mtimeSeconds = 0, mtimeNanoseconds = 0;
        bool operator==(const TFileStamp&) const = default;
    };

private:
    using TKeys = std::vector<TRegKey>;
    const TRegValue* Find(const TKeys& keys, std::string_view name) const;
    // The keys as the file holds them now, for a reader.
    std::shared_ptr<const TKeys> Load() const;
    // The same read from the file, for a writer that holds the lock: what cannot be taken is
    // kept aside here.
    TKeys LoadLocked() const;
    // Replaces the file with keys; the caller holds the lock.
    void Save(const TKeys& keys);
    void Write(const TRegValue& value);

    std::filesystem::path configFolder_;
    std::filesystem::path hivePath_;
    std::filesystem::path lockPath_;
    THive root_;
    std::string currentKey_;
    bool open_ = false;

    mutable std::mutex cacheMutex_;
    mutable std::shared_ptr<const TKeys> cached_;  // null: nothing kept
    mutable TFileStamp cachedStamp_;
};

}  // namespace vitrina
