#include "resources/description.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/cp1251.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Delphi-style conversion: the whole text must be an optionally signed decimal integer.
bool ToInt(std::string_view text, int& value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last;
}

}  // namespace

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return std::string(text.substr(first, last - first));
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

TDynamicStringArray DecodeDescription(std::string_view bytes, bool lowerCase) {
    TDynamicStringArray lines;
    const std::size_t n = bytes.size();
    if (n == 0) return lines;

    std::string b(n, '\0');
    unsigned k = n % 256;
    b[0] = bytes[0];
    for (std::size_t i = 1; i < n; ++i) {
        b[i] = static_cast<char>(static_cast<unsigned char>(b[i - 1]) + static_cast<unsigned char>(bytes[i]) + k);
        k = (k * 2) % 256;
    }

    const std::size_t m = n / 2;
    std::string t(m, '\0');
    for (std::size_t j = 0; j < m; ++j) t[j] = b[2 * (m - 1 - j) + 1];

    lines.emplace_back();
    for (std::size_t j = 0; j < m; ++j) {
        if (t[j] == '\r' && j + 1 < m && t[j + 1] == '\n') {
            lines.emplace_back();
            ++j;
            continue;
        }
        char c = t[j];
        if (lowerCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        lines.back() += c;
    }
    return lines;
}

int ReadNumber(std::string_view line, std::size_t pos) {
    while (pos < line.size() && !IsDigit(line[pos]) && line[pos] != '-') ++pos;
    std::size_t end = pos;
    while (end < line.size() && (IsDigit(line[end]) || line[end] == '-')) ++end;
    int value = -1;
    if (end == pos || !ToInt(line.substr(pos, end - pos), value)) return -1;
    return value;
}

int ClampCoordinate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, kMinCoordinate, kMaxCoordinate));
}

int ClampSize(long long value) { return static_cast<int>(std::clamp<long long>(value, 0, kMaxCoordinate)); }

long long ReadLong(std::string_view text) {
    const std::string copy(text.substr(0, 64));
    return std::strtoll(copy.c_str(), nullptr, 10);
}

std::string ReadText(std::string_view line, std::size_t pos) {
    if (pos >= line.size()) return {};
    std::string_view rest = line.substr(pos);
    return Trim(rest.substr(0, rest.find(';')));
}

TColor ReadColor(std::string_view line, std::size_t pos) {
    while (pos < line.size() && !IsDigit(line[pos])) ++pos;
    int parts[3];
    for (int& part : parts) {
        part = ReadNumber(line, pos);
        pos += std::to_string(part).size() + 1;
    }
    return (parts[0] & 0xFF) + 256 * (parts[1] & 0xFF) + 65536 * (parts[2] & 0xFF);
}

TDynamicStringArray ReadList(const TDynamicStringArray& lines, std::size_t& index,
                             const std::string& programFolder) {
    TDynamicStringArray list;
    if (index >= lines.size()) return list;
    std::size_t pos = lines[index].find('[');
    if (pos == std::string::npos) return list;
    ++pos;
    for (;;) {
        const std::string& line = lines[index];
        std::string element;
        while (pos < line.size() && line[pos] != ';' && line[pos] != ']') element += line[pos++];
        list.push_back(Trim(element));
        if (pos < line.size() && line[pos] == ';') {
            ++pos;
            continue;
        }
        if (pos < line.size()) break;  // ']'
        if (index + 1 >= lines.size()) break;  // never closed: stop at the last line
        ++index;
        pos = 0;
    }
    for (auto& element : list) element = ResolvePath(element, programFolder);
    return list;
}

bool ReadWindowShape(const TDynamicStringArray& lines, std::size_t& index,
                     const std::string& programFolder, std::vector<TPoint>& points) {
    std::vector<TPoint> read;
    for (const auto& element : ReadList(lines, index, programFolder)) {
        if (read.size() == kMaxShapePoints) break;
        if (element.empty()) continue;  // a ";" at a line's end names no point
        const auto comma = element.find(',');
        TPoint point;
        if (comma == std::string::npos || !ToInt(Trim(element.substr(0, comma)), point.x) ||
            !ToInt(Trim(element.substr(comma + 1)), point.y))
            return false;
        read.push_back({ClampCoordinate(point.x), ClampCoordinate(point.y)});
    }
    points = std::move(read);
    return true;
}

std::string CommandName(std::string_view command) {
    const auto eq = command.find('=');
    return eq == std::string_view::npos ? std::string() : std::string(command.substr(0, eq));
}

std::string CommandArgument(std::string_view command, const std::string& programFolder) {
    const auto first = command.find('=');
    if (first == std::string_view::npos) return {};
    const auto last = command.rfind('=');
    const auto argument = first == last ? command.substr(first + 1) : command.substr(first + 1, last - first - 1);
    return ResolvePath(argument, programFolder);
}

std::string CommandParams(std::string_view command, const std::string& programFolder) {
    const auto first = command.find('=');
    const auto last = command.rfind('=');
    if (first == std::string_view::npos || first == last) return {};
    return ResolvePath(command.substr(last + 1), programFolder);
}

bool IndexOfInt(const TDynamicIntegerArray& array, int value, int& index) {
    for (std::size_t i = 0; i < array.size(); ++i) {
        if (array[i] == value) {
            index = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool ContainsText(const TDynamicStringArray& list, std::string_view text) {
    const std::string wanted = LowerAscii(text);
    for (const auto& element : list) {
        if (LowerAscii(element) == wanted) return true;
    }
    return false;
}

}  // namespace vitrina
