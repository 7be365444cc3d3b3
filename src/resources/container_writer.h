#pragma once
// Writes a resource container: the directory first, then the entries' data in the same order.
#include <string>
#include <utility>
#include <vector>

namespace vitrina {

struct TContainerEntry {
    std::string name;  // 1251
    std::string data;
};

std::string WriteContainer(const std::vector<TContainerEntry>& entries);

}  // namespace vitrina
