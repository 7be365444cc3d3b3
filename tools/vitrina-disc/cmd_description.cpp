#include <cstdio>

#include "json_writer.h"
#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "resources/read_bin.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

int PrintLines(const std::string& bytes, bool keepCase) {
    TJsonWriter json;
    json.StringArray(DecodeDescription(bytes, !keepCase));
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace

int UnscrambleCommand(const TArgs& args) {
    args.ExpectCount(0);
    return PrintLines(ReadStandardInput(), args.Flag("--keep-case"));
}

int ScrambleCommand(const TArgs& args) {
    args.ExpectCount(0);
    WriteBytes(ScrambleDescription(Utf8ToCp1251(ReadStandardInput())));
    return kOk;
}

int DescriptionCommand(const TArgs& args) {
    args.ExpectCount(2);
    TReadBin container;
    try {
        container.Open(Cp1251ToUtf8(args.At(0, "FILE")));
    } catch (const EContainerError& e) {
        throw EUsage(std::string("malformed container: ") + e.what());
    }
    std::string bytes;
    if (container.ReadBuffer(args.At(1, "NAME"), bytes) < 0) {
        std::fprintf(stderr, "vitrina-disc description: no entry \"%s\"\n", Cp1251ToUtf8(args.positional[1]).c_str());
        return kAbsent;
    }
    return PrintLines(bytes, args.Flag("--keep-case"));
}

}  // namespace vitrina::disc
