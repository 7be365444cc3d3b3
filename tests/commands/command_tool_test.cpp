#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string RunTool(const std::string& args) {
    std::string out;
    FILE* p = ::popen((std::string(VITRINA_DISC_TOOL) + " command " + args + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[512];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    ::pclose(p);
    return out;
}

TEST(CommandTool, PrintsTheRecognisedPiecesAsJson) {
    struct {
        const char* args;
        const char* json;
    } cases[] = {
        {"'html20=page.htm'",
         R"({"test":20,"name":"html20","number":20,"argument":"d:\\run\\page.htm","params":null})"},
        {"9 --screens 3", R"({"test":0,"name":"","number":null,"argument":null,"params":null})"},
        {"9", R"({"test":47,"name":"","number":9,"argument":null,"params":null})"},
        {"exit", R"({"test":0,"exit":true,"name":"","number":null,"argument":null,"params":null})"},
        {"'screen2=Документ.htm' --screens 3",
         R"({"test":1,"name":"screen2","number":2,"argument":"d:\\run\\Документ.htm","params":null})"},
    };
    for (const auto& c : cases) {
        std::string out = RunTool(c.args);
        std::erase_if(out, [](char ch) { return ch == ' ' || ch == '\n'; });
        EXPECT_EQ(out, c.json) << c.args;
    }
}

TEST(CommandTool, RejectsABadScreenCount) {
    EXPECT_NE(RunTool("1 --screens x").find("--screens"), std::string::npos);
}

}  // namespace
