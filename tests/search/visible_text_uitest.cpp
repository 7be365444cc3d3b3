// The scan's own text of a page against the text the web engine shows for it, on every document
// of the sample disc: the same characters, and every word the reader sees is found by the scan.
#include <QRegularExpression>
#include <QTest>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include "app/sample_disc_fixture.h"
#include "html/visible_text.h"
#include "search/document_scan.h"

namespace vitrina {
namespace {

// Without any white space: the engine breaks blocks with line ends where the scan puts blanks.
std::string Squeezed(const std::string& text1251) {
    std::string out;
    for (unsigned char c : text1251)
        if (c > 32 && c != 0xA0) out += char(c);
    return out;
}

TEST_F(SampleDiscTest, TheScanSeesTheTextTheEngineShowsInEveryDocument) {
    ClickButton("screen2=index.htm");
    ASSERT_TRUE(WaitFor([&] { return Shows("index.htm"); }));
    const TDiscSession& session = program->Session();
    const TDynamicStringArray documents =
        IndexScanDocuments(session.Store.ListFiles(), session.ContentFolder, {}, true);
    ASSERT_GT(documents.size(), 40u);
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        Viewer()->LoadFromFile(document);
        ASSERT_TRUE(WaitFor([&] { return !Viewer()->Loading() && LowerCase1251(Viewer()->CurrentFile()) == document; }));
        QString shown;
        bool answered = false;
        Viewer()->page()->runJavaScript("document.body ? document.body.innerText : ''", [&](const QVariant& v) {
            shown = v.toString();
            answered = true;
        });
        ASSERT_TRUE(WaitFor([&] { return answered; }));
        std::string page;
        ASSERT_TRUE(session.Files().Read(document, page));
        const std::string engine = Utf8ToCp1251(shown.toStdString());
        EXPECT_EQ(Squeezed(VisibleText(DocumentAs1251(page))), Squeezed(engine));
        for (const QString& word : shown.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
            EXPECT_TRUE(TTextQuery(Utf8ToCp1251(word.toStdString()), false).FoundInPage(page)) << word.toStdString();
        }
    }
}

}  // namespace
}  // namespace vitrina
