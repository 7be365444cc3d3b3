#pragma once
// How a start that cannot go on ends: one line on stderr, and the same line in a plain message
// box when nobody would see stderr (a program started from a desktop entry has no terminal).
#include <string>

class QWidget;

namespace vitrina {

// Whether the line also needs a message box: stderr is no terminal and there is a screen to show
// it on (not the offscreen or minimal platform of tests and scripts).
bool NeedsMessageBox(bool stderrIsTerminal, const std::string& platform);

// Shows the line in a modal box and returns when the reader has closed it.
void ShowStartFailureBox(const std::string& lineUtf8);

// Writes "vitrina: line" on stderr, shows the box when it is needed, and gives the exit status.
int ReportStartFailure(const std::string& lineUtf8);

}  // namespace vitrina
