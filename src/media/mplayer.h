#pragma once
// One media device: opens a file, plays, pauses, resumes, stops and seeks it, reports length,
// position and mode, paints video into a display area, and reports the completion of a command
// issued with notification. The callers decide on the error codes of mci_errors.h, the notify
// values and the modes below, which keep the meaning the disc's descriptions were written for.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/mci_errors.h"

class QAudioOutput;
class QMediaPlayer;
class QVideoFrame;
class QVideoSink;

namespace vitrina {

class TDriveMap;
class TVideoArea;

class TMPlayer : public QObject {
public:
    // Only stored: the backend chooses its decoders from the file's contents.
    enum TMPDeviceTypes {
        dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay,
        dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
    };
    enum TMPTimeFormat { tfMilliseconds = 0, tfFrames = 3 };
    enum TMPNotifyValue { nvSuccessful = 0, nvSuperseded = 1, nvAborted = 2, nvFailure = 3 };
    enum TMPMode { mpNotReady = 0, mpStopped = 1, mpPlaying = 2, mpRecording = 3, mpSeeking = 4, mpPaused = 5, mpOpen = 6 };

    explicit TMPlayer(const TDriveMap& drives, QObject* parent = nullptr);
    ~TMPlayer() override;

    bool AutoRewind = false;
    TMPDeviceTypes DeviceType = dtAutoSelect;
    std::string FileName;  // a Windows path
    bool Shareable = false;
    // Called after a command issued with notification completes (read NotifyValue).
    std::function<void(TMPlayer*)> OnNotify;

    // Called once the open has an outcome: 0 when the device is open, else the error code (also
    // in Error(); ErrorMessage() has the device's text).
    using TOpened = std::function<void(int error)>;
    // Starts opening FileName and returns at once; opened is told the outcome, at once when the
    // file cannot be read at all, else when the backend has looked at it. An open that a newer
    // Open or a Close takes the place of ends quietly: opened is dropped without a call.
    void Open(TOpened opened = {});
    // Closes the device, or drops the open in progress.
    void Close();
    int Play();
    int Stop();
    int Pause();
    int Resume();
    void PauseToggle();
    int Seek(std::int64_t position);
    int Rewind();
    void SetTimeFormat(int format) { timeFormat_ = format; }
    std::int64_t GetLength();
    std::int64_t GetPosition();
    int GetMode() const;

    // One-shot overrides of the next command's wait and notify flags.
    void SetNotify(bool value);
    void SetWait(bool value);

    // Where the video shows; attached at once when a device with video is open, else by the next
    // Open. A display that is destroyed is let go.
    void SetDisplay(TVideoArea* display);
    TVideoArea* Display() const;
    // left, top, width, height; width and height 0 take the video's own size.
    void SetDisplayRect(const QRect& rect);
    QRect GetDisplayRect() const;

    bool IsOpen() const { return open_; }
    bool Opening() const { return loading_; }
    bool HasVideo() const { return hasVideo_; }
    int Error() const { return error_; }
    std::string ErrorMessage() const { return MciErrorText(error_); }
    int NotifyValue() const { return notifyValue_; }

    // The output's volume, 0 to 1 (the host has one volume per output, not one per channel).
    void SetVolume(float volume);
    float Volume() const { return volume_; }
    // Made here when no file has been opened yet.
    const QAudioOutput* Output();

private:
    struct TFlags {
        bool wait = false;
        bool notify = false;
    };
    TFlags WaitingFlags();
    TFlags NotifyingFlags();
    void CheckOpen() const;
    void MakeOutputs();
    void MakeBackend();
    // The backend reported on the file being opened: the outcome is taken after the reports that
    // come with this one (a failure names its cause in a report of its own).
    void LoadReported(int code);
    void Loaded(unsigned generation);
    void Opened(int code);
    void CancelLoad();
    void CloseDevice();
    void Attach();
    // Ends a pending notification with value (aborted, superseded, failure).
    void EndPending(int value);
    void Deliver(int value);
    void Ended();
    void Failed(const QString& message);
    void FrameArrived(const QVideoFrame& frame);
    std::int64_t ToFormat(std::int64_t ms) const;
    std::int64_t FromFormat(std::int64_t value) const;

    const TDriveMap& drives_;
    float volume_ = 1.0f;  // also for the output made with the first file
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QVideoSink> sink_;
    std::unique_ptr<QMediaPlayer> player_;  // goes before its output and sink
    QPointer<TVideoArea> display_;
    bool open_ = false;
    bool loading_ = false;
    unsigned openGeneration_ = 0;  // tells the reports of the open in progress from older ones
    int loadCode_ = 0;             // the first failure reported while it opens
    bool loadEnding_ = false;      // its outcome is posted
    bool openNotify_ = false;
    TOpened opened_;
    bool hasVideo_ = false;
    bool stopped_ = true;  // paused by Stop or Seek: the mode reads stopped
    bool atEnd_ = false;
    bool pending_ = false;  // a play or resume waits for its completion notice
    int error_ = 0;
    int notifyValue_ = 0;
    int timeFormat_ = tfMilliseconds;
    double frameRate_ = 0;
    bool waitSet_ = false, wait_ = false;
    bool notifySet_ = false, notify_ = false;
    QSize displaySize_;
    QRect displayRect_;  // where the video goes in the display; empty: its own size at the corner
};

}  // namespace vitrina
