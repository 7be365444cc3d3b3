#include "platform/copy_data_channel.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/local_frame_server.h"
#include "platform/request_record.h"
#include "support/socket_peer.h"
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
    return test::ServeUntilDone([&] {
        test::TSocketPeer peer(socket);
        if (!peer.Send(bytes)) return std::string();
        peer.EndSending();
        return peer.ReadToEnd(5000).bytes;
    });
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

TEST(CopyDataChannel, ASenderThatStallsHoldsUpNoOtherAndIsCutOff) {
    test::TTempFolder folder;
    TCopyDataChannel channel(folder.Path());
    channel.OnCopyData = [&](const std::string& title, long long, const std::string&, std::vector<TCopyDataAnswer>& answers) {
        answers.push_back({kMessageHandled, static_cast<long long>(title.size())});
    };
    const auto socket = folder.Path() / (std::to_string(::getpid()) + ".data");
    const std::string block = EncodeRequestRecord({kRequestOpen, {{0, "a.htm"}}});
    const std::string slow = Frame("slow", 1, block);
    // Half a frame, cut inside the title, and then nothing for a while.
    test::TSocketPeer stalled(socket);
    ASSERT_TRUE(stalled.Send(slow.substr(0, 10)));
    EXPECT_EQ(Exchange(socket, Frame("quick", 2, block)), U32(kMessageHandled) + I64(5));
    // The stalled sender was kept waiting, not dropped: the rest of its frame is still answered.
    const auto late = test::ServeUntilDone([&] {
        stalled.Send(slow.substr(10));
        return stalled.ReadToEnd(5000);
    });
    EXPECT_EQ(late.bytes, U32(kMessageHandled) + I64(4));
    // One that never finishes is cut off by the channel, not left open.
    test::TSocketPeer silent(socket);
    ASSERT_TRUE(silent.Send(slow.substr(0, 3)));
    const auto cut = test::ServeUntilDone([&] { return silent.ReadToEnd(10 * TLocalFrameServer::kStallMs); });
    EXPECT_TRUE(cut.closed);
    EXPECT_EQ(cut.bytes, "");
}

TEST(CopyDataChannel, SocketsLeftByCopiesThatDiedAreRemoved) {
    test::TTempFolder folder;
    folder.Write("999999999.data", "");
    folder.Write("1.data", "");  // a live process (init) keeps its socket
    folder.Write("notes.data", "");
    folder.Write("99999999999999999999.data", "");  // no process: not a name of ours, left alone
    TCopyDataChannel channel(folder.Path());
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "999999999.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "1.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "notes.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "99999999999999999999.data"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / (std::to_string(::getpid()) + ".data")));
}

}  // namespace
}  // namespace vitrina
