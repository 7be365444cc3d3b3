#include "panes/html_frame.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "dialogs/font_form.h"
#include "html/html_fixture.h"
#include "panes/html_font_chooser.h"
#include "platform/registry.h"
#include "print/page_number_header.h"
#include "session/settings.h"
#include "support/image_bytes.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;
using test::W;

std::string Png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return test::ImageBytes(image, "PNG");
}

std::string Block(const char* id, const char* href, const char* extra = "") {
    return std::string("<a id=") + id + " href='" + href + "' " + extra +
           " style='display:block;width:300px;height:24px'>" + id + "</a>";
}

const std::string kStart = W("<html><head><title>Начало</title></head><body>") + Block("engine", "engine.htm") +
                           Block("copy", "copy:..\\files\\manual.doc") +
                           Block("game", "rungame:=d:\\games\\setup.exe=Tetris") +
                           Block("zip", "..\\soft\\tool.zip") + Block("exe", "e:\\soft\\tool.exe") +
                           Block("blank", "big.png", "target=_blank") + Block("list", "copylist:Serial") +
                           Block("encoded", "copy:x%2F..%2F..%2Fprofile") +
                           "<select name=serial><option>AAA-111<option selected>BBB-222</select>"
                           "<img id=pic src='pic.png' alt='" + W("Поршень") + "' width=60 height=60>"
                           "<img id=bare src='pic.png' width=60 height=60></body></html>";

// Records what the pane asks of the window and of the parts built elsewhere.
class TRecordingHost : public THtmlFrameHost {
public:
    int CurrentScreen() const override { return screen; }
    void PressWithShift(int x, int y) override { presses.push_back({x, y}); }
    void ExecuteCommand(const std::string& command) override { commands.push_back(command); }
    void Beep() override { ++beeps; }
    void SetTitleText(const std::string& text) override { title = text; }
    void ShowStatus(const std::string& text) override { status.push_back(text); }
    bool PathInputExists() const override { return !path.empty(); }
    std::string CurrentPath() const override { return path; }
    bool StatusBarExists() const override { return true; }
    void ShowStatusBarText(const std::string& text) override { statusBar = text; }
    void TreeFollowDocument(const std::string& file) override { tree.push_back(file); }
    void OpenPictureWindow(const std::string& file) override { pictures.push_back(file); }
    void RunProgram(const std::string& file, const std::string& folder) override { programs.push_back(file); }
    fs::path AskZipTarget(const fs::path& initialFolder, const std::string& name) override {
        zipAsked.push_back(initialFolder);
        return zipAnswer.empty() ? fs::path() : zipAnswer / name;
    }
    void ClosePopups() override { ++popupsClosed; }
    void OpenPopup(int type, int, int) override { popups.push_back(type); }
    void ClearSkinHover() override {}
    QRect DocumentPanelClientRect() const override { return {}; }
    void RefreshNavigation() override {}
    void UpdateChapterHints() override {}
    void ShellOpen(const std::string& target, const std::string&) override { opened.push_back(target); }

    int screen = 1;
    std::string path;
    std::vector<TPoint> presses;
    std::vector<std::string> commands, status, tree, pictures, programs, opened;
    std::vector<fs::path> zipAsked;
    fs::path zipAnswer;
    std::string title, statusBar;
    int beeps = 0, popupsClosed = 0;
    std::vector<int> popups;
};

class HtmlFrameTest : public ::testing::Test {
protected:
    HtmlFrameTest()
        : disc_({{"html/start.htm", kStart},
                 {"html/Engine.htm", W("<title>Двигатель</title><p>Двигатель") + Block("back", "start.htm")},
                 {"html/other.htm", "<title>Other</title><p>other"},
                 {"html/timer.htm", "<p id=text style='height:40px'>text</p>" + Block("copy", "copy:..\\files\\manual.doc") +
                                        "<a id=hidden href='copy:..\\files\\manual.doc' style='display:none'>x</a>"
                                        "<script>window.ticks = 0; setInterval(() => { ++window.ticks;"
                                        " document.getElementById('hidden').click(); }, 100);</script>"},
                 {"files/manual.doc", "manual"},
                 {"profile", "the disc's own"},
                 {"soft/tool.zip", "PK-zip"},
                 {"html/saved.htm", "<title>Saved</title><img src='saved.files/a.png'>"},
                 {"html/saved.files/a.png", Png(4, 4)},
                 {"html/saved.files/sub/b.txt", "b"}},
                {{"html\\pic.png", Png(60, 60)}, {"html\\big.png", Png(320, 200)}, {"html\\stored.htm", "<p>stored"}}),
          registry_(disc_.Root() / "config") {
        window_.resize(800, 600);
        panel_ = new QWidget(&window_);
        panel_->setGeometry(0, 100, 800, 500);
        window_.show();
        host_.path = "c:\\mine\\";
    }

    std::unique_ptr<THtmlFrame> Make(const TDynamicHtmlArray& areas, IHtmlFonts* fonts = nullptr) {
        THtmlFrameServices services{disc_.Engine(), disc_.Files(), disc_.Drives(), registry_, "Test", &window_, panel_, host_};
        services.fonts = fonts;
        return THtmlFrame::CreateHtmlPane(areas, services);
    }
    static TDynamicHtmlArray Areas() {
        TDynamicHtmlArray areas(3);
        areas[0] = {.vx = 10, .vy = 20, .vw = 410, .vh = 320, .fn = "html\\start.htm", .number = 20, .screen = 1};
        areas[1] = {.vx = 50, .vy = 60, .vw = 450, .vh = 360, .fn = "html\\other.htm", .number = 5, .screen = 2};
        areas[2] = {.vx = 0, .vy = 0, .vw = 100, .vh = 100, .fn = "", .number = 21, .screen = 1};
        return areas;
    }

    // Waits until the viewer shows the file (the engine loads in another process).
    static bool Shows(TFrameViewer* v, const std::string& file) {
        return QTest::qWaitFor([&] { return !v->Loading() && SameText1251(v->CurrentFile(), file); }, 10000);
    }
    static QPoint CenterOf(TFrameViewer* v, const char* id) {
        const QVariantList r = test::Eval(v->page(), QStringLiteral("(function(){const b=document.getElementById('%1').getBoundingClientRect();"
                                                      "return [b.left+b.width/2,b.top+b.height/2];})()")
                                           .arg(id))
                                   .toList();
        return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint();
    }
    static void Hover(TFrameViewer* v, QPoint p) {
        QTest::mouseMove(v->focusProxy(), p);
        QTest::qWait(50);
    }
    static void Click(TFrameViewer* v, const char* id) {
        const QPoint p = CenterOf(v, id);
        Hover(v, p);
        QTest::mouseClick(v->focusProxy(), Qt::LeftButton, {}, p);
    }

    test::THtmlDisc disc_;
    TRegistry registry_;
    QWidget window_;
    QWidget* panel_;
    TRecordingHost host_;
};

TEST_F(HtmlFrameTest, NoAreasNoPaneAndOneViewerPerScreenInOrderOfAppearance) {
    EXPECT_EQ(Make({}), nullptr);
    auto pane = Make(Areas());
    ASSERT_TRUE(pane);
    EXPECT_EQ(pane->ViewerScreens, (TDynamicIntegerArray{1, 2}));
    EXPECT_EQ(pane->Viewers.size(), 2u);
    EXPECT_EQ(pane->AreaDocuments[0], "d:\\html\\start.htm");
    EXPECT_EQ(pane->AreaRects[1], QRect(50, 60, 400, 300));
    TFrameViewer* v = pane->Viewers[0];
    EXPECT_EQ(v->HistoryMaxCount(), 10);
    EXPECT_EQ(v->VisitedMaxCount(), 20);
    EXPECT_EQ(v->fvOptions(), unsigned(fvNoBorder | fvOverLinksActive));
    EXPECT_EQ(v->DefOverLinkColor(), 255);
}

TEST_F(HtmlFrameTest, FontValuesComeFromTheSettingsAndGoBackFromTheCurrentViewer) {
    {
        auto pane = Make(Areas());
        EXPECT_EQ(pane->FontName, "Arial");
        EXPECT_EQ(pane->FontSize, 8);
        EXPECT_EQ(pane->HotSpotColor, 0x3366);
        EXPECT_EQ(pane->Background, 0xFFFFFF);
        pane->Viewers[0]->SetDefaults("Verdana", 0x112233, 12, 0xFF, 0xEEEEEE);
    }
    ASSERT_TRUE(registry_.OpenKey(SettingsKey("Test"), false));
    EXPECT_EQ(registry_.ReadString("FontName"), "Verdana");
    EXPECT_EQ(registry_.ReadInteger("FontSize"), 12);
    auto again = Make(Areas());
    EXPECT_EQ(again->FontName, "Verdana");
    EXPECT_EQ(again->FontColor, 0x112233);
    EXPECT_EQ(again->Background, 0xEEEEEE);
    EXPECT_EQ(again->Viewers[0]->DefFontSize(), 12);
}

TEST_F(HtmlFrameTest, ScreenViewersAreShownPlacedAndHiddenOnSwitches) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    // A screen's viewer is made when that screen first comes: making one starts the engine.
    EXPECT_FALSE(pane->Viewers[1]);
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    // Screen index 1: the viewer fills the document panel whatever the area says.
    EXPECT_EQ(doc->parentWidget(), panel_);
    EXPECT_EQ(doc->geometry(), panel_->rect());
    EXPECT_TRUE(doc->isVisible());
    EXPECT_EQ(host_.title, W("Начало  "));

    host_.screen = 2;
    pane->ShowScreenViewer();
    TFrameViewer* other = pane->Viewers[1];
    ASSERT_TRUE(other);
    EXPECT_TRUE(doc->isHidden());
    EXPECT_EQ(other->parentWidget(), &window_);
    EXPECT_EQ(other->geometry(), QRect(50, 60, 400, 300));
    ASSERT_TRUE(Shows(other, "d:\\html\\other.htm"));
    pane->ShowScreenViewer();  // the same screen again keeps its viewer
    EXPECT_TRUE(other->isVisible());

    host_.screen = 0;  // a screen without areas hides the last viewer
    pane->ShowScreenViewer();
    EXPECT_TRUE(other->isHidden());
    EXPECT_EQ(pane->CurrentViewer, 1);
}

TEST_F(HtmlFrameTest, DocumentsForAnotherScreenWaitThereAndRepeatedDocumentsUseTheHistory) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    pane->OpenInArea(5, "d:\\html\\engine.htm");
    TFrameViewer* other = pane->Viewers[1];
    ASSERT_TRUE(other);
    ASSERT_TRUE(Shows(other, "d:\\html\\engine.htm"));
    EXPECT_TRUE(other->isHidden());
    EXPECT_TRUE(doc->isVisible());
    host_.screen = 2;
    pane->ShowScreenViewer();
    EXPECT_TRUE(other->isVisible());
    EXPECT_EQ(other->CurrentFile(), "d:\\html\\engine.htm");  // kept, not the area's own document
    EXPECT_EQ(other->History().Count(), 1);

    host_.screen = 1;
    pane->ShowScreenViewer();
    pane->OpenInArea(20, "d:\\html\\other.htm");
    ASSERT_TRUE(Shows(doc, "d:\\html\\other.htm"));
    pane->OpenInArea(20, "D:\\HTML\\START.HTM");
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    EXPECT_EQ(doc->History().Count(), 2);
    EXPECT_EQ(doc->HistoryIndex(), 1);
    pane->OpenInArea(20, "");  // the area's initial document
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    EXPECT_EQ(doc->History().Count(), 2);
    pane->OpenInArea(99, "d:\\html\\other.htm");  // no such area: nothing
    EXPECT_EQ(doc->History().Count(), 2);
}

TEST_F(HtmlFrameTest, ADocumentThatFailsToLoadHidesItsViewerAndTheNextOneShowsAgain) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    pane->OpenInArea(20, "d:\\html\\missing.htm");
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc->isHidden(); }, 10000));
    pane->OpenInArea(20, "d:\\html\\stored.htm");  // held only in the store
    ASSERT_TRUE(Shows(doc, "d:\\html\\stored.htm"));
    EXPECT_TRUE(doc->isVisible());
}

TEST_F(HtmlFrameTest, ClickedLinksOfEachKindDoWhatTheyShould) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    const fs::path user = disc_.Root() / "user";

    Click(doc, "copy");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(user / "mine" / "manual.doc"); }, 5000));
    Click(doc, "game");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.commands.empty(); }, 5000));
    EXPECT_EQ(host_.commands[0], "rungame=d:\\games\\setup.exe=Tetris");
    Click(doc, "blank");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.pictures.empty(); }, 5000));
    EXPECT_EQ(host_.pictures[0], "d:\\html\\big.png");
    Click(doc, "exe");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.programs.empty(); }, 5000));
    EXPECT_EQ(host_.programs[0], "d:\\soft\\tool.exe");  // from the disc's drive

    host_.zipAnswer = user / "zips";
    Click(doc, "zip");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(user / "zips" / "tool.zip"); }, 5000));
    Click(doc, "zip");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host_.zipAsked.size() == 2; }, 5000));
    EXPECT_EQ(host_.zipAsked[0], fs::path());
    EXPECT_EQ(host_.zipAsked[1], user / "zips");  // the folder chosen the time before

    EXPECT_EQ(doc->CurrentFile(), "d:\\html\\start.htm");  // none of them left the page
    EXPECT_TRUE(doc->Visited().Contains("d:\\html\\big.png"));

    Click(doc, "engine");  // an ordinary page: the engine follows it, the tree follows too
    ASSERT_TRUE(Shows(doc, "d:\\html\\engine.htm"));
    EXPECT_EQ(host_.tree, (std::vector<std::string>{"d:\\html\\engine.htm"}));
    EXPECT_EQ(doc->History().Count(), 2);
    EXPECT_EQ(host_.title, W("Двигатель  "));
}

// A copy: link whose name hides separators and ".." behind %2F once wrote beside (or above) the
// path box's folder instead of into it.
TEST_F(HtmlFrameTest, ACopyLinkWithEncodedSeparatorsCopiesIntoThePathBoxFolderOnly) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    const fs::path user = disc_.Root() / "user";
    Click(doc, "encoded");
    // The copy runs right after the link's decision; wait for it to land in either place.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(user / "mine" / "profile") || fs::exists(user / "profile"); }, 5000));
    EXPECT_FALSE(fs::exists(user / "profile"));
    EXPECT_TRUE(fs::exists(user / "mine" / "profile"));
    for (const auto& entry : fs::recursive_directory_iterator(user))
        EXPECT_TRUE(entry.path() == user / "mine" || entry.path() == user / "mine" / "profile") << entry.path();
}

// A copy starts from the reader's press on that link only: a press on text lends the page's timer
// nothing, and the link the reader pressed copies once.
TEST_F(HtmlFrameTest, ACopyLinkCopiesOnlyWhenTheReaderPressedIt) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    pane->OpenInArea(20, "d:\\html\\timer.htm");
    ASSERT_TRUE(Shows(doc, "d:\\html\\timer.htm"));
    const fs::path copied = disc_.Root() / "user" / "mine" / "manual.doc";
    auto ticks = [&] { return test::Eval(doc->page(), "window.ticks").toInt(); };
    Click(doc, "text");
    const int from = ticks();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks() >= from + 4; }, 10000));
    EXPECT_FALSE(fs::exists(copied));
    Click(doc, "copy");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(copied); }, 5000));
    fs::remove(copied);
    const int after = ticks();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks() >= after + 4; }, 10000));
    EXPECT_FALSE(fs::exists(copied));
}

TEST_F(HtmlFrameTest, ListEntriesAreCopiedFromDropDownListsOnly) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    QGuiApplication::clipboard()->setText("before");
    Click(doc, "list");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.status.empty(); }, 5000));
    EXPECT_EQ(host_.status.back(), W("Серийный номер скопирован"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "BBB-222");
    host_.status.clear();
    pane->CopyListEntry("pic");  // not a list: nothing copied, nothing shown
    test::Eval(doc->page(), "0");  // the page answers in order: the copy's question has been answered
    EXPECT_TRUE(host_.status.empty());
}

TEST_F(HtmlFrameTest, TheLinkUnderThePointerIsShownInTheStatusBar) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    Hover(doc, CenterOf(doc, "copy"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.statusBar.empty(); }, 5000));
    EXPECT_EQ(host_.statusBar, W("Копирование файла \"d:\\files\\manual.doc\" в каталог \"c:\\mine\\\""));
    Hover(doc, CenterOf(doc, "engine"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host_.statusBar == "d:\\html\\engine.htm"; }, 5000));
    Hover(doc, QPoint(700, 5));  // off every link
    ASSERT_TRUE(QTest::qWaitFor([&] { return host_.statusBar.empty(); }, 5000));
}

TEST_F(HtmlFrameTest, BackAndForwardPressTheSwitchesOfTheVisitGroup) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    TDynamicSwthOneArray switches(1);
    switches[0] = {.vx = 100, .vy = 200, .goup = "html20=d:\\html\\start.htm", .state = true};
    TDynamicSwthGrpArray groups(2);
    groups[0] = {.vx = 300, .vy = 400, .go = "html20=d:\\html\\engine.htm"};
    groups[1] = {.vx = 500, .vy = 600, .go = "html20=d:\\html\\start.htm"};

    pane->Back(switches, groups);  // nowhere to go
    EXPECT_EQ(host_.beeps, 1);

    pane->RememberVisit("d:\\html\\engine.htm");
    pane->OpenInArea(20, "d:\\html\\engine.htm");
    ASSERT_TRUE(Shows(doc, "d:\\html\\engine.htm"));
    Click(doc, "back");  // reached from the engine page: joins its group
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    ASSERT_EQ(pane->VisitGroups[0].Groups().size(), 1u);
    EXPECT_EQ(pane->VisitGroups[0].Groups()[0], "d:\\html\\engine.htm; d:\\html\\start.htm");

    pane->Back(switches, groups);
    ASSERT_TRUE(Shows(doc, "d:\\html\\engine.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host_.presses.empty(); }, 5000));
    EXPECT_EQ(host_.presses, (std::vector<TPoint>{{301, 401}}));
    host_.presses.clear();
    pane->Forward(switches, groups);
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    QTest::qWait(100);
    EXPECT_EQ(host_.presses, (std::vector<TPoint>{{301, 401}}));  // the group's first document
    pane->Forward(switches, groups);
    EXPECT_EQ(host_.beeps, 2);
}

TEST_F(HtmlFrameTest, PictureHintsShowAfterTwoTicksForPicturesWithAlternativeTextOnly) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    pane->HintTimer.setInterval(60000);  // the test drives the ticks itself
    Hover(doc, CenterOf(doc, "pic"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->HintTimer.isActive(); }, 5000));
    auto tick = [&] {
        const int before = pane->HintTicks;
        pane->HintTimerTick();
        test::Eval(doc->page(), "0");  // the page answers in order: the tick's question has been answered
        return before;
    };
    tick();
    EXPECT_FALSE(pane->HintShown());
    tick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->HintShown(); }, 2000));
    EXPECT_EQ(pane->HintWindow->text(), QString::fromUtf8("Поршень"));
    EXPECT_TRUE(pane->HintWindow->isVisible());
    while (pane->HintTimer.isActive() && pane->HintTicks < 25) tick();
    EXPECT_FALSE(pane->HintWindow->isVisible());
    EXPECT_GE(pane->HintTicks, 21);

    Hover(doc, CenterOf(doc, "bare"));  // no alternative text: no timer
    QTest::qWait(200);
    EXPECT_FALSE(pane->HintTimer.isActive());
}

TEST_F(HtmlFrameTest, CopyDocumentCopiesDiskDocumentsWithTheirFilesFolder) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    pane->OpenInArea(20, "d:\\html\\saved.htm");
    ASSERT_TRUE(Shows(doc, "d:\\html\\saved.htm"));
    pane->CopyDocument();
    const fs::path mine = disc_.Root() / "user" / "mine";
    EXPECT_TRUE(fs::exists(mine / "saved.htm"));
    EXPECT_TRUE(fs::exists(mine / "saved.files" / "a.png"));
    EXPECT_TRUE(fs::exists(mine / "saved.files" / "sub" / "b.txt"));
    EXPECT_EQ(host_.status, (std::vector<std::string>{W("Файл скопирован")}));

    pane->OpenInArea(20, "d:\\html\\stored.htm");  // only in the store: nothing copied, still said
    ASSERT_TRUE(Shows(doc, "d:\\html\\stored.htm"));
    pane->CopyDocument();
    EXPECT_FALSE(fs::exists(mine / "stored.htm"));
    EXPECT_EQ(host_.status.size(), 2u);
}

TEST_F(HtmlFrameTest, RightPressClosesPopupsAndOpensTheContextMenu) {
    auto pane = Make(Areas());
    TFrameViewer* doc = pane->Viewers[0];
    ASSERT_TRUE(Shows(doc, "d:\\html\\start.htm"));
    QTest::mouseClick(doc->focusProxy(), Qt::RightButton, {}, QPoint(600, 10));
    EXPECT_EQ(host_.popupsClosed, 1);
    EXPECT_EQ(host_.popups, (std::vector<int>{kPopupContextHtml}));
}

// Answers the font dialog once it is up: act on it, then OK or Cancel.
void AnswerFontForm(std::function<void(TFontForm&)> act, bool ok) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, ok, tries] {
        auto* form = dynamic_cast<TFontForm*>(QApplication::activeModalWidget());
        if (!form && ++*tries < 500) return;
        poll->deleteLater();
        if (!form) return;
        act(*form);
        QTest::mouseClick(ok ? form->OKButton() : form->CancelButton(), Qt::LeftButton);
    });
    poll->start(10);
}

TEST_F(HtmlFrameTest, TheFontDialogChangesEveryViewerOnOkAndNothingOnCancel) {
    THtmlFontChooser chooser(disc_.Engine(), &window_);
    auto pane = Make(Areas(), &chooser);
    ASSERT_TRUE(pane);
    host_.screen = 2;  // both screens' viewers made
    pane->ShowScreenViewer();
    host_.screen = 1;
    pane->ShowScreenViewer();
    ASSERT_TRUE(pane->Viewers[1]);
    ASSERT_TRUE(Shows(pane->Viewers[0], "d:\\html\\start.htm"));
    auto defaults = [](TFrameViewer* v) {
        return THtmlFontValues{v->DefFontName(), v->DefFontColor(), v->DefFontSize(), v->DefHotSpotColor(), v->DefBackground()};
    };
    const THtmlFontValues fresh;

    std::string shownName;
    AnswerFontForm(
        [&](TFontForm& form) {
            shownName = form.FontName();
            form.FontSizeEdit()->setValue(14);
            form.BackListBox()->setCurrentRow(0);
        },
        false);
    pane->ChooseFonts();
    EXPECT_EQ(shownName, "Arial");
    for (auto& v : pane->Viewers) EXPECT_EQ(defaults(v), fresh);

    AnswerFontForm(
        [](TFontForm& form) {
            form.FontSizeEdit()->setValue(14);
            form.SetBackground(0x123456);
            form.SetHotSpotColor(0xFF);
        },
        true);
    pane->ChooseFonts();
    // The font list is the system's: the answer is an installed font or "Arial".
    const THtmlFontValues chosen{pane->Viewers[0]->DefFontName(), 0, 14, 0xFF, 0x123456};
    for (auto& v : pane->Viewers) EXPECT_EQ(defaults(v), chosen);
    EXPECT_EQ(pane->FontSize, 14);  // viewers made later take them too
    pane.reset();
    EXPECT_EQ(THtmlFontValues::Read(registry_, "Test"), chosen);
}

TEST_F(HtmlFrameTest, TheFontDialogBeforeAnyDocumentKeepsTheChoiceForTheViewersToCome) {
    THtmlFontChooser chooser(disc_.Engine(), &window_);
    host_.screen = 0;  // the start screen, without a document area
    auto pane = Make(Areas(), &chooser);
    ASSERT_TRUE(pane);
    ASSERT_FALSE(pane->Viewers[0]) << "no viewer yet";
    bool asked = false;
    AnswerFontForm(
        [&](TFontForm& form) {
            asked = true;
            form.FontSizeEdit()->setValue(15);
        },
        true);
    pane->ChooseFonts();
    EXPECT_TRUE(asked) << "the dialog opens";
    EXPECT_EQ(pane->FontSize, 15);
    host_.screen = 1;
    pane->ShowScreenViewer();
    ASSERT_TRUE(pane->Viewers[0]);
    EXPECT_EQ(pane->Viewers[0]->DefFontSize(), 15);
    pane.reset();
    EXPECT_EQ(THtmlFontValues::Read(registry_, "Test").FontSize, 15);
}

TEST(HtmlFramePrintHeader, PageNumberEndsFiftyPixelsBeforeThePageEdge) {
    QImage page(600, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        // Without a viewer holding a document, the pane's header writes nothing.
        QPainter p(&page);
        THtmlFrame::PrintHeader(nullptr, p, 3, 600);
    }
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) ASSERT_EQ(page.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
    {
        QPainter p(&page);
        PageNumberHeader(p, 3, 600);
    }
    int left = page.width(), right = -1, top = page.height();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y) != Qt::white) {
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_LE(right, 550);
    EXPECT_GE(right, 540);
    EXPECT_GE(top, 40);
    EXPECT_LT(left, 500);  // "Страница 3" is wider than a page number alone
}

}  // namespace
}  // namespace vitrina
