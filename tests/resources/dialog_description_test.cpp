#include "resources/dialog_description.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/cp1251.h"
#include "platform/registry.h"
#include "resources/description.h"
#include "resources/description_scrambler.h"
#include "session/settings.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

// A description as the dialog reads it: scrambled, decoded with lower-casing.
TDialogDescription Read(std::string_view utf8) {
    std::string crlf;
    for (char c : Utf8ToCp1251(utf8)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    TDialogDescription dialogs("d:\\run\\");
    dialogs.Read(DecodeDescription(ScrambleDescription(crlf), true));
    return dialogs;
}

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

constexpr const char* kMessageBox =
    "; a comment line is skipped\n"
    "1 _picture=Dlg_Msg.bmp ; the background\n"
    "1 _text\n"
    "  vx=20; vy=40; vw=340\n"
    "  font=Arial; size=10; style=bold italic; color=230,236,244\n"
    "  value=Сообщение\n"
    "1 _button\n"
    "  vx=140; vy=78\n"
    "  align=Middle\n"
    "  fn1=ok_up.bmp\n  fn2=ok_mv.bmp\n  fn3=ok_dn.bmp\n"
    "  go=OK\n"
    "  hint=Закрыть окно\n"
    "  wav=Sounds\\Click.wav\n";

struct TCase {
    const char* name;
    std::string text;
    std::function<void(TDialogDescription&)> check;
};

class DialogDescription : public ::testing::TestWithParam<TCase> {};

TEST_P(DialogDescription, Reads) {
    TDialogDescription dialogs = Read(GetParam().text);
    GetParam().check(dialogs);
}

const TCase kCases[] = {
    {"RecordsSpreadOverLines", kMessageBox,
     [](TDialogDescription& d) {
         EXPECT_EQ(d.Picture(0), "dlg_msg.bmp");
         const RText& t = d.Text(0);
         EXPECT_EQ(t.vx, 20);
         EXPECT_EQ(t.vy, 40);
         EXPECT_EQ(t.vw, 340);
         EXPECT_EQ(t.font, "arial");
         EXPECT_EQ(t.size, 10);
         EXPECT_EQ(t.style, "bold italic");
         EXPECT_EQ(t.color, 230 + 236 * 256 + 244 * 65536);
         EXPECT_EQ(t.value, W("Сообщение"));
         ASSERT_EQ(d.Buttons(0).size(), 1u);
         const RBtn& b = d.Buttons(0)[0];
         EXPECT_EQ(b.vx, 140);
         EXPECT_EQ(b.vy, 78);
         EXPECT_EQ(b.align, "middle");
         EXPECT_EQ(b.fn1, "ok_up.bmp");
         EXPECT_EQ(b.fn3, "ok_dn.bmp");
         EXPECT_EQ(b.go, "ok");
         EXPECT_EQ(b.hint, W("Закрыть окно"));
         EXPECT_EQ(b.wav, "sounds\\click.wav");
         ASSERT_NE(d.Switches(0), nullptr);
         EXPECT_TRUE(d.Switches(0)->empty());
     }},
    {"ButtonTextsAreLowerCasedCyrillicToo",
     "1 _button vx=1;vy=2;align=ПОСРЕДИНЕ;fn1=a;fn2=b;fn3=c;go=КОМАНДА;hint=Подсказка;wav=ЗВУК.WAV\n",
     [](TDialogDescription& d) {
         ASSERT_EQ(d.Buttons(0).size(), 1u);
         EXPECT_EQ(d.Buttons(0)[0].align, W("посредине"));
         EXPECT_EQ(d.Buttons(0)[0].go, W("команда"));
         EXPECT_EQ(d.Buttons(0)[0].hint, W("Подсказка")) << "hints keep their case";
         EXPECT_EQ(d.Buttons(0)[0].wav, W("звук.wav"));
     }},
    {"AKeyIsFoundInsideAnEarlierValue",
     "1 _button vx=1;vy=2;align=left;fn1=logo.bmp;fn2=b.bmp;fn3=c.bmp;go=ok;hint=h;wav=no\n",
     [](TDialogDescription& d) {
         ASSERT_EQ(d.Buttons(0).size(), 1u);
         // "go" first occurs in "logo.bmp": its value starts one character after it.
         EXPECT_EQ(d.Buttons(0)[0].go, "bmp");
         EXPECT_EQ(d.Buttons(0)[0].fn1, "logo.bmp");
     }},
    {"SwitchWithCaptionsFromTheLinesWithoutTheAwaitedKey",
     "2 switchgrp\n"
     "  vx=20; vy=92; textcaptionup=В тексте; textcaptiondn=Везде\n"
     "  texttx=37; textty=2; textbx=108; textby=17\n"
     "  textfontname=Arial; textfontsize=9; textfontstyleup=bold underline; textfontstyledn=italic strikeout\n"
     "  textfontcolorup=1,2,3; textfontcolormvdn=0,0,255\n"
     "  fn1=up.bmp\n  fn2=mvup.bmp\n  fn3=mvdn.bmp\n  fn4=dn.bmp\n"
     "  state=ON; store=on; group=3\n"
     "  go=FindTxtAll\n"
     "  hint=Искать везде\n"
     "  wav=Switch.wav; textcaptionup=не читается\n",
     [](TDialogDescription& d) {
         ASSERT_NE(d.Switches(1), nullptr);
         ASSERT_EQ(d.Switches(1)->size(), 1u);
         const RSwthGrp& s = (*d.Switches(1))[0];
         EXPECT_EQ(s.vx, 20);
         EXPECT_EQ(s.vy, 92);
         EXPECT_EQ(s.fn1, "up.bmp");
         EXPECT_EQ(s.fn4, "dn.bmp");
         EXPECT_TRUE(s.state);
         EXPECT_TRUE(s.store);
         EXPECT_EQ(s.group, 3);
         EXPECT_EQ(s.go, "findtxtall");
         EXPECT_EQ(s.hint, W("Искать везде"));
         EXPECT_EQ(s.wav, "switch.wav");
         EXPECT_EQ(s.textcaptionup, W("В тексте")) << "the line holding wav is not searched for captions";
         EXPECT_EQ(s.textcaptiondn, W("Везде"));
         EXPECT_EQ(s.texttx, 37);
         EXPECT_EQ(s.textby, 17);
         EXPECT_EQ(s.textfontname, "arial");
         EXPECT_EQ(s.textfontsize, 9);
         EXPECT_EQ(s.textfontstyleup, kStyleBold | kStyleUnderline);
         EXPECT_EQ(s.textfontstyledn, kStyleItalic | kStyleStrikeout);
         EXPECT_EQ(s.textfontstylemvup, 0);
         EXPECT_EQ(s.textfontcolorup, 1 + 2 * 256 + 3 * 65536);
         EXPECT_EQ(s.textfontcolormvdn, 255 * 65536);
         // The picture list never reached index 1; the switch list grew to it.
         EXPECT_EQ(d.Picture(1), "");
         EXPECT_EQ(d.DialogSwitches.size(), 2u);
     }},
    {"ALaterCaptionLineOverwrites",
     "1 switchgrp vx=1;vy=2\n"
     "textcaptionup=первая\n"
     "textcaptionup=вторая\n"
     "fn1=a;fn2=b;fn3=c;fn4=d;state=off;store=off;group=1;go=x;hint=h;wav=no\n",
     [](TDialogDescription& d) {
         ASSERT_EQ(d.Switches(0)->size(), 1u);
         EXPECT_EQ((*d.Switches(0))[0].textcaptionup, W("вторая"));
         EXPECT_FALSE((*d.Switches(0))[0].state);
     }},
    {"SwitchCommandIsAResolvedLowerCasedPath",
     "1 switchgrp vx=1;vy=2;fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=on;group=1;go=html=Docs\\Page.htm;hint=h;wav=no\n",
     [](TDialogDescription& d) {
         ASSERT_EQ(d.Switches(0)->size(), 1u);
         EXPECT_EQ((*d.Switches(0))[0].go, "html=d:\\run\\docs\\page.htm");
     }},
    {"LinesOfARecordAreNotReadAsHeads",
     "1 _button\n"
     "vx=1; vy=2; align=left; fn1=a; fn2=b; fn3=c\n"
     "go=ok\n"
     "hint=см. 2 switchgrp и 3 _picture\n"
     "wav=no\n"
     "4 _picture=d.bmp\n",
     [](TDialogDescription& d) {
         EXPECT_EQ(d.Buttons(0).size(), 1u);
         EXPECT_EQ(d.DialogSwitches.size(), 4u) << "grown by the picture of dialog 4 only";
         EXPECT_TRUE(d.DialogSwitches[1].empty());
         EXPECT_EQ(d.Picture(2), "");
         EXPECT_EQ(d.Picture(3), "d.bmp");
     }},
    {"TheFirstKindWordDecides",
     "1 _picture=p.bmp; _button vx=1\n"
     "2 _text _button vx=5;vy=6;vw=7;font=f;size=8;style=;color=0,0,0;value=v\n",
     [](TDialogDescription& d) {
         EXPECT_EQ(d.Picture(0), "p.bmp");
         EXPECT_TRUE(d.Buttons(0).empty());
         EXPECT_EQ(d.Text(1).vw, 7);
         EXPECT_TRUE(d.Buttons(1).empty());
     }},
    {"ASecondMessageAreaReplacesTheFirst",
     "1 _text vx=1;vy=2;vw=3;font=a;size=4;style=;color=0,0,0;value=one\n"
     "1 _text vx=10;vy=20;vw=30;font=b;size=5;style=bold;color=0,0,0;value=two\n",
     [](TDialogDescription& d) {
         ASSERT_EQ(d.DialogTexts.size(), 1u);
         EXPECT_EQ(d.Text(0).vx, 10);
         EXPECT_EQ(d.Text(0).value, "two");
     }},
    {"ARecordWhoseKeysNeverAllComeKeepsWhatItRead",
     "1 _picture=p.bmp\n"
     "1 _button vx=5; vy=6; align=left; fn1=a.bmp\n"
     "2 _picture=q.bmp\n",
     [](TDialogDescription& d) {
         ASSERT_EQ(d.Buttons(0).size(), 1u);
         EXPECT_EQ(d.Buttons(0)[0].fn1, "a.bmp");
         EXPECT_EQ(d.Buttons(0)[0].go, "");
         // Looking for fn2 used the remaining lines up.
         EXPECT_EQ(d.Picture(1), "");
     }},
    {"NumbersOutOfRangeAreSkipped",
     "0 _picture=zero.bmp\n"
     "-3 _picture=minus.bmp\n"
     "_picture=none.bmp\n"
     "99999999 _picture=huge.bmp\n"
     "1025 _button vx=1;vy=1;align=;fn1=;fn2=;fn3=;go=;hint=;wav=\n"
     "1024 _picture=last.bmp\n",
     [](TDialogDescription& d) {
         EXPECT_EQ(d.DialogPictures.size(), std::size_t(kMaxDialogs));
         EXPECT_EQ(d.Picture(kMaxDialogs - 1), "last.bmp");
         EXPECT_EQ(d.DialogButtons.size(), std::size_t(kMaxDialogs)) << "the button of 1025 was dropped";
         EXPECT_TRUE(d.Buttons(kMaxDialogs - 1).empty());
         EXPECT_EQ(d.Picture(0), "");
     }},
    {"HostileCoordinatesAreClamped",
     "1 _text vx=2000000000;vy=-2000000000;vw=5;font=a;size=2000000000;style=;color=0,0,0;value=x\n",
     [](TDialogDescription& d) {
         EXPECT_EQ(d.Text(0).vx, kMaxCoordinate);
         EXPECT_EQ(d.Text(0).vy, kMinCoordinate);
         EXPECT_EQ(d.Text(0).size, kMaxCoordinate);
     }},
    {"EmptyDescription", "",
     [](TDialogDescription& d) {
         EXPECT_TRUE(d.DialogPictures.empty());
         EXPECT_EQ(d.Switches(0), nullptr);
         EXPECT_TRUE(d.Buttons(5).empty());
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, DialogDescription, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kTwoDialogsWithSwitches =
    "1 switchgrp vx=1;vy=1;fn1=a;fn2=b;fn3=c;fn4=d;state=on;store=on;group=1;go=x;hint=h;wav=no\n"
    "1 switchgrp vx=1;vy=1;fn1=a;fn2=b;fn3=c;fn4=d;state=off;store=on;group=1;go=x;hint=h;wav=no\n"
    "1 switchgrp vx=1;vy=1;fn1=a;fn2=b;fn3=c;fn4=d;state=off;store=off;group=1;go=x;hint=h;wav=no\n"
    "2 switchgrp vx=1;vy=1;fn1=a;fn2=b;fn3=c;fn4=d;state=off;store=on;group=1;go=x;hint=h;wav=no\n";

TEST(DialogSwitchStates, StoredStatesSurviveUnderTheirNames) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    TDialogDescription first = Read(kTwoDialogsWithSwitches);
    (*first.Switches(0))[0].state = false;
    (*first.Switches(0))[1].state = true;
    (*first.Switches(0))[2].state = true;  // not stored
    (*first.Switches(1))[0].state = true;
    WriteStoredSwitchStates(reg, "T", first);

    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), false));
    EXPECT_FALSE(reg.ReadBool("SwGrpD00"));
    EXPECT_TRUE(reg.ReadBool("SwGrpD01"));
    EXPECT_FALSE(reg.ValueExists("SwGrpD02"));
    EXPECT_TRUE(reg.ReadBool("SwGrpD10"));
    reg.CloseKey();

    TDialogDescription again = Read(kTwoDialogsWithSwitches);
    (*again.Switches(0))[0].Hovered = true;
    ReadStoredSwitchStates(reg, "T", again);
    EXPECT_FALSE((*again.Switches(0))[0].state);
    EXPECT_TRUE((*again.Switches(0))[1].state);
    EXPECT_FALSE((*again.Switches(0))[2].state) << "a switch that is not stored keeps its described state";
    EXPECT_TRUE((*again.Switches(1))[0].state);
    EXPECT_FALSE((*again.Switches(0))[0].Hovered);
}

TEST(DialogSwitchStates, AMissingOrMistypedValueKeepsTheDescribedState) {
    test::TTempFolder dir;
    TRegistry reg(dir.Path());
    ASSERT_TRUE(reg.OpenKey(SettingsKey("T"), true));
    reg.WriteString("SwGrpD00", "yes");
    reg.CloseKey();
    TDialogDescription dialogs = Read(kTwoDialogsWithSwitches);
    ReadStoredSwitchStates(reg, "T", dialogs);
    EXPECT_TRUE((*dialogs.Switches(0))[0].state);
    EXPECT_FALSE((*dialogs.Switches(0))[1].state);
}

}  // namespace
}  // namespace vitrina
