#pragma once
// Where the dispatcher hands the commands whose work lives in panes, players and dialogs that
// come with their own issues. Each method is named after the object that will do the work; until
// that object exists the method does nothing, so the vocabulary is fully routed today.
#include <string>

class QImage;
class QWidget;

namespace vitrina {

class TMainForm;

class TCommandTargets {
public:
    virtual ~TCommandTargets() = default;

    // The panes and popups are made while the window is built (after its screen widgets) and
    // go before the window's own widgets do.
    virtual void BuildPanes(TMainForm& form, QWidget* documentPanel) {}
    virtual void ReleasePanes() {}

    // Objects whose existence decides conditions of the vocabulary and the keys.
    virtual bool HtmlPanesExist() const { return false; }
    virtual bool PopupOwnerExists() const { return false; }
    virtual bool ClipPlayerExists() const { return false; }
    virtual bool SecondTreeExists() const { return false; }
    virtual bool AnyTreeVisible() const { return false; }
    virtual bool DialogVisible() const { return false; }

    // Contents trees (panes/).
    virtual void TreeSetPendingDocument(const std::string&) {}
    virtual void TreeSwitch(bool bringUpSecond) {}
    virtual void TreesShow(bool show) {}
    virtual void TreeNextChapter() {}
    virtual void TreePrevChapter() {}
    // Clip player and window clip (media/).
    virtual void ClipModeSwitch(bool moving) {}
    virtual void ClipCreate3d() {}
    virtual void ClipPause() {}
    virtual bool StartClip() { return false; }  // true: the clip shows the window when it ends
    // The window clip of the first screen (media/).
    virtual bool WindowClipExists() const { return false; }
    virtual bool WindowClipShown() const { return false; }
    virtual bool WindowClipPlaying() const { return false; }
    virtual bool WindowClipHaltedOrPaused() const { return false; }
    virtual bool WindowClipPausedByUser() const { return false; }
    virtual bool InsideWindowClip(int x, int y) const { return false; }
    virtual void ToggleClip() {}
    virtual void FreezeClip() {}
    virtual void ResumeClip() {}
    virtual void DrawFrozenFrame(QImage& background) {}
    virtual void ReleaseWindowClip() {}
    // About window, settings dialog, skinned dialog (dialogs/).
    virtual void ShowAbout() {}
    virtual void ShowOptions() {}
    virtual void ShowFindDialog() {}
    virtual void CloseFindDialog() {}
    virtual void ShowMessage(const std::string& text) {}
    virtual void CloseDialogKey() {}
    // Popup windows (dialogs/).
    virtual void OpenPopup(int type, int x, int y) {}
    virtual void ClosePopups() {}
    // HTML pane, history and favorites (panes/).
    virtual void AddToFavorites() {}
    virtual void HistoryBack() {}
    virtual void HistoryForward() {}
    virtual void OpenInArea(int number, const std::string& document) {}
    virtual void CopyHtml() {}
    virtual void PrintHtml() {}
    virtual void PrintHtmlDialog() {}
    virtual void TopHtml() {}
    virtual void SelectAllHtml() {}
    virtual bool ShowsArchivePage() const { return false; }
    // Find pane and thesaurus (panes/, search/).
    virtual void FindNext(int field) {}
    virtual void FindAcrossAll(bool all) {}
    virtual void Thesaurus(const std::string& word) {}
    // Standard window (panes/).
    virtual void StandardWindow() {}
    // Archives (archive/).
    virtual void ExtractArchive() {}
    // Music player and background music (media/).
    virtual void BackgroundMusic(bool on) {}
    virtual void PlayerPlay() {}
    virtual void PlayerStop() {}
    virtual void PlayerPause() {}
    virtual void PlayerStepForward() {}
    virtual void PlayerStepBack() {}
    virtual void PlayerClip(const std::string& file, const std::string& document) {}
    // Slide show (media/).
    virtual void NextPicture() {}
    virtual void PrevPicture() {}
    // Fonts and games (setup/).
    virtual void InstallFonts() {}
    virtual void RunGame(const std::string& setup, const std::string& key) {}
    virtual void RemoveGame(const std::string& key) {}
    // Help viewer (platform/): shows a topic of the help file by its identifier.
    virtual void ShowHelpTopic(const std::string& helpFile, const std::string& topic) {}
    // Screen change notices for panes, players, slides, popups and trees.
    virtual void ScreenChanged(int currentScreen) {}
};

}  // namespace vitrina
