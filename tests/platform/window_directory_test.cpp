#include "platform/window_directory.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "support/temp_folder.h"

namespace vitrina {
namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

TEST(WindowDirectory, FindsVisibleWindowsByTitleIgnoringCase) {
    EnsureApp();
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
    EnsureApp();
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

TEST(WindowDirectory, RequestsArriveThroughTheSocket) {
    EnsureApp();
    test::TTempFolder dir;
    TWindowDirectory directory(dir.Path());
    std::vector<std::string> got;
    directory.OnRequest = [&](const std::string& title, const std::string& request) { got.push_back(title + "|" + request); };
    // Another process would connect like this.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (directory.Folder() / (std::to_string(::getpid()) + ".sock")).string();
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string line = "Тезаурус\tclose\n";
    ASSERT_EQ(::send(fd, line.data(), line.size(), 0), ssize_t(line.size()));
    ::close(fd);
    for (int i = 0; i < 200 && got.empty(); ++i) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "\xD2\xE5\xE7\xE0\xF3\xF0\xF3\xF1|close");
    // A request to one of this process's own windows is handed over directly.
    EXPECT_TRUE(directory.Send({::getpid(), "x", true}, "close"));
    EXPECT_EQ(got.back(), "x|close");
    // A process without a socket cannot be reached.
    EXPECT_FALSE(directory.Send({999999999, "x", true}, "close"));
}

}  // namespace
}  // namespace vitrina
