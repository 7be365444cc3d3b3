#pragma once
// The about window.
namespace vitrina {

class IAboutCommands {
public:
    virtual ~IAboutCommands() = default;
    virtual void ShowAbout() = 0;
};

}  // namespace vitrina
