#include "panes/html_file_copier.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/drive_map.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

// A disc with loose files and a user tree (c:), some of it already in the way of copies.
class HtmlFileCopierTest : public ::testing::Test {
protected:
    HtmlFileCopierTest() : drives_(folder_.Path() / "disc", folder_.Path() / "user"), copier_(drives_) {
        folder_.Write("disc/files/manual.doc", "manual");
        folder_.Write("disc/html/saved.htm", "<img src='saved.files/a.png'>");
        folder_.Write("disc/html/saved.files/a.png", "png");
        folder_.Write("disc/html/saved.files/sub/b.txt", "b");
        folder_.Write("disc/html/plain.htm", "plain");
        folder_.Write("disc/html/noext", "noext");
        folder_.Write("disc/html/noext.files/c.txt", "c");
        folder_.Write("user/old/manual.doc", "old");
        folder_.Write("user/blocked", "a file where a folder would go");
        folder_.Write("user/dir/manual.doc/inside", "a folder where the file would go");
        folder_.Write("user/files-blocked/saved.files", "a file where the pictures' folder would go");
    }
    fs::path User(const fs::path& relative) const { return folder_.Path() / "user" / relative; }

    test::TTempFolder folder_;
    TDriveMap drives_;
    THtmlFileCopier copier_;
};

TEST_F(HtmlFileCopierTest, FilesGoIntoTheFolderUnderTheirOwnNameOverWhatIsThere) {
    struct TCase {
        const char* source;
        const char* folder;
        TCopyOutcome outcome;
        const char* target;  // below the user tree; null when nothing may appear
    };
    const TCase cases[] = {
        {"d:\\files\\manual.doc", "c:\\new\\deeper\\", TCopyOutcome::Copied, "new/deeper/manual.doc"},
        {"d:\\files\\manual.doc", "c:\\old\\", TCopyOutcome::Copied, "old/manual.doc"},  // overwritten
        // The source is found ignoring case; the target takes the name as the link writes it.
        {"D:\\FILES\\Manual.DOC", "c:\\case\\", TCopyOutcome::Copied, "case/Manual.DOC"},
        // Links arrive folded; a name with ".." is refused by the drive map, never copied.
        {"d:\\html\\..\\files\\manual.doc", "c:\\relative\\", TCopyOutcome::NotOnDisk, nullptr},
        {"d:\\files\\manual.doc", "c:\\up\\..\\..\\", TCopyOutcome::Failed, nullptr},
        {"d:\\html\\stored.htm", "c:\\store\\", TCopyOutcome::NotOnDisk, nullptr},  // only in the store
        {"d:\\files", "c:\\folder\\", TCopyOutcome::NotOnDisk, nullptr},            // a folder is no file
        {"d:\\files\\manual.doc", "q:\\unmapped\\", TCopyOutcome::Failed, nullptr},
        {"d:\\files\\manual.doc", "c:\\blocked\\", TCopyOutcome::Failed, nullptr},
        {"d:\\files\\manual.doc", "c:\\dir\\", TCopyOutcome::Failed, nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.folder);
        EXPECT_EQ(copier_.CopyFileInto(c.source, c.folder), c.outcome);
        if (c.target) EXPECT_EQ(folder_.Read(fs::path("user") / c.target), "manual");
    }
    EXPECT_FALSE(fs::exists(User("store")));
    EXPECT_FALSE(fs::exists(User("folder")));
    EXPECT_TRUE(fs::is_regular_file(User("blocked")));
    EXPECT_TRUE(fs::is_directory(User("dir/manual.doc")));
}

TEST_F(HtmlFileCopierTest, DocumentsTakeTheirFilesFolderAlong) {
    EXPECT_EQ(copier_.CopyDocumentInto("d:\\html\\saved.htm", "c:\\mine\\"), TCopyOutcome::Copied);
    EXPECT_EQ(folder_.Read("user/mine/saved.htm"), "<img src='saved.files/a.png'>");
    EXPECT_EQ(folder_.Read("user/mine/saved.files/a.png"), "png");
    EXPECT_EQ(folder_.Read("user/mine/saved.files/sub/b.txt"), "b");

    EXPECT_EQ(copier_.CopyDocumentInto("d:\\html\\plain.htm", "c:\\plain\\"), TCopyOutcome::Copied);
    EXPECT_EQ(std::distance(fs::directory_iterator(User("plain")), fs::directory_iterator()), 1);
    // Without an extension the whole name is the stem.
    EXPECT_EQ(copier_.CopyDocumentInto("d:\\html\\noext", "c:\\noext\\"), TCopyOutcome::Copied);
    EXPECT_EQ(folder_.Read("user/noext/noext.files/c.txt"), "c");

    EXPECT_EQ(copier_.CopyDocumentInto("d:\\html\\stored.htm", "c:\\mine\\"), TCopyOutcome::NotOnDisk);
    EXPECT_FALSE(fs::exists(User("mine/stored.htm")));
    EXPECT_EQ(copier_.CopyDocumentInto("d:\\html\\saved.htm", "q:\\x\\"), TCopyOutcome::Failed);
    // The document is copied but its pictures cannot be: that is a failure, not a success.
    EXPECT_EQ(copier_.CopyDocumentInto("d:\\html\\saved.htm", "c:\\files-blocked\\"), TCopyOutcome::Failed);
}

// z: is the whole host. A folder the reader typed there is theirs to use; a file there is no
// disc's to hand out, whatever the target.
TEST_F(HtmlFileCopierTest, TheHostIsTheReadersOnly) {
    folder_.Write("reader/secret.txt", "secret");
    folder_.Write("reader/secret.htm", "secret page");
    const std::string host = drives_.ToWindowsPath(folder_.Path());  // "z:\..."
    ASSERT_TRUE(OnHostDrive(host)) << host;
    const std::string upper = "Z" + host.substr(1);
    struct TCase {
        std::string source;
        std::string folder;
        TCopyOutcome outcome;
        fs::path target;  // below the test folder; empty when nothing may appear
    };
    const TCase cases[] = {
        {"d:\\files\\manual.doc", host + "\\typed\\", TCopyOutcome::Copied, "typed/manual.doc"},
        {host + "\\reader\\secret.txt", "c:\\taken\\", TCopyOutcome::Refused, {}},
        {upper + "\\reader\\secret.txt", host + "\\typed\\", TCopyOutcome::Refused, {}},
        {"z:\\etc\\hostname", "c:\\taken\\", TCopyOutcome::Refused, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.source + " -> " + c.folder);
        EXPECT_EQ(copier_.CopyFileInto(c.source, c.folder), c.outcome);
        if (!c.target.empty()) EXPECT_EQ(folder_.Read(c.target), "manual");
    }
    EXPECT_EQ(copier_.CopyDocumentInto(host + "\\reader\\secret.htm", "c:\\taken\\"), TCopyOutcome::Refused);
    EXPECT_FALSE(fs::exists(User("taken")));
    EXPECT_EQ(folder_.Read("reader/secret.txt"), "secret");
    // Only a drive letter z: is the host's; a name that merely starts so is the disc's.
    EXPECT_FALSE(OnHostDrive("z"));
    EXPECT_FALSE(OnHostDrive("zz\\a"));
    EXPECT_FALSE(OnHostDrive("c:\\z:"));
}

TEST(HtmlFileCopierListEntries, TheSelectedItemOfDropDownListsOfThatNameOnly) {
    const QString serial = QString::fromUtf8("Серийный");
    const QStringList items{"AAA-111", "BBB-222"};
    struct TCase {
        const char* what;
        std::vector<TFormControl> controls;
        std::vector<QString> entries;
    };
    const TCase cases[] = {
        {"a drop-down list", {{serial, true, items, 1}}, {"BBB-222"}},
        {"another name", {{"other", true, items, 1}}, {}},
        {"a list showing several items", {{serial, false, items, 1}}, {}},
        {"nothing selected", {{serial, true, items, -1}}, {}},
        {"a selection past the items", {{serial, true, items, 2}}, {}},
        {"two lists of the name, in order", {{serial, true, items, 0}, {"x", true, items, 1}, {serial, true, items, 1}},
         {"AAA-111", "BBB-222"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(THtmlFileCopier::ListEntries(c.controls, Utf8ToCp1251("СЕРИЙНЫЙ")), c.entries);
    }
}

}  // namespace
}  // namespace vitrina
