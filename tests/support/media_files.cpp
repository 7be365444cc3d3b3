#include "support/media_files.h"

#include <vector>

namespace vitrina::test {

namespace {

void Put16(std::string& s, std::uint32_t v) {
    s.push_back(char(v & 0xff));
    s.push_back(char((v >> 8) & 0xff));
}

void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xffff);
    Put16(s, v >> 16);
}

void PutTag(std::string& s, const char* tag) { s.append(tag, 4); }

std::string Chunk(const char* tag, const std::string& body) {
    std::string s;
    PutTag(s, tag);
    Put32(s, std::uint32_t(body.size()));
    s += body;
    if (body.size() % 2) s.push_back('\0');
    return s;
}

std::string List(const char* kind, const std::string& body) {
    std::string inner;
    PutTag(inner, kind);
    return Chunk("LIST", inner + body);
}

}  // namespace

std::string WavBytes(int milliseconds, int sampleRate) {
    const std::uint32_t samples = std::uint32_t(std::int64_t(sampleRate) * milliseconds / 1000);
    std::string fmt;
    Put16(fmt, 1);  // PCM
    Put16(fmt, 1);
    Put32(fmt, std::uint32_t(sampleRate));
    Put32(fmt, std::uint32_t(sampleRate));
    Put16(fmt, 1);
    Put16(fmt, 8);
    std::string body = "WAVE";
    body += Chunk("fmt ", fmt);
    body += Chunk("data", std::string(samples, char(0x80)));
    return Chunk("RIFF", body);
}

std::string AviBytes(const TAviSpec& spec) {
    const int stride = (spec.width * 3 + 3) / 4 * 4;
    const std::uint32_t frameSize = std::uint32_t(stride * spec.height);
    std::string frame(frameSize, '\0');
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x) {
            char* p = &frame[std::size_t(y * stride + x * 3)];
            p[0] = char(spec.rgb & 0xff);          // blue
            p[1] = char((spec.rgb >> 8) & 0xff);   // green
            p[2] = char((spec.rgb >> 16) & 0xff);  // red
        }

    std::string avih;
    Put32(avih, std::uint32_t(1000000 / spec.framesPerSecond));
    Put32(avih, frameSize * std::uint32_t(spec.framesPerSecond));
    Put32(avih, 0);
    Put32(avih, 0x10);  // has an index
    Put32(avih, std::uint32_t(spec.frames));
    Put32(avih, 0);
    Put32(avih, 1);
    Put32(avih, frameSize);
    Put32(avih, std::uint32_t(spec.width));
    Put32(avih, std::uint32_t(spec.height));
    for (int i = 0; i < 4; ++i) Put32(avih, 0);

    std::string strh;
    PutTag(strh, "vids");
    Put32(strh, spec.compression);
    Put32(strh, 0);
    Put16(strh, 0);
    Put16(strh, 0);
    Put32(strh, 0);
    Put32(strh, 1);
    Put32(strh, std::uint32_t(spec.framesPerSecond));
    Put32(strh, 0);
    Put32(strh, std::uint32_t(spec.frames));
    Put32(strh, frameSize);
    Put32(strh, 0xffffffff);
    Put32(strh, 0);
    Put16(strh, 0);
    Put16(strh, 0);
    Put16(strh, std::uint32_t(spec.width));
    Put16(strh, std::uint32_t(spec.height));

    std::string strf;
    Put32(strf, 40);
    Put32(strf, std::uint32_t(spec.width));
    Put32(strf, std::uint32_t(spec.height));
    Put16(strf, 1);
    Put16(strf, 24);
    Put32(strf, spec.compression);
    Put32(strf, frameSize);
    Put32(strf, 0);
    Put32(strf, 0);
    Put32(strf, 0);
    Put32(strf, 0);

    const std::string hdrl = List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));
    std::string movi;
    std::string index;
    for (int i = 0; i < spec.frames; ++i) {
        PutTag(index, "00db");
        Put32(index, 0x10);
        Put32(index, std::uint32_t(4 + movi.size()));  // from the "movi" tag
        Put32(index, frameSize);
        movi += Chunk("00db", frame);
    }
    std::string body = "AVI ";
    body += hdrl + List("movi", movi) + Chunk("idx1", index);
    return Chunk("RIFF", body);
}

}  // namespace vitrina::test
