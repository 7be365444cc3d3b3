// The --screenshot picture: the main window and, over it, the program's other windows in their
// own shapes.
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "app/program_fixture.h"

namespace vitrina {
namespace {

const char* kPlain = R"(title=снимок
_screen=bg1.bmp
)";

// A window of one colour, cut to a shape as the about window is.
class TShapedTopLevel : public QWidget {
public:
    TShapedTopLevel(QColor color, const QRegion& shape)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), color_(color) {
        setAttribute(Qt::WA_NoSystemBackground);
        setMask(shape);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color_); }

private:
    QColor color_;
};

TEST(Screenshot, OtherWindowsOfTheProgramAppearInTheirShapesOnly) {
    test::TTestProgram program(kPlain, {{"bg1.bmp", test::Bmp(200, 150, QColor(255, 0, 0))}});
    TSkinWindow& form = program.Window();
    const QPoint origin = form.geometry().topLeft();
    // Two windows, each with a cut corner, one over the other.
    const QRegion cut(QPolygon({QPoint(20, 0), QPoint(99, 0), QPoint(99, 79), QPoint(0, 79), QPoint(0, 20)}));
    TShapedTopLevel first(QColor(0, 0, 255), cut), second(QColor(0, 255, 0), cut);
    first.setGeometry(QRect(origin + QPoint(10, 10), QSize(100, 80)));
    second.setGeometry(QRect(origin + QPoint(60, 50), QSize(100, 80)));
    first.show();
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));

    const QImage shot = form.Screenshot();
    ASSERT_EQ(shot.size(), QSize(200, 150));
    const std::tuple<int, int, QColor> cases[] = {
        {5, 5, QColor(255, 0, 0)},     // beside both
        {12, 12, QColor(255, 0, 0)},   // in the first one's cut corner
        {50, 30, QColor(0, 0, 255)},   // inside the first
        {62, 52, QColor(0, 0, 255)},   // the second's cut corner shows the first
        {100, 100, QColor(0, 255, 0)}, // inside the second
    };
    for (const auto& [x, y, color] : cases) EXPECT_EQ(shot.pixelColor(x, y), color) << x << "," << y;
}

}  // namespace
}  // namespace vitrina
