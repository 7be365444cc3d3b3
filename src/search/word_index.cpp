#include "search/word_index.h"

#include <algorithm>
#include <stdexcept>

#include <xapian.h>

#include "platform/cp1251.h"

namespace vitrina {

namespace {

constexpr Xapian::valueno kPathSlot = 0;
constexpr Xapian::valueno kTitleSlot = 1;
constexpr const char* kFormatKey = "vitrina-format";
constexpr const char* kDiscKey = "vitrina-key";
// A word of the title counts as much as this many of the body.
constexpr Xapian::termcount kTitleWeight = 5;
// How many words an unfinished last word stands for at most (the most frequent ones).
constexpr Xapian::termcount kPrefixWords = 100;
constexpr std::size_t kSnippetBytes = 300;

Xapian::Stem RussianStemmer() { return Xapian::Stem("russian"); }

}  // namespace

struct TWordIndex::TData {
    Xapian::Database database;
};

TWordIndex::TWordIndex() = default;
TWordIndex::~TWordIndex() = default;
TWordIndex::TWordIndex(TWordIndex&&) noexcept = default;
TWordIndex& TWordIndex::operator=(TWordIndex&&) noexcept = default;

bool TWordIndex::Open(const std::filesystem::path& folder, std::string_view key) {
    Close();
    try {
        auto data = std::make_unique<TData>();
        data->database = Xapian::Database(folder.string());
        if (data->database.get_metadata(kFormatKey) != std::to_string(kFormat)) return false;
        if (!key.empty() && data->database.get_metadata(kDiscKey) != key) return false;
        // Reading the first and the last document finds most damage at once.
        if (const Xapian::docid last = data->database.get_lastdocid(); last > 0) {
            data->database.get_document(1).get_value(kPathSlot);
            data->database.get_document(last).get_data();
            data->database.postlist_begin(std::string());
        }
        data_ = std::move(data);
        return true;
    } catch (const Xapian::Error&) {
        return false;
    }
}

bool TWordIndex::IsOpen() const { return data_ != nullptr; }
void TWordIndex::Close() { data_.reset(); }

std::size_t TWordIndex::DocumentCount() const { return data_ ? data_->database.get_doccount() : 0; }

std::optional<TWordResults> TWordIndex::Search(std::string_view query1251, std::size_t limit) const {
    TWordResults results;
    if (!data_) return results;
    try {
        Xapian::QueryParser parser;
        const Xapian::Stem stemmer = RussianStemmer();
        parser.set_stemmer(stemmer);
        parser.set_stemming_strategy(Xapian::QueryParser::STEM_SOME);
        parser.set_database(data_->database);
        parser.set_default_op(Xapian::Query::OP_AND);
        parser.set_max_expansion(kPrefixWords, Xapian::Query::WILDCARD_LIMIT_MOST_FREQUENT,
                                 Xapian::QueryParser::FLAG_PARTIAL);
        // Lower case, so that every word is taken in all its forms (the parser keeps a capitalised
        // word as written). A phrase still being typed reads as words.
        std::string lowered = LowerCase1251(query1251);
        if (std::count(lowered.begin(), lowered.end(), '"') % 2 != 0) lowered.erase(lowered.rfind('"'), 1);
        const std::string text = Cp1251ToUtf8(lowered);
        Xapian::Query query;
        try {
            query = parser.parse_query(text, Xapian::QueryParser::FLAG_PHRASE | Xapian::QueryParser::FLAG_LOVEHATE |
                                                 Xapian::QueryParser::FLAG_PARTIAL);
        } catch (const Xapian::QueryParserError&) {
            // What the reader is typing may not parse yet: its words alone then.
            query = parser.parse_query(text, Xapian::QueryParser::FLAG_PARTIAL);
        }
        if (query.empty()) return results;
        Xapian::Enquire enquire(data_->database);
        enquire.set_query(query);  // BM25 is the engine's own weighting
        const Xapian::MSet found = enquire.get_mset(0, static_cast<Xapian::doccount>(limit));
        results.estimate = found.get_matches_estimated();
        for (auto it = found.begin(); it != found.end(); ++it) {
            const Xapian::Document document = it.get_document();
            TWordHit hit;
            hit.path = document.get_value(kPathSlot);
            hit.title = Utf8ToCp1251(document.get_value(kTitleSlot));
            hit.snippet = Utf8ToCp1251(found.snippet(document.get_data(), kSnippetBytes, stemmer,
                                                     Xapian::MSet::SNIPPET_EXHAUSTIVE, "<b>", "</b>", "..."));
            hit.weight = it.get_weight();
            results.hits.push_back(std::move(hit));
        }
        return results;
    } catch (const Xapian::Error&) {
        return std::nullopt;
    }
}

struct TWordIndexWriter::TData {
    Xapian::WritableDatabase database;
    Xapian::TermGenerator terms;
};

TWordIndexWriter::TWordIndexWriter(const std::filesystem::path& folder) : data_(std::make_unique<TData>()) {
    try {
        // Without waiting for the disk: a database cut short by a crash does not open and is
        // built again.
        data_->database =
            Xapian::WritableDatabase(folder.string(), Xapian::DB_CREATE_OR_OVERWRITE | Xapian::DB_NO_SYNC);
    } catch (const Xapian::Error& e) {
        throw std::runtime_error("cannot make a word index in " + folder.string() + ": " + e.get_msg());
    }
    data_->terms.set_stemmer(RussianStemmer());
    data_->terms.set_stemming_strategy(Xapian::TermGenerator::STEM_SOME);
}

TWordIndexWriter::~TWordIndexWriter() = default;

void TWordIndexWriter::Add(std::string_view path, std::string_view title, std::string_view text) {
    const std::string title8 = Cp1251ToUtf8(title);
    std::string text8 = Cp1251ToUtf8(text);
    Xapian::Document document;
    data_->terms.set_document(document);
    data_->terms.index_text(title8, kTitleWeight);
    data_->terms.increase_termpos();
    data_->terms.index_text(text8);
    document.add_value(kPathSlot, std::string(path));
    document.add_value(kTitleSlot, title8);
    document.set_data(std::move(text8));
    data_->database.add_document(document);
}

void TWordIndexWriter::Commit() { data_->database.commit(); }

void TWordIndexWriter::Finish(std::string_view key) {
    data_->database.set_metadata(kFormatKey, std::to_string(TWordIndex::kFormat));
    data_->database.set_metadata(kDiscKey, std::string(key));
    data_->database.commit();
}

}  // namespace vitrina
