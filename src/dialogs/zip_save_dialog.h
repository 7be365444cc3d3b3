#pragma once
// The save dialog of a ".zip" link.
#include <filesystem>
#include <string>

namespace vitrina {

// The host file the reader chose for the archive name (1251) in the initial folder, or empty
// when the dialog was cancelled.
std::filesystem::path AskZipTarget(const std::filesystem::path& initialFolder, const std::string& name);

}  // namespace vitrina
