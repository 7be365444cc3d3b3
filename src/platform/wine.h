#pragma once
// Windows programs of a disc run through wine.
#include <QString>

namespace vitrina {

// The wine program; empty when it is not installed, which is said once per run on stderr.
QString WineProgram();

}  // namespace vitrina
