#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "archive/archive_page_files.h"
#include "archive/rar_pass.h"
#include "json_writer.h"
#include "platform/cp1251.h"
#include "subcommands.h"

namespace vitrina::disc {

namespace {

// Runs the pass; messages go to stderr in UTF-8, one a line. Exit 2 when one was shown.
int RunPass(const TRarPass& pass, const std::function<void(const TRarEntry&)>& onEntry) {
    const bool clean = RunRarPass(pass, onEntry, [](const std::string& message) {
        std::fprintf(stderr, "%s\n", Cp1251ToUtf8(message).c_str());
    });
    return clean ? kOk : kBadInput;
}

TRarPass PassOver(const std::string& archive) {
    TRarPass pass;
    pass.archive = Cp1251ToUtf8(archive);
    pass.archiveName = archive;
    return pass;
}

}  // namespace

int ArchiveCommand(const TArgs& args) {
    const std::string& action = args.At(0, "action (list or extract)");
    if (action == "list") {
        args.ExpectCount(2);
        TJsonWriter json;
        json.BeginArray();
        const int code = RunPass(PassOver(args.At(1, "ARCHIVE")), [&](const TRarEntry& entry) {
            json.BeginObject();
            json.Key("name"), json.String(entry.name);
            json.Key("size"), json.Number(entry.size);
            json.Key("time"), json.Number(entry.time);
            json.Key("dir"), json.Bool(entry.directory);
            json.EndObject();
        });
        json.EndArray();
        WriteBytes(json.Text());
        return code;
    }
    if (action == "extract") {
        args.ExpectCount(3);
        TRarPass pass = PassOver(args.At(1, "ARCHIVE"));
        pass.extract = true;
        pass.destination = Cp1251ToUtf8(args.At(2, "DEST"));
        return RunPass(pass, [](const TRarEntry&) {});
    }
    if (action == "pages") {
        args.ExpectCount(3);
        // The archive is named the way the program names a host file.
        std::string name = "z:" + Utf8ToCp1251(std::filesystem::absolute(Cp1251ToUtf8(args.At(1, "ARCHIVE"))).lexically_normal().string());
        std::replace(name.begin(), name.end(), '/', '\\');
        TRarPass pass = PassOver(args.At(1, "ARCHIVE"));
        pass.archiveName = name;
        const std::string now = args.Option("--now", "");
        std::uint32_t stamp = DosDateTime(QDateTime::currentDateTime());
        if (!now.empty()) {
            const auto [end, error] = std::from_chars(now.data(), now.data() + now.size(), stamp);
            if (error != std::errc() || end != now.data() + now.size()) throw EUsage("--now needs a DOS date-time number");
        }
        const bool clean = WriteArchivePages(pass, stamp, QLocale::system(), Cp1251ToUtf8(args.At(2, "OUT")), [](const std::string& m) {
            std::fprintf(stderr, "%s\n", Cp1251ToUtf8(m).c_str());
        });
        WriteBytes(Cp1251ToUtf8(FramesetPageName(name)) + "\n");
        return clean ? kOk : kBadInput;
    }
    throw EUsage("unknown action \"" + Cp1251ToUtf8(action) + "\"");
}

}  // namespace vitrina::disc
