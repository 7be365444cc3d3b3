#include "resources/find_files.h"

#include <QIODevice>
#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "support/fifo.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

TEST(FindFiles, MaskMatching) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    } cases[] = {
        {"font.TTF", "*.ttf", true}, {"font.ttf.bak", "*.ttf", false}, {"a.htm", "?.htm", true},
        {"ab.htm", "?.htm", false},  {"readme", "*", true},             {"", "*", true},
        {"x.y.z", "*.*", true},      {"abcabd", "*abd", true},          {"game.exe", "g*e.e?e", true},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
    EXPECT_TRUE(MatchesMask(Utf8ToCp1251("ШРИФТ.ttf"), Utf8ToCp1251("шрифт.*")));
}

TEST(FindFiles, BreadthFirstWithFoldersAndMasks) {
    TTempFolder temp;
    temp.Write("disc/fonts/B.ttf", "");
    temp.Write("disc/fonts/a.TTF", "");
    temp.Write("disc/fonts/read.txt", "");
    temp.Write("disc/fonts/Кириллица/c.ttf", "");
    temp.Write("disc/fonts/Кириллица/deep/d.ttf", "");
    temp.Write("disc/fonts/z/e.fon", "");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");

    TDynamicStringArray masks = {"*.TTF", "*.fon"};
    TDynamicStringArray result;
    FindFiles(drives, "d:\\fonts", masks, true, result, true);
    EXPECT_EQ(masks, (TDynamicStringArray{"*.ttf", "*.fon"}));
    const std::string k = Utf8ToCp1251("Кириллица");
    EXPECT_EQ(result, (TDynamicStringArray{"d:\\fonts\\", "d:\\fonts\\B.ttf", "d:\\fonts\\a.TTF", "d:\\fonts\\z\\",
                                           "d:\\fonts\\z\\e.fon", "d:\\fonts\\" + k + "\\",
                                           "d:\\fonts\\" + k + "\\c.ttf", "d:\\fonts\\" + k + "\\deep\\",
                                           "d:\\fonts\\" + k + "\\deep\\d.ttf"}));

    result.clear();
    FindFiles(drives, "d:\\FONTS\\", masks, false, result, false);
    EXPECT_EQ(result, (TDynamicStringArray{"d:\\FONTS\\B.ttf", "d:\\FONTS\\a.TTF"}));

    result.clear();
    FindFiles(drives, "", masks, true, result, true);
    EXPECT_TRUE(result.empty());
}

// A pipe among a disc's documents is no document: the file search leaves it out, and reading it
// by name fails at once instead of waiting for a writer that never comes.
TEST(FindFiles, PipesAreNoFilesAndReadingOneNeverBlocks) {
    TTempFolder temp;
    temp.Write("disc/html/a.htm", "a");
    test::MakeFifo(temp.Path() / "disc/html/b.htm");
    test::MakeFifo(temp.Path() / "disc/html/sub/c.htm");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    TStore store;
    const TDocumentFiles files(store, drives);
    TDynamicStringArray masks{"*.htm"}, found;
    FindFiles(drives, "d:\\html\\", masks, true, found, false);
    EXPECT_EQ(found, TDynamicStringArray{"d:\\html\\a.htm"});
    for (const char* pipe : {"d:\\html\\b.htm", "d:\\html\\sub\\c.htm"}) {
        bool read = true, opened = true;
        std::string bytes;
        EXPECT_TRUE(test::FinishesWithin(
            [&] {
                read = files.Read(pipe, bytes);
                opened = files.Open(pipe) != nullptr;
            },
            {temp.Path() / "disc/html/b.htm", temp.Path() / "disc/html/sub/c.htm"}))
            << pipe << " blocked";
        EXPECT_FALSE(read) << pipe;
        EXPECT_FALSE(opened) << pipe;
    }
}

}  // namespace
}  // namespace vitrina
