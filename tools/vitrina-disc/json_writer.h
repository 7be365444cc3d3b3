#pragma once
// A small JSON writer for the tool's output. Strings come in as 1251 and go out as UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace vitrina::disc {

class TJsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view name);
    void String(std::string_view text1251);
    void Number(long long value);
    void Bool(bool value);
    void Null();
    void StringArray(const std::vector<std::string>& items);

    // The text written so far, with a final newline.
    std::string Text() const { return out_ + "\n"; }

private:
    void Separate();

    std::string out_;
    std::vector<bool> first_;  // per open container: nothing written yet
    bool afterKey_ = false;
};

}  // namespace vitrina::disc
