// The keyword index and the thesaurus index. The input holds, separated by the part marker, the
// query, "keywords.idx", "index.idx", "files.idx" and "tezaurus.idx"; they lie on disk in the
// disc folder and are looked up as the search does. The line and field readers also go over the
// raw files directly.
#include "fuzz_support.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "search/make_find.h"
#include "search/make_tesaurus_find.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vitrina;
    const auto parts = fuzz::SplitParts(fuzz::AsText(data, size), 5);
    const std::string_view query = parts[0];
    const auto folder = fuzz::ScratchFolder() / "disc";
    fuzz::WriteFile(folder / TMakeFind::kKeywordsFile, parts[1]);
    fuzz::WriteFile(folder / TMakeFind::kIndexFile, parts[2]);
    fuzz::WriteFile(folder / TMakeFind::kFilesFile, parts[3]);
    fuzz::WriteFile(folder / TMakeTesaurusFind::kIndexFile, parts[4]);

    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::size_t pos = 0;
        std::string line;
        std::size_t lines = 0;
        for (bool more = true; more; ++lines) {
            const std::size_t before = pos;
            more = ReadIndexLine(parts[i], pos, line);
            fuzz::Check(!more || pos > before, "a line read that does not move on");
            for (const char* separator : {":", "#:#", "~", ""}) SplitBySeparator(separator, line);
        }
        fuzz::Check(lines <= parts[i].size() + 1, "more lines than bytes");
    }

    TStore store;
    const TDriveMap drives(folder, fuzz::ScratchFolder() / "user");
    const TDocumentFiles files(store, drives);
    const auto quiet = [](const std::string&, TSearchMessageKind) {};
    TMakeFind find(files, quiet);
    find.SetIndexFolder("d:\\");
    for (const bool caseSensitive : {false, true}) {
        TFindResultLists results;
        const bool found = find.FindDocuments(query, results, caseSensitive);
        fuzz::Check(found == !results.paths.empty() && results.paths.size() == results.titles.size(),
                    "the result lists disagree");
    }
    TFileTitles titles(files, "d:\\");
    titles.TitleOf(query);

    TMakeTesaurusFind thesaurus(files, quiet);
    thesaurus.SetIndexFolder("d:\\");
    std::string document;
    thesaurus.FindThesaurusEntry(query, document);
    thesaurus.FindThesaurusEntry("", document);
    return 0;
}
