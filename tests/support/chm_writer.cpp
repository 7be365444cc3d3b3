#include "support/chm_writer.h"

#include <cstdint>
#include <stdexcept>

namespace vitrina::test {
namespace {

constexpr std::uint32_t kChunk = 4096;

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}
void Put64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}
// Seven bits a byte, most significant first, the high bit on every byte but the last.
void PutEncInt(std::string& out, std::uint64_t v) {
    std::string bytes(1, char(v & 0x7F));
    while (v >>= 7) bytes.insert(bytes.begin(), char(0x80 | (v & 0x7F)));
    out += bytes;
}

}  // namespace

std::string WriteChm(const std::vector<std::pair<std::string, std::string>>& objects) {
    std::string listing, content;
    for (const auto& [name, bytes] : objects) {
        PutEncInt(listing, name.size());
        listing += name;
        PutEncInt(listing, 0);  // section 0: uncompressed
        PutEncInt(listing, content.size());
        PutEncInt(listing, bytes.size());
        content += bytes;
    }
    if (listing.size() > kChunk - 0x14) throw std::length_error("the listing does not fit one chunk");

    constexpr std::uint64_t kItsf = 0x60, kItsp = 0x54;
    const std::uint64_t dirLen = kItsp + kChunk;
    std::string out = "ITSF";
    Put32(out, 3);
    Put32(out, kItsf);
    Put32(out, 1);
    Put32(out, 0);       // time stamp
    Put32(out, 0x0419);  // language
    out += std::string(32, '\0');  // two GUIDs
    Put64(out, 0);       // header section table: none
    Put64(out, 0);
    Put64(out, kItsf);   // directory
    Put64(out, dirLen);
    Put64(out, kItsf + dirLen);  // content section 0

    out += "ITSP";
    Put32(out, 1);
    Put32(out, kItsp);
    Put32(out, 10);
    Put32(out, kChunk);
    Put32(out, 2);                // density of the quick reference
    Put32(out, 1);                // depth: listing chunks only
    Put32(out, 0xFFFFFFFF);       // no index chunk
    Put32(out, 0);                // first listing chunk
    Put32(out, 0);                // last listing chunk
    Put32(out, 0xFFFFFFFF);
    Put32(out, 1);                // chunks
    Put32(out, 0x0419);
    out += std::string(32, '\0');  // system GUID and reserved

    std::string chunk = "PMGL";
    Put32(chunk, std::uint32_t(kChunk - 0x14 - listing.size()));  // free space at the end
    Put32(chunk, 0);
    Put32(chunk, 0xFFFFFFFF);  // previous chunk
    Put32(chunk, 0xFFFFFFFF);  // next chunk
    chunk += listing;
    chunk.resize(kChunk, '\0');
    out += chunk;
    return out + content;
}

std::string ChmSystemObject(const std::string& defaultTopic) {
    std::string out;
    Put32(out, 3);  // version
    auto record = [&out](std::uint16_t code, const std::string& data) {
        out.push_back(char(code & 0xFF));
        out.push_back(char(code >> 8));
        out.push_back(char(data.size() & 0xFF));
        out.push_back(char(data.size() >> 8));
        out += data;
    };
    record(3, std::string("Help") + '\0');  // title
    record(2, defaultTopic + '\0');
    return out;
}

}  // namespace vitrina::test
