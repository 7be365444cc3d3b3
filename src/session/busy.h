#pragma once
// The busy flag: up while a long operation runs, so that the dispatcher drops every command
// meanwhile. One per process. It is up for as long as a TBusy lives, so an exception cannot
// leave it set.
namespace vitrina {

bool IsBusy();

class TBusy {
public:
    TBusy();
    ~TBusy();
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;
};

}  // namespace vitrina
