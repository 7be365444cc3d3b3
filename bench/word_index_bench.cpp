// The search by word forms on the benchmark disc: building the word index (time, size against
// the store's) and queries as a reader types them: 200 words of the keyword index, each whole
// and as its first letters, median and 99th percentile.
//
//   bench/make_benchmark_disc.sh --documents 5000     (the disc, into build/benchmark-disc)
//   word_index_bench [DISC]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "resources/windows_path.h"
#include "search/disc_word_index.h"

namespace fs = std::filesystem;
using namespace vitrina;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::uintmax_t FolderSize(const fs::path& folder) {
    std::uintmax_t size = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) size += entry.file_size();
    return size;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path disc = argc > 1 ? fs::path(argv[1]) : fs::path("build/benchmark-disc");
    if (!fs::exists(disc / "keywords.idx")) {
        std::fprintf(stderr, "word_index_bench: no benchmark disc at %s (bench/make_benchmark_disc.sh)\n",
                     disc.c_str());
        return 2;
    }
    const TDriveMap drives(disc, disc / ".bench-user");
    TStore store;
    store.Open(disc / "interface.dat");
    store.SetPrefix(ContentFolderOf(drives.ProgramFolder()));
    const TDocumentFiles files(store, drives);
    bench::TScratchFolder cache("word-index");

    const TDiscWordIndex discIndex(files, cache.Path());
    TWordIndex index;
    const auto buildStart = Clock::now();
    if (discIndex.Provide(index) != TWordIndexSource::Built) {
        std::fprintf(stderr, "word_index_bench: the build failed\n");
        return 1;
    }
    const double buildSeconds = Seconds(buildStart);
    const auto reuseStart = Clock::now();
    TWordIndex reused;
    const bool wasReused = discIndex.Provide(reused) == TWordIndexSource::Reused;
    const double reuseSeconds = Seconds(reuseStart);

    // Words of the corpus: the keyword index's lines, 200 of them at random, each typed whole and
    // as its first three letters.
    std::vector<std::string> words;
    {
        std::string keywords;
        files.Read(drives.ProgramFolder() + "keywords.idx", keywords);
        std::size_t from = 0;
        while (from < keywords.size()) {
            std::size_t end = keywords.find("\r\n", from);
            if (end == std::string::npos) end = keywords.size();
            if (end - from >= 4) words.push_back(keywords.substr(from, end - from));
            from = end + 2;
        }
    }
    std::mt19937 random(7);
    std::shuffle(words.begin(), words.end(), random);
    words.resize(std::min<std::size_t>(words.size(), 200));
    std::vector<double> times;
    std::size_t found = 0;
    for (const std::string& word : words)
        for (const std::string& query : {word.substr(0, 3), word}) {
            const auto start = Clock::now();
            const auto results = index.Search(query, 50);
            times.push_back(Seconds(start) * 1000);
            found += results && !results->hits.empty();
        }

    const std::uintmax_t storeSize = fs::file_size(disc / "interface.dat");
    const std::uintmax_t indexSize = FolderSize(discIndex.Folder());
    std::printf("documents: %zu\n", index.DocumentCount());
    std::printf("build: %.1f s (target <= 60 s on 50,000 documents)\n", buildSeconds);
    std::printf("reuse: %.1f ms (%s)\n", reuseSeconds * 1000, wasReused ? "reused" : "NOT reused");
    std::printf("size: %.1f MB against the store's %.1f MB, ratio %.2f (target <= 1)\n", indexSize / 1e6,
                storeSize / 1e6, double(indexSize) / double(storeSize));
    std::printf("queries: %zu (%zu found something), median %.2f ms (target <= 10), p99 %.2f ms (target <= 50)\n",
                times.size(), found, Percentile(times, 0.5), Percentile(times, 0.99));
    return 0;
}
