#include "app/program_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vitrina {
namespace {

TProgramOptions Arguments(std::vector<std::string> arguments) {
    TProgramOptions o;
    o.arguments = std::move(arguments);
    return o;
}

TProgramOptions Error(std::string error) {
    TProgramOptions o;
    o.error = std::move(error);
    return o;
}

TEST(ProgramOptions, OwnOptionsAnywhereAndTheDiscCommandLineUntouched) {
    TProgramOptions full;
    full.disc = "/discs/Книга";
    full.screenshot = "out.png";
    full.commands = {"screen2=a.htm", "\xEF\xEE\xE8\xF1\xEA"};  // "поиск"
    full.settleMs = 50;
    full.firstPaintExit = true;
    full.arguments = {"d:\\a.htm", "/h"};
    TProgramOptions settleZero;
    settleZero.settleMs = 0;
    TProgramOptions settleMost;
    settleMost.settleMs = 600000;
    TProgramOptions help;
    help.help = true;
    TProgramOptions version;
    version.version = true;
    TProgramOptions scaleOne;
    scaleOne.scale = 1;
    TProgramOptions scaleOneAndAHalf = Arguments({"/t"});
    scaleOneAndAHalf.scale = 1.5;
    TProgramOptions scaleFour;
    scaleFour.scale = 4;
    TProgramOptions printPdf;
    printPdf.disc = "/discs/Книга";
    printPdf.printPdf = "html\\\xD1\xF2\xE0\xF2\xFC\xFF.htm";  // "html\Статья.htm"
    printPdf.printPdfOut = "/tmp/Статья.pdf";
    TProgramOptions lastDisc = Arguments({"/t"});
    lastDisc.disc = "b";

    const struct {
        std::vector<std::string> line;
        TProgramOptions expected;
    } cases[] = {
        {{}, {}},
        {{"--disc", "/discs/Книга", "--screenshot", "out.png", "--command", "screen2=a.htm", "--command", "поиск",
          "--settle-ms", "50", "--first-paint-exit", "d:\\a.htm", "/h"},
         full},
        {{"d:\\a.htm", "--command", "screen2=a.htm", "/h", "--settle-ms", "50", "--disc", "/discs/Книга",
          "--first-paint-exit", "--screenshot", "out.png", "--command", "поиск"},
         full},
        {{"--disc=/discs/Книга", "--screenshot=out.png", "--command=screen2=a.htm", "--command=поиск", "--settle-ms=50",
          "--first-paint-exit", "d:\\a.htm", "/h"},
         full},
        // The disc's own marks are not options of the program.
        {{"/t"}, Arguments({"/t"})},
        {{"/h"}, Arguments({"/h"})},
        {{"Статья.htm", "/t"}, Arguments({"\xD1\xF2\xE0\xF2\xFC\xFF.htm", "/t"})},
        {{"--disc", "a", "--disc", "b", "/t"}, lastDisc},
        {{"--", "--disc", "a"}, Arguments({"--disc", "a"})},
        {{"--settle-ms", "0"}, settleZero},
        {{"--settle-ms", "600000"}, settleMost},
        {{"--scale", "1"}, scaleOne},
        {{"/t", "--scale=1.5"}, scaleOneAndAHalf},
        {{"--scale", "4"}, scaleFour},
        // Help and version leave the rest of the line unread.
        {{"--help"}, help},
        {{"a.htm", "--disc", "x", "--help", "--version"}, help},
        {{"--version", "/t"}, version},
        // Bad command lines: one line for the terminal.
        {{"--settle-ms", "600001"}, Error("--settle-ms needs a number of milliseconds")},
        {{"--settle-ms", "-1"}, Error("--settle-ms needs a number of milliseconds")},
        {{"--settle-ms", "5s"}, Error("--settle-ms needs a number of milliseconds")},
        {{"--settle-ms", ""}, Error("--settle-ms needs a number of milliseconds")},
        {{"--settle-ms", "99999999999999999999"}, Error("--settle-ms needs a number of milliseconds")},
        {{"--scale", "0.99"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", "4.01"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", "-2"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", "1,5"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", "2x"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", "nan"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", "inf"}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale", ""}, Error("--scale needs a factor from 1 to 4")},
        {{"--scale"}, Error("--scale needs a factor from 1 to 4")},
        {{"a.htm", "--disc"}, Error("--disc needs a value")},
        {{"--screenshot"}, Error("--screenshot needs a value")},
        {{"--command", "x", "--command"}, Error("--command needs a value")},
        {{"--settle-ms"}, Error("--settle-ms needs a number of milliseconds")},
        // The document and the PDF, from anywhere on the line, with the disc.
        {{"--print-pdf", "html\\Статья.htm", "/tmp/Статья.pdf", "--disc", "/discs/Книга"}, printPdf},
        {{"/tmp/Статья.pdf", "--disc=/discs/Книга", "--print-pdf=html\\Статья.htm"}, printPdf},
        {{"--print-pdf", "a.htm"}, Error("--print-pdf needs a document and the PDF file to write")},
        {{"--print-pdf", "a.htm", "a.pdf", "b.pdf"}, Error("--print-pdf needs a document and the PDF file to write")},
        {{"--print-pdf"}, Error("--print-pdf needs a document and the PDF file to write")},
    };
    for (const auto& c : cases) {
        const TProgramOptions got = ParseProgramOptions(c.line);
        std::string line;
        for (const auto& a : c.line) line += a + " ";
        EXPECT_EQ(got, c.expected) << line << "-> error: " << got.error;
    }
}

TEST(ProgramOptions, UnknownOptionsAreRefusedInOneLine) {
    for (const std::vector<std::string>& line : {std::vector<std::string>{"--bogus"}, {"a.htm", "-x"}, {"--first-paint-exit=1"}}) {
        const TProgramOptions got = ParseProgramOptions(line);
        EXPECT_FALSE(got.error.empty()) << line.back();
        EXPECT_EQ(got.error.find('\n'), std::string::npos) << got.error;
        EXPECT_TRUE(got.arguments.empty()) << line.back();
    }
}

TEST(ProgramOptions, TheHelpAndTheUsageNameEveryOption) {
    const std::string help = ProgramHelp();
    for (const char* option : {"--disc FOLDER", "--command TEXT", "--screenshot OUT.png", "--settle-ms N",
                               "--scale FACTOR", "--print-pdf DOCUMENT OUT.pdf"}) {
        EXPECT_NE(help.find(std::string("\n  ") + option), std::string::npos) << option;
        EXPECT_NE(std::string(kProgramUsage).find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace vitrina
