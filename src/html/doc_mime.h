#pragma once
// What the scheme handler tells the engine about a file: its content type and, for text that
// declares no charset of its own, that it is Windows-1251 (the engine's default-encoding setting
// has no effect, and its guess goes wrong on short Cyrillic texts).
#include <string>
#include <string_view>

namespace vitrina {

// The charset a document declares: a byte-order mark, or a <meta> charset within its first
// 1024 bytes. Lower case; empty when it declares none.
std::string DeclaredCharset(std::string_view bytes);

// The reply's content type for a file, by extension (and by content for unknown extensions).
std::string ContentTypeFor(std::string_view path, std::string_view bytes);

// Picture files whose size the engine records (LastPictureSize).
bool IsPictureName(std::string_view path);

}  // namespace vitrina
