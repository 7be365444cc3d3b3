#pragma once
// The disc's keyword index: "keywords.idx" (keyword K on line K), "index.idx" (the numbers of the
// documents holding keyword K, ":"-separated, on line K) and "files.idx" (document N's path,
// "#:#" and title on line N), 1251 text with CR LF lines in the index folder, read through the
// store first and from disk second.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "resources/compr_stream.h"
#include "resources/dynamic_arrays.h"

namespace vitrina {

enum class TSearchMessageKind { Message, Warning };
// Shows a 1251 message to the reader (a message box in the program, stderr in the tool).
using TSearchMessages = std::function<void(const std::string& text, TSearchMessageKind kind)>;

using MyArray = TDynamicStringArray;

// The next line of stream into line: a CR ends it, every LF is dropped. True when a further
// line may follow; at the end of the data the bytes gathered so far come with false, so a file
// ending in CR LF gives a last, empty line.
bool ReadIndexLine(TComprStream& stream, std::string& line);
// The same over bytes held elsewhere, from pos, which moves past the line.
bool ReadIndexLine(std::string_view bytes, std::size_t& pos, std::string& line);

// The fields of text between occurrences of separator, each trimmed (bytes up to 32) and empty
// ones dropped; the field after the last separator is kept untrimmed, and kept even when empty
// if it would be the second field.
MyArray SplitBySeparator(std::string_view separator, std::string_view text);

// Entry i of paths belongs to entry i of titles. A search only appends.
struct TFindResultLists {
    TDynamicStringArray paths;
    TDynamicStringArray titles;
};

// Index files read once and kept: the disc does not change while it is open, and reading a
// multi-megabyte "index.idx" again would cost more than the look-up itself.
class TIndexFileCache {
public:
    std::shared_ptr<const std::string> Find(const std::string& path) const;
    void Keep(const std::string& path, std::shared_ptr<const std::string> bytes);

private:
    std::map<std::string, std::shared_ptr<const std::string>> files_;
};

class TMakeFind {
public:
    static constexpr const char* kKeywordsFile = "keywords.idx";
    static constexpr const char* kIndexFile = "index.idx";
    static constexpr const char* kFilesFile = "files.idx";

    // cache, when given, keeps the index files between searches.
    TMakeFind(const TDocumentFiles& files, TSearchMessages messages, TIndexFileCache* cache = nullptr);

    // One trailing "\" is removed.
    void SetIndexFolder(std::string_view folder);
    const std::string& IndexFolder() const { return folder_; }
    // All three files are in the store or on disk.
    bool IndexFilesPresent() const;
    // The documents whose keyword equals the whole query (the same length and, unless
    // caseSensitive, equal ignoring the case of 1251 letters), in the order of "files.idx". True
    // when results.paths is not empty afterwards.
    bool FindDocuments(std::string_view query, TFindResultLists& results, bool caseSensitive);

private:
    // The bytes of the index file, or the warning naming it and null.
    std::shared_ptr<const std::string> OpenIndexFile(const char* name) const;
    // The number of the first line of "keywords.idx" equal to query, or 0.
    std::size_t KeywordNumber(std::string_view query, bool caseSensitive) const;
    // The document numbers on line keyword of "index.idx", ascending and distinct; nothing when
    // the file is shorter.
    std::optional<std::vector<std::uint64_t>> DocumentNumbers(std::size_t keyword) const;

    const TDocumentFiles& files_;
    TSearchMessages messages_;
    TIndexFileCache* cache_;
    std::string folder_;
};

// The titles of "files.idx" by document file name, for documents found without the index: the
// first line whose path has the document's file name (ignoring case) gives the title.
class TFileTitles {
public:
    // Reads "files.idx" of indexFolder (with or without its trailing "\"); without the file no
    // document has a title.
    TFileTitles(const TDocumentFiles& files, std::string_view indexFolder);
    bool Loaded() const { return loaded_; }
    std::optional<std::string> TitleOf(std::string_view documentPath) const;

private:
    bool loaded_ = false;
    std::unordered_map<std::string, std::string> titles_;  // lower-cased file name -> title
};

}  // namespace vitrina
