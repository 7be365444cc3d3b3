// Window shapes need a real X server: these tests run under xvfb-run (the "x11:" tests of
// CTest, once as the screen is and once each with QT_SCALE_FACTOR 2 and 1.5) and skip
// everywhere else.
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <QTransform>
#include <gtest/gtest.h>

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cmath>
#include <cstdlib>

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
    QTest::qWaitFor([&] { return w.form->mask() == w.form->Shape() && w.ScreenPixel(20, 20) == QColor(255, 0, 0); }, 5000);
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

// A triangle with a button well inside it; the button opens a file, which the desktop writes
// down.
const char* kTriangleWithButton = R"(title=форма
vertexmain=[0,0;199,0;0,149]
button 1
vx=20
vy=20
fn1=b.bmp
fn2=b.bmp
fn3=b.bmp
go=run=readme.txt
hint=x
wav=no
_screen=bg1.bmp
)";

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The factor the window was asked to be shown at (the screen of xvfb-run reports none).
qreal AskedFactor() {
    const char* factor = std::getenv("QT_SCALE_FACTOR");
    return factor && *factor ? std::atof(factor) : 1.0;
}

// What the X server clips the window to, in device pixels of the window.
QRegion ServerShape(const QWidget& window) {
    xcb_connection_t* c = Connection();
    QRegion region;
    auto* reply = xcb_shape_get_rectangles_reply(
        c, xcb_shape_get_rectangles(c, xcb_window_t(window.winId()), XCB_SHAPE_SK_BOUNDING), nullptr);
    if (!reply) return region;
    const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(reply);
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i)
        region += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    std::free(reply);
    return region;
}

// A region one device pixel larger or smaller all round.
QRegion Grown(const QRegion& r) {
    return r.translated(1, 0) + r.translated(-1, 0) + r.translated(0, 1) + r.translated(0, -1) + r;
}
QRegion Shrunk(const QRegion& r) {
    return r.translated(1, 0) & r.translated(-1, 0) & r.translated(0, 1) & r.translated(0, -1) & r;
}

// Counts the button releases a window receives.
struct TReleases : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) ++count;
        return false;
    }
};

// A click of the X server's own pointer at device pixel at of the window: the server decides
// which window gets it, by the windows' shapes, as it would for a person's mouse. Returns when
// the window has handled the release, or, for a click the window should not get, after a while.
void ServerClick(QWidget& window, QPoint at, bool reachesWindow) {
    xcb_connection_t* c = Connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto* origin = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, xcb_window_t(window.winId()), root, 0, 0), nullptr);
    ASSERT_NE(origin, nullptr);
    const QPoint onRoot = at + QPoint(origin->dst_x, origin->dst_y);
    std::free(origin);
    TReleases releases;
    window.installEventFilter(&releases);
    xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, onRoot.x(), onRoot.y(), 0);
    xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(c);
    for (int i = 0; i < (reachesWindow ? 200 : 30) && releases.count == 0; ++i) QTest::qWait(10);
    window.removeEventFilter(&releases);
    EXPECT_EQ(releases.count, reachesWindow ? 1 : 0) << at.x() << "," << at.y();
    // Apart in time, so that no two clicks make a double click.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

TEST(WindowShape, TheServersShapeIsTheMaskAtTheScreensPixels) {
    if (NeedsX()) GTEST_SKIP() << "window masks need an X display (run under xvfb-run)";
    TShapedWindow w(false);
    const qreal factor = w.form->devicePixelRatioF();
    ASSERT_DOUBLE_EQ(factor, AskedFactor());
    const QRegion mask = w.form->mask();
    ASSERT_EQ(mask, QRegion(QPolygon({QPoint(0, 0), QPoint(199, 0), QPoint(0, 149)}), Qt::OddEvenFill));
    QRegion server;
    for (int i = 0; i < 50 && server.isEmpty(); ++i) {
        QTest::qWait(10);
        server = ServerShape(*w.form);
    }
    const QRegion scaled = QTransform::fromScale(factor, factor).map(mask);
    if (factor == std::round(factor)) {
        // Each skin pixel is a square of device pixels, no more and no less.
        EXPECT_EQ(server, scaled);
    } else {
        // Rounded at the edges, by at most a device pixel.
        EXPECT_TRUE((Shrunk(scaled) - server).isEmpty()) << (Shrunk(scaled) - server).boundingRect().x();
        EXPECT_TRUE((server - Grown(scaled)).isEmpty()) << (server - Grown(scaled)).boundingRect().x();
    }
    // The window's pixels at their place on the screen, inside and outside the shape.
    EXPECT_EQ(w.ScreenPixel(20, 20), QColor(255, 0, 0));
    EXPECT_NE(w.ScreenPixel(180, 140), QColor(255, 0, 0));
}

TEST(WindowShape, AClickRunsTheButtonAtItsScaledPlaceOnly) {
    if (NeedsX()) GTEST_SKIP() << "window masks need an X display (run under xvfb-run)";
    test::TTestProgram program{kTriangleWithButton,
                               {{"bg1.bmp", test::Bmp(200, 150, QColor(255, 0, 0))},
                                {"b.bmp", test::Bmp(40, 20, QColor(0, 255, 0))}},
                               false};
    program.Start();
    TSkinWindow& form = program.Window();
    const qreal factor = form.devicePixelRatioF();
    ASSERT_DOUBLE_EQ(factor, AskedFactor());
    const RBtn button = program.Session().Model.ScreenButtons[0][0];
    auto device = [&](double x, double y) { return QPoint(int(std::floor(x * factor)), int(std::floor(y * factor))); };
    const struct {
        QPoint at;  // device pixels of the window
        bool runs;
        bool reachesWindow;
        const char* where;
    } cases[] = {
        {device((button.vx + button.Right) / 2.0, (button.vy + button.Bottom) / 2.0), true, true, "the button's middle"},
        {device(button.vx + 2, button.vy + 2), true, true, "just inside its top left corner"},
        {device(button.Right - 2, button.Bottom - 2), true, true, "just inside its bottom right corner"},
        {device(button.Right + 2, button.Bottom + 2), false, true, "just beyond its bottom right corner"},
        {device(100, 30), false, true, "the background"},
        {device(180, 140), false, false, "outside the window's shape"},
        // Where the button is at the skin's own pixels: the background of a scaled window.
        {QPoint(button.vx + 2, button.vy + 2), factor == 1, true, "the button's unscaled place"},
    };
    for (const auto& c : cases) {
        program.desktop.calls.clear();
        ServerClick(form, c.at, c.reachesWindow);
        EXPECT_EQ(program.desktop.calls.size(), c.runs ? 1u : 0u) << c.where << " at " << c.at.x() << "," << c.at.y();
    }
}

}  // namespace
}  // namespace vitrina
