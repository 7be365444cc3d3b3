// The pages of a large archive: a RAR 4 archive of 10,000 members in 100 folders (written by the
// tests' RAR writer), listed by the pass and turned into its pages, as the program does when the
// reader follows a link to it. A plain harness: prints the median of several runs and the aim.
#include <QDateTime>
#include <QLocale>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "archive/archive_page_files.h"
#include "archive/rar_pass.h"
#include "bench_support.h"
#include "support/rar4_writer.h"

using namespace vitrina;

int main() {
    constexpr int kFolders = 100;
    constexpr int kFiles = 10000;
    bench::TScratchFolder scratch("archive");
    std::vector<test::TRar4Member> members;
    const std::uint32_t when = test::DosTime(2024, 5, 17, 10, 30);
    for (int f = 0; f < kFolders; ++f) members.push_back({"Папка " + std::to_string(f), std::nullopt, when});
    for (int i = 0; i < kFiles; ++i)
        members.push_back({"Папка " + std::to_string(i % kFolders) + "\\Документ " + std::to_string(i) + ".txt",
                           std::string(100 + i % 900, 'x'), when});
    const auto archive = scratch.Path() / "big.rar";
    std::ofstream(archive, std::ios::binary) << test::WriteRar4(members).bytes;

    std::vector<double> listing, pages;
    for (int run = 0; run < 7; ++run) {
        TRarPass pass;
        pass.archive = archive;
        pass.archiveName = "d:\\big.rar";
        int entries = 0;
        auto start = std::chrono::steady_clock::now();
        RunRarPass(pass, [&](const TRarEntry&) { ++entries; }, [](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); });
        listing.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (entries != kFolders + kFiles) std::fprintf(stderr, "listed %d entries\n", entries);

        start = std::chrono::steady_clock::now();
        WriteArchivePages(pass, DosDateTime(QDateTime::currentDateTime()), QLocale::system(),
                          scratch.Path() / ("pages" + std::to_string(run)), [](const std::string&) {});
        pages.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("archive of %d members in %d folders\n", kFiles + kFolders, kFolders);
    std::printf("list pass alone:          median %.1f ms\n", bench::Median(listing));
    std::printf("list pass + all pages:    median %.1f ms (aim: well under 1000 ms)\n", bench::Median(pages));
    return 0;
}
