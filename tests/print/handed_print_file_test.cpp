#include "print/handed_print_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "resources/drive_map.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

// Another program's print request names the file it wrote; once printed, only a plain file
// directly in the temporary folder may go.
TEST(HandedPrintFile, OnlyAPlainFileDirectlyInTheTemporaryFolderIsDeleted) {
    test::TTempFolder temp;
    const fs::path user = temp.Path() / "user";
    const fs::path tempHost = user / "windows" / "temp";
    fs::create_directories(tempHost / "sub");
    fs::create_directories(temp.Path() / "disc");
    fs::create_directories(user / "docs");
    const auto write = [](const fs::path& p) { std::ofstream(p) << "x"; };
    write(tempHost / "print.bmp");
    write(tempHost / "sub" / "deeper.bmp");
    write(user / "docs" / "mine.doc");
    write(temp.Path() / "disc" / "page.htm");
    fs::create_symlink(user / "docs" / "mine.doc", tempHost / "link.doc");
    fs::create_directory_symlink(user / "docs", tempHost / "linkdir");
    const TDriveMap drives(temp.Path() / "disc", user);
    const std::string tempFolder = "c:\\windows\\temp\\";

    struct TCase {
        const char* file;
        bool deleted;
        fs::path host;
    } cases[] = {
        {"c:\\docs\\mine.doc", false, user / "docs" / "mine.doc"},
        {"c:\\windows\\temp\\..\\..\\docs\\mine.doc", false, user / "docs" / "mine.doc"},
        {"c:\\windows\\temp\\sub\\deeper.bmp", false, tempHost / "sub" / "deeper.bmp"},
        {"c:\\windows\\temp\\link.doc", false, user / "docs" / "mine.doc"},
        {"c:\\windows\\temp\\linkdir\\mine.doc", false, user / "docs" / "mine.doc"},
        {"c:\\windows\\temp\\sub", false, tempHost / "sub"},
        {"d:\\page.htm", false, temp.Path() / "disc" / "page.htm"},
        {"c:\\windows\\temp\\missing.bmp", false, {}},
        {"C:/Windows/TEMP/Print.BMP", true, tempHost / "print.bmp"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(RemoveHandedPrintFile(drives, tempFolder, c.file), c.deleted) << c.file;
        if (!c.host.empty()) {
            EXPECT_EQ(fs::exists(c.host), !c.deleted) << c.file;
        }
    }
    EXPECT_TRUE(fs::is_symlink(tempHost / "link.doc"));
}

}  // namespace
}  // namespace vitrina
