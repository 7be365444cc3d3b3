#pragma once
#include <string>
#include <string_view>

namespace vitrina {

// The inverse of DecodeDescription: bytes whose unscrambling (letter case kept) gives exactly
// text. The discarded bytes are filled from a fixed sequence, so the output is deterministic.
std::string ScrambleDescription(std::string_view text);

}  // namespace vitrina
