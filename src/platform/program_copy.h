#pragma once
// Another copy of this program on the same disc: a picture window, the thesaurus window.
#include <string>
#include <vector>

namespace vitrina {

class TDriveMap;

// Holds the --scale factor the program was started with, for its copies (set by the program).
inline constexpr char kCopyScaleVariable[] = "VITRINA_COPY_SCALE";

// Starts the program's own file on the disc of programFolder with arguments (1251) as the disc's
// own command line, and does not wait for it. The copy keeps this program's --scale factor.
void StartProgramCopy(const TDriveMap& drives, const std::string& programFolder,
                      const std::vector<std::string>& arguments);

}  // namespace vitrina
