#include "imaging/color_names.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(ColorNames, NamedValuesGiveTheirNamesAndOthersTheirHexadecimalForm) {
    const std::pair<TColor, const char*> cases[] = {
        {0x000000, "clBlack"},     {0x0000FF, "clRed"},      {0xFF0000, "clBlue"},     {0xFFFFFF, "clWhite"},
        {0xF0CAA6, "clSkyBlue"},   {0x20000000, "clDefault"}, {0x1FFFFFFF, "clNone"},
        {0x003366, "$00003366"},   {0x123456, "$00123456"},  {0x00FFFE, "$0000FFFE"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(ColorToString(value), text);
        EXPECT_EQ(StringToColor(text), value) << text;
    }
}

TEST(ColorNames, TextsThatNameNoColourGiveNothing) {
    EXPECT_EQ(StringToColor("CLRED"), 0x0000FF);
    EXPECT_EQ(StringToColor("$ff"), 0xFF);
    for (const char* text : {"", "$", "red", "clBtnFace", "$123456789", "$12G", "00123456", " clRed"})
        EXPECT_FALSE(StringToColor(text).has_value()) << text;
}

TEST(ColorNames, TheListHoldsNoSystemColourAndThePaletteIsItsFirstSixteen) {
    ASSERT_EQ(ColorNames().size(), 22u);
    ASSERT_EQ(BasicPalette().size(), 16u);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(BasicPalette()[i].name, ColorNames()[i].name);
    // System colours are 0x80000000 and up: none is listed.
    for (const TColorName& entry : ColorNames()) EXPECT_GE(entry.value, 0) << entry.name;
}

}  // namespace
}  // namespace vitrina
