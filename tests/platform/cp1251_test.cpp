#include "platform/cp1251.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(Cp1251, EveryAssignedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;  // the one unassigned byte
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(byte)), byte) << b;
    }
}

TEST(Cp1251, KnownLettersAndSymbols) {
    EXPECT_EQ(Utf8ToCp1251("АЯаяЁё№€"), "\xC0\xDF\xE0\xFF\xA8\xB8\xB9\x88");
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xEC\xE5\xF0"), "Пример");
}

TEST(Cp1251, WhatItCannotHoldBecomesQuestionMark) {
    EXPECT_EQ(Utf8ToCp1251("a中b😀c"), "a?b?c");
    // Broken UTF-8: a lone continuation byte, a truncated sequence at the end.
    EXPECT_EQ(Utf8ToCp1251("x\x80y"), "x?y");
    EXPECT_EQ(Utf8ToCp1251("x\xD0"), "x?");
}

TEST(Cp1251, CaseFolding) {
    EXPECT_EQ(LowerCase1251(Utf8ToCp1251("ABC Привет ЁЖ")), Utf8ToCp1251("abc привет ёж"));
    EXPECT_EQ(UpperCase1251(Utf8ToCp1251("abc привет ёж")), Utf8ToCp1251("ABC ПРИВЕТ ЁЖ"));
    EXPECT_EQ(LowerAscii(Utf8ToCp1251("AbC Привет")), Utf8ToCp1251("abc Привет"));
    EXPECT_TRUE(SameText1251(Utf8ToCp1251("Struct.CFS"), "struct.cfs"));
    EXPECT_TRUE(SameText1251(Utf8ToCp1251("ЁЛКА"), Utf8ToCp1251("ёлка")));
    EXPECT_FALSE(SameText1251(Utf8ToCp1251("ёлка"), Utf8ToCp1251("елка")));
    EXPECT_EQ(FindText1251(Utf8ToCp1251("Это МОТОР"), Utf8ToCp1251("мотор")), 4u);
}

}  // namespace
}  // namespace vitrina
