#pragma once
// One pass over a RAR archive, listing or unpacking: the entries in archive order handed to the
// caller, and the messages a reader sees for what went wrong. Built over libarchive; the result
// codes are those of the classic unpacking library, which the messages are chosen by.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace vitrina {

// Result codes of an open, a header read or an entry's processing.
enum TRarResult : int {
    kRarSuccess = 0,
    kRarEndArchive = 10,
    kRarNoMemory = 11,
    kRarBadData = 12,
    kRarBadArchive = 13,
    kRarUnknownFormat = 14,
    kRarOpenError = 15,
    kRarCreateError = 16,
    kRarCloseError = 17,
    kRarReadError = 18,
    kRarWriteError = 19,
};

struct TRarEntry {
    std::string name;        // 1251, the path inside the archive with "\" separators
    std::uint32_t size = 0;  // unpacked
    std::uint32_t time = 0;  // DOS date and time, 0 when unknown
    bool directory = false;
};

struct TRarPass {
    std::filesystem::path archive;      // host path of the archive (its first volume)
    std::string archiveName;            // 1251, the archive as messages name it (a Windows path)
    bool extract = false;               // false: list
    std::filesystem::path destination;  // extract: the folder the members are unpacked into
};

// Runs the pass. Entries go to onEntry as they are read; each message (1251) to onMessage.
// Returns false when the pass showed a message. Never writes outside the destination.
bool RunRarPass(const TRarPass& pass, const std::function<void(const TRarEntry&)>& onEntry,
                const std::function<void(const std::string& message)>& onMessage);

}  // namespace vitrina
