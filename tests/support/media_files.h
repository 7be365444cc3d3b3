#pragma once
// Small media files made by the tests themselves: PCM sound and uncompressed AVI video, so a
// test needs no encoder and no file checked in.
#include <cstdint>
#include <string>

namespace vitrina::test {

// Silent 8-bit mono PCM WAV of the given length.
std::string WavBytes(int milliseconds, int sampleRate = 8000);

struct TAviSpec {
    int width = 32;
    int height = 24;
    int frames = 10;
    int framesPerSecond = 10;
    std::uint32_t rgb = 0xff0000;  // every frame is one colour
    // The codec tag of the video stream; anything but 0 ("DIB ") names a decoder nobody has.
    std::uint32_t compression = 0;
};

// An uncompressed 24-bit AVI (or one that claims another codec, with the same bytes).
std::string AviBytes(const TAviSpec& spec);

constexpr std::uint32_t FourCc(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
           std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
}

}  // namespace vitrina::test
