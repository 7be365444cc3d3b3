// The window tests share one QApplication, made before the first test. Without a display (test
// discovery, CI) they run offscreen, and the tests that need X skip.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/html_module_loader.h"
#include "panes/html_module.h"

int main(int argc, char** argv) {
    const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!display && (!platform || std::string(platform) == "xcb")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Web views run as root only without the sandbox (CTest's environment list does not reach
    // discovered tests reliably, so the binary sets it itself).
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    // Web views in the same process need shared contexts, set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The HTML module's code is linked here: the program's parts use it as they would load it.
    vitrina::ProvideHtmlModule(vitrina::VitrinaHtmlModule(vitrina::kHtmlModuleVersion, nullptr));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
