#include "resources/about_description.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"

namespace vitrina {
namespace {

// A description as the about window reads it: scrambled, decoded with lower-casing.
TAboutDescription Read(std::string_view utf8) {
    std::string crlf;
    for (char c : Utf8ToCp1251(utf8)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    TAboutDescription about("d:\\run\\");
    about.Read(DecodeDescription(ScrambleDescription(crlf), true));
    return about;
}

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }
constexpr TColor Rgb(int r, int g, int b) { return r | g << 8 | b << 16; }

TEST(AboutDescription, ReadsPictureShapeTextsAndButtons) {
    // The records come after the shape in the file, but a picture line may stand anywhere.
    const auto about = Read(
        "; Окно\n"
        "text\n"
        "  vx=30; vy=78\n"
        "  font=Arial; size=12; style=Bold Underline; color=216,228,240\n"
        "  value=Сайт: http://Example.org/Page?From=About\n"
        "  idenf=URL\n"
        "button text ; a line with both words is a text line\n"
        "  vx=1; vy=2; font=Times; size=8; style=; color=1,2,3; value=Два; idenf=no\n"
        "button\n"
        "  vx=155; vy=224\n"
        "  fn1=Abt_Ok_Up.bmp\n  fn2=abt_ok_mv.bmp\n"
        "  hint=Закрыть окно\n"
        "  wav=Click.WAV\n"
        "vertex=[24,0; 396,0; 420,24; 420,256\n"
        "  396,280; 24,280; 0,256; 0,24]\n"
        "picture=About_BG.bmp\n");
    EXPECT_EQ(about.Picture, "about_bg.bmp");
    const std::vector<TPoint> corners{{24, 0}, {396, 0}, {420, 24}, {420, 256},
                                      {396, 280}, {24, 280}, {0, 256}, {0, 24}};
    EXPECT_EQ(about.Vertex, corners);

    ASSERT_EQ(about.Texts.size(), 2u);
    const RText& link = about.Texts[0];
    EXPECT_EQ(link.vx, 30);
    EXPECT_EQ(link.vy, 78);
    EXPECT_EQ(link.font, "arial");
    EXPECT_EQ(link.size, 12);
    EXPECT_EQ(link.style, "bold underline");
    EXPECT_EQ(link.color, Rgb(216, 228, 240));
    // Latin letters come lower-cased with the whole description; Cyrillic keeps its case.
    EXPECT_EQ(link.value, W("Сайт: http://example.org/page?from=about"));
    EXPECT_EQ(link.ident, "url");
    EXPECT_TRUE(IsAboutLink(link));
    EXPECT_EQ(about.Texts[1].value, W("Два"));
    EXPECT_EQ(about.Texts[1].color, Rgb(1, 2, 3));
    EXPECT_FALSE(IsAboutLink(about.Texts[1]));

    ASSERT_EQ(about.Buttons.size(), 1u);
    const RBtn& b = about.Buttons[0];
    EXPECT_EQ(b.vx, 155);
    EXPECT_EQ(b.vy, 224);
    EXPECT_EQ(b.fn1, "abt_ok_up.bmp");
    EXPECT_EQ(b.fn2, "abt_ok_mv.bmp");
    EXPECT_EQ(b.hint, W("Закрыть окно"));
    EXPECT_EQ(b.wav, "click.wav");
}

TEST(AboutDescription, ShapeEndsAtTheFirstClosingBracket) {
    // A list closed on its first line ends there; the next line adds nothing.
    const auto closed = Read("vertex=[24,0; 396,0; 420,24; 420,256]\n  396,280; 24,280; 0,256; 0,24]\n");
    EXPECT_EQ(closed.Vertex.size(), 4u);
    // A list that does not read as points leaves the rectangle.
    EXPECT_TRUE(Read("vertex=[1,2; three]\n").Vertex.empty());
    EXPECT_TRUE(Read("picture=a.bmp\n").Vertex.empty());
}

TEST(AboutDescription, RecordCutShortKeepsWhatItRead) {
    const auto about = Read("button\n  vx=5; vy=6\n  fn1=a.bmp\n");
    ASSERT_EQ(about.Buttons.size(), 1u);
    EXPECT_EQ(about.Buttons[0].vx, 5);
    EXPECT_EQ(about.Buttons[0].fn1, "a.bmp");
    EXPECT_EQ(about.Buttons[0].fn2, "");
    EXPECT_TRUE(Read("").Texts.empty());
}

TEST(AboutDescription, LinkTargetsAndShownTexts) {
    struct TCase {
        const char* value;
        const char* ident;
        const char* shown;
        const char* target;
    } cases[] = {
        {"http://site.example/disc?from=about", "url", "http://site.example/disc", "http://site.example/disc?from=about"},
        {"support@site.example", "url", "support@site.example", "mailto:support@site.example"},
        {"a@b?subject=x", "url", "a@b", "mailto:a@b?subject=x"},
        {"?", "url", "", "?"},
        {"Вопрос?", "no", "Вопрос?", "Вопрос?"},
    };
    for (const auto& c : cases) {
        RText text;
        text.value = W(c.value);
        text.ident = c.ident;
        EXPECT_EQ(AboutShownText(text), W(c.shown)) << c.value;
        EXPECT_EQ(AboutLinkTarget(text.value), W(c.target)) << c.value;
    }
}

}  // namespace
}  // namespace vitrina
