#include "platform/process_id.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace vitrina {
namespace {

TEST(ProcessId, NamesAreReadWithoutTrustingThem) {
    const struct {
        std::string name;
        std::optional<long> pid;
    } cases[] = {
        {"1234", 1234},
        {"1", 1},
        {"2147483647", 2147483647L},           // the largest pid_t
        {"2147483648", std::nullopt},          // one past it
        {"4294967297", std::nullopt},          // would wrap onto pid 1
        {"99999999999999999999", std::nullopt},  // past any integer type
        {std::string(4096, '9'), std::nullopt},
        {"0", std::nullopt},
        {"0042", std::nullopt},  // not the name a process writes for itself
        {"-5", std::nullopt},
        {"+5", std::nullopt},
        {"", std::nullopt},
        {"12a", std::nullopt},
        {" 12", std::nullopt},
        {"12.sock", std::nullopt},
        {"notes", std::nullopt},
        {"\xD9\xE5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ProcessIdFromName(c.name), c.pid) << c.name.substr(0, 40);
}

TEST(ProcessId, AliveOnlyForProcessesThatExist) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    const struct {
        long pid;
        bool alive;
    } cases[] = {
        {long(::getpid()), true},
        {1, true},
        {long(child), false},  // ended and reaped
        {0, false},            // would mean the whole process group
        {-1, false},           // would mean every process
        {(1L << 32) + 1, false},  // would wrap onto pid 1
    };
    for (const auto& c : cases) EXPECT_EQ(ProcessAlive(c.pid), c.alive) << c.pid;
}

}  // namespace
}  // namespace vitrina
