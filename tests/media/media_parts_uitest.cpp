// The music and clip player, the background music and the slides on a session of their own,
// with real files and the host's real players (no sound device needed).
#include <QApplication>
#include <QAudioOutput>
#include <QLabel>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
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
    // show false: the window is shown by the test.
    void Make(bool show = true) {
        TMediaActions actions;
        actions.showDocument = [this](int number, const std::string& document) {
            shown_.push_back(std::to_string(number) + " " + document);
        };
        media_ = std::make_unique<TMediaParts>(session_, &window_, std::move(actions));
        if (show) window_.show();
    }
    static bool Await(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 15000); }
    TMPlayer& MusicPlayer() { return media_->Music().Player(); }
    static bool AwaitPlaying(const TMPlayer& player) {
        return Await([&] { return player.GetMode() == TMPlayer::mpPlaying; });
    }
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
    ASSERT_TRUE(AwaitPlaying(MusicPlayer()));

    media_->PlayDroppedFile(first);
    EXPECT_FALSE(session_.Settings.BGSound);
    EXPECT_FALSE(MusicPlayer().IsOpen());
    EXPECT_EQ(media_->Sound().EndAction(), kEndMusicBack);
    // A second sound while the first plays keeps the music's return.
    media_->PlayDroppedFile(second);
    EXPECT_EQ(media_->Sound().EndAction(), kEndMusicBack);
    ASSERT_TRUE(Await([&] { return session_.Settings.BGSound; }));
    ASSERT_TRUE(AwaitPlaying(MusicPlayer()));

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
    ASSERT_TRUE(AwaitPlaying(sound));
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
    ASSERT_TRUE(AwaitPlaying(sound));
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
        ASSERT_TRUE(AwaitPlaying(MusicPlayer()));
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
    ASSERT_TRUE(Await([&] { return media_->Music().Fading(); }));
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
    ASSERT_TRUE(Await([&] { return media_->Music().Fading(); }));
    media_->BackgroundMusic(false);
    EXPECT_EQ(MusicPlayer().Volume(), 1.0f);
    EXPECT_EQ(media_->Music().SavedVolume(), (TStereoVolume{0xffff, 0xffff}));
}

TEST_F(MediaPartsTest, ASecondPlayWhileAFileOpensTakesItsPlaceAndPlaysOn) {
    Make();
    const std::string first = Write("first.wav", WavBytes(20000));
    const std::string second = Write("second.wav", WavBytes(20000));
    TSound& sound = media_->Sound();
    // The reader's second click arrives while the first file opens.
    bool secondClicked = false;
    QTimer::singleShot(0, &window_, [&] {
        secondClicked = true;
        media_->PlayDroppedFile(second);
    });
    media_->PlayDroppedFile(first);
    // The first play returned before the click was taken: the window thread did not wait inside
    // itself for the file.
    EXPECT_FALSE(secondClicked);
    ASSERT_TRUE(Await([&] { return sound.GetMode() == TMPlayer::mpPlaying; }));
    EXPECT_EQ(sound.FileName, second);
    EXPECT_EQ(sound.Error(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // It plays on (the first open's end does not take the second file away).
    const std::int64_t at = sound.GetPosition();
    ASSERT_TRUE(Await([&] { return sound.GetPosition() > at + 300; }));
    EXPECT_EQ(sound.GetMode(), TMPlayer::mpPlaying);
    EXPECT_EQ(sound.Error(), 0);
}

TEST_F(MediaPartsTest, TheRingStopsWithTheMusic) {
    for (const char* name : {"a", "b"}) Write(std::string("music/") + name + ".wav", WavBytes(300));
    DescribeSongs("music\\a.wav; music\\b.wav");
    session_.Settings.BGSound = true;
    Make();
    TBackgroundMusic& music = media_->Music();

    // Turned off while the next song opens: it stays off.
    media_->BackgroundMusic(true);
    ASSERT_TRUE(AwaitPlaying(MusicPlayer()));
    auto chained = MusicPlayer().OnNotify;
    bool stopped = false;
    MusicPlayer().OnNotify = [&](TMPlayer* p) {
        if (p->NotifyValue() == TMPlayer::nvSuccessful && !std::exchange(stopped, true))
            QTimer::singleShot(0, &window_, [&] { media_->BackgroundMusic(false); });
        chained(p);
    };
    ASSERT_TRUE(Await([&] { return stopped && !music.Opening(); }));
    EXPECT_FALSE(MusicPlayer().IsOpen());
    EXPECT_NE(MusicPlayer().GetMode(), TMPlayer::mpPlaying);

    // A song that ends during the stop's fade-out does not start the next one.
    MusicPlayer().OnNotify = chained;
    media_->BackgroundMusic(true);
    ASSERT_TRUE(AwaitPlaying(MusicPlayer()));
    const int song = music.SongIndex();
    media_->BackgroundMusic(false);
    EXPECT_EQ(music.SongIndex(), song);
    EXPECT_FALSE(MusicPlayer().IsOpen());
}

// Notes the first paint event of a widget, and calls first there.
class TPaintSeen : public QObject {
public:
    explicit TPaintSeen(QWidget& widget, std::function<void()> first = {}) : first_(std::move(first)) {
        widget.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !std::exchange(painted, true) && first_) first_();
        return false;
    }
    bool painted = false;

private:
    std::function<void()> first_;
};

TEST_F(MediaPartsTest, TheMusicOfTheFirstShowingStartsAfterTheFirstFrame) {
    Write("music/song.wav", WavBytes(20000));
    DescribeSongs("music\\song.wav");
    session_.Settings.BGSound = true;
    Make(false);
    bool openAtPaint = true;
    TPaintSeen paint(window_, [&] { openAtPaint = MusicPlayer().IsOpen(); });
    bool paintedAtStart = false;
    media_->Music().OnFlagChanged = [&](bool on) {
        if (on) paintedAtStart = paint.painted;
    };
    media_->BackgroundMusicAfterFirstFrame();
    EXPECT_TRUE(media_->Music().StartPending());
    EXPECT_FALSE(MusicPlayer().IsOpen());
    window_.show();
    ASSERT_TRUE(Await([&] { return MusicPlayer().GetMode() == TMPlayer::mpPlaying; }));
    EXPECT_FALSE(openAtPaint);
    EXPECT_TRUE(paintedAtStart);
    EXPECT_FALSE(media_->Music().StartPending());
    EXPECT_TRUE(session_.Settings.BGSound);
}

// A command between the window's showing and the music's start acts as if the music had
// started at once.
TEST_F(MediaPartsTest, ACommandBeforeTheDeferredStartTakesItsPlace) {
    Write("music/song.wav", WavBytes(20000));
    DescribeSongs("music\\song.wav");
    // Long enough to outlast the first frame.
    const std::string sound = Write("sound.wav", WavBytes(1500));
    const std::string clip = Write("clip.avi", AviBytes({}));
    // The dispatcher's "bgsound": the flag turns, then the player follows.
    const auto toggle = [this] {
        session_.Settings.BGSound = !session_.Settings.BGSound;
        media_->BackgroundMusic(session_.Settings.BGSound);
    };
    struct TCase {
        const char* name;
        std::function<void()> command;
        bool musicAtFirstFrame;  // playing right after the first frame
        bool musicLater;         // playing once what the command started has ended
    };
    const TCase cases[] = {
        {"music off", toggle, false, false},
        {"music off and on again", [&] { toggle(); toggle(); }, true, true},
        {"music on while it waits", [&] { media_->BackgroundMusic(true); }, true, true},
        {"a sound: the music comes back at its end", [&] { media_->PlayDroppedFile(sound); }, false, true},
        {"a clip: the music stays off", [&] { media_->Clip(clip, {}); }, false, false},
        {"stop, which concerns the player alone", [&] { media_->Stop(); }, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(session_.Registry().OpenKey(SettingsKey(session_.Title), true));
        session_.Registry().WriteInteger("BGSoundSong", 0);
        session_.Registry().WriteInteger("BGSoundPos", 3000);
        session_.Registry().CloseKey();
        session_.Settings.BGSound = true;
        window_.hide();
        Make(false);
        TPaintSeen paint(window_);
        int starts = 0;
        media_->Music().OnFlagChanged = [&](bool on) { starts += on; };
        media_->BackgroundMusicAfterFirstFrame();
        c.command();
        ASSERT_TRUE(Await([&] { return !MusicPlayer().Opening(); }));
        // A music started by the command itself plays on from where it was taken, not again
        // from the stored place.
        const bool startedByCommand = MusicPlayer().IsOpen();
        if (startedByCommand) {
            MusicPlayer().Seek(9000);
            MusicPlayer().Play();
        }
        window_.show();
        ASSERT_TRUE(Await([&] { return paint.painted; }));
        QCoreApplication::sendPostedEvents();
        if (c.musicAtFirstFrame) {
            ASSERT_TRUE(Await([&] { return MusicPlayer().GetMode() == TMPlayer::mpPlaying; }));
        }
        EXPECT_EQ(MusicPlayer().GetMode() == TMPlayer::mpPlaying, c.musicAtFirstFrame);
        EXPECT_EQ(session_.Settings.BGSound, c.musicAtFirstFrame);
        if (c.musicLater) {
            ASSERT_TRUE(Await([&] { return MusicPlayer().GetMode() == TMPlayer::mpPlaying; }));
            EXPECT_GE(MusicPlayer().GetPosition(), startedByCommand ? 9000 : 3000);
        } else {
            ASSERT_TRUE(Await([&] { return !media_->Sound().IsOpen(); }));
            EXPECT_FALSE(MusicPlayer().IsOpen());
        }
        EXPECT_EQ(session_.Settings.BGSound, c.musicLater);
        EXPECT_EQ(starts, c.musicLater ? 1 : 0);
        EXPECT_FALSE(media_->Music().StartPending());
        media_->Music().Stop(false);
        // Whatever happened, the stored place is never lost.
        EXPECT_GE(ReadSetting("BGSoundPos"), 3000);
        media_.reset();
    }
}

// A stop or a second start that comes while the music opens (a click) decides what plays, as it
// would after the open.
TEST_F(MediaPartsTest, MusicCommandsWhileTheMusicOpens) {
    Write("music/song.wav", WavBytes(20000));
    DescribeSongs("music\\song.wav");
    Make();
    for (const bool startAgain : {false, true}) {
        SCOPED_TRACE(startAgain ? "stopped and started again" : "stopped");
        session_.Settings.BGSound = true;
        QTimer::singleShot(0, [&] {
            session_.Settings.BGSound = false;
            media_->BackgroundMusic(false);
            if (startAgain) {
                session_.Settings.BGSound = true;
                media_->BackgroundMusic(true);
            }
        });
        media_->BackgroundMusic(true);
        QCoreApplication::sendPostedEvents();
        ASSERT_TRUE(Await([&] { return !MusicPlayer().Opening(); }));
        EXPECT_EQ(MusicPlayer().GetMode() == TMPlayer::mpPlaying, startAgain);
        EXPECT_EQ(session_.Settings.BGSound, startAgain);
        if (MusicPlayer().IsOpen()) media_->BackgroundMusic(false);
    }
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
        ASSERT_TRUE(AwaitPlaying(music.Player()));
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
    ASSERT_TRUE(AwaitPlaying(next.Player()));
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
