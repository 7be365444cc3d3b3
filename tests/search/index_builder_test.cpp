#include "search/index_builder.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TEST(IndexBuilderTitle, TakesTheTitleElementDecodedAndCollapsed) {
    struct Case {
        const char* html;
        const char* title;
    };
    const Case cases[] = {
        {"<html><head><title>Замена масла</title></head><body>x</body></html>", "Замена масла"},
        {"<TITLE>\r\n  Тормоза:\t&laquo;диски&raquo;  </TITLE>", "Тормоза: «диски»"},
        {"<title lang=ru>A &amp; B</title>", "A & B"},
        {"<html><body>Без заголовка</body></html>", ""},
        {"<title>Не закрыт", "Не закрыт"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractTitle(W(c.html)), W(c.title)) << c.html;
}

TEST(IndexBuilderWords, ReadsOnlyTheTextAReaderSees) {
    struct Case {
        const char* html;
        std::vector<const char*> words;
    };
    const Case cases[] = {
        {"<head><title>Заголовок</title><style>p{color:red}</style></head><body>Текст</body>", {"текст"}},
        {"<body><script>var скрипт=1;</script>Видно<!-- скрыто --> тоже</body>", {"видно", "тоже"}},
        {"<p>Сло<b>во</b> целое</p>", {"слово", "целое"}},
        {"<table><tr><td>Левая</td><td>Правая</td></tr></table>", {"левая", "правая"}},
        {"<p>ЁЖИК ёжик Ёжик</p>", {"ёжик"}},
        {"<p>Момент 25&nbsp;Н&middot;м, ВАЗ-2107</p>", {"момент", "25", "н", "м", "ваз", "2107"}},
        {"<p>&#1044;&#x0430; &lt;нет&gt; &bogus; &#8364;uro</p>", {"да", "нет", "bogus", "uro"}},
        {"<img src=\"a.gif\" alt=\"подпись\"><a href=\"x.htm\" title=\"всплывающая\">Ссылка</a>", {"ссылка"}},
        {"<p title='a>b'>Кавычки</p>", {"кавычки"}},
        {"Если 2 < 3, то > 1", {"если", "2", "3", "то", "1"}},
    };
    for (const auto& c : cases) {
        TDynamicStringArray expected;
        for (const char* w : c.words) expected.push_back(W(w));
        EXPECT_EQ(SplitWords(VisibleText(W(c.html))), expected) << c.html;
    }
}

TEST(IndexBuilderCharset, TurnsDeclaredUtf8Into1251AndLeavesTheRest) {
    const std::string utf8 = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"><p>Привод</p>";
    EXPECT_EQ(DocumentAs1251(utf8), W(utf8));
    EXPECT_EQ(DocumentAs1251("\xEF\xBB\xBF<p>Ключ</p>"), W("<p>Ключ</p>"));
    const std::string cp = W("<meta charset=windows-1251><p>Привод</p>");
    EXPECT_EQ(DocumentAs1251(cp), cp);
    const std::string undeclared = W("<p>Без объявления</p>");
    EXPECT_EQ(DocumentAs1251(undeclared), undeclared);
}

TEST(IndexBuilderWrite, WritesTheThreeFilesInPathAndKeywordOrder) {
    TIndexBuilder builder;
    // Handed in out of order: the numbers must follow the paths.
    builder.AddDocument(W("brakes.htm"), W("<title>Тормоза</title><p>Диск и колодки</p>"));
    builder.AddDocument(W("engine.htm"), W("<title>Двигатель</title><p>Масло и фильтр</p>"));
    builder.AddDocument(W("body\\doors.htm"), W("<title>Двери</title><p>Петли, масло</p>"));
    const TIndexFiles files = builder.Write();

    EXPECT_EQ(files.files, W("body\\doors.htm#:#Двери\r\n"
                             "brakes.htm#:#Тормоза\r\n"
                             "engine.htm#:#Двигатель\r\n"));
    EXPECT_EQ(files.keywords, W("диск\r\nи\r\nколодки\r\nмасло\r\nпетли\r\nфильтр\r\n"));
    EXPECT_EQ(files.index, "2\r\n2:3\r\n2\r\n1:3\r\n1\r\n3\r\n");
}

TEST(IndexBuilderWrite, ASecondDocumentWithTheSamePathReplacesTheFirst) {
    TIndexBuilder builder;
    builder.AddDocument("a.htm", W("<title>Старый</title><p>старое</p>"));
    builder.AddDocument("a.htm", W("<title>Новый</title><p>новое</p>"));
    const TIndexFiles files = builder.Write();
    EXPECT_EQ(builder.DocumentCount(), 1u);
    EXPECT_EQ(files.files, W("a.htm#:#Новый\r\n"));
    EXPECT_EQ(files.keywords, W("новое\r\n"));
    EXPECT_EQ(files.index, "1\r\n");
}

TEST(IndexBuilderFolder, IndexesHtmlFilesBelowTheFolderWithWindowsPaths) {
    test::TTempFolder folder;
    folder.Write("Глава/Стартер.htm", W("<title>Стартер</title><p>Реле</p>"));
    folder.Write("index.html", W("<title>Начало</title><p>Реле тоже</p>"));
    folder.Write("images/photo.jpg", "not a document");
    folder.Write("notes.txt", W("реле в тексте"));
    std::size_t count = 0;
    const TIndexFiles files = BuildIndexFromFolder(folder.Path(), &count);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(files.files, W("index.html#:#Начало\r\nГлава\\Стартер.htm#:#Стартер\r\n"));
    EXPECT_EQ(files.keywords, W("реле\r\nтоже\r\n"));
    EXPECT_EQ(files.index, "1:2\r\n1\r\n");
}

}  // namespace
}  // namespace vitrina
