#include "media/mci_errors.h"

#include <libintl.h>

#include <array>
#include <unistd.h>
#include <optional>

#include "platform/regular_file.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

struct TBackendMessage {
    const char* domain;  // the message catalogue the backend translates it with
    const char* text;
    int code;
};

// GStreamer's own texts for the failures that have a code of their own. Everything else the
// backend says about a file that exists and reads is a file it cannot make sense of.
constexpr std::array kBackendMessages{
    TBackendMessage{"gstreamer-1.0", "Your GStreamer installation is missing a plug-in.", kMciCannotLoadDriver},
    TBackendMessage{"gstreamer-1.0", "Resource not found.", kMciFileNotFound},
    TBackendMessage{"gstreamer-1.0", "Could not open resource for reading.", kMciFileRead},
    TBackendMessage{"gstreamer-1.0", "Could not read from resource.", kMciFileRead},
    TBackendMessage{"gstreamer-1.0", "No permission to read resource.", kMciFileRead},
};

struct TCodeText {
    int code;
    const char* text;
};

constexpr std::array kTexts{
    TCodeText{kMciCannotLoadDriver, "The specified device driver cannot be loaded: a decoder is missing."},
    TCodeText{kMciInternal, "An internal error occurred in the media device."},
    TCodeText{kMciFileNotFound, "The specified file cannot be found."},
    TCodeText{kMciInvalidFile, "The specified file cannot be played on the specified device."},
    TCodeText{kMciFileRead, "A read error occurred while reading the file."},
    TCodeText{kMciFilenameRequired, "A file name is required."},
};

bool SameMessage(std::string_view message, const TBackendMessage& m) {
    if (message == m.text) return true;
    const char* translated = ::dgettext(m.domain, m.text);
    return translated && message == translated;
}

}  // namespace

int MciErrorOfFile(const std::optional<fs::path>& host) {
    std::error_code ec;
    if (!host || !fs::exists(*host, ec)) return kMciFileNotFound;
    // Folders, pipes and devices are no files to read (a pipe would block the first read).
    const TRegularFile file = TRegularFile::Open(*host);
    char byte;
    if (!file.IsOpen() || ::pread(file.Fd(), &byte, 1, 0) < 0) return kMciFileRead;
    return kMciNoError;
}

int MciErrorOfBackend(std::string_view message) {
    for (const TBackendMessage& m : kBackendMessages)
        if (SameMessage(message, m)) return m.code;
    return kMciInvalidFile;
}

std::string MciErrorText(int code) {
    for (const TCodeText& t : kTexts)
        if (t.code == code) return t.text;
    return "Unknown error code";
}

}  // namespace vitrina
