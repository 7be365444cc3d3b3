#pragma once
// Prints "painted" at the first painted frame of the widget it watches and ends the program:
// what the start-up benchmark times, for the program and for its bare baseline alike.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>

namespace vitrina {

class TFirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

}  // namespace vitrina
