#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/cp1251.h"

namespace vitrina {

TNamedSemaphore::~TNamedSemaphore() { Release(); }

void TNamedSemaphore::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool TNamedSemaphore::Create(const std::filesystem::path& runtimeFolder, std::string_view name) {
    Release();
    std::error_code ec;
    std::filesystem::create_directories(runtimeFolder / "semaphores", ec);
    ::chmod(runtimeFolder.c_str(), 0700);
    // Titles may hold any byte; the file name is the hex of the case-folded name, as Windows
    // object names ignore case.
    std::string file;
    char hex[3];
    for (unsigned char c : LowerCase1251(name)) {
        std::snprintf(hex, sizeof hex, "%02x", c);
        file += hex;
    }
    if (file.empty()) file = "-";
    if (file.size() > 200) file.resize(200);
    const auto path = runtimeFolder / "semaphores" / file;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    fd_ = fd;
    return true;
}

}  // namespace vitrina
