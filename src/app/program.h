#pragma once
// One copy of the program: its disc session, dispatcher, window and parts, made in the order of
// start-up and taken down in the order of tear-down.
#include <memory>
#include <string>
#include <vector>

#include "commands/command_services.h"
#include "commands/dispatcher.h"
#include "platform/single_instance.h"
#include "session/disc_session.h"

namespace vitrina {

class IDesktop;
class TAboutCommands;
class TCoolDialog;
class TProgramParts;
class TSetupService;
class TSkinWindow;
class TWindowDirectory;

struct TStartOptions {
    // Off for screenshots: no start clip, no opening or closing animation.
    bool animations = true;
    // The command line after the program's own options, 1251.
    std::vector<std::string> arguments;
};

class TProgram {
public:
    enum class TCreation { Normal, NoContainer, NoDescription, SecondCopy, ThesaurusMode, DocumentMode, Failed };

    TProgram(TDriveMap& drives, const TUserFolders& folders, IDesktop& desktop, TStartOptions options);
    ~TProgram();

    // Start-up in its order: folders, mode, description, one copy per title, the window, its
    // parts, the start-up commands. Services set on the dispatcher before take part in it.
    void Start();

    // How start-up ended; anything but Normal, DocumentMode and ThesaurusMode means the program
    // ends.
    TCreation Creation() const { return creation_; }
    // Why, in one line for a person at a terminal.
    const std::string& CreationMessage() const { return creationMessage_; }

    TDiscSession& Session() { return session_; }
    TDispatcher& Dispatcher() { return dispatcher_; }
    // Made by Start.
    TSkinWindow& Window() const { return *window_; }
    TProgramParts& Parts() const { return *parts_; }
    // The skinned dialog; null without "Dialog.cfs" and in the document mode.
    TCoolDialog* Dialog() const { return dialog_.get(); }
    // The about window's maker; null without "About.cfs".
    TAboutCommands* About() const { return about_.get(); }
    // The program's windows as other copies see them; null outside the normal mode.
    TWindowDirectory* WindowDirectory() const { return directory_.get(); }

    // The start clip first when the disc has one (not for screenshots), then the main window.
    void ShowMainWindow();

    // A command of the vocabulary, as a key would run it.
    void ExecuteCommand(const std::string& command) { dispatcher_.ExecuteCommand(command, command, 1, 0, 0); }

private:
    void StartUp();
    // The thesaurus window shows the document of its command line first.
    void UseThesaurusDocument(std::string commandLine);
    void Fail(TCreation creation, std::string message);

    TDiscSession session_;
    IDesktop& desktop_;
    TCommandServices services_;
    TDispatcher dispatcher_;
    TStartOptions options_;
    TNamedSemaphore semaphore_;
    TServiceRegistration desktopServed_;
    TServingPart<TWindowDirectory> directory_;
    std::unique_ptr<TSkinWindow> window_;
    std::unique_ptr<TProgramParts> parts_;
    TServingPart<TCoolDialog> dialog_;
    TServingPart<TAboutCommands> about_;
    TServingPart<TSetupService> setup_;
    TCreation creation_ = TCreation::Normal;
    std::string creationMessage_;
};

}  // namespace vitrina
