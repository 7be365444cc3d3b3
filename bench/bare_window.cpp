// The baseline of the start-up benchmark: a bare Qt program that shows one window with one
// picture, prints "painted" at its first painted frame and ends.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>

namespace {
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
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label;
    label.setPixmap(QPixmap(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    TFirstPaint watcher;
    label.installEventFilter(&watcher);
    label.show();
    return app.exec();
}
