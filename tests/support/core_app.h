#pragma once
// Core tests that need an event loop or Qt's file services share one application object.
#include <QCoreApplication>

namespace vitrina::test {

inline void EnsureApp() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

}  // namespace vitrina::test
