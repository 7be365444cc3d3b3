#include "platform/copy_data_channel.h"

#include <QSocketNotifier>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vitrina {
namespace fs = std::filesystem;

namespace {

constexpr char kMagic[4] = {'V', 'C', 'D', '1'};
// Titles are short and the record is 840 bytes; anything far larger is not a request.
constexpr std::uint32_t kMaxTitle = 4096;
constexpr std::uint32_t kMaxBlock = 65536;
constexpr int kWaitSteps = 10;
constexpr int kWaitStepMs = 50;

fs::path SocketOf(const fs::path& folder, long pid) { return folder / (std::to_string(pid) + ".data"); }

bool Address(const fs::path& path, sockaddr_un& a) {
    std::memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    const std::string p = path.string();
    if (p.size() >= sizeof a.sun_path) return false;
    std::memcpy(a.sun_path, p.c_str(), p.size() + 1);
    return true;
}

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

bool ReadExactly(int fd, char* into, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::recv(fd, into + got, size - got, 0);
        if (n <= 0) return false;
        got += std::size_t(n);
    }
    return true;
}

bool SendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += std::size_t(n);
    }
    return true;
}

}  // namespace

long long TCopyDataChannel::OwnHandle() { return ::getpid(); }

TCopyDataChannel::TCopyDataChannel(fs::path folder, QObject* parent)
    : QObject(parent), socketPath_(SocketOf(folder, ::getpid())), folder_(std::move(folder)) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    // Sockets of copies that died without tidying up.
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string stem = name.size() > 5 && name.ends_with(".data") ? name.substr(0, name.size() - 5) : "";
        if (stem.empty() || stem.find_first_not_of("0123456789") != std::string::npos) continue;
        const long pid = std::stol(stem);
        if (pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno != EPERM) ::unlink(entry.path().c_str());
    }
    ::unlink(socketPath_.c_str());
    sockaddr_un a;
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ >= 0 && Address(socketPath_, a) && ::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::listen(listenFd_, 8) == 0) {
        notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Accept(); });
    } else if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

TCopyDataChannel::~TCopyDataChannel() {
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(socketPath_.c_str());
    }
}

std::vector<TCopyDataAnswer> TCopyDataChannel::Send(const TWindowEntry& window, const std::string& block) const {
    std::vector<TCopyDataAnswer> answers;
    if (window.pid == ::getpid()) {
        if (OnCopyData) OnCopyData(window.title, OwnHandle(), block, answers);
        return answers;
    }
    sockaddr_un a;
    if (!Address(SocketOf(folder_, window.pid), a)) return answers;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return answers;
    std::string frame(kMagic, sizeof kMagic);
    PutU32(frame, std::uint32_t(window.title.size()));
    frame += window.title;
    PutI64(frame, OwnHandle());
    PutU32(frame, std::uint32_t(block.size()));
    frame += block;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && SendAll(fd, frame)) {
        ::shutdown(fd, SHUT_WR);
        // Answers are 12 bytes each; the receiver closes when it has given them all.
        std::string in;
        for (int step = 0; step < kWaitSteps; ++step) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, kWaitStepMs) <= 0) continue;
            char buffer[256];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            in.append(buffer, std::size_t(n));
        }
        for (std::size_t at = 0; at + 12 <= in.size(); at += 12)
            answers.push_back({GetU32(in.data() + at), GetI64(in.data() + at + 4)});
    }
    ::close(fd);
    return answers;
}

void TCopyDataChannel::Accept() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;
        // A sender that stalls is cut off; a malformed frame is dropped unanswered.
        timeval timeout{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        char head[8];
        std::string title, block;
        char sender[8];
        char size[4];
        bool ok = ReadExactly(fd, head, 8) && std::memcmp(head, kMagic, 4) == 0;
        const std::uint32_t titleSize = ok ? GetU32(head + 4) : 0;
        ok = ok && titleSize <= kMaxTitle;
        if (ok) {
            title.resize(titleSize);
            ok = ReadExactly(fd, title.data(), titleSize) && ReadExactly(fd, sender, 8) && ReadExactly(fd, size, 4);
        }
        const std::uint32_t blockSize = ok ? GetU32(size) : 0;
        ok = ok && blockSize <= kMaxBlock;
        if (ok) {
            block.resize(blockSize);
            ok = ReadExactly(fd, block.data(), blockSize);
        }
        if (ok && OnCopyData) {
            std::vector<TCopyDataAnswer> answers;
            OnCopyData(title, GetI64(sender), block, answers);
            std::string out;
            for (const auto& answer : answers) {
                PutU32(out, answer.message);
                PutI64(out, answer.wParam);
            }
            SendAll(fd, out);
        }
        ::close(fd);
    }
}

}  // namespace vitrina
