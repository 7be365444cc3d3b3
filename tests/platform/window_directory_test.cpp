#include "platform/window_directory.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/local_frame_server.h"
#include "support/socket_peer.h"
#include "support/core_app.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(WindowDirectory, FindsVisibleWindowsByTitleIgnoringCase) {
    test::EnsureApp();
    test::TTempFolder dir;
    TWindowDirectory directory(dir.Path());
    directory.Publish({{0, "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1", false}, {0, "\xCF\xEE\xEC\xEE\xF9\xFC", true}});
    TWindowEntry found;
    EXPECT_FALSE(directory.FindWindowByTitle("\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1", found));  // hidden
    ASSERT_TRUE(directory.FindWindowByTitle("\xEF\xEE\xEC\xEE\xF9\xFC", found));          // "помощь"
    EXPECT_EQ(found.pid, ::getpid());
    EXPECT_EQ(found.title, "\xCF\xEE\xEC\xEE\xF9\xFC");
    directory.Publish({});
    EXPECT_FALSE(directory.FindWindowByTitle("\xCF\xEE\xEC\xEE\xF9\xFC", found));
}

TEST(WindowDirectory, EntriesOfDeadProcessesAreIgnoredAndRemoved) {
    test::EnsureApp();
    test::TTempFolder dir;
    TWindowDirectory directory(dir.Path());
    // A process that has certainly ended: a child that exited and was reaped.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto stale = dir.Write("windows/" + std::to_string(child), "1\tStale\n");
    TWindowEntry found;
    EXPECT_FALSE(directory.FindWindowByTitle("Stale", found));
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST(WindowDirectory, FilesNamedLikeNoProcessAreLeftAlone) {
    test::EnsureApp();
    test::TTempFolder dir;
    TWindowDirectory directory(dir.Path());
    directory.Publish({{0, "own", true}});
    const std::string names[] = {"99999999999999999999", "99999999999999999999.sock", std::string(200, '7'),
                                 "4294967297", "0", "0042", "-5", "notes"};
    for (const std::string& name : names) dir.Write("windows/" + name, "1\tStranger\n");
    const auto windows = directory.Windows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, "own");
    for (const std::string& name : names) EXPECT_TRUE(std::filesystem::exists(directory.Folder() / name)) << name.substr(0, 40);
}

// Where other processes send their request lines.
std::filesystem::path SocketOf(const TWindowDirectory& directory) {
    return directory.Folder() / (std::to_string(::getpid()) + ".sock");
}

TEST(WindowDirectory, RequestsArriveThroughTheSocket) {
    test::EnsureApp();
    test::TTempFolder dir;
    TWindowDirectory directory(dir.Path());
    std::vector<std::string> got;
    directory.OnRequest = [&](const std::string& title, const std::string& request) { got.push_back(title + "|" + request); };
    // Another process would connect like this.
    test::ServeUntilDone([&] {
        test::TSocketPeer peer(SocketOf(directory));
        peer.Send("Тезаурус\tclose\n");
        peer.EndSending();
        return peer.ReadToEnd(5000);
    });
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1|close");
    // A request to one of this process's own windows is handed over directly.
    EXPECT_TRUE(directory.Send({::getpid(), "x", true}, "close"));
    EXPECT_EQ(got.back(), "x|close");
    // A process without a socket cannot be reached.
    EXPECT_FALSE(directory.Send({999999999, "x", true}, "close"));
}

TEST(WindowDirectory, ASenderThatStallsHoldsUpNoOtherAndIsCutOff) {
    test::EnsureApp();
    test::TTempFolder dir;
    TWindowDirectory directory(dir.Path());
    std::vector<std::string> got;
    directory.OnRequest = [&](const std::string& title, const std::string& request) { got.push_back(title + "|" + request); };
    // Half a line, and then nothing for a while.
    test::TSocketPeer stalled(SocketOf(directory));
    ASSERT_TRUE(stalled.Send("slow\tcl"));
    test::ServeUntilDone([&] {
        test::TSocketPeer quick(SocketOf(directory));
        quick.Send("quick\tshow\n");
        return quick.ReadToEnd(5000);
    });
    EXPECT_EQ(got, std::vector<std::string>{"quick|show"});
    // The stalled sender was kept waiting, not dropped: the rest of its line still arrives.
    test::ServeUntilDone([&] {
        stalled.Send("ose\n");
        return stalled.ReadToEnd(5000);
    });
    EXPECT_EQ(got, (std::vector<std::string>{"quick|show", "slow|close"}));
    // One that never finishes is cut off, and a line too long to be a request is refused.
    test::TSocketPeer silent(SocketOf(directory));
    ASSERT_TRUE(silent.Send("silent"));
    EXPECT_TRUE(test::ServeUntilDone([&] { return silent.ReadToEnd(10 * TLocalFrameServer::kStallMs); }).closed);
    const auto endless = test::ServeUntilDone([&] {
        test::TSocketPeer peer(SocketOf(directory));
        peer.Send(std::string(8192, 'x') + "\tclose\n");
        return peer.ReadToEnd(5000);
    });
    EXPECT_TRUE(endless.closed);
    EXPECT_EQ(got.size(), 2u);
}

}  // namespace
}  // namespace vitrina
