#include "support/rar4_writer.h"

#include <zlib.h>

#include <algorithm>

#include "platform/cp1251.h"

namespace vitrina::test {

namespace {

constexpr unsigned char kMain = 0x73, kFile = 0x74, kEnd = 0x7B;
constexpr std::uint16_t kLongBlock = 0x8000, kUnicode = 0x0200, kDirectory = 0x00E0;
constexpr unsigned char kHostWin32 = 2, kHostUnix = 3, kMethodStore = 0x30;
constexpr std::uint32_t kAttrDirectory = 0x10, kAttrArchive = 0x20;

void Put(std::string& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

std::uint32_t Crc(const std::string& bytes) {
    return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string Block(unsigned char type, std::uint16_t flags, const std::string& body) {
    std::string rest;
    rest += static_cast<char>(type);
    Put(rest, flags, 2);
    Put(rest, static_cast<std::uint32_t>(7 + body.size()), 2);
    rest += body;
    std::string block;
    Put(block, Crc(rest) & 0xFFFF, 2);
    return block + rest;
}

// 1251 -> 866 for the letters the tests use; other non-ASCII bytes become '?'.
char Oem(unsigned char c) {
    if (c < 0x80) return static_cast<char>(c);
    if (c >= 0xC0 && c <= 0xEF) return static_cast<char>(c - 0xC0 + 0x80);  // А..п
    if (c >= 0xF0) return static_cast<char>(c - 0xF0 + 0xE0);                // р..я
    if (c == 0xA8) return static_cast<char>(0xF0);                            // Ё
    if (c == 0xB8) return static_cast<char>(0xF1);                            // ё
    return '?';
}

// RAR's compact UTF-16 form: a high byte shared by one alphabet's letters, then groups of four
// 2-bit commands (0: low byte, high 0; 1: low byte with the shared high byte; 2: both bytes).
std::string CompactUnicode(const std::vector<char32_t>& codes) {
    unsigned high = 0;
    for (char32_t c : codes)
        if (c > 0xFF) {
            high = c >> 8;
            break;
        }
    std::string out(1, static_cast<char>(high));
    for (std::size_t i = 0; i < codes.size(); i += 4) {
        unsigned flags = 0;
        std::string payload;
        for (std::size_t k = 0; k < 4 && i + k < codes.size(); ++k) {
            const char32_t c = codes[i + k];
            unsigned command;
            if (c >> 8 == 0) {
                command = 0, payload += static_cast<char>(c);
            } else if (c >> 8 == high) {
                command = 1, payload += static_cast<char>(c & 0xFF);
            } else {
                command = 2, payload += static_cast<char>(c & 0xFF), payload += static_cast<char>(c >> 8);
            }
            flags |= command << (6 - 2 * k);
        }
        out += static_cast<char>(flags);
        out += payload;
    }
    return out;
}

}  // namespace

TRar4Archive WriteRar4(const std::vector<TRar4Member>& members) {
    TRar4Archive archive;
    archive.bytes = std::string("Rar!\x1a\x07\x00", 7);
    archive.bytes += Block(kMain, 0, std::string(6, '\0'));
    for (const TRar4Member& member : members) {
        const std::string name1251 = Utf8ToCp1251(member.name);
        std::string oem;
        std::vector<char32_t> codes;
        bool ascii = true;
        for (unsigned char c : name1251) {
            oem += Oem(c);
            codes.push_back(Cp1251ToUnicode(c));
            ascii = ascii && c < 0x80;
        }
        const bool directory = !member.data;
        const std::string data = member.data.value_or("");
        std::uint16_t flags = kLongBlock;
        std::string stored = oem;
        if (!ascii && member.unicode) {
            stored = oem + '\0' + CompactUnicode(codes);
            flags |= kUnicode;
        }
        if (directory) flags |= kDirectory;
        std::string body;
        Put(body, static_cast<std::uint32_t>(data.size()), 4);
        Put(body, static_cast<std::uint32_t>(data.size()), 4);
        body += static_cast<char>(member.unixMode ? kHostUnix : kHostWin32);
        Put(body, Crc(data), 4);
        Put(body, member.time, 4);
        body += static_cast<char>(20);
        body += static_cast<char>(kMethodStore);
        Put(body, static_cast<std::uint32_t>(stored.size()), 2);
        Put(body, member.unixMode ? member.unixMode : directory ? kAttrDirectory : kAttrArchive, 4);
        body += stored;
        archive.headers.push_back(archive.bytes.size());
        archive.bytes += Block(kFile, flags, body);
        archive.data.push_back(archive.bytes.size());
        archive.bytes += data;
    }
    archive.bytes += Block(kEnd, 0x4000, "");
    return archive;
}

namespace {

std::string Vint(std::uint64_t value) {
    std::string out;
    do {
        unsigned char byte = value & 0x7F;
        value >>= 7;
        if (value) byte |= 0x80;
        out += static_cast<char>(byte);
    } while (value);
    return out;
}

// CRC32 of the size and the header that follows it, then both.
std::string Rar5Header(const std::string& header) {
    const std::string sized = Vint(header.size()) + header;
    std::string out;
    Put(out, Crc(sized), 4);
    return out + sized;
}

}  // namespace

TRar4Archive WriteRar5(const std::vector<TRar4Member>& members) {
    constexpr unsigned kMain = 1, kFile = 2, kEnd = 5, kHasData = 0x0002;
    constexpr unsigned kDirectory = 0x0001, kHasTime = 0x0002, kHasCrc = 0x0004;
    TRar4Archive archive;
    archive.bytes = std::string("Rar!\x1a\x07\x01\x00", 8);
    archive.bytes += Rar5Header(Vint(kMain) + Vint(0) + Vint(0));
    for (const TRar4Member& member : members) {
        std::string name = member.name;
        std::replace(name.begin(), name.end(), '\\', '/');
        const std::string data = member.data.value_or("");
        std::string header = Vint(kFile) + Vint(kHasData) + Vint(data.size());
        header += Vint((member.data ? kHasCrc : kDirectory) | kHasTime);
        header += Vint(data.size());
        header += Vint(member.data ? kAttrArchive : kAttrDirectory);
        Put(header, member.time, 4);
        if (member.data) Put(header, Crc(data), 4);
        header += Vint(0);  // stored
        header += Vint(0);  // Windows
        header += Vint(name.size()) + name;
        archive.headers.push_back(archive.bytes.size());
        archive.bytes += Rar5Header(header);
        archive.data.push_back(archive.bytes.size());
        archive.bytes += data;
    }
    archive.bytes += Rar5Header(Vint(kEnd) + Vint(0) + Vint(0));
    return archive;
}

}  // namespace vitrina::test
