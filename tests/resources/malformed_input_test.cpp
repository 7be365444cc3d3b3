// Damaged discs: every mutation of a valid container, store or description must end in a clear
// outcome (rejected, absent, or read), never in a crash or a read out of bounds. Run these under
// AddressSanitizer to see the difference.
#include <gtest/gtest.h>

#include <random>

#include "resources/container_writer.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "resources/read_bin.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "resources/screen_model.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

std::string Mutate(std::string bytes, std::mt19937& random) {
    const int edits = 1 + random() % 4;
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        switch (random() % 3) {
            case 0: bytes[random() % bytes.size()] = static_cast<char>(random()); break;
            case 1: bytes.resize(random() % bytes.size()); break;
            default: bytes.insert(random() % bytes.size(), 1, static_cast<char>(random())); break;
        }
    }
    return bytes;
}

TEST(MalformedInput, MutatedStores) {
    TTempFolder temp;
    const std::string good = WriteStore({{"html\\a.htm", std::string(700, 'a')},
                                         {"html\\sub\\b.htm", "b"},
                                         {"c.idx", std::string(300, 'c')}},
                                        {.compressFiles = true, .compressTable = false});
    std::mt19937 random(1251);
    for (int round = 0; round < 3000; ++round) {
        TStore store;
        if (!store.Open(temp.Write("s.dat", Mutate(good, random)))) continue;
        for (const auto& path : store.ListFiles()) {
            std::string bytes;
            store.ReadEntry(store.FindEntry(path), bytes);
        }
        std::string bytes;
        store.ReadEntry(store.FindEntry("html\\a.htm"), bytes);
    }
}

TEST(MalformedInput, MutatedContainers) {
    TTempFolder temp;
    const std::string good = WriteContainer({{"Struct.cfs", "abcdef"}, {"a.bmp", "BM"}});
    std::mt19937 random(866);
    for (int round = 0; round < 3000; ++round) {
        TReadBin container;
        try {
            container.Open(temp.Write("v.dhl", Mutate(good, random)));
        } catch (const EContainerError&) {
            continue;
        }
        std::string bytes;
        for (const auto& entry : container.Directory()) container.ReadBuffer(entry.name, bytes);
    }
}

TEST(MalformedInput, RandomDescriptions) {
    const std::string good = ScrambleDescription(
        "title=x\r\nvertexmain=[0,0; 5,5\r\nminimize\r\nvx=1\r\nbutton 2\r\nvx=1;vy=2;fn1=a\r\n"
        "_popup 1\r\nxfon=1 fnbtnup=[a;\r\n_screen=s.bmp ; 3\r\n_text 1\r\nvx=1\r\ncolor=1,2");
    std::mt19937 random(437);
    for (int round = 0; round < 3000; ++round) {
        const auto lines = DecodeDescription(Mutate(good, random), true);
        TScreenModel model("d:\\");
        model.ReadHeader(lines);
        model.ReadSections(lines);
        EXPECT_LE(model.ScreenCount(), kMaxScreens);
    }
}

}  // namespace
}  // namespace vitrina
