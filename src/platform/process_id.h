#pragma once
// Process ids as they appear in the names of the runtime folder's files ("1234", "1234.data").
// Anyone may drop a file there, so a name is read without trusting it.
#include <optional>
#include <string_view>

namespace vitrina {

// The process id a file name stands for: only the canonical decimal form of a positive id that
// fits the system's pid type; nothing for anything else.
std::optional<long> ProcessIdFromName(std::string_view name);

// Whether a process with this id exists (including ones of other users).
bool ProcessAlive(long pid);

}  // namespace vitrina
