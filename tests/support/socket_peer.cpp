#include "support/socket_peer.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vitrina::test {

TSocketPeer::TSocketPeer(const std::filesystem::path& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socket.string();
    if (path.size() >= sizeof address.sun_path) return;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

TSocketPeer::~TSocketPeer() {
    if (fd_ >= 0) ::close(fd_);
}

bool TSocketPeer::Send(std::string_view bytes) {
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += std::size_t(n);
    }
    return fd_ >= 0;
}

void TSocketPeer::EndSending() {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

TSocketPeer::TReply TSocketPeer::ReadToEnd(int timeoutMs) {
    TReply reply;
    if (fd_ < 0) return reply;
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return reply;
        char buffer[256];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // An end that closes with bytes of ours unread resets the connection: closed as well.
            reply.closed = true;
            return reply;
        }
        reply.bytes.append(buffer, std::size_t(n));
    }
}

}  // namespace vitrina::test
