#pragma once
// The status line: a message blinked in the "statusline" text areas for about eight seconds.
#include <QTimer>

#include <string>

namespace vitrina {

class TTextMsg;

class TStatusLine {
public:
    explicit TStatusLine(TTextMsg* textMsg);

    void Show(const std::string& text);
    void Clear();

    const std::string& Text() const { return text_; }
    int Counter() const { return counter_; }
    bool Blinking() const { return timer_.isActive(); }
    // One blink step, as the 200 ms timer runs it.
    void Tick();

private:
    TTextMsg* textMsg_;
    QTimer timer_;
    std::string text_;
    int counter_ = 1;
};

}  // namespace vitrina
