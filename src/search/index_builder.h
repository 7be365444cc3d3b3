#pragma once
// Makes the keyword index files "keywords.idx", "index.idx" and "files.idx" from HTML
// documents, so that authors can index their own discs. The output depends only on the
// documents and their paths, never on the order they were handed in.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "html/visible_text.h"
#include "resources/dynamic_arrays.h"

namespace vitrina {

// The distinct words of a 1251 text, lower-cased, in order of first appearance. A word is a
// run of Latin or Cyrillic letters and digits.
TDynamicStringArray SplitWords(std::string_view text);

struct TIndexFiles {
    std::string keywords;  // one keyword per line
    std::string index;     // per keyword, the document numbers joined by ":"
    std::string files;     // per document, its path, "#:#" and its title
};

class TIndexBuilder {
public:
    // path: 1251, relative to the program folder, "\"-separated. A second document with the
    // same path replaces the first.
    void AddDocument(const std::string& path, std::string_view html);
    std::size_t DocumentCount() const { return documents_.size(); }
    // Documents in path order, keywords in byte order of their 1251 text; lines end in CR LF.
    TIndexFiles Write() const;

private:
    struct TDocument {
        std::string title;
        TDynamicStringArray words;
    };
    std::map<std::string, TDocument> documents_;
};

// Every file whose extension contains ".htm" below folder, with its path relative to folder.
// Host file names are taken as UTF-8 and written in 1251.
TIndexFiles BuildIndexFromFolder(const std::filesystem::path& folder, std::size_t* documentCount = nullptr);

}  // namespace vitrina
