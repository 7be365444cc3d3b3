#include "json_writer.h"

#include <cstdio>

#include "platform/cp1251.h"

namespace vitrina::disc {

void TJsonWriter::Separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

void TJsonWriter::BeginObject() {
    Separate();
    out_ += '{';
    first_.push_back(true);
}

void TJsonWriter::EndObject() {
    out_ += '}';
    first_.pop_back();
}

void TJsonWriter::BeginArray() {
    Separate();
    out_ += '[';
    first_.push_back(true);
}

void TJsonWriter::EndArray() {
    out_ += ']';
    first_.pop_back();
}

void TJsonWriter::Key(std::string_view name) {
    String(name);
    out_ += ':';
    afterKey_ = true;
}

void TJsonWriter::String(std::string_view text1251) {
    Separate();
    out_ += '"';
    for (unsigned char c : Cp1251ToUtf8(text1251)) {
        switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out_ += buffer;
                } else {
                    out_ += static_cast<char>(c);
                }
        }
    }
    out_ += '"';
}

void TJsonWriter::Number(long long value) {
    Separate();
    out_ += std::to_string(value);
}

void TJsonWriter::Bool(bool value) {
    Separate();
    out_ += value ? "true" : "false";
}

void TJsonWriter::Null() {
    Separate();
    out_ += "null";
}

void TJsonWriter::StringArray(const std::vector<std::string>& items) {
    BeginArray();
    for (const auto& item : items) String(item);
    EndArray();
}

}  // namespace vitrina::disc
