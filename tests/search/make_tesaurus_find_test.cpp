#include "search/make_tesaurus_find.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

class ThesaurusFixture : public ::testing::Test {
protected:
    std::optional<std::string> Lookup(std::string_view word) {
        TMakeTesaurusFind find(files, [this](const std::string& text, TSearchMessageKind) {
            messages.push_back(Cp1251ToUtf8(text));
        });
        find.SetIndexFolder("d:\\run\\");
        std::string document;
        if (!find.FindThesaurusEntry(W(word), document)) return std::nullopt;
        return Cp1251ToUtf8(document);
    }

    test::TTempFolder temp;
    TDriveMap drives{temp.Path() / "disc" / "run", temp.Path() / "user"};
    TStore store;
    TDocumentFiles files{store, drives};
    std::vector<std::string> messages;
};

TEST_F(ThesaurusFixture, TheFirstLineWhoseKeyTheWordHoldsGivesTheDocument) {
    temp.Write("disc/run/tezaurus.idx",
               W("Начало~ tez\\start.htm#top \r\nДвигатель~tez\\engine.htm\r\n  масло~tez\\oil.htm\r\n"
                 "Карбюратор~tez\\carb.htm\r\n~tez\\nokey.htm\r\nбез документа\r\nкарбюратор~tez\\second.htm\r\n"
                 "Фильтр~tez\\filter.htm"));
    struct Case {
        const char* word;
        std::optional<std::string> document;
    };
    const Case cases[] = {
        {"", "tez\\start.htm#top"},
        {"двигатель", "tez\\engine.htm"},
        {"Большой ДВИГАТЕЛЬ", "tez\\engine.htm"},
        {"двигател", std::nullopt},
        {"карбюратора", "tez\\carb.htm"},
        {"МАСЛО", "tez\\oil.htm"},
        {"без документа", std::nullopt},
        {"фильтры", "tez\\filter.htm"},
        {"насос", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(Lookup(c.word), c.document) << c.word;
    EXPECT_TRUE(messages.empty());
}

TEST_F(ThesaurusFixture, NothingWithoutTheIndexOrAStartDocument) {
    EXPECT_EQ(Lookup(""), std::nullopt);
    EXPECT_EQ(Lookup("слово"), std::nullopt);
    EXPECT_TRUE(messages.empty()) << "a missing index is silent";
    temp.Write("disc/run/tezaurus.idx", W("Начало\r\nслово~tez\\word.htm\r\n"));
    EXPECT_EQ(Lookup(""), std::nullopt) << "the first line names no document";
    EXPECT_EQ(Lookup("слово"), "tez\\word.htm");
}

}  // namespace
}  // namespace vitrina
