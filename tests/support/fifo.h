#pragma once
// Named pipes where a disc has files, and a bounded wait for code that might block on them: a
// test of a hang must fail, not hang.
#include <chrono>
#include <filesystem>
#include <functional>
#include <vector>

namespace vitrina::test {

// Makes a named pipe at path (its folders too).
void MakeFifo(const std::filesystem::path& path);

// Runs work on a thread of its own and waits at most timeout for it. When it has not returned by
// then, a writer opens and closes each pipe until the blocked work ends (so the test goes on) and
// the answer is false.
bool FinishesWithin(const std::function<void()>& work, const std::vector<std::filesystem::path>& pipes,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace vitrina::test
