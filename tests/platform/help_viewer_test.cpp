#include "platform/help_viewer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/cp1251.h"
#include "platform/window_directory.h"
#include "resources/drive_map.h"
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

    // Once the help window is up (a hidden one does not count), it is raised instead.
    const std::string title = Utf8ToCp1251("Помощь");
    windows.Publish({{0, title, false}});
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started.size(), 2u);
    windows.Publish({{0, title, true}});
    help.Show("d:\\help\\guide.htm", "Topic13");
    EXPECT_EQ(started.size(), 2u);
    EXPECT_EQ(requests, std::vector<std::string>{title + "|show"});

    // Other files start no help window.
    windows.Publish({});
    for (const char* file : {"d:\\help\\guide.chm", "d:\\help\\guide.doc", ""})
        help.Show(file, "Topic12");
    EXPECT_EQ(started.size(), 2u);
}

}  // namespace
}  // namespace vitrina
