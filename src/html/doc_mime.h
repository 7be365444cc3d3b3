#pragma once
// What the scheme handler tells the engine about a file: its content type and, for text that
// declares no charset of its own, that it is Windows-1251 (the engine's default-encoding setting
// has no effect, and its guess goes wrong on short Cyrillic texts).
#include <cstddef>
#include <string>
#include <string_view>

namespace vitrina {

// DeclaredCharset and ContentTypeFor look at no more than this many leading bytes, so a large
// file needs only its head read to be answered.
constexpr std::size_t kContentHeadLength = 1024;

// The charset a document declares: a byte-order mark, or a <meta> charset within its first
// kContentHeadLength bytes. Lower case; empty when it declares none.
std::string DeclaredCharset(std::string_view bytes);

// The reply's content type for a file, by extension (and by content for unknown extensions);
// bytes may be the whole file or its head.
std::string ContentTypeFor(std::string_view path, std::string_view bytes);

// Picture files whose size the engine records (LastPictureSize).
bool IsPictureName(std::string_view path);

}  // namespace vitrina
