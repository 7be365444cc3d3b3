// search and thesaurus: the keyword index, the document scan and the thesaurus look-up as the
// program runs them, for authors checking their disc.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "json_writer.h"
#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/screen_model.h"
#include "resources/store.h"
#include "resources/struct_loader.h"
#include "resources/windows_path.h"
#include "search/disc_word_index.h"
#include "search/document_scan.h"
#include "search/make_find.h"
#include "search/make_tesaurus_find.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

std::filesystem::path ExistingFolder(const std::string& folder) {
    const std::filesystem::path path = Cp1251ToUtf8(folder);
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) throw EUsage("no disc folder " + path.string());
    return path;
}

// The disc's folders and document store as the program opens them.
struct TDisc {
    explicit TDisc(const std::string& folder)
        : drives(ExistingFolder(folder), TUserFolders::FromEnvironment().data), files(store, drives) {
        if (const auto path = drives.ToHostPath(drives.ProgramFolder() + "interface.dat")) store.Open(*path);
        store.SetPrefix(ContentFolderOf(drives.ProgramFolder()));
    }
    TDriveMap drives;
    TStore store;
    TDocumentFiles files;
};

TSearchMessages MessagesTo(const char* command) {
    return [command](const std::string& text, TSearchMessageKind) {
        std::fprintf(stderr, "vitrina-disc %s: %s\n", command, Cp1251ToUtf8(text).c_str());
    };
}

// The exclusions of find area 1; none when the disc has no description.
TDynamicStringArray FirstFieldExclusions(const TDriveMap& drives) {
    TReadBin container;
    TDynamicStringArray lines;
    std::string error;
    switch (ReadStructLines(drives, container, lines, &error)) {
        case TStructLoad::Loaded: break;
        case TStructLoad::NoContainer:
        case TStructLoad::NoDescription: return {};
        default: throw EUsage(error);
    }
    TScreenModel model(drives.ProgramFolder());
    try {
        model.ReadHeader(lines);
        model.ReadSections(lines);
    } catch (const std::exception& e) {
        throw EUsage(std::string("malformed description: ") + e.what());
    }
    for (const RFindTxt& area : model.FindAreas)
        if (area.number == 1) return area.nofiles;
    return {};
}

TFindResultLists ScanDocuments(const TDisc& disc, const std::string& query, bool matchCase, bool all) {
    const std::string contentFolder = ContentFolderOf(disc.drives.ProgramFolder());
    const TDynamicStringArray exclusions = all ? TDynamicStringArray() : FirstFieldExclusions(disc.drives);
    const TDynamicStringArray documents = IndexScanDocuments(disc.store.ListFiles(), contentFolder, exclusions, all);
    TFindResultLists results;
    ScanForTitledDocuments(disc.files, documents, disc.drives.ProgramFolder(), TTextQuery(query, matchCase), results);
    return results;
}

}  // namespace

int SearchCommand(const TArgs& args) {
    args.ExpectCount(2);
    const TDisc disc(args.At(0, "DISC"));
    const std::string query = NormalisedFindText(args.At(1, "QUERY"));
    const std::string& programFolder = disc.drives.ProgramFolder();
    TFindResultLists results;
    if (args.Flag("--scan")) {
        results = ScanDocuments(disc, query, args.Flag("--match-case"), args.Flag("--all"));
    } else {
        // The find dialog's index search ignores case.
        TMakeFind find(disc.files, MessagesTo("search"));
        find.SetIndexFolder(programFolder);
        if (find.FindDocuments(query, results, false))
            for (std::string& path : results.paths) path = programFolder + path;
    }
    TJsonWriter json;
    json.BeginObject();
    json.Key("paths"), json.StringArray(results.paths);
    json.Key("titles"), json.StringArray(results.titles);
    json.EndObject();
    WriteBytes(json.Text());
    return results.paths.empty() ? kAbsent : kOk;
}

int FindCommand(const TArgs& args) {
    args.ExpectCount(2);
    const TDisc disc(args.At(0, "DISC"));
    const std::string query = args.At(1, "QUERY");
    const std::string limitText = args.Option("--limit", "20");
    std::size_t limit = 0;
    try {
        limit = std::stoul(limitText);
    } catch (const std::exception&) {
    }
    if (limit == 0 || limit > 100000) throw EUsage("--limit takes a number from 1 to 100000");
    const std::string cacheOption = args.Option("--cache", "");
    const std::filesystem::path cache =
        cacheOption.empty() ? TUserFolders::FromEnvironment().cache : std::filesystem::path(Cp1251ToUtf8(cacheOption));
    const TDiscWordIndex discIndex(disc.files, cache);
    TWordIndex index;
    if (discIndex.Provide(index) == TWordIndexSource::Failed)
        throw std::runtime_error("cannot build the word index in " + discIndex.Folder().string());
    const auto results = index.Search(query, limit);
    if (!results) throw std::runtime_error("the word index in " + discIndex.Folder().string() + " is damaged");
    TJsonWriter json;
    json.BeginArray();
    long long rank = 0;
    for (const TWordHit& hit : results->hits) {
        json.BeginObject();
        json.Key("path"), json.String(hit.path);
        json.Key("title"), json.String(hit.title);
        json.Key("snippet"), json.String(hit.snippet);
        json.Key("rank"), json.Number(++rank);
        json.EndObject();
    }
    json.EndArray();
    WriteBytes(json.Text());
    return results->hits.empty() ? kAbsent : kOk;
}

int ThesaurusCommand(const TArgs& args) {
    args.ExpectCount(2);
    const TDisc disc(args.At(0, "DISC"));
    const std::string word = args.positional.size() > 1 ? args.positional[1] : std::string();
    if (!disc.files.StoreFileExists(disc.drives.ProgramFolder() + TMakeTesaurusFind::kIndexFile)) {
        std::fprintf(stderr, "vitrina-disc thesaurus: no %s\n", TMakeTesaurusFind::kIndexFile);
        return kAbsent;
    }
    TMakeTesaurusFind find(disc.files, MessagesTo("thesaurus"));
    find.SetIndexFolder(disc.drives.ProgramFolder());
    std::string document;
    if (!find.FindThesaurusEntry(word, document)) return kAbsent;
    WriteBytes(Cp1251ToUtf8(document) + "\n");
    return kOk;
}

}  // namespace vitrina::disc
