#include "search/make_find.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// A disc folder whose index files lie on disk, with an optional store beside them.
class IndexFixture : public ::testing::Test {
protected:
    void WriteIndex(const std::string& keywords, const std::string& index, const std::string& files) {
        temp.Write("disc/keywords.idx", W(keywords));
        temp.Write("disc/index.idx", index);
        temp.Write("disc/files.idx", W(files));
    }
    void WriteStore(const std::vector<TStoreFile>& files) {
        temp.Write("disc/interface.dat", vitrina::WriteStore(files));
        ASSERT_TRUE(store.Open(temp.Path() / "disc/interface.dat"));
        store.SetPrefix("d:\\");
    }
    TMakeFind Find() {
        TMakeFind find(files, [this](const std::string& text, TSearchMessageKind kind) {
            messages.push_back(Cp1251ToUtf8(text) + (kind == TSearchMessageKind::Warning ? " (warning)" : ""));
        });
        find.SetIndexFolder("d:\\");
        return find;
    }

    test::TTempFolder temp;
    TDriveMap drives{temp.Path() / "disc", temp.Path() / "user"};
    TStore store;
    TDocumentFiles files{store, drives};
    std::vector<std::string> messages;
};

TEST(IndexLines, ReadLineByLineAtCarriageReturnsDroppingLineFeeds) {
    struct Case {
        std::string bytes;
        std::vector<std::pair<std::string, bool>> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {{"a", true}, {"b", true}, {"", false}}},
        {"a\r\nbc", {{"a", true}, {"bc", false}}},
        {"", {{"", false}}},
        {"a\nb\rc\n", {{"ab", true}, {"c", false}}},
        {"\r\r", {{"", true}, {"", true}, {"", false}}},
        {std::string("x\0y\r", 4), {{std::string("x\0y", 3), true}, {"", false}}},
    };
    test::TTempFolder temp;
    TStore store;
    const TDriveMap drives(temp.Path(), temp.Path() / "user");
    const TDocumentFiles files(store, drives);
    for (const Case& c : cases) {
        temp.Write("lines.idx", c.bytes);
        TComprStream stream(files, "d:\\lines.idx");
        std::vector<std::pair<std::string, bool>> lines;
        std::string line;
        for (bool more = true; more && lines.size() < 10;) {
            more = ReadIndexLine(stream, line);
            lines.emplace_back(line, more);
        }
        EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(IndexLines, SplitTrimsFieldsDropsEmptyOnesAndKeepsTheLastAsItIs) {
    struct Case {
        const char* separator;
        const char* text;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {":", "12:40:41", {"12", "40", "41"}},
        {":", "a::b", {"a", "b"}},
        {":", "word:", {"word", ""}},
        {":", "word", {"word"}},
        {":", "", {}},
        {":", ":", {}},
        {":", " a : b ", {"a", " b "}},
        {":", "a:b:", {"a", "b"}},
        {":", ":: x", {" x"}},
        {"#:#", "html\\p.htm#:# Title ", {"html\\p.htm", " Title "}},
        {"#:#", "a#:", {"a#:"}},
        {"#:#", "p#:#", {"p", ""}},
        {"##", "###", {"#"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitBySeparator(c.separator, c.text), c.fields) << c.separator << " in \"" << c.text << "\"";
}

TEST_F(IndexFixture, FindsTheDocumentsOfTheWholeKeywordInFileOrder) {
    WriteIndex("масло\r\nфильтр\r\nмасло\r\nдиск\r\nколодки\r\nпетля\r\nзамок\r\nручка",
               "3:1\r\n2:2\r\n4\r\n5\r\n1:x:0:4\r\n9:4\r\n4:3:2:1\r\n2",
               "html\\a.htm#:#Масло\r\nhtml\\b.htm#:#\r\n  html\\c.htm  #:# Третий \r\nd.htm\r\n");
    struct Case {
        const char* query;
        bool caseSensitive;
        std::vector<std::string> paths, titles;
    };
    const Case cases[] = {
        // Documents in the order of files.idx; the second "масло" is never reached.
        {"масло", false, {"html\\a.htm", "html\\c.htm"}, {"Масло", " Третий "}},
        {"МаСлО", false, {"html\\a.htm", "html\\c.htm"}, {"Масло", " Третий "}},
        {"МаСлО", true, {}, {}},
        {"масло ", false, {}, {}},
        {"масл", false, {}, {}},
        {"фильтр", false, {"html\\b.htm"}, {""}},
        // A number that is no number, and 0, name no document.
        {"колодки", false, {"html\\a.htm", "d.htm"}, {"Масло", ""}},
        {"петля", false, {"d.htm"}, {""}},
        {"замок", false, {"html\\a.htm", "html\\b.htm", "html\\c.htm", "d.htm"}, {"Масло", "", " Третий ", ""}},
        // The last keyword without a line end, its line of index.idx the last one without either.
        {"ручка", false, {"html\\b.htm"}, {""}},
        {"", false, {}, {}},
    };
    for (const Case& c : cases) {
        TFindResultLists results;
        const bool found = Find().FindDocuments(W(c.query), results, c.caseSensitive);
        std::vector<std::string> paths, titles;
        for (const auto& p : results.paths) paths.push_back(Cp1251ToUtf8(p));
        for (const auto& t : results.titles) titles.push_back(Cp1251ToUtf8(t));
        EXPECT_EQ(found, !c.paths.empty()) << c.query;
        EXPECT_EQ(paths, c.paths) << c.query;
        EXPECT_EQ(titles, c.titles) << c.query;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(IndexFixture, AKeywordBeyondTheLastIndexLineFindsNothing) {
    WriteIndex("один\r\nдва\r\nтри\r\n", "1\r\n", "a.htm#:#A\r\n");
    TFindResultLists results;
    EXPECT_FALSE(Find().FindDocuments(W("два"), results, false));
    EXPECT_FALSE(Find().FindDocuments(W("три"), results, false));
    EXPECT_TRUE(results.paths.empty());
    EXPECT_TRUE(Find().FindDocuments(W("один"), results, false));
    // Results are appended to what the caller already holds.
    EXPECT_TRUE(Find().FindDocuments(W("один"), results, false));
    EXPECT_EQ(results.paths, (TDynamicStringArray{"a.htm", "a.htm"}));
}

TEST_F(IndexFixture, MissingIndexFilesAreReportedAndFindNothing) {
    temp.Write("disc/keywords.idx", "a\r\n");
    temp.Write("disc/index.idx", "1\r\n");
    TMakeFind find = Find();
    EXPECT_FALSE(find.IndexFilesPresent());
    TFindResultLists results;
    EXPECT_FALSE(find.FindDocuments("a", results, false));
    EXPECT_TRUE(results.paths.empty());
    EXPECT_EQ(messages, (std::vector<std::string>{"Индескный(е) файл(ы) не найден"}));
    temp.Write("disc/files.idx", "a.htm#:#A\r\n");
    EXPECT_TRUE(find.IndexFilesPresent());
    EXPECT_TRUE(find.FindDocuments("a", results, false));
}

TEST_F(IndexFixture, IndexFilesInTheStoreComeBeforeThoseOnDisk) {
    WriteIndex("диск\r\n", "1\r\n", "disk.htm#:#С диска\r\n");
    WriteStore({{"files.idx", W("store.htm#:#Из хранилища\r\n")}});
    TMakeFind find(files, nullptr);
    // The folder is taken with or without its final backslash.
    find.SetIndexFolder("d:\\");
    EXPECT_EQ(find.IndexFolder(), "d:");
    TFindResultLists results;
    ASSERT_TRUE(find.FindDocuments(W("диск"), results, false));
    EXPECT_EQ(results.paths, TDynamicStringArray{"store.htm"});
    EXPECT_EQ(results.titles, TDynamicStringArray{W("Из хранилища")});
}

TEST_F(IndexFixture, ACacheKeepsTheIndexFilesBetweenSearches) {
    WriteIndex("диск\r\nколесо\r\n", "1\r\n1:2\r\n", "a.htm#:#A\r\nb.htm#:#B\r\n");
    TIndexFileCache cache;
    const auto search = [&](const char* query, TIndexFileCache* withCache) {
        TMakeFind find(files, nullptr, withCache);
        find.SetIndexFolder("d:\\");
        TFindResultLists results;
        find.FindDocuments(W(query), results, false);
        return results.titles;
    };
    EXPECT_EQ(search("диск", &cache), TDynamicStringArray{"A"});
    temp.Write("disc/files.idx", "a.htm#:#new A\r\nb.htm#:#new B\r\n");
    EXPECT_EQ(search("колесо", &cache), (TDynamicStringArray{"A", "B"}));
    EXPECT_EQ(search("колесо", nullptr), (TDynamicStringArray{"new A", "new B"}));
}

TEST_F(IndexFixture, TitlesAreFoundByFileNameIgnoringCase) {
    temp.Write("disc/files.idx", W("html\\Двигатель.htm#:#  Двигатель \r\nother\\двигатель.HTM#:#Второй\r\n"
                                   "  plain.htm  #:#Простой\r\nuntitled.htm\r\nlast.htm#:#Последний"));
    const TFileTitles titles(files, "d:\\");
    ASSERT_TRUE(titles.Loaded());
    struct Case {
        const char* document;
        std::optional<std::string> title;
    };
    const Case cases[] = {
        {"d:\\html\\ДВИГАТЕЛЬ.htm", "Двигатель"},
        {"d:\\elsewhere\\двигатель.htm", "Двигатель"},
        {"d:\\PLAIN.HTM", "Простой"},
        {"d:\\x\\untitled.htm", ""},
        {"d:\\last.htm", "Последний"},
        {"d:\\none.htm", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto title = titles.TitleOf(W(c.document));
        EXPECT_EQ(title ? std::optional(Cp1251ToUtf8(*title)) : std::nullopt, c.title) << c.document;
    }
    EXPECT_FALSE(TFileTitles(files, "d:\\nowhere").Loaded());
    EXPECT_FALSE(TFileTitles(files, "d:\\nowhere").TitleOf("d:\\last.htm"));
}

TEST_F(IndexFixture, HugeHostileIndexLinesStayBounded) {
    // One keyword line of a million numbers, most of them repeated or out of range.
    std::string numbers;
    for (int i = 0; i < 200000; ++i) numbers += (i % 3 == 0 ? "99999999999999999999999:" : "2:1:");
    std::string keywords(1 << 20, 'a');
    keywords += "\r\nключ\r\n";
    WriteIndex(keywords, "1\r\n" + numbers + "\r\n", "a.htm#:#A\r\nb.htm#:#B\r\n");
    TFindResultLists results;
    ASSERT_TRUE(Find().FindDocuments(W("ключ"), results, false));
    EXPECT_EQ(results.paths, (TDynamicStringArray{"a.htm", "b.htm"}));
}

}  // namespace
}  // namespace vitrina
