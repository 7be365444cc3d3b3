#pragma once
// Windows-1251 text is the program's inner text form: std::string of 1251 bytes.
// Conversion to Unicode happens only at the edges, through these functions.
#include <string>
#include <string_view>

namespace vitrina {

// Unicode code point of a 1251 byte (0x98, the one unassigned byte, gives U+FFFD).
char32_t Cp1251ToUnicode(unsigned char byte);
// 1251 byte of a code point, or '?' when 1251 cannot hold it.
unsigned char UnicodeToCp1251(char32_t code);

std::string Cp1251ToUtf8(std::string_view text);
// Malformed UTF-8 sequences and characters outside 1251 become '?'.
std::string Utf8ToCp1251(std::string_view text);

// ASCII A-Z and Cyrillic А-Я, Ё; every other byte is left alone.
unsigned char LowerChar1251(unsigned char c);
unsigned char UpperChar1251(unsigned char c);
std::string LowerCase1251(std::string_view text);
std::string UpperCase1251(std::string_view text);
// Only A-Z: the lower-casing the description decoding uses.
std::string LowerAscii(std::string_view text);

// Equality without regard to case of ASCII and Cyrillic letters.
bool SameText1251(std::string_view a, std::string_view b);
// Position of the first occurrence of needle ignoring case, or npos.
std::size_t FindText1251(std::string_view haystack, std::string_view needle, std::size_t from = 0);

}  // namespace vitrina
