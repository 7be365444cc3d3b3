// "vitrina-disc index DOCUMENTS OUT", run as an author would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "platform/cp1251.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct TRun {
    int code = -1;
    std::string err;
};

TRun RunIndex(const test::TTempFolder& temp, const std::vector<std::string>& args) {
    std::string command = Quote(VITRINA_DISC_TOOL) + " index";
    for (const auto& arg : args) command += " " + Quote(arg);
    command += " 2> " + Quote((temp.Path() / "stderr").string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, temp.Read("stderr")};
}

TEST(IndexCommand, WritesTheThreeIndexFilesIntoOut) {
    test::TTempFolder temp;
    temp.Write("docs/Глава/тормоза.htm", Utf8ToCp1251("<title>Тормоза</title><p>Колодки</p>"));
    temp.Write("docs/a.htm", Utf8ToCp1251("<title>А</title><p>Колодки и диски</p>"));
    const auto run = RunIndex(temp, {(temp.Path() / "docs").string(), (temp.Path() / "disc").string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(temp.Read("disc/files.idx"), Utf8ToCp1251("a.htm#:#А\r\nГлава\\тормоза.htm#:#Тормоза\r\n"));
    EXPECT_EQ(temp.Read("disc/keywords.idx"), Utf8ToCp1251("диски\r\nи\r\nколодки\r\n"));
    EXPECT_EQ(temp.Read("disc/index.idx"), "1\r\n1\r\n1:2\r\n");
}

TEST(IndexCommand, RefusesBadUsageOnOneLine) {
    test::TTempFolder temp;
    const std::vector<std::vector<std::string>> cases = {
        {(temp.Path() / "absent").string(), (temp.Path() / "out").string()},
        {temp.Path().string()},
        {temp.Path().string(), (temp.Path() / "out").string(), "extra"},
    };
    for (const auto& args : cases) {
        const auto run = RunIndex(temp, args);
        EXPECT_EQ(run.code, 2) << args.size() << " arguments";
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

}  // namespace
}  // namespace vitrina
