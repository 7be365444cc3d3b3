// vitrina-disc: inspect, extract and build discs.
#include <QCommandLineParser>

#include <cstdio>
#include <iostream>
#include <iterator>

#include "platform/command_line_message.h"
#include "platform/cp1251.h"
#include "subcommands.h"

namespace vitrina::disc {

const std::string& TArgs::At(std::size_t i, const char* what) const {
    if (i >= positional.size()) throw EUsage(std::string("missing ") + what);
    return positional[i];
}

std::string TArgs::Option(const std::string& name, const std::string& fallback) const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

void TArgs::ExpectCount(std::size_t count) const {
    if (positional.size() > count) throw EUsage("unexpected argument: " + Cp1251ToUtf8(positional[count]));
}

void WriteBytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::string ReadStandardInput() {
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) bytes.append(buffer, n);
    return bytes;
}

namespace {

const std::vector<TSubcommand>& Subcommands() {
    static const std::vector<TSubcommand> table = {
        {"container", "container list FILE | container cat FILE NAME", {}, {}, ContainerCommand},
        {"unscramble", "unscramble [--keep-case] < BYTES", {}, {"--keep-case"}, UnscrambleCommand},
        {"scramble", "scramble < TEXT", {}, {}, ScrambleCommand},
        {"description", "description FILE NAME [--keep-case]", {}, {"--keep-case"}, DescriptionCommand},
        {"store", "store list FILE | store cat FILE PATH [--prefix PREFIX]", {"--prefix"}, {}, StoreCommand},
        {"resolve", "resolve [--program-folder P] VALUE", {"--program-folder"}, {}, ResolveCommand},
        {"join", "join BASE RELATIVE", {}, {}, JoinCommand},
        {"command", "command TEXT [--screens N]", {"--screens"}, {}, CommandRecognitionCommand},
        {"command-parts", "command-parts TEXT [--program-folder P]", {"--program-folder"}, {}, CommandPartsCommand},
        {"screen", "screen FOLDER", {}, {}, ScreenCommand},
        {"tree", "tree DISC NAME", {}, {}, TreeCommand},
        {"build", "build SOURCE OUT", {}, {}, BuildCommand},
        {"extract", "extract FOLDER OUT", {}, {}, ExtractCommand},
        {"new", "new SOURCE [--from FOLDER] [--title TITLE] [--skin DISC]", {"--from", "--title", "--skin"}, {}, NewCommand},
        {"index", "index DOCUMENTS OUT", {}, {}, IndexCommand},
        {"search", "search DISC QUERY [--match-case] [--scan] [--all] (--match-case and --all apply to the scan)",
         {}, {"--match-case", "--scan", "--all"}, SearchCommand},
        {"find", "find DISC QUERY [--limit N] [--cache DIR] (ranked, by word forms)", {"--limit", "--cache"}, {},
         FindCommand},
        {"thesaurus", "thesaurus DISC [WORD]", {}, {}, ThesaurusCommand},
        {"dialogs", "dialogs DISC", {}, {}, DialogsCommand},
        {"about", "about DISC", {}, {}, AboutCommand},
        {"archive", "archive list ARCHIVE | archive extract ARCHIVE DEST | archive pages ARCHIVE OUT [--now N]",
         {"--now"}, {}, ArchiveCommand},
    };
    return table;
}

void PrintUsage(std::FILE* out) {
    std::fputs("usage: vitrina-disc COMMAND ...\n", out);
    for (const auto& sub : Subcommands()) std::fprintf(out, "  vitrina-disc %s\n", sub.usage);
}

TArgs ParseArgs(int argc, char** argv, const TSubcommand& sub) {
    QCommandLineParser parser;
    for (const std::string& name : sub.valueOptions)
        parser.addOption(QCommandLineOption(QString::fromStdString(name.substr(2)), {}, QStringLiteral("VALUE")));
    for (const std::string& name : sub.flags) parser.addOption(QCommandLineOption(QString::fromStdString(name.substr(2))));
    // The parser takes the first entry for the program's name.
    QStringList line{QString::fromUtf8(argv[0])};
    for (int i = 2; i < argc; ++i) line << QString::fromUtf8(argv[i]);
    if (!parser.parse(line)) throw EUsage(vitrina::CommandLineMessage(parser, line));
    TArgs args;
    for (const std::string& name : sub.valueOptions)
        if (const QString option = QString::fromStdString(name.substr(2)); parser.isSet(option))
            args.options[name] = Utf8ToCp1251(parser.value(option).toStdString());
    for (const std::string& name : sub.flags)
        if (parser.isSet(QString::fromStdString(name.substr(2)))) args.flags.insert(name);
    for (const QString& a : parser.positionalArguments()) args.positional.push_back(Utf8ToCp1251(a.toStdString()));
    return args;
}

}  // namespace
}  // namespace vitrina::disc

int main(int argc, char** argv) {
    using namespace vitrina::disc;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? kBadInput : kOk;
    }
    if (std::string(argv[1]) == "--version") {
        std::puts("vitrina-disc " VITRINA_VERSION);
        return kOk;
    }
    for (const auto& sub : Subcommands()) {
        if (sub.name != std::string(argv[1])) continue;
        try {
            return sub.run(ParseArgs(argc, argv, sub));
        } catch (const EUsage& e) {
            std::fprintf(stderr, "vitrina-disc %s: %s (usage: vitrina-disc %s)\n", sub.name, e.what(), sub.usage);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vitrina-disc %s: %s\n", sub.name, e.what());
        }
        return kBadInput;
    }
    std::fprintf(stderr, "vitrina-disc: unknown command \"%s\" (try vitrina-disc --help)\n", argv[1]);
    return kBadInput;
}
