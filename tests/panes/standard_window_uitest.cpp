#include "panes/standard_window.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/cp1251.h"

namespace vitrina {
namespace {

// A skinned window stand-in that records what the standard window asks of it.
struct TSkinned {
    QWidget window{nullptr, Qt::FramelessWindowHint | Qt::Window};
    QWidget* viewerWidget = new QWidget(&window);  // the window's child, as the pane's viewer is
    QWidget& viewer = *viewerWidget;
    QRegion shape{QRect(0, 0, 300, 200), QRegion::Ellipse};
    bool fieldsHidden = false;
    int prints = 0, forwards = 0, backs = 0;
    std::vector<int> history;

    TSkinned() {
        window.resize(300, 200);
        viewer.setGeometry(10, 10, 50, 50);
    }
    TStandardWindowActions Actions() {
        TStandardWindowActions a;
        a.shape = [this] { return shape; };
        a.setShape = [this](const QRegion& r) { shape = r; };
        a.skinSize = [] { return QSize(300, 200); };
        a.hideScreenFields = [this](bool hide) { fieldsHidden = hide; };
        a.fitViewer = [this](QWidget* client) {
            viewer.setParent(client);
            viewer.setGeometry(client->rect());
            viewer.show();
        };
        a.restoreViewer = [this] {
            viewer.setParent(&window);
            viewer.setGeometry(10, 10, 50, 50);
            viewer.show();
        };
        a.print = [this] { ++prints; };
        a.forward = [this] { ++forwards; };
        a.back = [this] { ++backs; };
        a.goToHistory = [this](int n) { history.push_back(n); };
        return a;
    }
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(StandardWindow, EnteringInTheNormalModeShowsTheToolbarWithTwoButtonsAndFitsTheViewer) {
    TSkinned s;
    s.window.show();
    const QRegion skinShape = s.shape;
    TStandardWindow standard(s.window, s.Actions());
    EXPECT_FALSE(standard.ToolbarExists());
    standard.Enter(false);
    ASSERT_TRUE(standard.ToolbarExists());
    EXPECT_TRUE(s.fieldsHidden);
    EXPECT_TRUE(s.shape.isEmpty());  // the plain window has no shape
    EXPECT_FALSE(s.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(s.window.isVisible());
    // Five buttons in order, with their captions and hints; only the first two on view.
    const char* captions[] = {"Свернуть", "Печать", "", "Вперед", "Назад"};
    const char* hints[] = {"Вернуться к красивому окошку", "Напечатать текущий файл", "",
                           "Перемещение вперед на одну ссылку", "Перемещение назад на одну ссылку"};
    const bool visible[] = {true, true, false, false, false};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(standard.Button(i), nullptr) << i;
        EXPECT_EQ(standard.Button(i)->isVisible(), visible[i]) << i;
        if (i == TStandardWindow::kDivider) continue;
        EXPECT_EQ(standard.Button(i)->text(), U(captions[i])) << i;
        EXPECT_EQ(standard.Button(i)->toolTip(), U(hints[i])) << i;
    }
    EXPECT_EQ(standard.Button(TStandardWindow::kForward)->menu(), standard.ForwardMenu());
    EXPECT_EQ(standard.Button(TStandardWindow::kBack)->menu(), standard.BackMenu());
    EXPECT_EQ(standard.ForwardMenu()->actions().size(), 7);
    EXPECT_EQ(standard.BackMenu()->actions().size(), 7);
    EXPECT_FALSE(standard.StatusBar()->isVisible());
    // Client alignment below the toolbar, following the window's size.
    EXPECT_EQ(s.viewer.parentWidget(), standard.Client());
    EXPECT_EQ(standard.Client()->y(), standard.Toolbar()->height());
    s.window.showNormal();
    s.window.resize(500, 400);
    QTest::qWaitFor([&] { return s.viewer.size() == QSize(500, 400 - standard.Toolbar()->height()); }, 5000);
    EXPECT_EQ(s.viewer.size(), QSize(500, 400 - standard.Toolbar()->height()));

    // "Свернуть" brings the skinned window back with its shape and the viewer at its area.
    standard.Button(TStandardWindow::kSkinned)->trigger();
    EXPECT_EQ(s.shape, skinShape);
    EXPECT_TRUE(s.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(s.window.size(), QSize(300, 200));
    EXPECT_FALSE(standard.Toolbar()->isVisible());
    EXPECT_FALSE(s.fieldsHidden);
    EXPECT_EQ(s.viewer.parentWidget(), &s.window);
    EXPECT_EQ(s.viewer.geometry(), QRect(10, 10, 50, 50));
    EXPECT_TRUE(standard.ToolbarExists());  // kept for the next time

    // The second entry reuses the parts and keeps the skin's shape for the next return.
    QToolBar* toolbar = standard.Toolbar();
    standard.Enter(false);
    EXPECT_EQ(standard.Toolbar(), toolbar);
    EXPECT_TRUE(standard.Toolbar()->isVisible());
    standard.Leave();
    EXPECT_EQ(s.shape, skinShape);
}

TEST(StandardWindow, TheDocumentModeHasNoWayBackToASkinAndButtonsActOnTheirIndex) {
    TSkinned s;
    TStandardWindow standard(s.window, s.Actions());
    standard.Enter(true);
    EXPECT_FALSE(standard.Button(TStandardWindow::kSkinned)->isVisible());
    EXPECT_TRUE(standard.Button(TStandardWindow::kPrint)->isVisible());
    EXPECT_TRUE(s.window.isVisible());
    EXPECT_FALSE(s.window.isMaximized());
    standard.Button(TStandardWindow::kPrint)->trigger();
    standard.Button(TStandardWindow::kForward)->trigger();
    standard.Button(TStandardWindow::kBack)->trigger();
    standard.Button(TStandardWindow::kBack)->trigger();
    EXPECT_EQ(s.prints, 1);
    EXPECT_EQ(s.forwards, 1);
    EXPECT_EQ(s.backs, 2);
}

TEST(StandardWindow, HistoryMenusListOlderEntriesUnderBackAndNewerOnesUnderForward) {
    TSkinned s;
    TStandardWindow standard(s.window, s.Actions());
    standard.Enter(true);
    // Newest first; the shown entry is index 2.
    TDynamicStringArray titles;
    for (int i = 0; i < 10; ++i) titles.push_back(Utf8ToCp1251("Страница ") + std::to_string(i));
    standard.FillHistoryMenus(titles, 2);
    auto shown = [](QMenu* menu) {
        QStringList texts;
        for (QAction* a : menu->actions())
            if (a->isVisible()) texts << a->text();
        return texts;
    };
    EXPECT_EQ(shown(standard.ForwardMenu()), (QStringList{U("Страница 1"), U("Страница 0")}));
    EXPECT_EQ(shown(standard.BackMenu()), (QStringList{U("Страница 3"), U("Страница 4"), U("Страница 5"), U("Страница 6"),
                                                       U("Страница 7"), U("Страница 8"), U("Страница 9")}));
    standard.BackMenu()->actions()[1]->trigger();
    standard.ForwardMenu()->actions()[0]->trigger();
    EXPECT_EQ(s.history, (std::vector<int>{4, 1}));
    standard.FillHistoryMenus({}, -1);
    EXPECT_TRUE(shown(standard.BackMenu()).isEmpty());
    EXPECT_TRUE(shown(standard.ForwardMenu()).isEmpty());
}

TEST(StandardWindow, StatusBarTakesTheLinkTextAndPicturesSizeTheWindow) {
    TSkinned s;
    TStandardWindow standard(s.window, s.Actions());
    standard.SetStatusText("ignored before the parts exist");
    standard.Enter(true);
    standard.SetStatusText(Utf8ToCp1251("Url: d:\\a.htm  Target: главное"));
    EXPECT_EQ(standard.StatusBar()->currentMessage(), U("Url: d:\\a.htm  Target: главное"));
    struct Case {
        const char* file;
        QSize picture, size;
    } cases[] = {
        {"d:\\pics\\scheme.bmp", {10, 10}, {780, 550}},
        {"d:\\pics\\motor.jpg", {400, 300}, {445, 390}},
        {"d:\\html\\page.htm", {400, 300}, {445, 390}},  // unchanged
    };
    for (const Case& c : cases) {
        standard.SizeWindow(c.file, c.picture);
        EXPECT_EQ(s.window.size(), c.size) << c.file;
    }
}

}  // namespace
}  // namespace vitrina
