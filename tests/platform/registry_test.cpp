#include "platform/registry.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "support/temp_folder.h"

namespace vitrina {
namespace {

TEST(Registry, TypedValuesRoundTripThroughTheHiveFile) {
    test::TTempFolder dir;
    {
        TRegistry reg(dir.Path());
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Quarnelo\\\xC0\xE2\xF2\xEE", true));
        reg.WriteBool("Clip", true);
        reg.WriteInteger("HotSpotColor", 0x3366);
        reg.WriteInteger("Negative", -5);
        reg.WriteString("FontName", "Times \"New\" \\ Roman \xC0\xE1");
        reg.WriteBinary("Blob", std::string("\x00\xFF\x10", 3));
    }
    TRegistry reg(dir.Path());
    ASSERT_TRUE(reg.OpenKey("software\\quarnelo\\\xE0\xE2\xF2\xEE", false));  // names ignore case, Cyrillic too
    EXPECT_TRUE(reg.ReadBool("clip"));
    EXPECT_EQ(reg.ReadInteger("HotSpotColor"), 0x3366);
    EXPECT_EQ(reg.ReadInteger("Negative"), -5);
    EXPECT_EQ(reg.ReadString("FontName"), "Times \"New\" \\ Roman \xC0\xE1");
    EXPECT_EQ(reg.ReadBinary("Blob"), std::string("\x00\xFF\x10", 3));
    const std::string text = dir.Read("HKEY_CURRENT_USER.reg");
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\SOFTWARE\\Quarnelo\\Авто]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Clip\"=dword:00000001"), std::string::npos) << text;
    EXPECT_NE(text.find("\"HotSpotColor\"=dword:00003366"), std::string::npos) << text;
}

TEST(Registry, MissingAndWronglyTypedValuesAreErrors) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("Str", "1");
    reg.WriteInteger("Num", 1);
    EXPECT_THROW(reg.ReadBool("Missing"), ERegistryError);
    EXPECT_THROW(reg.ReadBool("Str"), ERegistryError);     // a Boolean stored as a string
    EXPECT_THROW(reg.ReadString("Num"), ERegistryError);   // a string stored as a DWORD
    EXPECT_EQ(reg.ReadString("Missing"), "");               // a missing string reads empty
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_TRUE(reg.ValueExists("num"));
    EXPECT_TRUE(reg.DeleteValue("NUM"));
    EXPECT_FALSE(reg.DeleteValue("Num"));
    EXPECT_FALSE(reg.ValueExists("Num"));
}

TEST(Registry, KeysAreCreatedOnlyWhenAsked) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path() / "cfg", THive::LocalMachine);
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Vostrand\\chess", false));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "cfg"));  // a look-up writes nothing
    EXPECT_THROW(reg.WriteInteger("x", 1), ERegistryError);     // no key open
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vostrand\\chess", true));
    EXPECT_TRUE(reg.KeyExists("software\\vostrand\\CHESS"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "cfg" / "HKEY_LOCAL_MACHINE.reg"));
}

TEST(Registry, HandWrittenFilesAreReadAndBadLinesSkipped) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Other]\r\n\"x\"=dword:1\r\n"
        "[HKEY_CURRENT_USER\\A\\B]\r\n"
        "\"Good\"=dword:0000000a\r\n"
        "\"Bad\"=dword:zz\r\n"
        "garbage line\r\n"
        "@=\"default\"\r\n"
        "\"Hex\"=hex:01,02,\\\r\n  03\r\n"
        "\"Unterminated=\"x\r\n";
    const auto keys = ParseRegFile(text, THive::CurrentUser);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].path, "A\\B");
    ASSERT_EQ(keys[0].values.size(), 3u);
    EXPECT_EQ(keys[0].values[0].dword, 10u);
    EXPECT_EQ(keys[0].values[1].name, "");
    EXPECT_EQ(keys[0].values[1].data, "default");
    EXPECT_EQ(keys[0].values[2].data, "\x01\x02\x03");
}

TEST(Registry, WritersInSeveralProcessesLoseNothing) {
    test::TTempFolder dir;
    constexpr int kChildren = 4;
    constexpr int kValues = 25;
    for (int c = 0; c < kChildren; ++c) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            TRegistry reg(dir.Path());
            if (!reg.OpenKey("SOFTWARE\\Quarnelo\\T", true)) ::_exit(1);
            for (int i = 0; i < kValues; ++i) reg.WriteInteger("v" + std::to_string(c) + "_" + std::to_string(i), i);
            ::_exit(0);
        }
        ASSERT_GT(pid, 0);
    }
    for (int c = 0; c < kChildren; ++c) {
        int status = 0;
        ::wait(&status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    TRegistry reg(dir.Path());
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Quarnelo\\T", false));
    for (int c = 0; c < kChildren; ++c)
        for (int i = 0; i < kValues; ++i)
            EXPECT_EQ(reg.ReadInteger("v" + std::to_string(c) + "_" + std::to_string(i)), i);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        files += e.path().filename().string().find(".tmp") != std::string::npos;
    EXPECT_EQ(files, 0);
}

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void SetModified(const fs::path& path, std::time_t secondsAgo) {
    const timespec times[2] = {{std::time(nullptr) - secondsAgo, 0}, {std::time(nullptr) - secondsAgo, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// What may stand at the settings file's place. Each reads as no settings, at once and without
// reading more than the limit; anything but a settings file is kept aside with one line on
// stderr, and the next write makes a proper file again.
TEST(Registry, WhatIsNoSettingsFileIsKeptAsideAndTheSettingsStartAfresh) {
    const std::string header = "Windows Registry Editor Version 5.00\n";
    struct TCase {
        const char* what;
        std::function<void(const fs::path&)> make;
        bool keptAside;
    };
    const TCase cases[] = {
        {"a pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, true},
        {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, true},
        {"a file past the limit",
         [&](const fs::path& p) {
             WriteBytes(p, header + "[HKEY_CURRENT_USER\\K]\n");
             fs::resize_file(p, kMaxHiveFileSize + 1);  // sparse: no disc space taken
         },
         true},
        {"garbage",
         [](const fs::path& p) {
             static const char kElf[] = "\x7f" "ELF\x02\x01\0\0[HKEY_CURRENT_USER\\K]\n\"x\"=dword:1\n";
             WriteBytes(p, std::string_view(kElf, sizeof kElf - 1));
         },
         true},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, true},
        {"an empty file", [](const fs::path& p) { WriteBytes(p, ""); }, false},
        {"blank lines", [](const fs::path& p) { WriteBytes(p, "\r\n\n"); }, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TTempFolder dir;
        const fs::path hive = dir.Path() / "HKEY_CURRENT_USER.reg";
        c.make(hive);
        ::alarm(60);  // a read that blocks ends the test instead of hanging it
        testing::internal::CaptureStderr();
        {
            TRegistry reg(dir.Path());
            EXPECT_FALSE(reg.OpenKey("K", false));
            EXPECT_FALSE(reg.OpenKey("K", false));  // kept aside once
        }
        const std::string said = testing::internal::GetCapturedStderr();
        ::alarm(0);
        std::vector<std::string> aside;
        for (const auto& e : fs::directory_iterator(dir.Path()))
            if (e.path().filename().string().starts_with("HKEY_CURRENT_USER.reg.damaged-")) aside.push_back(e.path().string());
        if (c.keptAside) {
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            ASSERT_EQ(aside.size(), 1u);
            EXPECT_NE(said.find(aside[0]), std::string::npos) << said;
            EXPECT_FALSE(fs::exists(fs::symlink_status(hive)));
        } else {
            EXPECT_EQ(said, "");
            EXPECT_TRUE(aside.empty());
        }
        TRegistry reg(dir.Path());
        ASSERT_TRUE(reg.OpenKey("K", true));
        reg.WriteInteger("x", 1);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(hive)));
        EXPECT_EQ(TRegistry(dir.Path()).OpenKey("K", false), true);
        EXPECT_EQ(reg.ReadInteger("x"), 1);
    }
}

// A reader keeps the parsed file between reads, but never past a change of the file: not one
// made by another copy, nor one in place that keeps the size.
TEST(Registry, ReadsFollowTheFileAsItChanges) {
    test::TTempFolder dir;
    const auto text = [](char digit) {
        return std::string("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"v\"=dword:0000000") + digit + "\n";
    };
    const fs::path hive = dir.Write("HKEY_CURRENT_USER.reg", text('1'));
    SetModified(hive, 3600);
    TRegistry reader(dir.Path());
    ASSERT_TRUE(reader.OpenKey("K", false));
    EXPECT_EQ(reader.ReadInteger("v"), 1);
    EXPECT_EQ(reader.ReadInteger("v"), 1);
    {
        // Rewritten where it is, the same size, and dated back.
        std::FILE* f = std::fopen(hive.c_str(), "r+");
        ASSERT_NE(f, nullptr);
        const std::string now = text('2');
        std::fwrite(now.data(), 1, now.size(), f);
        std::fclose(f);
        SetModified(hive, 1800);
    }
    EXPECT_EQ(reader.ReadInteger("v"), 2);
    TRegistry writer(dir.Path());
    ASSERT_TRUE(writer.OpenKey("K", false));
    writer.WriteInteger("v", 3);
    EXPECT_EQ(reader.ReadInteger("v"), 3);
    // The file's form is unchanged by the way it is written.
    EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg"), text('3'));
    EXPECT_EQ(fs::status(hive).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace vitrina
