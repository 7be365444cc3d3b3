#include "resources/document_reach.h"

#include <gtest/gtest.h>

#include "resources/drive_map.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

// A disc, a user tree and, on the host around them, a folder the reader handed a file in from,
// its neighbours and a link out of it.
class DocumentReachTest : public ::testing::Test {
protected:
    DocumentReachTest() : drives_(temp_.Path() / "disc", temp_.Path() / "user"), reach_(drives_) {
        temp_.Write("disc/page.htm", "p");
        temp_.Write("user/windows/temp/as_1/list.htm", "pages");
        temp_.Write("user/windows/temp/as_2/list.htm", "other archive");
        temp_.Write("user/registry/hklm.reg", "settings");
        temp_.Write("host/Docs/given.htm", "given");
        temp_.Write("host/Docs/pics/p.bmp", "picture");
        temp_.Write("host/docs/private.txt", "a neighbour that differs in case");
        temp_.Write("host/secret.txt", "secret");
        temp_.Write("host/Docs/.git/config", "the reader's own");
        temp_.Write("host/Docs/.hidden.htm", "the reader's own");
        fs::create_directory_symlink(temp_.Path() / "host", temp_.Path() / "host/Docs/up");
        hostDocs_ = drives_.ToWindowsPath(temp_.Path() / "host/Docs");
        reach_.AllowFolderOf(hostDocs_ + "\\given.htm");
        reach_.AllowFolder("c:\\windows\\temp\\as_1\\");
    }

    TTempFolder temp_;
    TDriveMap drives_;
    TDocumentReach reach_;
    std::string hostDocs_;
};

TEST_F(DocumentReachTest, OpensTheDiscAndOnlyWhatTheReaderHandedInOrTheProgramWrote) {
    struct TCase {
        std::string path;
        bool allowed;
    };
    const std::vector<TCase> cases = {
        {"d:\\page.htm", true},
        {"d:\\missing.htm", true},  // the drive map alone keeps d: inside the disc
        {"page.htm", true},
        {hostDocs_ + "\\given.htm", true},
        {hostDocs_ + "\\pics\\p.bmp", true},
        {hostDocs_, true},
        {hostDocs_ + "\\up\\secret.txt", false},       // a link out of the allowed folder
        {hostDocs_ + "\\..\\secret.txt", false},       // climbing out
        {hostDocs_ + "\\.git\\config", false},         // hidden, below the allowed folder
        {hostDocs_ + "\\.hidden.htm", false},
        {drives_.ToWindowsPath(temp_.Path() / "host/docs/private.txt"), false},  // a case variant
        {drives_.ToWindowsPath(temp_.Path() / "host/secret.txt"), false},
        {"z:\\etc\\hostname", false},
        {"z:\\", false},
        {"c:\\windows\\temp\\as_1\\list.htm", true},
        {"C:\\WINDOWS\\TEMP\\AS_1\\LIST.HTM", true},
        {"c:\\windows\\temp\\as_2\\list.htm", false},
        {"c:\\registry\\hklm.reg", false},
        {"e:\\x.htm", false},
    };
    for (const TCase& c : cases) EXPECT_EQ(reach_.Allows(c.path), c.allowed) << c.path;
}

TEST_F(DocumentReachTest, TheHostRootIsNeverOpenedWhole) {
    reach_.AllowFolderOf("z:\\secret.txt");
    reach_.AllowFolder("z:\\");
    EXPECT_FALSE(reach_.Allows("z:\\etc\\hostname"));
    EXPECT_FALSE(reach_.Allows(drives_.ToWindowsPath(temp_.Path() / "host/secret.txt")));
}

}  // namespace
}  // namespace vitrina
