#include "search/make_find.h"

#include <algorithm>

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

bool ReadIndexLine(std::string_view bytes, std::size_t& pos, std::string& line) {
    line.clear();
    pos = std::min(pos, bytes.size());
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
        if (bytes[stop] == '\r') return true;
    }
    return false;
}

bool ReadIndexLine(TComprStream& stream, std::string& line) {
    std::size_t pos = stream.Position();
    const bool more = ReadIndexLine(stream.Bytes(), pos, line);
    stream.Seek(pos);
    return more;
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

std::shared_ptr<const std::string> TIndexFileCache::Find(const std::string& path) const {
    const auto it = files_.find(path);
    return it == files_.end() ? nullptr : it->second;
}

void TIndexFileCache::Keep(const std::string& path, std::shared_ptr<const std::string> bytes) {
    files_[path] = std::move(bytes);
}

TMakeFind::TMakeFind(const TDocumentFiles& files, TSearchMessages messages, TIndexFileCache* cache)
    : files_(files), messages_(std::move(messages)), cache_(cache) {}

void TMakeFind::SetIndexFolder(std::string_view folder) { folder_ = WithoutTrailingBackslash(folder); }

bool TMakeFind::IndexFilesPresent() const {
    for (const char* name : {kKeywordsFile, kIndexFile, kFilesFile})
        if (!files_.StoreFileExists(folder_ + "\\" + name)) return false;
    return true;
}

std::shared_ptr<const std::string> TMakeFind::OpenIndexFile(const char* name) const {
    const std::string path = folder_ + "\\" + name;
    if (cache_) {
        if (auto bytes = cache_->Find(path)) return bytes;
    }
    try {
        auto bytes = std::make_shared<const std::string>(TComprStream(files_, path).Bytes());
        if (cache_) cache_->Keep(path, bytes);
        return bytes;
    } catch (const EFileOpenError&) {
        if (messages_)
            messages_(Utf8ToCp1251("Индексный файл не найден (") + name + ")", TSearchMessageKind::Warning);
        return nullptr;
    }
}

std::size_t TMakeFind::KeywordNumber(std::string_view query, bool caseSensitive) const {
    const auto keywords = OpenIndexFile(kKeywordsFile);
    if (!keywords) return 0;
    std::string line;
    std::size_t pos = 0;
    for (std::size_t number = 1;; ++number) {
        const bool more = ReadIndexLine(*keywords, pos, line);
        if (line.size() == query.size() && (caseSensitive ? line == query : SameText1251(line, query))) return number;
        if (!more) return 0;
    }
}

std::optional<std::vector<std::uint64_t>> TMakeFind::DocumentNumbers(std::size_t keyword) const {
    const auto index = OpenIndexFile(kIndexFile);
    if (!index) return std::nullopt;
    // Only CRs end lines, so the lines before the keyword's are skipped without being read.
    std::size_t pos = 0;
    for (std::size_t number = 1; number < keyword; ++number) {
        const std::size_t cr = index->find('\r', pos);
        if (cr == std::string::npos) return std::nullopt;
        pos = cr + 1;
    }
    std::string line;
    ReadIndexLine(*index, pos, line);
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
    const auto files = OpenIndexFile(kFilesFile);
    if (!files) return false;
    std::string line;
    std::size_t pos = 0;
    auto wanted = numbers->begin();
    for (std::uint64_t number = 1; wanted != numbers->end(); ++number) {
        if (number < *wanted) {
            const std::size_t cr = files->find('\r', pos);
            if (cr == std::string::npos) break;
            pos = cr + 1;
            continue;
        }
        const bool more = ReadIndexLine(*files, pos, line);
        const MyArray fields = SplitBySeparator("#:#", line);
        results.paths.push_back(fields.empty() ? std::string() : Trim(fields[0]));
        results.titles.push_back(fields.size() > 1 ? fields[1] : std::string());
        ++wanted;
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
