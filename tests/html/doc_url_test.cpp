#include "html/doc_url.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TEST(DocUrl, WindowsPathsRoundTripThroughUrls) {
    const struct {
        std::string path;
        const char* url;
    } cases[] = {
        {"d:\\html\\page.htm", "vitrina://d/html/page.htm"},
        {"D:\\Html\\Page.HTM", "vitrina://d/Html/Page.HTM"},
        {"c:\\temp\\a b.htm", "vitrina://c/temp/a%20b.htm"},
        {"d:\\html\\page.htm#part2", "vitrina://d/html/page.htm#part2"},
        {"d:\\", "vitrina://d/"},
        {W("d:\\Документы\\Стр.htm"), "vitrina://d/%D0%94%D0%BE%D0%BA%D1%83%D0%BC%D0%B5%D0%BD%D1%82%D1%8B/%D0%A1%D1%82%D1%80.htm"},
        {"d:\\html\\100%.htm", "vitrina://d/html/100%25.htm"},
    };
    for (const auto& c : cases) {
        const QUrl url = DocUrl(c.path);
        EXPECT_EQ(url.toString(QUrl::FullyEncoded).toStdString(), c.url) << c.path;
        std::string back = c.path.substr(0, c.path.find('#'));
        back[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(back[0])));
        EXPECT_EQ(DocPath(url), back) << c.path;
    }
}

TEST(DocUrl, PathsWithoutDriveAndForeignUrlsHaveNoMapping) {
    EXPECT_FALSE(DocUrl("html\\page.htm").isValid());
    EXPECT_FALSE(DocUrl("").isValid());
    EXPECT_EQ(DocPath(QUrl("http://d/html/page.htm")), "");
    EXPECT_EQ(DocPath(QUrl("file:///d:/x.htm")), "");
}

TEST(DocUrl, LinkTextIsWhatThePaneJudges) {
    const QUrl current = DocUrl("d:\\html\\page.htm");
    const struct {
        const char* url;
        std::string text;
    } cases[] = {
        {"vitrina://d/data/x.htm", "d:\\data\\x.htm"},
        {"vitrina://d/html/page.htm#sec", "#sec"},
        {"vitrina://d/HTML/PAGE.HTM#sec", "#sec"},
        {"vitrina://d/html/other.htm#sec", "d:\\html\\other.htm#sec"},
        {"file:///d:/games/setup.exe", "d:\\games\\setup.exe"},
        {"file:///home/user/a.txt", "z:\\home\\user\\a.txt"},
        {"http://example.com/a%20b", "http://example.com/a b"},
        {"mailto:x@y.ru", "mailto:x@y.ru"},
        {"copy:..%5Cfiles%5Ca.doc", "copy:..\\files\\a.doc"},
        {"rungame:=d:%5Cgames%5Csetup.exe=Tetris", "rungame:=d:\\games\\setup.exe=Tetris"},
        {"copylist:%D1%81%D0%B5%D1%80", W("copylist:сер")},
    };
    for (const auto& c : cases) EXPECT_EQ(LinkText(QUrl(c.url), current), c.text) << c.url;
}

TEST(ResolveLink, ExpandsLinksAgainstTheCurrentDocument) {
    const std::string current = "d:\\run\\html\\page.htm";
    const struct {
        std::string link, expected;
    } cases[] = {
        {"other.htm", "d:\\run\\html\\other.htm"},
        {"..\\data\\x.htm", "d:\\run\\data\\x.htm"},
        {"../data/x.htm", "d:\\run\\data\\x.htm"},
        {"..\\..\\..\\..\\x.htm", "d:\\x.htm"},
        {".\\pic\\a.gif", "d:\\run\\html\\pic\\a.gif"},
        {"\\video\\clip.avi", "d:\\video\\clip.avi"},
        {"/video/clip.avi", "d:\\video\\clip.avi"},
        {"e:\\setup\\go.exe", "e:\\setup\\go.exe"},
        {"file:///e:/setup/go.exe", "e:\\setup\\go.exe"},
        {"file:e:\\a\\..\\b.htm", "e:\\b.htm"},
        {"#part", "d:\\run\\html\\page.htm#part"},
        {"other.htm#part", "d:\\run\\html\\other.htm#part"},
        {"a%20b.htm", "d:\\run\\html\\a b.htm"},
        {"  other.htm  ", "d:\\run\\html\\other.htm"},
        {"http://x.ru/a.htm", "http://x.ru/a.htm"},
        {"copy:x.doc", "copy:x.doc"},
        {"\\\\server\\share\\a.htm", "\\\\server\\share\\a.htm"},
        {W("Глава 1.htm"), W("d:\\run\\html\\Глава 1.htm")},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveLink(c.link, current), c.expected) << c.link;
    EXPECT_EQ(ResolveLink("a.htm", "d:\\page.htm#x"), "d:\\a.htm");
    EXPECT_EQ(ResolveLink("a.htm", ""), "a.htm");
}

TEST(PathParts, DriveNameFolderExtensionProtocol) {
    EXPECT_EQ(DriveOf("E:\\x\\y.exe"), "e:\\");
    EXPECT_EQ(DriveOf("\\x\\y.exe"), "");
    EXPECT_EQ(FileNamePart("d:\\a\\b.htm"), "b.htm");
    EXPECT_EQ(FolderPart("d:\\a\\b.htm"), "d:\\a\\");
    EXPECT_EQ(ExtensionOf("d:\\a.dir\\b.HTM"), ".HTM");
    EXPECT_EQ(ExtensionOf("d:\\a.dir\\readme"), "");
    EXPECT_EQ(ExtensionOf("d:\\a\\b.htm#sec.2"), ".htm");
    EXPECT_EQ(ProtocolOf("HTTP://x"), "http");
    EXPECT_EQ(ProtocolOf("copy:x"), "copy");
    EXPECT_EQ(ProtocolOf("d:\\x"), "");
    EXPECT_EQ(ProtocolOf("a.htm?q=b:c"), "");
    EXPECT_EQ(ProtocolOf("#x:y"), "");
}

}  // namespace
}  // namespace vitrina
