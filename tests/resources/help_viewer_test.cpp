#include "resources/help_viewer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/cp1251.h"
#include "platform/window_directory.h"
#include "resources/drive_map.h"
#include "support/chm_writer.h"
#include "support/core_app.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(HelpViewer, KindsByExtensionInAnyCase) {
    using K = THelpViewer::TKind;
    const std::pair<const char*, K> cases[] = {
        {"d:\\help\\vitrina.htm", K::Html}, {"d:\\HELP.HTML", K::Html}, {"d:\\h.Chm", K::Chm},
        {"d:\\h.HLP", K::WinHelp},          {"d:\\h.txt", K::None},     {"", K::None},
        {"d:\\htm", K::None},
    };
    for (const auto& [file, kind] : cases) EXPECT_EQ(THelpViewer::KindOf(file), kind) << file;
}

TEST(HelpViewer, AnHtmlFileOpensOneHelpWindowAtTheTopicsAnchor) {
    test::EnsureApp();
    test::TTempFolder dir;
    const TDriveMap drives(dir.Path() / "disc", dir.Path() / "data");
    std::vector<std::vector<std::string>> started;
    THelpViewer help(drives, [&](const std::vector<std::string>& arguments) { started.push_back(arguments); });
    TWindowDirectory windows(dir.Path() / "run");
    std::vector<std::string> requests;
    windows.OnRequest = [&](const std::string& title, const std::string& request) {
        requests.push_back(title + "|" + request);
    };
    help.SetWindowDirectory(&windows);

    help.Show("d:\\help\\guide.htm", "Topic12");
    const std::vector<std::vector<std::string>> first{{"d:\\help\\guide.htm#Topic12", "/h"}};
    EXPECT_EQ(started, first);
    EXPECT_TRUE(requests.empty());

    // Once the help window is up (a hidden one does not count), it shows the new topic instead.
    const std::string title = Utf8ToCp1251("Помощь");
    help.SetStartGraceMs(0);  // the first one is not waited for here
    windows.Publish({{0, title, false}});
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started.size(), 2u);
    windows.Publish({{0, title, true}});
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started.size(), 2u);
    EXPECT_EQ(requests, std::vector<std::string>{title + "|topic d:\\help\\guide.htm#Topic13"});
    EXPECT_EQ(THelpViewer::DocumentOfTopicRequest(requests.front().substr(title.size() + 1)),
              "d:\\help\\guide.htm#Topic13");
    for (const char* other : {"show", "close", "topic ", "topics d:\\a.htm", ""})
        EXPECT_FALSE(THelpViewer::DocumentOfTopicRequest(other)) << other;

    // Other files start no help window.
    windows.Publish({});
    for (const char* file : {"d:\\help\\guide.chm", "d:\\help\\guide.doc", ""})
        help.Show(file, "Topic12");
    EXPECT_EQ(started.size(), 2u);
}

TEST(HelpViewer, ASecondPressWhileTheNewWindowStartsOpensNoOther) {
    test::EnsureApp();
    test::TTempFolder dir;
    const TDriveMap drives(dir.Path() / "disc", dir.Path() / "data");
    int started = 0;
    THelpViewer help(drives, [&](const std::vector<std::string>&) { ++started; });
    TWindowDirectory windows(dir.Path() / "run");
    help.SetWindowDirectory(&windows);
    help.Show("d:\\help\\guide.htm", "Topic12");
    help.Show("d:\\help\\guide.htm", "Topic13");  // the first has not published itself yet
    EXPECT_EQ(started, 1);
    // Once the window was found and then closed, the next press starts a new one at once.
    windows.Publish({{0, Utf8ToCp1251("Помощь"), true}});
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started, 1);
    windows.Publish({});
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started, 2);
    // A start that never showed a window is given up after the grace.
    help.SetStartGraceMs(0);
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started, 3);
}

TEST(HelpViewer, ACompiledHelpFileIsWrittenOutOnceAndShownAtTheTopicsPage) {
    test::EnsureApp();
    test::TTempFolder dir;
    dir.Write("disc/help/guide.chm",
              test::WriteChm({{"/#SYSTEM", test::ChmSystemObject("html/start.htm")},
                              {"/html/start.htm", "<p>start"},
                              {"/html/topic12.htm", "<p>twelve"},
                              {"/img/logo.gif", "GIF89a"},
                              {"/../x", "escaped"}}));
    const TDriveMap drives(dir.Path() / "disc", dir.Path() / "data");
    std::vector<std::vector<std::string>> started;
    THelpViewer help(drives, [&](const std::vector<std::string>& arguments) { started.push_back(arguments); });
    help.SetStartGraceMs(0);

    const auto twelve = help.ChmPage("d:\\help\\guide.chm", "Topic12");
    ASSERT_TRUE(twelve);
    const std::string folder = THelpViewer::ChmFolderOf(*twelve);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.rfind("c:\\windows\\help\\chm-", 0), 0u) << folder;
    EXPECT_EQ(*twelve, folder + "html\\topic12.htm#Topic12");
    // A topic without a page of its name: the default page at the topic's anchor.
    EXPECT_EQ(help.ChmPage("d:\\help\\guide.chm", "Topic13"), folder + "html\\start.htm#Topic13");
    const auto host = drives.ToHostPath(folder);
    ASSERT_TRUE(host);
    EXPECT_EQ(dir.Read(*host / "img" / "logo.gif"), "GIF89a");
    EXPECT_FALSE(std::filesystem::exists(host->parent_path() / "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "data" / "windows" / "x"));
    // Written once: a page removed from the written-out copy stays removed while the file is the same.
    std::filesystem::remove(*host / "img" / "logo.gif");
    help.ChmPage("d:\\help\\guide.chm", "Topic12");
    EXPECT_FALSE(std::filesystem::exists(*host / "img" / "logo.gif"));

    help.Show("d:\\help\\guide.chm", "Topic12");
    const std::vector<std::vector<std::string>> expected{{*twelve, "/h"}};
    EXPECT_EQ(started, expected);

    // Not a help file, or none there: no window.
    dir.Write("disc/help/broken.chm", "not a help file");
    help.Show("d:\\help\\broken.chm", "Topic12");
    help.Show("d:\\help\\missing.chm", "Topic12");
    EXPECT_EQ(started.size(), 1u);
}

TEST(HelpViewer, OnlyPagesInTheWrittenOutFoldersHaveAHelpFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\windows\\help\\chm-0123abcd\\html\\a.htm#T", "c:\\windows\\help\\chm-0123abcd\\"},
        {"C:\\Windows\\Help\\CHM-ab\\a.htm", "C:\\Windows\\Help\\CHM-ab\\"},
        {"c:\\windows\\help\\chm-\\a.htm", ""},
        {"c:\\windows\\help\\chm-ab", ""},
        {"c:\\windows\\help\\other\\a.htm", ""},
        {"d:\\windows\\help\\chm-ab\\a.htm", ""},
        {"", ""},
    };
    for (const auto& [document, folder] : cases) EXPECT_EQ(THelpViewer::ChmFolderOf(document), folder) << document;
}

}  // namespace
}  // namespace vitrina
