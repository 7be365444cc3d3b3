#include "search/document_scan.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "resources/compr_stream.h"
#include "resources/drive_map.h"
#include "resources/store.h"
#include "resources/store_writer.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

TEST(VisibleTextMatch, FindsOnlyWhatAReaderSees) {
    struct Case {
        const char* page;  // written in 1251 unless utf8
        const char* text;
        bool found;
        bool matchCase = false;
        bool utf8 = false;
    };
    const Case cases[] = {
        {"<p>Карбюратор</p>", "карбюратор", true},
        {"<img src=a.gif alt=\"карбюратор\"><a href=\"карбюратор.htm\" title='карбюратор'>x</a>", "карбюратор", false},
        {"<p title=\"x>карбюратор\">y</p>", "карбюратор", false},
        {"<!-- карбюратор --><p>x</p>", "карбюратор", false},
        {"<!-- незакрытый комментарий <p>карбюратор</p>", "карбюратор", false},
        {"<script>var s = '</p>карбюратор';</script><p>x</p>", "карбюратор", false},
        {"<SCRIPT type=text/javascript>карбюратор</SCRIPT >видно", "видно", true},
        {"<style>p { content: 'карбюратор' }</style>", "карбюратор", false},
        {"<html><head><title>Карбюратор</title></head><body>x</body></html>", "карбюратор", false},
        {"<noscript>карбюратор</noscript>", "карбюратор", false},
        // Names are compared whole: these are no scripts or titles.
        {"<scripts>карбюратор</scripts> <titles>насос</titles>", "карбюратор насос", true},
        {"<p>кар<b>бюр</b>атор</p>", "карбюратор", true},
        {"<p>кар<span class=x>бюр</span><font color=red>атор</font></p>", "карбюратор", true},
        {"<p>кар</p><p>бюратор</p>", "карбюратор", false},
        {"кар<br>бюратор", "карбюратор", false},
        {"<td>кар</td><td>бюратор</td>", "карбюратор", false},
        {"<h2>кар</h2>бюратор", "карбюратор", false},
        {"<li>кар<li>бюратор", "карбюратор", false},
        {"&#1082;&#x430;&#X440;бюратор", "карбюратор", true},
        {"&laquo;Карбюратор&raquo;", "«карбюратор»", true},
        {"A &amp; B &lt;C&gt;", "a & b <c>", true},
        {"&copy 2007", "© 2007", true},
        {"a&#150;b", "a–b", true},
        {"25&nbsp;Н&middot;м", "25 н·м", true},
        {"&bogus; &amp", "&bogus; &", true},
        {"двигатель\r\n\t   внутреннего&nbsp;&nbsp; сгорания", "двигатель внутреннего сгорания", true},
        {"двигатель <b> внутреннего </b> сгорания", "двигатель внутреннего сгорания", true},
        {"2 < 3 > 1", "2 < 3 > 1", true},
        {"КАРБЮРАТОР", "карбюратор", true},
        {"КАРБЮРАТОР", "карбюратор", false, true},
        {"Карбюратор", "Карбюратор", true, true},
        {"ЁЖИК", "ёжик", true},
        {"<meta charset=\"utf-8\"><p>Кар<b>бюр</b>атор</p>", "карбюратор", true, false, true},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">Карбюратор", "карбюратор", true,
         false, true},
        {"\xEF\xBB\xBF<p>Карбюратор</p>", "карбюратор", true, false, true},
        // A UTF-8 page that does not say so is read as 1251, as the viewer reads it.
        {"<p>Карбюратор</p>", "карбюратор", false, false, true},
        {"<p>x</p>", "", false},
    };
    for (const Case& c : cases) {
        const std::string page = c.utf8 ? std::string(c.page) : W(c.page);
        EXPECT_EQ(TTextQuery(W(c.text), c.matchCase).FoundInPage(page), c.found)
            << c.page << " / " << c.text << (c.matchCase ? " (match case)" : "");
    }
}

TEST(VisibleTextMatch, FindTextIsTrimmedAndItsSpacesSingle) {
    const std::pair<const char*, const char*> cases[] = {
        {"  двигатель  ", "двигатель"}, {"a  b   c", "a b c"}, {"\t a \r\n", "a"}, {"   ", ""}, {"a\t\tb", "a\t\tb"},
    };
    for (const auto& [text, normalised] : cases) EXPECT_EQ(NormalisedFindText(W(text)), W(normalised)) << text;
}

TEST(IndexScanList, TakesStorePagesOutsideTheManualsWithoutTheExclusions) {
    const TDynamicStringArray storeFiles = {
        "HTML\\ENGINE.HTM", "HTML\\OIL.HTML", "HTML\\PIC.GIF", "MAN\\HELP.HTM", "MAN_\\HELP.HTM",
        "HTML\\MAN\\DEEP.HTM", "INDEX.HTM", "ARCH\\OLD.HTM", "NOEXT", "HTML\\PAGE.SHTM",
    };
    struct Case {
        TDynamicStringArray exclusions;
        bool all;
        TDynamicStringArray documents;
    };
    const Case cases[] = {
        {{}, false, {"d:\\html\\engine.htm", "d:\\html\\oil.html", "d:\\html\\man\\deep.htm", "d:\\index.htm",
                     "d:\\arch\\old.htm"}},
        {{"ARCH\\", "oil"}, false, {"d:\\html\\engine.htm", "d:\\html\\man\\deep.htm", "d:\\index.htm"}},
        {{"ARCH\\", "oil"}, true, {"d:\\html\\engine.htm", "d:\\html\\oil.html", "d:\\html\\man\\deep.htm",
                                  "d:\\index.htm", "d:\\arch\\old.htm"}},
        {{""}, false, {"d:\\html\\engine.htm", "d:\\html\\oil.html", "d:\\html\\man\\deep.htm", "d:\\index.htm",
                       "d:\\arch\\old.htm"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IndexScanDocuments(storeFiles, "d:\\", c.exclusions, c.all), c.documents)
            << testing::PrintToString(c.exclusions) << (c.all ? " all" : "");
}

class ScanFixture : public ::testing::Test {
protected:
    void SetUp() override {
        temp.Write("disc/interface.dat", WriteStore({{"a.htm", W("<p>Масло</p>")},
                                                     {"b.htm", W("<p>Без него</p>")},
                                                     {"c.htm", W("<p>масло и фильтр</p>")}}));
        temp.Write("disc/d.htm", W("<title>масло</title><p>МАС<i>ЛО</i></p>"));
        ASSERT_TRUE(store.Open(temp.Path() / "disc/interface.dat"));
        store.SetPrefix("d:\\");
    }

    test::TTempFolder temp;
    TDriveMap drives{temp.Path() / "disc", temp.Path() / "user"};
    TStore store;
    TDocumentFiles files{store, drives};
    const TDynamicStringArray documents = {"d:\\a.htm", "d:\\missing.htm", "d:\\b.htm", "d:\\C.htm", "d:\\d.htm"};
};

TEST_F(ScanFixture, ReportsEveryMatchFromStoreAndDisk) {
    std::vector<std::size_t> matches;
    std::vector<std::size_t> asked;
    TScanCallbacks callbacks;
    callbacks.keepGoing = [&](std::size_t i) { return asked.push_back(i), true; };
    callbacks.matched = [&](std::size_t i) { return matches.push_back(i), true; };
    const TScanOutcome outcome = TDocumentScan(files).Scan(documents, 0, TTextQuery(W("масло"), false), callbacks);
    EXPECT_EQ(outcome.end, TScanEnd::Exhausted);
    EXPECT_EQ(outcome.position, 4);
    EXPECT_EQ(matches, (std::vector<std::size_t>{0, 3, 4}));
    EXPECT_EQ(asked, (std::vector<std::size_t>{0, 1, 2, 3, 4}));

    matches.clear();
    TDocumentScan(files).Scan(documents, 1, TTextQuery(W("Масло"), true), callbacks, "d:\\c.htm");
    EXPECT_TRUE(matches.empty()) << "matching case, with the start document passed over";
}

TEST_F(ScanFixture, StopsAtAMatchOrWhenAskedAndGoesOnFromThere) {
    TScanCallbacks first;
    first.matched = [](std::size_t) { return false; };
    const TDocumentScan scan(files);
    const TTextQuery query(W("масло"), false);
    TScanOutcome outcome = scan.Scan(documents, 1, query, first);
    EXPECT_EQ(outcome.end, TScanEnd::Matched);
    EXPECT_EQ(outcome.position, 3);

    TScanCallbacks stop;
    int documentsLeft = 2;
    stop.keepGoing = [&](std::size_t) { return documentsLeft-- > 0; };
    stop.matched = [](std::size_t) { return true; };
    outcome = scan.Scan(documents, 0, query, stop);
    EXPECT_EQ(outcome.end, TScanEnd::Stopped);
    EXPECT_EQ(outcome.position, 1) << "the last document examined";
    outcome = scan.Scan(documents, 5, query, stop);
    EXPECT_EQ(outcome.end, TScanEnd::Exhausted);
    EXPECT_EQ(outcome.position, -1);
}

TEST(LongScan, AnswersComeInOrderAndStopsTakeEffectAtOnce) {
    // More documents than are ever read ahead, so that both readers take turns.
    test::TTempFolder temp;
    TDynamicStringArray documents;
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < 300; ++i) {
        const bool holds = i % 7 == 3 || i == 299;
        temp.Write("disc/p" + std::to_string(i) + ".htm", W(holds ? "<p>Редкое слово</p>" : "<p>Другое</p>"));
        documents.push_back("d:\\p" + std::to_string(i) + ".htm");
        if (holds) expected.push_back(i);
    }
    TStore store;
    const TDriveMap drives(temp.Path() / "disc", temp.Path() / "user");
    const TDocumentFiles files(store, drives);
    const TDocumentScan scan(files);
    const TTextQuery query(W("редкое слово"), false);

    struct Case {
        std::size_t from;
        std::size_t stopBefore;  // keepGoing says no at this document
        std::size_t lastMatch;   // matched says no after this many matches
        TScanEnd end;
        std::ptrdiff_t position;
    };
    const Case cases[] = {
        {0, 1000, 1000, TScanEnd::Exhausted, 299},
        {100, 1000, 1000, TScanEnd::Exhausted, 299},
        {0, 150, 1000, TScanEnd::Stopped, 149},
        {0, 1000, 5, TScanEnd::Matched, 31},
        {299, 1000, 1, TScanEnd::Matched, 299},
    };
    for (const Case& c : cases) {
        std::vector<std::size_t> matches;
        std::vector<std::size_t> asked;
        TScanCallbacks callbacks;
        callbacks.keepGoing = [&](std::size_t i) { return asked.push_back(i), i != c.stopBefore; };
        callbacks.matched = [&](std::size_t i) { return matches.push_back(i), matches.size() < c.lastMatch; };
        const TScanOutcome outcome = scan.Scan(documents, c.from, query, callbacks);
        EXPECT_EQ(outcome.end, c.end) << c.from << " " << c.stopBefore << " " << c.lastMatch;
        EXPECT_EQ(outcome.position, c.position) << c.from << " " << c.stopBefore << " " << c.lastMatch;
        std::vector<std::size_t> wanted;
        for (std::size_t i : expected)
            if (i >= c.from && static_cast<std::ptrdiff_t>(i) <= outcome.position) wanted.push_back(i);
        EXPECT_EQ(matches, wanted) << c.from << " " << c.stopBefore << " " << c.lastMatch;
        for (std::size_t k = 0; k < asked.size(); ++k) ASSERT_EQ(asked[k], c.from + k) << "asked in order";
    }
}

}  // namespace
}  // namespace vitrina
