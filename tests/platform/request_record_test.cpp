#include "platform/request_record.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

std::uint32_t At(const std::string& block, std::size_t offset, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint32_t(static_cast<unsigned char>(block[offset + i])) << (8 * i);
    return v;
}

TEST(RequestRecord, LaysOutKindCountItemKindsAndTextsAtTheirOffsets) {
    const std::string block =
        EncodeRequestRecord({kRequestPrint, {{0, "c:\\tmp\\p.bmp"}, {1, "400"}, {2, "\xCF\xF0\xE8"}}});
    ASSERT_EQ(block.size(), 840u);
    EXPECT_EQ(At(block, 0, 2), 1u);
    EXPECT_EQ(At(block, 2, 2), 3u);
    EXPECT_EQ(At(block, 4, 4), 0u);
    EXPECT_EQ(At(block, 8, 4), 1u);
    EXPECT_EQ(At(block, 12, 4), 2u);
    EXPECT_EQ(block.substr(16, 13), std::string("c:\\tmp\\p.bmp\0", 13));
    EXPECT_EQ(block.substr(290, 4), std::string("400\0", 4));
    EXPECT_EQ(block.substr(564, 4), std::string("\xCF\xF0\xE8\0", 4));
    EXPECT_EQ(block.substr(838), std::string(2, '\0'));  // padding
}

TEST(RequestRecord, RoundTripsAndCutsWhatDoesNotFit) {
    struct Case {
        const char* name;
        TRequestRecord in;
        TRequestRecord out;
    } cases[] = {
        {"query", {kRequestQuery, {{0, "d:\\images\\tormoza.jpg"}}}, {kRequestQuery, {{0, "d:\\images\\tormoza.jpg"}}}},
        {"open, empty text", {kRequestOpen, {{0, ""}}}, {kRequestOpen, {{0, ""}}}},
        {"no items", {kRequestOpen, {}}, {kRequestOpen, {}}},
        {"long text keeps its NUL", {kRequestOpen, {{0, std::string(300, 'x')}}}, {kRequestOpen, {{0, std::string(273, 'x')}}}},
        {"a fourth item does not travel",
         {kRequestPrint, {{0, "a"}, {1, "b"}, {2, "c"}, {0, "d"}}},
         {kRequestPrint, {{0, "a"}, {1, "b"}, {2, "c"}}}},
    };
    for (const Case& c : cases) {
        const auto decoded = DecodeRequestRecord(EncodeRequestRecord(c.in));
        ASSERT_TRUE(decoded) << c.name;
        EXPECT_EQ(decoded->kind, c.out.kind) << c.name;
        ASSERT_EQ(decoded->items.size(), c.out.items.size()) << c.name;
        for (std::size_t i = 0; i < c.out.items.size(); ++i) {
            EXPECT_EQ(decoded->items[i].kind, c.out.items[i].kind) << c.name;
            EXPECT_EQ(decoded->items[i].text, c.out.items[i].text) << c.name;
        }
    }
}

TEST(RequestRecord, MalformedBlocksFromAnotherProcessAreRefusedOrKeptInsideTheirFields) {
    const std::string good = EncodeRequestRecord({kRequestQuery, {{0, "x"}}});
    EXPECT_FALSE(DecodeRequestRecord(good.substr(0, 839)));
    EXPECT_FALSE(DecodeRequestRecord(""));
    std::string tooMany = good;
    tooMany[2] = 4;
    EXPECT_FALSE(DecodeRequestRecord(tooMany));
    std::string huge = good;
    huge[2] = char(0xFF);
    huge[3] = char(0xFF);
    EXPECT_FALSE(DecodeRequestRecord(huge));
    // Texts without their NUL end at their field, never in the next one.
    std::string unterminated(840, 'A');
    unterminated[0] = 3, unterminated[1] = 0, unterminated[2] = 3, unterminated[3] = 0;
    const auto decoded = DecodeRequestRecord(unterminated);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->items.size(), 3u);
    for (const auto& item : decoded->items) EXPECT_EQ(item.text, std::string(274, 'A'));
    // A longer block is read as its first 840 bytes.
    EXPECT_TRUE(DecodeRequestRecord(good + "trailing"));
}

}  // namespace
}  // namespace vitrina
