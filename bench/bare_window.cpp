// The baseline of the start-up benchmark: a bare Qt program that shows one window with one
// picture, prints "painted" at its first painted frame and ends.
#include <QApplication>
#include <QLabel>

#include "app/first_paint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label;
    label.setPixmap(QPixmap(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    vitrina::TFirstPaint watcher;
    label.installEventFilter(&watcher);
    label.show();
    return app.exec();
}
