// Window shapes need a real X server: these tests run under xvfb-run (the "x11:" tests of
// CTest) and skip everywhere else.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "app/program_fixture.h"

namespace vitrina {
namespace {

const char* kTriangle = R"(title=форма
vertexmain=[0,0;199,0;0,149]
button 1
vx=150
vy=120
fn1=b.bmp
fn2=b.bmp
fn3=b.bmp
go=caseon
hint=x
wav=no
_screen=bg1.bmp
)";

bool NeedsX() {
    return QGuiApplication::platformName() != QLatin1String("xcb");
}

struct TShapedWindow {
    test::TTestProgram program{kTriangle,
                               {{"bg1.bmp", test::Bmp(200, 150, QColor(255, 0, 0))},
                                {"b.bmp", test::Bmp(20, 10, QColor(0, 255, 0))}},
                               false};
    TSkinWindow* form = nullptr;

    explicit TShapedWindow(bool animations) {
        program.options.animations = animations;
        program.program = std::make_unique<TProgram>(program.drives, program.disc.Folders(), program.desktop,
                                                     program.options);
        program.program->Start();
        form = &program.Window();
        form->move(100, 100);
        form->ShowMainWindow();
        QTest::qWaitForWindowExposed(form);
    }
    QColor ScreenPixel(int x, int y) {
        return form->screen()->grabWindow(0, form->x() + x, form->y() + y, 1, 1).toImage().pixelColor(0, 0);
    }
};

TEST(WindowShape, TheDescriptionsPolygonMasksTheWindow) {
    if (NeedsX()) GTEST_SKIP() << "window masks need an X display (run under xvfb-run)";
    TShapedWindow w(false);
    QTest::qWait(200);
    EXPECT_EQ(w.form->mask(), w.form->Shape());
    EXPECT_EQ(w.ScreenPixel(20, 20), QColor(255, 0, 0));    // inside the triangle
    EXPECT_NE(w.ScreenPixel(180, 140), QColor(255, 0, 0));  // outside it: the screen shows through
}

TEST(WindowShape, TheOpeningAnimationEndsOnTheDescriptionsShape) {
    if (NeedsX()) GTEST_SKIP() << "window masks need an X display (run under xvfb-run)";
    TShapedWindow w(true);
    const QRegion triangle(QPolygon({QPoint(0, 0), QPoint(199, 0), QPoint(0, 149)}), Qt::OddEvenFill);
    for (int i = 0; i < 300 && w.form->mask() != triangle; ++i) QTest::qWait(10);
    EXPECT_EQ(w.form->mask(), triangle);
    EXPECT_NE(w.ScreenPixel(180, 140), QColor(255, 0, 0));
}

}  // namespace
}  // namespace vitrina
