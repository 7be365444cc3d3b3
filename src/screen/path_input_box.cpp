#include "screen/path_input_box.h"

#include <QEvent>

#include "session/settings.h"
#include "platform/cp1251.h"
#include "platform/registry.h"
#include "resources/description.h"
#include "resources/drive_map.h"

namespace vitrina {

namespace {
class TPointerFilter : public QObject {
public:
    explicit TPointerFilter(std::function<void()> f) : f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseMove || e->type() == QEvent::Enter) {
            if (f_) f_();
        }
        return false;
    }

private:
    std::function<void()> f_;
};
}  // namespace

TPathInputBox::TPathInputBox(const TDynamicPathInputArray& areas, QWidget* window, TRegistry& registry,
                             std::string title, int currentScreen, std::function<void()> onPointerOver)
    : registry_(registry), title_(std::move(title)), current_(currentScreen),
      filter_(std::make_unique<TPointerFilter>(std::move(onPointerOver))) {
    const bool open = registry_.OpenKey(SettingsKey(title_), true);
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const RPathInput& a = areas[i];
        auto* edit = new QLineEdit(window);
        edit->hide();
        edit->setFrame(false);
        edit->setToolTip(QString::fromStdString(Cp1251ToUtf8(a.hint)));
        QFont f = edit->font();
        f.setPixelSize(std::max(1, a.vh - a.vy - 1));
        edit->setFont(f);
        edit->setGeometry(a.vx, a.vy, a.vw - a.vx, a.vh - a.vy);
        edit->setMouseTracking(true);
        edit->installEventFilter(filter_.get());
        std::string text;
        if (open) {
            try {
                text = registry_.ReadString("PathInstall" + std::to_string(i));
            } catch (const ERegistryError&) {
            }
        }
        // A folder the reader typed stays theirs; the disc's default never points into the host.
        if (text.empty()) text = OnHostDrive(a.pathdef) ? std::string(kOwnUserFolder) : a.pathdef;
        edit->setText(QString::fromStdString(Cp1251ToUtf8(text)));
        boxes_.push_back({edit, a.screen});
    }
    registry_.CloseKey();
    ScreenChanged(currentScreen);
}

TPathInputBox::~TPathInputBox() {
    if (!registry_.OpenKey(SettingsKey(title_), true)) return;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        try {
            registry_.WriteString("PathInstall" + std::to_string(i), Utf8ToCp1251(boxes_[i].edit->text().toStdString()));
        } catch (const ERegistryError&) {
        }
    }
    registry_.CloseKey();
}

void TPathInputBox::ScreenChanged(int currentScreen) {
    current_ = currentScreen;
    for (TBox& b : boxes_)
        if (b.screen == lastShown_) b.edit->hide();
    for (TBox& b : boxes_)
        if (b.screen == current_) b.edit->show();
    lastShown_ = current_;
}

void TPathInputBox::HideAll(bool hide) {
    for (TBox& b : boxes_)
        if (b.screen == current_) b.edit->setVisible(!hide);
}

void TPathInputBox::CurrentPath(std::string& path) const {
    for (const TBox& b : boxes_) {
        if (b.screen == current_) {
            path = Utf8ToCp1251(b.edit->text().toStdString()) + "\\";
            return;
        }
    }
}

}  // namespace vitrina
