#include "panes/follow_link.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TLinkContext Context(std::string link, std::string target = "", bool archive = false) {
    TLinkContext c;
    c.link = std::move(link);
    c.target = std::move(target);
    c.currentFile = "d:\\run\\html\\page.htm";
    c.programDrive = "d:\\";
    c.archivePage = archive;
    c.fileExists = [](const std::string& f) {
        static const std::set<std::string> files = {"d:\\run\\html\\big.jpg", "d:\\run\\html\\arc\\as_list.htm"};
        return files.count(f) > 0;
    };
    return c;
}

struct TCase {
    const char* name;
    TLinkContext context;
    bool handled;
    TLinkAction action;
    std::string argument;
    std::string visited;
};

TEST(DecideLink, EachKindOfLinkIsRoutedInTheOrderOfTheTests) {
    const TCase cases[] = {
        {"blank existing picture", Context("big.jpg#x", "_BLANK"), true, TLinkAction::PictureWindow,
         "d:\\run\\html\\big.jpg", "d:\\run\\html\\big.jpg#x"},
        {"blank missing file only marks it visited", Context("none.jpg", "_blank"), true, TLinkAction::None, "",
         "d:\\run\\html\\none.jpg"},
        {"web link", Context("HTTP://Example.com/A.htm"), true, TLinkAction::ShellOpenLink,
         "HTTP://Example.com/A.htm", "http://example.com/a.htm"},
        {"secure web link", Context("https://example.com/"), true, TLinkAction::ShellOpenLink,
         "https://example.com/", "https://example.com/"},
        {"mail link", Context("mailto:a@b.ru"), true, TLinkAction::ShellOpenLink, "mailto:a@b.ru", "mailto:a@b.ru"},
        {"print link", Context("printhtml:..\\doc\\Scheme.htm"), true, TLinkAction::Print,
         "d:\\run\\doc\\Scheme.htm", "d:\\run\\doc\\Scheme.htm"},
        {"copy link", Context("copy:..\\Files\\A.DOC"), true, TLinkAction::CopyFile, "d:\\run\\files\\a.doc",
         "copy:..\\files\\a.doc"},
        {"copy link with encoded separators names a file of the disc", Context("copy:x%2F..%2F..%2F.bashrc"), true,
         TLinkAction::CopyFile, "d:\\run\\.bashrc", "copy:x%2f..%2f..%2f.bashrc"},
        {"copylist link", Context("copylist:Serial"), true, TLinkAction::CopyListEntry, "Serial", "copylist:serial"},
        {"rungame link", Context("rungame:=d:\\games\\setup.exe=Tetris"), true, TLinkAction::Command,
         "rungame=d:\\games\\setup.exe=Tetris", "rungame:=d:\\games\\setup.exe=tetris"},
        {"delgame link", Context("delgame:=Tetris"), true, TLinkAction::Command, "delgame=Tetris",
         "delgame:=tetris"},
        {"page is followed by the engine", Context("other.htm"), false, TLinkAction::None, "", ""},
        {"anchor is followed by the engine", Context("#top"), false, TLinkAction::None, "", ""},
        {"picture is followed by the engine", Context("pic.JPEG"), false, TLinkAction::None, "", ""},
        {"text is followed by the engine", Context("readme.txt"), false, TLinkAction::None, "", ""},
        {"zip offers a save dialog", Context("..\\soft\\Tool.zip"), true, TLinkAction::SaveZip,
         "d:\\run\\soft\\tool.zip", "d:\\run\\soft\\tool.zip"},
        {"rar opens archive pages", Context("x.rar"), true, TLinkAction::OpenArchivePage, "d:\\run\\html\\x.rar",
         "d:\\run\\html\\x.rar"},
        {"wav plays", Context("\\sound\\a.wav"), true, TLinkAction::PlayMedia, "d:\\sound\\a.wav", "d:\\sound\\a.wav"},
        {"exe on another drive starts from the disc", Context("e:\\setup\\go.exe"), true, TLinkAction::RunProgram,
         "d:\\setup\\go.exe", "e:\\setup\\go.exe"},
        {"com runs", Context("x.com"), true, TLinkAction::RunProgram, "d:\\run\\html\\x.com", "d:\\run\\html\\x.com"},
        {"anything else goes to the shell", Context("manual.pdf"), true, TLinkAction::ShellOpenFile,
         "d:\\run\\html\\manual.pdf", "d:\\run\\html\\manual.pdf"},
        {"archive page opens pages itself", Context("arc\\Page.htm", "", true), true, TLinkAction::OpenDocument,
         "d:\\run\\html\\arc\\page.htm", ""},
        {"archive page leaves as_ pages to the engine", Context("arc\\as_list.htm", "", true), false,
         TLinkAction::None, "", ""},
        {"archive page keeps the drive of other files", Context("e:\\x.exe", "", true), true,
         TLinkAction::RunProgram, "e:\\x.exe", "e:\\x.exe"},
        // Another scheme is refused whatever its name ends in; a kind's word inside a path is a name.
        {"foreign scheme named like a page", Context("smb://host/share/page.htm"), true, TLinkAction::None, "", ""},
        {"made-up scheme named like a picture", Context("x-open:calc.jpg"), true, TLinkAction::None, "", ""},
        {"archive member named like a game link", Context("c:\\temp\\as_a\\rungame:x", "", true), true,
         TLinkAction::ShellOpenFile, "c:\\temp\\as_a\\rungame:x", "c:\\temp\\as_a\\rungame:x"},
        {"archive member named like a web page", Context("c:\\temp\\as_a\\http:x.htm", "", true), true,
         TLinkAction::OpenDocument, "c:\\temp\\as_a\\http:x.htm", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TLinkDecision d = DecideLink(c.context);
        EXPECT_EQ(d.handled, c.handled);
        EXPECT_EQ(d.action, c.action);
        EXPECT_EQ(d.argument, c.argument);
        EXPECT_EQ(d.visited, c.visited);
    }
}

TEST(DecideLink, OrdinaryPagesMakeTheTreeFollowButPicturesDoNot) {
    EXPECT_EQ(DecideLink(Context("Other.HTML")).treeFollows, "d:\\run\\html\\other.html");
    EXPECT_EQ(DecideLink(Context("pic.gif")).treeFollows, "");
    EXPECT_EQ(DecideLink(Context("#top")).treeFollows, "d:\\run\\html\\page.htm#top");
    EXPECT_EQ(DecideLink(Context("arc\\page.htm", "", true)).treeFollows, "");
}

TEST(DecideLink, ArchivePagesExtractMissingFilesFirst) {
    EXPECT_TRUE(DecideLink(Context("arc\\page.htm", "", true)).extractFirst);
    EXPECT_EQ(DecideLink(Context("arc\\Tool.EXE", "", true)).resolved, "d:\\run\\html\\arc\\tool.exe");
    EXPECT_TRUE(DecideLink(Context("arc\\tool.exe", "", true)).extractFirst);
    EXPECT_FALSE(DecideLink(Context("arc\\as_list.htm", "", true)).extractFirst);
    EXPECT_FALSE(DecideLink(Context("#x", "", true)).extractFirst);
    EXPECT_FALSE(DecideLink(Context("arc\\page.htm")).extractFirst);
}

TEST(DecideLink, RarLinksNameTheCurrentDocument) {
    EXPECT_EQ(DecideLink(Context("x.rar")).secondArgument, "d:\\run\\html\\page.htm");
}

TLinkStatusContext Status(std::string link, std::string target = "") {
    TLinkStatusContext c;
    c.link = std::move(link);
    c.target = std::move(target);
    c.currentFile = "d:\\html\\page.htm";
    c.gameValuePresent = [](const std::string& key, const std::string& value) {
        return key == "Tetris" && value == "exename";
    };
    return c;
}

TEST(LinkStatusText, TextsForEveryKindOfLink) {
    auto withBox = Status("copy:..\\Files\\a.doc");
    withBox.pathInputExists = true;
    withBox.currentPath = "c:\\mine\\";
    const struct {
        const char* name;
        TLinkStatusContext context;
        std::string text;
    } cases[] = {
        {"anchor", Status("#sec"), "d:\\html\\page.htm#sec"},
        {"relative page", Status("Other.htm"), "d:\\html\\other.htm"},
        {"file protocol", Status("file:///d:/x/a.htm"), "d:\\x\\a.htm"},
        {"copy with path box", withBox,
         W("Копирование файла \"d:\\files\\a.doc\" в каталог \"c:\\mine\\\"")},
        {"copy without path box", Status("copy:..\\Files\\a.doc"), "d:\\files\\a.doc"},
        {"installed game", Status("rungame:=d:\\g\\setup.exe=Tetris"), W("Запустить игру")},
        {"game not installed", Status("rungame:=d:\\g\\setup.exe=Other"), W("Установить игру")},
        {"removable game", Status("delgame:=Tetris"), W("Игра не установлена")},
        {"web link", Status("http://x.ru"), "http://x.ru"},
        {"target named", Status("a.htm", "main"), "Url: d:\\html\\a.htm  Target: main"},
        {"empty link", Status(""), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LinkStatusText(c.context), c.text) << c.name;

    auto installed = Status("delgame:=Tetris");
    installed.gameValuePresent = [](const std::string&, const std::string& value) { return value == "instdir"; };
    EXPECT_EQ(LinkStatusText(installed), W("Удалить игру"));
    auto archive = Status("a.htm");
    archive.archivePage = true;
    EXPECT_EQ(LinkStatusText(archive), "");
}

}  // namespace
}  // namespace vitrina
