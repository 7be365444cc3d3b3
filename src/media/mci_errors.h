#pragma once
// The error codes callers of a media device decide on, and how the host's failures map onto
// them: the file is missing, it is no media file, it cannot be read, or a decoder is missing
// (any other code, which sends the caller to the codec installation).
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vitrina {

enum : int {
    kMciNoError = 0,
    kMciCannotLoadDriver = 266,  // a decoder for the file's streams is missing
    kMciInternal = 277,          // the backend failed for a reason of its own
    kMciFileNotFound = 275,
    kMciInvalidFile = 296,
    kMciFileRead = 348,
    kMciFilenameRequired = 304,  // an open without a file
};

// The file itself is missing or bad: no decoder would help.
constexpr bool FileItselfBad(int code) {
    return code == kMciFileNotFound || code == kMciInvalidFile || code == kMciFileRead;
}

// What the file system says before any decoder sees the file: missing (or no host path) 275,
// a folder or unreadable 348, otherwise 0.
int MciErrorOfFile(const std::optional<std::filesystem::path>& host);

// The code for a failure the backend reported with this text (English or in the locale's
// translation of the backend's own messages).
int MciErrorOfBackend(std::string_view message);

// The device's text for a code; "Unknown error code" for one it has none for.
std::string MciErrorText(int code);

class EMCIDeviceError : public std::runtime_error {
public:
    explicit EMCIDeviceError(const std::string& message, int code = 0) : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

}  // namespace vitrina
