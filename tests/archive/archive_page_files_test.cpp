#include "archive/archive_page_files.h"

#include <QDateTime>
#include <algorithm>
#include <QLocale>
#include <gtest/gtest.h>

#include "archive/archive_listing.h"
#include "platform/cp1251.h"

namespace vitrina {
namespace {

constexpr std::uint32_t kMay17 = (44u << 25) | (5u << 21) | (17u << 16) | (10u << 11) | (30u << 5);  // 2024-05-17 10:30
const QLocale kC = QLocale::c();

std::string U(const char* utf8) { return Utf8ToCp1251(utf8); }

TArchiveListing Listing(std::initializer_list<TRarEntry> entries) {
    TArchiveListing listing;
    for (const TRarEntry& e : entries) listing.Add(e);
    listing.DeriveDirectories();
    return listing;
}

TEST(ArchivePages, NamesOfTheFolderAndTheFrameset) {
    EXPECT_EQ(ArchivePageFolderName("d:\\x\\arc.rar"), "as_d__x_arc_rar");
    EXPECT_EQ(ArchivePageFolderName("d:\\x.y\\arc"), "as_d__x.y_arc") << "only the last of \\ : . is the one turned first";
    EXPECT_EQ(FramesetPageName("d:\\x\\arc.rar"), "as_arc.rar.htm");
}

TEST(ArchivePages, SizesInThousandsHalvesToEvenAndTimes) {
    EXPECT_EQ(ArchiveSizeText(0, kC), U("0 байт"));
    EXPECT_EQ(ArchiveSizeText(999, kC), U("999 байт"));
    EXPECT_EQ(ArchiveSizeText(1500, kC), U("2 Кбайт"));
    EXPECT_EQ(ArchiveSizeText(2500, kC), U("2 Кбайт"));
    EXPECT_EQ(ArchiveSizeText(3501, kC), U("4 Кбайт"));
    // The reader's digit grouping (a no-break space in Russian, which 1251 holds).
    EXPECT_EQ(ArchiveSizeText(1234567890, QLocale(QLocale::Russian, QLocale::Russia)), U("1\u00A0234\u00A0568 Кбайт"));
    EXPECT_EQ(ArchiveTimeText(kMay17, kC), "17 May 24 10:30");
    EXPECT_EQ(ArchiveTimeText(0, kC), "");
    EXPECT_EQ(ArchiveTimeText((44u << 25) | (13u << 21) | (1u << 16), kC), "") << "month 13 is no date";
    EXPECT_EQ(DosDateTime(QDateTime(QDate(2024, 5, 17), QTime(10, 30))), kMay17);
}

TEST(ArchivePages, FilesWithoutDirectoryEntriesGetTheirFoldersAndParents) {
    const TArchiveListing listing = Listing({{"a\\b\\one.txt", 10, kMay17}, {"two.txt", 20, 0}, {"a\\b\\c\\three.txt", 30, 0}});
    std::vector<std::string> names;
    for (const RListDir& d : listing.Directories()) names.push_back(d.name);
    EXPECT_EQ(names, (std::vector<std::string>{"", "a\\b", "a\\b\\c", "a"}));
    const auto pages = listing.Pages("as_", "7.htm");
    ASSERT_EQ(pages.size(), 4u);
    // Root: the subfolder a; a\b: ".." to a, then c and its file.
    ASSERT_EQ(pages[0].dirs.size(), 1u);
    EXPECT_EQ(pages[0].dirs[0].name, "a");
    EXPECT_EQ(pages[0].dirs[0].page, "as_37.htm");
    EXPECT_EQ(pages[0].files.size(), 1u);
    ASSERT_EQ(pages[1].dirs.size(), 2u);
    EXPECT_EQ(pages[1].dirs[0].name, "..");
    EXPECT_EQ(pages[1].dirs[0].page, "as_37.htm");
    EXPECT_EQ(pages[1].dirs[1].name, "c");
    EXPECT_EQ(pages[1].files.at(0).name, "a\\b\\one.txt");
    EXPECT_EQ(pages[3].dirs[0].page, "as_07.htm") << "a's parent is the root";
    // Directory entries of the archive's own are the list: nothing is derived then.
    const TArchiveListing own = Listing({{"x", 0, kMay17, true}, {"x\\f.txt", 1, 0}, {"y\\g.txt", 1, 0}});
    EXPECT_EQ(own.Directories().size(), 2u);
}

// An archive may name a directory more than once (in other letters, with a trailing "\\"): one
// page shows it, and its subdirectories and files stand once on it, not on every copy.
TEST(ArchivePages, ADirectoryNamedTwiceHasOnePage) {
    const TArchiveListing listing = Listing({{"Docs", 0, kMay17, true},
                                             {"docs\\", 0, 0, true},
                                             {"DOCS\\sub", 0, 0, true},
                                             {"docs\\sub\\", 0, 0, true},
                                             {"docs\\a.txt", 1, 0},
                                             {"\\", 0, 0, true}});
    std::vector<std::string> names;
    for (const RListDir& d : listing.Directories()) names.push_back(d.name);
    EXPECT_EQ(names, (std::vector<std::string>{"", "Docs", "DOCS\\sub"}));
    const auto pages = listing.Pages("as_", ".htm");
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(pages[0].dirs.size(), 1u);
    EXPECT_EQ(pages[0].dirs[0].name, "Docs");
    ASSERT_EQ(pages[1].dirs.size(), 2u);
    EXPECT_EQ(pages[1].dirs[1].name, "sub");
    EXPECT_EQ(pages[1].files.size(), 1u);
    ASSERT_EQ(pages[2].dirs.size(), 1u);
    EXPECT_EQ(pages[2].dirs[0].page, "as_1.htm") << "the parent found ignoring case";
}

TEST(ArchivePages, PagesOfOrdinaryNamesAreWrittenAsTheTemplatesSay) {
    const TArchiveListing listing = Listing({{"docs", 0, kMay17, true}, {"docs\\readme.txt", 1500, kMay17}});
    const auto files = ArchivePageFiles(listing, "d:\\arc.rar", 99, kC);
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].name, "as_arc.rar.htm");
    EXPECT_EQ(files[0].bytes, U("<html> <head> <title>Содержимое архива: d:\\arc.rar</title> </head> <frameset rows=\"50,*\" "
                                "frameborder=0> <frame src=\"as_bar.htm\" name=\"Top\"> <frame src=\"as_099.htm\" name=\"Bot\"> "
                                "</frameset> </head> </html>\r\n"));
    EXPECT_EQ(files[1].name, "as_bar.htm");
    EXPECT_NE(files[1].bytes.find("<title>archivename</title>"), std::string::npos) << "the bar keeps the placeholder";
    EXPECT_EQ(files[3].name, "as_199.htm");
    const std::string head = U("<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"> "
                               "<title>Содержимое архива: d:\\arc.rar</title> </head> <body bgcolor=\"#FFFFFF\" "
                               "text=\"#000000\"> <table border=\"0\" cellpadding=3 width=\"100%\" cols=\"3\">\r\n");
    EXPECT_EQ(files[3].bytes, head +
                                  "<tr> <td width=\"50%\"><a href=\"./as_099.htm\">..</a></td><td align=\"right\" "
                                  "width=\"25%\"></td> <td width=\"25%\"></td> </tr>\r\n" +
                                  U("<tr> <td width=\"50%\"><a href=\"./docs\\readme.txt\">readme.txt</a></td><td "
                                    "align=\"right\" width=\"25%\">2 Кбайт</td> <td width=\"25%\">17 May 24 10:30</td> </tr>\r\n") +
                                  "</table> </body> </html>\r\n");
}

TEST(ArchivePages, NamesFromTheArchiveCannotPutMarkupIntoThePages) {
    const TArchiveListing listing = Listing({{"<script>alert(1)</script>.txt", 1, 0},
                                             {"x\" onmouseover=\"alert(2).txt", 1, 0},
                                             {"a#b?c%d&e.txt", 1, 0}});
    const auto files = ArchivePageFiles(listing, "d:\\<b>filename.rar", 5, kC);
    const std::string& root = files[2].bytes;
    EXPECT_EQ(root.find("<script"), std::string::npos);
    EXPECT_NE(root.find("&lt;script&gt;alert(1)&lt;/script&gt;.txt"), std::string::npos);
    EXPECT_EQ(root.find("\" onmouseover"), std::string::npos);
    EXPECT_NE(root.find("href=\"./x&quot; onmouseover=&quot;alert(2).txt\""), std::string::npos);
    EXPECT_NE(root.find("href=\"./a%23b%3Fc%25d&amp;e.txt\">a#b?c%d&amp;e.txt<"), std::string::npos);
    EXPECT_NE(root.find("d:\\&lt;b&gt;filename.rar"), std::string::npos);
    // A word of the template inside the archive's name does not take the place of the page.
    EXPECT_NE(files[0].bytes.find("<frame src=\"as_05.htm\" name=\"Bot\">"), std::string::npos) << files[0].bytes;
}

// A member's name is never read as a scheme: its link is a path below the page, the colon encoded.
TEST(ArchivePages, AMembersLinkIsARelativePathWhateverItsName) {
    const TArchiveListing listing = Listing({{"javascript:alert(1)", 1, 0},
                                             {"rungame:x", 1, 0},
                                             {"http://example.org/a.htm", 1, 0},
                                             {"dir\\file:x.txt", 1, 0}});
    const auto files = ArchivePageFiles(listing, "d:\\a.rar", 5, kC);
    std::vector<std::string> hrefs;
    for (std::size_t i = 2; i < files.size(); ++i)
        for (std::size_t at = files[i].bytes.find("href=\""); at != std::string::npos; at = files[i].bytes.find("href=\"", at + 1)) {
            const std::size_t from = at + 6;
            hrefs.push_back(files[i].bytes.substr(from, files[i].bytes.find('"', from) - from));
        }
    EXPECT_NE(std::find(hrefs.begin(), hrefs.end(), "./javascript%3Aalert(1)"), hrefs.end());
    EXPECT_NE(std::find(hrefs.begin(), hrefs.end(), "./rungame%3Ax"), hrefs.end());
    EXPECT_NE(std::find(hrefs.begin(), hrefs.end(), "./http%3A//example.org/a.htm"), hrefs.end());
    for (const std::string& href : hrefs) {
        EXPECT_TRUE(href.starts_with("./")) << href;
        EXPECT_EQ(href.find(':'), std::string::npos) << href;
    }
}

}  // namespace
}  // namespace vitrina
