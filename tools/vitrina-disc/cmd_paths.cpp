#include "json_writer.h"
#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/windows_path.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

std::string ProgramFolder(const TArgs& args) {
    std::string folder = args.Option("--program-folder", "d:\\run\\");
    if (folder.empty()) throw EUsage("empty program folder");
    return folder;
}

}  // namespace

int ResolveCommand(const TArgs& args) {
    args.ExpectCount(1);
    WriteBytes(Cp1251ToUtf8(ResolvePath(args.At(0, "VALUE"), ProgramFolder(args))) + "\n");
    return kOk;
}

int JoinCommand(const TArgs& args) {
    args.ExpectCount(2);
    WriteBytes(Cp1251ToUtf8(JoinPath(args.At(0, "BASE"), args.At(1, "RELATIVE"))) + "\n");
    return kOk;
}

int CommandPartsCommand(const TArgs& args) {
    args.ExpectCount(1);
    const std::string& text = args.At(0, "TEXT");
    const std::string folder = ProgramFolder(args);
    TJsonWriter json;
    json.BeginObject();
    json.Key("name");
    json.String(CommandName(text));
    json.Key("argument");
    json.String(CommandArgument(text, folder));
    json.Key("params");
    json.String(CommandParams(text, folder));
    json.EndObject();
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace vitrina::disc
