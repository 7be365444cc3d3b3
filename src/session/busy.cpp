#include "session/busy.h"

namespace vitrina {
namespace {
// Window thread only; a count, so that overlapping operations keep it up until the last ends.
int busyCount = 0;
}  // namespace

TBusy::TBusy() { ++busyCount; }
TBusy::~TBusy() { --busyCount; }
bool IsBusy() { return busyCount > 0; }

}  // namespace vitrina
