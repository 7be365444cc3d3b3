#pragma once
// The request record copies of the program send each other (the data block of a copy-data
// message), and the message numbers of the answers. The block travels unchanged: 840 bytes,
// little-endian, texts in 1251.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

constexpr std::size_t kRequestRecordSize = 840;
constexpr std::size_t kRequestItemTextSize = 274;
constexpr std::size_t kRequestMaxItems = 3;

enum TRequestKind : std::uint16_t { kRequestOpen = 0, kRequestPrint = 1, kRequestQuery = 3 };

// Messages between copies.
constexpr unsigned kMessagePrintRequest = 1224;
constexpr unsigned kMessageQueryAnswer = 1225;  // wParam 1: the asked document is shown here
constexpr unsigned kMessageHandled = 1690;      // wParam: the handling window

struct TRequestItem {
    std::uint32_t kind = 0;
    std::string text;  // 1251, at most 273 bytes travel
};

struct TRequestRecord {
    std::uint16_t kind = 0;
    std::vector<TRequestItem> items;  // at most 3 travel
};

// Always 840 bytes; texts longer than their field are cut so that the NUL still fits.
std::string EncodeRequestRecord(const TRequestRecord& record);
// Nothing for a block shorter than the record or announcing more than 3 items; a text without
// its NUL ends at its field.
std::optional<TRequestRecord> DecodeRequestRecord(std::string_view block);

}  // namespace vitrina
