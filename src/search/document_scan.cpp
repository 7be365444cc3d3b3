#include "search/document_scan.h"

#include <algorithm>

#include "html/visible_text.h"
#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/description.h"
#include "resources/windows_path.h"

namespace vitrina {

std::string NormalisedFindText(std::string_view text) {
    std::string out = Trim(text);
    std::string::size_type at;
    while ((at = out.find("  ")) != std::string::npos) out.erase(at, 1);
    return out;
}

TTextQuery::TTextQuery(std::string_view text, bool matchCase)
    : needle_(matchCase ? std::string(text) : LowerCase1251(text)), matchCase_(matchCase) {}

bool TTextQuery::FoundInPage(std::string_view page) const {
    if (needle_.empty()) return false;
    text_.clear();
    AppendVisibleText(PageAs1251(page, converted_), text_, !matchCase_);
    return text_.find(needle_) != std::string::npos;
}

bool TDocumentScan::DocumentContains(std::string_view path, const TTextQuery& query) const {
    try {
        const TComprStream stream(files_, path);
        return query.FoundInPage(stream.Bytes());
    } catch (const EFileOpenError&) {
        return false;
    }
}

TScanOutcome TDocumentScan::Scan(const TDynamicStringArray& documents, std::size_t from, const TTextQuery& query,
                                 const TScanCallbacks& callbacks, std::string_view skip) const {
    TScanOutcome outcome;
    for (std::size_t i = from; i < documents.size(); ++i) {
        if (callbacks.keepGoing && !callbacks.keepGoing(i)) {
            outcome.end = TScanEnd::Stopped;
            return outcome;
        }
        outcome.position = static_cast<std::ptrdiff_t>(i);
        if (!skip.empty() && LowerCase1251(documents[i]) == skip) continue;
        if (!DocumentContains(documents[i], query)) continue;
        if (callbacks.matched && !callbacks.matched(i)) {
            outcome.end = TScanEnd::Matched;
            return outcome;
        }
    }
    return outcome;
}

TDynamicStringArray IndexScanDocuments(const TDynamicStringArray& storeFiles, std::string_view contentFolder,
                                       const TDynamicStringArray& exclusions, bool allDocuments) {
    TDynamicStringArray documents;
    for (const std::string& name : storeFiles) {
        const std::string fileName = FileNamePart(name);
        const std::size_t dot = fileName.rfind('.');
        if (dot == std::string::npos || LowerAscii(fileName.substr(dot)).find(".htm") == std::string::npos) continue;
        const std::string folder = FolderPart(name);
        if (SameText1251(folder, "man\\") || SameText1251(folder, "man_\\")) continue;
        std::string path = std::string(contentFolder) + LowerCase1251(name);
        const bool excluded =
            !allDocuments && std::any_of(exclusions.begin(), exclusions.end(), [&](const std::string& part) {
                // An empty entry would leave out every document; it leaves out none.
                return !part.empty() && FindText1251(path, part) != std::string::npos;
            });
        if (!excluded) documents.push_back(std::move(path));
    }
    return documents;
}

}  // namespace vitrina
