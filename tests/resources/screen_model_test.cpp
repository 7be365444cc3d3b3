#include "resources/screen_model.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "panes/visit_groups.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"

namespace vitrina {
namespace {

// A description as start-up reads it: scrambled, decoded with lower-casing.
TScreenModel Read(std::string_view utf8, const std::string& folder = "d:\\run\\") {
    std::string text = Utf8ToCp1251(utf8);
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto lines = DecodeDescription(ScrambleDescription(crlf), true);
    TScreenModel model(folder);
    model.ReadHeader(lines);
    model.ReadSections(lines);
    return model;
}

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

constexpr const char* kWindowButtons =
    "minimize\n"
    "vx=700;vy=4\n"
    "fn1=min_u.bmp ; fn2=min_m.bmp ; fn3=min_d.bmp\n"
    "hint=Свернуть\n"
    "wav=no\n"
    "close\n"
    "vx=740;vy=4;fn1=x_u.bmp;fn2=x_m.bmp;fn3=x_d.bmp;hint=Выход;wav=snd\\out.wav\n";

TEST(ScreenModelHeader, ReadsEveryHeaderValue) {
    const auto model = Read(std::string(
                                "title=руководство по ремонту ; the product\n"
                                "codec=indeo5,mpegaudio\n"
                                "rolic=video\\intro.avi\n"
                                "helpwin\n"
                                "vw=400 vh=300\n"
                                "fn=help\\main.hlp\n"
                                "background=no\n"
                                "icon=App.ICO\n"
                                "bgsounddef=[music\\one.mp3\n"
                                " <cd>music\\two.mp3]\n"
                                "vertexmain=[0,0; 640,0; 640,480; 0,480]\n") +
                            kWindowButtons);
    EXPECT_EQ(model.Title, W("Руководство по ремонту"));
    EXPECT_EQ(model.Codec, "indeo5,mpegaudio");
    EXPECT_EQ(model.Rolic, "video\\intro.avi");
    EXPECT_EQ(model.HelpWin, "d:\\run\\help\\main.hlp");
    EXPECT_EQ(model.Background, "no");
    EXPECT_EQ(model.Icon, "app.ico");
    EXPECT_EQ(model.BackgroundSongs, (TDynamicStringArray{"d:\\run\\music\\one.mp3", "d:\\music\\two.mp3"}));
    EXPECT_EQ(model.VertexMain, (std::vector<TPoint>{{0, 0}, {640, 0}, {640, 480}, {0, 480}}));
    EXPECT_EQ(model.MinimizeButton.go, "minimize");
    EXPECT_EQ(model.MinimizeButton.vx, 700);
    EXPECT_EQ(model.MinimizeButton.fn3, "min_d.bmp");
    EXPECT_EQ(model.MinimizeButton.hint, W("Свернуть"));
    EXPECT_EQ(model.CloseButton.go, "exit");
    EXPECT_EQ(model.CloseButton.vx, 740);
    EXPECT_EQ(model.CloseButton.fn2, "x_m.bmp");
    EXPECT_EQ(model.CloseButton.wav, "snd\\out.wav");
}

TEST(ScreenModelHeader, LaterOccurrenceRestartsTheEntry) {
    // "close" inside a picture name of a button restarts the close button from that line.
    const auto model = Read(std::string(kWindowButtons) +
                            "button 1\n"
                            "vx=1;vy=2;fn1=close_u.bmp;fn2=b;fn3=c;go=exit;hint=h;wav=no\n");
    EXPECT_EQ(model.CloseButton.vx, 1);
    EXPECT_EQ(model.CloseButton.fn1, "close_u.bmp");
    EXPECT_EQ(model.CloseButton.go, "exit");
}

TEST(ScreenModelHeader, MalformedShapeLeavesTheRectangleAndTheRest) {
    const auto model = Read("vertexmain=[0,0; oops; 5,5]\ntitle=x\n");
    EXPECT_TRUE(model.VertexMain.empty());
    EXPECT_EQ(model.Title, "X");
}

TEST(ScreenModelSections, WindowButtonsGoWhereTheScreenLineStands) {
    const auto model = Read(std::string(kWindowButtons) +
                            "button 1\nvx=1;vy=1;fn1=a;fn2=a;fn3=a;go=one;hint=;wav=no\n"
                            "_screen=scr_start.bmp ; screen 1\n"
                            "button 1\nvx=2;vy=2;fn1=b;fn2=b;fn3=b;go=two;hint=;wav=no\n"
                            "_screen=scr_docs.bmp ; 2\n");
    ASSERT_EQ(model.ScreenCount(), 2);
    const auto& buttons = model.ScreenButtons[0];
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0].go, "one");
    EXPECT_EQ(buttons[1].go, "minimize");
    EXPECT_EQ(buttons[2].go, "exit");
    EXPECT_EQ(buttons[3].go, "two");
    EXPECT_EQ(model.ScreenPictures, (TDynamicStringArray{"scr_start.bmp", "scr_docs.bmp"}));
    EXPECT_EQ(model.ScreenButtons[1].size(), 2u);
    EXPECT_EQ(model.ScreenSwitches.size(), 2u);
    EXPECT_EQ(model.ScreenGroups.size(), 2u);
}

TEST(ScreenModelSections, ButtonKeysAndCaptions) {
    const auto model = Read(
        "button 3\n"
        "textcaption=Двигатель ; the caption\n"
        "texttx=4 textty=5 textbx=120 textby=30\n"
        "vx=10;vy=20;fn1=b_u.bmp; textfontsize=77\n"
        "textfontname=Arial Narrow\n"
        "textfontsize=12\n"
        "textfontstyleup=bold italic ; textfontstylemv=underline\n"
        "textfontstyledn=strikeout bold\n"
        "textfontcolorup=255,0,0\n"
        "textfontcolormv=0,128,255\n"
        "textfontcolordn=1,2,3\n"
        "fn2=b_m.bmp\nfn3=b_d.bmp\n"
        "go=html=20=html\\engine.htm\n"
        "hint=Глава: двигатель\n"
        "wav=snd\\click.wav\n"
        "textcaption=ignored after the section\n");
    ASSERT_EQ(model.ScreenButtons.size(), 3u);
    ASSERT_EQ(model.ScreenButtons[2].size(), 1u);
    const RBtn& b = model.ScreenButtons[2][0];
    EXPECT_EQ(b.textcaption, W("Двигатель"));
    EXPECT_EQ(b.vx, 10);
    EXPECT_EQ(b.vy, 20);
    EXPECT_EQ(b.texttx, 4);
    EXPECT_EQ(b.textby, 30);
    EXPECT_EQ(b.textfontsize, 12) << "a caption key on the line of an awaited main key is ignored";
    EXPECT_EQ(b.textfontname, "arial narrow");
    EXPECT_EQ(b.textfontstyleup, kStyleBold | kStyleItalic);
    EXPECT_EQ(b.textfontstylemv, kStyleUnderline);
    EXPECT_EQ(b.textfontstyledn, kStyleStrikeout | kStyleBold);
    EXPECT_EQ(b.textfontcolorup, 255);
    EXPECT_EQ(b.textfontcolormv, 255 * 65536 + 128 * 256);
    EXPECT_EQ(b.textfontcolordn, 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(b.fn1, "b_u.bmp");
    EXPECT_EQ(b.go, "html=20=html\\engine.htm") << "button commands stay as written";
    EXPECT_EQ(b.hint, W("Глава: двигатель"));
    EXPECT_EQ(b.wav, "snd\\click.wav");
}

TEST(ScreenModelSections, SwitchesAndGroups) {
    const auto model = Read(
        "switchone 2\n"
        "vx=5;vy=6;fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=on\n"
        "textcaptionup=3d\n"
        "goup=screen=2\ngodown=bgsound\nhint=Музыка\nwav=no\n"
        "switchgrp 2\n"
        "vx=1;vy=1;fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=off;group=7;go=tree1;hint=;wav=no\n"
        "switchgrp 2\n"
        "vx=2;vy=2;fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=on;group=7;go=pics\\a.htm;hint=;wav=no\n");
    ASSERT_EQ(model.ScreenSwitches.size(), 2u);
    const RSwthOne& s = model.ScreenSwitches[1][0];
    EXPECT_TRUE(s.state);
    EXPECT_TRUE(s.store);
    EXPECT_EQ(s.textcaptionup, "3d");
    EXPECT_EQ(s.goup, "screen=2");
    EXPECT_EQ(s.godown, "bgsound");
    EXPECT_EQ(s.hint, W("Музыка"));
    const auto& groups = model.ScreenGroups[1];
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_TRUE(groups[0].state && groups[1].state) << "two members may both start selected";
    EXPECT_FALSE(groups[0].store);
    EXPECT_EQ(groups[0].group, 7);
    EXPECT_EQ(groups[0].go, "tree1");
    EXPECT_EQ(groups[1].go, "d:\\run\\pics\\a.htm") << "group commands are path-resolved";
}

TEST(ScreenModelSections, AreaRecords) {
    const auto model = Read(
        "_html 2\nvx=10 vy=20 vw=500 vh=400 fn=html\\start.htm; number=20\n"
        "_findtxt 2\nvx=1 vy=2 vw=3 vh=4 frame=20\nnofiles=[a.htm; b.htm]\nnumber=5 hint=Найти\n"
        "_path 3\nvx=1 vy=2 vw=3 vh=4 pathdef=c:\\temp; hint=Папка\n"
        "_clip 3\nvx=1 vy=2 vw=3 vh=4 bgcolor=0,0,255 html=20\n"
        "_text 2\nvx=5 vy=6 vw=300 font=Arial size=14 style=bold underline color=255,255,255\n"
        "value=Начало ident=statusline number=1\n"
        "_image 4\nvx=1 vy=2 vw=3 vh=4 dir=pics\\slides\n");
    ASSERT_EQ(model.HtmlAreas.size(), 1u);
    EXPECT_EQ(model.HtmlAreas[0].screen, 1);
    EXPECT_EQ(model.HtmlAreas[0].vw, 500) << "vw is the right edge as written";
    EXPECT_EQ(model.HtmlAreas[0].fn, "d:\\run\\html\\start.htm");
    EXPECT_EQ(model.HtmlAreas[0].number, 20);
    ASSERT_EQ(model.FindAreas.size(), 1u);
    EXPECT_EQ(model.FindAreas[0].frame, "20");
    EXPECT_EQ(model.FindAreas[0].nofiles, (TDynamicStringArray{"d:\\run\\a.htm", "d:\\run\\b.htm"}));
    EXPECT_EQ(model.FindAreas[0].number, 5);
    EXPECT_EQ(model.FindAreas[0].hint, W("Найти"));
    ASSERT_EQ(model.PathAreas.size(), 1u);
    EXPECT_EQ(model.PathAreas[0].pathdef, "c:\\temp");
    EXPECT_EQ(model.PathAreas[0].hint, W("Папка"));
    EXPECT_EQ(model.PathAreas[0].screen, 2);
    ASSERT_EQ(model.ClipAreas.size(), 1u);
    EXPECT_EQ(model.ClipAreas[0].bgcolor, 255 * 65536);
    EXPECT_EQ(model.ClipAreas[0].html, 20);
    ASSERT_EQ(model.TextAreas.size(), 1u);
    const RText& t = model.TextAreas[0];
    EXPECT_EQ(t.font, "arial size=14 style=bold underline color=255,255,255");
    EXPECT_EQ(t.size, 14);
    EXPECT_EQ(t.color, 0xFFFFFF);
    EXPECT_EQ(t.value, W("Начало ident=statusline number=1"));
    EXPECT_EQ(t.ident, "statusline number=1");
    EXPECT_EQ(t.number, 1);
    ASSERT_EQ(model.ImageAreas.size(), 1u);
    EXPECT_EQ(Read("_html 1\nvx=1 vy=1 vw=1 vh=1 fn=a.htm number=20\n").HtmlAreas[0].fn, "a.htm number=d:\\run\\20")
        << "without ';' a text runs to the line's end, and a path with '=' keeps its front";
    EXPECT_EQ(model.ImageAreas[0].dir, "d:\\run\\pics\\slides\\");
    EXPECT_EQ(model.ImageAreas[0].screen, 3);
}

TEST(ScreenModelSections, PopupRecord) {
    const auto model = Read(
        "_popup 2\n"
        "xfon=10;yfon=20;fnfon=pop_bg.bmp;xbtn=4;ybtn=5\n"
        "fnbtnup=[item_u.bmp]\nfnbtnmove=[item_m.bmp]\nfnbtndown=[item_d.bmp]\n"
        "fontup=Arial;sizeup=10;styleup=bold;colorup=0,0,0\n"
        "fontmv=Arial;sizemv=11;stylemv=italic;colormv=255,0,0\n"
        "caption=[Назад]\ngo=[back]\nparent=;type=HistoryBack\nvertex=[]\n"
        "_popup 2\nxfon=0;yfon=0;fnfon=;xbtn=0;ybtn=0;fnbtnup=[];fnbtnmove=[];fnbtndown=[]\n"
        "fontup=;sizeup=0;styleup=;colorup=0,0,0;fontmv=;sizemv=0;stylemv=;colormv=0,0,0\n"
        "caption=[a; b]\ngo=[c; d]\nparent=20;type=3\nvertex=[0,0; 5,5]\n");
    ASSERT_EQ(model.ScreenPopups.size(), 2u);
    ASSERT_EQ(model.ScreenPopups[1].size(), 2u);
    const RPopupData& p = model.ScreenPopups[1][0];
    EXPECT_EQ(p.xfon, 10);
    EXPECT_EQ(p.fnfon, "pop_bg.bmp");
    EXPECT_EQ(p.fnbtnup, TDynamicStringArray{"d:\\run\\item_u.bmp"});
    EXPECT_EQ(p.size[1], 11);
    EXPECT_EQ(p.style[1], "italic");
    EXPECT_EQ(p.color[1], 255);
    EXPECT_EQ(p.caption, TDynamicStringArray{W("Назад")});
    EXPECT_EQ(p.type, kPopupHistoryBack);
    EXPECT_EQ(p.vertex, TDynamicStringArray{""});
    const RPopupData& q = model.ScreenPopups[1][1];
    EXPECT_EQ(q.type, 3);
    EXPECT_EQ(q.parent, "20");
    EXPECT_EQ(q.go, (TDynamicStringArray{"c", "d"}));
}

TEST(ScreenModelSections, OddDescriptionsStayBounded) {
    struct Case {
        const char* what;
        const char* text;
    } cases[] = {
        {"section without a screen number", "button\nvx=1;vy=1;fn1=a;fn2=a;fn3=a;go=x;hint=;wav=no\n"},
        {"screen 0", "_html 0\nvx=1 vy=1 vw=1 vh=1 fn=a.htm number=1\n"},
        {"huge screen number", "button 99999999\nvx=1\n"},
        {"most negative screen number", "button -2147483648\nvx=1\n"},
        {"key that never comes", "_html 1\nvx=1 vy=1\n"},
        {"main key that never comes", "switchone 1\nvx=1\ntextcaptionup=a\n"},
        {"list that never closes", "_findtxt 1\nvx=1 vy=1 vw=1 vh=1 frame=1 nofiles=[a;\nb\n"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        const auto model = Read(c.text);
        EXPECT_LE(model.ScreenCount(), 1) << c.what;
    }
    EXPECT_EQ(Read("_html 1\nvx=1 vy=1\n").HtmlAreas.size(), 1u) << "a partial record stays";
}

// A description may carry any int where a position or size stands; the windows add positions and
// picture sizes, so every such value is clamped where it is read.
TEST(ScreenModelSections, PositionsAndSizesAreClampedWhereRead) {
    struct Case {
        std::string text;
        int position;
        int size;
    } cases[] = {
        {"2147483647", kMaxCoordinate, kMaxCoordinate},
        {"-2147483648", kMinCoordinate, 0},
        {"40000", 32767, 32767},
        {"-40000", -32768, 0},
        {"99999999999", -1, 0},  // beyond int: not a number, ReadNumber's -1
        {"123", 123, 123},
        {"-5", -5, 0},
    };
    for (const auto& c : cases) {
        const std::string n = c.text;
        const auto model = Read(
            "vertexmain=[" + n + "," + n + "; 0,0; 5,5]\n"
            "helpwin\nvw=" + n + " vh=" + n + "\nfn=h.hlp\n"
            "button 1\ntexttx=" + n + " textty=" + n + " textbx=" + n + " textby=" + n + "\ntextfontsize=" + n + "\n"
            "vx=" + n + ";vy=" + n + ";fn1=a;fn2=a;fn3=a;go=x;hint=;wav=no\n"
            "switchone 1\ntexttxup=" + n + " texttyup=" + n + " textbxup=" + n + " textbyup=" + n + "\n"
            "texttxdn=" + n + " texttydn=" + n + " textbxdn=" + n + " textbydn=" + n + "\ntextfontsize=" + n + "\n"
            "vx=" + n + ";vy=" + n + ";fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=on;goup=d:\\a.htm;godown=b;hint=;wav=no\n"
            "switchgrp 1\ntexttx=" + n + " textty=" + n + " textbx=" + n + " textby=" + n + "\ntextfontsize=" + n + "\n"
            "vx=" + n + ";vy=" + n + ";fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=off;group=7;go=d:\\a.htm;hint=;wav=no\n"
            "_html 1\nvx=" + n + " vy=" + n + " vw=" + n + " vh=" + n + " fn=a.htm; number=20\n"
            "_text 1\nvx=" + n + " vy=" + n + " vw=" + n + "\nfont=Arial;\nsize=" + n + "\nstyle=;color=0,0,0;value=v;ident=i;number=1\n"
            "_popup 1\nxfon=" + n + ";yfon=" + n + ";fnfon=;xbtn=" + n + ";ybtn=" + n + "\n"
            "fnbtnup=[];fnbtnmove=[];fnbtndown=[]\nfontup=;\nsizeup=" + n + "\nstyleup=;colorup=0,0,0;fontmv=;\n"
            "sizemv=" + n + "\nstylemv=;colormv=0,0,0;caption=[a];go=[b];parent=;type=1;vertex=[]\n");
        SCOPED_TRACE(n);
        const int p = c.position;
        if (p == -1) EXPECT_TRUE(model.VertexMain.empty()) << "a point beyond int is no point: the shape is refused";
        else EXPECT_EQ(model.VertexMain, (std::vector<TPoint>{{p, p}, {0, 0}, {5, 5}}));
        ASSERT_EQ(model.ScreenButtons.size(), 1u);
        const RBtn& b = model.ScreenButtons[0][0];
        EXPECT_EQ((std::vector<int>{b.vx, b.vy, b.texttx, b.textty, b.textbx, b.textby}), std::vector<int>(6, p));
        EXPECT_EQ(b.textfontsize, c.size);
        const RSwthOne& s = model.ScreenSwitches[0][0];
        EXPECT_EQ((std::vector<int>{s.vx, s.vy, s.texttxup, s.texttyup, s.textbxup, s.textbyup, s.texttxdn,
                                    s.texttydn, s.textbxdn, s.textbydn}),
                  std::vector<int>(10, p));
        EXPECT_EQ(s.textfontsize, c.size);
        const RSwthGrp& g = model.ScreenGroups[0][0];
        EXPECT_EQ((std::vector<int>{g.vx, g.vy, g.texttx, g.textty, g.textbx, g.textby}), std::vector<int>(6, p));
        EXPECT_EQ(g.textfontsize, c.size);
        EXPECT_EQ(g.group, 7);
        ASSERT_EQ(model.HtmlAreas.size(), 1u);
        const RHTML& h = model.HtmlAreas[0];
        EXPECT_EQ((std::vector<int>{h.vx, h.vy, h.vw, h.vh}), std::vector<int>(4, p));
        EXPECT_EQ(h.number, 20);
        ASSERT_EQ(model.TextAreas.size(), 1u);
        const RText& t = model.TextAreas[0];
        EXPECT_EQ((std::vector<int>{t.vx, t.vy, t.vw}), std::vector<int>(3, p));
        EXPECT_EQ(t.size, c.size);
        ASSERT_EQ(model.ScreenPopups.size(), 1u);
        const RPopupData& pop = model.ScreenPopups[0][0];
        EXPECT_EQ((std::vector<int>{pop.xfon, pop.yfon, pop.xbtn, pop.ybtn}), std::vector<int>(4, p));
        EXPECT_EQ((std::vector<int>{pop.size[0], pop.size[1]}), std::vector<int>(2, c.size));
        // What the windows compute from them stays in range (UBSan reports the overflow otherwise).
        EXPECT_EQ(SwitchPressPoints("d:\\a.htm", model.ScreenSwitches[0], model.ScreenGroups[0]),
                  (std::vector<TPoint>{{p + 1, p + 1}, {p + 1, p + 1}}));
    }
}

TEST(ScreenModelSections, SectionWordInsideAValueStartsASection) {
    const auto model = Read(
        "button 1\nvx=1;vy=1;fn1=a;fn2=a;fn3=a;go=x\nhint=press the button 2 times\nwav=no\n");
    ASSERT_EQ(model.ScreenButtons.size(), 1u);
    EXPECT_EQ(model.ScreenButtons[0].size(), 1u);
    EXPECT_EQ(model.ScreenButtons[0][0].hint, "press the button 2 times");
    // The hint line itself holds "button" and the number 2, so the section pass starts a new
    // button of screen 2 there.
    const auto again = Read("button 1\nvx=1;vy=1;fn1=a;fn2=a;fn3=a;go=x;hint=h;wav=no\nthe button 2 line\nvx=3\n");
    ASSERT_EQ(again.ScreenButtons.size(), 2u);
    EXPECT_EQ(again.ScreenButtons[1][0].vx, 3);
}

}  // namespace
}  // namespace vitrina
