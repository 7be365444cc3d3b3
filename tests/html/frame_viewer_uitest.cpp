#include "html/frame_viewer.h"

#include <gtest/gtest.h>

#include <array>

#include <QClipboard>
#include <QPageLayout>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QWebEngineProfile>

#include "html/doc_page.h"
#include "html/doc_url.h"
#include "html/html_fixture.h"
#include "html/link_policy.h"
#include "support/image_bytes.h"

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

// A page whose own script turns against the viewer: it replaces the viewer's object and every
// builtin the viewer's answers rest on, stops the events it can, and makes up messages.
const std::string kHostilePage = W(R"(<html><head><title>Чужая</title><script>
(function () {
  const realLog = console.log.bind(console);
  window.madeUp = 0;
  function fake() {
    ++window.madeUp;
    const made = '{"e":"over","h":"evil.htm","u":"vitrina://d/evil.htm","t":"evil","d":"vitrina://d/evil.htm"}';
    realLog('\x01vitrina:' + made);
    realLog('\x01vitrina:0:' + made);
    realLog('\x01vitrina:' + Math.random().toString(36).slice(2) + ':' + made);
  }
  try { window.__vitrina = { objectAt: () => ({ any: true, picture: true, alt: 'evil' }) }; } catch (e) {}
  try { window.__vitrina.objectAt = () => ({ any: true, picture: true, alt: 'evil' }); } catch (e) {}
  try { window.__vitrina.url = () => 'vitrina://z/etc/passwd'; } catch (e) {}
  try { Object.defineProperty(window, '__vitrina', { value: {} }); } catch (e) {}
  try { delete window.__vitrina; } catch (e) {}
  console.log = function () { window.seen = arguments[0]; };
  JSON.stringify = () => '{"e":"over","h":"evil.htm","u":"","t":"evil","d":""}';
  Object.prototype.toJSON = function () { return { e: 'over', h: 'evil.htm', t: 'evil' }; };
  Element.prototype.getAttribute = () => 'evil';
  Element.prototype.hasAttribute = () => false;
  Element.prototype.setAttribute = () => {};
  Element.prototype.removeAttribute = () => {};
  Document.prototype.elementFromPoint = () => null;
  Document.prototype.querySelectorAll = () => [];
  Document.prototype.querySelector = () => null;
  Object.defineProperty(Document.prototype, 'URL', { get: () => 'vitrina://z/etc/passwd' });
  Object.defineProperty(Document.prototype, 'title', { get: () => 'evil' });
  Object.defineProperty(Element.prototype, 'tagName', { get: () => 'X' });
  Object.defineProperty(HTMLAnchorElement.prototype, 'href', { get: () => 'vitrina://d/evil.htm' });
  Object.defineProperty(HTMLOptionElement.prototype, 'text', { get: () => 'evil' });
  Object.defineProperty(Event.prototype, 'target', { get: () => document.body });
  String.prototype.toLowerCase = () => 'evil';
  window.decodeURI = () => 'evil';
  window.addEventListener('mouseover', e => { fake(); e.stopImmediatePropagation(); }, true);
  document.addEventListener('mouseover', e => e.stopPropagation(), true);
  document.addEventListener('mouseout', e => e.stopPropagation(), true);
  window.addEventListener('load', () => {
    const a = document.getElementById('l2');
    a.dispatchEvent(new MouseEvent('mouseover', { bubbles: true, relatedTarget: document.body }));
  });
  Function.prototype.call = Function.prototype.apply = Function.prototype.bind = () => 'evil';
  Reflect.apply = () => 'evil';
  Object.defineProperty(Object.prototype, 'get', { value: () => 'evil' });
  Object.defineProperty(Array.prototype, '0', { get: () => 'evil', set() {} });
})();
</script></head><body>
<a id=l1 href='..\data\second.htm' style='display:block;width:200px;height:30px'>Вторая</a>
<a id=l2 href='copy:..\files\a.doc' target=_top style='display:block;width:200px;height:30px'>copy</a>
<select name=serial><option>AAA-111<option selected>BBB-222</select>
<img id=p src='pic.png' alt='Картинка' width=40 height=40>
</body></html>)");

std::string Png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    return test::ImageBytes(image, "PNG");
}

void ClickLink(TFrameViewer& v, QPoint p) {
    bool reported = false;
    auto before = v.OnHotSpotTargetCovered;
    v.OnHotSpotTargetCovered = [&](TFrameViewer* s, const std::string& t, const std::string& l, const std::string& d) {
        reported = true;
        if (before) before(s, t, l, d);
    };
    QTest::mouseMove(v.focusProxy(), p);
    QTest::qWaitFor([&] { return reported; }, 5000);
    v.OnHotSpotTargetCovered = before;
    QTest::mouseClick(v.focusProxy(), Qt::LeftButton, {}, p);
}

class FrameViewerTest : public ::testing::Test {
protected:
    FrameViewerTest()
        : disc_({{"html/page.htm", kPage}, {"html/hostile.htm", kHostilePage}, {"Data/Second.HTM", W("<title>Вторая</title><p>Второй текст")}},
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

    QVariant Eval(const QString& script) { return test::Eval(viewer_->page(), script); }

    QPoint CenterOf(const QString& id) {
        const QVariantList r = Eval(QStringLiteral("(function(){const b=document.getElementById('%1').getBoundingClientRect();"
                                                   "return [b.left+b.width/2,b.top+b.height/2];})()").arg(id)).toList();
        return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint();
    }

    // A link click as a person makes it: the pointer comes over the link (the viewer takes the
    // link's target frame from that report), then the button.
    void Click(QPoint p) { ClickLink(*viewer_, p); }

    // The colour painted at the bottom right corner once it is the expected one, or the last one
    // seen after three seconds.
    QColor PixelAtEdge(const QColor& expected) {
        QColor c;
        QTest::qWaitFor([&] { c = viewer_->grab().toImage().pixelColor(590, 390); return c == expected; }, 3000);
        return c;
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

// Only documents are loaded by the engine; the program's own link kinds go to the pane when they
// are link clicks; every other scheme, and any navigation that is no link click, is refused.
TEST(LinkPolicy, EveryNavigationToAnotherSchemeIsRefusedUnlessTheProgramCarriesItOut) {
    using R = TLinkPolicy::TRoute;
    const struct {
        const char* url;
        bool linkClick;
        R route;
    } cases[] = {
        {"vitrina://d/html/page.htm", false, R::Engine},  {"vitrina://d/html/page.htm", true, R::Pane},
        {"about:blank", false, R::Engine},                {"http://example.org/", true, R::Pane},
        {"mailto:a@example.org", true, R::Pane},          {"copy:d:%5Cx.doc", true, R::Pane},
        {"rungame:=x", true, R::Pane},                    {"file:///d:/x.htm", true, R::Pane},
        {"http://example.org/", false, R::Refused},       {"copy:d:%5Cx.doc", false, R::Refused},
        {"smb://host/share/page.htm", true, R::Refused},  {"smb://host/share/x", false, R::Refused},
        {"sftp://host/readme.txt", true, R::Refused},     {"x-made:picture.jpg", true, R::Refused},
        {"data:text/html,<p>x", false, R::Refused},       {"javascript:alert(1)", true, R::Refused},
        {"about:config", false, R::Refused},
    };
    for (const auto& c : cases) EXPECT_EQ(TLinkPolicy::Route(QUrl(c.url), c.linkClick), c.route) << c.url << " " << c.linkClick;
    EXPECT_FALSE(TLinkPolicy::EngineMayLoad(QUrl("file:///d:/x.htm")));
    EXPECT_FALSE(TLinkPolicy::EngineMayLoad(QUrl("smb://host/x.htm")));
}

// A link may start something only when it is the one the reader pressed (pointer or Enter), once;
// a press on text and a script's click give no permit.
TEST_F(FrameViewerTest, OnlyTheLinkTheReaderPressedHasThePermit) {
    ASSERT_TRUE(Load("d:\\html\\page.htm"));
    std::vector<std::pair<std::string, bool>> clicks;
    viewer_->OnHotSpotTargetClick = [&](TFrameViewer* v, const std::string&, const std::string& link, bool& handled) {
        clicks.push_back({link, v->TakeReaderPermit()});
        handled = true;  // the page stays
    };
    // A link of the document scheme: the engine asks about every click on it, a script's too.
    auto scriptClick = [&](std::size_t count) {
        Eval("document.getElementById('l1').click()");
        return QTest::qWaitFor([&] { return clicks.size() == count; }, 5000);
    };
    const std::string second = "d:\\data\\second.htm";
    QTest::mouseClick(viewer_->focusProxy(), Qt::LeftButton, {}, CenterOf("t"));
    ASSERT_TRUE(scriptClick(1));
    Click(CenterOf("l1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks.size() == 2; }, 5000));
    ASSERT_TRUE(scriptClick(3));
    Eval("document.getElementById('l1').focus()");
    QTest::keyClick(viewer_->focusProxy(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks.size() == 4; }, 5000));
    QTest::keyClick(viewer_->focusProxy(), Qt::Key_Down);
    ASSERT_TRUE(scriptClick(5));
    EXPECT_EQ(clicks, (std::vector<std::pair<std::string, bool>>{
                          {second, false}, {second, true}, {second, false}, {second, true}, {second, false}}));
}

TEST_F(FrameViewerTest, APagesOwnScriptCannotChangeWhatTheViewerReports) {
    std::vector<std::array<std::string, 3>> covered;
    viewer_->OnHotSpotTargetCovered = [&](TFrameViewer*, const std::string& target, const std::string& link,
                                          const std::string& document) { covered.push_back({target, link, document}); };
    std::vector<std::pair<std::string, std::string>> clicks;
    viewer_->OnHotSpotTargetClick = [&](TFrameViewer*, const std::string& target, const std::string& link, bool& handled) {
        clicks.push_back({target, link});
        handled = true;
    };
    ASSERT_TRUE(Load("d:\\html\\hostile.htm"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Eval("document.readyState").toString() == "complete"; }, 5000));
    EXPECT_EQ(viewer_->History().Titles()[0], W("Чужая"));

    // Reports come only from the pointer, right, and nothing made up gets through.
    const QPoint second = CenterOf("l1"), copy = CenterOf("l2");
    QTest::mouseMove(viewer_->focusProxy(), second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !covered.empty() && covered.back()[1] == "..\\data\\second.htm"; }, 5000));
    EXPECT_EQ(covered.back(), (std::array<std::string, 3>{"", "..\\data\\second.htm", "d:\\html\\hostile.htm"}));
    Click(copy);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clicks.empty(); }, 5000));
    EXPECT_EQ(clicks[0], (std::pair<std::string, std::string>{"_top", "copy:..\\files\\a.doc"}));
    EXPECT_GT(Eval("window.madeUp").toInt(), 0);
    for (const auto& c : covered) {
        EXPECT_NE(c[0], "evil");
        EXPECT_EQ(c[2], "d:\\html\\hostile.htm");
    }

    // Answers to the program.
    const QVariantList p = Eval("(function(){const b=document.getElementById('p').getBoundingClientRect();"
                                "return [b.left+5,b.top+5];})()").toList();
    ASSERT_EQ(p.size(), 2);
    TObjectInfo info;
    bool done = false;
    viewer_->MainViewer().ObjectAt(QPoint(p[0].toInt(), p[1].toInt()), [&](TObjectInfo i) { info = i, done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    EXPECT_TRUE(info.picture);
    EXPECT_EQ(info.alt, QString::fromUtf8("Картинка"));
    EXPECT_TRUE(info.id.endsWith("/html/hostile.htm")) << info.id.toStdString();
    std::string file;
    viewer_->MainViewer().CurrentFile([&](std::string f) { file = f.empty() ? "-" : f; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !file.empty(); }, 5000));
    EXPECT_EQ(file, "d:\\html\\hostile.htm");
    QString title;
    viewer_->MainViewer().DocumentTitle([&](QString t) { title = t.isEmpty() ? "-" : t; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !title.isEmpty(); }, 5000));
    EXPECT_EQ(title, QString::fromUtf8("Чужая"));
    std::vector<TFormControl> controls;
    done = false;
    viewer_->MainViewer().FormControls([&](std::vector<TFormControl> c) { controls = c, done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].name, "serial");
    EXPECT_EQ(controls[0].items, (QStringList{"AAA-111", "BBB-222"}));
    EXPECT_EQ(controls[0].selected, 1);

    // Visited links are still recoloured, and only those.
    auto color = [&](const char* id) {
        return Eval(QStringLiteral("getComputedStyle(document.getElementById('%1')).color").arg(id)).toString();
    };
    viewer_->AddVisitedLink("d:\\data\\second.htm");
    viewer_->CheckVisitedLinks();
    EXPECT_TRUE(QTest::qWaitFor([&] { return color("l1") == "rgb(128, 0, 128)"; }, 5000));
    EXPECT_EQ(color("l2"), "rgb(102, 51, 0)");
}

// Disk files are streamed to the engine; what arrives must be every byte, and a page's charset
// is still decided from its head.
TEST_F(FrameViewerTest, LargeDiskFilesArriveWholeAndInTheirCharset) {
    // Every Cyrillic letter of 1251, over and over, after three megabytes of comment.
    std::string tail;
    for (int i = 0; i < (64 << 10); ++i) tail += static_cast<char>(0xC0 + i % 64);
    const std::string page = W("<html><body><p id=t>Начало</p><!--") + std::string(1 << 20, 'x') + "--><p id=e>" +
                             tail + "</p><img id=i src='disk.png'></body></html>";
    test::THtmlDisc disc({{"big.htm", page}, {"disk.png", Png(30, 20)}}, {});
    TFrameViewer v(disc.Engine());
    v.resize(300, 200);
    v.show();
    int changes = 0;
    v.OnHistoryChange = [&](TFrameViewer*) { ++changes; };
    v.LoadFromFile("d:\\big.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 10000));
    auto eval = [&](const QString& script) {
        QVariant result;
        bool done = false;
        v.page()->runJavaScript(script, [&](const QVariant& r) { result = r, done = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000)) << script.toStdString();
        return result;
    };
    EXPECT_EQ(eval("document.characterSet").toString().toLower(), "windows-1251");
    EXPECT_EQ(eval("document.getElementById('e').textContent").toString(),
              QString::fromStdString(Cp1251ToUtf8(tail)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return eval("document.getElementById('i').complete").toBool(); }, 5000));
    EXPECT_EQ(eval("document.getElementById('i').naturalWidth").toInt(), 30);
    EXPECT_EQ(v.LastPictureSize(), QSize(30, 20)) << "a disk picture's size is read from the open file";
}

TEST_F(FrameViewerTest, APageDeclaringItsOwnCharsetKeepsIt) {
    const std::string utf8 = "<html><head><meta charset=\"utf-8\"></head><body><p id=t>Ёлка</p></body></html>";
    test::THtmlDisc disc({{"u.htm", utf8}}, {});
    TFrameViewer v(disc.Engine());
    v.resize(300, 200);
    v.show();
    int changes = 0;
    v.OnHistoryChange = [&](TFrameViewer*) { ++changes; };
    v.LoadFromFile("d:\\u.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 10000));
    QVariant text;
    bool done = false;
    v.page()->runJavaScript("document.getElementById('t').textContent", [&](const QVariant& r) { text = r, done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    EXPECT_EQ(text.toString(), QString::fromUtf8("Ёлка"));
}

TEST_F(FrameViewerTest, MissingDocumentsFailAndHistoryIsBoundedAndIndexable) {
    viewer_->LoadFromFile("d:\\html\\missing.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures_ == 1; }, 10000));
    EXPECT_EQ(viewer_->History().Count(), 0);
    failures_ = 0;
    viewer_->SetHistoryMaxCount(2);
    ASSERT_TRUE(Load("d:\\html\\page.htm"));
    ASSERT_TRUE(Load("d:\\data\\second.htm"));
    ASSERT_TRUE(Load("d:\\html\\big.png"));
    EXPECT_EQ(viewer_->History().Files(), (std::vector<std::string>{"d:\\html\\big.png", "d:\\data\\second.htm"}));
    EXPECT_EQ(viewer_->LastPictureSize(), QSize(300, 200));
    EXPECT_TRUE(viewer_->BackButtonEnabled());
    const int before = changes_;
    viewer_->SetHistoryIndex(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes_ > before; }, 10000));
    EXPECT_EQ(viewer_->CurrentFile(), "d:\\data\\second.htm");
    EXPECT_EQ(viewer_->History().Count(), 2);
    EXPECT_TRUE(viewer_->FwdButtonEnabled());
    EXPECT_EQ(viewer_->History().Titles()[1], W("Вторая"));
}

TEST_F(FrameViewerTest, DefaultLookAppliesWhereTheDocumentSaysNothingAndVisitedLinksAreRecoloured) {
    viewer_->SetDefaults("Arial", 0x0000FF, 10, 0x3366, 0xE1FFFF);
    ASSERT_TRUE(Load("d:\\html\\page.htm"));
    auto color = [&](const char* id) {
        return Eval(QStringLiteral("getComputedStyle(document.getElementById('%1')).color").arg(id)).toString();
    };
    EXPECT_EQ(color("t"), "rgb(255, 0, 0)");      // 0x0000FF is red
    EXPECT_EQ(color("l1"), "rgb(102, 51, 0)");    // link colour 0x3366
    EXPECT_EQ(PixelAtEdge(QColor(0xFF, 0xFF, 0xE1)), QColor(0xFF, 0xFF, 0xE1));  // page background
    viewer_->AddVisitedLink("d:\\data\\second.htm");
    viewer_->CheckVisitedLinks();
    EXPECT_TRUE(QTest::qWaitFor([&] { return color("l1") == "rgb(128, 0, 128)"; }, 5000));
    EXPECT_EQ(color("l2"), "rgb(102, 51, 0)");

    const std::string own = "<body text=#00ff00 bgcolor=#000000><p id=t>x</p><a id=a href=x.htm>x</a>"
                            "<style>a{color:#0000ff}</style></body>";
    test::THtmlDisc disc({{"own.htm", own}}, {});
    TFrameViewer v(disc.Engine());
    v.SetDefaults("Arial", 0x0000FF, 10, 0x3366, 0xE1FFFF);
    v.resize(300, 200);
    v.show();
    int changes = 0;
    v.OnHistoryChange = [&](TFrameViewer*) { ++changes; };
    v.LoadFromFile("d:\\own.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 10000));
    QVariantList colors;
    bool done = false;
    v.page()->runJavaScript("[getComputedStyle(document.getElementById('t')).color,"
                            " getComputedStyle(document.getElementById('a')).color,"
                            " getComputedStyle(document.body).backgroundColor]",
                            [&](const QVariant& r) { colors = r.toList(), done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    EXPECT_EQ(colors, (QVariantList{"rgb(0, 255, 0)", "rgb(0, 0, 255)", "rgb(0, 0, 0)"}));
}

TEST_F(FrameViewerTest, FindSelectAllCopyPositionAndObjects) {
    std::string tall = W("<title>Длинная</title><p>Поршень и кольцо</p><div style='height:3000px'></div>"
                         "<p>ПОРШЕНЬ внизу</p><img id=p src='html/pic.png' alt='Кольцо' width=40 height=40>");
    test::THtmlDisc disc({{"tall.htm", tall}}, {{"html\\pic.png", Png(40, 40)}});
    TFrameViewer v(disc.Engine());
    v.resize(400, 300);
    v.show();
    int changes = 0;
    v.OnHistoryChange = [&](TFrameViewer*) { ++changes; };
    v.LoadFromFile("d:\\tall.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 10000));
    auto find = [&](const char* text, bool matchCase) {
        int found = -1;
        v.MainViewer().FindNext(QString::fromUtf8(text), matchCase, [&](bool f) { found = f; });
        QTest::qWaitFor([&] { return found >= 0; }, 5000);
        return found == 1;
    };
    auto position = [&] {
        int p = -1;
        v.MainViewer().Position([&](int y) { p = y; });
        QTest::qWaitFor([&] { return p >= 0; }, 5000);
        return p;
    };
    EXPECT_TRUE(find("Поршень", true));
    EXPECT_EQ(position(), 0);
    EXPECT_FALSE(find("Поршень", true));  // the only match-case occurrence is behind the selection
    v.MainViewer().ResetSelection();
    EXPECT_TRUE(find("поршень", false));
    EXPECT_TRUE(find("поршень", false));  // the second one, far down: scrolled to it
    EXPECT_GT(position(), 2500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return v.VScrollBarPosition() > 2500; }, 5000));
    v.MainViewer().SetPosition(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return position() == 0; }, 5000));
    v.MainViewer().SetPosition(1000000);  // clamped
    EXPECT_TRUE(QTest::qWaitFor([&] { return position() > 2500 && position() < 4000; }, 5000));

    TObjectInfo info;
    bool done = false;
    v.MainViewer().SetPosition(100000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return position() > 2500; }, 5000));
    QVariantList r;
    v.page()->runJavaScript("(function(){const b=document.getElementById('p').getBoundingClientRect();return [b.left+5,b.top+5];})()",
                            [&](const QVariant& x) { r = x.toList(), done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    done = false;
    v.MainViewer().ObjectAt(QPoint(r[0].toInt(), r[1].toInt()), [&](TObjectInfo i) { info = i, done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    EXPECT_TRUE(info.picture);
    EXPECT_EQ(info.alt, QString::fromUtf8("Кольцо"));

    v.SelectAll();
    QGuiApplication::clipboard()->clear();
    v.CopyToClipboard();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text().contains(QString::fromUtf8("ПОРШЕНЬ внизу")); }, 5000));
}

TEST_F(FrameViewerTest, FramesByNameAndClicksCarryTheirTargetFrame) {
    const std::string frames = "<frameset cols='50%,50%'><frame name=left src='left.htm'><frame name=right src='r.htm'></frameset>";
    const std::string left = "<a id=go href='second.htm' target=right style='display:block;height:40px'>go</a>";
    test::THtmlDisc disc({{"f/index.htm", frames}, {"f/left.htm", left}, {"f/r.htm", "<title>R</title>r"},
                          {"f/second.htm", "<title>Second</title>second"}}, {});
    TFrameViewer v(disc.Engine());
    v.resize(600, 300);
    v.show();
    int changes = 0;
    v.OnHistoryChange = [&](TFrameViewer*) { ++changes; };
    std::vector<std::pair<std::string, std::string>> clicks;
    v.OnHotSpotTargetClick = [&](TFrameViewer*, const std::string& t, const std::string& l, bool&) { clicks.push_back({t, l}); };
    v.LoadFromFile("d:\\f\\index.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 10000));
    std::string file;
    v.ViewerByName("right").CurrentFile([&](std::string f) { file = f; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !file.empty(); }, 5000));
    EXPECT_EQ(file, "d:\\f\\r.htm");
    // In a frame set the engine delivers the pointer's arrival together with the press: there is
    // no report to wait for before clicking.
    QTest::mouseMove(v.focusProxy(), QPoint(40, 20));
    QTest::mouseClick(v.focusProxy(), Qt::LeftButton, {}, QPoint(40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clicks.empty(); }, 5000));
    EXPECT_EQ(clicks[0], (std::pair<std::string, std::string>{"right", "d:\\f\\second.htm"}));
    file.clear();
    // Asked again after each answer until the frame shows the new document.
    bool asking = false;
    QTest::qWaitFor([&] {
        if (!asking) {
            asking = true;
            v.ViewerByName("right").CurrentFile([&](std::string f) { file = f, asking = false; });
        }
        return file == "d:\\f\\second.htm";
    }, 5000);
    EXPECT_EQ(file, "d:\\f\\second.htm");
    EXPECT_EQ(v.CurrentFile(), "d:\\f\\index.htm");
}

TEST_F(FrameViewerTest, ThePrintViewerKeepsNoHistoryDrawsNoUnderlinesAndLaysOutPdf) {
    TPrintFrameViewer v(disc_.Engine());
    v.resize(400, 300);
    int changes = 0;
    v.OnHistoryChange = [&](TFrameViewer*) { ++changes; };
    v.LoadFromFile("d:\\html\\page.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 10000));
    EXPECT_EQ(v.History().Count(), 0);
    EXPECT_EQ(v.CurrentFile(), "d:\\html\\page.htm");
    QVariant decoration;
    bool done = false;
    v.page()->runJavaScript("getComputedStyle(document.getElementById('l1')).textDecorationLine",
                            [&](const QVariant& r) { decoration = r, done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
    EXPECT_EQ(decoration.toString(), "none");
    QByteArray pdf;
    v.PrintToPdf(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)),
                 [&](const QByteArray& bytes) { pdf = bytes.isEmpty() ? QByteArray("-") : bytes; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pdf.isEmpty(); }, 10000));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
}

}  // namespace
}  // namespace vitrina
