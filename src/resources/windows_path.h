#pragma once
// Windows-form paths as the disc's texts write them: "d:\run\html\page.htm", "..\data\x.htm",
// "<cd>video\clip.avi". Every rule about them lives here, once. Paths are 1251 bytes.
//
// Separators: the program writes "\"; a "/" separates components too, as it does for Windows
// itself, so every rule that splits a path splits at both. Links are percent-decoded before
// their separators are read, so an encoded "%2F" or "%5C" is a separator like any other and
// never hides inside a name.
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

bool IsPathSeparator(char c);
// "x:" at the start, x an ASCII letter.
bool HasDrive(std::string_view path);

// What follows the last "\", "/" or ":" (the whole path when there is none).
std::string FileNamePart(std::string_view path);
// Everything up to and including that character; FolderPart(p) + FileNamePart(p) == p.
std::string FolderPart(std::string_view path);

// The components after the drive and the root separator, split at every separator. Empty
// components are kept as they stand: "d:\a\\b\" gives "a", "", "b", "" (the last empty one
// marks a folder). "d:\" and "" give none.
std::vector<std::string> PathComponents(std::string_view path);

// The path with every "/" written as "\".
std::string BackslashPath(std::string_view path);

// "." and ".." folded, empty components dropped, separators written as "\". ".." never climbs
// above the start: the drive's root ("x:\", always written), a leading separator ("\"), or the
// first component of a relative path. A trailing separator stays when a component remains.
std::string FoldPath(std::string_view path);

// File names from descriptions: "<cd>" is the program drive root, "x:\..." stays, anything with
// a '.' or '\' is joined to the program folder, bare words stay.
std::string ResolvePath(std::string_view value, const std::string& programFolder);
// relative appended to base (a "\" in front means from base's first folder level); "\..\"
// removes the folder before it but never climbs above that first level. Only "\" separates
// here, as description texts write it.
std::string JoinPath(std::string_view base, std::string_view relative);

// The folder the store's names start from: the program folder without its first "run"
// component (any case), so d:\run\ gives d:\.
std::string ContentFolderOf(std::string_view programFolder);

// %XX escapes of a link replaced by the bytes they stand for; a "%" not followed by two hex
// digits stays as written.
std::string PercentDecode(std::string_view text);

}  // namespace vitrina
