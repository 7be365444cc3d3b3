#include "support/fifo.h"

#include <fcntl.h>
#include <future>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vitrina::test {

void MakeFifo(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("cannot make the pipe " + path.string());
}

bool FinishesWithin(const std::function<void()>& work, const std::vector<std::filesystem::path>& pipes,
                    std::chrono::milliseconds timeout) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread worker([&] {
        work();
        done.set_value();
    });
    const bool inTime = finished.wait_for(timeout) == std::future_status::ready;
    // A reader blocked in open or read goes on once a writer has come and gone.
    while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        for (const auto& pipe : pipes)
            if (const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); fd >= 0) ::close(fd);
    }
    worker.join();
    return inTime;
}

}  // namespace vitrina::test
