#include "platform/regular_file.h"

#include <QFile>
#include <gtest/gtest.h>

#include "support/fifo.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

// What stands at a file's place on a disc is opened only when it is a regular file, and never
// blocks: a pipe without a writer is refused at once, as are folders and devices.
TEST(RegularFile, OpensOnlyRegularFilesAndNeverBlocks) {
    TTempFolder temp;
    temp.Write("page.htm", "12345");
    temp.Write("folder/x", "");
    test::MakeFifo(temp.Path() / "pipe.htm");
    fs::create_symlink(temp.Path() / "page.htm", temp.Path() / "link.htm");
    const struct {
        fs::path path;
        bool noFollow;
        bool opens;
    } cases[] = {
        {temp.Path() / "page.htm", false, true},
        {temp.Path() / "page.htm", true, true},
        {temp.Path() / "link.htm", false, true},
        {temp.Path() / "link.htm", true, false},
        {temp.Path() / "pipe.htm", false, false},
        {temp.Path() / "folder", false, false},
        {"/dev/zero", false, false},
        {temp.Path() / "missing.htm", false, false},
    };
    for (const auto& c : cases) {
        bool opens = false, reads = false, qfile = false;
        std::string bytes = "untouched";
        ASSERT_TRUE(test::FinishesWithin(
            [&] {
                const TRegularFile file = TRegularFile::Open(c.path, c.noFollow);
                opens = file.IsOpen();
                if (opens) EXPECT_EQ(file.Size(), 5u) << c.path;
                reads = ReadRegularFile(c.path, bytes, 100, c.noFollow);
                if (!c.noFollow) qfile = OpenRegularQFile(c.path) != nullptr;
            },
            {temp.Path() / "pipe.htm"}))
            << c.path << " blocked";
        EXPECT_EQ(opens, c.opens) << c.path;
        EXPECT_EQ(reads, c.opens) << c.path;
        EXPECT_EQ(bytes, c.opens ? "12345" : "untouched") << c.path;
        if (!c.noFollow) EXPECT_EQ(qfile, c.opens) << c.path;
    }
    // A file larger than the caller allows is not read, and the QFile reads and seeks as usual.
    std::string bytes;
    EXPECT_FALSE(ReadRegularFile(temp.Path() / "page.htm", bytes, 4));
    const auto file = OpenRegularQFile(temp.Path() / "page.htm");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 5);
    ASSERT_TRUE(file->seek(3));
    EXPECT_EQ(file->readAll(), "45");
}

}  // namespace
}  // namespace vitrina
