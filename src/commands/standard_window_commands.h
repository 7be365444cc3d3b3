#pragma once
// "standartwin": the document in a standard framed window.
namespace vitrina {

class IStandardWindowCommands {
public:
    virtual ~IStandardWindowCommands() = default;
    virtual void ShowStandardWindow() = 0;
};

}  // namespace vitrina
