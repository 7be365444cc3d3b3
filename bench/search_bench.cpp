// The keyword index look-up and the document scan on the benchmark disc, the scan against
// ripgrep over the same documents extracted to plain files, in the same run.
//
//   bench/make_benchmark_disc.sh --documents 5000     (the disc, into build/benchmark-disc)
//   apt-get install ripgrep                           (Debian's package; the bench needs rg)
//   search_bench [DISC]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "resources/windows_path.h"
#include "search/document_scan.h"
#include "search/make_find.h"

namespace fs = std::filesystem;
using namespace vitrina;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::vector<std::string> Lines(const TDocumentFiles& files, const std::string& path) {
    std::vector<std::string> lines;
    TComprStream stream(files, path);
    std::string line;
    for (bool more = true; more;) {
        more = ReadIndexLine(stream, line);
        lines.push_back(line);
    }
    return lines;
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

}  // namespace

int main(int argc, char** argv) {
    const fs::path disc = argc > 1 ? fs::path(argv[1]) : fs::path("build/benchmark-disc");
    if (!fs::exists(disc / "keywords.idx")) {
        std::fprintf(stderr, "search_bench: no benchmark disc at %s (bench/make_benchmark_disc.sh)\n", disc.c_str());
        return 2;
    }
    if (std::system("rg --version > /dev/null 2>&1") != 0) {
        std::fprintf(stderr, "search_bench: ripgrep is missing (apt-get install ripgrep)\n");
        return 2;
    }
    const TDriveMap drives(disc, disc / ".bench-user");
    TStore store;
    store.Open(disc / "interface.dat");
    const std::string programFolder = drives.ProgramFolder();
    const std::string contentFolder = ContentFolderOf(programFolder);
    store.SetPrefix(contentFolder);
    const TDocumentFiles files(store, drives);

    // (a) The index look-up: 100 keywords spread over the file, each timed alone.
    const std::vector<std::string> keywords = Lines(files, programFolder + "keywords.idx");
    const std::vector<std::string> postings = Lines(files, programFolder + "index.idx");
    std::vector<double> lookups;
    std::size_t found = 0;
    // The first look-up reads the files into the cache; the program keeps one cache per disc.
    TIndexFileCache cache;
    const auto cold = Clock::now();
    {
        TMakeFind find(files, nullptr, &cache);
        find.SetIndexFolder(programFolder);
        TFindResultLists results;
        find.FindDocuments(keywords.front(), results, false);
    }
    std::printf("first index look-up, files read: %.3f ms\n", Seconds(cold) * 1e3);
    for (std::size_t i = 0; i < 100; ++i) {
        const std::string& keyword = keywords[(keywords.size() - 2) * i / 99];
        TMakeFind find(files, nullptr, &cache);
        find.SetIndexFolder(programFolder);
        TFindResultLists results;
        const auto start = Clock::now();
        found += find.FindDocuments(keyword, results, false) ? 1 : 0;
        lookups.push_back(Seconds(start));
    }
    std::printf("index look-up: %zu keywords (%zu found), median %.3f ms, slowest %.3f ms\n", lookups.size(), found,
                bench::Median(lookups) * 1e3, *std::max_element(lookups.begin(), lookups.end()) * 1e3);

    // (b) The scan for a word found in a few documents: the longest keyword listed 2 to 5 times.
    std::string word;
    for (std::size_t i = 0; i < keywords.size() && i < postings.size(); ++i) {
        const std::size_t count = SplitBySeparator(":", postings[i]).size();
        if (count >= 2 && count <= 5 && keywords[i].size() > word.size() && static_cast<unsigned char>(keywords[i][0]) >= 0xC0)
            word = keywords[i];
    }
    const TDynamicStringArray documents = IndexScanDocuments(store.ListFiles(), contentFolder, {}, true);
    bench::TScratchFolder plain("search-bench");
    for (std::size_t i = 0; i < documents.size(); ++i) {
        std::string bytes;
        if (!files.Read(documents[i], bytes)) continue;
        std::ofstream(plain.Path() / (std::to_string(i) + ".htm"), std::ios::binary) << bytes;
    }
    const TDocumentScan scan(files);
    const TTextQuery query(word, false);
    const std::string rgCommand = "rg -F -i -l --encoding windows-1251 " + Quote(Cp1251ToUtf8(word)) + " " +
                                  Quote(plain.Path().string()) + " > /dev/null";
    std::vector<double> scans, greps, ratios, reads;
    std::size_t matches = 0;
    for (int pass = 0; pass < 5; ++pass) {
        matches = 0;
        TScanCallbacks callbacks;
        callbacks.matched = [&](std::size_t) { return ++matches, true; };
        auto start = Clock::now();
        scan.Scan(documents, 0, query, callbacks);
        scans.push_back(Seconds(start));
        // Reading alone, to tell the store's share from the text's.
        start = Clock::now();
        std::string bytes;
        for (const std::string& document : documents) files.Read(document, bytes);
        reads.push_back(Seconds(start));
        start = Clock::now();
        if (std::system(rgCommand.c_str()) < 0) return 2;
        greps.push_back(Seconds(start));
        ratios.push_back(scans.back() / greps.back());
    }
    std::printf("scan for \"%s\": %zu documents, %zu found; scan median %.1f ms, rg -F -i -l median %.1f ms\n",
                Cp1251ToUtf8(word).c_str(), documents.size(), matches, bench::Median(scans) * 1e3, bench::Median(greps) * 1e3);
    std::printf("of which reading the documents from the store: median %.1f ms\n", bench::Median(reads) * 1e3);
    std::printf("scan / ripgrep: %.2f (target at most 1.0); index look-up median under 1 ms: %s\n", bench::Median(ratios),
                bench::Median(lookups) < 1e-3 ? "met" : "missed");
    return 0;
}
