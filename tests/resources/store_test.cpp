#include "resources/store.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <fstream>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "resources/compr_stream.h"
#include "resources/store_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::TTempFolder;

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A store table written by hand, for layouts the writer never makes.
struct TRawStore {
    struct Entry {
        std::string name;
        std::uint32_t offset, stored, unpacked, kind;
    };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> folders;
    std::vector<Entry> entries;
    std::string data;
    std::uint32_t root = 0;

    std::string Bytes() const {
        std::string table;
        PutU32(table, static_cast<std::uint32_t>(folders.size()));
        PutU32(table, static_cast<std::uint32_t>(entries.size()));
        PutU32(table, 0);
        PutU32(table, root);
        for (auto [first, count] : folders) PutU32(table, first), PutU32(table, count);
        for (const auto& e : entries) {
            std::string name = e.name;
            name.resize(64, '\0');
            table += name;
            PutU32(table, e.offset), PutU32(table, e.stored), PutU32(table, e.unpacked), PutU32(table, e.kind);
        }
        std::string out;
        PutU32(out, 0 ^ TStore::kHeaderKey1);
        PutU32(out, static_cast<std::uint32_t>(table.size()) ^ TStore::kHeaderKey2);
        return out + table + data;
    }
};

// A zlib stream of count zero bytes, count = 1 + 258 * n, written by hand in fixed-Huffman codes
// (a literal, then n matches of 258 at distance 1): 13 bits per 258 bytes, so a stream for more
// than a gigabyte is made in milliseconds.
std::string ZerosZlib(std::uint64_t count) {
    std::string out = "\x78\x01";
    std::uint32_t bits = 0;
    int used = 0;
    auto put = [&](std::uint32_t value, int n) {  // LSB first
        bits |= value << used;
        used += n;
        while (used >= 8) {
            out += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            used -= 8;
        }
    };
    auto code = [&](std::uint32_t value, int n) {  // Huffman codes go MSB first
        for (int i = n - 1; i >= 0; --i) put((value >> i) & 1, 1);
    };
    put(1, 1);  // final block
    put(1, 2);  // fixed codes
    code(0x30, 8);  // literal 0
    for (std::uint64_t i = 0; i < (count - 1) / 258; ++i) {
        code(0xC5, 8);  // length 258 (code 285)
        code(0, 5);     // distance 1
    }
    code(0, 7);  // end of block
    if (used > 0) put(0, 8 - used);
    const std::uint32_t adler = std::uint32_t(count % 65521) << 16 | 1;
    for (int i = 3; i >= 0; --i) out += static_cast<char>((adler >> (8 * i)) & 0xFF);
    return out;
}

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

}  // namespace
}  // namespace vitrina
