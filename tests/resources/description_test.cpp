#include "resources/description.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/cp1251.h"
#include "resources/description_scrambler.h"

namespace vitrina {
namespace {

// Descriptions are 1251 inside; tests write them in UTF-8.
std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TEST(DecodeDescription, UnscramblesWhatScrambleWrote) {
    const std::string text = W("Title=Пример\r\nvx=12 ; Комментарий\r\nlone\rcr and lone\nlf\r\n");
    const auto lines = DecodeDescription(ScrambleDescription(text), false);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], W("Title=Пример"));
    EXPECT_EQ(lines[1], W("vx=12 ; Комментарий"));
    EXPECT_EQ(lines[2], "lone\rcr and lone\nlf");
    EXPECT_EQ(lines[3], "");
}

TEST(DecodeDescription, LowerCasingTouchesOnlyAsciiCapitals) {
    const std::string scrambled = ScrambleDescription(W("FN1=Кнопка.BMP"));
    EXPECT_EQ(DecodeDescription(scrambled, true)[0], W("fn1=Кнопка.bmp"));
    EXPECT_EQ(DecodeDescription(scrambled, false)[0], W("FN1=Кнопка.BMP"));
}

TEST(DecodeDescription, ShortInputs) {
    EXPECT_TRUE(DecodeDescription("", true).empty());
    EXPECT_EQ(DecodeDescription("x", true), TDynamicStringArray{""});
    // An odd length drops the last byte's pair partner: 3 bytes give one character.
    EXPECT_EQ(DecodeDescription(std::string("\x01\x02\x03", 3), false).front().size(), 1u);
}

TEST(DecodeDescription, KeyDoublesAndVanishes) {
    // Long inputs go through the whole key sequence; every length must round-trip.
    for (std::size_t length : {1u, 2u, 7u, 8u, 9u, 255u, 256u, 257u, 1000u}) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
        EXPECT_EQ(DecodeDescription(ScrambleDescription(text), false).front(), text) << length;
    }
}

TEST(FieldReaders, ReadNumber) {
    struct Case {
        const char* line;
        std::size_t pos;
        int expected;
    } cases[] = {
        {"vx=-12", 0, -12},   {"vx=12;13", 3, 12},   {"fn=abc", 0, -1},    {"a --5", 0, -1},
        {"a 5-2", 0, -1},     {"vy = 007 px", 0, 7}, {"", 0, -1},          {"vx=3", 10, -1},
        {"x=99999999999", 0, -1}, {"screen 2 _html", 0, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.line, c.pos), c.expected) << c.line;
}

// Numbers other copies and stored favorites hand in: read the way strtol reads them, never
// overflowing, then clamped to the ranges positions and sizes live in.
TEST(FieldReaders, ReadLongSaturatesAndClampsKeepTheRange) {
    const std::pair<const char*, long long> cases[] = {
        {"12", 12}, {" -5x", -5}, {"", 0}, {"abc", 0}, {"+7", 7},
        {"99999999999999999999999", LLONG_MAX}, {"-99999999999999999999999", LLONG_MIN},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ReadLong(text), value) << text;
    EXPECT_EQ(ClampSize(ReadLong("99999999999999999999999")), 32767);
    EXPECT_EQ(ClampSize(ReadLong("-4")), 0);
    EXPECT_EQ(ClampCoordinate(ReadLong("-99999999999999999999999")), -32768);
}

TEST(FieldReaders, ReadText) {
    EXPECT_EQ(ReadText("fn1=  b1 up.bmp  ; the up picture", 4), "b1 up.bmp");
    EXPECT_EQ(ReadText(W("hint=\t\x01Текст"), 5), W("Текст"));
    EXPECT_EQ(ReadText("", 0), "");
    EXPECT_EQ(ReadText("go=", 3), "");
    EXPECT_EQ(ReadText("go", 3), "");
}

TEST(FieldReaders, ReadColor) {
    EXPECT_EQ(ReadColor("color=0,128,255", 6), 255 * 65536 + 128 * 256);
    EXPECT_EQ(ReadColor("color= 10 20 30", 6), 10 + 20 * 256 + 30 * 65536);
    EXPECT_EQ(ReadColor("color=300,0,0", 6), 300 & 0xFF);
    // No digits at all: reading stops at the end of the line.
    EXPECT_EQ(ReadColor("color=none", 6), 0xFFFFFF);
}

TEST(FieldReaders, ReadListAcrossLines) {
    const std::string folder = "d:\\run\\";
    {
        TDynamicStringArray lines = {"list=[a; b", " c]", "next"};
        std::size_t index = 0;
        EXPECT_EQ(ReadList(lines, index, folder), (TDynamicStringArray{"a", "b", "c"}));
        EXPECT_EQ(index, 1u);
    }
    {
        TDynamicStringArray lines = {"list=[a; b;", " c]"};
        std::size_t index = 0;
        EXPECT_EQ(ReadList(lines, index, folder), (TDynamicStringArray{"a", "b", "", "c"}));
    }
    {
        TDynamicStringArray lines = {"no list here"};
        std::size_t index = 0;
        EXPECT_TRUE(ReadList(lines, index, folder).empty());
    }
    {
        // Never closed: the reading stops on the last line.
        TDynamicStringArray lines = {"x=[one; two", "three"};
        std::size_t index = 0;
        EXPECT_EQ(ReadList(lines, index, folder), (TDynamicStringArray{"one", "two", "three"}));
        EXPECT_EQ(index, 1u);
    }
    {
        TDynamicStringArray lines = {"songs=[music\\a.mp3; <cd>b.mp3; stop]"};
        std::size_t index = 0;
        EXPECT_EQ(ReadList(lines, index, folder),
                  (TDynamicStringArray{"d:\\run\\music\\a.mp3", "d:\\b.mp3", "stop"}));
    }
}

TEST(FieldReaders, WindowShape) {
    std::vector<TPoint> points;
    TDynamicStringArray good = {"vertexmain=[0,0; 10, 0;", "10,20]"};
    std::size_t index = 0;
    ASSERT_TRUE(ReadWindowShape(good, index, "d:\\", points));
    EXPECT_EQ(points, (std::vector<TPoint>{{0, 0}, {10, 0}, {10, 20}}));

    TDynamicStringArray bad = {"vertexmain=[0,0; x,1]"};
    index = 0;
    EXPECT_FALSE(ReadWindowShape(bad, index, "d:\\", points));
    EXPECT_EQ(points.size(), 3u) << "a failed read keeps the previous shape";

    std::string many = "v=[";
    for (int i = 0; i < 2500; ++i) many += std::to_string(i) + ",1;";
    many += "]";
    TDynamicStringArray longList = {many};
    index = 0;
    ASSERT_TRUE(ReadWindowShape(longList, index, "d:\\", points));
    EXPECT_EQ(points.size(), kMaxShapePoints);
}

TEST(Paths, JoinPath) {
    struct Case {
        const char* base;
        const char* relative;
        const char* expected;
    } cases[] = {
        {"d:\\run\\", "..\\data\\x.htm", "d:\\run\\data\\x.htm"},
        {"d:\\run\\sub\\", "..\\x.htm", "d:\\run\\x.htm"},
        {"d:\\run\\sub\\", "\\x.htm", "d:\\run\\x.htm"},
        {"d:\\run\\a\\b\\", "..\\..\\x.htm", "d:\\run\\x.htm"},
        {"d:\\run\\a\\b\\", "..\\..\\..\\..\\x.htm", "d:\\run\\x.htm"},
        {"d:\\", "html\\page.htm", "d:\\html\\page.htm"},
        {"d:\\", "..\\page.htm", "d:\\page.htm"},
        {"d:\\run", "  page.htm ", "d:\\run\\page.htm"},
        {"html", "page.htm", "html\\page.htm"},
    };
    for (const auto& c : cases) EXPECT_EQ(JoinPath(c.base, c.relative), c.expected) << c.base << " + " << c.relative;
}

TEST(Paths, ResolvePath) {
    struct Case {
        const char* value;
        const char* folder;
        const char* expected;
    } cases[] = {
        {"<cd>video\\clip.avi", "D:\\run\\", "d:\\video\\clip.avi"},
        {"exit", "d:\\run\\", "exit"},
        {"c:\\windows\\x.dll", "d:\\run\\", "c:\\windows\\x.dll"},
        {"page.htm", "d:\\run\\", "d:\\run\\page.htm"},
        {"html=20=html\\a.htm", "d:\\run\\", "html=20=d:\\run\\html\\a.htm"},
        {"..\\x.htm", "d:\\run\\", "d:\\run\\x.htm"},
        {"screen2", "d:\\run\\", "screen2"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolvePath(c.value, c.folder), c.expected) << c.value;
}

TEST(CommandStrings, NameArgumentParams) {
    struct Case {
        const char* command;
        const char* name;
        const char* argument;
        const char* params;
    } cases[] = {
        {"exit", "", "", ""},
        {"screen=2", "screen", "2", ""},
        {"html=20=html\\a.htm", "html", "20", "d:\\run\\html\\a.htm"},
        {"a=b=c=d", "a", "b=c", "d"},
        {"play=music\\a.mp3", "play", "d:\\run\\music\\a.mp3", ""},
        {"x=", "x", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandName(c.command), c.name) << c.command;
        EXPECT_EQ(CommandArgument(c.command, "d:\\run\\"), c.argument) << c.command;
        EXPECT_EQ(CommandParams(c.command, "d:\\run\\"), c.params) << c.command;
    }
}

TEST(SmallFunctions, IndexOfIntAndContainsText) {
    int index = -1;
    EXPECT_TRUE(IndexOfInt({4, 7, 7}, 7, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(IndexOfInt({}, 7, index));
    EXPECT_TRUE(ContainsText({"One", "TWO"}, "two"));
    EXPECT_FALSE(ContainsText({W("Мир")}, W("мир"))) << "only ASCII letters fold";
}

}  // namespace
}  // namespace vitrina
