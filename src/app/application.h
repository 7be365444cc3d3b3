#pragma once
// The application object with the program's exception rule: an exception that escapes an event
// handler is dropped silently and the program goes on; the operation that raised it just stops.
#include <QApplication>

namespace vitrina {

class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            return false;
        }
    }
};

}  // namespace vitrina
