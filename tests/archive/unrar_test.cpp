// Archive pages and unpacking as the program drives them.
#include "archive/unrar.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "support/rar4_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

class UnRarTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::uint32_t when = test::DosTime(2024, 5, 17, 10, 30);
        const auto archive = test::WriteRar4({{"Схемы", std::nullopt, when},
                                              {"Схемы\\Двигатель", std::nullopt, when},
                                              {"Схемы\\Двигатель\\зажигание.txt", std::string("катушка"), when},
                                              {"Схемы\\Двигатель\\Датчики", std::nullopt, when},
                                              {"Схемы\\Кузов", std::nullopt, when},
                                              {"Инструкции", std::nullopt, when},
                                              {"readme.txt", std::string("архив"), when}});
        folder.Write("disc/shemy.rar", archive.bytes);
        fs::create_directories(folder.Path() / "c" / "windows" / "temp");
        drives = std::make_unique<TDriveMap>(folder.Path() / "disc", folder.Path() / "c");
    }
    TArchiveActions Actions() {
        TArchiveActions a;
        a.showMessage = [this](const std::string& m) { messages.push_back(Cp1251ToUtf8(m)); };
        a.setBusy = [this](bool busy) { busyCalls.push_back(busy); };
        a.pathInputText = [this]() -> std::optional<std::string> { return pathBox; };
        a.showsArchivePage = [this] { return flag; };
        a.showDocument = [this](const std::string& d) {
            shown.push_back(d);
            flag = unrar->UpdateArchiveFlag(flag, d);  // as the pane does after each load
        };
        a.now = [] { return 12345u; };
        return a;
    }
    void Load(const std::string& document) { flag = unrar->UpdateArchiveFlag(flag, document); }
    fs::path Temp() const { return folder.Path() / "c" / "windows" / "temp"; }

    test::TTempFolder folder;
    std::unique_ptr<TDriveMap> drives;
    std::unique_ptr<TUnRar> unrar;
    std::vector<std::string> messages, shown;
    std::vector<bool> busyCalls;
    std::optional<std::string> pathBox;
    bool flag = false;
};

TEST_F(UnRarTest, PagesAreWrittenOnceShownAndGoneAtTheEnd) {
    fs::create_directories(Temp() / "as_old_left_over" / "sub");
    fs::create_directories(Temp() / "keep_me");
    unrar = std::make_unique<TUnRar>(*drives, "c:\\windows\\temp\\", Actions());
    unrar->OpenArchivePage("d:\\shemy.rar", "d:\\media.htm");
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_FALSE(fs::exists(Temp() / "as_old_left_over")) << "old page folders go at the first request";
    EXPECT_TRUE(fs::exists(Temp() / "keep_me"));
    const fs::path pages = Temp() / "as_d__shemy_rar";
    ASSERT_EQ(shown, std::vector<std::string>{"c:\\windows\\temp\\as_d__shemy_rar\\as_shemy.rar.htm"});
    EXPECT_TRUE(flag) << "the frameset is an archive page";
    // Root, Схемы, Двигатель, Датчики, Кузов, Инструкции: six listing pages, the frameset, the bar.
    int files = 0;
    for (const auto& e : fs::directory_iterator(pages)) files += e.is_regular_file();
    EXPECT_EQ(files, 8);
    EXPECT_TRUE(fs::exists(pages / "as_012345.htm"));

    // Within the run the pages are reused: a removed page is not written again.
    fs::remove(pages / "as_012345.htm");
    unrar->OpenArchivePage("d:\\shemy.rar", "c:\\windows\\temp\\as_d__shemy_rar\\as_shemy.rar.htm");
    EXPECT_FALSE(fs::exists(pages / "as_012345.htm"));
    EXPECT_EQ(shown.size(), 2u);

    // Going back to the document the archive was opened from clears the mark; others keep it.
    Load("c:\\windows\\temp\\as_d__shemy_rar\\as_012345.htm");
    EXPECT_TRUE(flag);
    Load("D:\\MEDIA.HTM");
    EXPECT_FALSE(flag);
    Load("d:\\other.htm");
    EXPECT_FALSE(flag);

    unrar.reset();
    EXPECT_FALSE(fs::exists(pages)) << "the page folders go at the end";
    EXPECT_TRUE(fs::exists(Temp() / "keep_me"));
}

TEST_F(UnRarTest, UnpackingIntoThePathBoxFolderTakesAFreeSubfolder) {
    unrar = std::make_unique<TUnRar>(*drives, "c:\\windows\\temp\\", Actions());
    unrar->ExtractArchive();
    EXPECT_TRUE(busyCalls.empty()) << "no archive page was shown yet";
    unrar->OpenArchivePage("d:\\shemy.rar", "d:\\media.htm");
    unrar->ExtractArchive();
    EXPECT_TRUE(busyCalls.empty()) << "a screen without a path box unpacks nothing";

    pathBox = Utf8ToCp1251("c:\\Документы");
    unrar->ExtractArchive();
    unrar->ExtractArchive();
    EXPECT_EQ(busyCalls, (std::vector<bool>{true, false, true, false}));
    const fs::path documents = folder.Path() / "c" / "Документы";
    EXPECT_TRUE(fs::exists(documents / "shemy.rar" / "readme.txt"));
    EXPECT_TRUE(fs::exists(documents / "shemy1.rar" / "readme.txt"));
    EXPECT_TRUE(fs::exists(documents / "shemy1.rar" / "Схемы" / "Двигатель" / "зажигание.txt"));
    // Each unpack says where the files are, as a host path.
    EXPECT_EQ(messages, (std::vector<std::string>{"Архив распакован в папку " + (documents / "shemy.rar").string(),
                                                  "Архив распакован в папку " + (documents / "shemy1.rar").string()}));
    messages.clear();

    // Beside the pages, for a link into the archive: nothing to tell.
    unrar->ExtractIntoPageFolder();
    EXPECT_TRUE(fs::exists(Temp() / "as_d__shemy_rar" / "readme.txt"));
    EXPECT_TRUE(messages.empty()) << messages.front();
}

}  // namespace
}  // namespace vitrina
