#include "resources/read_bin.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/container_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

TEST(ReadBin, LooksUpNamesIgnoringCaseFirstMatchWins) {
    TTempFolder temp;
    const auto path = temp.Write("Vuv.dhl", WriteContainer({{"STRUCT.CFS", "first"},
                                                            {"struct.cfs", "second"},
                                                            {Utf8ToCp1251("Фон.bmp"), "bg"},
                                                            {"empty.bin", ""}}));
    TReadBin container;
    container.Open(path);
    ASSERT_EQ(container.Directory().size(), 4u);
    std::string bytes;
    EXPECT_EQ(container.ReadBuffer("Struct.cfs", bytes), 5);
    EXPECT_EQ(bytes, "first");
    EXPECT_TRUE(container.Contains(Utf8ToCp1251("фОН.BMP")));
    EXPECT_EQ(container.ReadBuffer("empty.bin", bytes), 0);
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(container.ReadStream("empty.bin", bytes));
    EXPECT_EQ(container.ReadBuffer("missing", bytes), -1);
    EXPECT_FALSE(container.ReadStream("missing", bytes));
}

TEST(ReadBin, EmptyDirectoryAndNulInName) {
    TTempFolder temp;
    TReadBin container;
    container.Open(temp.Write("empty.dhl", std::string("\0\0", 2)));
    EXPECT_TRUE(container.Directory().empty());
    EXPECT_FALSE(container.Contains("Struct.cfs"));

    container.Open(temp.Write("nul.dhl", WriteContainer({{std::string("a.bmp\0hidden", 12), "x"}})));
    EXPECT_TRUE(container.Contains("a.bmp"));
    EXPECT_FALSE(container.Contains(std::string("a.bmp\0hidden", 12)));
}

TEST(ReadBin, RejectsMalformedContainersAtOpen) {
    const std::string good = WriteContainer({{"a.bmp", "12345"}});
    std::string longName;
    longName += std::string("\x01\x00", 2);
    PutU32(longName, 257);
    longName += std::string(257, 'n');
    PutU32(longName, 0);
    PutU32(longName, 0);
    std::string pastEnd = std::string("\x01\x00", 2);
    PutU32(pastEnd, 1);
    pastEnd += "a";
    PutU32(pastEnd, 5);
    PutU32(pastEnd, 100);
    std::string overflow = std::string("\x01\x00", 2);
    PutU32(overflow, 1);
    overflow += "a";
    PutU32(overflow, 0xFFFFFFF0u);
    PutU32(overflow, 0x20);
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"no count", ""},
        {"half a count", "\x01"},
        {"truncated directory", good.substr(0, 10)},
        {"truncated name", good.substr(0, 8)},
        {"name longer than 256", longName},
        {"data past the end", pastEnd},
        {"offset that wraps", overflow},
        {"data cut short", good.substr(0, good.size() - 1)},
    };
    TTempFolder temp;
    for (const auto& c : cases) {
        TReadBin container;
        EXPECT_THROW(container.Open(temp.Write("bad.dhl", c.bytes)), EContainerError) << c.what;
    }
    TReadBin container;
    EXPECT_THROW(container.Open(temp.Path() / "missing.dhl"), EContainerError);
}

}  // namespace
}  // namespace vitrina
