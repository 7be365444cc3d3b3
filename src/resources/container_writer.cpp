#include "resources/container_writer.h"

#include <stdexcept>

namespace vitrina {
namespace {

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string WriteContainer(const std::vector<TContainerEntry>& entries) {
    if (entries.size() > 0xFFFF) throw std::length_error("a container holds at most 65535 entries");
    std::uint64_t offset = 2;
    for (const auto& entry : entries) {
        if (entry.name.size() > 256) throw std::length_error("container entry name longer than 256 bytes: " + entry.name);
        offset += 12 + entry.name.size();
    }
    std::string out;
    out += static_cast<char>(entries.size() & 0xFF);
    out += static_cast<char>(entries.size() >> 8);
    for (const auto& entry : entries) {
        if (offset + entry.data.size() > 0xFFFFFFFFull) throw std::length_error("container larger than 4 GiB");
        PutU32(out, static_cast<std::uint32_t>(entry.name.size()));
        out += entry.name;
        PutU32(out, static_cast<std::uint32_t>(offset));
        PutU32(out, static_cast<std::uint32_t>(entry.data.size()));
        offset += entry.data.size();
    }
    for (const auto& entry : entries) out += entry.data;
    return out;
}

}  // namespace vitrina
