#pragma once
// Compiled HTML help files for tests: no free tool here writes them. The plain layout: the
// file header, the directory header, one listing chunk, and every object stored uncompressed in
// content section 0.
#include <string>
#include <utility>
#include <vector>

namespace vitrina::test {

// objects: names as stored ("/index.htm", "/../x", "::DataSpace/...") and their bytes, in the
// order listed. Throws when the listing does not fit one chunk.
std::string WriteChm(const std::vector<std::pair<std::string, std::string>>& objects);

// The "/#SYSTEM" object naming the default page.
std::string ChmSystemObject(const std::string& defaultTopic);

}  // namespace vitrina::test
