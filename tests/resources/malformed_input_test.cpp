// Damaged discs: every mutation of a valid container, store or description must end in a clear
// outcome (rejected with a reason, absent, or read consistently), never in a crash or a read out
// of bounds. The sanitizer build of the test command runs them under AddressSanitizer and UBSan.
#include <gtest/gtest.h>

#include <QByteArray>
#include <algorithm>
#include <random>

#include "platform/cp1251.h"
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

// Each round writes a file of its own: rewriting one file in place makes the file system flush it
// every time, which costs seconds over thousands of rounds.
std::filesystem::path RoundFile(const TTempFolder& temp, const char* name, int round, const std::string& bytes) {
    return temp.Write(std::to_string(round) + name, bytes);
}

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

// Every mutation either fails to open with a reason, or opens into a store whose every listed
// file is found and either reads to exactly its recorded size (through both ReadEntry overloads
// alike) or is refused as damaged, leaving the caller's buffer alone.
TEST(MalformedInput, MutatedStores) {
    TTempFolder temp;
    const std::string good = WriteStore({{"html\\a.htm", std::string(700, 'a')},
                                         {"html\\sub\\b.htm", "b"},
                                         {"c.idx", std::string(300, 'c')}},
                                        {.compressFiles = true, .compressTable = false});
    std::mt19937 random(1251);
    int rejected = 0, read = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(round);
        TStore store;
        std::string error;
        if (!store.Open(RoundFile(temp, ".dat", round, Mutate(good, random)), &error)) {
            EXPECT_FALSE(error.empty());
            EXPECT_FALSE(store.IsOpen());
            EXPECT_EQ(store.FindEntry("html\\a.htm"), -1);
            EXPECT_TRUE(store.ListFiles().empty());
            ++rejected;
            continue;
        }
        for (const auto& path : store.ListFiles()) {
            const int index = store.FindEntry(path);
            if (index < 0) continue;  // a same-named folder or file earlier in the table hides it
            const TStore::TEntry& entry = store.Entries()[index];
            EXPECT_EQ(entry.kind, TStore::kFile) << path;
            std::string bytes = "untouched";
            QByteArray qbytes = "untouched";
            const bool ok = store.ReadEntry(index, bytes);
            EXPECT_EQ(store.ReadEntry(index, qbytes), ok) << path;
            if (ok) {
                EXPECT_EQ(bytes.size(), entry.unpackedSize) << path;
                EXPECT_EQ(qbytes.toStdString(), bytes) << path;
                ++read;
            } else {
                EXPECT_EQ(bytes, "untouched") << path;
                EXPECT_EQ(qbytes, "untouched") << path;
                ++refused;
            }
        }
    }
    // The mutations reach every outcome, or the test would prove little.
    EXPECT_GT(rejected, 0);
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

// Every mutation either fails to open with a reason, or lists entries that all lie inside the
// file and read to their recorded size.
TEST(MalformedInput, MutatedContainers) {
    TTempFolder temp;
    const std::string good = WriteContainer({{"Struct.cfs", "abcdef"}, {"a.bmp", "BM"}});
    std::mt19937 random(866);
    int rejected = 0, opened = 0;
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(round);
        const std::string mutated = Mutate(good, random);
        TReadBin container;
        try {
            container.Open(RoundFile(temp, ".dhl", round, mutated));
        } catch (const EContainerError& e) {
            EXPECT_NE(std::string(e.what()), "");
            ++rejected;
            continue;
        }
        ++opened;
        for (const auto& entry : container.Directory()) {
            EXPECT_LE(std::uint64_t(entry.offset) + entry.size, mutated.size()) << entry.name;
            // Names are found the way the program looks them up: the first of a name wins.
            const auto first = std::find_if(container.Directory().begin(), container.Directory().end(),
                                            [&](const RBin& e) { return SameText1251(e.name, entry.name); });
            std::string bytes;
            EXPECT_EQ(container.ReadBuffer(entry.name, bytes), static_cast<int>(first->size)) << entry.name;
            EXPECT_EQ(bytes, mutated.substr(first->offset, first->size)) << entry.name;
        }
    }
    EXPECT_GT(rejected, 0);
    EXPECT_GT(opened, 0);
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
        auto inRange = [](int v) { return v >= kMinCoordinate && v <= kMaxCoordinate; };
        for (const auto& point : model.VertexMain) EXPECT_TRUE(inRange(point.x) && inRange(point.y));
        for (const auto& buttons : model.ScreenButtons)
            for (const auto& b : buttons) EXPECT_TRUE(inRange(b.vx) && inRange(b.vy) && b.textfontsize >= 0);
        for (const auto& t : model.TextAreas) EXPECT_TRUE(inRange(t.vx) && inRange(t.vy) && t.size >= 0);
        for (const auto& popups : model.ScreenPopups)
            for (const auto& p : popups) EXPECT_TRUE(inRange(p.xfon) && inRange(p.yfon) && p.size[0] >= 0);
    }
}

}  // namespace
}  // namespace vitrina
