#pragma once
// The named semaphore of the single-instance test: a lock file per name in the runtime folder,
// held with flock for the life of the process. The kernel drops the lock when a process dies,
// so a stale entry of a crashed copy never blocks the next start.
#include <filesystem>
#include <string_view>

namespace vitrina {

class TNamedSemaphore {
public:
    TNamedSemaphore() = default;
    ~TNamedSemaphore();
    TNamedSemaphore(const TNamedSemaphore&) = delete;
    TNamedSemaphore& operator=(const TNamedSemaphore&) = delete;

    // Creates the semaphore name (1251) under runtimeFolder (made with mode 0700). False when
    // another holder has it already, the way CreateSemaphore reports ERROR_ALREADY_EXISTS. A
    // folder that cannot be used gives true: a broken runtime folder must not stop the program.
    bool Create(const std::filesystem::path& runtimeFolder, std::string_view name);
    void Release();

private:
    int fd_ = -1;
};

}  // namespace vitrina
