#include "search/index_builder.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

bool IsWordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0 ||
           c == 0xA8 || c == 0xB8;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view prefix) {
    if (pos + prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[pos + i]) != prefix[i]) return false;
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i)
        if (StartsWithNoCase(text, i, needle)) return i;
    return std::string_view::npos;
}

struct TNamedEntity {
    const char* name;
    char32_t code;
};
constexpr TNamedEntity kEntities[] = {
    {"nbsp", 0x20},   {"amp", '&'},      {"lt", '<'},       {"gt", '>'},       {"quot", '"'},
    {"apos", '\''},   {"laquo", 0xAB},   {"raquo", 0xBB},   {"mdash", 0x2014}, {"ndash", 0x2013},
    {"copy", 0xA9},   {"reg", 0xAE},     {"deg", 0xB0},     {"plusmn", 0xB1},  {"micro", 0xB5},
    {"middot", 0xB7}, {"hellip", 0x2026}, {"bull", 0x2022}, {"sect", 0xA7},    {"para", 0xB6},
    {"euro", 0x20AC}, {"trade", 0x2122}, {"shy", 0xAD},     {"ldquo", 0x201C}, {"rdquo", 0x201D},
    {"bdquo", 0x201E}, {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"numero", 0x2116},
};

// Decodes the entity at text[pos] == '&'. Returns the number of bytes it spans (0 when it is
// no entity) and its 1251 text.
std::size_t DecodeEntity(std::string_view text, std::size_t pos, std::string& out) {
    const std::size_t semicolon = text.find(';', pos);
    if (semicolon == std::string_view::npos || semicolon - pos > 10 || semicolon == pos + 1) return 0;
    const std::string_view body = text.substr(pos + 1, semicolon - pos - 1);
    char32_t code = 0;
    if (body[0] == '#') {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        const std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty()) return 0;
        for (char c : digits) {
            int v;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (hex && c >= 'a' && c <= 'f') v = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') v = c - 'A' + 10;
            else return 0;
            code = code * (hex ? 16 : 10) + static_cast<char32_t>(v);
            if (code > 0x10FFFF) return 0;
        }
    } else {
        bool found = false;
        for (const auto& e : kEntities) {
            if (body == e.name) {
                code = e.code;
                found = true;
                break;
            }
        }
        if (!found) return 0;
    }
    const unsigned char b = UnicodeToCp1251(code);
    out.assign(1, (b == '?' && code != '?') ? ' ' : static_cast<char>(b));
    return semicolon - pos + 1;
}

// Tags that sit inside words without breaking them.
bool IsInlineTag(std::string_view name) {
    static const std::set<std::string_view> kInline = {"a",    "b",     "i",   "u",   "em",  "strong", "span",
                                                        "font", "small", "big", "sub", "sup", "tt",     "s"};
    return kInline.count(name) > 0;
}

std::string CollapseBlanks(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (Byte(c) <= 32) {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string DecodeEntities(std::string_view text) {
    std::string out;
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            const std::size_t span = DecodeEntity(text, i, decoded);
            if (span > 0) {
                out += decoded;
                i += span - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

std::string ExtractTitle(std::string_view html) {
    const std::size_t open = FindNoCase(html, "<title", 0);
    if (open == std::string_view::npos) return {};
    const std::size_t start = html.find('>', open);
    if (start == std::string_view::npos) return {};
    std::size_t end = FindNoCase(html, "</title", start + 1);
    if (end == std::string_view::npos) end = html.size();
    return CollapseBlanks(DecodeEntities(html.substr(start + 1, end - start - 1)));
}

std::string VisibleText(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    bool inHead = false;
    std::string decoded;
    std::size_t i = 0;
    const std::size_t n = html.size();
    while (i < n) {
        const char c = html[i];
        if (c == '<' && i + 1 < n) {
            if (html.compare(i, 4, "<!--") == 0) {
                const std::size_t end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? n : end + 3;
                out += ' ';
                continue;
            }
            std::size_t j = i + 1;
            const bool closing = html[j] == '/';
            if (closing) ++j;
            const bool isTag = j < n && (std::isalpha(Byte(html[j])) || html[j] == '!' || html[j] == '?');
            if (isTag) {
                std::string name;
                while (j < n && std::isalnum(Byte(html[j]))) name += AsciiLower(html[j++]);
                // The tag ends at the first '>' outside quotes.
                char quote = 0;
                while (j < n && (quote || html[j] != '>')) {
                    if (quote && html[j] == quote) quote = 0;
                    else if (!quote && (html[j] == '"' || html[j] == '\'')) quote = html[j];
                    ++j;
                }
                i = j < n ? j + 1 : n;
                if (!closing && (name == "script" || name == "style" || name == "title")) {
                    const std::size_t end = FindNoCase(html, "</" + name, i);
                    if (end == std::string_view::npos) {
                        i = n;
                    } else {
                        const std::size_t gt = html.find('>', end);
                        i = gt == std::string_view::npos ? n : gt + 1;
                    }
                }
                if (name == "head") inHead = !closing;
                if (name == "body" && !closing) inHead = false;
                if (!IsInlineTag(name)) out += ' ';
                continue;
            }
        }
        if (c == '&') {
            const std::size_t span = DecodeEntity(html, i, decoded);
            if (span > 0) {
                if (!inHead) out += decoded;
                i += span;
                continue;
            }
        }
        if (!inHead) out += c;
        ++i;
    }
    return out;
}

TDynamicStringArray SplitWords(std::string_view text) {
    TDynamicStringArray words;
    std::set<std::string> seen;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsWordByte(Byte(text[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && IsWordByte(Byte(text[j]))) ++j;
        std::string word = LowerCase1251(text.substr(i, j - i));
        if (seen.insert(word).second) words.push_back(std::move(word));
        i = j;
    }
    return words;
}

std::string DocumentAs1251(std::string_view html) {
    if (html.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToCp1251(html.substr(3));
    const std::string_view head = html.substr(0, 2048);
    std::size_t pos = FindNoCase(head, "charset", 0);
    while (pos != std::string_view::npos) {
        std::size_t v = pos + 7;
        while (v < head.size() && (head[v] == '=' || head[v] == '"' || head[v] == '\'' || head[v] == ' ')) ++v;
        if (StartsWithNoCase(head, v, "utf-8") || StartsWithNoCase(head, v, "utf8")) return Utf8ToCp1251(html);
        pos = FindNoCase(head, "charset", pos + 7);
    }
    return std::string(html);
}

void TIndexBuilder::AddDocument(const std::string& path, std::string_view html) {
    TDocument document;
    document.title = ExtractTitle(html);
    document.words = SplitWords(VisibleText(html));
    documents_[path] = std::move(document);
}

TIndexFiles TIndexBuilder::Write() const {
    TIndexFiles files;
    std::map<std::string, std::vector<int>> postings;
    int number = 0;
    for (const auto& [path, document] : documents_) {
        ++number;
        files.files += path + "#:#" + document.title + "\r\n";
        for (const auto& word : document.words) postings[word].push_back(number);
    }
    for (const auto& [word, numbers] : postings) {
        files.keywords += word + "\r\n";
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (i > 0) files.index += ':';
            files.index += std::to_string(numbers[i]);
        }
        files.index += "\r\n";
    }
    return files;
}

TIndexFiles BuildIndexFromFolder(const std::filesystem::path& folder, std::size_t* documentCount) {
    namespace fs = std::filesystem;
    TIndexBuilder builder;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string extension = LowerAscii(it->path().extension().string());
        if (extension.find(".htm") == std::string::npos) continue;
        std::string path;
        for (const auto& part : fs::relative(it->path(), folder)) {
            if (!path.empty()) path += '\\';
            path += Utf8ToCp1251(part.string());
        }
        std::ifstream in(it->path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        builder.AddDocument(path, DocumentAs1251(bytes));
    }
    if (documentCount) *documentCount = builder.DocumentCount();
    return builder.Write();
}

}  // namespace vitrina
