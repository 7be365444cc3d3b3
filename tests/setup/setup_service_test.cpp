#include "setup/setup_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/registry.h"
#include "resources/drive_map.h"
#include "session/busy.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

// Records what would be started.
class TStartedPrograms : public IDesktop {
public:
    void ShellExecute(const std::string& target, const std::string& params) override {
        started.push_back(target + "|" + params);
    }
    void WinExec(const std::string&, const std::string&) override {}
    void ShowHelpTopic(const std::string&, const std::string&) override {}
    void PlayClickSound(const std::string&) override {}
    void PlayClickSoundToEnd(const std::string&) override {}
    std::vector<std::string> started;
};

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Setup : public ::testing::Test {
protected:
    test::TTempFolder dir;
    TDriveMap drives{dir.Path() / "disc", dir.Path() / "user"};
    TStartedPrograms desktop;
    TSetupService setup{drives, desktop, dir.Path() / "config", dir.Path() / "fonts"};
};

TEST(SplitExeName, SplitsAfterTheFirstExeInAnyCase) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"game.exe", "game.exe", ""},
        {"GAME.EXE -full /w", "GAME.EXE", "-full /w"},
        {"Game.Exe/x", "Game.Exe", "/x"},
        {"run.exe.bak.exe a", "run.exe", ".bak.exe a"},
        {"readme", "readme", ""},
        {"", "", ""},
    };
    for (const auto& [text, name, params] : cases) {
        const auto split = SplitExeName(text);
        EXPECT_EQ(split.first, name) << text;
        EXPECT_EQ(split.second, params) << text;
    }
}

TEST_F(Setup, FontsOfTheDocumentsFolderAreCopiedAndRegistered) {
    dir.Write("disc/docs/a.ttf", "font a");
    dir.Write("disc/docs/B.TTF", "font b");
    dir.Write("disc/docs/notes.txt", "no font");
    dir.Write("disc/docs/sub/c.ttf", "not this one");
    // An older file of the same name is overwritten; a link there is replaced, not followed.
    dir.Write("fonts/a.ttf", "old");
    dir.Write("elsewhere.ttf", "keep");
    fs::create_symlink(dir.Path() / "elsewhere.ttf", dir.Path() / "fonts" / "B.TTF");
    std::vector<std::string> registered, refreshed;
    setup.Fonts().OnInstalled = [&](const fs::path& font) { registered.push_back(font.filename().string()); };
    setup.Fonts().RefreshCache = [&](const fs::path& folder) { refreshed.push_back(folder.string()); };

    setup.InstallFonts();  // no document yet: nothing
    EXPECT_TRUE(registered.empty());
    setup.SetFontFolder("d:\\docs\\page.htm");
    setup.InstallFonts();
    std::sort(registered.begin(), registered.end());
    EXPECT_EQ(registered, (std::vector<std::string>{"B.TTF", "a.ttf"}));
    EXPECT_EQ(refreshed, std::vector<std::string>{(dir.Path() / "fonts").string()});
    EXPECT_EQ(ReadAll(dir.Path() / "fonts" / "a.ttf"), "font a");
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "fonts" / "B.TTF"));
    EXPECT_EQ(ReadAll(dir.Path() / "fonts" / "B.TTF"), "font b");
    EXPECT_EQ(ReadAll(dir.Path() / "elsewhere.ttf"), "keep");
    EXPECT_FALSE(fs::exists(dir.Path() / "fonts" / "c.ttf"));
    EXPECT_FALSE(fs::exists(dir.Path() / "fonts" / "notes.txt"));
}

TEST_F(Setup, AFailingFontRegistrationLeavesTheProgramNotBusy) {
    dir.Write("disc/docs/a.ttf", "font a");
    setup.Fonts().OnInstalled = [](const fs::path&) { throw std::runtime_error("no room for the font"); };
    setup.SetFontFolder("d:\\docs\\page.htm");
    EXPECT_THROW(setup.InstallFonts(), std::runtime_error);
    EXPECT_FALSE(IsBusy());
}

TEST_F(Setup, GamesStartFromTheirRecordOrTheirSetupProgram) {
    {
        TRegistry machine(dir.Path() / "config", THive::LocalMachine);
        ASSERT_TRUE(machine.OpenKey("SOFTWARE\\Vostrand\\Racer", true));
        machine.WriteString("instdir", "c:\\games\\racer");
        machine.WriteString("exename", "RACER.EXE -full");
    }
    EXPECT_TRUE(setup.GameValuePresent("Racer", "exename"));
    EXPECT_FALSE(setup.GameValuePresent("Racer", "other"));
    EXPECT_FALSE(setup.GameValuePresent("Missing", "exename"));
    setup.RunGame("d:\\setup\\setup.exe /s", "Racer");
    setup.RunGame("d:\\setup\\setup.exe /s", "Missing");
    EXPECT_EQ(desktop.started,
              (std::vector<std::string>{"c:\\games\\racer\\RACER.EXE|-full", "d:\\setup\\setup.exe|/s"}));
}

void WriteRecord(const fs::path& config, const std::string& key, const std::string& instdir) {
    TRegistry machine(config, THive::LocalMachine);
    ASSERT_TRUE(machine.OpenKey("SOFTWARE\\Vostrand\\" + key, true));
    machine.WriteString("instdir", instdir);
}

TEST_F(Setup, RemovingAGameRunsItsUninstallerFoundLevelsUpAndDeletesOnlyRemainsItMay) {
    dir.Write("user/games/racer/Uninst.isu", "log");
    dir.Write("user/games/racer/bin/racer.exe", "exe");
    dir.Write("user/games/racer/saves/one.sav", "save");
    dir.Write("user/keep.txt", "keep");
    dir.Write("outside/precious.txt", "keep");
    fs::create_symlink(dir.Path() / "outside", dir.Path() / "user" / "games" / "racer" / "link");
    dir.Write("disc/games/Uninst.isu", "on the disc");
    dir.Write("disc/games/data.bin", "disc");
    std::vector<std::string> runs;
    bool removesRecord = false;
    setup.RunUninstaller = [&](const std::string& program, const std::string& params) {
        runs.push_back(program + " " + params);
        if (removesRecord) WriteRecord(dir.Path() / "config", "Racer", "");
    };
    std::vector<std::string> messages;
    setup.ShowMessage = [&](const std::string& text) { messages.push_back(text); };

    // The uninstaller leaves the record: nothing is deleted.
    WriteRecord(dir.Path() / "config", "Racer", "c:\\games\\racer\\bin\\");
    setup.RemoveGame("Racer");
    EXPECT_EQ(runs, std::vector<std::string>{"c:\\windows\\IsUninst.exe -f\"c:\\games\\racer\\Uninst.isu"});
    EXPECT_TRUE(fs::exists(dir.Path() / "user/games/racer/bin/racer.exe"));

    // It removes it: the folder of "Uninst.isu" goes, a link in it goes as a link.
    removesRecord = true;
    setup.RemoveGame("Racer");
    EXPECT_FALSE(fs::exists(dir.Path() / "user/games/racer"));
    EXPECT_TRUE(fs::exists(dir.Path() / "user/games"));
    EXPECT_TRUE(fs::exists(dir.Path() / "user/keep.txt"));
    EXPECT_TRUE(fs::exists(dir.Path() / "outside/precious.txt"));
    EXPECT_TRUE(messages.empty());

    // A record aiming outside the c: tree, at its root, or through a link deletes nothing.
    dir.Write("user/Uninst.isu", "log");
    fs::create_directories(dir.Path() / "user" / "games");
    fs::create_symlink(dir.Path() / "outside", dir.Path() / "user" / "games" / "linked");
    dir.Write("outside/Uninst.isu", "log");
    const std::string host = drives.ToWindowsPath(dir.Path() / "outside");
    for (const std::string& instdir : std::vector<std::string>{"d:\\games", "c:\\", "c:\\games\\linked", host}) {
        WriteRecord(dir.Path() / "config", "Racer", instdir);
        setup.RemoveGame("Racer");
    }
    EXPECT_TRUE(fs::exists(dir.Path() / "disc/games/data.bin"));
    EXPECT_TRUE(fs::exists(dir.Path() / "user/keep.txt"));
    EXPECT_TRUE(fs::exists(dir.Path() / "outside/precious.txt"));

    // No uninstaller on the way up: the reader is told.
    runs.clear();
    WriteRecord(dir.Path() / "config", "Other", "d:\\nothing\\here");
    setup.RemoveGame("Other");
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(messages, std::vector<std::string>{Utf8ToCp1251("Игра не установлена.")});
}

}  // namespace
}  // namespace vitrina
