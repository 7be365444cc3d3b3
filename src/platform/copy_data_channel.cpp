#include "platform/copy_data_channel.h"

#include <unistd.h>

#include <cstring>

#include "platform/local_frame_server.h"
#include "platform/process_id.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

// A frame: "VCD1", title size (u32), title, sender handle (i64), block size (u32), block; each
// answer: message (u32), wParam (i64); all little-endian.
constexpr char kMagic[4] = {'V', 'C', 'D', '1'};
// Titles are short and the record is 840 bytes; anything far larger is not a request.
constexpr std::uint32_t kMaxTitle = 4096;
constexpr std::uint32_t kMaxBlock = 65536;
constexpr int kWaitSteps = 10;
constexpr int kWaitStepMs = 50;
constexpr std::size_t kAnswerSize = 12;

fs::path SocketOf(const fs::path& folder, long pid) { return folder / (std::to_string(pid) + ".data"); }

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}
void PutI64(std::string& out, long long v) {
    for (int i = 0; i < 8; ++i) out += char((static_cast<unsigned long long>(v) >> (8 * i)) & 0xFF);
}
std::uint32_t GetU32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(p[i])) << (8 * i);
    return v;
}
long long GetI64(const char* p) {
    unsigned long long v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<unsigned long long>(static_cast<unsigned char>(p[i])) << (8 * i);
    return static_cast<long long>(v);
}

struct TFrameParts {
    std::string_view title;
    long long sender = 0;
    std::string_view block;
};

// Reads a frame from the bytes received so far, checking each size before it is trusted.
TLocalFrameServer::TFrame ReadFrame(std::string_view in, TFrameParts& parts) {
    using TFrame = TLocalFrameServer::TFrame;
    if (std::memcmp(in.data(), kMagic, std::min(in.size(), sizeof kMagic)) != 0) return TFrame::Bad;
    if (in.size() < 8) return TFrame::Incomplete;
    const std::uint32_t titleSize = GetU32(in.data() + 4);
    if (titleSize > kMaxTitle) return TFrame::Bad;
    const std::size_t blockSizeAt = 8 + std::size_t(titleSize) + 8;
    if (in.size() < blockSizeAt + 4) return TFrame::Incomplete;
    const std::uint32_t blockSize = GetU32(in.data() + blockSizeAt);
    if (blockSize > kMaxBlock) return TFrame::Bad;
    if (in.size() < blockSizeAt + 4 + blockSize) return TFrame::Incomplete;
    parts.title = in.substr(8, titleSize);
    parts.sender = GetI64(in.data() + 8 + titleSize);
    parts.block = in.substr(blockSizeAt + 4, blockSize);
    return TFrame::Whole;
}

}  // namespace

long long TCopyDataChannel::OwnHandle() { return ::getpid(); }

TCopyDataChannel::TCopyDataChannel(fs::path folder, QObject* parent) : QObject(parent), folder_(std::move(folder)) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // Sockets of copies that died without tidying up.
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const fs::path name = entry.path().filename();
        if (name.extension() != ".data") continue;
        const std::optional<long> pid = ProcessIdFromName(name.stem().string());
        std::error_code ignored;
        if (pid && !ProcessAlive(*pid)) fs::remove(entry.path(), ignored);
    }
    // Served for the life of this object, as its child.
    new TLocalFrameServer(
        SocketOf(folder_, ::getpid()),
        [this](std::string_view received, std::string& reply) {
            TFrameParts parts;
            const TLocalFrameServer::TFrame frame = ReadFrame(received, parts);
            if (frame != TLocalFrameServer::TFrame::Whole) return frame;
            // A malformed frame is dropped unanswered; a whole one gets the handler's answers,
            // then the connection closes.
            std::vector<TCopyDataAnswer> answers;
            if (OnCopyData) OnCopyData(std::string(parts.title), parts.sender, std::string(parts.block), answers);
            for (const auto& answer : answers) {
                PutU32(reply, answer.message);
                PutI64(reply, answer.wParam);
            }
            return TLocalFrameServer::TFrame::Whole;
        },
        this);
}

TCopyDataChannel::~TCopyDataChannel() = default;

std::vector<TCopyDataAnswer> TCopyDataChannel::Send(const TWindowEntry& window, const std::string& block) const {
    std::vector<TCopyDataAnswer> answers;
    if (window.pid == ::getpid()) {
        if (OnCopyData) OnCopyData(window.title, OwnHandle(), block, answers);
        return answers;
    }
    std::string frame(kMagic, sizeof kMagic);
    PutU32(frame, std::uint32_t(window.title.size()));
    frame += window.title;
    PutI64(frame, OwnHandle());
    PutU32(frame, std::uint32_t(block.size()));
    frame += block;
    const std::optional<std::string> in = TLocalFrameServer::Exchange(SocketOf(folder_, window.pid), frame, kWaitSteps, kWaitStepMs);
    if (!in) return answers;
    for (std::size_t at = 0; at + kAnswerSize <= in->size(); at += kAnswerSize)
        answers.push_back({GetU32(in->data() + at), GetI64(in->data() + at + 4)});
    return answers;
}

}  // namespace vitrina
