#include "html/visible_text.h"

#include <gtest/gtest.h>

#include "html/html_entities.h"
#include "platform/cp1251.h"

namespace vitrina {
namespace {

TEST(CharacterReferences, DecodeAsBrowsersDoInText) {
    struct Case {
        const char* text;
        std::size_t length;
        std::vector<char32_t> codes;
    };
    const Case cases[] = {
        {"&amp;x", 5, {'&'}},
        {"&ampx", 4, {'&'}},
        {"&notit;", 4, {0xAC}},
        {"&notin;", 7, {0x2209}},
        {"&NotEqualTilde;", 15, {0x2242, 0x338}},
        {"&Aacute;", 8, {0xC1}},
        {"&aacute;", 8, {0xE1}},
        {"&hellip", 0, {}},
        {"&bogus;", 0, {}},
        {"&", 0, {}},
        {"& x", 0, {}},
        {"&#1044;", 7, {0x414}},
        {"&#x430", 6, {0x430}},
        {"&#X430;", 7, {0x430}},
        {"&#0;", 4, {0xFFFD}},
        {"&#128;", 6, {0x20AC}},
        {"&#129;", 6, {0x81}},
        {"&#xD800;", 8, {0xFFFD}},
        {"&#x110000;", 10, {0xFFFD}},
        {"&#99999999999999999999;", 23, {0xFFFD}},
        {"&#;", 0, {}},
        {"&#x;", 0, {}},
        {"&#xg;", 0, {}},
    };
    for (const Case& c : cases) {
        const TCharacterReference ref = DecodeCharacterReference(c.text, 0);
        EXPECT_EQ(ref.length, c.length) << c.text;
        EXPECT_EQ(std::vector<char32_t>(ref.codes, ref.codes + ref.count), c.codes) << c.text;
    }
}

TEST(VisibleTextOfPages, PagesAreTurnedInto1251ByTheirDeclaredCharset) {
    EXPECT_EQ(DocumentAs1251("<meta charset=utf-8>Ключ \xE4\xB8\xAD"), Utf8ToCp1251("<meta charset=utf-8>Ключ ?"));
    const std::string undeclared = Utf8ToCp1251("<p>Ключ</p>");
    EXPECT_EQ(DocumentAs1251(undeclared), undeclared);
}

TEST(VisibleTextOfPages, TextIsCollapsedAndCharactersOutside1251BecomeQuestionMarks) {
    EXPECT_EQ(VisibleText(Utf8ToCp1251("<p> Один\r\n  два&#x4E2D;</p><p>три</p>")), Utf8ToCp1251("Один два? три "));
    EXPECT_EQ(ExtractTitle(Utf8ToCp1251("<titlex>нет</titlex><title id=t>\r\n A &amp;&#x4E2D; B </title>")),
              "A &? B");
}

TEST(VisibleTextOfPages, BrokenMarkupEndsCleanly) {
    // Pages cut off or malformed at every kind of boundary the reader has.
    const std::pair<std::string, std::string> cases[] = {
        {"a<", "a<"},
        {"a</", "a</"},
        {"a<!", "a"},
        {"a<!-", "a"},
        {"a<!--", "a"},
        {"a<!-->b", "ab"},
        {"a<!--->b", "ab"},
        {"a<?xml x", "a"},
        {"a<p", "a "},
        {"a<p title=\"x", "a "},
        {"a<p title='x>y", "a "},
        {"a</p x=\">\">b", "a b"},
        {"a</>b", "ab"},
        {"a</ x>b", "ab"},
        {"a<script>", "a"},
        {"a<script>x</scrip", "a"},
        {"a<script>x</script", "a"},
        {"a<style>x</styles>y</style>z", "az"},
        {"a<averyveryverylongelementname>b", "ab"},
        {"a<averyveryverylongelementnamescript>b", "ab"},
        {"a&", "a&"},
        {"a&#", "a&#"},
        {"a&#x", "a&#x"},
        {"a&#65b", "aAb"},
        {"a&amp", "a&"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const auto& [page, text] : cases) EXPECT_EQ(VisibleText(page), text) << page;
    // Any bytes at all: the text is never longer than the page.
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919 + i / 13) % 256);
    for (std::size_t cut = 0; cut < bytes.size(); cut += 97)
        EXPECT_LE(VisibleText(bytes.substr(cut)).size(), bytes.size() - cut);
}

}  // namespace
}  // namespace vitrina
