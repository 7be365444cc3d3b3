#include "platform/chm_file.h"

#include <gtest/gtest.h>

#include "support/chm_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilesBelow(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ChmFile, NamesFromTheFileAreWrittenOnlyWhenTheyStayBelowTheFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"/index.htm", "index.htm"},
        {"/html/Topic12.htm", "html/Topic12.htm"},
        {"/a b/c.gif", "a b/c.gif"},
        {"/\xd0\xbf\xd0\xbe\xd0\xbc\xd0\xbe\xd1\x89\xd1\x8c.htm", "\xd0\xbf\xd0\xbe\xd0\xbc\xd0\xbe\xd1\x89\xd1\x8c.htm"},
        {"/\xef\xf0\xe8.htm", "\xd0\xbf\xd1\x80\xd0\xb8.htm"},  // not UTF-8: taken as 1251
        {"/../x", nullptr},
        {"/a/../../x", nullptr},
        {"/./x", nullptr},
        {"//etc/passwd", nullptr},
        {"/a//b", nullptr},
        {"/a/", nullptr},
        {"/", nullptr},
        {"", nullptr},
        {"relative.htm", nullptr},
        {"::DataSpace/NameList", nullptr},
        {"/c:\\windows\\x", nullptr},
        {"/a\\..\\..\\x", nullptr},
        {"/line\nbreak", nullptr},
    };
    for (const auto& [name, safe] : cases) {
        const auto got = TChmFile::SafeName(name);
        if (safe) EXPECT_EQ(got, std::string(safe)) << name;
        else EXPECT_FALSE(got.has_value()) << name;
    }
    EXPECT_FALSE(TChmFile::SafeName("/" + std::string(400, 'a')).has_value());
    std::string deep;
    for (int i = 0; i < 17; ++i) deep += "/d";
    EXPECT_FALSE(TChmFile::SafeName(deep).has_value());
}

TEST(ChmFile, AHelpFileIsWrittenOutWithItsDefaultPageAndNothingHostile) {
    test::TTempFolder dir;
    const fs::path file = dir.Write("help.chm", test::WriteChm({
                                                    {"/#SYSTEM", test::ChmSystemObject("html/start.htm")},
                                                    {"/html/start.htm", "<p>start"},
                                                    {"/html/Topic12.htm", "<p>twelve"},
                                                    {"/img/logo.gif", "GIF89a"},
                                                    {"/../x", "escaped"},
                                                    {"/html/../../y", "escaped"},
                                                    {"/$WWKeywordLinks/BTree", "special"},
                                                    {"::DataSpace/NameList", "meta"},
                                                    {"/empty.htm", ""},
                                                    {"/html/", ""},
                                                }));
    const auto chm = TChmFile::Open(file);
    ASSERT_TRUE(chm);
    const std::vector<std::string> names{"empty.htm", "html/Topic12.htm", "html/start.htm", "img/logo.gif"};
    EXPECT_EQ(chm->Names(), names);
    EXPECT_EQ(chm->DefaultTopic(), "html/start.htm");
    const fs::path out = dir.Path() / "out";
    fs::create_directory(out);
    const auto result = chm->ExtractTo(out);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.written, 4u);
    EXPECT_EQ(FilesBelow(out), names);
    EXPECT_EQ(dir.Read("out/html/Topic12.htm"), "<p>twelve");
    EXPECT_EQ(dir.Read("out/img/logo.gif"), "GIF89a");
    EXPECT_FALSE(fs::exists(dir.Path() / "x"));
    EXPECT_FALSE(fs::exists(dir.Path() / "y"));
}

TEST(ChmFile, ADefaultPageThatIsNotInTheFileOrNotSafeIsNone) {
    test::TTempFolder dir;
    for (const char* topic : {"missing.htm", "../index.htm", ""}) {
        const fs::path file = dir.Write("h.chm", test::WriteChm({{"/#SYSTEM", test::ChmSystemObject(topic)},
                                                                 {"/index.htm", "<p>i"}}));
        const auto chm = TChmFile::Open(file);
        ASSERT_TRUE(chm);
        EXPECT_EQ(chm->DefaultTopic(), "") << topic;
    }
}

TEST(ChmFile, WhatIsNotAHelpFileDoesNotOpen) {
    test::TTempFolder dir;
    const std::string real = test::WriteChm({{"/index.htm", "<p>i"}});
    std::string badSignature = real;
    badSignature[0] = 'X';
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"empty.chm", ""}, {"text.chm", "<html>not a help file</html>"}, {"bad.chm", badSignature},
             {"cut.chm", real.substr(0, 0x80)}})
        EXPECT_FALSE(TChmFile::Open(dir.Write(name, bytes))) << name;
    EXPECT_FALSE(TChmFile::Open(dir.Path() / "missing.chm"));
    fs::create_directory(dir.Path() / "folder.chm");
    EXPECT_FALSE(TChmFile::Open(dir.Path() / "folder.chm"));
}

// Directories that would make the library loop forever or read past its buffers.
TEST(ChmFile, HostileDirectoriesAreRefusedBeforeTheLibraryWalksThem) {
    test::TTempFolder dir;
    const std::string good = test::WriteChm({{"/index.htm", "<p>i"}, {"/b.htm", "<p>b"}});
    constexpr std::size_t kItsp = 0x60, kChunk = 0x60 + 0x54;
    auto put32 = [](std::string& bytes, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    std::vector<std::pair<const char*, std::string>> cases;
    std::string selfNext = good;
    put32(selfNext, kChunk + 0x10, 0);  // the listing chunk's next is itself
    cases.push_back({"next chunk is itself", selfNext});
    std::string pastEnd = good;
    put32(pastEnd, kChunk + 4, 0);  // no free space: the zero padding reads as entries...
    for (std::size_t at = kChunk + 0x14 + 24; at < kChunk + 4096; ++at) pastEnd[at] = char(0x80);  // ...that never end
    cases.push_back({"entry runs past the chunk", pastEnd});
    cases.push_back({"empty name", test::WriteChm({{"", "x"}, {"/a.htm", "a"}})});
    std::string indexLoop = good;
    put32(indexLoop, kItsp + 0x1C, 0);  // the index root is chunk 0, an index chunk pointing to itself
    const std::string index = std::string("PMGI") + std::string(4, '\0') + "\x01/" + std::string(1, '\0');
    indexLoop.replace(kChunk, index.size(), index);
    put32(indexLoop, kChunk + 4, 4096 - index.size());
    cases.push_back({"index chunk below itself", indexLoop});
    std::string hugeChunks = good;
    put32(hugeChunks, kItsp + 0x10, 0x40000000);
    cases.push_back({"huge chunks", hugeChunks});
    for (const auto& [what, bytes] : cases) EXPECT_FALSE(TChmFile::Open(dir.Write("h.chm", bytes))) << what;
    EXPECT_TRUE(TChmFile::Open(dir.Write("h.chm", good)));
}

TEST(ChmFile, LimitsSkipLargeFilesAndStopAtTheTotal) {
    test::TTempFolder dir;
    const auto chm = TChmFile::Open(dir.Write(
        "h.chm", test::WriteChm({{"/a.htm", std::string(100, 'a')}, {"/b.htm", std::string(5000, 'b')},
                                 {"/c.htm", std::string(100, 'c')}, {"/d.htm", std::string(100, 'd')}})));
    ASSERT_TRUE(chm);
    fs::create_directory(dir.Path() / "small");
    auto result = chm->ExtractTo(dir.Path() / "small", {.maxFileBytes = 1000, .maxTotalBytes = 1000, .maxFiles = 10});
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(FilesBelow(dir.Path() / "small"), (std::vector<std::string>{"a.htm", "c.htm", "d.htm"}));
    fs::create_directory(dir.Path() / "total");
    result = chm->ExtractTo(dir.Path() / "total", {.maxFileBytes = 10000, .maxTotalBytes = 250, .maxFiles = 10});
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(FilesBelow(dir.Path() / "total"), (std::vector<std::string>{"a.htm"}));
    fs::create_directory(dir.Path() / "count");
    result = chm->ExtractTo(dir.Path() / "count", {.maxFileBytes = 10000, .maxTotalBytes = 100000, .maxFiles = 2});
    EXPECT_EQ(result.written, 2u);
    EXPECT_FALSE(result.complete);
}

TEST(ChmFile, LinksInTheTargetFolderAreNeverFollowed) {
    test::TTempFolder dir;
    const auto chm = TChmFile::Open(dir.Write(
        "h.chm", test::WriteChm({{"/index.htm", "from the help"}, {"/sub/page.htm", "from the help"}})));
    ASSERT_TRUE(chm);
    const fs::path out = dir.Path() / "out", outside = dir.Path() / "outside";
    fs::create_directories(out);
    fs::create_directories(outside);
    dir.Write("outside/index.htm", "mine");
    fs::create_symlink(outside / "index.htm", out / "index.htm");
    fs::create_directory_symlink(outside, out / "sub");
    const auto result = chm->ExtractTo(out);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.written, 0u);
    EXPECT_EQ(dir.Read("outside/index.htm"), "mine");
    EXPECT_FALSE(fs::exists(outside / "page.htm"));
}

}  // namespace
}  // namespace vitrina
