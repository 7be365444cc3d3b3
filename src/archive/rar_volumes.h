#pragma once
// The volumes of a RAR archive as its naming schemes and headers give them: libarchive needs
// every volume at once, and the reader is told which one is missing.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vitrina {

// The next volume's file name: "a.part1.rar" -> "a.part2.rar" (any number of digits, the width
// kept while it fits), "a.rar" -> "a.r00", "a.r99" -> "a.s00"; empty for any other name.
std::string NextRarVolumeName(const std::string& fileName);

// Whether the volume's own headers say the archive goes on in a next volume (RAR 4 and RAR 5;
// false when they cannot be read).
bool RarVolumeContinues(const std::filesystem::path& volume);

// The data CRC of a stored member (RAR 4 or RAR 5) whose header is the first file header at or
// after position (the start of the volume, or of the block after the previous member); nothing
// for a member that is compressed, encrypted or split, or when the headers cannot be read.
std::optional<std::uint32_t> StoredMemberCrc(const std::filesystem::path& volume, std::uint64_t position);

struct TRarVolumes {
    std::vector<std::filesystem::path> present;  // the first volume, then each next one found
    std::filesystem::path missing;               // the first volume needed and absent, or empty
};

TRarVolumes FindRarVolumes(const std::filesystem::path& first);

}  // namespace vitrina
