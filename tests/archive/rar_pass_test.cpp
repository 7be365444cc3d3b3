// RAR archives through libarchive: result codes, volumes, names in 1251, messages of the pass,
// and extraction that stays inside its folder.
#include <archive.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "archive/rar_archive.h"
#include "archive/rar_pass.h"
#include "archive/rar_result.h"
#include "archive/rar_volumes.h"
#include "platform/cp1251.h"
#include "support/rar4_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;
using test::DosTime;
using test::TRar4Member;
using test::TTempFolder;
using test::WriteRar4;

std::string W(const char* utf8) { return Utf8ToCp1251(utf8); }

struct TPassRun {
    bool clean = false;
    std::vector<TRarEntry> entries;
    std::vector<std::string> messages;  // UTF-8, for readable failures

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : entries) names.push_back(Cp1251ToUtf8(e.name));
        return names;
    }
};

TPassRun RunPass(const fs::path& archive, const std::string& archiveName, const fs::path& destination = {}) {
    TPassRun run;
    TRarPass pass{archive, archiveName, !destination.empty(), destination};
    run.clean = RunRarPass(
        pass, [&](const TRarEntry& e) { run.entries.push_back(e); },
        [&](const std::string& m) { run.messages.push_back(Cp1251ToUtf8(m)); });
    return run;
}

// Every file below a folder, relative, with its contents.
std::map<std::string, std::string> FilesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_symlink() || !item.is_regular_file()) continue;
        std::ifstream in(item.path(), std::ios::binary);
        files[fs::relative(item.path(), folder).generic_string()] =
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(RarResult, LibarchiveOutcomesMapOntoTheLibraryCodes) {
    using S = TArchiveStage;
    struct TCase {
        S stage;
        int status, error;
        bool rarFormat;
        TRarResult expected;
    } cases[] = {
        {S::Open, ARCHIVE_OK, 0, true, kRarSuccess},
        {S::Open, ARCHIVE_EOF, 0, true, kRarSuccess},               // an archive without entries
        {S::Open, ARCHIVE_FATAL, EILSEQ, false, kRarBadArchive},    // "Unrecognized archive format"
        {S::Open, ARCHIVE_FATAL, EILSEQ, true, kRarBadData},        // "Bad RAR file", encrypted headers
        {S::Open, ARCHIVE_FATAL, ENOENT, false, kRarOpenError},
        {S::Open, ARCHIVE_FATAL, EISDIR, false, kRarOpenError},
        {S::Open, ARCHIVE_FATAL, ENOMEM, false, kRarNoMemory},
        {S::Header, ARCHIVE_WARN, EILSEQ, true, kRarSuccess},       // a name that did not convert
        {S::Header, ARCHIVE_EOF, 0, true, kRarEndArchive},
        {S::Header, ARCHIVE_FATAL, -1, true, kRarBadData},          // "Truncated input file"
        {S::Header, ARCHIVE_FATAL, EIO, true, kRarReadError},
        {S::Data, ARCHIVE_FATAL, EILSEQ, true, kRarBadData},        // "File CRC error"
        {S::Data, ARCHIVE_FATAL, EIO, true, kRarReadError},
        {S::Data, ARCHIVE_FATAL, ENOMEM, true, kRarNoMemory},
        {S::Create, ARCHIVE_FAILED, EACCES, true, kRarCreateError},
        {S::Create, ARCHIVE_FAILED, -1, true, kRarCreateError},     // refused by a secure-extraction flag
        {S::Write, ARCHIVE_FATAL, ENOSPC, true, kRarWriteError},
        {S::Close, ARCHIVE_WARN, 0, true, kRarSuccess},
        {S::Close, ARCHIVE_FAILED, EIO, true, kRarCloseError},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(RarResultOf(c.stage, ClassifyArchiveFailure(c.status, c.error, c.rarFormat)), c.expected)
            << "stage " << static_cast<int>(c.stage) << " status " << c.status << " errno " << c.error;
}

TEST(RarVolumes, NextNameFollowsBothNamingSchemes) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.part1.rar", "a.part2.rar"},         {"a.part09.rar", "a.part10.rar"},
        {"a.part0001.rar", "a.part0002.rar"},   {"a.part9.rar", "a.part10.rar"},
        {"A.PART1.RAR", "A.PART2.RAR"},         {"a.rar", "a.r00"},
        {"A.RAR", "A.R00"},                     {"a.r00", "a.r01"},
        {"a.r99", "a.s00"},                     {"a.R41", "a.R42"},
        {"x.part.rar", "x.part.r00"},           {"a.txt", ""},
        {"a.z99", ""},                          {"rar", ""},
    };
    for (const auto& [name, next] : cases) EXPECT_EQ(NextRarVolumeName(name), next) << name;
}

TEST(RarSafeName, OnlyRelativeNamesWithoutClimbingAreSafe) {
    const std::pair<const char*, bool> cases[] = {
        {"a.txt", true},  {"dir\\a.txt", true}, {"dir/sub/a.txt", true}, {"a..b.txt", true},
        {"..\\x", false}, {"../x", false},      {"a\\..\\..\\x", false},  {"/abs", false},
        {"\\abs", false}, {"c:\\x", false},     {"C:x", false},          {"", false},
    };
    for (const auto& [name, safe] : cases) EXPECT_EQ(IsSafeMemberName(name), safe) << name;
}

TEST(RarPass, NamesSizesTimesAndDirectoriesArriveIn1251) {
    TTempFolder temp;
    const std::uint32_t time = DosTime(2004, 3, 15, 10, 20, 30);
    const auto archive = temp.Write("a.rar", WriteRar4({
                                                 {"readme.txt", std::string(999, 'x'), time},
                                                 {"Папка", std::nullopt, DosTime(2001, 12, 31, 23, 58)},
                                                 {"Папка\\Файл ёжика.txt", "abc", time},
                                                 {"ДОС\\ИМЯ.TXT", "dos", time, false},
                                             }).bytes);
    const TPassRun run = RunPass(archive, "d:\\a.rar");
    EXPECT_TRUE(run.clean);
    EXPECT_TRUE(run.messages.empty());
    ASSERT_EQ(run.Names(), (std::vector<std::string>{"readme.txt", "Папка", "Папка\\Файл ёжика.txt", "ДОС\\ИМЯ.TXT"}));
    EXPECT_EQ(run.entries[0].size, 999u);
    EXPECT_EQ(run.entries[0].time, time);
    EXPECT_EQ(run.entries[1].time, DosTime(2001, 12, 31, 23, 58));
    EXPECT_EQ(run.entries[2].size, 3u);
    const std::vector<bool> directories = {false, true, false, false};
    for (std::size_t i = 0; i < directories.size(); ++i) EXPECT_EQ(run.entries[i].directory, directories[i]) << i;
}

TEST(RarPass, Rar5NamesInUtf8ArriveIn1251) {
    TTempFolder temp;
    const std::uint32_t moment = 1100000000;
    auto archive = test::WriteRar5({
        {"Документы", std::nullopt, moment},
        {"Документы\\Отчёт за год.txt", "12345", moment},
        {"plain.txt", "", moment},
    });
    TPassRun run = RunPass(temp.Write("r5.rar", archive.bytes), "d:\\r5.rar", temp.Path() / "out");
    EXPECT_TRUE(run.clean) << (run.messages.empty() ? "" : run.messages[0]);
    ASSERT_EQ(run.Names(), (std::vector<std::string>{"Документы", "Документы\\Отчёт за год.txt", "plain.txt"}));
    EXPECT_TRUE(run.entries[0].directory);
    EXPECT_EQ(run.entries[1].size, 5u);
    EXPECT_EQ(run.entries[1].time, DosDateTime(moment));
    EXPECT_EQ(temp.Read("out/Документы/Отчёт за год.txt"), "12345");

    // The data checksum holds for stored RAR 5 members too.
    archive.bytes[archive.data[1]] ^= 0x01;
    run = RunPass(temp.Write("bad5.rar", archive.bytes), "d:\\bad5.rar", temp.Path() / "bad");
    EXPECT_EQ(run.messages, std::vector<std::string>{"У файла Документы\\Отчёт за год.txt ошика контрольной суммы."});
    EXPECT_FALSE(fs::exists(temp.Path() / "bad" / "Документы" / "Отчёт за год.txt"));
}

TEST(RarPass, OpenFailuresGiveTheirMessageAndNoEntry) {
    TTempFolder temp;
    const auto text = temp.Write("text.rar", "just some text, no archive at all");
    const auto empty = temp.Write("empty.rar", "");
    const auto broken = temp.Write("broken.rar", std::string("Rar!\x1a\x07\x00", 7) + std::string(40, 'x'));
    fs::create_directories(temp.Path() / "folder.rar");
    struct TCase {
        fs::path file;
        const char* name;
        const char* message;
    } cases[] = {
        {text, "d:\\Архив.rar", "Файл d:\\Архив.rar не является RAR архивом."},
        {empty, "d:\\e.rar", "Файл d:\\e.rar не является RAR архивом."},
        {broken, "d:\\b.rar", "d:\\b.rar: archive header broken"},
        {temp.Path() / "absent.rar", "d:\\absent.rar", "Cannot open d:\\absent.rar"},
        {temp.Path() / "folder.rar", "d:\\folder.rar", "Cannot open d:\\folder.rar"},
    };
    for (const TCase& c : cases) {
        const TPassRun run = RunPass(c.file, W(c.name));
        EXPECT_FALSE(run.clean) << c.name;
        EXPECT_TRUE(run.entries.empty()) << c.name;
        EXPECT_EQ(run.messages, std::vector<std::string>{c.message}) << c.name;
    }
}

TEST(RarPass, DamagedHeaderEndsTheListingWithTheEntriesRead) {
    TTempFolder temp;
    auto archive = WriteRar4({{"first.txt", "one", 0}, {"second.txt", "two", 0}, {"third.txt", "333", 0}});
    archive.bytes[archive.headers[1] + 9] ^= 0x55;  // inside the second header, under its checksum
    const TPassRun run = RunPass(temp.Write("h.rar", archive.bytes), "d:\\h.rar");
    EXPECT_FALSE(run.clean);
    EXPECT_EQ(run.Names(), std::vector<std::string>{"first.txt"});
    EXPECT_EQ(run.messages, std::vector<std::string>{"У файла: first.txt испорчен заголовок."});
}

TEST(RarPass, ChecksumErrorIsReportedAndTheBrokenMemberNotKept) {
    TTempFolder temp;
    auto archive = WriteRar4({{"bad.txt", "payload", 0}, {"good.txt", "fine", 0}});
    archive.bytes[archive.data[0]] ^= 0x01;
    const auto file = temp.Write("c.rar", archive.bytes);
    const TPassRun run = RunPass(file, "d:\\c.rar", temp.Path() / "out");
    EXPECT_FALSE(run.clean);
    EXPECT_EQ(run.messages, std::vector<std::string>{"У файла bad.txt ошика контрольной суммы."});
    EXPECT_EQ(run.Names(), (std::vector<std::string>{"bad.txt", "good.txt"}));
    EXPECT_EQ(FilesBelow(temp.Path() / "out"), (std::map<std::string, std::string>{{"good.txt", "fine"}}));
}

TEST(RarPass, ExtractionWritesFilesAndFolders) {
    TTempFolder temp;
    const auto file = temp.Write("x.rar", WriteRar4({
                                              {"Папка", std::nullopt, 0},
                                              {"Папка\\вложенный.txt", "вложенный", 0},
                                              {"top.bin", std::string("\0\1\2", 3), 0},
                                              {"empty\\", std::nullopt, 0},
                                          }).bytes);
    const fs::path out = temp.Path() / "new" / "dest";
    const TPassRun run = RunPass(file, "d:\\x.rar", out);
    EXPECT_TRUE(run.clean) << (run.messages.empty() ? "" : run.messages[0]);
    EXPECT_EQ(FilesBelow(out), (std::map<std::string, std::string>{{"Папка/вложенный.txt", "вложенный"},
                                                                     {"top.bin", std::string("\0\1\2", 3)}}));
    EXPECT_TRUE(fs::is_directory(out / "empty"));
    // A second extraction replaces what the first wrote.
    EXPECT_TRUE(RunPass(file, "d:\\x.rar", out).clean);
}

TEST(RarPass, HostileMembersWriteNothingOutsideTheDestination) {
    TTempFolder temp;
    const fs::path out = temp.Path() / "box" / "dest";
    fs::create_directories(out);
    temp.Write("box/victim.txt", "original");
    // A link already in the destination is replaced, never followed.
    fs::create_symlink(temp.Path() / "box" / "victim.txt", out / "planted.txt");
    const auto file = temp.Write("evil.rar", WriteRar4({
                                                 {"..\\victim.txt", "overwritten", 0},
                                                 {"a\\..\\..\\victim.txt", "overwritten", 0},
                                                 {"\\abs.txt", "x", 0},
                                                 {"c:\\drive.txt", "x", 0},
                                                 {"link", "../victim.txt", 0, true, 0120777},
                                                 {"link\\through.txt", "x", 0},
                                                 {"planted.txt", "overwritten", 0},
                                                 {"fine.txt", "kept", 0},
                                             }).bytes);
    const TPassRun run = RunPass(file, "d:\\evil.rar", out);
    EXPECT_FALSE(run.clean);
    EXPECT_EQ(run.entries.size(), 8u);
    EXPECT_EQ(run.messages, (std::vector<std::string>{
                                "File ..\\victim.txt create error", "File a\\..\\..\\victim.txt create error",
                                "File \\abs.txt create error", "File c:\\drive.txt create error", "File link create error"}));
    EXPECT_EQ(temp.Read("box/victim.txt"), "original");
    EXPECT_EQ(FilesBelow(temp.Path() / "box"),
              (std::map<std::string, std::string>{{"victim.txt", "original"}, {"dest/fine.txt", "kept"}, {"dest/link/through.txt", "x"},
                                                   {"dest/planted.txt", "overwritten"}}));
    EXPECT_FALSE(fs::is_symlink(out / "link"));
    EXPECT_FALSE(fs::is_symlink(out / "planted.txt"));
    EXPECT_FALSE(fs::exists(temp.Path() / "abs.txt"));
}

// Real archives written by the RAR tool.
class RarFixtures : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(folder)) GTEST_SKIP() << "no " << folder;
    }
    fs::path Fixture(const std::string& name) const { return folder / name; }
    const fs::path folder = fs::path(VITRINA_SHARED_FIXTURES) / "rar";
};

TEST_F(RarFixtures, Rar4AndRar5ListTheirEntries) {
    struct TCase {
        const char* file;
        std::vector<std::string> names;
    } cases[] = {
        {"test_read_format_rar.rar", {"test.txt", "testlink", "testdir\\test.txt", "testdir", "testemptydir"}},
        {"test_read_format_rar5_stored.rar", {"helloworld.txt"}},
        {"test_read_format_rar5_multiple_files_solid.rar", {"test1.bin", "test2.bin", "test3.bin", "test4.bin"}},
        {"test_read_format_rar_multivolume.part0001.rar",
         {"ppmd_lzss_conversion_test.txt", "LibarchiveAddingTest.html", "testlink", "testdir\\test.txt",
          "testdir\\LibarchiveAddingTest.html", "testdir", "testemptydir"}},
        {"test_read_format_rar5_multiarchive.part01.rar",
         {"home\\antek\\temp\\build\\unrar5\\libarchive\\bin\\bsdcat_test",
          "home\\antek\\temp\\build\\unrar5\\libarchive\\bin\\bsdtar_test"}},
    };
    for (const TCase& c : cases) {
        const TPassRun run = RunPass(Fixture(c.file), W("d:\\a.rar"));
        EXPECT_TRUE(run.clean) << c.file << ": " << (run.messages.empty() ? "" : run.messages[0]);
        EXPECT_EQ(run.Names(), c.names) << c.file;
    }
    const TPassRun rar4 = RunPass(Fixture("test_read_format_rar.rar"), "d:\\a.rar");
    EXPECT_EQ(rar4.entries[0].size, 20u);
    EXPECT_EQ(rar4.entries[0].time, DosDateTime(1309100026));
    EXPECT_TRUE(rar4.entries[3].directory);
}

TEST_F(RarFixtures, UnicodeNamesOutside1251BecomeQuestionMarks) {
    const TPassRun run = RunPass(Fixture("test_read_format_rar_unicode.rar"), "d:\\u.rar");
    ASSERT_FALSE(run.entries.empty());
    EXPECT_EQ(run.entries[0].name, "???\\???????\\?????? ??????.txt");
}

TEST_F(RarFixtures, MissingVolumeNamesItAndEndsWithTheEntriesSoFar) {
    struct TCase {
        const char* stem;
        int parts, removed, width;
        std::vector<std::string> names;
    } cases[] = {
        {"test_rar_multivolume_multiple_files", 6, 3, 1, {"LibarchiveAddingTest2.html"}},
        {"test_rar_multivolume_single_file", 3, 2, 1, {"LibarchiveAddingTest.html"}},
        {"test_read_format_rar5_multiarchive", 8, 3, 2, {"home\\antek\\temp\\build\\unrar5\\libarchive\\bin\\bsdcat_test"}},
    };
    for (const TCase& c : cases) {
        for (bool extract : {false, true}) {
            TTempFolder temp;
            auto part = [&](int i) {
                std::string n = std::to_string(i);
                return std::string(c.stem) + ".part" + std::string(c.width - std::min<int>(c.width, n.size()), '0') + n + ".rar";
            };
            for (int i = 1; i <= c.parts; ++i)
                if (i != c.removed) fs::copy_file(Fixture(part(i)), temp.Path() / part(i));
            const TPassRun run = RunPass(temp.Path() / part(1), W("d:\\Архивы\\") + part(1), extract ? temp.Path() / "out" : fs::path());
            EXPECT_FALSE(run.clean) << c.stem;
            EXPECT_EQ(run.messages, std::vector<std::string>{"Том d:\\Архивы\\" + part(c.removed) + " не найден."}) << c.stem << extract;
            EXPECT_EQ(run.Names(), c.names) << c.stem;
        }
    }
}

TEST_F(RarFixtures, VolumeCallbackHearsOfEachVolumeOpened) {
    TRarOpenRecord open{Fixture("test_read_format_rar_multivolume.part0001.rar"), kRarOpenList};
    auto archive = TRarArchive::Open(open);
    ASSERT_TRUE(archive);
    std::vector<std::string> heard;
    archive->SetCallback([&](const fs::path& volume, TRarVolumeMode mode) {
        heard.push_back(std::to_string(mode) + volume.filename().string());
        return 1;
    });
    TRarHeaderRecord header;
    while (archive->ReadHeader(header) == kRarSuccess) ASSERT_EQ(archive->ProcessFile(kRarSkip, {}), kRarSuccess);
    EXPECT_EQ(heard, (std::vector<std::string>{"1test_read_format_rar_multivolume.part0002.rar",
                                                "1test_read_format_rar_multivolume.part0003.rar",
                                                "1test_read_format_rar_multivolume.part0004.rar"}));
}

TEST_F(RarFixtures, ExtractionOfRealArchives) {
    TTempFolder temp;
    TPassRun run = RunPass(Fixture("test_read_format_rar5_multiple_files.rar"), "d:\\m.rar", temp.Path() / "m");
    EXPECT_TRUE(run.clean);
    const auto files = FilesBelow(temp.Path() / "m");
    ASSERT_EQ(files.size(), 4u);
    for (const auto& [name, bytes] : files) EXPECT_EQ(bytes.size(), 4096u) << name;
    run = RunPass(Fixture("test_read_format_rar.rar"), "d:\\r.rar", temp.Path() / "r");
    EXPECT_EQ(run.messages, std::vector<std::string>{"File testlink create error"});
    EXPECT_EQ(FilesBelow(temp.Path() / "r").size(), 2u);
    run = RunPass(Fixture("test_read_format_rar5_stored.rar"), "d:\\st.rar", temp.Path() / "st");
    EXPECT_TRUE(run.clean);
    std::ifstream in(Fixture("test_read_format_rar5_stored.rar"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t text = bytes.find("hello libarchive");
    ASSERT_NE(text, std::string::npos);
    bytes[text] ^= 0x01;
    run = RunPass(temp.Write("damaged5.rar", bytes), "d:\\d.rar", temp.Path() / "d");
    EXPECT_EQ(run.messages, std::vector<std::string>{"У файла helloworld.txt ошика контрольной суммы."});
    // Links are listed but never made.
    run = RunPass(Fixture("test_read_format_rar5_symlink.rar"), "d:\\s.rar", temp.Path() / "s");
    EXPECT_EQ(run.messages, (std::vector<std::string>{"File symlink.txt create error", "File dirlink create error"}));
    EXPECT_TRUE(fs::is_regular_file(temp.Path() / "s" / "file.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp.Path() / "s" / "symlink.txt")));
    run = RunPass(Fixture("test_read_format_rar5_hardlink.rar"), "d:\\h.rar", temp.Path() / "h");
    EXPECT_EQ(run.messages, std::vector<std::string>{"File hardlink.txt create error"});
    // A member the decoder gets wrong is reported, never handed over as good data.
    run = RunPass(Fixture("test_read_format_rar_multi_lzss_blocks.rar"), "d:\\l.rar", temp.Path() / "l");
    EXPECT_EQ(run.messages, std::vector<std::string>{"У файла multi_lzss_blocks_test.txt ошика контрольной суммы."});
    EXPECT_TRUE(FilesBelow(temp.Path() / "l").empty());
}

TEST_F(RarFixtures, BrokenArchivesEndWithAMessage) {
    // Archives from libarchive's suite made to break decoders: every one ends, inside its folder.
    for (const char* name : {"test_read_format_rar_invalid1.rar", "test_read_format_rar_ppmd_use_after_free.rar",
                             "test_read_format_rar_ppmd_use_after_free2.rar", "test_read_format_rar5_distance_overflow.rar",
                             "test_read_format_rar5_truncated_huff.rar", "test_read_format_rar5_leftshift1.rar",
                             "test_read_format_rar5_invalid_dict_reference.rar", "test_read_format_rar_encryption_header.rar",
                             "test_read_format_rar_encryption_data.rar"}) {
        TTempFolder temp;
        const TPassRun run = RunPass(Fixture(name), "d:\\x.rar", temp.Path() / "out");
        EXPECT_FALSE(run.clean) << name;
        for (const auto& message : run.messages) EXPECT_FALSE(message.empty()) << name;
    }
}

}  // namespace
}  // namespace vitrina
