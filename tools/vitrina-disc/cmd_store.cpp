#include <cstdio>

#include "platform/cp1251.h"
#include "resources/store.h"
#include "subcommands.h"

namespace vitrina::disc {

int StoreCommand(const TArgs& args) {
    const std::string& action = args.At(0, "action (list or cat)");
    if (action != "list" && action != "cat") throw EUsage("unknown action \"" + Cp1251ToUtf8(action) + "\"");
    args.ExpectCount(action == "list" ? 2 : 3);
    TStore store;
    std::string error;
    if (!store.Open(Cp1251ToUtf8(args.At(1, "FILE")), &error)) throw EUsage("malformed store: " + error);

    if (action == "list") {
        std::string out;
        for (const auto& path : store.ListFiles()) out += Cp1251ToUtf8(path) + "\n";
        WriteBytes(out);
        return kOk;
    }
    const std::string& path = args.At(2, "PATH");
    if (!store.SetPrefix(args.Option("--prefix", ""))) throw EUsage("prefix longer than 413 bytes");
    const int index = store.FindEntry(path);
    // Streamed in pieces, so that an entry unpacking to gigabytes needs no more memory than a page.
    // A damaged entry shows its damage only as it inflates: what came before it is written.
    const bool copied = index >= 0 && store.CopyEntry(index, [](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
    std::fflush(stdout);
    if (!copied) {
        std::fprintf(stderr, "vitrina-disc store: %s \"%s\"\n", index < 0 ? "no file" : "damaged entry",
                     Cp1251ToUtf8(path).c_str());
        return kAbsent;
    }
    return kOk;
}

}  // namespace vitrina::disc
