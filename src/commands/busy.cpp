#include "commands/busy.h"

namespace vitrina {
namespace {
bool busyFlag = false;
}

void SetBusy(bool busy) { busyFlag = busy; }
bool IsBusy() { return busyFlag; }

}  // namespace vitrina
