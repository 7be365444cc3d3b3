#pragma once
// vitrina-disc: one function per subcommand, each in its own file, registered in main.cpp.
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vitrina::disc {

enum ExitCode { kOk = 0, kAbsent = 1, kBadInput = 2 };

// Bad usage or malformed input: main prints the message on one line and exits 2.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Arguments converted to 1251. Options may stand anywhere among the positional arguments.
struct TArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--prefix" -> value
    std::set<std::string> flags;                 // "--keep-case"

    // The positional argument at i, or EUsage naming what is missing.
    const std::string& At(std::size_t i, const char* what) const;
    std::string Option(const std::string& name, const std::string& fallback) const;
    bool Flag(const std::string& name) const { return flags.count(name) > 0; }
    void ExpectCount(std::size_t count) const;
};

struct TSubcommand {
    const char* name;
    const char* usage;
    std::set<std::string> valueOptions;  // options that take a value
    std::set<std::string> flags;         // options without one
    int (*run)(const TArgs&);
};

// Writes bytes to standard output unchanged.
void WriteBytes(const std::string& bytes);
// Reads all of standard input.
std::string ReadStandardInput();

int ContainerCommand(const TArgs& args);
int UnscrambleCommand(const TArgs& args);
int ScrambleCommand(const TArgs& args);
int DescriptionCommand(const TArgs& args);
int StoreCommand(const TArgs& args);
int ResolveCommand(const TArgs& args);
int JoinCommand(const TArgs& args);
int CommandPartsCommand(const TArgs& args);
int CommandRecognitionCommand(const TArgs& args);
int ScreenCommand(const TArgs& args);
int BuildCommand(const TArgs& args);
int ExtractCommand(const TArgs& args);
int NewCommand(const TArgs& args);
int IndexCommand(const TArgs& args);
int TreeCommand(const TArgs& args);
int ArchiveCommand(const TArgs& args);
int SearchCommand(const TArgs& args);
int FindCommand(const TArgs& args);
int ThesaurusCommand(const TArgs& args);
int DialogsCommand(const TArgs& args);
int AboutCommand(const TArgs& args);

}  // namespace vitrina::disc
