#include <gtest/gtest.h>

#include "panes/standard_window_geometry.h"

namespace vitrina {
namespace {

TEST(DocumentArgument, QuotesGoBlanksAreTrimmedAndTheHelpMarkIsTakenOut) {
    struct Case {
        std::vector<std::string> arguments;
        const char* file;
        bool secondary;
    } cases[] = {
        {{"d:\\images\\tormoza.jpg"}, "d:\\images\\tormoza.jpg", false},
        {{"\"d:\\my pictures\\a.bmp\""}, "d:\\my pictures\\a.bmp", false},
        {{"d:\\my", "pictures\\a.bmp"}, "d:\\my pictures\\a.bmp", false},
        {{"d:\\help\\index.htm", "/h"}, "d:\\help\\index.htm", true},
        {{"\"d:\\help\\index.htm /h\""}, "d:\\help\\index.htm", true},
        {{"  d:\\a.htm  "}, "d:\\a.htm", false},
        {{"d:\\a.htm/h"}, "d:\\a.htm/h", false},  // the mark needs its blank
    };
    for (const Case& c : cases) {
        const TDocumentArgument a = ParseDocumentArgument(c.arguments);
        EXPECT_EQ(a.file, c.file) << c.arguments[0];
        EXPECT_EQ(a.secondary, c.secondary) << c.arguments[0];
    }
}

TEST(DocumentArgument, PicturesAreTheFilesSizedByTheirPicture) {
    for (const char* yes : {"d:\\a.bmp", "d:\\A.JPG", "z:\\tmp\\x.jpeg", "b.gif"}) EXPECT_TRUE(IsPictureFile(yes)) << yes;
    for (const char* no : {"d:\\a.htm", "d:\\a.png", "d:\\bmp\\a", "", "d:\\a.bmp.txt"}) EXPECT_FALSE(IsPictureFile(no)) << no;
}

}  // namespace
}  // namespace vitrina
