#pragma once
// The thesaurus index "tezaurus.idx" in the program folder: lines "key~document", the first
// naming the thesaurus start document. Documents are relative to the program folder and may end
// in an anchor.
#include <string>
#include <string_view>

#include "search/make_find.h"

namespace vitrina {

class TMakeTesaurusFind {
public:
    static constexpr const char* kIndexFile = "tezaurus.idx";

    TMakeTesaurusFind(const TDocumentFiles& files, TSearchMessages messages);

    // One trailing "\" is removed.
    void SetIndexFolder(std::string_view folder);
    // Empty word: the start document. Otherwise the document of the first line whose key, lower-
    // cased, occurs in the lower-cased word. False without the index file or a matching line.
    bool FindThesaurusEntry(std::string_view word, std::string& document) const;

private:
    const TDocumentFiles& files_;
    TSearchMessages messages_;
    std::string folder_;
};

}  // namespace vitrina
