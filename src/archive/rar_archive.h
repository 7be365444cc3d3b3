#pragma once
// The classic RAR unpacking library's five operations, over libarchive: open in list or extract
// mode, set the volume callback, read the next header, process (skip or extract) the current
// entry, close. Results are the library's codes (TRarResult).
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "archive/rar_pass.h"

namespace vitrina {

enum TRarOpenMode : int { kRarOpenList = 0, kRarOpenExtract = 1 };
enum TRarOperation : int { kRarSkip = 0, kRarExtract = 2 };
enum TRarVolumeMode : int { kRarVolumeAsk = 0, kRarVolumeNotify = 1 };

struct TRarOpenRecord {
    std::filesystem::path archiveName;  // the first volume
    TRarOpenMode openMode = kRarOpenList;
    int openResult = kRarSuccess;  // set by Open
};

// An entry is a directory when flags & kRarDirectoryFlags equals it.
inline constexpr std::uint32_t kRarDirectoryFlags = 0xE0;

struct TRarHeaderRecord {
    std::string fileName;         // UTF-8, components separated by "/" or "\"
    std::uint32_t flags = 0;
    std::uint32_t unpSize = 0;    // clamped to 32 bits
    std::uint32_t fileTime = 0;   // local DOS date and time, 0 when unknown
};

// Mode 0 asks for a missing volume, mode 1 tells that the next one is opened; the answer is 1
// to go on and 0 to give up.
using TRarVolumeCallback = std::function<int(const std::filesystem::path& volume, TRarVolumeMode mode)>;

class TRarArchive {
public:
    // nullptr, with record.openResult set, when the archive cannot be opened.
    static std::unique_ptr<TRarArchive> Open(TRarOpenRecord& record);
    ~TRarArchive();
    TRarArchive(const TRarArchive&) = delete;
    TRarArchive& operator=(const TRarArchive&) = delete;

    void SetCallback(TRarVolumeCallback callback);
    int ReadHeader(TRarHeaderRecord& header);
    // Skip, or extract the current entry below destPath (created when absent). Members that
    // could land outside it (absolute, with a drive, with "..") and links are not written: 16.
    int ProcessFile(TRarOperation operation, const std::filesystem::path& destPath);
    // 0, or 17 when what was extracted could not be finished.
    int Close();

private:
    struct TState;
    explicit TRarArchive(std::unique_ptr<TState> state);
    std::unique_ptr<TState> state_;
};

// A member path that stays below the folder it is extracted into: relative, no drive, no "..".
bool IsSafeMemberName(std::string_view name);

// The local DOS date and time of a moment, 0 outside 1980..2107.
std::uint32_t DosDateTime(std::time_t moment);

}  // namespace vitrina
