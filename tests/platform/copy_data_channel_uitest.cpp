#include "platform/copy_data_channel.h"

#include <QTest>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>
#include <thread>

#include "platform/request_record.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string U32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
    return s;
}
std::string I64(long long v) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += char((static_cast<unsigned long long>(v) >> (8 * i)) & 0xFF);
    return s;
}
std::string Frame(const std::string& title, long long sender, const std::string& block) {
    return std::string("VCD1") + U32(std::uint32_t(title.size())) + title + I64(sender) + U32(std::uint32_t(block.size())) + block;
}

// What another process sees: the raw bytes written to the channel's socket and all bytes of
// the reply, read on a thread while this one serves.
std::string Exchange(const std::filesystem::path& socket, const std::string& bytes) {
    auto reply = std::async(std::launch::async, [&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strncpy(a.sun_path, socket.c_str(), sizeof a.sun_path - 1);
        std::string in;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            ::shutdown(fd, SHUT_WR);
            char buffer[256];
            for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) in.append(buffer, std::size_t(n));
        }
        ::close(fd);
        return in;
    });
    while (reply.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) QTest::qWait(5);
    return reply.get();
}

TEST(CopyDataChannel, ARequestReachesTheHandlerUnchangedAndItsAnswersGoBack) {
    test::TTempFolder folder;
    TCopyDataChannel channel(folder.Path());
    std::vector<std::tuple<std::string, long long, std::string>> seen;
    channel.OnCopyData = [&](const std::string& title, long long sender, const std::string& block,
                             std::vector<TCopyDataAnswer>& answers) {
        seen.emplace_back(title, sender, block);
        answers.push_back({kMessageQueryAnswer, 1});
        answers.push_back({kMessageHandled, -7});
    };
    const auto socket = folder.Path() / (std::to_string(::getpid()) + ".data");
    const std::string block = EncodeRequestRecord({kRequestQuery, {{0, "d:\\a.bmp"}}});
    const std::string reply = Exchange(socket, Frame("\xD3\xe2", 4242, block));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(std::get<0>(seen[0]), "\xD3\xe2");
    EXPECT_EQ(std::get<1>(seen[0]), 4242);
    EXPECT_EQ(std::get<2>(seen[0]), block);
    EXPECT_EQ(reply, U32(1225) + I64(1) + U32(1690) + I64(-7));
}

TEST(CopyDataChannel, MalformedFramesGetNoAnswerAndTheChannelServesOnAfterwards) {
    test::TTempFolder folder;
    TCopyDataChannel channel(folder.Path());
    int handled = 0;
    channel.OnCopyData = [&](const std::string&, long long, const std::string&, std::vector<TCopyDataAnswer>& answers) {
        ++handled;
        answers.push_back({kMessageQueryAnswer, 0});
    };
    const auto socket = folder.Path() / (std::to_string(::getpid()) + ".data");
    const std::string block = EncodeRequestRecord({kRequestQuery, {}});
    const std::string good = Frame("t", 1, block);
    const std::string bad[] = {
        "",
        "XXXX" + good.substr(4),                                            // not a request
        good.substr(0, good.size() - 1),                                    // cut short
        std::string("VCD1") + U32(0xFFFFFFFFu) + "t",                       // a title the size of memory
        std::string("VCD1") + U32(1) + "t" + I64(1) + U32(0x7FFFFFFFu),     // a block the size of memory
    };
    for (const std::string& frame : bad) EXPECT_EQ(Exchange(socket, frame), "") << frame.size();
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(Exchange(socket, good), U32(1225) + I64(0));
    EXPECT_EQ(handled, 1);
}

TEST(CopyDataChannel, WindowsOfThisProcessAreServedDirectlyAndGoneProcessesAnswerNothing) {
    test::TTempFolder folder;
    TCopyDataChannel channel(folder.Path());
    long long sender = 0;
    channel.OnCopyData = [&](const std::string&, long long s, const std::string&, std::vector<TCopyDataAnswer>& answers) {
        sender = s;
        answers.push_back({kMessageHandled, 5});
    };
    const std::string block = EncodeRequestRecord({kRequestOpen, {{0, "a.htm"}}});
    EXPECT_EQ(channel.Send({long(::getpid()), "t", true}, block), (std::vector<TCopyDataAnswer>{{kMessageHandled, 5}}));
    EXPECT_EQ(sender, TCopyDataChannel::OwnHandle());
    EXPECT_TRUE(channel.Send({999999999, "t", true}, block).empty());
}

TEST(CopyDataChannel, SocketsLeftByCopiesThatDiedAreRemoved) {
    test::TTempFolder folder;
    folder.Write("999999999.data", "");
    folder.Write("1.data", "");  // a live process (init) keeps its socket
    folder.Write("notes.data", "");
    TCopyDataChannel channel(folder.Path());
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "999999999.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "1.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "notes.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / (std::to_string(::getpid()) + ".data")));
}

}  // namespace
}  // namespace vitrina
