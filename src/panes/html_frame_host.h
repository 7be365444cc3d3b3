#pragma once
// What the HTML pane needs from the main window and the parts around it. The window's side is
// THtmlFrameHost, answered in full by whoever owns the pane; the subsystems the pane hands work
// to (archive pages, the music player, fonts and games, printing, the find pane) are pointers in
// THtmlFrameServices, null while the part does not exist.
#include <QRect>
#include <QSize>

#include <filesystem>
#include <string>

namespace vitrina {

class TFrameViewer;

struct TFontChoice {
    std::string fontName;
    int fontColor = 0;
    int fontSize = 8;
    int hotSpotColor = 0;
    int background = 0;
};

class THtmlFrameHost {
public:
    virtual ~THtmlFrameHost() = default;

    // Main window.
    virtual int CurrentScreen() const = 0;
    // A left press with Shift at a point of the window (switches toggle without their command).
    virtual void PressWithShift(int x, int y) = 0;
    // Pointer handling with (-1, -1): clears the hover marks of the skin's controls.
    virtual void ClearSkinHover() = 0;
    // ExecuteCommand, silent.
    virtual void ExecuteCommand(const std::string& command) = 0;
    virtual void Beep() = 0;
    // The client rectangle of the document panel beside the contents tree and its splitter, in
    // the panel's coordinates; an empty rectangle means the whole panel.
    virtual QRect DocumentPanelClientRect() const = 0;

    // Text messages, status line, path input box (screen widgets).
    virtual void SetTitleText(const std::string& text) = 0;  // SetText(text, 1, true)
    virtual void ShowStatus(const std::string& text) = 0;    // status line Show
    virtual bool PathInputExists() const = 0;
    virtual std::string CurrentPath() const = 0;  // with a trailing "\"

    // Standard window and history popups.
    virtual bool StatusBarExists() const = 0;
    virtual void ShowStatusBarText(const std::string& text) = 0;
    virtual void RefreshNavigation() = 0;

    // Contents trees.
    virtual void TreeFollowDocument(const std::string& file) = 0;
    virtual void UpdateChapterHints() = 0;

    // Shell stand-in: ShellExecute "open" (folder made current when not empty) and WinExec.
    virtual void ShellOpen(const std::string& target, const std::string& folder) = 0;
    virtual void RunProgram(const std::string& file, const std::string& folder) = 0;
    // A "_blank" picture: an open picture window showing it comes to the front, otherwise a
    // copy of the program in the document mode shows it.
    virtual void OpenPictureWindow(const std::string& file) = 0;
    // The save dialog of a ".zip" link: the chosen host file, or empty when cancelled.
    virtual std::filesystem::path AskZipTarget(const std::filesystem::path& initialFolder, const std::string& name) = 0;

    // Popup windows.
    virtual void ClosePopups() = 0;
    virtual void OpenPopup(int type, int x, int y) = 0;
};

// Printing, as the pane asks for it.
class IHtmlPrinting {
public:
    virtual ~IHtmlPrinting() = default;
    // The preview: viewer and file empty/absent as the print request says.
    virtual void PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize) = 0;
};

// The font dialog, as the pane asks for it.
class IHtmlFonts {
public:
    virtual ~IHtmlFonts() = default;
    // The dialog with the current defaults; true, with the chosen values, when confirmed with OK.
    virtual bool ChooseFonts(TFontChoice& choice) = 0;
};

}  // namespace vitrina
