#pragma once
// What the fuzz targets share: a scratch folder for parsers that read files, and the split of
// one input into the several files a parser reads together.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// libFuzzer's entry point; the replay program calls it for each file of a corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vitrina::fuzz {

// A folder of this process below the temporary folder, removed when the process ends.
const std::filesystem::path& ScratchFolder();

// Writes bytes to path, replacing it; creates the folders on the way.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// The parts of an input separated by kPartMarker, exactly count of them: missing parts are
// empty, the last one keeps any further markers.
inline constexpr std::string_view kPartMarker = "\n#~#~#\n";
std::vector<std::string_view> SplitParts(std::string_view data, std::size_t count);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A finding the sanitizers would not see: a broken promise of the code under test.
[[noreturn]] void Fail(const char* what);
inline void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

}  // namespace vitrina::fuzz
