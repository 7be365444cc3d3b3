#include <cstdio>

#include "platform/cp1251.h"
#include "resources/read_bin.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

TReadBin OpenContainer(const std::string& file) {
    TReadBin container;
    try {
        container.Open(Cp1251ToUtf8(file));
    } catch (const EContainerError& e) {
        throw EUsage(std::string("malformed container: ") + e.what());
    }
    return container;
}

}  // namespace

int ContainerCommand(const TArgs& args) {
    const std::string& action = args.At(0, "action (list or cat)");
    if (action == "list") {
        args.ExpectCount(2);
        const TReadBin container = OpenContainer(args.At(1, "FILE"));
        std::string out;
        for (const auto& entry : container.Directory()) {
            out += Cp1251ToUtf8(entry.name) + "\t" + std::to_string(entry.offset) + "\t" + std::to_string(entry.size) + "\n";
        }
        WriteBytes(out);
        return kOk;
    }
    if (action == "cat") {
        args.ExpectCount(3);
        const TReadBin container = OpenContainer(args.At(1, "FILE"));
        std::string bytes;
        if (container.ReadBuffer(args.At(2, "NAME"), bytes) < 0) {
            std::fprintf(stderr, "vitrina-disc container: no entry \"%s\"\n", Cp1251ToUtf8(args.positional[2]).c_str());
            return kAbsent;
        }
        WriteBytes(bytes);
        return kOk;
    }
    throw EUsage("unknown action \"" + Cp1251ToUtf8(action) + "\"");
}

}  // namespace vitrina::disc
