// The search by word forms on the sample disc: its window opened by the command and by its key,
// answering as the reader types, and the keys that choose, open and close.
#include "search/word_search_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/sample_disc_fixture.h"

namespace vitrina {
namespace {

class WordSearchTest : public SampleDiscTest {
protected:
    void SetUp() override {
        SampleDiscTest::SetUp();
        if (IsSkipped()) return;
        ClickButton("screen2=dv_obzor.htm");
        ASSERT_TRUE(WaitFor([&] { return Shows("dv_obzor.htm"); }));
    }
    static TWordSearchWindow* Window() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = dynamic_cast<TWordSearchWindow*>(widget)) return window;
        return nullptr;
    }
    static QString Status(TWordSearchWindow* window) { return window->Status()->text(); }
    // Real key presses of Cyrillic letters (QTest's own typing knows ASCII only).
    static void Type(QWidget* widget, const char* utf8) {
        for (const QChar letter : QString::fromUtf8(utf8))
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    }
};

TEST_F(WordSearchTest, AnswersAsTheReaderTypesAndOpensTheChosenPage) {
    program->ExecuteCommand("fulltextsearch");
    TWordSearchWindow* window = Window();
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitFor([&] { return window->isVisible() && window->IndexReady(); }));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Поиск по тексту"));

    Type(window->Field(), "торм");
    const int prefixCount = window->List()->count();
    EXPECT_GT(prefixCount, 3);
    EXPECT_TRUE(Status(window).startsWith(QString::fromUtf8("Найдено: "))) << Status(window).toStdString();
    Type(window->Field(), "оза");
    ASSERT_GT(window->List()->count(), 2);
    EXPECT_EQ(Status(window), QString::fromUtf8("Найдено: %1").arg(window->List()->count()));
    EXPECT_EQ(window->List()->currentRow(), 0);

    // ↓ chooses the second page, Enter opens it in the main window with the word selected.
    QTest::keyClick(window->Field(), Qt::Key_Down);
    EXPECT_EQ(window->List()->currentRow(), 1);
    QTest::keyClick(window->Field(), Qt::Key_Up);
    QTest::keyClick(window->Field(), Qt::Key_Up);
    EXPECT_EQ(window->List()->currentRow(), 0);
    QTest::keyClick(window->Field(), Qt::Key_Down);
    const auto* label = qobject_cast<QLabel*>(window->List()->itemWidget(window->List()->item(1)));
    ASSERT_TRUE(label);
    const QString shown = label->text();
    const qsizetype start = shown.indexOf("<small>") + 7;
    const QString path = shown.mid(start, shown.indexOf("</small>") - start);
    ASSERT_TRUE(path.startsWith("d:\\")) << shown.toStdString();
    QTest::keyClick(window->Field(), Qt::Key_Return);
    const std::string file = path.mid(3).toStdString();
    ASSERT_TRUE(WaitFor([&] { return Shows(file); })) << file;
    ASSERT_TRUE(WaitFor([&] { return Selection().toLower().startsWith(QString::fromUtf8("тормоз")); }))
        << Selection().toStdString();

    // Nothing found says so; Esc closes; the key opens the window again with the index kept.
    Type(window->Field(), "ъъъ");
    EXPECT_EQ(window->List()->count(), 0);
    EXPECT_EQ(Status(window), QString::fromUtf8("Найдено: 0"));
    QTest::keyClick(window->Field(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    QTest::keyClick(form, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->IndexReady());
    EXPECT_EQ(Window(), window);
}

}  // namespace
}  // namespace vitrina
