#include "search/disc_word_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

std::string Page(std::string_view title, std::string_view body) {
    return W("<html><head><title>" + std::string(title) + "</title></head><body><p>" + std::string(body) +
             "</p></body></html>");
}

const std::vector<TStoreFile> kPages = {
    {"brakes\\front.htm", Page("Передние колёса", "Диск и колодки: тормоз дисковый.")},
    {"brakes\\noise.htm", Page("Шум", "Тормоза скрипят на холоде.")},
    {"brakes\\bleed.htm", Page("Прокачка", "Прокачка ТОРМОЗОВ после замены жидкости.")},
    {"pump.htm", Page("Насос", "Подаёт топливо.")},
    {"fuel.htm", Page("Топливо", "Бензин подаёт насос, его проверяют каждый год.")},
    {"oil.htm", Page("Масло", "Масло меняют раз в год.")},
    {"man\\help.htm", Page("Справка", "Тормоз справки не ищут.")},
};

// A disc of a few pages in its store, its database in a cache folder of its own.
class WordIndexTest : public ::testing::Test {
protected:
    void SetUp() override { WriteDisc(kPages); }
    void WriteDisc(const std::vector<TStoreFile>& pages) {
        store.Close();
        temp.Write("disc/interface.dat", WriteStore(pages));
        ASSERT_TRUE(store.Open(temp.Path() / "disc/interface.dat"));
        store.SetPrefix("d:\\");
    }
    fs::path Cache() const { return temp.Path() / "cache"; }
    TWordResults Find(const TWordIndex& index, std::string_view query, std::size_t limit = 20) const {
        const auto results = index.Search(W(query), limit);
        EXPECT_TRUE(results) << query;
        return results.value_or(TWordResults());
    }
    std::set<std::string> Paths(const TWordIndex& index, std::string_view query) const {
        std::set<std::string> paths;
        for (const TWordHit& hit : Find(index, query).hits) paths.insert(hit.path);
        return paths;
    }

    test::TTempFolder temp;
    TDriveMap drives{temp.Path() / "disc", temp.Path() / "user"};
    TStore store;
    TDocumentFiles files{store, drives};
};

TEST_F(WordIndexTest, FindsEveryFormOfAWordAndItsPrefixes) {
    TWordIndex index;
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Built);
    EXPECT_EQ(index.DocumentCount(), 6u) << "the help folder is not searched";
    const std::set<std::string> brakes = {"d:\\brakes\\front.htm", "d:\\brakes\\noise.htm", "d:\\brakes\\bleed.htm"};
    struct Case {
        const char* query;
        std::set<std::string> paths;
    };
    const Case cases[] = {
        {"тормоз", brakes},
        {"тормоза", brakes},
        {"Тормозов", brakes},
        {"ТОРМОЗАМИ", brakes},
        // The word being typed.
        {"ТО", brakes},  // and "топливо"
        {"торм", brakes},
        {"тормозн", {}},
        {"насос", {"d:\\pump.htm", "d:\\fuel.htm"}},
        // Every word, in any form.
        {"тормоза скрипят", {"d:\\brakes\\noise.htm"}},
        {"насос топливо", {"d:\\pump.htm", "d:\\fuel.htm"}},
        {"насос масло", {}},
        // Quoted words stand together, in that order.
        {"\"тормоза скрипят\"", {"d:\\brakes\\noise.htm"}},
        {"\"скрипят тормоза\"", {}},
        {"\"подаёт насос\"", {"d:\\fuel.htm"}},
        // No word, or half a phrase while it is typed.
        {"", {}},
        {"  ,. ", {}},
        {"\"тормоза скри", {"d:\\brakes\\noise.htm"}},
        {"справки", {}},
    };
    for (const Case& c : cases) {
        std::set<std::string> expected = c.paths;
        if (std::string_view(c.query) == "ТО") expected.insert({"d:\\pump.htm", "d:\\fuel.htm"});
        EXPECT_EQ(Paths(index, c.query), expected) << c.query;
    }
}

TEST_F(WordIndexTest, RanksATitleAboveTheBodyAndMarksTheWordsFound) {
    TWordIndex index;
    ASSERT_NE(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Failed);
    const TWordResults pump = Find(index, "насосы");
    ASSERT_EQ(pump.hits.size(), 2u);
    EXPECT_EQ(pump.hits[0].path, "d:\\pump.htm");
    EXPECT_EQ(pump.hits[0].title, W("Насос"));
    EXPECT_GT(pump.hits[0].weight, pump.hits[1].weight);
    EXPECT_EQ(pump.estimate, 2u);
    EXPECT_EQ(pump.hits[1].snippet, W("Бензин подаёт <b>насос</b>, его проверяют каждый год."));

    const TWordResults noise = Find(index, "тормоз скрипит");
    ASSERT_EQ(noise.hits.size(), 1u);
    EXPECT_EQ(noise.hits[0].snippet, W("<b>Тормоза</b> <b>скрипят</b> на холоде."));
    // The snippet is HTML: the page's own text is escaped in it.
    WriteDisc({{"a.htm", W("<p>Если 2 &lt; 3 &amp; насос</p>")}});
    TWordIndex other;
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(other), TWordIndexSource::Built);
    ASSERT_EQ(Find(other, "насос").hits.size(), 1u);
    EXPECT_EQ(Find(other, "насос").hits[0].snippet, W("Если 2 &lt; 3 &amp; <b>насос</b>..."));
    EXPECT_EQ(Find(other, "насос").hits[0].title, "a.htm") << "a page without a title goes by its name";
}

TEST_F(WordIndexTest, LimitsTheHitsButCountsThemAll) {
    std::vector<TStoreFile> pages;
    for (int i = 0; i < 30; ++i) pages.push_back({"p" + std::to_string(i) + ".htm", Page("Страница", "тормоз")});
    WriteDisc(pages);
    TWordIndex index;
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Built);
    const TWordResults results = Find(index, "тормоза", 5);
    EXPECT_EQ(results.hits.size(), 5u);
    EXPECT_EQ(results.estimate, 30u);
}

TEST_F(WordIndexTest, ReusesTheDatabaseUntilTheDiscChanges) {
    TWordIndex index;
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Built);
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Reused);
    EXPECT_TRUE(Paths(index, "бензин").size() == 1);

    // A new store: the same pages and one more.
    std::vector<TStoreFile> pages = kPages;
    pages.push_back({"gear.htm", Page("Коробка", "Шестерни коробки передач.")});
    WriteDisc(pages);
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Built);
    EXPECT_EQ(Paths(index, "шестерня"), std::set<std::string>{"d:\\gear.htm"});
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Reused);

    // The disc's index files count too.
    temp.Write("disc/files.idx", "gear.htm#:#x\r\n");
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Built);
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Reused);

    // Another disc keeps a database of its own beside this one.
    test::TTempFolder second;
    second.Write("disc/interface.dat", WriteStore({{"a.htm", Page("Фара", "Свет")}}));
    TStore secondStore;
    ASSERT_TRUE(secondStore.Open(second.Path() / "disc/interface.dat"));
    secondStore.SetPrefix("d:\\");
    const TDriveMap secondDrives(second.Path() / "disc", second.Path() / "user");
    const TDocumentFiles secondFiles(secondStore, secondDrives);
    TWordIndex secondIndex;
    ASSERT_EQ(TDiscWordIndex(secondFiles, Cache()).Provide(secondIndex), TWordIndexSource::Built);
    EXPECT_NE(TDiscWordIndex(secondFiles, Cache()).Folder(), TDiscWordIndex(files, Cache()).Folder());
    ASSERT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Reused);
    EXPECT_EQ(Paths(secondIndex, "фары"), std::set<std::string>{"d:\\a.htm"});
}

TEST_F(WordIndexTest, BuildsADamagedDatabaseAgain) {
    const TDiscWordIndex discIndex(files, Cache());
    struct Damage {
        const char* what;
        std::function<void(const fs::path& folder)> apply;
    };
    const Damage damages[] = {
        {"every file overwritten",
         [](const fs::path& folder) {
             for (const auto& entry : fs::directory_iterator(folder))
                 std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << std::string(5000, 'x');
         }},
        {"every file cut short",
         [](const fs::path& folder) {
             for (const auto& entry : fs::directory_iterator(folder))
                 fs::resize_file(entry.path(), fs::file_size(entry.path()) / 3);
         }},
        {"files missing",
         [](const fs::path& folder) {
             for (const auto& entry : fs::directory_iterator(folder))
                 if (entry.path().filename().string().starts_with("postlist")) fs::remove(entry.path());
         }},
        {"a file where the folder was",
         [](const fs::path& folder) {
             fs::remove_all(folder);
             std::ofstream(folder) << "x";
         }},
    };
    for (const Damage& damage : damages) {
        TWordIndex index;
        ASSERT_NE(discIndex.Provide(index), TWordIndexSource::Failed) << damage.what;
        index.Close();
        damage.apply(discIndex.Folder());
        EXPECT_EQ(discIndex.Provide(index), TWordIndexSource::Built) << damage.what;
        EXPECT_EQ(Paths(index, "насос").size(), 2u) << damage.what;
    }
}

TEST_F(WordIndexTest, AStoppedBuildLeavesNothingBehind) {
    const TDiscWordIndex discIndex(files, Cache());
    TWordIndex index;
    std::vector<std::size_t> told;
    const auto stopAtThird = [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 6u);
        told.push_back(done);
        return done < 2;
    };
    EXPECT_EQ(discIndex.Provide(index, stopAtThird), TWordIndexSource::Stopped);
    EXPECT_FALSE(index.IsOpen());
    EXPECT_EQ(told, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_TRUE(fs::is_empty(Cache() / "words"));
    EXPECT_EQ(discIndex.Provide(index), TWordIndexSource::Built);
}

TEST_F(WordIndexTest, FailsWhereTheCacheCannotBeWritten) {
    temp.Write("cache", "a file where the folder would be");
    TWordIndex index;
    EXPECT_EQ(TDiscWordIndex(files, Cache()).Provide(index), TWordIndexSource::Failed);
    EXPECT_FALSE(index.IsOpen());
    EXPECT_EQ(index.Search(W("насос"), 10)->hits.size(), 0u);
}

}  // namespace
}  // namespace vitrina
