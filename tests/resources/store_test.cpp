#include "resources/store.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <fstream>
#include <memory>
#include <sys/resource.h>
#include <vector>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/compr_stream.h"
#include "resources/read_bin.h"
#include "resources/store_writer.h"
#include "support/fifo.h"
#include "support/raw_store.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

using test::PutU32;
using test::TRawStore;
using test::ZerosZlib;

class StoreTest : public ::testing::Test {
protected:
    void OpenStore(const std::string& bytes) {
        std::string error;
        ASSERT_TRUE(store.Open(temp.Write("interface.dat", bytes), &error)) << error;
    }
    // Reads through both ReadEntry overloads; they must agree.
    std::string Read(std::string_view path) {
        std::string bytes;
        QByteArray qbytes;
        const int index = store.FindEntry(path);
        const bool read = index >= 0 && store.ReadEntry(index, bytes);
        const bool qread = index >= 0 && store.ReadEntry(index, qbytes);
        if (read != qread || (read && qbytes.toStdString() != bytes)) return "<overloads disagree>";
        return read ? bytes : "<absent>";
    }

    TTempFolder temp;
    TStore store;
};

TEST_F(StoreTest, FindsFilesTheWayDocumentsNameThem) {
    OpenStore(WriteStore({{"html\\page.htm", std::string(3000, 'p')},
                          {W("html\\Глава\\Схема.gif"), "gif"},
                          {W("ёлка.htm"), "yo"},
                          {"index.idx", "idx"}}));
    ASSERT_TRUE(store.SetPrefix("d:\\"));
    struct Case {
        std::string path;
        const char* expected;
    } cases[] = {
        {"d:\\Html/Page.htm", nullptr},
        {"\\html\\page.htm", nullptr},
        {"html\\page.htm", nullptr},
        {W("D:\\HTML\\главА\\схема.GIF"), "gif"},
        {"d:\\index.idx", "idx"},
        {"c:\\index.idx", "<absent>"},
        {"d:\\html", "<absent>"},
        {"d:\\html\\", "<absent>"},
        {"d:\\html\\page.htm\\x", "<absent>"},
        {W("d:\\ёлка.htm"), "yo"},
        {W("d:\\Ёлка.htm"), "<absent>"},
        {"d:\\" + std::string(2000, 'a'), "<absent>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.path), c.expected ? c.expected : std::string(3000, 'p')) << Cp1251ToUtf8(c.path);
    }
}

TEST_F(StoreTest, PrefixIsStrippedOnlyWhenItLeadsThePath) {
    OpenStore(WriteStore({{"html\\a.htm", "a"}}));
    ASSERT_TRUE(store.SetPrefix("d:\\Run\\"));
    EXPECT_EQ(Read("D:\\RUN\\html\\a.htm"), "a");
    EXPECT_EQ(Read("d:\\html\\a.htm"), "<absent>");
    EXPECT_FALSE(store.SetPrefix(std::string(414, 'x')));
    EXPECT_EQ(store.Prefix(), "D:\\RUN\\");
}

TEST_F(StoreTest, FirstEntryOfANameWins) {
    TRawStore raw;
    raw.data = "onetwo";
    raw.folders = {{0, 3}, {3, 0}};
    raw.entries = {{"A.HTM", 0, 3, 3, TStore::kFile},
                   {"A.HTM", 3, 3, 3, TStore::kFile},
                   {"DIR", 1, 0, 0, TStore::kFolder}};
    OpenStore(raw.Bytes());
    EXPECT_EQ(Read("a.htm"), "one");

    TRawStore shadowed;
    shadowed.data = "x";
    shadowed.folders = {{0, 2}, {2, 0}};
    shadowed.entries = {{"B.HTM", 1, 0, 0, TStore::kFolder}, {"B.HTM", 0, 1, 1, TStore::kFile}};
    OpenStore(shadowed.Bytes());
    EXPECT_EQ(store.FindEntry("b.htm"), -1) << "a folder first in line hides the file";
}

TEST_F(StoreTest, ListsFilesDepthFirstSkippingDotNames) {
    OpenStore(WriteStore({{"b.htm", "1"},
                          {"html\\z.htm", "2"},
                          {"html\\sub\\y.htm", "3"},
                          {".hidden\\x.htm", "4"},
                          {"html\\.git", "5"},
                          {"a.htm", "6"}}));
    EXPECT_EQ(store.ListFiles(), (TDynamicStringArray{"B.HTM", "HTML\\Z.HTM", "HTML\\SUB\\Y.HTM", "A.HTM"}));
}

TEST_F(StoreTest, ListingSurvivesAFolderThatContainsItself) {
    TRawStore raw;
    raw.data = "x";
    raw.folders = {{0, 2}};
    raw.entries = {{"LOOP", 0, 0, 0, TStore::kFolder}, {"F", 0, 1, 1, TStore::kFile}};
    OpenStore(raw.Bytes());
    EXPECT_EQ(store.ListFiles(), TDynamicStringArray{"F"});
    EXPECT_EQ(Read("loop\\loop\\loop\\f"), "x");
}

// A chain of nested folders deeper than any path a document can name: the listing walks down
// only as far as paths can be found, and every path it gives is found.
TEST_F(StoreTest, ListsEveryFindableFileOfADeepChainAndNoOther) {
    TRawStore raw;
    raw.data = "x";
    const std::string name(60, 'N');
    constexpr std::uint32_t kDepth = 40;
    for (std::uint32_t level = 0; level <= kDepth; ++level) {
        raw.folders.push_back({2 * level, level < kDepth ? 2u : 1u});
        if (level < kDepth) raw.entries.push_back({name, level + 1, 0, 0, TStore::kFolder});
        raw.entries.push_back({"F", 0, 1, 1, TStore::kFile});
    }
    OpenStore(raw.Bytes());
    const TDynamicStringArray listed = store.ListFiles();
    std::size_t findable = 0;
    for (std::string path = "F"; path.size() <= TStore::kMaxPath; path = name + "\\" + path) ++findable;
    EXPECT_EQ(listed.size(), findable);
    for (const std::string& path : listed) EXPECT_EQ(Read(path), "x") << path.size();
}

TEST_F(StoreTest, RejectsMalformedStoresAtOpen) {
    const std::string good = WriteStore({{"a.htm", std::string(500, 'a')}, {"b.htm", "b"}});
    auto header = [](std::uint32_t unpackedMinusStored, std::uint32_t stored) {
        std::string h;
        PutU32(h, unpackedMinusStored ^ TStore::kHeaderKey1);
        PutU32(h, stored ^ TStore::kHeaderKey2);
        return h;
    };
    TRawStore pastEnd;
    pastEnd.folders = {{0, 1}};
    pastEnd.entries = {{"A", 10, 5, 5, TStore::kFile}};
    TRawStore badFolder;
    badFolder.folders = {{0, 1}};
    badFolder.entries = {{"A", 7, 0, 0, TStore::kFolder}};
    TRawStore badRecord;
    badRecord.folders = {{0, 5}};
    badRecord.entries = {{"A", 0, 0, 0, TStore::kFile}};
    TRawStore shared;
    shared.data = "x";
    shared.folders = {{0, 2}, {0, 2}};
    shared.entries = {{"A", 1, 0, 0, TStore::kFolder}, {"B", 0, 1, 1, TStore::kFile}};
    TRawStore badRoot;
    badRoot.folders = {{0, 0}};
    badRoot.root = 3;
    TRawStore bomb;
    bomb.data = "xx";
    bomb.folders = {{0, 1}};
    bomb.entries = {{"A", 0, 2, 0xFFFFFFF0u, TStore::kFile}};
    TRawStore sharedEntries;  // every folder claims the same entries
    sharedEntries.data = "x";
    sharedEntries.folders = {{0, 2}, {0, 2}, {0, 2}};
    sharedEntries.entries = {{"SUB", 1, 0, 0, TStore::kFolder}, {"A", 0, 1, 1, TStore::kFile}};
    std::string brokenTable = good;
    brokenTable[10] ^= 0x55;
    brokenTable[11] ^= 0x55;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"half a header", good.substr(0, 5)},
        {"table past the end", header(0, 1000) + "short"},
        {"table truncated", header(0, 8) + std::string(8, '\0')},
        {"impossible table size", header(0x7FFFFFFF, 4) + "abcd"},
        {"compressed table does not inflate", brokenTable},
        {"file data past the end", pastEnd.Bytes()},
        {"folder entry without record", badFolder.Bytes()},
        {"folder record past the entries", badRecord.Bytes()},
        {"folder records that share entries", shared.Bytes()},
        {"root folder missing", badRoot.Bytes()},
        {"unpacked size no zlib stream can reach", bomb.Bytes()},
        {"folders claiming more entries than there are", sharedEntries.Bytes()},
    };
    for (const auto& c : cases) {
        TStore bad;
        std::string error;
        EXPECT_FALSE(bad.Open(temp.Write("bad.dat", c.bytes), &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(bad.FindEntry("a.htm"), -1) << c.what;
    }
    EXPECT_FALSE(TStore().Open(temp.Path() / "missing.dat"));
}

// A compressed entry's unpacked size is checked before anything is allocated for it: beyond
// kMaxUnpackedSize it is damage even when the data would really inflate that far, and a size the
// data does not reach is damage too. The store stays open and its other entries read.
TEST_F(StoreTest, CompressedEntriesBeyondTheCapOrTheirDataAreDamaged) {
    const std::uint64_t huge = 1 + 258 * (TStore::kMaxUnpackedSize / 258 + 1);
    const std::uint64_t small = 1 + 258 * 1000;
    struct Case {
        const char* what;
        std::string data;
        std::uint64_t recorded;
        bool readable;
    } cases[] = {
        {"a stream the fixture makes", ZerosZlib(small), small, true},
        {"a stream that inflates beyond the cap", ZerosZlib(huge), huge, false},
        {"recorded larger than the stream inflates to", ZerosZlib(small), small * 2, false},
        {"recorded smaller than the stream inflates to", ZerosZlib(small), small - 1, false},
    };
    for (const auto& c : cases) {
        ASSERT_LE(c.recorded, c.data.size() * 1100) << c.what << ": the ratio alone must not refuse it";
        TRawStore raw;
        raw.data = c.data + "plain";
        raw.folders = {{0, 2}};
        raw.entries = {{"Z.BIN", 0, static_cast<std::uint32_t>(c.data.size()), static_cast<std::uint32_t>(c.recorded),
                        TStore::kFile},
                       {"P.TXT", static_cast<std::uint32_t>(c.data.size()), 5, 5, TStore::kFile}};
        OpenStore(raw.Bytes());
        EXPECT_EQ(Read("p.txt"), "plain") << c.what;
        const std::string z = Read("z.bin");
        const std::string expected = c.readable ? std::string(c.recorded, '\0') : "<absent>";
        EXPECT_TRUE(z == expected) << c.what << ": read " << z.size() << " bytes";
        std::string inflated;
        EXPECT_EQ(InflateZlib(c.data, c.recorded, inflated), c.readable) << c.what;
    }
}

TEST_F(StoreTest, DamagedEntryCountsAsAbsentAndTheDiskStandsIn) {
    std::string bytes = WriteStore({{"html\\a.htm", std::string(4000, 'a')}, {"html\\b.htm", std::string(4000, 'b')}});
    // Corrupt the compressed data of the first file (it starts the data area, just after the table).
    std::string probe;
    {
        OpenStore(bytes);
        const auto& entry = store.Entries()[store.FindEntry("html\\a.htm")];
        ASSERT_NE(entry.storedSize, entry.unpackedSize);
        const std::size_t dataStart = bytes.size() - store.Entries()[store.FindEntry("html\\b.htm")].storedSize -
                                      entry.storedSize;
        bytes[dataStart + entry.storedSize / 2] ^= 0xFF;
        bytes[dataStart + entry.storedSize / 2 + 1] ^= 0xFF;
    }
    OpenStore(bytes);
    EXPECT_GE(store.FindEntry("html\\a.htm"), 0);
    EXPECT_EQ(Read("html\\a.htm"), "<absent>");
    EXPECT_EQ(Read("html\\b.htm"), std::string(4000, 'b'));

    temp.Write("disc/html/A.htm", "from disk");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    store.SetPrefix("d:\\");
    const TDocumentFiles files(store, drives);
    EXPECT_EQ(TComprStream(files, "d:\\html\\a.htm").Bytes(), "from disk");
    EXPECT_EQ(TComprStream(files, "d:\\html\\b.htm").Size(), 4000u);
    EXPECT_THROW(TComprStream(files, "d:\\html\\c.htm"), EFileOpenError);
    EXPECT_TRUE(files.StoreFileExists("d:\\html\\b.htm"));
    EXPECT_TRUE(files.StoreFileExists("d:\\HTML\\a.HTM"));
    EXPECT_FALSE(files.StoreFileExists("d:\\html\\c.htm"));
    EXPECT_FALSE(files.StoreFileExists("d:\\html"));
}

TEST(ComprStream, ReadsFromThePositionOn) {
    TTempFolder temp;
    temp.Write("disc/loose.txt", "0123456789");
    TStore empty;
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    TComprStream stream(TDocumentFiles(empty, drives), "d:\\LOOSE.TXT");
    char buffer[4];
    stream.Seek(7);
    EXPECT_EQ(stream.Read(buffer, 4), 3u);
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_EQ(stream.Read(buffer, 4), 0u);
}

// Documents reach the engine as devices. A disk file is an open QFile read as the engine asks:
// a clip of a gigabyte must not be read into memory first. A store entry comes from its unpacked
// bytes; a damaged one gives way to the disk as in Read.
TEST(DocumentFiles, OpenStreamsDiskFilesAndServesStoreEntriesFromMemory) {
    TTempFolder temp;
    TStore store;
    std::string storeBytes = WriteStore({{"html\\a.htm", "from the store"},
                                         {"html\\b.htm", std::string(4000, 'b')},
                                         {"html\\d.htm", std::string(4000, 'd')}});
    ASSERT_TRUE(store.Open(temp.Write("s.dat", storeBytes)));
    {
        // Damage d.htm's compressed data, which ends the file.
        const auto& d = store.Entries()[store.FindEntry("html\\d.htm")];
        ASSERT_NE(d.storedSize, d.unpackedSize);
        storeBytes[storeBytes.size() - d.storedSize / 2] ^= 0xFF;
        storeBytes[storeBytes.size() - d.storedSize / 2 - 1] ^= 0xFF;
        ASSERT_TRUE(store.Open(temp.Write("s.dat", storeBytes)));
    }
    store.SetPrefix("d:\\");
    temp.Write("disc/html/A.htm", "from disk");
    temp.Write("disc/html/D.htm", "the disk stands in");
    const std::string page = W("<html><body>") + std::string(70000, 'x') + W("Страница</body></html>");
    temp.Write("disc/Page.htm", page);
    // A sparse clip: a gigabyte that costs nothing on disk, with its ends marked.
    const std::uint64_t clipSize = std::uint64_t(1) << 30;
    const auto clipPath = temp.Write("disc/video/clip.avi", "RIFF");
    std::filesystem::resize_file(clipPath, clipSize);
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    const TDocumentFiles files(store, drives);

    struct Case {
        std::string path;
        bool fromDisk;
        std::string expected;
    } cases[] = {
        {"d:\\html\\a.htm", false, "from the store"},
        {"d:\\html\\b.htm", false, std::string(4000, 'b')},
        {"d:\\html\\d.htm", true, "the disk stands in"},
        {"d:\\PAGE.HTM", true, page},
    };
    for (const auto& c : cases) {
        const auto device = files.Open(c.path);
        ASSERT_TRUE(device) << c.path;
        EXPECT_TRUE(device->isReadable()) << c.path;
        EXPECT_EQ(qobject_cast<QFile*>(device.get()) != nullptr, c.fromDisk) << c.path;
        EXPECT_EQ(qobject_cast<QBuffer*>(device.get()) != nullptr, !c.fromDisk) << c.path;
        EXPECT_EQ(device->size(), static_cast<qint64>(c.expected.size())) << c.path;
        EXPECT_EQ(device->readAll().toStdString(), c.expected) << c.path;
    }
    for (const char* absent : {"d:\\html\\c.htm", "d:\\html", "q:\\x.htm"}) EXPECT_FALSE(files.Open(absent)) << absent;

    const auto clip = files.Open("d:\\video\\clip.avi");
    ASSERT_TRUE(clip);
    ASSERT_TRUE(qobject_cast<QFile*>(clip.get())) << "a disk file is streamed, not copied into memory";
    EXPECT_EQ(clip->size(), static_cast<qint64>(clipSize));
    // Nothing was read ahead when it was opened: what is written to the file afterwards is what
    // the device reads.
    {
        std::fstream out(clipPath, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(clipSize - 4));
        out.write("tail", 4);
    }
    EXPECT_EQ(clip->read(4), QByteArray("RIFF"));
    ASSERT_TRUE(clip->seek(static_cast<qint64>(clipSize - 4)));
    EXPECT_EQ(clip->read(8), QByteArray("tail"));
}

TEST(StoreWriter, CompressesOnlyWhenSmallerAndRefusesBadNames) {
    TTempFolder temp;
    TStore store;
    ASSERT_TRUE(store.Open(temp.Write("s.dat", WriteStore({{"big.htm", std::string(1000, 'x')}, {"tiny", "t"}}))));
    const auto& big = store.Entries()[store.FindEntry("big.htm")];
    const auto& tiny = store.Entries()[store.FindEntry("tiny")];
    EXPECT_LT(big.storedSize, big.unpackedSize);
    EXPECT_EQ(tiny.storedSize, tiny.unpackedSize);
    EXPECT_THROW(WriteStore({{std::string(65, 'n'), "x"}}), std::length_error);
    EXPECT_THROW(WriteStore({{"a\\b", "x"}, {"a", "y"}}), std::invalid_argument);
    EXPECT_EQ(WriteStore({{"a\\b", "x"}}), WriteStore({{"a\\b", "x"}}));
}

// What document requests may unpack is capped: an entry beyond the limit for one entry, stored or
// compressed, counts as absent (the disk stands in, as for a damaged entry), and while the
// devices handed out hold the limit for all of them, the next entry counts as absent until one
// of them is gone.
TEST(DocumentFiles, UnpacksNoStoreEntryBeyondTheLimits) {
    TTempFolder temp;
    const std::uint64_t small = 1 + 258 * 200, big = 1 + 258 * 300;
    const std::string smallData = ZerosZlib(small), bigData = ZerosZlib(big), plain(70000, 'p');
    TRawStore raw;
    raw.data = smallData + bigData + plain;
    raw.folders = {{0, 3}};
    raw.entries = {
        {"SMALL.HTM", 0, std::uint32_t(smallData.size()), std::uint32_t(small), TStore::kFile},
        {"BIG.HTM", std::uint32_t(smallData.size()), std::uint32_t(bigData.size()), std::uint32_t(big), TStore::kFile},
        {"PLAIN.BIN", std::uint32_t(smallData.size() + bigData.size()), 70000, 70000, TStore::kFile},
    };
    TStore store;
    ASSERT_TRUE(store.Open(temp.Write("s.dat", raw.Bytes())));
    store.SetPrefix("d:\\");
    temp.Write("disc/Big.htm", "from disk");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    const TDocumentFiles files(store, drives, TUnpackLimits{64 * 1024, 3 * small});

    std::string bytes;
    EXPECT_TRUE(files.Read("d:\\small.htm", bytes));
    EXPECT_EQ(bytes, std::string(small, '\0'));
    EXPECT_TRUE(files.Read("d:\\big.htm", bytes));
    EXPECT_EQ(bytes, "from disk");
    EXPECT_FALSE(files.Read("d:\\plain.bin", bytes));
    EXPECT_FALSE(files.Open("d:\\plain.bin"));
    const auto bigDevice = files.Open("d:\\big.htm");
    ASSERT_TRUE(bigDevice);
    EXPECT_EQ(bigDevice->readAll(), "from disk");

    std::vector<std::unique_ptr<QIODevice>> held;
    for (int i = 0; i < 3; ++i) {
        held.push_back(files.Open("d:\\small.htm"));
        ASSERT_TRUE(held.back()) << i;
        EXPECT_EQ(held.back()->size(), static_cast<qint64>(small));
    }
    EXPECT_FALSE(files.Open("d:\\small.htm")) << "beyond the limit for all entries in flight";
    held.pop_back();
    EXPECT_TRUE(files.Open("d:\\small.htm")) << "a closed device gives its share back";
}

// The entry of a compression bomb: six megabytes that unpack to a gigabyte. A document request
// for it fails at once, like a missing file, without the memory it claims.
TEST(DocumentFiles, ABombEntryCountsAsAbsentWithoutTakingMemory) {
    TTempFolder temp;
    const std::uint64_t huge = 1 + 258 * std::uint64_t(3875969);  // 1 000 000 003 bytes
    const std::string data = ZerosZlib(huge);
    TRawStore raw;
    raw.data = data;
    raw.folders = {{0, 1}};
    raw.entries = {{"BOMB.HTM", 0, std::uint32_t(data.size()), std::uint32_t(huge), TStore::kFile}};
    TStore store;
    ASSERT_TRUE(store.Open(temp.Write("s.dat", raw.Bytes())));
    store.SetPrefix("d:\\");
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    const TDocumentFiles files(store, drives);
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    std::string bytes;
    EXPECT_FALSE(files.Read("d:\\bomb.htm", bytes));
    EXPECT_FALSE(files.Open("d:\\bomb.htm"));
    EXPECT_THROW(TComprStream(files, "d:\\bomb.htm"), EFileOpenError);
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes more at the peak";
}

// The tool streams an entry: the pieces come to what ReadEntry reads, and damage found on the
// way (data that inflates to more or less than recorded) ends the copy with false.
TEST_F(StoreTest, CopyEntryHandsOnWhatReadEntryReads) {
    const std::uint64_t zeros = 1 + 258 * 2000;
    const std::string z = ZerosZlib(zeros);
    const std::string page = W("<html>Страница</html>") + std::string(300000, 'x');
    TRawStore raw;
    raw.data = z + z + z + page;
    raw.folders = {{0, 4}};
    const auto size = std::uint32_t(z.size());
    raw.entries = {{"Z.BIN", 0, size, std::uint32_t(zeros), TStore::kFile},
                   {"LONG.BIN", size, size, std::uint32_t(zeros + 1), TStore::kFile},
                   {"SHORT.BIN", 2 * size, size, std::uint32_t(zeros - 1), TStore::kFile},
                   {"PAGE.HTM", 3 * size, std::uint32_t(page.size()), std::uint32_t(page.size()), TStore::kFile}};
    OpenStore(raw.Bytes());
    const struct {
        const char* name;
        bool sound;
    } cases[] = {{"z.bin", true}, {"page.htm", true}, {"long.bin", false}, {"short.bin", false}};
    for (const auto& c : cases) {
        std::string copied;
        std::size_t largest = 0;
        const bool ok = store.CopyEntry(store.FindEntry(c.name), [&](std::string_view piece) {
            copied += piece;
            largest = std::max(largest, piece.size());
            return true;
        });
        EXPECT_EQ(ok, c.sound) << c.name;
        EXPECT_EQ(Read(c.name) != "<absent>", c.sound) << c.name;
        if (c.sound) EXPECT_TRUE(copied == Read(c.name)) << c.name;
        EXPECT_LE(largest, std::size_t(64 * 1024)) << c.name;
    }
    // A sink that cannot take more ends the copy.
    int pieces = 0;
    EXPECT_FALSE(store.CopyEntry(store.FindEntry("z.bin"), [&](std::string_view) { return ++pieces < 2; }));
    EXPECT_EQ(pieces, 2);
    EXPECT_FALSE(store.CopyEntry(-1, [](std::string_view) { return true; }));
}

// A pipe where the store or the container should be is refused at once, as a file that cannot be
// read: opening it blocking would wait for a writer for good.
TEST(DiscFilesThatAreNotFiles, AStoreOrContainerThatIsAPipeIsRefusedAtOnce) {
    TTempFolder temp;
    test::MakeFifo(temp.Path() / "interface.dat");
    test::MakeFifo(temp.Path() / "Vuv.dhl");
    bool storeOpened = true, containerOpened = true;
    std::string error;
    EXPECT_TRUE(test::FinishesWithin(
        [&] {
            TStore store;
            storeOpened = store.Open(temp.Path() / "interface.dat", &error);
            TReadBin container;
            try {
                container.Open(temp.Path() / "Vuv.dhl");
            } catch (const EContainerError&) {
                containerOpened = false;
            }
        },
        {temp.Path() / "interface.dat", temp.Path() / "Vuv.dhl"}));
    EXPECT_FALSE(storeOpened);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(containerOpened);
}

}  // namespace
}  // namespace vitrina
