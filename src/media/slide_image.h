#pragma once
// The picture areas of the screens: each shows one picture of its folder at a time; "nextpic",
// "prevpic" and the slide-show timer step through them (one index shared by all areas).
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "resources/dynamic_arrays.h"
#include "resources/screen_model.h"

class QWidget;

namespace vitrina {

class TDiscSession;

// The pictures of a folder in the order they are shown: bitmaps, then ".jpg", then ".jpeg".
TDynamicStringArray CollectSlides(const class TDriveMap& drives, const std::string& folder);

class TSlideImage {
public:
    TSlideImage(TDiscSession& session, const TDynamicImageArray& records, QWidget* window,
                std::function<void()> areaMouseMove);
    ~TSlideImage();

    void ShowPicturesForScreen();
    void NextPicture();
    void PreviousPicture();
    // The timer follows "RunSlideShow"; the settings dialog sets the interval.
    void SetRunning(bool on);
    void SetInterval(int ms) { timer_.setInterval(ms); }
    int Interval() const { return timer_.interval(); }
    bool Running() const { return timer_.isActive(); }

    int Index() const { return index_; }
    int CurrentArea() const { return current_; }
    const std::vector<TDynamicStringArray>& Lists() const { return lists_; }
    // The file the area shows (empty before its first picture).
    const std::string& Shown(int area) const { return shown_[std::size_t(area)]; }
    QLabel* Area(int i) const { return areas_[std::size_t(i)].data(); }

private:
    void Tick();
    void Load(int area);

    TDiscSession& session_;
    TDynamicImageArray records_;
    std::vector<QPointer<QLabel>> areas_;  // children of the window
    std::vector<TDynamicStringArray> lists_;
    std::vector<std::string> shown_;
    int current_ = 0;
    int index_ = 0;
    int lastScreen_ = -1;
    QTimer timer_;
};

}  // namespace vitrina
