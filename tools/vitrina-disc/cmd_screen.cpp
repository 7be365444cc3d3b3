#include <cstdio>

#include "json_writer.h"
#include "record_json.h"
#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/screen_model.h"
#include "resources/struct_loader.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

template <class T>
const std::vector<T>& OfScreen(const std::vector<std::vector<T>>& perScreen, int screen) {
    static const std::vector<T> none;
    return screen < static_cast<int>(perScreen.size()) ? perScreen[screen] : none;
}

}  // namespace

int ScreenCommand(const TArgs& args) {
    args.ExpectCount(1);
    const TDriveMap drives(Cp1251ToUtf8(args.At(0, "FOLDER")), TUserFolders::FromEnvironment().data);
    TReadBin container;
    TScreenModel model(drives.ProgramFolder());
    TDynamicStringArray lines;
    std::string error;
    switch (ReadStructLines(drives, container, lines, &error)) {
        case TStructLoad::Loaded: break;
        case TStructLoad::NoDescription: std::fprintf(stderr, "vitrina-disc screen: %s\n", error.c_str()); return kAbsent;
        default: throw EUsage(error);
    }
    model.ReadHeader(lines);
    model.ReadSections(lines);

    TJsonWriter json;
    json.BeginObject();
    json.Key("title"), json.String(model.Title);
    json.Key("codec"), json.String(model.Codec);
    json.Key("rolic"), json.String(model.Rolic);
    json.Key("background"), json.String(model.Background);
    json.Key("helpwin"), json.String(model.HelpWin);
    json.Key("icon"), json.String(model.Icon);
    json.Key("bgsounddef"), json.StringArray(model.BackgroundSongs);
    json.Key("vertexmain");
    json.BeginArray();
    for (const auto& point : model.VertexMain) {
        json.BeginArray();
        json.Number(point.x);
        json.Number(point.y);
        json.EndArray();
    }
    json.EndArray();
    json.Key("minimize"), WriteRecord(json, model.MinimizeButton);
    json.Key("close"), WriteRecord(json, model.CloseButton);
    json.Key("screens");
    json.BeginArray();
    for (int screen = 0; screen < model.ScreenCount(); ++screen) {
        json.BeginObject();
        json.Key("picture");
        json.String(screen < static_cast<int>(model.ScreenPictures.size()) ? model.ScreenPictures[screen] : "");
        WriteRecords(json, "buttons", OfScreen(model.ScreenButtons, screen));
        WriteRecords(json, "switches", OfScreen(model.ScreenSwitches, screen));
        WriteRecords(json, "groups", OfScreen(model.ScreenGroups, screen));
        WriteRecords(json, "popups", OfScreen(model.ScreenPopups, screen));
        json.EndObject();
    }
    json.EndArray();
    WriteRecords(json, "html", model.HtmlAreas);
    WriteRecords(json, "findtxt", model.FindAreas);
    WriteRecords(json, "path", model.PathAreas);
    WriteRecords(json, "clip", model.ClipAreas);
    WriteRecords(json, "text", model.TextAreas);
    WriteRecords(json, "image", model.ImageAreas);
    json.EndObject();
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace vitrina::disc
