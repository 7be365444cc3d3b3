#include "search/document_scan.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

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

bool TDocumentScan::Matches(const TDynamicStringArray& documents, std::size_t index, const TTextQuery& query,
                            std::string_view skip) const {
    if (!skip.empty() && LowerCase1251(documents[index]) == skip) return false;
    return DocumentContains(documents[index], query);
}

TScanOutcome TDocumentScan::Scan(const TDynamicStringArray& documents, std::size_t from, const TTextQuery& query,
                                 const TScanCallbacks& callbacks, std::string_view skip) const {
    TScanOutcome outcome;
    const std::size_t n = documents.size();
    if (from >= n) return outcome;

    // A helper thread reads and matches documents a little ahead of this one, which takes the
    // answers in order: reading and inflating a page costs as much as matching it, and the
    // callbacks still see one document after the other. Both threads take documents from one
    // counter, so neither waits while there is work; a thread sleeps only when it must.
    enum : unsigned char { kPending, kNo, kYes };
    constexpr std::size_t kAhead = 16;
    constexpr std::size_t kFinished = static_cast<std::size_t>(-1);
    std::vector<std::atomic<unsigned char>> answers(n - from);
    std::atomic<std::size_t> next{from};     // the first document nobody has taken on
    std::atomic<std::size_t> current{from};  // the document the callbacks are at; kFinished at the end
    const auto work = [&](std::size_t i, const TTextQuery& q) {
        answers[i - from].store(Matches(documents, i, q, skip) ? kYes : kNo);
        answers[i - from].notify_one();
    };
    std::thread helper([&, helperQuery = query]() {
        for (;;) {
            // Not further ahead than kAhead documents.
            for (std::size_t c = current.load(); c != kFinished && next.load() >= c + kAhead; c = current.load())
                current.wait(c);
            if (current.load() == kFinished) return;
            const std::size_t i = next.fetch_add(1);
            if (i >= n) return;
            work(i, helperQuery);
        }
    });
    const auto finish = [&](TScanEnd end) {
        current.store(kFinished);
        current.notify_one();
        helper.join();
        outcome.end = end;
        return outcome;
    };

    for (std::size_t i = from; i < n; ++i) {
        if (callbacks.keepGoing && !callbacks.keepGoing(i)) return finish(TScanEnd::Stopped);
        outcome.position = static_cast<std::ptrdiff_t>(i);
        current.store(i);
        current.notify_one();
        // Work on while the helper still has the answer, if there is work near enough.
        while (answers[i - from].load() == kPending) {
            if (next.load() < std::min(n, i + kAhead)) {
                const std::size_t j = next.fetch_add(1);
                if (j < n) {
                    work(j, query);
                    continue;
                }
            }
            answers[i - from].wait(kPending);
        }
        if (answers[i - from].load() == kYes && callbacks.matched && !callbacks.matched(i))
            return finish(TScanEnd::Matched);
    }
    return finish(TScanEnd::Exhausted);
}

TScanOutcome ScanForTitledDocuments(const TDocumentFiles& files, const TDynamicStringArray& documents,
                                    std::string_view indexFolder, const TTextQuery& query,
                                    TFindResultLists& results, std::function<bool(std::size_t index)> keepGoing) {
    const TFileTitles titles(files, indexFolder);
    TScanCallbacks callbacks;
    callbacks.keepGoing = std::move(keepGoing);
    callbacks.matched = [&](std::size_t i) {
        if (const auto title = titles.TitleOf(documents[i])) {
            results.paths.push_back(documents[i]);
            results.titles.push_back(*title);
        }
        return true;
    };
    return TDocumentScan(files).Scan(documents, 0, query, callbacks);
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
