#include "session/settings.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "resources/screen_model.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(Settings, SwitchValueNamesJoinIndicesWithoutSeparator) {
    EXPECT_EQ(SwitchValueName("SwOne", 1, 3), "SwOne13");
    EXPECT_EQ(SwitchValueName("SwOne", 1, 12), SwitchValueName("SwOne", 11, 2));
    EXPECT_EQ(SwitchValueName("SwGrp", 0, 0), "SwGrp00");
    EXPECT_EQ(SettingsKey("T1"), "SOFTWARE\\Quarnelo\\T1");
}

TEST(Settings, FirstRunWritesTheDefaultsBack) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    TSettings s;
    s.Load(reg, "T", false);
    EXPECT_TRUE(s.Clip && s.Wav && s.BGSound && s.Animation && s.Hint);
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), false));
    for (const char* name : {"Clip", "Wav", "BGSound", "Animation", "Hint"}) EXPECT_TRUE(reg.ReadBool(name)) << name;
    EXPECT_FALSE(reg.ValueExists("RunSlideShow"));  // only with slide areas

    TSettings withSlides;
    withSlides.Load(reg, "T", true);
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), false));
    EXPECT_FALSE(reg.ReadBool("RunSlideShow"));
    EXPECT_EQ(reg.ReadInteger("SlideShowTime"), 5);
    EXPECT_EQ(reg.ReadInteger("ImageSequence"), 0);
}

TEST(Settings, StoredValuesWinAndWrongTypesGiveTheDefault) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), true));
    reg.WriteBool("Wav", false);
    reg.WriteString("Clip", "0");  // wrongly typed: default, and written back as a DWORD
    TSettings s;
    s.Load(reg, "T", false);
    EXPECT_FALSE(s.Wav);
    EXPECT_TRUE(s.Clip);
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), false));
    EXPECT_TRUE(reg.ReadBool("Clip"));
}

TEST(Settings, StoredSwitchStatesSurviveARestart) {
    test::TTempFolder dir;
    auto makeModel = [] {
        TScreenModel m("d:\\");
        m.ScreenSwitches.resize(2);
        m.ScreenSwitches[1].resize(2);
        m.ScreenSwitches[1][0].store = true;
        m.ScreenSwitches[1][1].store = false;
        m.ScreenGroups.resize(1);
        m.ScreenGroups[0].resize(2);
        m.ScreenGroups[0][0].store = true;
        m.ScreenGroups[0][0].state = true;
        m.ScreenGroups[0][1].store = true;
        return m;
    };
    TRegistry reg(dir.Path());
    {
        TScreenModel m = makeModel();
        ReadStoredSwitchStates(reg, "T", m);  // nothing stored: described states stay
        EXPECT_FALSE(m.ScreenSwitches[1][0].state);
        EXPECT_TRUE(m.ScreenGroups[0][0].state);
        m.ScreenSwitches[1][0].state = true;
        m.ScreenSwitches[1][1].state = true;  // not stored
        m.ScreenGroups[0][0].state = false;
        m.ScreenGroups[0][1].state = true;
        WriteStoredSwitchStates(reg, "T", m);
    }
    TScreenModel m = makeModel();
    m.ScreenSwitches[1][0].Hovered = true;
    ReadStoredSwitchStates(reg, "T", m);
    EXPECT_TRUE(m.ScreenSwitches[1][0].state);
    EXPECT_FALSE(m.ScreenSwitches[1][0].Hovered);
    EXPECT_FALSE(m.ScreenSwitches[1][1].state);
    EXPECT_FALSE(m.ScreenGroups[0][0].state);
    EXPECT_TRUE(m.ScreenGroups[0][1].state);
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), false));
    EXPECT_TRUE(reg.ReadBool("SwOne10"));
    EXPECT_FALSE(reg.ValueExists("SwOne11"));
    EXPECT_TRUE(reg.ReadBool("SwGrp01"));
}

}  // namespace
}  // namespace vitrina
