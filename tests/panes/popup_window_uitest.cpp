#include "panes/popup_window.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/test_disc.h"
#include "platform/registry.h"
#include "resources/read_bin.h"

namespace vitrina {
namespace {

using test::Bmp;
using test::TTempFolder;

const std::string kKey = "SOFTWARE\\Quarnelo\\Popups";

RPopupData Popup(int type, TDynamicStringArray captions = {}, TDynamicStringArray commands = {}) {
    RPopupData data;
    data.fnfon = "d:\\pop_bg.bmp";
    data.xfon = -1;
    data.yfon = -1;
    data.xbtn = 10;
    data.ybtn = 6;
    data.fnbtnup = {"d:\\item_up.bmp"};
    data.fnbtnmove = {"d:\\item_mv.bmp"};
    data.fnbtndown = {"d:\\item_dn.bmp"};
    data.font[0] = data.font[1] = "DejaVu Sans";
    data.size[0] = data.size[1] = 9;
    data.caption = std::move(captions);
    data.go = std::move(commands);
    data.type = type;
    return data;
}

class PopupWindowTest : public ::testing::Test {
protected:
    PopupWindowTest() {
        auto path = temp.Write("Vuv.dhl", WriteContainer({{"pop_bg.bmp", Bmp(200, 60, Qt::darkBlue)},
                                                         {"item_up.bmp", Bmp(180, 20, Qt::lightGray)},
                                                         {"item_mv.bmp", Bmp(180, 20, Qt::yellow)},
                                                         {"item_dn.bmp", Bmp(180, 20, Qt::red)}}));
        container.Open(path);
        model.ScreenPopups.resize(2);
    }
    std::unique_ptr<TControlPopupWindow> Owner(int screen = 1) {
        TPopupActions actions;
        actions.command = [this](const std::string& c) { commands.push_back(c); };
        actions.history = [this](int n) { commands.push_back("history " + std::to_string(n)); };
        actions.openHtmlPos = [this](const std::string& d, int p) { commands.push_back(d + " @" + std::to_string(p)); };
        auto owner = std::make_unique<TControlPopupWindow>(model, container, registry, kKey, actions,
                                                           [](QPoint p) { return p; });
        owner->BuildForScreen(screen);
        return owner;
    }
    // A real click at an item's centre.
    static void ClickItem(TPopupWindow& popup, int item) {
        const auto& it = popup.Items()[item];
        QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(it.left + it.Width() / 2, it.top + it.Height() / 2));
    }

    TTempFolder temp;
    TReadBin container;
    TScreenModel model{"d:\\"};
    TRegistry registry{temp.Path() / "config"};
    std::vector<std::string> commands;
};

TEST_F(PopupWindowTest, ItemsStackAndTheBackgroundStretches) {
    model.ScreenPopups[1] = {Popup(5, {"Первый", "Второй", "Третий", "Четвёртый"}, {"one", "two", "three", "four"})};
    auto owner = Owner();
    TPopupWindow* popup = owner->Popup(5);
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->height(), 4 * 20 + 2 * 6) << "grown past the 60 rows of its picture";
    EXPECT_EQ(popup->width(), 200);
    EXPECT_EQ(popup->Items()[3].top, 6 + 3 * 20);

    owner->SetItemVisible(false, 5, 1);
    EXPECT_EQ(popup->height(), 3 * 20 + 2 * 6);
    EXPECT_EQ(popup->Items()[2].top, 26) << "hiding an item closes the gap";
    EXPECT_EQ(popup->Items()[3].top, 46);
}

TEST_F(PopupWindowTest, LongCaptionIsShortenedAndHinted) {
    const std::string longCaption(60, 'W');
    model.ScreenPopups[1] = {Popup(2, {Utf8ToCp1251("Коротко"), longCaption}, {"a", "b"})};
    auto owner = Owner();
    const auto& items = owner->Popup(2)->Items();
    EXPECT_TRUE(items[0].hint.empty());
    EXPECT_EQ(items[1].hint, longCaption);
    // The caption is drawn on the pictures: the up picture is no longer plain grey.
    EXPECT_NE(items[0].up.pixelColor(12, 10), QColor(Qt::lightGray)) ;
}

TEST_F(PopupWindowTest, AHoverCaptionIsFittedWithTheBoldHoverFont) {
    QFont regular(QStringLiteral("DejaVu Sans"));
    regular.setPointSize(9);
    QFont bold = regular;
    bold.setBold(true);
    // A caption that fits the 180-pixel item at rest but not in bold.
    QString text = QString::fromUtf8("Двигатель: общие");
    while (QFontMetrics(bold).horizontalAdvance(text) + 14 < 180) text += QChar(0x0430);
    ASSERT_LT(QFontMetrics(regular).horizontalAdvance(text) + 14, 180);
    ASSERT_GE(QFontMetrics(bold).horizontalAdvance(text) + 14, 180);
    const std::string caption = Utf8ToCp1251(text.toStdString());
    RPopupData data = Popup(2, {caption}, {"a"});
    data.style[1] = "bold";
    model.ScreenPopups[1] = {data};
    auto owner = Owner();
    const TItemsBtn& item = owner->Popup(2)->Items()[0];
    EXPECT_EQ(item.upText, caption);
    EXPECT_TRUE(item.mvText.ends_with("...")) << Cp1251ToUtf8(item.mvText);
    EXPECT_LE(QFontMetrics(bold).horizontalAdvance(QString::fromStdString(Cp1251ToUtf8(item.mvText))), 180 - 14);
    EXPECT_EQ(item.hint, caption) << "the cut caption is the hint";
}

TEST_F(PopupWindowTest, NearTheCornerThePopupMovesOntoTheDesktop) {
    model.ScreenPopups[0] = {Popup(3, {"a"}, {"x"})};
    auto owner = Owner(0);
    ASSERT_TRUE(owner->Popup(3));
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    owner->ShowPopup(3, desktop.bottomRight() - QPoint(5, 5));
    TPopupWindow* popup = owner->Popup(3);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(desktop.contains(popup->frameGeometry())) << "popup at " << popup->x() << "," << popup->y();
    owner->HideAllPopups();
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(PopupWindowTest, APopupWithoutVisibleItemsIsNotShown) {
    model.ScreenPopups[1] = {Popup(kPopupHistoryForward)};
    auto owner = Owner();
    owner->ShowPopup(kPopupHistoryForward, {100, 100});
    EXPECT_FALSE(owner->Popup(kPopupHistoryForward)->isVisible());
}

TEST_F(PopupWindowTest, ClickingAnItemHidesThePopupAndRunsItsCommand) {
    model.ScreenPopups[0] = {Popup(4, {"Экран 1", "Экран 2"}, {"screen1", "screen2"})};
    auto owner = Owner(0);
    ASSERT_TRUE(owner->Popup(4));
    owner->ShowPopup(4, {100, 100});
    TPopupWindow* popup = owner->Popup(4);
    ASSERT_TRUE(popup->isVisible());
    ClickItem(*popup, 1);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(commands, std::vector<std::string>{"screen2"});
}

TEST_F(PopupWindowTest, HistoryPopupsListEntriesInTheirOrder) {
    model.ScreenPopups[1] = {Popup(kPopupHistoryBack), Popup(kPopupHistoryForward)};
    auto owner = Owner();
    const TDynamicStringArray titles = {"newest", "", "middle", "oldest"};
    owner->RefreshHistory(titles, 1);
    const auto& back = owner->Popup(kPopupHistoryBack)->Items();
    EXPECT_EQ(back[0].command, "history=2");
    EXPECT_EQ(back[1].command, "history=3");
    EXPECT_FALSE(back[2].visible);
    const auto& forward = owner->Popup(kPopupHistoryForward)->Items();
    EXPECT_EQ(forward[0].command, "history=0");
    EXPECT_EQ(forward[0].caption, "newest");
    EXPECT_EQ(std::count_if(forward.begin(), forward.end(), [](auto& i) { return i.visible; }), 1);
    owner->ShowPopup(kPopupHistoryBack, {400, 300});
    ClickItem(*owner->Popup(kPopupHistoryBack), 1);
    EXPECT_EQ(commands, std::vector<std::string>{"history 3"});
}

TEST_F(PopupWindowTest, FavoritesDeleteModeAndRestart) {
    model.ScreenPopups[1] = {Popup(kPopupFavorite)};
    {
        auto owner = Owner();
        for (int i = 0; i < 11; ++i) EXPECT_TRUE(owner->AddFavorite("f" + std::to_string(i), "d:\\a.htm", i * 10));
        EXPECT_FALSE(owner->AddFavorite("F3", "d:\\b.htm", 0)) << "captions are unique ignoring case";
        TPopupWindow* popup = owner->Popup(kPopupFavorite);
        ASSERT_EQ(popup->Items().size(), 10u);
        EXPECT_EQ(popup->Items()[0].caption, "f1") << "the eleventh dropped the oldest";

        owner->ShowPopup(-4, {300, 300});
        ASSERT_TRUE(popup->isVisible() && popup->DeleteMode);
        ClickItem(*popup, 0);
        EXPECT_TRUE(popup->isVisible()) << "delete mode stays open while entries remain";
        EXPECT_EQ(popup->Items().size(), 9u);
        EXPECT_EQ(popup->Items()[0].caption, "f2");
        EXPECT_TRUE(commands.empty());
    }
    auto owner = Owner();
    ASSERT_TRUE(owner->Favorites());
    ASSERT_EQ(owner->Favorites()->Favorites().size(), 9u);
    EXPECT_EQ(owner->Favorites()->Favorites()[0].Caption, "f2");
    EXPECT_EQ(owner->Favorites()->Favorites()[0].Command, "htmlpos=d:\\a.htm=20");
    owner->ShowPopup(kPopupFavorite, {300, 300});
    ClickItem(*owner->Popup(kPopupFavorite), 0);
    EXPECT_EQ(commands, std::vector<std::string>{"d:\\a.htm @20"});
}

}  // namespace
}  // namespace vitrina

namespace vitrina {
namespace {

// A screen that describes no popups keeps the windows of the screen before; showing one must
// place it by its own screen's records, not index the new screen's (empty) list.
TEST_F(PopupWindowTest, APopupShownOnAScreenWithoutPopupsUsesItsOwnScreensRecords) {
    model.ScreenPopups.resize(3);
    RPopupData placed = Popup(5, {"Один"}, {"one"});
    placed.xfon = 40;
    placed.yfon = 30;
    model.ScreenPopups[1] = {placed};
    auto owner = Owner(1);
    owner->BuildForScreen(2);  // no popups there
    owner->OpenPopup(5, 300, 300);
    TPopupWindow* popup = owner->Popup(5);
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->pos(), QPoint(40, 30));
    owner->ClosePopups();
    EXPECT_FALSE(popup->isVisible());
}

// An item's command runs inside the item's own press: what is queued (a screen switch that
// rebuilds the popups) runs only after the press is over, never under its handler.
TEST_F(PopupWindowTest, AQueuedRebuildWaitsUntilTheItemsCommandHasRun) {
    model.ScreenPopups[1] = {Popup(5, {"Один"}, {"one"})};
    TPopupActions actions;
    std::unique_ptr<TControlPopupWindow> owner;
    TPopupWindow* pressed = nullptr;
    bool rebuilt = false, rebuiltBeforeCommand = true;
    actions.command = [&](const std::string&) { rebuiltBeforeCommand = rebuilt; };
    owner = std::make_unique<TControlPopupWindow>(model, container, registry, kKey, actions, [](QPoint p) { return p; });
    owner->BuildForScreen(1);
    pressed = owner->Popup(5);
    owner->OpenPopup(5, 10, 10);
    // The rebuild is queued by the press itself, the way a screen switch would be.
    struct TQueueOnPress : QObject {
        std::function<void()> queue;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress) QMetaObject::invokeMethod(qApp, queue, Qt::QueuedConnection);
            return false;
        }
    } filter;
    filter.queue = [&] {
        owner->BuildForScreen(1);
        rebuilt = true;
    };
    pressed->installEventFilter(&filter);
    const auto& item = pressed->Items()[0];
    QTest::mousePress(pressed, Qt::LeftButton, {}, QPoint(item.left + item.Width() / 2, item.top + item.Height() / 2));
    EXPECT_FALSE(rebuiltBeforeCommand);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rebuilt; }, 1000));
}

}  // namespace
}  // namespace vitrina
