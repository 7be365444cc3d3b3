#pragma once
// Another copy of this program on the same disc: a picture window, the thesaurus window.
#include <string>
#include <vector>

namespace vitrina {

class TDriveMap;

// Starts the program's own file on the disc of programFolder with arguments (1251) as the disc's
// own command line, and does not wait for it.
void StartProgramCopy(const TDriveMap& drives, const std::string& programFolder,
                      const std::vector<std::string>& arguments);

}  // namespace vitrina
