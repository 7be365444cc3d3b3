// The settings dialog on a session of its own.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/form_options.h"
#include "session/disc_session.h"
#include "session/settings.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

class FormOptionsTest : public ::testing::Test {
protected:
    FormOptionsTest()
        : drives_(folder_.Path() / "disc", folder_.Path() / "c"),
          session_(drives_, TUserFolders{folder_.Path() / "config", folder_.Path() / "c", folder_.Path() / "run"}) {
        session_.Title = "T";
    }
    int Stored(const char* name) {
        TRegistry& r = session_.Registry();
        if (!r.OpenKey(SettingsKey("T"), false)) return -1;
        const int value = ReadIntegerOr(r, name, -1, false);
        r.CloseKey();
        return value;
    }

    test::TTempFolder folder_;
    TDriveMap drives_;
    TDiscSession session_;
};

TEST_F(FormOptionsTest, ShowsTheSettingsAndOkStoresTheChangedSlideTime) {
    session_.Model.ImageAreas = {{0, 0, 10, 10, "d:\\slides\\", 0}};
    session_.Model.ScreenButtons = {{RBtn{}}};
    session_.Model.ScreenButtons[0][0].wav = "click.wav";
    std::vector<int> intervals;
    std::vector<bool> running;
    TOptionsActions a;
    a.slideInterval = [&](int ms) { intervals.push_back(ms); };
    a.runSlideShow = [&](bool on) { running.push_back(on); };
    TFormOptions dialog(session_, a);
    dialog.ShowOptions();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Настройки"));
    EXPECT_TRUE(dialog.Tabs()->isTabVisible(1));
    EXPECT_EQ(dialog.Tabs()->tabText(0), QString::fromUtf8("Основные"));
    EXPECT_TRUE(dialog.CheckBoxWav()->isEnabled());
    EXPECT_TRUE(dialog.CheckBoxWav()->isChecked());
    EXPECT_FALSE(dialog.CheckBoxClip()->isEnabled());  // no start clip described
    EXPECT_TRUE(dialog.Interface(0)->isChecked());
    EXPECT_EQ(dialog.TrackBarSlideShow()->value(), 5);
    EXPECT_EQ(dialog.LabelTimeSlideShow()->text(), QString::fromUtf8("5 секунд"));

    dialog.TrackBarSlideShow()->setValue(3);
    EXPECT_EQ(dialog.LabelTimeSlideShow()->text(), QString::fromUtf8("3 секунды"));
    dialog.ButtonCancelClick();
    EXPECT_EQ(Stored("SlideShowTime"), -1);
    EXPECT_TRUE(intervals.empty());
    // Shown again: the stored values, not the cancelled ones.
    dialog.ShowOptions();
    EXPECT_EQ(dialog.TrackBarSlideShow()->value(), 5);
    dialog.TrackBarSlideShow()->setValue(3);
    dialog.ButtonOKClick();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Stored("SlideShowTime"), 3);
    EXPECT_EQ(session_.Settings.SlideShowTime, 3);
    EXPECT_EQ(intervals, std::vector<int>{3001});
    EXPECT_EQ(running, std::vector<bool>{false});
    EXPECT_EQ(Stored("SizeInterface"), 0);
    EXPECT_EQ(Stored("Wav"), -1);
}

TEST_F(FormOptionsTest, WithoutSlideAreasThePicturesTabStaysHidden) {
    TFormOptions dialog(session_, {});
    EXPECT_FALSE(dialog.Tabs()->isTabVisible(1));
    EXPECT_FALSE(dialog.CheckBoxWav()->isEnabled());
    dialog.SetBackgroundSound(true);
    EXPECT_TRUE(dialog.CheckBoxBGSound()->isChecked());
    EXPECT_TRUE(dialog.CheckBoxBGSound()->isHidden());
}

}  // namespace
}  // namespace vitrina
