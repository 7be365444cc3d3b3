#include "media/slide_image.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <cstdlib>

#include "platform/picture_label.h"
#include "resources/find_files.h"
#include "session/disc_session.h"

namespace vitrina {

namespace {

// A picture area: its picture centred; the pointer over it tells the window.
class TPictureArea : public TPictureLabel {
public:
    TPictureArea(QWidget* parent, std::function<void()> mouseMove)
        : TPictureLabel(parent), mouseMove_(std::move(mouseMove)) {
        setMouseTracking(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent*) override {
        if (mouseMove_) mouseMove_();
    }

private:
    std::function<void()> mouseMove_;
};

}  // namespace

TDynamicStringArray CollectSlides(const TDriveMap& drives, const std::string& folder) {
    TDynamicStringArray list;
    for (const char* mask : {"*.bmp", "*.jpg", "*.jpeg"}) {
        TDynamicStringArray masks{mask};
        FindFiles(drives, folder, masks, false, list, false);
    }
    return list;
}

TSlideImage::TSlideImage(TDiscSession& session, const TDynamicImageArray& records, QWidget* window,
                         std::function<void()> areaMouseMove)
    : session_(session), records_(records) {
    for (const RImage& r : records_) {
        auto* area = new TPictureArea(window, areaMouseMove);
        area->setGeometry(r.vx, r.vy, r.vw - r.vx, r.vh - r.vy);
        area->hide();
        areas_.push_back(area);
        lists_.push_back(CollectSlides(session_.Drives(), r.dir));
        shown_.emplace_back();
    }
    timer_.setInterval(session_.Settings.SlideShowTime * 1000);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    ShowPicturesForScreen();
}

TSlideImage::~TSlideImage() {
    timer_.stop();
    for (const QPointer<QLabel>& a : areas_) delete a.data();
}

void TSlideImage::Load(int area) {
    const TDynamicStringArray& list = lists_[std::size_t(area)];
    if (list.empty()) return;
    // The shared index may lie beyond a shorter list: that area starts at its first picture.
    if (index_ < 0 || index_ >= int(list.size())) index_ = 0;
    const std::string& file = list[std::size_t(index_)];
    const auto host = session_.Drives().ToHostPath(file);
    QImage picture;
    if (!host || !picture.load(QString::fromStdString(host->string())) || !areas_[std::size_t(area)]) return;
    areas_[std::size_t(area)]->setPixmap(QPixmap::fromImage(picture));
    shown_[std::size_t(area)] = file;
}

void TSlideImage::ShowPicturesForScreen() {
    const int screen = session_.CurrentScreen;
    for (std::size_t i = 0; i < areas_.size(); ++i) {
        if (!areas_[i]) continue;
        if (records_[i].screen == screen) {
            areas_[i]->show();
            current_ = int(i);
            if (shown_[i].empty()) Load(int(i));
            if (session_.Settings.RunSlideShow) timer_.start();
        } else if (records_[i].screen == lastScreen_) {
            if (session_.Settings.RunSlideShow) timer_.stop();
            areas_[i]->hide();
        }
    }
    lastScreen_ = screen;
}

void TSlideImage::NextPicture() {
    if (areas_.empty() || lists_[std::size_t(current_)].empty()) return;
    const int count = int(lists_[std::size_t(current_)].size());
    index_ = index_ + 1 >= count ? 0 : index_ + 1;
    Load(current_);
}

void TSlideImage::PreviousPicture() {
    if (areas_.empty() || lists_[std::size_t(current_)].empty()) return;
    const int count = int(lists_[std::size_t(current_)].size());
    index_ = index_ - 1 < 0 || index_ - 1 >= count ? count - 1 : index_ - 1;
    Load(current_);
}

void TSlideImage::SetRunning(bool on) {
    if (on) timer_.start();
    else timer_.stop();
}

void TSlideImage::Tick() {
    const int order = session_.Settings.ImageSequence;
    if (order == 0) return NextPicture();
    if (order == 1) return PreviousPicture();
    if (areas_.empty() || lists_[std::size_t(current_)].empty()) return;
    index_ = std::rand() % int(lists_[std::size_t(current_)].size());
    Load(current_);
}

}  // namespace vitrina
