#pragma once
// What the program asks of the desktop: start programs, show help topics, play click sounds.
#include <string>

namespace vitrina {

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // ShellExecute "open": a disc file (Windows path) of a document or media type through the
    // desktop or, for a Windows program, through wine where installed with its parameters; a web
    // or mail address in the desktop's browser or mail program. Host files (z:), other types and
    // other schemes are refused.
    virtual void ShellExecute(const std::string& target, const std::string& params) = 0;
    // WinExec: starts a Windows program of the disc through wine in a work folder (Windows
    // paths); never one on z:, never a host program.
    virtual void WinExec(const std::string& program, const std::string& folder) = 0;
    // A topic of the help file by its identifier.
    virtual void ShowHelpTopic(const std::string& helpFile, const std::string& topic) = 0;
    // A click sound of the disc (Windows path).
    virtual void PlayClickSound(const std::string& file) = 0;
    // The same, heard to its end before this returns (bounded by the sound's length).
    virtual void PlayClickSoundToEnd(const std::string& file) = 0;
};

}  // namespace vitrina
