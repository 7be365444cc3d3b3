#include "dialogs/options_values.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/registry.h"
#include "session/settings.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

class OptionsValuesTest : public ::testing::Test {
protected:
    // The choice as the dialog shows the settings: nothing changed.
    TOptionsChoice Unchanged() const {
        TOptionsChoice c;
        c.clip = settings_.Clip;
        c.clipEnabled = true;
        c.wav = settings_.Wav;
        c.wavEnabled = true;
        c.sizeInterface = 0;
        c.runSlideShow = settings_.RunSlideShow;
        c.slideTime = settings_.SlideShowTime;
        c.sequence = settings_.ImageSequence;
        return c;
    }
    bool Stored(const char* name) {
        const bool open = registry_.OpenKey(SettingsKey("T"), false);
        const bool exists = open && registry_.ValueExists(name);
        if (open) registry_.CloseKey();
        return exists;
    }
    int StoredInteger(const char* name) {
        if (!registry_.OpenKey(SettingsKey("T"), false)) return -1;
        const int value = ReadIntegerOr(registry_, name, -1, false);
        registry_.CloseKey();
        return value;
    }

    test::TTempFolder dir_;
    TRegistry registry_{dir_.Path()};
    TSettings settings_;
    int size_ = 0;
};

TEST_F(OptionsValuesTest, OkWithoutChangesWritesOnlyTheInterfaceSize) {
    const TOptionsEffects e = ApplyOptions(registry_, "T", true, Unchanged(), settings_, size_);
    EXPECT_EQ(StoredInteger("SizeInterface"), 0);
    for (const char* name : {"Clip", "Wav", "RunSlideShow", "SlideShowTime", "ImageSequence", "BGSound"})
        EXPECT_FALSE(Stored(name)) << name;
    EXPECT_EQ(e.slideShowRunning, false);
    EXPECT_FALSE(e.slideInterval);
}

TEST_F(OptionsValuesTest, ChangedChoicesAreStoredAndTheSlideTimerFollows) {
    TOptionsChoice c = Unchanged();
    c.wav = false;
    c.sizeInterface = 2;
    c.runSlideShow = true;
    c.slideTime = 3;
    c.sequence = 1;
    const TOptionsEffects e = ApplyOptions(registry_, "T", true, c, settings_, size_);
    EXPECT_FALSE(settings_.Wav);
    EXPECT_EQ(StoredInteger("Wav"), 0);
    EXPECT_FALSE(Stored("Clip"));
    EXPECT_EQ(size_, 2);
    EXPECT_EQ(StoredInteger("SizeInterface"), 2);
    EXPECT_EQ(StoredInteger("SlideShowTime"), 3);
    EXPECT_EQ(e.slideInterval, 3001);
    EXPECT_EQ(e.slideShowRunning, true);
    EXPECT_EQ(StoredInteger("ImageSequence"), 1);
    // No radio button checked keeps the run's choice; without slide areas their values stay out.
    test::TTempFolder other;
    TRegistry fresh(other.Path());
    c.sizeInterface = -1;
    c.slideTime = 9;
    TSettings s;
    const TOptionsEffects none = ApplyOptions(fresh, "T", false, c, s, size_);
    EXPECT_EQ(size_, 2);
    EXPECT_FALSE(none.slideShowRunning);
    EXPECT_EQ(s.SlideShowTime, 5);
}

TEST_F(OptionsValuesTest, ADisabledBoxLeavesItsFlag) {
    TOptionsChoice c = Unchanged();
    c.wav = false;  // never filled: the disc has no button sounds
    c.wavEnabled = false;
    ApplyOptions(registry_, "T", false, c, settings_, size_);
    EXPECT_TRUE(settings_.Wav);
    EXPECT_FALSE(Stored("Wav"));
}

TEST(OptionsValues, SlideTimeWords) {
    const struct {
        int n;
        const char* text;
    } cases[] = {{1, "1 секунда"}, {2, "2 секунды"}, {3, "3 секунды"}, {4, "4 секунды"}, {5, "5 секунд"}, {10, "10 секунд"}};
    for (const auto& c : cases) EXPECT_EQ(Cp1251ToUtf8(SlideTimeText(c.n)), c.text);
}

}  // namespace
}  // namespace vitrina
