#include "platform/user_folders.h"
#include "resources/drive_map.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/cp1251.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TEST(DriveMap, ProgramFolderFollowsTheFolderName) {
    TTempFolder temp;
    for (const char* name : {"run", "RUN", "Run"}) {
        fs::create_directories(temp.Path() / name);
        const TDriveMap drives(temp.Path() / name, temp.Path() / "user");
        EXPECT_EQ(drives.ProgramFolder(), "d:\\run\\") << name;
        EXPECT_EQ(drives.DiscRoot(), temp.Path()) << name;
    }
    fs::create_directories(temp.Path() / "disc");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    EXPECT_EQ(drives.ProgramFolder(), "d:\\");
    EXPECT_EQ(drives.DiscRoot(), temp.Path() / "disc");
}

TEST(DriveMap, ResolvesComponentsIgnoringCase) {
    TTempFolder temp;
    temp.Write("disc/Html/Глава1/Page.HTM", "x");
    temp.Write("disc/exact/a.htm", "x");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    struct Case {
        std::string windows;
        fs::path host;
    } cases[] = {
        {"d:\\html\\глава1\\page.htm", temp.Path() / "disc/Html/Глава1/Page.HTM"},
        {"D:\\HTML\\ГЛАВА1\\PAGE.HTM", temp.Path() / "disc/Html/Глава1/Page.HTM"},
        {"d:/exact/a.htm", temp.Path() / "disc/exact/a.htm"},
        {"d:\\html\\new\\file.txt", temp.Path() / "disc/Html/new/file.txt"},
        {"exact\\a.htm", temp.Path() / "disc/exact/a.htm"},
        {"c:\\windows\\temp\\", temp.Path() / "user/windows/temp"},
        {"z:\\etc\\hostname", "/etc/hostname"},
    };
    for (const auto& c : cases) {
        const auto host = drives.ToHostPath(W(c.windows));
        ASSERT_TRUE(host) << c.windows;
        EXPECT_EQ(*host, c.host) << c.windows;
    }
    EXPECT_FALSE(drives.ToHostPath("q:\\x"));
    EXPECT_TRUE(drives.FileExists(W("d:\\HTML\\глава1\\page.htm")));
    EXPECT_TRUE(drives.DirectoryExists("d:\\html"));
    EXPECT_FALSE(drives.FileExists("d:\\html"));
}

// Refused names give no host path and no file, as a missing file would; nothing throws.
TEST(DriveMap, RefusesNamesAndLinksThatLeadOutOfTheirFolder) {
    TTempFolder temp;
    temp.Write("disc/html/page.htm", "x");
    temp.Write("disc/exact/a.htm", "x");
    temp.Write("outside/secret.txt", "secret");
    fs::create_directories(temp.Path() / "user/mine");
    fs::create_directory_symlink(temp.Path() / "outside", temp.Path() / "disc/Out");
    fs::create_symlink(temp.Path() / "outside/secret.txt", temp.Path() / "disc/secret.txt");
    fs::create_symlink(temp.Path() / "outside/nothing.txt", temp.Path() / "disc/nowhere.txt");
    fs::create_directory_symlink(temp.Path() / "outside", temp.Path() / "user/mine/escape");
    fs::create_directory_symlink(temp.Path() / "disc/html", temp.Path() / "disc/inside");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    const struct {
        const char* why;
        std::string windows;
    } refused[] = {
        {"parent component", "d:\\..\\outside\\secret.txt"},
        {"parent components that fold back in", "d:\\..\\..\\exact\\.\\a.htm"},
        {"parent component behind a slash", "c:\\mine\\x/../../.bashrc"},
        {"parent component of a relative name", "..\\outside\\secret.txt"},
        {"parent component on z:", "z:\\etc\\..\\etc\\hostname"},
        {"dot component", "d:\\html\\.\\page.htm"},
        {"empty component", "d:\\html\\\\page.htm"},
        {"empty component of slashes", "d:/html//page.htm"},
        {"network name", "\\\\server\\share\\page.htm"},
        {"NUL inside a name", std::string("d:\\html\\page.htm\0.txt", 21)},
        {"folder link out of the disc", "d:\\out\\secret.txt"},
        {"folder link out of the disc, exact case", "d:\\Out\\secret.txt"},
        {"file link out of the disc", "d:\\secret.txt"},
        {"link to nothing", "d:\\nowhere.txt"},
        {"new file below a link out of the user tree", "c:\\mine\\escape\\new.txt"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(drives.ToHostPath(c.windows)) << c.why;
        EXPECT_FALSE(drives.FileExists(c.windows)) << c.why;
    }
    EXPECT_FALSE(drives.DirectoryExists("d:\\out"));
    // Links that stay inside, and a folder's trailing separator, are fine.
    EXPECT_EQ(drives.ToHostPath("d:\\inside\\page.htm"), temp.Path() / "disc/inside/page.htm");
    EXPECT_TRUE(drives.FileExists("d:\\INSIDE\\page.htm"));
    EXPECT_TRUE(drives.DirectoryExists("c:\\mine\\"));
    // A disc reached through a link of its own keeps its inside links and still refuses the others.
    fs::create_directory_symlink(temp.Path() / "disc", temp.Path() / "discLink");
    const TDriveMap linked(temp.Path() / "discLink", temp.Path() / "user");
    EXPECT_TRUE(linked.FileExists("d:\\inside\\page.htm"));
    EXPECT_FALSE(linked.ToHostPath("d:\\out\\secret.txt"));
}

// A disc unpacked among the reader's files must not hand out their hidden files: no name on the
// disc drive that begins with ".", as written or reached through a link; the user tree and the
// host keep theirs (what documents may read there is decided apart).
TEST(DriveMap, TheDiscDriveServesNoHiddenNames) {
    TTempFolder temp;
    temp.Write("disc/.ssh/id_rsa", "key");
    temp.Write("disc/.profile", "x");
    temp.Write("disc/html/.git/config", "x");
    temp.Write("disc/html/page.htm", "x");
    temp.Write("user/.state", "x");
    fs::create_directory_symlink(temp.Path() / "disc/.ssh", temp.Path() / "disc/keys");
    fs::create_directory_symlink(temp.Path() / "disc/html", temp.Path() / "disc/.pages");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    struct {
        std::string windows;
        bool served;
    } const cases[] = {
        {"d:\\.ssh\\id_rsa", false},
        {"d:\\.SSH\\ID_RSA", false},
        {".profile", false},
        {"d:\\html\\.git\\config", false},
        {"d:\\keys\\id_rsa", false},        // a link into a hidden folder
        {"d:\\.pages\\page.htm", false},    // a hidden link to a plain folder
        {"d:\\.new.htm", false},            // not there yet: refused all the same
        {"d:\\html\\page.htm", true},
        {"html\\page.htm", true},
        {"c:\\.state", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drives.ToHostPath(c.windows).has_value(), c.served) << c.windows;
        EXPECT_EQ(drives.FileExists(c.windows), c.served) << c.windows;
    }
    EXPECT_FALSE(drives.DirectoryExists("d:\\.ssh"));
}

// The disc root is the program folder, or its parent when that is named run: a disc unpacked as
// ~/run would make the whole home the disc. Such a root, the host's root and the system's
// folders are refused; a disc anywhere below the home is not.
TEST(DriveMap, ARootThatIsTheReadersHomeOrASystemFolderIsRefused) {
    TTempFolder temp;
    const fs::path home = temp.Path() / "home" / "reader";
    fs::create_directories(home / "books/manual/run");
    fs::create_directories(home / "run");
    const char* saved = std::getenv("HOME");
    const std::string savedHome = saved ? saved : "";
    ::setenv("HOME", home.c_str(), 1);
    const struct {
        fs::path folder;
        bool refused;
    } cases[] = {
        {home / "run", true},
        {home / "RUN", true},
        {home, true},
        {home.parent_path(), true},
        {home / "books/manual/run", false},
        {home / "books/manual", false},
        {home / "books", false},
        {"/", true},
        {"/run", true},
        {"/usr", true},
        {"/usr/run", true},
        {"/etc", true},
        {"/var/tmp", true},
        {"/lib", true},
        {"/usr/share/vitrina/sample-disc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TDriveMap(c.folder, temp.Path() / "user").RootIsReadersOrSystemFolder(), c.refused) << c.folder;
    if (saved) ::setenv("HOME", savedHome.c_str(), 1);
    else ::unsetenv("HOME");
}

TEST(DriveMap, SeesFilesAddedAfterAListingWasCached) {
    TTempFolder temp;
    temp.Write("disc/folder/One.txt", "1");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    EXPECT_TRUE(drives.FileExists("d:\\folder\\one.txt"));
    // Written at once: the folder's time may not even change within the clock's tick.
    temp.Write("disc/folder/Two.txt", "2");
    EXPECT_TRUE(drives.FileExists("d:\\folder\\two.txt"));
    temp.Write("disc/folder/Three.txt", "3");
    fs::last_write_time(temp.Path() / "disc/folder", fs::file_time_type::clock::now() + std::chrono::seconds(5));
    EXPECT_TRUE(drives.FileExists("d:\\folder\\THREE.txt"));
}

TEST(DriveMap, WindowsFormOfHostPaths) {
    TTempFolder temp;
    fs::create_directories(temp.Path() / "disc");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    EXPECT_EQ(drives.ToWindowsPath(temp.Path() / "disc/html/Стр.htm"), W("d:\\html\\Стр.htm"));
    EXPECT_EQ(drives.ToWindowsPath(temp.Path() / "user/temp"), "c:\\temp");
    EXPECT_EQ(drives.ToWindowsPath("/etc/hostname"), "z:\\etc\\hostname");
    EXPECT_EQ(drives.ToWindowsPath(temp.Path() / "disc"), "d:\\");
}

TEST(UserFolders, VitrinaHomeHoldsEverything) {
    ::setenv("VITRINA_HOME", "/tmp/vh", 1);
    const auto folders = TUserFolders::FromEnvironment();
    ::unsetenv("VITRINA_HOME");
    EXPECT_EQ(folders.config, fs::path("/tmp/vh/config"));
    EXPECT_EQ(folders.data, fs::path("/tmp/vh/c"));
    EXPECT_EQ(folders.runtime, fs::path("/tmp/vh/run"));
}

}  // namespace
}  // namespace vitrina
