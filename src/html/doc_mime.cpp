#include "html/doc_mime.h"

#include <algorithm>
#include <array>
#include <utility>

#include "html/doc_url.h"
#include "platform/cp1251.h"

namespace vitrina {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsCharsetChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

// The charset token after "charset" at pos in a lower-cased tag, or empty.
std::string CharsetAfter(std::string_view tag, std::size_t pos) {
    pos += 7;
    while (pos < tag.size() && IsSpace(tag[pos])) ++pos;
    if (pos >= tag.size() || tag[pos] != '=') return {};
    ++pos;
    while (pos < tag.size() && (IsSpace(tag[pos]) || tag[pos] == '"' || tag[pos] == '\'')) ++pos;
    std::string name;
    while (pos < tag.size() && IsCharsetChar(tag[pos])) name += tag[pos++];
    return name;
}

bool IsTextName(const std::string& ext) {
    static const std::array<const char*, 6> kText = {".txt", ".inf", ".diz", ".ini", ".log", ".nfo"};
    return std::find(kText.begin(), kText.end(), ext) != kText.end();
}

std::string WithCharset(const char* type, std::string_view bytes) {
    return DeclaredCharset(bytes).empty() ? std::string(type) + ";charset=windows-1251" : std::string(type);
}

}  // namespace

std::string DeclaredCharset(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return "utf-8";
    if (bytes.substr(0, 2) == "\xFF\xFE") return "utf-16le";
    if (bytes.substr(0, 2) == "\xFE\xFF") return "utf-16be";
    const std::string head = LowerAscii(bytes.substr(0, kContentHeadLength));
    if (head.starts_with("@charset \"")) {
        const auto close = head.find('"', 10);
        if (close != std::string::npos) return head.substr(10, close - 10);
    }
    for (std::size_t pos = 0; (pos = head.find("<meta", pos)) != std::string::npos; pos += 5) {
        const std::size_t end = std::min(head.find('>', pos), head.size());
        const std::string_view tag = std::string_view(head).substr(pos, end - pos);
        if (const auto at = tag.find("charset"); at != std::string_view::npos) {
            if (std::string name = CharsetAfter(tag, at); !name.empty()) return name;
        }
    }
    return {};
}

std::string ContentTypeFor(std::string_view path, std::string_view bytes) {
    const std::string ext = LowerAscii(ExtensionOf(path));
    if (ext == ".htm" || ext == ".html" || ext == ".shtml" || ext == ".hta") return WithCharset("text/html", bytes);
    if (IsTextName(ext)) return WithCharset("text/plain", bytes);
    static const std::array<std::pair<const char*, const char*>, 18> kTypes = {{
        {".css", "text/css"},        {".js", "text/javascript"},    {".gif", "image/gif"},
        {".jpg", "image/jpeg"},      {".jpeg", "image/jpeg"},       {".jpe", "image/jpeg"},
        {".png", "image/png"},       {".bmp", "image/bmp"},         {".ico", "image/x-icon"},
        {".svg", "image/svg+xml"},   {".xml", "text/xml"},          {".pdf", "application/pdf"},
        {".wav", "audio/wav"},       {".mp3", "audio/mpeg"},        {".mid", "audio/midi"},
        {".avi", "video/x-msvideo"}, {".mpg", "video/mpeg"},        {".mp4", "video/mp4"},
    }};
    for (const auto& [name, type] : kTypes)
        if (ext == name) return type == std::string_view("text/css") ? WithCharset(type, bytes) : type;
    // A page under a name the engine would offer for download: show it when it looks like HTML.
    const std::string head = LowerAscii(bytes.substr(0, kContentHeadLength));
    if (head.find("<html") != std::string::npos || head.find("<body") != std::string::npos)
        return WithCharset("text/html", bytes);
    return "application/octet-stream";
}

bool IsPictureName(std::string_view path) {
    const std::string ext = LowerAscii(ExtensionOf(path));
    return ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".png";
}

}  // namespace vitrina
