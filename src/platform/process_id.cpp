#include "platform/process_id.h"

#include <signal.h>
#include <sys/types.h>

#include <cerrno>
#include <charconv>
#include <limits>

namespace vitrina {

std::optional<long> ProcessIdFromName(std::string_view name) {
    // Digits only, and no leading zero: "0042" is not the name this process family would write.
    if (name.empty() || name[0] == '0' || name.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end != name.data() + name.size() || pid <= 0) return std::nullopt;
    return long(pid);
}

bool ProcessAlive(long pid) {
    // A value past the pid type would wrap onto some other process.
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

}  // namespace vitrina
