// The font dialog with a real sample viewer.
#include <QFontDatabase>
#include <QLabel>
#include <QSet>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/font_form.h"
#include "html/frame_viewer.h"
#include "html/html_fixture.h"
#include "widgets/color_grid.h"

namespace vitrina {
namespace {

class FontFormTest : public ::testing::Test {
protected:
    FontFormTest() : disc_({}, {}) {}

    // The sample's computed look once its document is there: link colour, text colour, the
    // body's own background (the page's shows through), text.
    static QStringList SampleLook(TFrameViewer* v) {
        QStringList look;
        QTest::qWaitFor(
            [&] {
                look = test::Eval(v->page(), "(function(){const a=document.querySelector('a');if(!a)return [];"
                               "return [getComputedStyle(a).color,getComputedStyle(document.body).color,"
                               "getComputedStyle(document.body).backgroundColor,document.body.innerText];})()")
                           .toStringList();
                return look.size() == 4;
            },
            10000);
        return look;
    }
    static QString Selected(const QListWidget* list) {
        return list->currentRow() >= 0 ? list->currentItem()->text() : QString();
    }

    test::THtmlDisc disc_;
};

TEST_F(FontFormTest, AFreshDialogShowsTheDefaultsAndTheSampleInThem) {
    TFontForm form(disc_.Engine(), {"Verdana", "Arial", "times", "Arial"});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Шрифт"));
    QStringList fonts;
    for (int i = 0; i < form.FontListBox()->count(); ++i) fonts << form.FontListBox()->item(i)->text();
    EXPECT_EQ(fonts, QStringList({"Arial", "times", "Verdana"}));  // sorted, once each
    EXPECT_EQ(Selected(form.FontListBox()), "Arial");
    EXPECT_EQ(form.FontName(), "Arial");
    EXPECT_EQ(form.FontSize(), 8);
    EXPECT_EQ(form.FontSizeEdit()->value(), 8);
    EXPECT_EQ(form.FontSizeEdit()->minimum(), 6);
    EXPECT_EQ(form.FontSizeEdit()->maximum(), 24);
    EXPECT_EQ(form.FontColor(), 0);
    EXPECT_EQ(form.HotSpotColor(), 0x3366);
    EXPECT_EQ(Selected(form.BackListBox()), "clWhite");
    EXPECT_EQ(form.Background(), 0xFFFFFF);
    EXPECT_EQ(form.BackListBox()->count(), 22);
    EXPECT_EQ(form.ResetButton()->text(), QString::fromUtf8("&Сброс"));
    EXPECT_EQ(form.OKButton()->text(), QString::fromUtf8("O&K"));
    EXPECT_TRUE(form.OKButton()->isDefault());
    EXPECT_EQ(form.CancelButton()->text(), QString::fromUtf8("Отмена"));
    QStringList captions;
    for (const QLabel* label : form.findChildren<QLabel*>()) captions << label->text();
    for (const char* caption : {"&Шрифт", "&Цвет фона", "Цвет &текста", "Цвет &ссылки", "&Размер"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;

    const QStringList look = SampleLook(form.FontViewer());
    ASSERT_EQ(look.size(), 4);
    EXPECT_EQ(look[0], "rgb(102, 51, 0)");  // 0x003366, red in the low byte
    EXPECT_EQ(look[1], "rgb(0, 0, 0)");
    EXPECT_EQ(look[2], "rgba(0, 0, 0, 0)");
    EXPECT_EQ(form.FontViewer()->page()->backgroundColor(), QColor(255, 255, 255));
    for (const char* text : {"Заголовок", "Нормальный текст", "Ссылка", "Жирный текст", "Наклонный текст", "Текст кода"})
        EXPECT_TRUE(look[3].contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(form.FontViewer()->DefFontName(), "Arial");
    EXPECT_EQ(form.FontViewer()->DefFontSize(), 8);
}

TEST_F(FontFormTest, TheSystemsFontsAreListedByFamilyOnceWithoutTheirFoundries) {
    const QStringList fonts = TFontForm::InstalledFonts();
    ASSERT_FALSE(fonts.isEmpty());
    EXPECT_EQ(QSet<QString>(fonts.begin(), fonts.end()).size(), fonts.size());
    for (const QString& family : QFontDatabase::families()) {
        EXPECT_TRUE(fonts.contains(family.section(QLatin1String(" ["), 0, 0))) << family.toStdString();
        EXPECT_FALSE(fonts.contains(family) && family.endsWith(']')) << family.toStdString();
    }
    TFontForm form(disc_.Engine());
    EXPECT_EQ(form.FontListBox()->count(), fonts.size());
}

TEST_F(FontFormTest, AFontThatIsNotInstalledSelectsArialWhileTheSampleKeepsTheName) {
    TFontForm form(disc_.Engine(), {"Arial", "Verdana"});
    form.SetFontName("Verdana");
    EXPECT_EQ(Selected(form.FontListBox()), "Verdana");
    form.SetFontName("verdana");  // names match in any letter case
    EXPECT_EQ(Selected(form.FontListBox()), "Verdana");
    form.SetFontName("NoSuchFont");
    EXPECT_EQ(Selected(form.FontListBox()), "Arial");
    EXPECT_EQ(form.FontViewer()->DefFontName(), "NoSuchFont");
    EXPECT_EQ(form.FontName(), "Arial");
    // A choice in the list goes to the sample.
    form.FontListBox()->setCurrentRow(1);
    EXPECT_EQ(form.FontViewer()->DefFontName(), "Verdana");
    EXPECT_EQ(form.FontName(), "Verdana");

    // Without Arial installed nothing is selected, and the answer is still "Arial".
    TFontForm bare(disc_.Engine(), {"Verdana"});
    bare.SetFontName("NoSuchFont");
    EXPECT_EQ(Selected(bare.FontListBox()), QString());
    EXPECT_EQ(bare.FontName(), "Arial");
}

TEST_F(FontFormTest, AnUnnamedBackgroundIsAddedInHexadecimalFormOnceAndSelected) {
    TFontForm form(disc_.Engine(), {"Arial"});
    form.SetBackground(0x123456);
    EXPECT_EQ(form.BackListBox()->count(), 23);
    EXPECT_EQ(Selected(form.BackListBox()), "$00123456");
    EXPECT_EQ(form.Background(), 0x123456);
    EXPECT_EQ(form.FontViewer()->DefBackground(), 0x123456);
    form.SetBackground(0x0000FF);
    EXPECT_EQ(Selected(form.BackListBox()), "clRed");
    form.SetBackground(0x123456);
    EXPECT_EQ(form.BackListBox()->count(), 23);
    EXPECT_EQ(Selected(form.BackListBox()), "$00123456");
    // A click on a name sets that colour.
    form.BackListBox()->setCurrentRow(12);
    EXPECT_EQ(Selected(form.BackListBox()), "clBlue");
    EXPECT_EQ(form.Background(), 0xFF0000);
    EXPECT_EQ(form.FontViewer()->DefBackground(), 0xFF0000);
    const QStringList look = SampleLook(form.FontViewer());
    ASSERT_EQ(look.size(), 4);
    EXPECT_EQ(form.FontViewer()->page()->backgroundColor(), QColor(0, 0, 255));
}

TEST_F(FontFormTest, ControlsSetTheSampleAndResetBringsBackWhatTheDialogWasShownWith) {
    TFontForm form(disc_.Engine(), {"Arial", "Courier", "Verdana"});
    form.SetFontName("Verdana");
    form.SetFontColor(0x808080);
    form.SetFontSize(30);  // kept as given; the spin field shows its bound
    form.SetHotSpotColor(0x00FF00);
    form.SetBackground(0xABCDEF);
    EXPECT_EQ(form.FontSize(), 30);
    EXPECT_EQ(form.FontSizeEdit()->value(), 24);
    EXPECT_EQ(form.FontColorGrid()->Selected(), -1);  // a colour set from outside shows no mark
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QTest::mouseClick(form.FontColorGrid(), Qt::LeftButton, {}, form.FontColorGrid()->CellRect(9).center());
    EXPECT_EQ(form.FontColor(), 0x0000FF);  // clRed, the tenth cell
    EXPECT_EQ(form.FontColorGrid()->Selected(), 9);
    form.HotSpotColorGrid()->setFocus();
    QTest::keyClick(form.HotSpotColorGrid(), Qt::Key_Down);
    EXPECT_EQ(form.HotSpotColor(), form.HotSpotColorGrid()->ColorAt(4));
    form.FontSizeEdit()->setValue(14);
    form.FontListBox()->setCurrentRow(1);
    form.BackListBox()->setCurrentRow(0);
    EXPECT_EQ(form.FontViewer()->DefFontColor(), 0x0000FF);
    EXPECT_EQ(form.FontViewer()->DefHotSpotColor(), 0x800000);
    EXPECT_EQ(form.FontViewer()->DefFontSize(), 14);
    EXPECT_EQ(form.FontViewer()->DefFontName(), "Courier");
    EXPECT_EQ(form.FontViewer()->DefBackground(), 0);

    QTest::mouseClick(form.ResetButton(), Qt::LeftButton);
    EXPECT_EQ(form.FontName(), "Verdana");
    EXPECT_EQ(form.FontColor(), 0x808080);
    EXPECT_EQ(form.FontSize(), 30);
    EXPECT_EQ(form.HotSpotColor(), 0x00FF00);
    EXPECT_EQ(form.Background(), 0xABCDEF);
    EXPECT_EQ(Selected(form.BackListBox()), "$00ABCDEF");
    EXPECT_EQ(form.FontViewer()->DefFontName(), "Verdana");
    EXPECT_EQ(form.FontColorGrid()->Selected(), -1);
}

}  // namespace
}  // namespace vitrina
