#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

}  // namespace
}  // namespace vitrina
