#include "platform/wine.h"

#include <QStandardPaths>

#include <atomic>
#include <cstdio>

namespace vitrina {

QString WineProgram() {
    static std::atomic<bool> told{false};
    const QString wine = QStandardPaths::findExecutable("wine");
    if (wine.isEmpty() && !told.exchange(true))
        std::fprintf(stderr, "vitrina: the disc's Windows programs need wine, which is not installed\n");
    return wine;
}

}  // namespace vitrina
