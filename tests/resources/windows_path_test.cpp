#include "resources/windows_path.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// Components shown one per bracket, so "no components" and "one empty component" differ.
std::string Bracketed(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& part : parts) out += "[" + part + "]";
    return out;
}

using TRule = std::string (*)(std::string_view path, std::string_view second);

std::string FileName(std::string_view p, std::string_view) { return FileNamePart(p); }
std::string Folder(std::string_view p, std::string_view) { return FolderPart(p); }
std::string Components(std::string_view p, std::string_view) { return Bracketed(PathComponents(p)); }
std::string Backslash(std::string_view p, std::string_view) { return BackslashPath(p); }
std::string Fold(std::string_view p, std::string_view) { return FoldPath(p); }
std::string Join(std::string_view base, std::string_view relative) { return JoinPath(base, relative); }
std::string Resolve(std::string_view value, std::string_view folder) { return ResolvePath(value, std::string(folder)); }
std::string ContentFolder(std::string_view p, std::string_view) { return ContentFolderOf(p); }
std::string Decode(std::string_view p, std::string_view) { return PercentDecode(p); }

TEST(WindowsPath, EveryRuleOnItsCases) {
    const struct {
        const char* rule;
        TRule apply;
        std::string path, second, expected;
    } cases[] = {
        {"file name", FileName, "d:\\a\\b.htm", "", "b.htm"},
        {"file name", FileName, "d:\\a/b.htm", "", "b.htm"},
        {"file name", FileName, "d:b.htm", "", "b.htm"},
        {"file name", FileName, "b.htm", "", "b.htm"},
        {"file name", FileName, "d:\\a\\", "", ""},
        {"file name", FileName, "x/../../.bashrc", "", ".bashrc"},
        {"file name", FileName, W("d:\\Глава\\Стр.htm"), "", W("Стр.htm")},

        {"folder", Folder, "d:\\a\\b.htm", "", "d:\\a\\"},
        {"folder", Folder, "d:\\a/b.htm", "", "d:\\a/"},
        {"folder", Folder, "d:b.htm", "", "d:"},
        {"folder", Folder, "b.htm", "", ""},
        {"folder", Folder, "d:\\a\\", "", "d:\\a\\"},

        {"components", Components, "d:\\a\\b.htm", "", "[a][b.htm]"},
        {"components", Components, "d:/a//b/", "", "[a][][b][]"},
        {"components", Components, "a\\..\\b", "", "[a][..][b]"},
        {"components", Components, "\\a", "", "[a]"},
        {"components", Components, "\\\\server\\share", "", "[][server][share]"},
        {"components", Components, "d:x", "", "[x]"},
        {"components", Components, "d:\\", "", ""},
        {"components", Components, "d:", "", ""},
        {"components", Components, "", "", ""},

        {"backslashes", Backslash, "a/b\\c/", "", "a\\b\\c\\"},

        {"fold", Fold, "d:\\a\\.\\b\\..\\c.htm", "", "d:\\a\\c.htm"},
        {"fold", Fold, "d:\\..\\..\\x", "", "d:\\x"},
        {"fold", Fold, "D:/a/b/", "", "D:\\a\\b\\"},
        {"fold", Fold, "d:\\a\\\\b", "", "d:\\a\\b"},
        {"fold", Fold, "d:\\a\\..\\", "", "d:\\"},
        {"fold", Fold, "d:", "", "d:\\"},
        {"fold", Fold, "d:x\\y", "", "d:\\x\\y"},
        {"fold", Fold, "\\a\\..\\..\\b", "", "\\b"},
        {"fold", Fold, "a\\..\\..\\b", "", "b"},
        {"fold", Fold, "d:\\html\\x/../../.bashrc", "", "d:\\.bashrc"},

        // Join and resolve read only "\", as description texts write it; the documented cases
        // are in description_test.cpp.
        {"join", Join, "d:\\run\\", "../x.htm", "d:\\run\\../x.htm"},
        {"join", Join, "d:\\run\\a\\", "b\\..\\c.htm", "d:\\run\\a\\c.htm"},
        {"join", Join, "d:\\run\\", "\\\\x.htm", "d:\\run\\\\x.htm"},
        {"resolve", Resolve, "d:/x.htm", "d:\\run\\", "d:\\run\\d:/x.htm"},
        {"resolve", Resolve, "<cd>", "E:\\run\\", "e:\\"},
        {"resolve", Resolve, "pics\\a.bmp", "d:\\", "d:\\pics\\a.bmp"},

        {"content folder", ContentFolder, "d:\\run\\", "", "d:\\"},
        {"content folder", ContentFolder, "D:\\RUN\\", "", "D:\\"},
        {"content folder", ContentFolder, "d:\\", "", "d:\\"},
        {"content folder", ContentFolder, "d:\\books\\run\\", "", "d:\\books\\"},
        {"content folder", ContentFolder, "d:\\rerun\\", "", "d:\\rerun\\"},
        {"content folder", ContentFolder, "d:\\run", "", "d:\\run"},

        {"decode", Decode, "a%20b.htm", "", "a b.htm"},
        {"decode", Decode, "x%2F..%2f..%5C.bashrc", "", "x/../..\\.bashrc"},
        {"decode", Decode, "%D1%F2%F0", "", W("Стр")},
        {"decode", Decode, "100%", "", "100%"},
        {"decode", Decode, "%4", "", "%4"},
        {"decode", Decode, "%zz%", "", "%zz%"},
        {"decode", Decode, "%%41", "", "%A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.apply(c.path, c.second), c.expected) << c.rule << ": \"" << c.path << "\" \"" << c.second << "\"";
}

TEST(WindowsPath, FolderAndFileNameMakeThePathAgain) {
    for (const std::string path : {"d:\\a\\b.htm", "d:/a/b", "d:b", "b", "d:\\", "", "\\\\s\\x", "a:b:c"})
        EXPECT_EQ(FolderPart(path) + FileNamePart(path), path) << path;
}

}  // namespace
}  // namespace vitrina
