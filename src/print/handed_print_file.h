#pragma once
// A file another program hands over for printing is its temporary copy: once printed, it goes.
#include <string>
#include <string_view>

namespace vitrina {

class TDriveMap;

// Deletes the printed file when it is a plain file directly inside the temporary folder (a
// Windows path such as "c:\windows\temp\"); a request naming any other file, a folder or a
// symbolic link deletes nothing. True when a file was deleted.
bool RemoveHandedPrintFile(const TDriveMap& drives, std::string_view tempFolder, std::string_view file);

}  // namespace vitrina
