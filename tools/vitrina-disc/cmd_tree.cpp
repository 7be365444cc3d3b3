#include <cstdio>

#include "json_writer.h"
#include "panes/contents_tree_model.h"
#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/struct_loader.h"
#include "subcommands.h"

namespace vitrina::disc {

// The items the program builds from a contents tree entry, in file order.
int TreeCommand(const TArgs& args) {
    args.ExpectCount(2);
    const TDriveMap drives(Cp1251ToUtf8(args.At(0, "DISC")), TUserFolders::FromEnvironment().data);
    const std::string& entry = args.At(1, "NAME");
    TReadBin container;
    std::string error;
    if (OpenDiscContainer(drives, container, &error) != TStructLoad::Loaded) throw EUsage(error);
    const auto tree = TContentsTreeModel::FromContainer(container, entry);
    if (!tree) {
        std::fprintf(stderr, "vitrina-disc tree: no entry \"%s\"\n", Cp1251ToUtf8(entry).c_str());
        return kAbsent;
    }
    TJsonWriter json;
    json.BeginArray();
    for (const TTreeItem& item : tree->Items()) {
        json.BeginObject();
        json.Key("document"), json.String(item.document);
        json.Key("caption"), json.String(item.caption);
        json.Key("parent"), json.Number(item.parent);
        json.EndObject();
    }
    json.EndArray();
    WriteBytes(json.Text());
    return kOk;
}

}  // namespace vitrina::disc
