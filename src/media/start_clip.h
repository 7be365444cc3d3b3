#pragma once
// The clip shown before the main window: in a borderless window of its own, framed in the middle
// of the screen or on a black full-screen background. Its end, Escape or a file that does not
// open ends it, and the main window's start-up goes on.
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace vitrina {

class TDiscSession;
class TMPlayer;
class TVideoArea;

class TStartClip : public QWidget {
public:
    // clip: relative to the program folder; background "no" or empty: the framed window.
    TStartClip(TDiscSession& session, const std::string& clip, const std::string& background,
               std::function<void(int error)> installCodecs, std::function<void()> finished);
    ~TStartClip() override;

    // Starts the start timer.
    void Start();
    TMPlayer* Player() const { return player_.get(); }
    int Retries() const { return retries_; }
    bool Finished() const { return finished_; }

    static constexpr int kRetries = 10;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Begin();
    // The clip is open (error 0) or failed; a failure for want of a decoder retries once.
    void Opened(int error, bool mayRetry);
    void WatchStart();
    void WatchEnd();
    void Finish();

    TDiscSession& session_;
    std::string clip_;
    bool framed_;
    std::function<void(int)> installCodecs_;
    std::function<void()> finished_callback_;
    std::unique_ptr<TMPlayer> player_;
    TVideoArea* view_ = nullptr;
    QTimer startTimer_, watchStart_, watchEnd_;
    int retries_ = 0;
    bool finished_ = false;
};

}  // namespace vitrina
