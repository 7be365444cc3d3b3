#pragma once
// A --scale factor that makes the window larger than the screen leaves its close button and
// "Выход" out of reach (without a window manager for good): the factor is lowered to the
// largest that fits, and the program starts again at it before anything of it has started.
#include <QSize>

#include <string>
#include <vector>

namespace vitrina {

class TDriveMap;

// The largest factor, in quarter steps from 1 up to factor, at which window (its size at factor
// 1) fits available (the screen's available area as measured at factor).
double FittingScale(double factor, QSize window, QSize available);

// The size of the disc's first screen picture, which the main window takes; empty without one.
QSize DiscWindowSize(const TDriveMap& drives);

// Replaces this process with the same command line at the factor; returns only when that fails.
void RestartWithScale(std::vector<std::string> commandLine, double factor);

}  // namespace vitrina
