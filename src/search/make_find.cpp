#include "search/make_find.h"

#include <algorithm>
#include <cstring>

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

std::string WithoutTrailingBackslash(std::string_view folder) {
    if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    return std::string(folder);
}

// A document number of "index.idx": decimal digits only, and no more of them than a line number
// of any real file can have.
std::optional<std::uint64_t> DocumentNumber(std::string_view field) {
    const std::string text = Trim(field);
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return number;
}

}  // namespace

bool ReadIndexLine(TComprStream& stream, std::string& line) {
    line.clear();
    const std::string& bytes = stream.Bytes();
    std::size_t pos = stream.Position();
    while (pos < bytes.size()) {
        // Everything up to the next CR or LF is line text.
        std::size_t stop = pos;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
        line.append(bytes, pos, stop - pos);
        if (stop == bytes.size()) {
            pos = stop;
            break;
        }
        pos = stop + 1;
        if (bytes[stop] == '\r') {
            stream.Seek(pos);
            return true;
        }
    }
    stream.Seek(pos);
    return false;
}

MyArray SplitBySeparator(std::string_view separator, std::string_view text) {
    MyArray fields;
    if (separator.empty()) {
        if (!text.empty()) fields.emplace_back(text);
        return fields;
    }
    bool seen = false;
    std::size_t fieldStart = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t found = text.find(separator, pos);
        if (found == std::string_view::npos) break;
        std::string field = Trim(text.substr(fieldStart, found - fieldStart));
        if (!field.empty()) fields.push_back(std::move(field));
        seen = true;
        pos = found + separator.size();
        fieldStart = pos;
    }
    const std::string_view rest = text.substr(fieldStart);
    if ((seen && fields.size() == 1) || !rest.empty()) fields.emplace_back(rest);
    return fields;
}

TMakeFind::TMakeFind(const TDocumentFiles& files, TSearchMessages messages)
    : files_(files), messages_(std::move(messages)) {}

void TMakeFind::SetIndexFolder(std::string_view folder) { folder_ = WithoutTrailingBackslash(folder); }

bool TMakeFind::IndexFilesPresent() const {
    for (const char* name : {kKeywordsFile, kIndexFile, kFilesFile})
        if (!files_.StoreFileExists(folder_ + "\\" + name)) return false;
    return true;
}

std::optional<TComprStream> TMakeFind::OpenIndexFile(const char* name) const {
    try {
        return TComprStream(files_, folder_ + "\\" + name);
    } catch (const EFileOpenError&) {
        if (messages_)
            messages_(Utf8ToCp1251("Индексный файл не найден (") + name + ")", TSearchMessageKind::Warning);
        return std::nullopt;
    }
}

std::size_t TMakeFind::KeywordNumber(std::string_view query, bool caseSensitive) const {
    std::optional<TComprStream> keywords = OpenIndexFile(kKeywordsFile);
    if (!keywords) return 0;
    std::string line;
    for (std::size_t number = 1;; ++number) {
        const bool more = ReadIndexLine(*keywords, line);
        if (line.size() == query.size() && (caseSensitive ? line == query : SameText1251(line, query))) return number;
        if (!more) return 0;
    }
}

std::optional<std::vector<std::uint64_t>> TMakeFind::DocumentNumbers(std::size_t keyword) const {
    std::optional<TComprStream> index = OpenIndexFile(kIndexFile);
    if (!index) return std::nullopt;
    std::string line;
    for (std::size_t number = 1;; ++number) {
        const bool more = ReadIndexLine(*index, line);
        if (number == keyword) break;
        if (!more) return std::nullopt;
    }
    std::vector<std::uint64_t> numbers;
    for (const std::string& field : SplitBySeparator(":", line)) {
        // Line numbers count from 1: a 0 names no document.
        if (const auto n = DocumentNumber(field); n && *n > 0) numbers.push_back(*n);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

bool TMakeFind::FindDocuments(std::string_view query, TFindResultLists& results, bool caseSensitive) {
    if (!IndexFilesPresent()) {
        if (messages_) messages_(Utf8ToCp1251("Индескный(е) файл(ы) не найден"), TSearchMessageKind::Message);
        return false;
    }
    const std::size_t keyword = KeywordNumber(query, caseSensitive);
    if (keyword == 0) return false;
    const std::optional<std::vector<std::uint64_t>> numbers = DocumentNumbers(keyword);
    if (!numbers) return false;
    std::optional<TComprStream> files = OpenIndexFile(kFilesFile);
    if (!files) return false;
    std::string line;
    auto wanted = numbers->begin();
    for (std::uint64_t number = 1; wanted != numbers->end(); ++number) {
        const bool more = ReadIndexLine(*files, line);
        if (number == *wanted) {
            const MyArray fields = SplitBySeparator("#:#", line);
            results.paths.push_back(fields.empty() ? std::string() : Trim(fields[0]));
            results.titles.push_back(fields.size() > 1 ? fields[1] : std::string());
            ++wanted;
        }
        if (!more) break;
    }
    return !results.paths.empty();
}

TFileTitles::TFileTitles(const TDocumentFiles& files, std::string_view indexFolder) {
    std::optional<TComprStream> stream;
    try {
        stream.emplace(files, WithoutTrailingBackslash(indexFolder) + "\\" + TMakeFind::kFilesFile);
    } catch (const EFileOpenError&) {
        return;
    }
    loaded_ = true;
    std::string line;
    for (bool more = true; more;) {
        more = ReadIndexLine(*stream, line);
        // A line without "#:#" names a document without a title.
        const std::size_t mark = std::min(line.find("#:#"), line.size());
        const std::string_view text(line);
        const std::string name = LowerCase1251(FileNamePart(Trim(text.substr(0, mark))));
        titles_.try_emplace(name, mark < text.size() ? Trim(text.substr(mark + 3)) : std::string());
    }
}

std::optional<std::string> TFileTitles::TitleOf(std::string_view documentPath) const {
    const auto it = titles_.find(LowerCase1251(FileNamePart(documentPath)));
    if (it == titles_.end()) return std::nullopt;
    return it->second;
}

}  // namespace vitrina
