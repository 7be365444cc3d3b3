// Document store: path look-up time against a bare hash map, and read-and-inflate throughput
// against one pread plus bare libdeflate. Builds a store of 100,000 files
// (VITRINA_BENCH_STORE_FILES overrides the count) in a scratch folder, runs the Google Benchmark
// cases, then prints a report with the target figures.
#include <benchmark/benchmark.h>
#include <libdeflate.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <unordered_map>
#include <vector>

#include "bench_support.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/compr_stream.h"
#include "resources/store.h"
#include "resources/store_writer.h"

namespace vitrina::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The passes are timed in the thread's own CPU time (system calls included): on a shared
// machine the wall clock also counts the time other processes hold the core.
struct TThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<TThreadClock>;
    static time_point now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec));
    }
};

// Three folder levels below html\: 10 x 10 x 20 leaf folders of 50 files each at 100,000 files.
constexpr int kLevel1 = 10, kLevel2 = 10, kLevel3 = 20;
constexpr int kSampleSize = 10'000;

std::vector<std::string> Words() {
    static const char* const kUtf8[] = {
        "двигатель", "поршень", "цилиндр", "клапан", "ремень", "коленчатый", "вал", "головка",
        "блока", "момент", "затяжки", "болт", "гайка", "снимите", "установите", "проверьте",
        "зазор", "масло", "фильтр", "свеча", "зажигания", "датчик", "провод", "разъём", "реле",
        "предохранитель", "тормоз", "колодка", "диск", "суппорт", "шланг", "жидкость", "уровень",
        "подвеска", "амортизатор", "пружина", "рычаг", "шаровая", "опора", "ступица", "подшипник",
        "коробка", "передач", "сцепление", "привод", "кузов", "дверь", "стекло", "замок", "рис.",
        "см.", "мм", "Н·м", "и", "в", "на", "с", "по", "для", "при", "не", "после", "перед",
        "the", "engine", "bolt", "torque", "check", "remove", "install", "nut", "valve", "Nm",
    };
    std::vector<std::string> words;
    for (const char* w : kUtf8) words.push_back(Utf8ToCp1251(w));
    return words;
}

// An HTML-like page of roughly size bytes: markup, links, pictures and manual prose.
std::string MakePage(std::mt19937& random, const std::vector<std::string>& words, std::size_t size, int id) {
    auto word = [&] { return words[random() % words.size()]; };
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
        "<link rel=\"stylesheet\" href=\"../../../style.css\"><title>";
    for (int i = 0; i < 5; ++i) page += word() + " ";
    page += "</title></head>\n<body bgcolor=\"#FFFFFF\">\n<h1>" + std::to_string(id) + ". " + word() + " " + word() + "</h1>\n";
    while (page.size() < size) {
        const unsigned pick = random() % 10;
        if (pick == 0) {
            page += "<p align=\"center\"><img src=\"pic" + std::to_string(random() % 5000) +
                    ".gif\" width=\"400\" height=\"300\" border=\"0\"></p>\n";
        } else if (pick == 1) {
            page += "<table border=\"1\" cellpadding=\"2\"><tr><td>" + word() + "</td><td>" +
                    std::to_string(random() % 200) + " " + word() + "</td></tr></table>\n";
        } else {
            page += "<p>";
            const int count = 20 + static_cast<int>(random() % 40);
            for (int i = 0; i < count; ++i) {
                if (random() % 25 == 0) {
                    page += "<a href=\"page" + std::to_string(random() % 100000) + ".htm\">" + word() + "</a> ";
                } else {
                    page += word() + (random() % 12 == 0 ? ", " : " ");
                }
            }
            page += "</p>\n";
        }
    }
    page += "</body></html>\n";
    return page;
}

struct TFixture {
    TScratchFolder scratch{"store-bench"};
    std::size_t fileCount = 100'000;
    std::uint64_t rawBytes = 0;
    std::uint64_t storeBytes = 0;
    double buildSeconds = 0;
    double openSeconds = 0;

    TStore store;
    std::unique_ptr<TDriveMap> drives;
    std::unique_ptr<TDocumentFiles> files;

    std::vector<std::string> lookups;  // every file once, "d:\html\..." in random case, random order
    // The baseline of a look-up: the same paths already folded, in a bare hash map.
    std::unordered_map<std::string, int> bareMap;
    std::vector<std::string> foldedLookups;

    // Compressed pages for the throughput comparison.
    std::vector<std::string> samplePaths;
    std::vector<std::string> sampleStored;  // the stored zlib bytes of the same entries
    std::vector<std::uint32_t> sampleUnpacked;
    std::vector<std::uint64_t> sampleFileOffsets;  // where the stored bytes lie in the store file
    std::filesystem::path storePath;
    std::uint64_t sampleUnpackedTotal = 0;
    std::size_t maxUnpacked = 0;

    TFixture() {
        if (const char* env = std::getenv("VITRINA_BENCH_STORE_FILES"); env && std::atol(env) > 0)
            fileCount = static_cast<std::size_t>(std::atol(env));
        std::mt19937 random(20261210);
        const auto words = Words();
        const std::string cyrLevel1 = Utf8ToCp1251("Раздел"), cyrLevel3 = Utf8ToCp1251("Глава");
        const std::string cyrFile = Utf8ToCp1251("стр");

        std::vector<TStoreFile> input;
        input.reserve(fileCount);
        const std::size_t leaves = kLevel1 * kLevel2 * kLevel3;
        const std::size_t perLeaf = (fileCount + leaves - 1) / leaves;
        for (std::size_t i = 0; i < fileCount; ++i) {
            const std::size_t leaf = i / perLeaf;
            const std::size_t a = leaf / (kLevel2 * kLevel3), b = leaf / kLevel3 % kLevel2, c = leaf % kLevel3;
            std::string path = "html\\" + (a % 2 ? cyrLevel1 + std::to_string(a) : "Section" + std::to_string(a)) +
                               "\\Chapter" + std::to_string(b) + "\\" +
                               (c % 3 == 0 ? cyrLevel3 + "_" + std::to_string(c) : "part" + std::to_string(c)) + "\\";
            TStoreFile file;
            if (i % 20 == 7) {
                // A picture: incompressible, stored as is.
                file.path = path + "Pic" + std::to_string(i) + ".gif";
                file.data.resize(1000 + random() % 8000);
                for (auto& ch : file.data) ch = static_cast<char>(random());
            } else {
                file.path = path + (i % 4 == 1 ? cyrFile : std::string("Page")) + std::to_string(i) + ".htm";
                file.data = MakePage(random, words, 2000 + random() % 6000, static_cast<int>(i));
            }
            rawBytes += file.data.size();
            input.push_back(std::move(file));
        }

        const auto buildStart = Clock::now();
        std::string image = WriteStore(input);
        buildSeconds = Seconds(Clock::now() - buildStart);
        storeBytes = image.size();
        storePath = scratch.Path() / "interface.dat";
        {
            std::ofstream out(storePath, std::ios::binary);
            out.write(image.data(), static_cast<std::streamsize>(image.size()));
            if (!out) throw std::runtime_error("cannot write the store");
        }

        const auto openStart = Clock::now();
        std::string error;
        if (!store.Open(storePath, &error)) throw std::runtime_error("store does not open: " + error);
        openSeconds = Seconds(Clock::now() - openStart);
        if (!store.SetPrefix("d:\\")) throw std::runtime_error("prefix refused");
        drives = std::make_unique<TDriveMap>(scratch.Path(), scratch.Path() / "c");
        files = std::make_unique<TDocumentFiles>(store, *drives);

        // Made in the shuffled order so that reading the requests themselves stays sequential in
        // memory: a caller's path is usually freshly built and in cache.
        std::vector<std::size_t> lookupOrder(input.size());
        for (std::size_t i = 0; i < lookupOrder.size(); ++i) lookupOrder[i] = i;
        std::shuffle(lookupOrder.begin(), lookupOrder.end(), random);
        lookups.reserve(input.size());
        for (std::size_t i : lookupOrder) lookups.push_back(RandomCase1251("d:\\" + input[i].path, random));
        bareMap.reserve(lookups.size());
        foldedLookups.reserve(lookups.size());
        for (const auto& path : lookups) {
            std::string folded = path;
            NormaliseStorePath(folded);
            bareMap.emplace(folded, store.FindEntry(path));
            foldedLookups.push_back(std::move(folded));
        }

        // The data area starts after the header and the table block.
        const std::uint64_t dataBase =
            8 + ((static_cast<unsigned char>(image[4]) | static_cast<unsigned char>(image[5]) << 8 |
                  static_cast<unsigned char>(image[6]) << 16 | std::uint32_t(static_cast<unsigned char>(image[7])) << 24) ^
                 TStore::kHeaderKey2);
        std::vector<std::size_t> order(input.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        for (std::size_t i : order) {
            if (samplePaths.size() == kSampleSize) break;
            const std::string request = RandomCase1251("d:\\" + input[i].path, random);
            const int index = store.FindEntry(request);
            if (index < 0) throw std::runtime_error("an existing path is not found");
            const auto& entry = store.Entries()[index];
            if (entry.storedSize == entry.unpackedSize) continue;  // only compressed entries
            samplePaths.push_back(request);
            sampleStored.push_back(image.substr(dataBase + entry.offset, entry.storedSize));
            sampleUnpacked.push_back(entry.unpackedSize);
            sampleFileOffsets.push_back(dataBase + entry.offset);
            sampleUnpackedTotal += entry.unpackedSize;
            maxUnpacked = std::max<std::size_t>(maxUnpacked, entry.unpackedSize);
            // The store must give back exactly what went in.
            if (TComprStream(*files, request).Bytes() != input[i].data)
                throw std::runtime_error("the store returns other bytes than were written");
        }
    }
};

TFixture* fixture = nullptr;

// One read of every sample page through the program's stream.
double ComprPass() {
    const auto start = TThreadClock::now();
    std::size_t total = 0;
    for (const auto& path : fixture->samplePaths) {
        TComprStream stream(*fixture->files, path);
        total += stream.Size();
        benchmark::DoNotOptimize(stream.Bytes().data());
    }
    benchmark::DoNotOptimize(total);
    return Seconds(TThreadClock::now() - start);
}

// Inflating the same stored bytes, already in memory, into one reused buffer.
double BarePass(libdeflate_decompressor* decompressor, std::string& buffer) {
    const auto start = TThreadClock::now();
    std::size_t total = 0;
    for (std::size_t i = 0; i < fixture->sampleStored.size(); ++i) {
        const auto& stored = fixture->sampleStored[i];
        std::size_t actual = 0;
        if (libdeflate_zlib_decompress(decompressor, stored.data(), stored.size(), buffer.data(),
                                       fixture->sampleUnpacked[i], &actual) != LIBDEFLATE_SUCCESS)
            std::abort();
        total += actual;
        benchmark::DoNotOptimize(buffer.data());
    }
    benchmark::DoNotOptimize(total);
    return Seconds(TThreadClock::now() - start);
}

// The least any store read can cost: one pread of the stored bytes, then the inflate.
double PreadInflatePass(int fd, libdeflate_decompressor* decompressor, std::string& raw, std::string& buffer) {
    const auto start = TThreadClock::now();
    std::size_t total = 0;
    for (std::size_t i = 0; i < fixture->sampleStored.size(); ++i) {
        const std::size_t size = fixture->sampleStored[i].size();
        if (::pread(fd, raw.data(), size, static_cast<off_t>(fixture->sampleFileOffsets[i])) != static_cast<ssize_t>(size))
            std::abort();
        std::size_t actual = 0;
        if (libdeflate_zlib_decompress(decompressor, raw.data(), size, buffer.data(), fixture->sampleUnpacked[i],
                                       &actual) != LIBDEFLATE_SUCCESS)
            std::abort();
        total += actual;
        benchmark::DoNotOptimize(buffer.data());
    }
    benchmark::DoNotOptimize(total);
    return Seconds(TThreadClock::now() - start);
}

struct TDecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

void BM_FindEntry(benchmark::State& state) {
    std::size_t next = 0, found = 0;
    for (auto _ : state) {
        found += fixture->store.FindEntry(fixture->lookups[next]) >= 0;
        if (++next == fixture->lookups.size()) next = 0;
    }
    if (static_cast<benchmark::IterationCount>(found) != state.iterations()) state.SkipWithError("an existing path was not found");
}

void BM_BareMapFind(benchmark::State& state) {
    std::size_t next = 0, found = 0;
    for (auto _ : state) {
        found += fixture->bareMap.find(fixture->foldedLookups[next]) != fixture->bareMap.end();
        if (++next == fixture->foldedLookups.size()) next = 0;
    }
    benchmark::DoNotOptimize(found);
}

void BM_ComprStreamRead(benchmark::State& state) {
    std::size_t next = 0;
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        TComprStream stream(*fixture->files, fixture->samplePaths[next]);
        bytes += stream.Size();
        benchmark::DoNotOptimize(stream.Bytes().data());
        if (++next == fixture->samplePaths.size()) next = 0;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_BareInflate(benchmark::State& state) {
    std::unique_ptr<libdeflate_decompressor, TDecompressorFree> decompressor(libdeflate_alloc_decompressor());
    std::string buffer(fixture->maxUnpacked, '\0');
    std::size_t next = 0;
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        const auto& stored = fixture->sampleStored[next];
        std::size_t actual = 0;
        libdeflate_zlib_decompress(decompressor.get(), stored.data(), stored.size(), buffer.data(),
                                   fixture->sampleUnpacked[next], &actual);
        bytes += actual;
        benchmark::DoNotOptimize(buffer.data());
        if (++next == fixture->sampleStored.size()) next = 0;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void Report() {
    TFixture& f = *fixture;
    std::printf("\n== Document store report ==\n");
    std::printf("store: %zu files, %.1f MB unpacked, %.1f MB on disk; WriteStore %.1f s, Open %.1f ms\n",
                f.fileCount, f.rawBytes / 1e6, f.storeBytes / 1e6, f.buildSeconds, f.openSeconds * 1e3);

    // (a) Each call timed on its own; the cost of reading the clock is measured and taken off.
    constexpr std::size_t kCalls = 200'000;
    std::vector<double> overhead, perCall;
    overhead.reserve(kCalls);
    perCall.reserve(kCalls);
    for (std::size_t i = 0; i < kCalls; ++i) {
        const auto a = Clock::now();
        const auto b = Clock::now();
        overhead.push_back(std::chrono::duration<double, std::nano>(b - a).count());
    }
    // Each call timed alone, the program's look-up and the bare map's alternating per path.
    std::vector<double> bareCall;
    bareCall.reserve(kCalls);
    std::size_t found = 0, bareFound = 0;
    for (std::size_t i = 0; i < kCalls; ++i) {
        const std::size_t n = i % f.lookups.size();
        const auto a = Clock::now();
        const int index = f.store.FindEntry(f.lookups[n]);
        const auto b = Clock::now();
        const auto it = f.bareMap.find(f.foldedLookups[n]);
        const auto c = Clock::now();
        found += index >= 0;
        bareFound += it != f.bareMap.end() && it->second == index;
        perCall.push_back(std::chrono::duration<double, std::nano>(b - a).count());
        bareCall.push_back(std::chrono::duration<double, std::nano>(c - b).count());
    }
    const double clockCost = Median(overhead);
    const double median = Median(perCall) - clockCost;
    const double bareMedian = Median(bareCall) - clockCost;
    std::sort(perCall.begin(), perCall.end());
    const double p90 = perCall[perCall.size() * 9 / 10] - clockCost;
    std::printf("FindEntry: median %.0f ns per look-up, 90th percentile %.0f ns (%zu random-case paths, "
                "clock cost %.0f ns taken off; %zu of %zu found)\n",
                median, p90, kCalls, clockCost, found, kCalls);
    std::printf("bare std::unordered_map look-up of the same paths already folded: median %.0f ns (%zu agree)\n",
                bareMedian, bareFound);
    const double lookupRatio = median / bareMedian;
    std::printf("FindEntry / bare map: %.2f -> %s (target <= 2)\n", lookupRatio, lookupRatio <= 2 ? "MET" : "MISSED");

    // (b) Alternating passes over the same pages; medians of each side.
    std::unique_ptr<libdeflate_decompressor, TDecompressorFree> decompressor(libdeflate_alloc_decompressor());
    std::string buffer(f.maxUnpacked, '\0');
    std::string raw(f.maxUnpacked, '\0');  // compressed samples: stored size < unpacked size
    const int fd = ::open(f.storePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::abort();
    std::vector<double> compr, bare, preadInflate;
    for (int pass = 0; pass < 15; ++pass) {
        compr.push_back(ComprPass());
        bare.push_back(BarePass(decompressor.get(), buffer));
        preadInflate.push_back(PreadInflatePass(fd, decompressor.get(), raw, buffer));
    }
    ::close(fd);
    const double comprTime = Median(compr), bareTime = Median(bare), preadTime = Median(preadInflate);
    const double ratio = bareTime / comprTime;  // throughput ratio
    std::printf("read and inflate: TComprStream %.0f MB/s, bare libdeflate %.0f MB/s (%zu compressed pages, "
                "%.1f MB unpacked per pass, median of 15 passes, thread CPU time)\n",
                f.sampleUnpackedTotal / comprTime / 1e6, f.sampleUnpackedTotal / bareTime / 1e6, f.samplePaths.size(),
                f.sampleUnpackedTotal / 1e6);
    std::printf("for comparison: throughput ratio TComprStream / bare inflate from memory %.2f\n", ratio);
    const double preadRatio = preadTime / comprTime;
    std::printf("one pread plus inflate per page %.0f MB/s; throughput ratio TComprStream / that: %.2f -> %s "
                "(target >= 0.95)\n",
                f.sampleUnpackedTotal / preadTime / 1e6, preadRatio, preadRatio >= 0.95 ? "MET" : "MISSED");
}

}  // namespace
}  // namespace vitrina::bench

int main(int argc, char** argv) {
    using namespace vitrina::bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TFixture storage;
    fixture = &storage;
    benchmark::RegisterBenchmark("FindEntry/random_case_path", BM_FindEntry);
    benchmark::RegisterBenchmark("unordered_map/folded_path", BM_BareMapFind);
    benchmark::RegisterBenchmark("TComprStream/read_inflate", BM_ComprStreamRead);
    benchmark::RegisterBenchmark("libdeflate/bare_zlib_inflate", BM_BareInflate);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Report();
    return 0;
}
