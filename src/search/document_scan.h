#pragma once
// Finds text in documents without a web engine: each candidate is read through the store (or
// from disk), its visible text taken and matched the way the find in a shown page matches.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "resources/dynamic_arrays.h"
#include "search/make_find.h"

namespace vitrina {

class TDocumentFiles;

// The find field's text as a find uses it: blanks (bytes up to 32) trimmed at both ends and
// every run of spaces one space.
std::string NormalisedFindText(std::string_view text);

// A text to look for, with or without regard to case (1251 letters fold with their capitals).
class TTextQuery {
public:
    TTextQuery(std::string_view text, bool matchCase);
    bool MatchCase() const { return matchCase_; }
    // Whether the visible text of a page (in any charset it declares) holds the text. An empty
    // text is found nowhere.
    bool FoundInPage(std::string_view page) const;

private:
    std::string needle_;  // lower-cased unless matchCase_
    bool matchCase_;
    // Reused between pages.
    mutable std::string converted_;
    mutable std::string text_;
};

enum class TScanEnd { Exhausted, Stopped, Matched };

struct TScanOutcome {
    TScanEnd end = TScanEnd::Exhausted;
    // Index of the last document examined; -1 when none was.
    std::ptrdiff_t position = -1;
};

struct TScanCallbacks {
    // Asked before each document: false stops the scan there (the reader pressed Stop). The
    // window processes its pending events here.
    std::function<bool(std::size_t index)> keepGoing;
    // Told each matching document: false ends the scan with it.
    std::function<bool(std::size_t index)> matched;
};

class TDocumentScan {
public:
    explicit TDocumentScan(const TDocumentFiles& files) : files_(files) {}

    // Whether the document holds the text; false when it cannot be read.
    bool DocumentContains(std::string_view path, const TTextQuery& query) const;
    // Goes through documents[from...], in order. A document whose lower-cased path equals skip is
    // passed over; one that cannot be read does not match. The callbacks run on the calling
    // thread; the documents are read on it and on one helper thread, so the files must be safe
    // to read from two threads (the store and the drive map are).
    TScanOutcome Scan(const TDynamicStringArray& documents, std::size_t from, const TTextQuery& query,
                      const TScanCallbacks& callbacks, std::string_view skip = {}) const;

private:
    bool Matches(const TDynamicStringArray& documents, std::size_t index, const TTextQuery& query,
                 std::string_view skip) const;

    const TDocumentFiles& files_;
};

// The scan of the index search when the index has nothing: every document holding the text is
// appended to results with its title from "files.idx" of indexFolder; documents without a line
// there are not listed. keepGoing as in TScanCallbacks.
TScanOutcome ScanForTitledDocuments(const TDocumentFiles& files, const TDynamicStringArray& documents,
                                    std::string_view indexFolder, const TTextQuery& query,
                                    TFindResultLists& results,
                                    std::function<bool(std::size_t index)> keepGoing = {});

// The documents the index search scans when the index has nothing: every store file whose
// extension contains ".htm", outside the folders "man\" and "man_\", lower-cased, with the
// content folder in front; unless allDocuments, without the paths that contain one of the
// exclusions (ignoring case).
TDynamicStringArray IndexScanDocuments(const TDynamicStringArray& storeFiles, std::string_view contentFolder,
                                       const TDynamicStringArray& exclusions, bool allDocuments);

}  // namespace vitrina
