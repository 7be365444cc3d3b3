#include "platform/regular_file.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vitrina {

TRegularFile::~TRegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

TRegularFile::TRegularFile(TRegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

TRegularFile& TRegularFile::operator=(TRegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

int TRegularFile::Release() {
    size_ = 0;
    return std::exchange(fd_, -1);
}

TRegularFile TRegularFile::Open(const std::filesystem::path& path, bool noFollow) {
    TRegularFile file;
    // O_NONBLOCK: opening a pipe that has no writer returns at once instead of waiting for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (noFollow ? O_NOFOLLOW : 0));
    if (fd < 0) return file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return file;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return file;
    }
    file.fd_ = fd;
    file.size_ = static_cast<std::uint64_t>(st.st_size);
    return file;
}

bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes, std::uint64_t maxSize, bool noFollow) {
    const TRegularFile file = TRegularFile::Open(path, noFollow);
    if (!file.IsOpen() || file.Size() > maxSize) return false;
    std::string content(static_cast<std::size_t>(file.Size()), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::pread(file.Fd(), content.data() + done, content.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;  // the file shrank while it was read
        done += static_cast<std::size_t>(n);
    }
    content.resize(done);
    bytes = std::move(content);
    return true;
}

std::unique_ptr<QFile> OpenRegularQFile(const std::filesystem::path& path) {
    TRegularFile file = TRegularFile::Open(path);
    if (!file.IsOpen()) return nullptr;
    auto device = std::make_unique<QFile>(QString::fromStdString(path.string()));
    const int fd = file.Release();
    if (!device->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return device;
}

}  // namespace vitrina
