#pragma once
// Description files: unscrambling, the field readers every description reader uses, and the
// path and command-string functions shared with the dispatcher.
//
// Positions are 0-based byte offsets into a line; reading past the end of a line is the same
// as meeting its end.
#include <cstddef>
#include <string>
#include <string_view>

#include "resources/dynamic_arrays.h"
#include "resources/windows_path.h"  // ResolvePath, which the readers below apply

namespace vitrina {

// Unscrambles an entry into text lines. lowerCase turns ASCII A-Z into a-z only, so Cyrillic
// keeps its case. 0 bytes give no lines, 1 byte gives one empty line.
TDynamicStringArray DecodeDescription(std::string_view bytes, bool lowerCase);

// The first integer at or after pos: -1 when there is none or its text is not a valid integer.
int ReadNumber(std::string_view line, std::size_t pos);

// Positions and edges read from a description are held within kMinCoordinate..kMaxCoordinate,
// sizes within 0..kMaxCoordinate: a description may carry any int, and the windows add
// positions and sizes together.
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;
int ClampCoordinate(long long value);
int ClampSize(long long value);
// A decimal number at the start of text as strtol reads it (blanks, a sign, digits), saturated
// instead of overflowing; 0 when there is none.
long long ReadLong(std::string_view text);
// Text from pos up to the first ';' or the end of the line, trimmed of bytes <= 32.
std::string ReadText(std::string_view line, std::size_t pos);
// Three integers red, green, blue separated by single characters.
TColor ReadColor(std::string_view line, std::size_t pos);
// A bracketed list starting on lines[index], possibly spanning lines; index is left on the line
// holding ']' (or the last line when it never comes). Elements go through ResolvePath.
TDynamicStringArray ReadList(const TDynamicStringArray& lines, std::size_t& index,
                             const std::string& programFolder);

// Most points a window shape may have; longer lists are cut.
constexpr std::size_t kMaxShapePoints = 2000;
// The points of a window-shape list ("x,y" elements, clamped coordinates). False when an element
// is not a pair of integers; the caller keeps its previous shape then.
bool ReadWindowShape(const TDynamicStringArray& lines, std::size_t& index,
                     const std::string& programFolder, std::vector<TPoint>& points);

// "name=argument=params"
std::string CommandName(std::string_view command);
std::string CommandArgument(std::string_view command, const std::string& programFolder);
std::string CommandParams(std::string_view command, const std::string& programFolder);

bool IndexOfInt(const TDynamicIntegerArray& array, int value, int& index);
// Element equal to text ignoring ASCII letter case.
bool ContainsText(const TDynamicStringArray& list, std::string_view text);

// Removes bytes <= 32 from both ends.
std::string Trim(std::string_view text);
bool Contains(std::string_view text, std::string_view part);

}  // namespace vitrina
