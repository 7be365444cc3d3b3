// dialogs and about: the skinned dialogs of a disc's "Dialog.cfs" and its about window of
// "About.cfs", as the program reads them.
#include <algorithm>
#include <cstdio>

#include "json_writer.h"
#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "record_json.h"
#include "resources/about_description.h"
#include "resources/description.h"
#include "resources/dialog_description.h"
#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/struct_loader.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

// The entry of the disc's container; false (said on stderr) when the container lacks it.
bool ReadDiscEntry(const TDriveMap& drives, const char* command, const char* name, std::string& bytes) {
    TReadBin container;
    std::string error;
    if (OpenDiscContainer(drives, container, &error) != TStructLoad::Loaded) throw EUsage(error);
    if (container.ReadStream(name, bytes)) return true;
    std::fprintf(stderr, "vitrina-disc %s: no %s\n", command, name);
    return false;
}

}  // namespace

int DialogsCommand(const TArgs& args) {
    args.ExpectCount(1);
    const TDriveMap drives(Cp1251ToUtf8(args.At(0, "DISC")), TUserFolders::FromEnvironment().data);
    std::string bytes;
    if (!ReadDiscEntry(drives, "dialogs", "Dialog.cfs", bytes)) return kAbsent;
    TDialogDescription dialogs(drives.ProgramFolder());
    try {
        dialogs.Read(DecodeDescription(bytes, true));
    } catch (const std::exception& e) {
        throw EUsage(std::string("malformed Dialog.cfs: ") + e.what());
    }
    const std::size_t count = std::max({dialogs.DialogPictures.size(), dialogs.DialogTexts.size(),
                                        dialogs.DialogButtons.size(), dialogs.DialogSwitches.size()});
    TJsonWriter json;
    json.BeginArray();
    for (std::size_t i = 0; i < count; ++i) {
        const int index = static_cast<int>(i);
        json.BeginObject();
        json.Key("picture"), json.String(dialogs.Picture(index));
        json.Key("text");
        if (i < dialogs.DialogTexts.size()) WriteRecord(json, dialogs.DialogTexts[i]);
        else json.Null();
        WriteRecords(json, "buttons", dialogs.Buttons(index));
        WriteRecords(json, "switches", i < dialogs.DialogSwitches.size() ? dialogs.DialogSwitches[i]
                                                                         : TDynamicSwthGrpArray());
        json.EndObject();
    }
    json.EndArray();
    WriteBytes(json.Text());
    return kOk;
}

int AboutCommand(const TArgs& args) {
    args.ExpectCount(1);
    const TDriveMap drives(Cp1251ToUtf8(args.At(0, "DISC")), TUserFolders::FromEnvironment().data);
    std::string bytes;
    if (!ReadDiscEntry(drives, "about", "About.cfs", bytes)) return kAbsent;
    TAboutDescription about(drives.ProgramFolder());
    try {
        about.Read(DecodeDescription(bytes, true));
    } catch (const std::exception& e) {
        throw EUsage(std::string("malformed About.cfs: ") + e.what());
    }
    TJsonWriter json;
    json.BeginObject();
    json.Key("picture"), json.String(about.Picture);
    json.Key("vertex");
    json.BeginArray();
    for (const TPoint& point : about.Vertex) {
        json.BeginArray();
        json.Number(point.x);
        json.Number(point.y);
        json.EndArray();
    }
    json.EndArray();
    // Each record under the keys of the description that fill it.
    json.Key("texts");
    json.BeginArray();
    for (const RText& t : about.Texts) {
        json.BeginObject();
        json.Key("vx"), json.Number(t.vx), json.Key("vy"), json.Number(t.vy);
        json.Key("font"), json.String(t.font), json.Key("size"), json.Number(t.size);
        json.Key("style"), json.String(t.style), json.Key("color"), json.Number(t.color);
        json.Key("value"), json.String(t.value), json.Key("idenf"), json.String(t.ident);
        json.EndObject();
    }
    json.EndArray();
    json.Key("buttons");
    json.BeginArray();
    for (const RBtn& b : about.Buttons) {
        json.BeginObject();
        json.Key("vx"), json.Number(b.vx), json.Key("vy"), json.Number(b.vy);
        json.Key("fn1"), json.String(b.fn1), json.Key("fn2"), json.String(b.fn2);
        json.Key("hint"), json.String(b.hint), json.Key("wav"), json.String(b.wav);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace vitrina::disc
