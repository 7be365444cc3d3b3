#include "platform/request_record.h"

namespace vitrina {

namespace {

constexpr std::size_t kKindsAt = 4;
constexpr std::size_t kTextsAt = 16;

void Put(std::string& block, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) block[at + i] = char((value >> (8 * i)) & 0xFF);
}

std::uint32_t Get(std::string_view block, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint32_t(static_cast<unsigned char>(block[at + i])) << (8 * i);
    return value;
}

}  // namespace

std::string EncodeRequestRecord(const TRequestRecord& record) {
    std::string block(kRequestRecordSize, '\0');
    const std::size_t count = std::min(record.items.size(), kRequestMaxItems);
    Put(block, 0, record.kind, 2);
    Put(block, 2, std::uint32_t(count), 2);
    for (std::size_t i = 0; i < count; ++i) {
        Put(block, kKindsAt + 4 * i, record.items[i].kind, 4);
        const std::string& text = record.items[i].text;
        block.replace(kTextsAt + i * kRequestItemTextSize, std::min(text.size(), kRequestItemTextSize - 1),
                      text, 0, kRequestItemTextSize - 1);
    }
    return block;
}

std::optional<TRequestRecord> DecodeRequestRecord(std::string_view block) {
    if (block.size() < kRequestRecordSize) return std::nullopt;
    TRequestRecord record;
    record.kind = std::uint16_t(Get(block, 0, 2));
    const std::uint32_t count = Get(block, 2, 2);
    if (count > kRequestMaxItems) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        TRequestItem item;
        item.kind = Get(block, kKindsAt + 4 * i, 4);
        const std::string_view field = block.substr(kTextsAt + i * kRequestItemTextSize, kRequestItemTextSize);
        item.text = std::string(field.substr(0, field.find('\0')));
        record.items.push_back(std::move(item));
    }
    return record;
}

}  // namespace vitrina
