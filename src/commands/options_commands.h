#pragma once
// The settings dialog.
namespace vitrina {

class IOptionsCommands {
public:
    virtual ~IOptionsCommands() = default;
    virtual void ShowOptions() = 0;
};

}  // namespace vitrina
