#include <charconv>

#include "commands/command_recognition.h"
#include "json_writer.h"
#include "subcommands.h"

namespace vitrina::disc {

// Which test of the vocabulary takes a command, and what it reads from it.
int CommandRecognitionCommand(const TArgs& args) {
    args.ExpectCount(1);
    const std::string& text = args.At(0, "TEXT");
    int screens = -1;  // no count given: any positive number names a screen
    if (const std::string value = args.Option("--screens", ""); !value.empty()) {
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), screens);
        if (ec != std::errc() || end != value.data() + value.size() || screens < 0)
            throw EUsage("--screens needs a count of screens");
    }
    const TRecognisedCommand r = RecogniseCommand(text, screens, "d:\\run\\");
    TJsonWriter json;
    json.BeginObject();
    json.Key("test");
    json.Number(r.test);
    if (r.exit) {
        json.Key("exit");
        json.Bool(true);
    }
    json.Key("name");
    json.String(r.name);
    json.Key("number");
    if (r.number) json.Number(*r.number);
    else json.Null();
    json.Key("argument");
    if (r.argument) json.String(*r.argument);
    else json.Null();
    json.Key("params");
    if (r.params) json.String(*r.params);
    else json.Null();
    json.EndObject();
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace vitrina::disc
