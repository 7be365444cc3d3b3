#pragma once
// What the HTML pane needs from the main window and from the parts built in other places
// (trees, archive pages, music player, printing, games, the standard window, the shell). Each
// method is named after where its work lives; until that part exists it does nothing, so every
// link and event of the pane is routed today.
#include <QRect>
#include <QSize>

#include <filesystem>
#include <string>

class QWidget;

namespace vitrina {

class THtmlFrame;
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
    virtual int CurrentScreen() const { return 0; }
    // A left press with Shift at a point of the window (switches toggle without their command).
    virtual void PressWithShift(int x, int y) {}
    // Pointer handling with (-1, -1): clears the hover marks of the skin's controls.
    virtual void ClearSkinHover() {}
    // ExecuteCommand, silent.
    virtual void ExecuteCommand(const std::string& command) {}
    virtual void Beep() {}
    // The client rectangle of the document panel beside the contents tree and its splitter, in
    // the panel's coordinates; an empty rectangle means the whole panel.
    virtual QRect DocumentPanelClientRect() const { return {}; }

    // Text messages, status line, path input box (screen widgets).
    virtual void SetTitleText(const std::string& text) {}  // SetText(text, 1, true)
    virtual void ShowStatus(const std::string& text) {}    // status line Show
    virtual bool PathInputExists() const { return false; }
    virtual std::string CurrentPath() const { return {}; }  // with a trailing "\"

    // Standard window and history popups.
    virtual bool StatusBarExists() const { return false; }
    virtual void ShowStatusBarText(const std::string& text) {}
    virtual void RefreshNavigation() {}

    // Contents trees.
    virtual void TreeFollowDocument(const std::string& file) {}
    virtual void UpdateChapterHints() {}

    // Archive pages: UpdateArchiveFlag sets the pane's mark with SetArchivePage.
    virtual void UpdateArchiveFlag(THtmlFrame& pane, const std::string& file) {}
    virtual void ExtractArchive(const std::string& file) {}
    virtual void OpenArchivePage(const std::string& file, const std::string& document) {}

    // Music player.
    virtual void PlayMedia(const std::string& file, const std::string& document, int endAction) {}

    // Fonts and games.
    virtual void SetFontFolder(const std::string& file) {}
    virtual bool GameValuePresent(const std::string& key, const std::string& value) const { return false; }
    // The font dialog with the current defaults; true when confirmed with OK.
    virtual bool ChooseFonts(TFontChoice& choice) { return false; }

    // Printing and its preview: viewer and file empty/absent as the print request says.
    virtual void PrintPreview(TFrameViewer* viewer, const std::string& file, bool picture, QSize pictureSize) {}

    // Shell stand-in: ShellExecute "open" (folder made current when not empty) and WinExec.
    virtual void ShellOpen(const std::string& target, const std::string& folder) {}
    virtual void RunProgram(const std::string& file, const std::string& folder) {}
    // A "_blank" picture: an open picture window showing it comes to the front, otherwise a
    // copy of the program in the document mode shows it.
    virtual void OpenPictureWindow(const std::string& file) {}
    // The save dialog of a ".zip" link: the chosen host file, or empty when cancelled.
    virtual std::filesystem::path AskZipTarget(const std::filesystem::path& initialFolder, const std::string& name);

    // Popup windows and the find pane.
    virtual void ClosePopups() {}
    virtual void OpenPopup(int type, int x, int y) {}
    virtual void FindPaneEnter() {}
};

}  // namespace vitrina
