// The start clip and the window clip, with real files and the host's real players.
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "media/media_parts.h"
#include "media/mplayer.h"
#include "media/start_clip.h"
#include "media/video_area.h"
#include "media/window_clip.h"
#include "session/disc_session.h"
#include "support/media_files.h"
#include "support/temp_folder.h"
#include "support/widget_pixels.h"

namespace vitrina {
namespace {

using test::AviBytes;
using test::FourCc;
using test::TAviSpec;

class ClipsTest : public ::testing::Test {
protected:
    ClipsTest()
        : drives_(folder_.Path() / "disc", folder_.Path() / "c"),
          session_(drives_, TUserFolders{folder_.Path() / "config", folder_.Path() / "c", folder_.Path() / "run"}) {
        std::filesystem::create_directories(folder_.Path() / "disc");
        session_.ProgramFolder = "d:\\";
        session_.Settings.BGSound = false;
    }
    void Write(const std::string& name, const std::string& bytes) { folder_.Write("disc/" + name, bytes); }
    static std::string Clip(int frames, std::uint32_t rgb = 0x00ff00, std::uint32_t compression = 0) {
        TAviSpec spec;
        spec.frames = frames;
        spec.rgb = rgb;
        spec.compression = compression;
        return AviBytes(spec);
    }
    std::unique_ptr<TStartClip> MakeStartClip(const std::string& file) {
        return std::make_unique<TStartClip>(
            session_, file, "no", [this](int error) { codecErrors_.push_back(error); },
            [this] { ++finished_; });
    }
    static bool Await(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 15000); }

    test::TTempFolder folder_;
    TDriveMap drives_;
    TDiscSession session_;
    std::vector<int> codecErrors_;
    int finished_ = 0;
};

TEST_F(ClipsTest, TheStartClipEndsByItself) {
    // Long enough to be playing when the first watch looks, half a second after the play.
    Write("intro.avi", Clip(15));
    auto clip = MakeStartClip("intro.avi");
    bool shown = false;
    clip->Start();
    ASSERT_TRUE(Await([&] {
        shown = shown || clip->isVisible();
        return finished_ > 0;
    }));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(clip->isVisible());
    EXPECT_EQ(finished_, 1);
    // Framed: the video's size and the frame around it, in the middle of the screen.
    EXPECT_EQ(clip->size(), QSize(32 + 20, 24 + 20));
}

TEST_F(ClipsTest, EscapeEndsTheStartClipAtOnce) {
    Write("intro.avi", Clip(600));
    auto clip = MakeStartClip("intro.avi");
    clip->Start();
    ASSERT_TRUE(Await([&] { return clip->isVisible(); }));
    EXPECT_EQ(finished_, 0);
    QTest::keyClick(clip.get(), Qt::Key_Escape);
    EXPECT_EQ(finished_, 1);
    EXPECT_FALSE(clip->Player()->IsOpen());
}

TEST_F(ClipsTest, AStartClipThatDoesNotOpenEndsWithoutShowing) {
    Write("codec.avi", Clip(5, 0, FourCc("ZZZZ")));
    const struct {
        const char* file;
        std::vector<int> codecErrors;
    } cases[] = {{"missing.avi", {}}, {"codec.avi", {kMciCannotLoadDriver}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        codecErrors_.clear();
        finished_ = 0;
        auto clip = MakeStartClip(c.file);
        clip->Start();
        ASSERT_TRUE(Await([&] { return finished_ > 0; }));
        EXPECT_FALSE(clip->isVisible());
        // The decoder is asked for once, before the single retry.
        EXPECT_EQ(codecErrors_, c.codecErrors);
    }
}

TEST_F(ClipsTest, TheStartClipPlaysOnlyWhenDescribedAndWanted) {
    Write("intro.avi", Clip(15));
    QWidget window;
    const struct {
        const char* rolic;
        bool setting;
        bool plays;
    } cases[] = {{"no", true, false}, {"", true, false}, {"intro.avi", false, false}, {"intro.avi", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rolic);
        session_.Model.Rolic = c.rolic;
        session_.Settings.Clip = c.setting;
        TMediaParts media(session_, &window, {});
        bool done = false;
        EXPECT_EQ(media.PlayStartClip([&] { done = true; }), c.plays);
        if (c.plays) EXPECT_TRUE(Await([&] { return done; }));
    }
}

class WindowClipTest : public ClipsTest {
protected:
    WindowClipTest() {
        background_ = QImage(740, 560, QImage::Format_RGB32);
        background_.fill(Qt::blue);
        window_.resize(740, 560);
        window_.show();
        TWindowClipActions a;
        a.background = [this] { return &background_; };
        clip_ = std::make_unique<TWindowClip>(session_, &window_, std::move(a));
    }
    QColor InArea() const { return background_.pixelColor(300, 250); }

    QImage background_;
    QWidget window_;
    std::unique_ptr<TWindowClip> clip_;
};

TEST_F(WindowClipTest, PlaysFreezesResumesAndShowsTheSkinWhenSwitchedOff) {
    Write("car.avi", Clip(3, 0x00ff00));
    EXPECT_FALSE(clip_->ClipPlayerExists());
    clip_->CreateClip3d();
    clip_->SwitchClipMode(true);
    TMyAviPlayer& clip = *clip_->Clip();
    EXPECT_TRUE(clip_->WindowClipShown());
    // Shown before its file is open: it plays once it is.
    ASSERT_TRUE(Await([&] { return clip_->WindowClipPlaying(); }));
    EXPECT_TRUE(clip_->InsideWindowClip(31, 135));
    EXPECT_FALSE(clip_->InsideWindowClip(687, 394));
    ASSERT_TRUE(Await([&] { return !clip.View()->Frame().isNull(); }));
    EXPECT_EQ(test::PixelAt(window_, QPoint(300, 250)), QColor(0, 255, 0));
    // The clip loops: past its end it still plays.
    ASSERT_TRUE(Await([&] { return clip.Player()->GetPosition() > 200; }));
    ASSERT_TRUE(Await([&] { return clip.Player()->GetPosition() < 100 && clip_->WindowClipPlaying(); }));

    clip_->FreezeWindowClip();
    EXPECT_TRUE(clip_->WindowClipHaltedOrPaused());
    EXPECT_FALSE(clip.View()->isVisible());
    EXPECT_EQ(InArea(), QColor(0, 255, 0));  // the frozen frame is in the skin now
    QImage other(740, 560, QImage::Format_RGB32);
    other.fill(Qt::white);
    clip_->DrawFrozenFrame(other);
    EXPECT_EQ(other.pixelColor(300, 250), QColor(0, 255, 0));

    clip_->ResumeWindowClip();
    EXPECT_TRUE(clip_->WindowClipPlaying());
    EXPECT_FALSE(clip_->WindowClipPausedByUser());

    // A click pauses (by the user), a second one plays on.
    clip_->ToggleWindowClip();
    EXPECT_TRUE(clip_->WindowClipPausedByUser());
    EXPECT_TRUE(clip_->WindowClipHaltedOrPaused());
    clip_->ToggleWindowClip();
    EXPECT_TRUE(clip_->WindowClipPlaying());

    // "2d": the skin's own picture under the rectangle again; "3d" plays on.
    clip_->SwitchClipMode(false);
    EXPECT_FALSE(clip_->WindowClipShown());
    EXPECT_EQ(InArea(), QColor(Qt::blue));
    clip_->SwitchClipMode(true);
    EXPECT_TRUE(clip_->WindowClipPlaying());
    // "exit" freezes a playing clip.
    clip_->PauseClip();
    EXPECT_TRUE(clip_->WindowClipHaltedOrPaused());
    clip_->ReleaseWindowClip();
    EXPECT_FALSE(clip_->WindowClipExists());
}

TEST_F(WindowClipTest, AMissingFileLeavesTheAreaWithoutVideo) {
    clip_->CreateClip3d();
    clip_->SwitchClipMode(true);
    EXPECT_TRUE(clip_->WindowClipShown());
    EXPECT_FALSE(clip_->WindowClipPlaying());
    clip_->ToggleWindowClip();
    clip_->FreezeWindowClip();
    // Hidden main window: the clip closes and stays off.
    window_.hide();
    clip_->SwitchClipMode(true);
    EXPECT_FALSE(clip_->WindowClipShown());
}

}  // namespace
}  // namespace vitrina
