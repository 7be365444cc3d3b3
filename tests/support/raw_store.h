#pragma once
// Document stores written by hand, for layouts the writer never makes and for entries that
// claim to unpack to far more than they hold.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "resources/store.h"

namespace vitrina::test {

inline void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A store table written by hand, for layouts the writer never makes.
struct TRawStore {
    struct Entry {
        std::string name;
        std::uint32_t offset, stored, unpacked, kind;
    };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> folders;
    std::vector<Entry> entries;
    std::string data;
    std::uint32_t root = 0;

    std::string Bytes() const {
        std::string table;
        PutU32(table, static_cast<std::uint32_t>(folders.size()));
        PutU32(table, static_cast<std::uint32_t>(entries.size()));
        PutU32(table, 0);
        PutU32(table, root);
        for (auto [first, count] : folders) PutU32(table, first), PutU32(table, count);
        for (const auto& e : entries) {
            std::string name = e.name;
            name.resize(64, '\0');
            table += name;
            PutU32(table, e.offset), PutU32(table, e.stored), PutU32(table, e.unpacked), PutU32(table, e.kind);
        }
        std::string out;
        PutU32(out, 0 ^ TStore::kHeaderKey1);
        PutU32(out, static_cast<std::uint32_t>(table.size()) ^ TStore::kHeaderKey2);
        return out + table + data;
    }
};

// A zlib stream of count zero bytes, count = 1 + 258 * n, written by hand in fixed-Huffman codes
// (a literal, then n matches of 258 at distance 1): 13 bits per 258 bytes, so a stream for more
// than a gigabyte is made in milliseconds.
inline std::string ZerosZlib(std::uint64_t count) {
    std::string out = "\x78\x01";
    std::uint32_t bits = 0;
    int used = 0;
    auto put = [&](std::uint32_t value, int n) {  // LSB first
        bits |= value << used;
        used += n;
        while (used >= 8) {
            out += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            used -= 8;
        }
    };
    auto code = [&](std::uint32_t value, int n) {  // Huffman codes go MSB first
        for (int i = n - 1; i >= 0; --i) put((value >> i) & 1, 1);
    };
    put(1, 1);  // final block
    put(1, 2);  // fixed codes
    code(0x30, 8);  // literal 0
    for (std::uint64_t i = 0; i < (count - 1) / 258; ++i) {
        code(0xC5, 8);  // length 258 (code 285)
        code(0, 5);     // distance 1
    }
    code(0, 7);  // end of block
    if (used > 0) put(0, 8 - used);
    const std::uint32_t adler = std::uint32_t(count % 65521) << 16 | 1;
    for (int i = 3; i >= 0; --i) out += static_cast<char>((adler >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace vitrina::test
