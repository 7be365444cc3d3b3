#pragma once
// Search by word forms: a full-text database of a disc's documents (Xapian, Russian stemming,
// BM25 ranking, the title weighted above the body). Text comes in and goes out as 1251; the
// engine sees UTF-8 only inside.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vitrina {

struct TWordHit {
    std::string path;     // the document's Windows path, as it was added
    std::string title;
    std::string snippet;  // an HTML fragment: text escaped, the words found in <b>...</b>
    double weight = 0;
};

struct TWordResults {
    std::vector<TWordHit> hits;  // best first
    std::size_t estimate = 0;    // how many documents match in all (estimated past the hits)
};

// A database open for searching. Safe to search from one thread at a time.
class TWordIndex {
public:
    // Raised when the engine's files change: a database of another format is built again.
    static constexpr int kFormat = 1;

    TWordIndex();
    ~TWordIndex();
    TWordIndex(TWordIndex&&) noexcept;
    TWordIndex& operator=(TWordIndex&&) noexcept;

    // Opens the database in folder when it is whole, of this format and, unless key is empty,
    // built for that key; false (and closed) otherwise.
    bool Open(const std::filesystem::path& folder, std::string_view key = {});
    bool IsOpen() const;
    void Close();
    std::size_t DocumentCount() const;

    // The documents holding the query's words in any form; the last word may be unfinished (a
    // prefix), "quoted words" must stand together. Nothing when the query holds no word; nullopt
    // when the database turns out damaged.
    std::optional<TWordResults> Search(std::string_view query1251, std::size_t limit) const;

private:
    struct TData;
    std::unique_ptr<TData> data_;
};

// Writes a new database into an empty folder.
class TWordIndexWriter {
public:
    // Throws std::runtime_error when the folder cannot be made into a database.
    explicit TWordIndexWriter(const std::filesystem::path& folder);
    ~TWordIndexWriter();
    TWordIndexWriter(const TWordIndexWriter&) = delete;
    TWordIndexWriter& operator=(const TWordIndexWriter&) = delete;

    // A document's path, title and visible text (1251).
    void Add(std::string_view path, std::string_view title, std::string_view text);
    // Makes what was added so far visible to readers of the folder.
    void Commit();
    // Records the key and the format and commits; the database is then whole.
    void Finish(std::string_view key);

private:
    struct TData;
    std::unique_ptr<TData> data_;
};

}  // namespace vitrina
