#pragma once
// RAR 4 archives with stored members, for tests: no free tool here writes RAR. Names are kept
// the way the DOS-era archiver kept them: the OEM (866) form, and after it the Unicode form in
// RAR's compact encoding with the Unicode flag, unless a member asks for the OEM form alone.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vitrina::test {

struct TRar4Member {
    std::string name;                 // UTF-8 (characters of 1251 only), "\" separators
    std::optional<std::string> data;  // none: a directory
    std::uint32_t time = 0;           // DOS date and time
    bool unicode = true;              // false: the OEM name alone, even for non-ASCII names
    std::uint32_t unixMode = 0;       // non-zero: written as from a Unix host, with this mode
};

struct TRar4Archive {
    std::string bytes;
    std::vector<std::size_t> headers;  // offset of each member's header block
    std::vector<std::size_t> data;     // offset of each member's data
};

TRar4Archive WriteRar4(const std::vector<TRar4Member>& members);

// The same members as a RAR 5 archive: names in UTF-8 with "/" separators, times as Unix
// seconds (time is taken as such here), no OEM form.
TRar4Archive WriteRar5(const std::vector<TRar4Member>& members);

constexpr std::uint32_t DosTime(int year, int month, int day, int hour, int minute, int second = 0) {
    return static_cast<std::uint32_t>(year - 1980) << 25 | static_cast<std::uint32_t>(month) << 21 |
           static_cast<std::uint32_t>(day) << 16 | static_cast<std::uint32_t>(hour) << 11 |
           static_cast<std::uint32_t>(minute) << 5 | static_cast<std::uint32_t>(second / 2);
}

}  // namespace vitrina::test
