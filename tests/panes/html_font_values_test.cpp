#include "panes/html_font_values.h"

#include <gtest/gtest.h>

#include "session/settings.h"
#include "platform/cp1251.h"
#include "platform/registry.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(HtmlFontValues, AFreshStoreGivesTheDefaultsAndKeepsWhatWasWritten) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    EXPECT_EQ(THtmlFontValues::Read(reg, "T"), THtmlFontValues{});
    EXPECT_TRUE(reg.KeyExists(SettingsKey("T")));  // made on the first read

    const THtmlFontValues chosen{Utf8ToCp1251("Тахома"), 0x112233, 12, 0xFF, 0xEEEEEE};
    chosen.Write(reg, "T");
    EXPECT_EQ(THtmlFontValues::Read(reg, "T"), chosen);
    TRegistry again(dir.Path());  // from the file, not from memory
    EXPECT_EQ(THtmlFontValues::Read(again, "T"), chosen);
    EXPECT_EQ(THtmlFontValues::Read(again, "Other"), THtmlFontValues{});  // per title
}

TEST(HtmlFontValues, EachUnusableValueFallsBackAlone) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), true));
    reg.WriteString("FontName", "");
    reg.WriteString("FontSize", "12");  // a string where a number belongs
    reg.WriteInteger("FontColor", 0x0000FF);
    reg.WriteBinary("Background", "\x01\x02");
    THtmlFontValues expected;
    expected.FontColor = 0x0000FF;
    EXPECT_EQ(THtmlFontValues::Read(reg, "T"), expected);

    reg.WriteInteger("FontName", 5);  // a number where the name belongs
    EXPECT_EQ(THtmlFontValues::Read(reg, "T").FontName, "Arial");
}

TEST(HtmlFontValues, AStoreThatCannotBeOpenedGivesDefaultsAndTakesNothing) {
    test::TTempFolder dir;
    dir.Write("config", "a file where the settings folder would go");
    TRegistry reg(dir.Path() / "config");
    EXPECT_EQ(THtmlFontValues::Read(reg, "T"), THtmlFontValues{});
    EXPECT_NO_THROW((THtmlFontValues{"Verdana", 1, 2, 3, 4}.Write(reg, "T")));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "config"));
    EXPECT_EQ(THtmlFontValues::Read(reg, "T"), THtmlFontValues{});
}

}  // namespace
}  // namespace vitrina
