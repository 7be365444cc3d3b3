#include "media/codec_setup.h"

#include <iostream>

#include "media/mci_errors.h"
#include "media/media_log.h"
#include "resources/description.h"

namespace vitrina {

TCodecSetup::TCodecSetup(std::function<void(const std::string&)> print) : print_(std::move(print)) {
    if (!print_) print_ = [](const std::string& line) { std::cerr << line << "\n"; };
}

const char* TCodecSetup::MissingDecoderLine() {
    return "vitrina: a clip or sound of this disc needs a decoder GStreamer lacks; install Debian's "
           "gstreamer1.0-libav (and gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly)";
}

void TCodecSetup::InstallAtStartUp(const std::string& codecs, bool clipOn) {
    // The decoders these names stand for (Indeo 5, MPEG audio) are GStreamer's business here.
    if (Contains(codecs, "indeo5") && clipOn) qCDebug(lcMedia) << "codec at start-up: indeo5";
    if (Contains(codecs, "mpegaudio")) qCDebug(lcMedia) << "codec at start-up: mpegaudio";
}

void TCodecSetup::InstallForFailedOpen(int error) {
    qCDebug(lcMedia) << "codec installation for error" << error;
    if (error != kMciCannotLoadDriver || told_) return;
    told_ = true;
    print_(MissingDecoderLine());
}

}  // namespace vitrina
