#pragma once
// The program's own options, taken from anywhere on its command line. What remains is the disc's
// command line (a document, "/h", "/t"), which the mode selection reads.
#include <string>
#include <vector>

namespace vitrina {

struct TProgramOptions {
    std::string disc;                    // host path; empty: found the usual way
    std::string screenshot;              // host path; empty: a normal start
    std::vector<std::string> commands;   // 1251, run after start-up in this order
    int settleMs = 300;                  // before the screenshot
    double scale = 0;                    // --scale: the window's factor; 0: what the system says
    bool firstPaintExit = false;         // for the start-up benchmark
    std::string printPdf;                // 1251: --print-pdf's document; empty: a normal start
    std::string printPdfOut;             // host path of its PDF
    bool help = false;                   // --help: the usage on stdout, nothing else
    bool version = false;                // --version
    std::vector<std::string> arguments;  // 1251, the disc's command line
    std::string error;                   // one line for the terminal; then nothing else is set

    bool operator==(const TProgramOptions&) const = default;
};

// The usage line both the help text and the refusal of a bad command line show.
extern const char* const kProgramUsage;
// --help: the usage and what each option does.
std::string ProgramHelp();

// arguments: the command line after the program's name, as the system hands it in (UTF-8).
TProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace vitrina
