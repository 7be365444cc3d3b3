// The music and clip player, the background music and the slides on a session of their own,
// with real files and the host's real players (no sound device needed).
#include <QAudioOutput>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "media/background_music.h"
#include "media/media_parts.h"
#include "media/player_rules.h"
#include "media/slide_image.h"
#include "media/sound.h"
#include "media/video_area.h"
#include "session/disc_session.h"
#include "session/settings.h"
#include "support/image_bytes.h"
#include "support/media_files.h"
#include "support/temp_folder.h"
#include "support/widget_pixels.h"

namespace vitrina {
namespace {

using test::AviBytes;
using test::TAviSpec;
using test::WavBytes;

class MediaPartsTest : public ::testing::Test {
protected:
    MediaPartsTest()
        : drives_(folder_.Path() / "disc", folder_.Path() / "c"),
          session_(drives_, TUserFolders{folder_.Path() / "config", folder_.Path() / "c", folder_.Path() / "run"}) {
        std::filesystem::create_directories(folder_.Path() / "disc");
        session_.ProgramFolder = "d:\\";
        session_.Title = "Test";
        session_.Settings.BGSound = false;
        window_.resize(600, 400);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        folder_.Write("disc/" + name, bytes);
        return "d:\\" + name;
    }
    // The songs the way the description names them: the reader resolves them against the
    // program folder.
    void DescribeSongs(const std::string& list) { session_.Model.ReadHeader({"bgsounddef=[" + list + "]"}); }
    void Make() {
        TMediaActions actions;
        actions.showDocument = [this](int number, const std::string& document) {
            shown_.push_back(std::to_string(number) + " " + document);
        };
        media_ = std::make_unique<TMediaParts>(session_, &window_, std::move(actions));
        window_.show();
    }
    static bool Await(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 15000); }
    TMPlayer& MusicPlayer() { return media_->Music().Player(); }
    int ReadSetting(const char* name) {
        TRegistry& registry = session_.Registry();
        if (!registry.OpenKey(SettingsKey(session_.Title), false)) return -1;
        const int value = ReadIntegerOr(registry, name, -1, false);
        registry.CloseKey();
        return value;
    }

    test::TTempFolder folder_;
    TDriveMap drives_;
    TDiscSession session_;
    QWidget window_;
    std::unique_ptr<TMediaParts> media_;
    std::vector<std::string> shown_;
};

TEST_F(MediaPartsTest, ASoundSuspendsTheMusicAndItsEndBringsItBack) {
    Write("music/song.wav", WavBytes(20000));
    const std::string first = Write("first.wav", WavBytes(400));
    const std::string second = Write("second.wav", WavBytes(600));
    DescribeSongs("music\\song.wav");
    session_.Settings.BGSound = true;
    Make();
    media_->BackgroundMusic(true);
    ASSERT_EQ(MusicPlayer().GetMode(), TMPlayer::mpPlaying);

    media_->PlayDroppedFile(first);
    EXPECT_FALSE(session_.Settings.BGSound);
    EXPECT_FALSE(MusicPlayer().IsOpen());
    EXPECT_EQ(media_->Sound().EndAction(), kEndMusicBack);
    // A second sound while the first plays keeps the music's return.
    media_->PlayDroppedFile(second);
    EXPECT_EQ(media_->Sound().EndAction(), kEndMusicBack);
    ASSERT_TRUE(Await([&] { return session_.Settings.BGSound; }));
    EXPECT_EQ(MusicPlayer().GetMode(), TMPlayer::mpPlaying);

    // A clip started meanwhile closes at its end and leaves the music off.
    media_->PlayDroppedFile(first);
    media_->Clip(Write("clip.avi", AviBytes({})), {});
    EXPECT_EQ(media_->Sound().EndAction(), kEndClose);
    ASSERT_TRUE(Await([&] { return !media_->Sound().IsOpen(); }));
    EXPECT_FALSE(session_.Settings.BGSound);
    EXPECT_FALSE(MusicPlayer().IsOpen());
}

TEST_F(MediaPartsTest, AClipPaintsIntoTheAreaOfTheScreenAndShowsItsDocument) {
    session_.Model.ClipAreas = {{10, 10, 110, 90, 0x0000ff, 30, 1}, {20, 20, 100, 100, 0, 31, 2}};
    RHTML html;
    html.number = 30;
    html.fn = "d:\\own.htm";
    session_.Model.HtmlAreas = {html};
    session_.CurrentScreen = 1;
    Make();
    TSound& sound = media_->Sound();
    ASSERT_EQ(sound.Areas().size(), 2u);
    EXPECT_TRUE(sound.Areas()[0]->isVisible());
    EXPECT_FALSE(sound.Areas()[1]->isVisible());
    EXPECT_EQ(test::PixelAt(window_, QPoint(100, 80)), QColor(255, 0, 0));  // the area's colour

    TAviSpec spec;
    spec.rgb = 0x00ff00;
    media_->Clip(Write("clip.avi", AviBytes(spec)), {});
    EXPECT_EQ(shown_, std::vector<std::string>{"30 d:\\own.htm"});
    EXPECT_EQ(sound.Display(), sound.Areas()[0]);
    ASSERT_TRUE(Await([&] { return !sound.Areas()[0]->Frame().isNull(); }));
    EXPECT_EQ(test::PixelAt(window_, QPoint(20, 20)), QColor(0, 255, 0));
    media_->Stop();
    EXPECT_EQ(sound.GetMode(), TMPlayer::mpStopped);

    // The screen switch: the areas of the new screen show, those of the old one hide.
    session_.CurrentScreen = 2;
    media_->ScreenChanged(2);
    EXPECT_FALSE(sound.Areas()[0]->isVisible());
    EXPECT_TRUE(sound.Areas()[1]->isVisible());
    media_->Clip(Write("other.avi", AviBytes({})), "d:\\beside.htm");
    EXPECT_EQ(shown_.back(), "31 d:\\beside.htm");
    // On a screen without an area the clip keeps the last display and no document changes.
    session_.CurrentScreen = 0;
    media_->ScreenChanged(0);
    media_->Clip(Write("third.avi", AviBytes({})), "d:\\x.htm");
    EXPECT_EQ(shown_.size(), 2u);
    EXPECT_EQ(sound.Display(), sound.Areas()[1]);
    // "play" without a file closes what was open.
    media_->Play();
    EXPECT_FALSE(sound.IsOpen());
}

TEST_F(MediaPartsTest, StepsNearTheStartAndTheEnd) {
    Make();
    TSound& sound = media_->Sound();
    media_->PlayDroppedFile(Write("long.wav", WavBytes(20000)));
    ASSERT_TRUE(sound.IsOpen());
    sound.Seek(7000);
    media_->StepBack();
    EXPECT_LT(sound.GetPosition(), 1000);
    EXPECT_EQ(sound.GetMode(), TMPlayer::mpPlaying);
    sound.Seek(15000);
    media_->StepForward();
    // At the end: the play completes, and the sound's end action closes the device.
    ASSERT_TRUE(Await([&] { return !sound.IsOpen(); }));
    // Pause toggles; the pause command's own play notice never fires.
    media_->PlayDroppedFile(Write("long.wav", WavBytes(20000)));
    media_->Pause();
    EXPECT_EQ(sound.GetMode(), TMPlayer::mpPaused);
    media_->Pause();
    EXPECT_EQ(sound.GetMode(), TMPlayer::mpPlaying);
}

TEST_F(MediaPartsTest, SongsPlayInARing) {
    for (const char* name : {"a", "b", "c"}) Write(std::string("music/") + name + ".wav", WavBytes(300));
    for (const char* list : {"music\\a.wav", "music\\a.wav; music\\b.wav; music\\c.wav"}) {
        SCOPED_TRACE(list);
        DescribeSongs(list);
        session_.Settings.BGSound = true;
        Make();
        media_->BackgroundMusic(true);
        ASSERT_TRUE(MusicPlayer().IsOpen());
        const int count = int(media_->Music().Songs().size());
        std::vector<int> played{media_->Music().SongIndex()};
        auto chained = MusicPlayer().OnNotify;
        MusicPlayer().OnNotify = [&](TMPlayer* p) {
            chained(p);
            if (p->NotifyValue() == TMPlayer::nvSuccessful) played.push_back(media_->Music().SongIndex());
        };
        ASSERT_TRUE(Await([&] { return int(played.size()) > count; }));
        for (int i = 0; i <= count; ++i) EXPECT_EQ(played[std::size_t(i)], i % count);
        EXPECT_TRUE(session_.Settings.BGSound);
        media_->BackgroundMusic(false);
        media_.reset();
    }
}

TEST_F(MediaPartsTest, TheMusicFadesInAndOut) {
    Write("music/song.wav", WavBytes(20000));
    DescribeSongs("music\\song.wav");
    session_.Settings.BGSound = true;
    Make();
    std::vector<float> volumes;
    QObject::connect(MusicPlayer().Output(), &QAudioOutput::volumeChanged, [&](float v) { volumes.push_back(v); });
    media_->BackgroundMusic(true);
    EXPECT_TRUE(media_->Music().Fading());
    ASSERT_TRUE(Await([&] { return !media_->Music().Fading(); }));
    ASSERT_FALSE(volumes.empty());
    EXPECT_LT(volumes.front(), 0.01f);
    EXPECT_TRUE(std::is_sorted(volumes.begin(), volumes.end()));
    EXPECT_EQ(volumes.back(), 1.0f);
    volumes.clear();
    media_->BackgroundMusic(false);  // returns when the fade has reached silence
    EXPECT_FALSE(MusicPlayer().IsOpen());
    ASSERT_GE(volumes.size(), 3u);
    EXPECT_EQ(volumes[volumes.size() - 2], 0.0f);
    EXPECT_EQ(volumes.back(), 1.0f);  // the output's volume is given back
    // A stop in the middle of the fade-in gives back the full volume, not the half-faded one.
    media_->BackgroundMusic(true);
    media_->BackgroundMusic(false);
    EXPECT_EQ(MusicPlayer().Volume(), 1.0f);
    EXPECT_EQ(media_->Music().SavedVolume(), (TStereoVolume{0xffff, 0xffff}));
}

TEST_F(MediaPartsTest, TheSongAndItsPositionResumeInTheNextRun) {
    Write("music/a.wav", WavBytes(20000));
    Write("music/b.wav", WavBytes(20000));
    DescribeSongs("music\\a.wav; music\\b.wav");
    session_.Settings.BGSound = true;
    {
        TBackgroundMusic music(session_);
        music.SetSongs(session_.Model.BackgroundSongs);
        ASSERT_TRUE(session_.Registry().OpenKey(SettingsKey(session_.Title), true));
        session_.Registry().WriteInteger("BGSoundSong", 1);
        session_.Registry().WriteInteger("BGSoundPos", 5000);
        session_.Registry().CloseKey();
        music.Start();
        ASSERT_TRUE(music.Player().IsOpen());
        EXPECT_EQ(music.SongIndex(), 1);
        EXPECT_EQ(music.Player().FileName, "d:\\music\\b.wav");
        EXPECT_GE(music.Player().GetPosition(), 5000);
        music.Player().Seek(8000);
        music.Stop(false);
    }
    EXPECT_EQ(ReadSetting("BGSoundSong"), 1);
    EXPECT_EQ(ReadSetting("BGSoundPos"), 8000);
    TBackgroundMusic next(session_);
    next.SetSongs(session_.Model.BackgroundSongs);
    next.Start();
    EXPECT_EQ(next.SongIndex(), 1);
    EXPECT_GE(next.Player().GetPosition(), 8000);
    next.Stop(false);
    // A stored song that is not in the list starts the first one.
    ASSERT_TRUE(session_.Registry().OpenKey(SettingsKey(session_.Title), true));
    session_.Registry().WriteInteger("BGSoundSong", 7);
    session_.Registry().CloseKey();
    next.Start();
    EXPECT_EQ(next.SongIndex(), 0);
    next.Stop(false);
}

TEST_F(MediaPartsTest, MusicThatCannotPlayClearsTheFlag) {
    DescribeSongs("music\\missing.mp3");
    session_.Settings.BGSound = true;
    Make();
    media_->BackgroundMusic(true);
    EXPECT_FALSE(session_.Settings.BGSound);
    EXPECT_FALSE(MusicPlayer().IsOpen());
}

TEST_F(MediaPartsTest, SlidesInTheirOrderWithWrapAround) {
    const auto picture = [](Qt::GlobalColor colour, const char* format) {
        QImage image(4, 4, QImage::Format_RGB888);
        image.fill(colour);
        return test::ImageBytes(image, format);
    };
    const std::string bmp = picture(Qt::red, "BMP");
    const std::string jpeg = picture(Qt::blue, "JPEG");
    Write("slides/a.jpeg", jpeg);
    Write("slides/b.jpg", jpeg);
    Write("slides/z.bmp", bmp);
    Write("slides/c.BMP", bmp);
    Write("slides/notes.txt", "x");
    session_.Model.ImageAreas = {{0, 0, 100, 100, "d:\\slides\\", 1}, {0, 0, 50, 50, "d:\\empty\\", 2}};
    session_.CurrentScreen = 1;
    Make();
    TSlideImage& slides = *media_->Slides();
    EXPECT_EQ(slides.Lists()[0], (TDynamicStringArray{"d:\\slides\\c.BMP", "d:\\slides\\z.bmp", "d:\\slides\\b.jpg",
                                                       "d:\\slides\\a.jpeg"}));
    EXPECT_TRUE(slides.Area(0)->isVisible());
    EXPECT_EQ(slides.Shown(0), "d:\\slides\\c.BMP");
    media_->PrevPicture();
    EXPECT_EQ(slides.Shown(0), "d:\\slides\\a.jpeg");
    media_->NextPicture();
    EXPECT_EQ(slides.Shown(0), "d:\\slides\\c.BMP");
    media_->NextPicture();
    EXPECT_EQ(slides.Shown(0), "d:\\slides\\z.bmp");
    // Leaving and coming back keeps the picture; an area with no pictures ignores the steps.
    session_.CurrentScreen = 2;
    media_->ScreenChanged(2);
    EXPECT_FALSE(slides.Area(0)->isVisible());
    media_->NextPicture();
    session_.CurrentScreen = 1;
    media_->ScreenChanged(1);
    EXPECT_EQ(slides.Shown(0), "d:\\slides\\z.bmp");
    // The slide show steps by itself, backwards here.
    session_.Settings.ImageSequence = 1;
    slides.SetInterval(10);
    slides.SetRunning(true);
    ASSERT_TRUE(Await([&] { return slides.Shown(0) == "d:\\slides\\c.BMP"; }));
    slides.SetRunning(false);
}

}  // namespace
}  // namespace vitrina
