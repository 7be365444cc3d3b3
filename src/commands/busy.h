#pragma once
// The busy flag: set while a long operation pumps window messages, so that ExecuteCommand drops
// every command meanwhile. One per process.
namespace vitrina {

void SetBusy(bool busy);
bool IsBusy();

}  // namespace vitrina
