#include "app/program_options.h"

#include <QCommandLineParser>

#include <charconv>

#include "platform/command_line_message.h"
#include "platform/cp1251.h"

namespace vitrina {

namespace {

constexpr int kMaxSettleMs = 600000;
// A skin drawn for 800x600 fills an 8K screen at 4. Below 1 it only shrinks, and the web
// engine refuses such factors and draws its documents unscaled.
constexpr double kMinScale = 1;
constexpr double kMaxScale = 4;
constexpr char kHelp[] =
    "Shows an electronic reference disc.\n"
    "\n"
    "  --disc FOLDER       the disc's folder (else $VITRINA_DISC, the current folder when it\n"
    "                      holds Vuv.dhl, or the program's own folder)\n"
    "  --command TEXT      a command of the disc's vocabulary, run after start-up (repeatable)\n"
    "  --screenshot OUT.png  run the commands, write the window's image and end\n"
    "  --settle-ms N       the pause before the screenshot (default 300)\n"
    "  --scale FACTOR      the window FACTOR times larger (1 to 4, such as 1.5 or 2), for a\n"
    "                      display whose scale the system does not report; wins over\n"
    "                      QT_SCALE_FACTOR; lowered to one at which the window fits the screen\n"
    "  --print-pdf DOCUMENT OUT.pdf  write the disc's document as it would be printed, and end\n"
    "  --help, --version   this text; the version\n"
    "  --                  the rest of the line is the disc's own: a document, \"/h\", \"/t\"\n";
constexpr char kSettleError[] = "--settle-ms needs a number of milliseconds";
constexpr char kPrintPdfError[] = "--print-pdf needs a document and the PDF file to write";
constexpr char kScaleError[] = "--scale needs a factor from 1 to 4";

std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace

const char* const kProgramUsage =
    "usage: vitrina [--disc FOLDER] [--command TEXT]... [--screenshot OUT.png] [--settle-ms N] "
    "[--scale FACTOR] [DOCUMENT [/h] | /t] | --print-pdf DOCUMENT OUT.pdf";

std::string ProgramHelp() { return std::string(kProgramUsage) + "\n\n" + kHelp; }

TProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    const QCommandLineOption disc("disc", {}, "FOLDER");
    const QCommandLineOption screenshot("screenshot", {}, "OUT.png");
    const QCommandLineOption command("command", {}, "TEXT");
    const QCommandLineOption settle("settle-ms", {}, "N");
    const QCommandLineOption scale("scale", {}, "FACTOR");
    const QCommandLineOption firstPaintExit("first-paint-exit");
    const QCommandLineOption printPdf("print-pdf", {}, "DOCUMENT");
    const QCommandLineOption help("help");
    const QCommandLineOption version("version");
    QCommandLineParser parser;
    parser.addOptions({disc, screenshot, command, settle, scale, firstPaintExit, printPdf, help, version});
    // The parser takes the first entry for the program's name.
    QStringList line{QStringLiteral("vitrina")};
    for (const std::string& a : arguments) line << QString::fromStdString(a);

    TProgramOptions options;
    if (!parser.parse(line)) {
        options.error = CommandLineMessage(parser, line);
        // Missing or malformed, the pause is described the same way.
        if (options.error == "--settle-ms needs a value") options.error = kSettleError;
        if (options.error == "--scale needs a value") options.error = kScaleError;
        if (options.error == "--print-pdf needs a value") options.error = kPrintPdfError;
        return options;
    }
    // Asked for help, the program does nothing else, whatever else the line holds.
    if (parser.isSet(help) || parser.isSet(version)) {
        options.help = parser.isSet(help);
        options.version = !options.help;
        return options;
    }
    if (parser.isSet(settle)) {
        const std::string value = ToUtf8(parser.value(settle));
        int ms = -1;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() || ms < 0 || ms > kMaxSettleMs) {
            options.error = kSettleError;
            return options;
        }
        options.settleMs = ms;
    }
    if (parser.isSet(scale)) {
        const std::string value = ToUtf8(parser.value(scale));
        double factor = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), factor);
        // Written so that "nan" fails it too.
        if (value.empty() || error != std::errc() || end != value.data() + value.size() || !(factor >= kMinScale) ||
            factor > kMaxScale) {
            options.error = kScaleError;
            return options;
        }
        options.scale = factor;
    }
    options.disc = ToUtf8(parser.value(disc));
    options.screenshot = ToUtf8(parser.value(screenshot));
    for (const QString& c : parser.values(command)) options.commands.push_back(Utf8ToCp1251(ToUtf8(c)));
    options.firstPaintExit = parser.isSet(firstPaintExit);
    if (parser.isSet(printPdf)) {
        // The document and the file to write, nothing else.
        const QStringList rest = parser.positionalArguments();
        if (rest.size() != 1 || parser.value(printPdf).isEmpty() || rest[0].isEmpty()) {
            TProgramOptions refused;
            refused.error = kPrintPdfError;
            return refused;
        }
        options.printPdf = Utf8ToCp1251(ToUtf8(parser.value(printPdf)));
        options.printPdfOut = ToUtf8(rest[0]);
        return options;
    }
    for (const QString& a : parser.positionalArguments()) options.arguments.push_back(Utf8ToCp1251(ToUtf8(a)));
    return options;
}

}  // namespace vitrina
