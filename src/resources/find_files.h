#pragma once
// Files of a folder (and its subfolders) that match Windows-style masks.
#include <string>
#include <string_view>

#include "resources/dynamic_arrays.h"

namespace vitrina {

class TDriveMap;

// "*" and "?" wildcards; letters compare without regard to ASCII and Cyrillic case.
bool MatchesMask(std::string_view name, std::string_view mask);

// Scans folder (a Windows path) breadth-first. For each folder: the folder itself when
// includeFolders, then for each mask the matching files as folder + name. With recursive, the
// subfolders are scanned in turn. masks are lower-cased in place. Names come in name order,
// since host file systems promise no order of their own.
void FindFiles(const TDriveMap& drives, std::string folder, TDynamicStringArray& masks, bool recursive,
               TDynamicStringArray& result, bool includeFolders);

}  // namespace vitrina
