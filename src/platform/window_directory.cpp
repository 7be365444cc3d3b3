#include "platform/window_directory.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/cp1251.h"

namespace vitrina {
namespace fs = std::filesystem;

namespace {

bool Alive(long pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

bool SocketAddress(const fs::path& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string p = path.string();
    if (p.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, p.c_str(), p.size() + 1);
    return true;
}

// Titles may hold tabs or line breaks in principle; the entry format keeps one window a line.
std::string Clean(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

TWindowDirectory::TWindowDirectory(fs::path runtimeFolder, QObject* parent)
    : QObject(parent), folder_(std::move(runtimeFolder) / "windows") {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    ::chmod(folder_.parent_path().c_str(), 0700);
    ::chmod(folder_.c_str(), 0700);
    const fs::path socketPath = folder_ / (std::to_string(::getpid()) + ".sock");
    ::unlink(socketPath.c_str());
    sockaddr_un address;
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ >= 0 && SocketAddress(socketPath, address) &&
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(listenFd_, 8) == 0) {
        notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Accept(); });
    } else if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

TWindowDirectory::~TWindowDirectory() {
    const std::string pid = std::to_string(::getpid());
    ::unlink((folder_ / (pid + ".sock")).c_str());
    ::unlink((folder_ / pid).c_str());
    if (listenFd_ >= 0) ::close(listenFd_);
}

void TWindowDirectory::Publish(const std::vector<TWindowEntry>& windows) {
    std::string text;
    for (const TWindowEntry& w : windows) text += std::string(w.visible ? "1" : "0") + "\t" + Cp1251ToUtf8(Clean(w.title)) + "\n";
    const std::string pid = std::to_string(::getpid());
    const fs::path temp = folder_ / (pid + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) return;
    }
    std::error_code ec;
    fs::rename(temp, folder_ / pid, ec);
}

std::vector<TWindowEntry> TWindowDirectory::Windows() const {
    std::vector<TWindowEntry> all;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const long pid = std::stol(name);
        if (!Alive(pid)) {
            // A copy that died without tidying up.
            ::unlink(entry.path().c_str());
            ::unlink((folder_ / (name + ".sock")).c_str());
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 2 || line[1] != '\t') continue;
            all.push_back({pid, Utf8ToCp1251(line.substr(2)), line[0] == '1'});
        }
    }
    return all;
}

bool TWindowDirectory::FindWindowByTitle(std::string_view title, TWindowEntry& found) const {
    // This process's own windows first, as a window search of the same thread would meet them.
    auto windows = Windows();
    std::stable_partition(windows.begin(), windows.end(), [](const TWindowEntry& w) { return w.pid == ::getpid(); });
    for (const TWindowEntry& w : windows) {
        if (w.visible && SameText1251(w.title, title)) {
            found = w;
            return true;
        }
    }
    return false;
}

bool TWindowDirectory::Send(const TWindowEntry& window, std::string_view request) const {
    if (window.pid == ::getpid()) {
        if (OnRequest) OnRequest(window.title, std::string(request));
        return true;
    }
    sockaddr_un address;
    if (!SocketAddress(folder_ / (std::to_string(window.pid) + ".sock"), address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool sent = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string line = Cp1251ToUtf8(Clean(window.title)) + "\t" + Cp1251ToUtf8(Clean(std::string(request))) + "\n";
        sent = ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == ssize_t(line.size());
    }
    ::close(fd);
    return sent;
}

void TWindowDirectory::Accept() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) return;
        // Requests are one short line; a sender that stalls is cut off after a second.
        timeval timeout{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        std::string line;
        char buffer[1024];
        while (line.find('\n') == std::string::npos && line.size() < 4096) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            line.append(buffer, std::size_t(n));
        }
        ::close(fd);
        const auto end = line.find('\n');
        const auto tab = line.find('\t');
        if (end == std::string::npos || tab == std::string::npos || tab > end) continue;
        if (OnRequest) OnRequest(Utf8ToCp1251(line.substr(0, tab)), Utf8ToCp1251(line.substr(tab + 1, end - tab - 1)));
    }
}

}  // namespace vitrina
