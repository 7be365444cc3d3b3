#include "panes/html_favorite.h"

#include <gtest/gtest.h>

#include "panes/history_items.h"
#include "platform/cp1251.h"
#include "platform/registry.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

const std::string kKey = "SOFTWARE\\Quarnelo\\Test";

TEST(HtmlFavorite, ValuesParseWithAndWithoutBraces) {
    EXPECT_EQ(THtmlFavorite::Parse(Utf8ToCp1251("{Тормоза}htmlpos=d:\\a.htm=120")),
              (RFavoriteCaption{Utf8ToCp1251("Тормоза"), "htmlpos=d:\\a.htm=120"}));
    EXPECT_EQ(THtmlFavorite::Parse("htmlpos=d:\\a.htm=0"), (RFavoriteCaption{"", "htmlpos=d:\\a.htm=0"}));
    EXPECT_EQ(THtmlFavorite::Command("d:\\html\\a.htm", 340), "htmlpos=d:\\html\\a.htm=340");
}

// A page's title is the disc's to choose; the favorite must run the command it was saved with.
TEST(HtmlFavorite, HostileCaptionsComeBackWithTheirOwnCommands) {
    const std::string command = "htmlpos=d:\\html\\a.htm=120";
    const std::string captions[] = {
        Utf8ToCp1251("Ремонт}run=d:\\q"),
        "}", "}}", "a}", "}run=z:\\bin\\sh", "{x}rungame=1", "{", "a}}}b{", "\\}", "",
    };
    THtmlFavorite favorites;
    for (const std::string& caption : captions) ASSERT_NE(favorites.Add(caption, command), THtmlFavorite::TAdded::Refused);
    TTempFolder temp;
    {
        TRegistry reg(temp.Path());
        favorites.Save(reg, kKey);
    }
    THtmlFavorite again;
    {
        TRegistry reg(temp.Path());
        again.Load(reg, kKey);
    }
    ASSERT_EQ(again.Favorites().size(), std::size(captions));
    for (std::size_t i = 0; i < std::size(captions); ++i) {
        SCOPED_TRACE(captions[i]);
        EXPECT_EQ(again.Favorites()[i].Caption, captions[i]);
        EXPECT_EQ(again.Favorites()[i].Command, command);
    }
}

// The values as the program wrote them before captions were escaped, in the file's own bytes.
TEST(HtmlFavorite, ValuesOfEarlierFilesReadAsBefore) {
    TTempFolder temp;
    temp.Write("HKEY_CURRENT_USER.reg",
               "Windows Registry Editor Version 5.00\n\n"
               "[HKEY_CURRENT_USER\\SOFTWARE\\Quarnelo\\Test]\n"
               "\"Favorite0\"=\"{Тормоза}htmlpos=d:\\\\a.htm=120\"\n"
               "\"Favorite1\"=\"{}htmlpos=d:\\\\b.htm=0\"\n"
               "\"Favorite2\"=\"{a{b}htmlpos=d:\\\\c.htm=5\"\n"
               "\"Favorite3\"=\"{Путь c:\\\\}htmlpos=d:\\\\d.htm=7\"\n"
               "\"Favorite4\"=\"htmlpos=d:\\\\e.htm=0\"\n"
               "\"Favorite5\"=\"}{x}htmlpos=d:\\\\f.htm=0\"\n");
    THtmlFavorite favorites;
    TRegistry reg(temp.Path());
    favorites.Load(reg, kKey);
    const TDynamicFavoriteCaption expected = {
        {Utf8ToCp1251("Тормоза"), "htmlpos=d:\\a.htm=120"},
        {"", "htmlpos=d:\\b.htm=0"},
        {"a{b", "htmlpos=d:\\c.htm=5"},
        {Utf8ToCp1251("Путь c:\\"), "htmlpos=d:\\d.htm=7"},
        {"", "htmlpos=d:\\e.htm=0"},
        {"", "}{x}htmlpos=d:\\f.htm=0"},
    };
    EXPECT_EQ(favorites.Favorites(), expected);
    // Written back, a caption without "}" keeps the earlier form byte for byte.
    favorites.Save(reg, kKey);
    EXPECT_NE(temp.Read("HKEY_CURRENT_USER.reg").find("\"Favorite0\"=\"{Тормоза}htmlpos=d:\\\\a.htm=120\"\n"), std::string::npos);
}

TEST(HtmlFavorite, DuplicatesAreRefusedAndTheEleventhDropsTheOldest) {
    THtmlFavorite favorites;
    EXPECT_EQ(favorites.Add("", "htmlpos=a=0"), THtmlFavorite::TAdded::Appended);
    EXPECT_EQ(favorites.Add("", "htmlpos=b=0"), THtmlFavorite::TAdded::Refused) << "one untitled favorite only";
    EXPECT_EQ(favorites.Add(Utf8ToCp1251("Двигатель"), "x"), THtmlFavorite::TAdded::Appended);
    EXPECT_EQ(favorites.Add(Utf8ToCp1251("ДВИГАТЕЛЬ"), "y"), THtmlFavorite::TAdded::Refused);
    for (int i = 2; i < 10; ++i) favorites.Add("f" + std::to_string(i), "c" + std::to_string(i));
    ASSERT_EQ(favorites.Favorites().size(), 10u);
    EXPECT_EQ(favorites.Add("f10", "c10"), THtmlFavorite::TAdded::OldestDropped);
    ASSERT_EQ(favorites.Favorites().size(), 10u);
    EXPECT_EQ(favorites.Favorites().front().Caption, Utf8ToCp1251("Двигатель"));
    EXPECT_EQ(favorites.Favorites().back().Caption, "f10");
    EXPECT_TRUE(favorites.Remove(0));
    EXPECT_FALSE(favorites.Remove(9));
    EXPECT_FALSE(favorites.Remove(-1));
    EXPECT_EQ(favorites.Favorites().front().Caption, "f2");
}

TEST(HtmlFavorite, SurvivesARestartAndIsWrittenBackCompactly) {
    TTempFolder temp;
    {
        TRegistry reg(temp.Path());
        ASSERT_TRUE(reg.OpenKey(kKey, true));
        reg.WriteString("Favorite1", Utf8ToCp1251("{Второй}htmlpos=d:\\b.htm=5"));
        reg.WriteString("Favorite3", Utf8ToCp1251("{Четвёртый}htmlpos=d:\\d.htm=7"));
        reg.WriteString("Favorite12", Utf8ToCp1251("{Лишний}x"));
    }
    THtmlFavorite favorites;
    {
        TRegistry reg(temp.Path());
        favorites.Load(reg, kKey);
    }
    ASSERT_EQ(favorites.Favorites().size(), 2u);
    EXPECT_EQ(favorites.Favorites()[0].Caption, Utf8ToCp1251("Второй"));
    favorites.Add("new", "htmlpos=d:\\n.htm=0");
    {
        TRegistry reg(temp.Path());
        favorites.Save(reg, kKey);
    }
    TRegistry reg(temp.Path());
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_EQ(reg.ReadString("Favorite0"), Utf8ToCp1251("{Второй}htmlpos=d:\\b.htm=5"));
    EXPECT_EQ(reg.ReadString("Favorite1"), Utf8ToCp1251("{Четвёртый}htmlpos=d:\\d.htm=7"));
    EXPECT_EQ(reg.ReadString("Favorite2"), "{new}htmlpos=d:\\n.htm=0");
    EXPECT_FALSE(reg.ValueExists("Favorite3"));
    EXPECT_TRUE(reg.ValueExists("Favorite12")) << "only the ten favorite values belong to the list";

    THtmlFavorite again;
    again.Load(reg, kKey);
    EXPECT_EQ(again.Favorites(), favorites.Favorites());
}

TEST(HistoryItems, BackAndForwardPopups) {
    // Ten entries, newest first; entry 3 on view.
    TDynamicStringArray titles;
    for (int i = 0; i < 10; ++i) titles.push_back("t" + std::to_string(i));
    titles[5] = "";
    titles[6] = std::string(100, 'x');

    const auto back = BackHistoryItems(titles, 3);
    ASSERT_EQ(back.size(), 8u);
    EXPECT_EQ(back[0].command, "history=4");
    EXPECT_EQ(back[1].caption, Utf8ToCp1251("Без названия"));
    EXPECT_EQ(back[2].caption, std::string(80, 'x'));
    EXPECT_EQ(back[5].command, "history=9");
    EXPECT_FALSE(back[6].visible);
    EXPECT_FALSE(back[7].visible);

    const auto forward = ForwardHistoryItems(titles, 3);
    EXPECT_EQ(forward[0].command, "history=2") << "the nearest newer entry on top";
    EXPECT_EQ(forward[1].command, "history=1");
    EXPECT_EQ(forward[2].command, "history=0") << "the newest at the bottom";
    EXPECT_FALSE(forward[3].visible);

    for (const auto& item : ForwardHistoryItems(titles, 0)) EXPECT_FALSE(item.visible) << "newest on view";
    const auto full = BackHistoryItems(titles, 0);
    EXPECT_TRUE(full[7].visible) << "eight of the nine older entries";
    EXPECT_EQ(full[7].command, "history=8");
}

}  // namespace
}  // namespace vitrina
