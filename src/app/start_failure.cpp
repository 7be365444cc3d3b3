#include "app/start_failure.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <iostream>
#include <unistd.h>

namespace vitrina {

bool NeedsMessageBox(bool stderrIsTerminal, const std::string& platform) {
    return !stderrIsTerminal && platform != "offscreen" && platform != "minimal";
}

void ShowStartFailureBox(const std::string& line) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("vitrina"), QString::fromStdString(line), QMessageBox::Ok);
    box.exec();
}

int ReportStartFailure(const std::string& line) {
    std::cerr << "vitrina: " << line << "\n";
    if (NeedsMessageBox(::isatty(STDERR_FILENO) == 1, QGuiApplication::platformName().toStdString()))
        ShowStartFailureBox(line);
    return 1;
}

}  // namespace vitrina
