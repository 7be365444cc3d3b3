// dialogs: the skinned dialogs of a disc's "Dialog.cfs" as the program reads them.
#include <algorithm>
#include <cstdio>

#include "json_writer.h"
#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "record_json.h"
#include "resources/description.h"
#include "resources/dialog_description.h"
#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/struct_loader.h"
#include "subcommands.h"

namespace vitrina::disc {

int DialogsCommand(const TArgs& args) {
    args.ExpectCount(1);
    const TDriveMap drives(Cp1251ToUtf8(args.At(0, "DISC")), TUserFolders::FromEnvironment().data);
    TReadBin container;
    std::string error;
    if (OpenDiscContainer(drives, container, &error) != TStructLoad::Loaded) throw EUsage(error);
    std::string bytes;
    if (!container.ReadStream("Dialog.cfs", bytes)) {
        std::fprintf(stderr, "vitrina-disc dialogs: no Dialog.cfs\n");
        return kAbsent;
    }
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

}  // namespace vitrina::disc
