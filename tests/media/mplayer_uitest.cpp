// The media device on real files and the host's real players, without a sound device.
#include <QTest>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "media/frame_image.h"
#include "media/mci_errors.h"
#include "media/mplayer.h"
#include "media/video_area.h"
#include "resources/drive_map.h"
#include "support/media_files.h"
#include "support/temp_folder.h"

namespace vitrina {
namespace {

using test::AviBytes;
using test::FourCc;
using test::TAviSpec;
using test::WavBytes;

class MPlayerTest : public ::testing::Test {
protected:
    MPlayerTest() : drives_(folder_.Path(), folder_.Path() / "user") {
        player_.OnNotify = [this](TMPlayer* p) { notices_.push_back(p->NotifyValue()); };
    }
    // The Windows path of a file written into the disc folder.
    std::string Write(const std::string& name, const std::string& bytes) {
        folder_.Write(name, bytes);
        return "d:\\" + name;
    }
    bool AwaitNotices(std::size_t count) {
        return QTest::qWaitFor([&] { return notices_.size() >= count; }, 10000);
    }
    // Opens FileName and waits for the outcome: 0, the error code, or -1 when none came.
    int OpenAndWait() {
        auto outcome = std::make_shared<int>(-1);
        player_.Open([outcome](int error) { *outcome = error; });
        QTest::qWaitFor([&] { return *outcome >= 0; }, 15000);
        return *outcome;
    }

    test::TTempFolder folder_;
    TDriveMap drives_;
    TMPlayer player_{drives_};
    std::vector<int> notices_;
};

TEST_F(MPlayerTest, OpenFailuresCarryTheCodeCallersDecideOn) {
    std::filesystem::create_directories(folder_.Path() / "folder.avi");
    TAviSpec unknownCodec;
    unknownCodec.compression = FourCc("ZZZZ");
    std::string truncated = WavBytes(500);
    truncated.resize(30);
    const struct {
        const char* name;
        std::string bytes;  // empty name: not written
        bool write;
        int code;
    } cases[] = {
        {"missing.wav", "", false, kMciFileNotFound},
        {"folder.avi", "", false, kMciFileRead},
        {"text.avi", std::string(3000, 'a') + "\n", true, kMciInvalidFile},
        {"noise.mp3", std::string("\x01\xfe\x13\x99\x42\x00\x7f", 7) + std::string(4000, '\xa5'), true, kMciInvalidFile},
        {"empty.wav", "", true, kMciInvalidFile},
        {"truncated.wav", truncated, true, kMciInvalidFile},
        {"codec.avi", AviBytes(unknownCodec), true, kMciCannotLoadDriver},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        player_.FileName = c.write ? Write(c.name, c.bytes) : std::string("d:\\") + c.name;
        EXPECT_EQ(OpenAndWait(), c.code);
        EXPECT_EQ(player_.Error(), c.code);
        EXPECT_FALSE(player_.IsOpen());
    }
    // Only a missing decoder sends the caller on to install one.
    EXPECT_FALSE(FileItselfBad(kMciCannotLoadDriver));
    EXPECT_TRUE(FileItselfBad(kMciFileNotFound) && FileItselfBad(kMciInvalidFile) && FileItselfBad(kMciFileRead));
    player_.FileName.clear();
    EXPECT_EQ(OpenAndWait(), kMciFilenameRequired);
}

TEST_F(MPlayerTest, AClosedDeviceRefusesWhatNeedsOne) {
    for (auto op : std::vector<std::function<void()>>{[&] { player_.Play(); }, [&] { player_.Stop(); },
                                                      [&] { player_.Pause(); }, [&] { player_.Seek(0); },
                                                      [&] { player_.GetLength(); }, [&] { player_.Resume(); }}) {
        try {
            op();
            ADD_FAILURE() << "no error";
        } catch (const EMCIDeviceError& e) {
            EXPECT_STREQ(e.what(), "No MCI device open");
        }
    }
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpNotReady);
    EXPECT_EQ(player_.GetPosition(), 0);
    player_.PauseToggle();
    player_.Close();
}

// The window thread returns from an open at once; the outcome comes with the backend's report,
// and an open that a newer one or a close takes the place of is never reported.
TEST_F(MPlayerTest, AnOpenReturnsAtOnceAndOnlyTheLastIsReported) {
    const std::string first = Write("first.wav", WavBytes(400));
    const std::string second = Write("second.wav", WavBytes(700));
    std::vector<std::string> outcomes;
    const auto open = [&](const std::string& file) {
        player_.FileName = file;
        player_.Open([&, file](int error) { outcomes.push_back(file + " " + std::to_string(error)); });
    };
    bool turned = false;
    QTimer::singleShot(0, [&] { turned = true; });
    player_.SetNotify(true);
    open(first);
    EXPECT_FALSE(turned) << "the open waited in an event loop";
    EXPECT_TRUE(player_.Opening());
    EXPECT_FALSE(player_.IsOpen());
    open(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !outcomes.empty(); }, 10000));
    EXPECT_TRUE(player_.IsOpen());
    EXPECT_EQ(player_.GetLength(), 700);
    // The open's own notice was dropped with it; the second open has none.
    ASSERT_TRUE(QTest::qWaitFor([&] { return turned; }, 10000));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(notices_.empty());

    // A close while it opens: nothing opens, nothing is reported.
    open(first);
    player_.Close();
    EXPECT_FALSE(player_.Opening());
    EXPECT_FALSE(player_.IsOpen());
    // An open with notification reports its completion once the device is open.
    player_.SetNotify(true);
    open(second);
    ASSERT_TRUE(AwaitNotices(1));
    EXPECT_EQ(notices_, std::vector<int>{TMPlayer::nvSuccessful});
    EXPECT_EQ(outcomes, (std::vector<std::string>{second + " 0", second + " 0"}));
}

TEST_F(MPlayerTest, ANaturalEndIsSuccessfulAnInterruptionIsNot) {
    player_.FileName = Write("tone.wav", WavBytes(300));
    ASSERT_EQ(OpenAndWait(), 0);
    EXPECT_EQ(player_.GetLength(), 300);
    EXPECT_FALSE(player_.HasVideo());
    ASSERT_EQ(player_.Play(), 0);
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpPlaying);
    ASSERT_TRUE(AwaitNotices(1));
    EXPECT_EQ(notices_, std::vector<int>{TMPlayer::nvSuccessful});
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpStopped);
    EXPECT_EQ(player_.GetPosition(), 300);
    // At the end nothing is left: a play completes at once, unless the device rewinds itself.
    player_.Play();
    ASSERT_TRUE(AwaitNotices(2));
    EXPECT_EQ(notices_.back(), TMPlayer::nvSuccessful);
    player_.AutoRewind = true;
    player_.Play();
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpPlaying);
    // A second play supersedes the first one's notice; a stop aborts the second's.
    player_.Play();
    player_.Stop();
    ASSERT_TRUE(AwaitNotices(4));
    EXPECT_EQ(notices_[2], TMPlayer::nvSuperseded);
    EXPECT_EQ(notices_[3], TMPlayer::nvAborted);
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpStopped);
    // Without notification nothing is reported; the override lasts one command.
    player_.SetNotify(false);
    player_.Play();
    player_.Stop();
    player_.Close();
    QCoreApplication::processEvents();
    EXPECT_EQ(notices_.size(), 4u);
}

TEST_F(MPlayerTest, PauseToggleAndResume) {
    player_.FileName = Write("long.wav", WavBytes(20000));
    ASSERT_EQ(OpenAndWait(), 0);
    player_.PauseToggle();  // stopped: nothing
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpStopped);
    // Resume of a device that is not paused plays from where it stands.
    ASSERT_EQ(player_.Seek(7000), 0);
    EXPECT_EQ(player_.GetPosition(), 7000);
    player_.Resume();
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpPlaying);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player_.GetPosition() > 7000; }, 5000));
    player_.PauseToggle();
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpPaused);
    player_.PauseToggle();
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpPlaying);
    player_.Stop();
    EXPECT_EQ(player_.GetMode(), TMPlayer::mpStopped);
}

TEST_F(MPlayerTest, VideoFramesArePaintedIntoTheDisplay) {
    TAviSpec spec;
    spec.rgb = 0xff8000;
    spec.frames = 5;
    player_.FileName = Write("clip.avi", AviBytes(spec));
    QWidget window;
    window.resize(100, 80);
    auto* area = new TVideoArea(&window, Qt::black);
    area->setGeometry(10, 10, 80, 60);
    window.show();
    player_.SetDisplay(area);  // stored; attached by the open
    ASSERT_EQ(OpenAndWait(), 0);
    EXPECT_TRUE(player_.HasVideo());
    EXPECT_EQ(player_.GetDisplayRect(), QRect(0, 0, 32, 24));
    player_.SetTimeFormat(TMPlayer::tfFrames);
    EXPECT_EQ(player_.GetLength(), 5);
    player_.SetTimeFormat(TMPlayer::tfMilliseconds);
    player_.SetDisplayRect(QRect(4, 4, 0, 0));  // the video's own size
    EXPECT_EQ(player_.GetDisplayRect(), QRect(4, 4, 32, 24));
    player_.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !area->Frame().isNull(); }, 5000));
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10 + 4 + 16, 10 + 4 + 12), QColor(255, 128, 0));
    EXPECT_EQ(shown.pixelColor(10 + 60, 10 + 50), QColor(Qt::black));
    // The display going away while the video plays lets the player go on without it.
    delete area;
    EXPECT_EQ(player_.Display(), nullptr);
    ASSERT_TRUE(AwaitNotices(1));
    EXPECT_EQ(notices_.front(), TMPlayer::nvSuccessful);
}

// Decoders hand over planar YUV; the program turns it into pixels itself.
TEST(FrameImage, YuvFramesBecomeTheirColours) {
    const struct {
        QVideoFrameFormat::PixelFormat format;
        int y, u, v;
        QColor expected;
    } cases[] = {
        {QVideoFrameFormat::Format_YUV420P, 81, 90, 240, QColor(255, 0, 0)},
        {QVideoFrameFormat::Format_YV12, 145, 54, 34, QColor(0, 255, 0)},
        {QVideoFrameFormat::Format_NV12, 41, 240, 110, QColor(0, 0, 255)},
        {QVideoFrameFormat::Format_NV21, 235, 128, 128, QColor(255, 255, 255)},
    };
    for (const auto& c : cases) {
        QVideoFrame frame(QVideoFrameFormat(QSize(4, 2), c.format));
        ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
        const bool semiPlanar = c.format == QVideoFrameFormat::Format_NV12 || c.format == QVideoFrameFormat::Format_NV21;
        for (int plane = 0; plane < frame.planeCount(); ++plane) {
            uchar* bits = frame.bits(plane);
            const int size = frame.mappedBytes(plane);
            for (int i = 0; i < size; ++i) {
                int value = c.y;
                if (plane > 0 && semiPlanar) {
                    const bool first = i % 2 == 0;
                    const bool uFirst = c.format == QVideoFrameFormat::Format_NV12;
                    value = first == uFirst ? c.u : c.v;
                } else if (plane > 0) {
                    const bool uPlane = (plane == 1) == (c.format == QVideoFrameFormat::Format_YUV420P);
                    value = uPlane ? c.u : c.v;
                }
                bits[i] = uchar(value);
            }
        }
        frame.unmap();
        const QColor got = FrameImage(frame).pixelColor(1, 1);
        EXPECT_NEAR(got.red(), c.expected.red(), 3) << c.format;
        EXPECT_NEAR(got.green(), c.expected.green(), 3) << c.format;
        EXPECT_NEAR(got.blue(), c.expected.blue(), 3) << c.format;
    }
}

}  // namespace
}  // namespace vitrina
