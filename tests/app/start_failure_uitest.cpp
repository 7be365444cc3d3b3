// The end of a start that cannot go on, as a reader without a terminal meets it.
#include "app/start_failure.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace vitrina {
namespace {

TEST(StartFailure, TheBoxIsForReadersWithoutATerminalOnAScreen) {
    const struct {
        bool terminal;
        const char* platform;
        bool box;
    } cases[] = {
        {false, "xcb", true},   {false, "wayland", true},    {true, "xcb", false},
        {false, "offscreen", false}, {false, "minimal", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NeedsMessageBox(c.terminal, c.platform), c.box) << c.terminal << " " << c.platform;
}

TEST(StartFailure, TheBoxShowsTheLineAndClosesWithEnter) {
    QString shown;
    // Runs inside the box's own event loop, once it is shown.
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            shown = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    ShowStartFailureBox("folder not found: /media/cdrom");  // returns once closed
    EXPECT_EQ(shown, QStringLiteral("folder not found: /media/cdrom"));
}

}  // namespace
}  // namespace vitrina
