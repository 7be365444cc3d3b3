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

}  // namespace
}  // namespace vitrina
