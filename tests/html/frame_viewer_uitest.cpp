#include "html/frame_viewer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QWebEngineProfile>

#include "html/doc_page.h"
#include "html/doc_url.h"
#include "html/html_fixture.h"

namespace vitrina {
namespace {

using test::THtmlDisc;
using test::W;

const std::string kPage = W(
    "<html><head><title>Первая</title></head><body>"
    "<p id=t>Привет, мир</p>"
    "<a id=l1 href='..\\data\\second.htm' style='display:block;width:200px;height:30px'>Вторая</a>"
    "<a id=l2 href='copy:..\\files\\a.doc' style='display:block;width:200px;height:30px'>copy</a>"
    "<a id=l3 href='big.png' target=_blank style='display:block;width:200px;height:30px'>big</a>"
    "<img src='pic.png' alt='Картинка' width=40 height=40>"
    "</body></html>");

std::string Png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

class FrameViewerTest : public ::testing::Test {
protected:
    FrameViewerTest()
        : disc_({{"html/page.htm", kPage}, {"Data/Second.HTM", W("<title>Вторая</title><p>Второй текст")}},
                {{"html\\pic.png", Png(40, 40)}, {"html\\big.png", Png(300, 200)}}) {
        viewer_ = std::make_unique<TFrameViewer>(disc_.Engine());
        viewer_->resize(600, 400);
        viewer_->show();
        viewer_->OnHistoryChange = [this](TFrameViewer*) { ++changes_; };
        viewer_->OnLoadFailed = [this](TFrameViewer*) { ++failures_; };
    }

    bool Load(const std::string& file) {
        const int before = changes_ + failures_;
        viewer_->LoadFromFile(file);
        return QTest::qWaitFor([&] { return changes_ + failures_ > before; }, 10000) && failures_ == 0;
    }

    QVariant Eval(const QString& script) {
        QVariant result;
        bool done = false;
        viewer_->page()->runJavaScript(script, [&](const QVariant& v) { result = v, done = true; });
        QTest::qWaitFor([&] { return done; }, 5000);
        return result;
    }

    QPoint CenterOf(const QString& id) {
        const QVariantList r = Eval(QStringLiteral("(function(){const b=document.getElementById('%1').getBoundingClientRect();"
                                                   "return [b.left+b.width/2,b.top+b.height/2];})()").arg(id)).toList();
        return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint();
    }

    void Click(QPoint p) {
        QWidget* target = viewer_->focusProxy();
        QTest::mouseMove(target, p);
        QTest::qWait(100);
        QTest::mouseClick(target, Qt::LeftButton, {}, p);
    }

    THtmlDisc disc_;
    std::unique_ptr<TFrameViewer> viewer_;
    int changes_ = 0;
    int failures_ = 0;
};

TEST_F(FrameViewerTest, LoadsPagesWithoutCharsetAsWindows1251FromDiskIgnoringCase) {
    ASSERT_TRUE(Load("d:\\HTML\\Page.htm"));
    EXPECT_EQ(Eval("document.getElementById('t').textContent").toString(), QString::fromUtf8("Привет, мир"));
    EXPECT_EQ(Eval("document.characterSet").toString().toLower(), "windows-1251");
    EXPECT_EQ(viewer_->History().Count(), 1);
    EXPECT_EQ(viewer_->History().Titles()[0], W("Первая"));
    EXPECT_EQ(Eval("document.images[0].naturalWidth").toInt(), 40);  // picture from the store
}

TEST_F(FrameViewerTest, LinkClicksArriveWithTheirLinkTextAndCanBeHandled) {
    ASSERT_TRUE(Load("d:\\html\\page.htm"));
    std::vector<std::pair<std::string, std::string>> clicks;
    viewer_->OnHotSpotTargetClick = [&](TFrameViewer*, const std::string& target, const std::string& link, bool& handled) {
        clicks.push_back({target, link});
        handled = link.starts_with("copy:") || target == "_blank";
    };
    Click(CenterOf("l2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks.size() == 1; }, 5000));
    EXPECT_EQ(clicks[0].second, "copy:..\\files\\a.doc");
    Click(CenterOf("l3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks.size() == 2; }, 5000));
    EXPECT_EQ(clicks[1], (std::pair<std::string, std::string>{"_blank", "d:\\html\\big.png"}));
    Click(CenterOf("l1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes_ == 2; }, 5000));
    EXPECT_EQ(clicks[2].second, "d:\\data\\second.htm");
    EXPECT_EQ(viewer_->History().Count(), 2);
    EXPECT_EQ(viewer_->CurrentFile(), "d:\\data\\second.htm");
}

}  // namespace
}  // namespace vitrina
