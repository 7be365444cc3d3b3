#pragma once
// Decoders. On this host they come from GStreamer, not from files of the disc: the installation
// copies nothing, and when the backend lacks a decoder the program says once, on stderr, what
// to install.
#include <functional>
#include <string>

namespace vitrina {

class TCodecSetup {
public:
    // Where the one line goes (stderr unless a test listens).
    explicit TCodecSetup(std::function<void(const std::string&)> print = {});

    // The header's "codec" list at start-up ("indeo5" only with the start clip on, "mpegaudio").
    void InstallAtStartUp(const std::string& codecs, bool clipOn);
    // Before the single retry of an open that failed with this code (never 275, 296 or 348).
    void InstallForFailedOpen(int error);

    static const char* MissingDecoderLine();

private:
    std::function<void(const std::string&)> print_;
    bool told_ = false;
};

}  // namespace vitrina
