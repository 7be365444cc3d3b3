#include "html/visible_text.h"

#include <algorithm>
#include <array>
#include <compare>
#include <cstdint>
#include <vector>

#include <QStringDecoder>

#include "html/doc_mime.h"
#include "html/html_entities.h"
#include "platform/cp1251.h"

namespace vitrina {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view lowerPrefix) {
    if (pos > text.size() || text.size() - pos < lowerPrefix.size()) return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
        if (AsciiLower(text[pos + i]) != lowerPrefix[i]) return false;
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    for (std::size_t i = from; i + lowerNeedle.size() <= text.size(); ++i)
        if (StartsWithNoCase(text, i, lowerNeedle)) return i;
    return std::string_view::npos;
}

// How the text loop treats each byte, and the byte it writes.
enum TByteKind : unsigned char { kText, kSpace, kMarkup };

struct TByteTables {
    std::array<TByteKind, 256> kind{};
    std::array<char, 256> same{};
    std::array<char, 256> lower{};
};

const TByteTables& Tables() {
    static const TByteTables tables = [] {
        TByteTables t;
        for (int b = 0; b < 256; ++b) {
            t.kind[b] = kText;
            t.same[b] = static_cast<char>(b);
            t.lower[b] = static_cast<char>(LowerChar1251(static_cast<unsigned char>(b)));
        }
        for (int b : {0x20, 0x09, 0x0A, 0x0D, 0x0C, 0xA0}) t.kind[b] = kSpace;
        t.kind['<'] = t.kind['&'] = kMarkup;
        return t;
    }();
    return tables;
}

// Elements whose content a reader never sees.
constexpr std::string_view kHidden[] = {"iframe", "noembed", "noframes", "noscript", "script", "style", "template", "title"};

// Elements that start a new line or cell: text on either side is never one word.
constexpr std::string_view kBlocks[] = {
    "address", "article", "aside",    "blockquote", "body",   "br",     "caption", "center",  "dd",      "details",
    "dialog",  "dir",     "div",      "dl",         "dt",     "fieldset", "figcaption", "figure", "footer", "form",
    "frame",   "frameset", "h1",      "h2",         "h3",     "h4",     "h5",      "h6",      "header",  "hr",
    "html",    "legend",  "li",       "listing",    "main",   "menu",   "nav",     "ol",      "option",  "p",
    "pre",     "section", "select",   "summary",    "table",  "tbody",  "td",      "textarea", "tfoot",  "th",
    "thead",   "tr",      "ul",       "xmp",
};

enum class TElementKind : unsigned char { Inline, Block, Hidden };

// An element name of up to 16 bytes as two numbers, so that a look-up costs integer compares
// (pages have a tag every few dozen bytes). Longer names are no element of the lists.
struct TNameKey {
    std::uint64_t high = 0, low = 0;
    auto operator<=>(const TNameKey&) const = default;
};

TNameKey KeyOf(std::string_view name) {
    if (name.size() > 16) return {~std::uint64_t(0), ~std::uint64_t(0)};
    TNameKey key;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::uint64_t b = i < name.size() ? Byte(name[i]) : 0;
        (i < 8 ? key.high : key.low) = ((i < 8 ? key.high : key.low) << 8) | b;
    }
    return key;
}

TElementKind KindOf(std::string_view lowerName) {
    static const std::vector<std::pair<TNameKey, TElementKind>> kinds = [] {
        std::vector<std::pair<TNameKey, TElementKind>> list;
        for (std::string_view name : kBlocks) list.emplace_back(KeyOf(name), TElementKind::Block);
        for (std::string_view name : kHidden) list.emplace_back(KeyOf(name), TElementKind::Hidden);
        std::sort(list.begin(), list.end());
        return list;
    }();
    const TNameKey key = KeyOf(lowerName);
    const auto it = std::lower_bound(kinds.begin(), kinds.end(), key,
                                     [](const auto& entry, const TNameKey& k) { return entry.first < k; });
    return it != kinds.end() && it->first == key ? it->second : TElementKind::Inline;
}

// Writes 1251 text with white space collapsed, optionally lower-cased, into out. Text never
// grows on the way (a reference or a tag is longer than what it leaves), so the sink writes into
// room reserved once instead of appending byte by byte.
class TTextSink {
public:
    TTextSink(std::string& out, std::size_t inputSize, bool lowerCase)
        : out_(out), base_(out.size()), map_(lowerCase ? Tables().lower.data() : Tables().same.data()) {
        out_.resize(base_ + inputSize + 1);
        begin_ = out_.data();
        p_ = begin_ + base_;
    }
    ~TTextSink() { out_.resize(static_cast<std::size_t>(p_ - begin_)); }
    TTextSink(const TTextSink&) = delete;
    TTextSink& operator=(const TTextSink&) = delete;

    void Space() {
        if (p_ != begin_ && p_[-1] != ' ') *p_++ = ' ';
    }
    void Char(char c) {
        if (Tables().kind[Byte(c)] == kSpace) return Space();
        *p_++ = map_[Byte(c)];
    }
    void Code(char32_t code) {
        if (code == 0xA0) return Space();
        Char(static_cast<char>(UnicodeToCp1251(code)));
    }
    void Reference(const TCharacterReference& ref) {
        for (int k = 0; k < ref.count; ++k) Code(ref.codes[k]);
    }
    // The plain text from pos up to the next markup or reference; returns where it stopped.
    std::size_t Run(std::string_view text, std::size_t pos) {
        const auto& kind = Tables().kind;
        const std::size_t n = text.size();
        for (; pos < n; ++pos) {
            const unsigned char b = Byte(text[pos]);
            switch (kind[b]) {
                case kText: *p_++ = map_[b]; break;
                case kSpace: Space(); break;
                case kMarkup: return pos;
            }
        }
        return pos;
    }
    // Text with its character references decoded and "<" taken as text.
    void Text(std::string_view text) {
        for (std::size_t i = Run(text, 0); i < text.size(); i = Run(text, i)) {
            const TCharacterReference ref = text[i] == '&' ? DecodeCharacterReference(text, i) : TCharacterReference{};
            if (ref.length > 0) {
                Reference(ref);
                i += ref.length;
            } else {
                Char(text[i++]);
            }
        }
    }

private:
    std::string& out_;
    std::size_t base_;
    const char* map_;
    char* begin_;
    char* p_;
};

// Skips the attributes of a tag from pos; returns the position after its ">" (the end of the
// text when the tag is never closed). A ">" inside a quoted value does not end the tag.
std::size_t SkipAttributes(std::string_view html, std::size_t pos) {
    const std::size_t n = html.size();
    while (pos < n) {
        while (pos < n && (IsHtmlSpace(html[pos]) || html[pos] == '/')) ++pos;
        if (pos >= n) break;
        if (html[pos] == '>') return pos + 1;
        ++pos;  // the first character of a name may be anything, "=" included
        while (pos < n && !IsHtmlSpace(html[pos]) && html[pos] != '/' && html[pos] != '>' && html[pos] != '=') ++pos;
        while (pos < n && IsHtmlSpace(html[pos])) ++pos;
        if (pos >= n || html[pos] != '=') continue;
        ++pos;
        while (pos < n && IsHtmlSpace(html[pos])) ++pos;
        if (pos < n && (html[pos] == '"' || html[pos] == '\'')) {
            const std::size_t close = html.find(html[pos], pos + 1);
            if (close == std::string_view::npos) return n;
            pos = close + 1;
        } else {
            while (pos < n && !IsHtmlSpace(html[pos]) && html[pos] != '>') ++pos;
        }
    }
    return n;
}

// The position after the end tag "</name" of a hidden element's content, from pos.
std::size_t SkipHiddenContent(std::string_view html, std::size_t pos, std::string_view name) {
    const std::size_t n = html.size();
    while (pos < n) {
        const std::size_t lt = html.find("</", pos);
        if (lt == std::string_view::npos) return n;
        const std::size_t after = lt + 2 + name.size();
        if (StartsWithNoCase(html, lt + 2, name) && (after >= n || IsHtmlSpace(html[after]) || html[after] == '/' ||
                                                     html[after] == '>'))
            return SkipAttributes(html, after);
        pos = lt + 2;
    }
    return n;
}

// The markup at html[pos] == '<': returns where the text goes on, or pos when the "<" is text.
std::size_t SkipMarkup(std::string_view html, std::size_t pos, TTextSink& sink) {
    const std::size_t n = html.size();
    if (pos + 1 >= n) return pos;
    const char next = html[pos + 1];
    if (next == '!') {
        if (html.compare(pos, 4, "<!--") == 0) {
            if (html.compare(pos + 4, 1, ">") == 0) return pos + 5;
            if (html.compare(pos + 4, 2, "->") == 0) return pos + 6;
            const std::size_t end = html.find("-->", pos + 4);
            return end == std::string_view::npos ? n : end + 3;
        }
        const std::size_t gt = html.find('>', pos + 2);
        return gt == std::string_view::npos ? n : gt + 1;
    }
    if (next == '?') {
        const std::size_t gt = html.find('>', pos + 2);
        return gt == std::string_view::npos ? n : gt + 1;
    }
    const bool closing = next == '/';
    std::size_t j = pos + (closing ? 2 : 1);
    if (j >= n) return pos;
    if (!IsAsciiLetter(html[j])) {
        if (!closing) return pos;
        if (html[j] == '>') return j + 1;
        const std::size_t gt = html.find('>', j);
        return gt == std::string_view::npos ? n : gt + 1;
    }
    // Names longer than any element's are cut: they can only be unknown inline elements.
    char name[17];
    std::size_t length = 0;
    while (j < n && !IsHtmlSpace(html[j]) && html[j] != '/' && html[j] != '>') {
        if (length < sizeof name) name[length] = AsciiLower(html[j]);
        ++length;
        ++j;
    }
    const std::string_view tag(name, std::min(length, sizeof name));
    const std::size_t end = SkipAttributes(html, j);
    const TElementKind kind = KindOf(tag);
    if (kind == TElementKind::Block) sink.Space();
    if (!closing && kind == TElementKind::Hidden) return SkipHiddenContent(html, end, tag);
    return end;
}

}  // namespace

std::string_view PageAs1251(std::string_view page, std::string& buffer) {
    const std::string charset = DeclaredCharset(page);
    if (charset == "utf-8" || charset == "utf8") {
        if (page.substr(0, 3) == "\xEF\xBB\xBF") page.remove_prefix(3);
        return buffer = Utf8ToCp1251(page);
    }
    if (charset.empty() || charset == "windows-1251" || charset == "cp1251" || charset == "x-cp1251") return page;
    QStringDecoder decoder(charset.c_str(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) return page;
    const QString text = decoder.decode(QByteArrayView(page.data(), static_cast<qsizetype>(page.size())));
    buffer.clear();
    buffer.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isSurrogate()) {
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
            buffer += '?';
        } else {
            buffer += static_cast<char>(UnicodeToCp1251(c.unicode()));
        }
    }
    return buffer;
}

std::string DocumentAs1251(std::string_view page) {
    std::string buffer;
    const std::string_view text = PageAs1251(page, buffer);
    return text.data() == buffer.data() ? std::move(buffer) : std::string(text);
}

void AppendVisibleText(std::string_view html, std::string& out, bool lowerCase) {
    TTextSink sink(out, html.size(), lowerCase);
    const std::size_t n = html.size();
    for (std::size_t i = sink.Run(html, 0); i < n; i = sink.Run(html, i)) {
        if (html[i] == '&') {
            const TCharacterReference ref = DecodeCharacterReference(html, i);
            if (ref.length == 0) {
                sink.Char('&');
                ++i;
            } else {
                sink.Reference(ref);
                i += ref.length;
            }
            continue;
        }
        const std::size_t after = SkipMarkup(html, i, sink);
        if (after == i) {
            sink.Char('<');
            ++i;
        } else {
            i = after;
        }
    }
}

std::string VisibleText(std::string_view html) {
    std::string out;
    AppendVisibleText(html, out);
    return out;
}

std::string ExtractTitle(std::string_view html) {
    std::size_t open = FindNoCase(html, "<title", 0);
    while (open != std::string_view::npos && open + 6 < html.size() && !IsHtmlSpace(html[open + 6]) &&
           html[open + 6] != '>' && html[open + 6] != '/')
        open = FindNoCase(html, "<title", open + 6);
    if (open == std::string_view::npos) return {};
    const std::size_t start = SkipAttributes(html, open + 6);
    const std::size_t end = std::min(FindNoCase(html, "</title", start), html.size());
    std::string title;
    {
        TTextSink sink(title, end - start, false);
        sink.Text(html.substr(start, end - start));
    }
    if (!title.empty() && title.back() == ' ') title.pop_back();
    return title;
}

}  // namespace vitrina
