#include "html/doc_mime.h"

#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(DeclaredCharset, ByteOrderMarksAndMetaDeclarationsAreFound) {
    const struct {
        std::string bytes;
        const char* charset;
    } cases[] = {
        {"\xEF\xBB\xBF<html>", "utf-8"},
        {"\xFF\xFE<\0h\0", "utf-16le"},
        {"\xFE\xFF\0<\0h", "utf-16be"},
        {"<html><head><meta charset=\"UTF-8\"></head>", "utf-8"},
        {"<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=koi8-r\">", "koi8-r"},
        {"<meta http-equiv=content-type content='text/html;charset = windows-1251'>", "windows-1251"},
        {"<meta name=\"author\" content=\"x\"><p>charset=utf-8 in the text</p>", ""},
        {"<html><body>\xCF\xF0\xE8\xE2\xE5\xF2</body></html>", ""},
        {std::string(1100, ' ') + "<meta charset=utf-8>", ""},
        {"@charset \"utf-8\";\nbody{}", "utf-8"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DeclaredCharset(c.bytes), c.charset) << c.bytes.substr(0, 60);
}

TEST(ContentTypeFor, PagesWithoutACharsetAreDeclaredWindows1251) {
    const std::string plain = "<html><body>\xCF\xF0\xE8</body></html>";
    const std::string own = "<html><head><meta charset=utf-8></head></html>";
    const struct {
        const char* path;
        std::string bytes;
        const char* type;
    } cases[] = {
        {"d:\\a.htm", plain, "text/html;charset=windows-1251"},
        {"d:\\A.HTML", plain, "text/html;charset=windows-1251"},
        {"d:\\a.htm", own, "text/html"},
        {"d:\\a.htm", "\xEF\xBB\xBFtext", "text/html"},
        {"d:\\readme.txt", "\xCF\xF0", "text/plain;charset=windows-1251"},
        {"d:\\file_id.diz", "x", "text/plain;charset=windows-1251"},
        {"d:\\s.css", "body{}", "text/css;charset=windows-1251"},
        {"d:\\p.GIF", "GIF89a", "image/gif"},
        {"d:\\p.jpeg", "", "image/jpeg"},
        {"d:\\p.bmp", "BM", "image/bmp"},
        {"d:\\noext", plain, "text/html;charset=windows-1251"},
        {"d:\\a.dat", "\x01\x02", "application/octet-stream"},
    };
    for (const auto& c : cases) EXPECT_EQ(ContentTypeFor(c.path, c.bytes), c.type) << c.path;
}

TEST(IsPictureName, PictureExtensionsOnly) {
    EXPECT_TRUE(IsPictureName("d:\\a\\B.JPG"));
    EXPECT_TRUE(IsPictureName("d:\\a\\b.gif"));
    EXPECT_TRUE(IsPictureName("d:\\a\\b.png"));
    EXPECT_FALSE(IsPictureName("d:\\a.jpg\\b.htm"));
    EXPECT_FALSE(IsPictureName("d:\\a\\b"));
}

}  // namespace
}  // namespace vitrina
