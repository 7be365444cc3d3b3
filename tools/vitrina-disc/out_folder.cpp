#include "out_folder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace vitrina::disc {
namespace {

[[noreturn]] void Fail(const std::string& what, const fs::path& path) {
    throw std::runtime_error("cannot write " + path.string() + ": " + what);
}

bool PlainName(const fs::path& part) { return !part.empty() && part != "." && part != ".." && part != "/"; }

}  // namespace

TOutFolder::TOutFolder(const fs::path& root) : root_(root) {
    std::error_code ec;
    fs::create_directories(root, ec);
    fd_ = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) Fail(std::strerror(errno), root);
}

TOutFolder::~TOutFolder() {
    if (fd_ >= 0) ::close(fd_);
}

TOutFolder::TFile TOutFolder::Create(const fs::path& relative) const {
    const fs::path path = root_ / relative;
    std::vector<fs::path> parts(relative.begin(), relative.end());
    if (parts.empty()) Fail("no name", path);
    for (const auto& part : parts)
        if (!PlainName(part)) Fail("not a plain name below the folder", path);
    int folder = ::dup(fd_);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (::mkdirat(folder, parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
            ::close(folder);
            Fail(std::strerror(errno), path);
        }
        // A link where a folder would go is not followed.
        const int next = ::openat(folder, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(folder);
        if (next < 0) Fail(std::string(std::strerror(errno)) + " (" + parts[i].string() + " is no plain folder)", path);
        folder = next;
    }
    // Nor a link at the file's own place; a pipe there would block the open without O_NONBLOCK.
    const int fd = ::openat(folder, parts.back().c_str(),
                            O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    const int error = errno;
    ::close(folder);
    if (fd < 0) Fail(std::strerror(error), path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, O_WRONLY) != 0) {
        ::close(fd);
        Fail("not a regular file", path);
    }
    return TFile(fd, path);
}

TOutFolder::TFile::~TFile() { ::close(fd_); }

void TOutFolder::TFile::Write(std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail(std::strerror(errno), path_);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TOutFolder::Write(const fs::path& relative, std::string_view bytes) const { Create(relative).Write(bytes); }

void TOutFolder::CopyFrom(const fs::path& relative, int fd) const {
    const TFile out = Create(relative);
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::runtime_error("cannot read the file for " + (root_ / relative).string());
        if (n == 0) return;
        out.Write(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
}

}  // namespace vitrina::disc
