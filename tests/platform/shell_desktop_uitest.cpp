#include "platform/shell_desktop.h"

#include <gtest/gtest.h>

#include "platform/click_sound.h"
#include "resources/drive_map.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using TKind = TShellDesktop::TShellTarget::TKind;

// What a disc may hand to the desktop: web and mail addresses, its documents and media, its
// Windows programs (to wine); never another scheme, a host file, a script or a desktop entry.
TEST(ShellDesktop, HandsOnlyAddressesAndDiscDocumentsMediaAndWindowsPrograms) {
    test::TTempFolder temp;
    for (const char* name : {"docs/manual.pdf", "docs/photo.JPG", "docs/clip.avi", "setup.exe", "tool.com", "install.sh",
                             "launch.desktop", "tool", "readme.pdf.sh", "page.htm"})
        temp.Write(std::string("disc/") + name, "x");
    temp.Write("user/windows/temp/as_1/readme.txt", "x");
    temp.Write("host/manual.pdf", "x");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    TClickSound sounds;
    const TShellDesktop desktop(HostPathsOf(drives), sounds);
    const std::string host = drives.ToWindowsPath(temp.Path() / "host/manual.pdf");
    struct TCase {
        std::string target;
        TKind kind;
    };
    const std::vector<TCase> cases = {
        {"http://example.org/page", TKind::Address},
        {"HTTPS://example.org/", TKind::Address},
        {"mailto:author@example.org", TKind::Address},
        {"file:///usr/bin/xterm", TKind::None},
        {"file:///usr/bin/xterm#http:", TKind::None},
        {"javascript:alert(1)", TKind::None},
        {"ftp://example.org/", TKind::None},
        {"d:\\docs\\manual.pdf", TKind::Document},
        {"d:\\docs\\photo.JPG", TKind::Document},
        {"d:\\docs\\clip.avi", TKind::Document},
        {"d:\\page.htm", TKind::Document},
        {"c:\\windows\\temp\\as_1\\readme.txt", TKind::Document},
        {"d:\\setup.exe", TKind::WindowsProgram},
        {"d:\\tool.com", TKind::WindowsProgram},
        {"d:\\install.sh", TKind::None},
        {"d:\\launch.desktop", TKind::None},
        {"d:\\tool", TKind::None},
        {"d:\\readme.pdf.sh", TKind::None},
        {host, TKind::None},
        {"z:\\usr\\bin\\xterm", TKind::None},
        {"z:\\usr\\bin\\setup.exe", TKind::None},
    };
    for (const TCase& c : cases) EXPECT_EQ(desktop.ShellTarget(c.target).kind, c.kind) << c.target;
    EXPECT_EQ(desktop.ShellTarget("d:\\docs\\manual.pdf").url.toLocalFile().toStdString(),
              (temp.Path() / "disc/docs/manual.pdf").string());
}

}  // namespace
}  // namespace vitrina
