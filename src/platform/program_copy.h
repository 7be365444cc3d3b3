#pragma once
// Another copy of this program on the same disc: a picture window, the thesaurus window.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vitrina {

// Holds the --scale factor the program was started with, for its copies (set by the program).
inline constexpr char kCopyScaleVariable[] = "VITRINA_COPY_SCALE";

// Starts the program's own file on the disc in discFolder (the host folder of the program folder;
// none: the copy finds its disc as a program started without one does) with arguments (1251) as
// the disc's own command line, and does not wait for it. The copy keeps this program's --scale
// factor.
void StartProgramCopy(const std::optional<std::filesystem::path>& discFolder, const std::vector<std::string>& arguments);

}  // namespace vitrina
