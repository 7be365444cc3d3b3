// Drive map: resolving Windows paths (1251, other letter case than on disk) to host paths.
// Builds a tree of 10,000 files (some names Cyrillic, UTF-8 on disk) in a scratch folder, times
// ToHostPath over 10,000 distinct paths with a cold listing cache and again with a warm one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/cp1251.h"
#include "resources/drive_map.h"

namespace vitrina::bench {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// 10 top folders x 10 subfolders x 100 files.
constexpr int kTop = 10, kSub = 10, kPerFolder = 100;

struct TFile {
    fs::path host;         // as created on disk
    std::string request;   // "d:\..." in 1251, letter case differing from the disk names
};

struct TFixture {
    TScratchFolder scratch{"drive-map-bench"};
    std::vector<TFile> files;

    TFixture() {
        std::mt19937 random(20261210);
        const fs::path disc = scratch.Path() / "Disc";
        auto cyr = [](const char* utf8) { return Utf8ToCp1251(utf8); };
        const std::string topNames[] = {cyr("Двигатель"), "Engine", cyr("Ёмкости"), "Brakes", cyr("Кузов"),
                                        "Electrics", cyr("Подвеска"), "Transmission", cyr("Схемы"), "Html"};
        for (int t = 0; t < kTop; ++t) {
            for (int s = 0; s < kSub; ++s) {
                const std::string sub = (s % 2 ? cyr("Раздел") : std::string("Chapter")) + std::to_string(s);
                for (int f = 0; f < kPerFolder; ++f) {
                    const std::string name = (f % 3 == 0 ? cyr("Страница") : std::string("Page")) + std::to_string(f) +
                                             (f % 5 == 0 ? ".GIF" : ".Htm");
                    // Disk names keep their mixed case; each request component differs from it.
                    const std::string parts1251[] = {topNames[t], sub, name};
                    TFile file;
                    file.host = disc;
                    std::string request = "d:";
                    for (const auto& part : parts1251) {
                        file.host /= Cp1251ToUtf8(part);
                        request += '\\';
                        request += OtherCase1251(part, random);
                    }
                    file.request = std::move(request);
                    files.push_back(std::move(file));
                }
            }
        }
        for (const auto& file : files) {
            fs::create_directories(file.host.parent_path());
            std::ofstream(file.host) << "x";
        }
        std::shuffle(files.begin(), files.end(), random);
    }
    fs::path Disc() const { return scratch.Path() / "Disc"; }
};

TFixture* fixture = nullptr;

// Every file once; returns seconds and checks each result names the file that exists.
double ResolveAll(const TDriveMap& drives, std::size_t& mismatches) {
    mismatches = 0;
    const auto start = Clock::now();
    for (const auto& file : fixture->files) {
        const auto host = drives.ToHostPath(file.request);
        if (!host || *host != file.host) ++mismatches;
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_ToHostPathColdCache(benchmark::State& state) {
    std::size_t mismatches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto drives = std::make_unique<TDriveMap>(fixture->Disc(), fixture->scratch.Path() / "c");
        state.ResumeTiming();
        ResolveAll(*drives, mismatches);
    }
    if (mismatches) state.SkipWithError("a path resolved to the wrong host file");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(fixture->files.size()));
}

void BM_ToHostPathWarmCache(benchmark::State& state) {
    TDriveMap drives(fixture->Disc(), fixture->scratch.Path() / "c");
    std::size_t mismatches = 0;
    ResolveAll(drives, mismatches);
    for (auto _ : state) ResolveAll(drives, mismatches);
    if (mismatches) state.SkipWithError("a path resolved to the wrong host file");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(fixture->files.size()));
}

void Report() {
    std::vector<double> cold, warm;
    std::size_t coldMismatches = 0, warmMismatches = 0;
    for (int run = 0; run < 5; ++run) {
        TDriveMap drives(fixture->Disc(), fixture->scratch.Path() / "c");
        cold.push_back(ResolveAll(drives, coldMismatches));
        warm.push_back(ResolveAll(drives, warmMismatches));
    }
    const std::size_t count = fixture->files.size();
    std::printf("\n== Drive map report ==\n");
    std::printf("ToHostPath, %zu distinct paths, every component in another case than on disk:\n", count);
    std::printf("  fresh map (listings read): total %.1f ms, %.1f us per path; wrong results %zu\n",
                Median(cold) * 1e3, Median(cold) / count * 1e6, coldMismatches);
    std::printf("  same map again (listings cached): total %.1f ms, %.1f us per path; wrong results %zu\n",
                Median(warm) * 1e3, Median(warm) / count * 1e6, warmMismatches);
    std::printf("  -> %s (target: total well under 1 s)\n", Median(cold) < 1.0 ? "MET" : "MISSED");
}

}  // namespace
}  // namespace vitrina::bench

int main(int argc, char** argv) {
    using namespace vitrina::bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TFixture storage;
    fixture = &storage;
    benchmark::RegisterBenchmark("ToHostPath/10000_paths_cold_listing_cache", BM_ToHostPathColdCache)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ToHostPath/10000_paths_warm_listing_cache", BM_ToHostPathWarmCache)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Report();
    return 0;
}
