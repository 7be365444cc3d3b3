#pragma once
// A small disc written by the test: pictures of plain colours, a description in 1251, and a
// fresh VITRINA_HOME, so every window test starts from a clean user.
#include <QBuffer>
#include <QImage>
#include <QProcessEnvironment>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/user_folders.h"
#include "resources/drive_map.h"
#include "resources/container_writer.h"
#include "resources/description_scrambler.h"
#include "support/image_bytes.h"
#include "support/media_files.h"
#include "support/temp_folder.h"

namespace vitrina::test {

// A WAV of silence, short enough for tests that play it to the end.
inline std::string Wav(int milliseconds) { return WavBytes(milliseconds); }

// The environment of a program a test starts: its own user state, offscreen.
inline QProcessEnvironment ProgramEnvironment(const std::filesystem::path& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VITRINA_HOME", QString::fromStdString(home.string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

struct TTestDisc {
    TTempFolder folder;
    std::filesystem::path disc;
    std::filesystem::path home;

    // structText is UTF-8 here and 1251 in the container; lines end with CR LF there.
    explicit TTestDisc(const std::string& structText, std::vector<TContainerEntry> pictures = {}) {
        disc = folder.Path() / "disc";
        home = folder.Path() / "home";
        std::filesystem::create_directories(disc);
        std::string text;
        for (char c : Utf8ToCp1251(structText)) {
            if (c == '\n') text += "\r\n";
            else text += c;
        }
        pictures.push_back({"Struct.cfs", ScrambleDescription(text)});
        folder.Write("disc/Vuv.dhl", WriteContainer(pictures));
        ::setenv("VITRINA_HOME", home.c_str(), 1);
    }
    TUserFolders Folders() const { return TUserFolders::FromEnvironment(); }
};

}  // namespace vitrina::test
