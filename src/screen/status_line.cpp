#include "screen/status_line.h"

#include "screen/text_msg.h"

namespace vitrina {

TStatusLine::TStatusLine(TTextMsg* textMsg) : textMsg_(textMsg) {
    timer_.setInterval(200);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void TStatusLine::Show(const std::string& text) {
    if (!textMsg_) return;
    text_ = text;
    counter_ = 1;
    textMsg_->SetText(text, -1, true);
    timer_.start();
}

void TStatusLine::Clear() {
    if (!textMsg_) return;
    timer_.stop();
    text_.clear();
    counter_ = 1;
    textMsg_->SetText({}, -1, true);
}

void TStatusLine::Tick() {
    if (counter_ >= 40) {
        timer_.stop();
        return;
    }
    if (textMsg_) textMsg_->SetText(counter_ % 2 ? std::string() : text_, -1, true);
    ++counter_;
}

}  // namespace vitrina
