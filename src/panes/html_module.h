#pragma once
// The program's HTML part — the web engine, the HTML pane, printing and the font dialog — is a
// module of its own, loaded when a document is first needed: linked into the program, the
// engine's libraries took a third of every start, a start screen without documents included.
// This header is all the program sees of it; it includes nothing of the engine.
#include <QRect>
#include <QSize>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "commands/html_commands.h"
#include "commands/print_commands.h"
#include "panes/html_frame_host.h"
#include "resources/screen_model.h"

class QWidget;

namespace vitrina {

class IArchivePages;
class IDialogCommands;
class IPlayerCommands;
class ISearchCommands;
class ISetupCommands;
class TDiscSession;
class TDriveMap;
class THistoryList;
class TUserFolders;
class TWindowDirectory;

// What the pane is made with: the disc, the window around it and the parts it hands work to
// (null while they do not exist).
struct THtmlPaneParts {
    TDiscSession& session;
    QWidget* window;         // the main window: parent of the viewers and the preview
    QWidget* documentPanel;  // the background panel of screen index 1, or null
    THtmlFrameHost& host;
    IArchivePages* archive = nullptr;
    IPlayerCommands* player = nullptr;
    ISetupCommands* setup = nullptr;
    ISearchCommands* search = nullptr;
    TWindowDirectory* windows = nullptr;
    // The skinned dialog for the printer warnings; null: message boxes.
    std::function<IDialogCommands*()> dialogs;
    // F1 in the print preview.
    std::function<void()> printHelp;
};

// The HTML pane, with every HTML area of every screen, and the printing of its documents: the
// dispatcher's commands for both, and what the window parts ask besides. "The current viewer" is
// the viewer of the current screen; without one, questions about it have empty answers and
// requests to it do nothing.
class IHtmlPane : public IHtmlCommands, public IPrintCommands {
public:
    // The current screen's viewer shown (made when first needed), the others hidden.
    virtual void ShowScreenViewer() = 0;
    // The find pane comes after the HTML pane: Enter in a document reaches it from then on.
    virtual void SetSearch(ISearchCommands* search) = 0;
    // A document in area number, without the visit group "html" presses.
    virtual void OpenInHtmlArea(int number, const std::string& document) = 0;
    virtual void GoToHistory(int index) = 0;
    // The selection alone to the clipboard.
    virtual void CopySelection() = 0;
    virtual void ChooseFonts() = 0;
    // The preview of the shown document (file empty) or of a file.
    virtual void Print(const std::string& file) = 0;
    // The next file printed is a picture, on one sheet, of that size (-1: the size asked before).
    virtual void MarkPicturePrint(int width, int height) = 0;
    // The standard window: the current viewer, unless hidden, fills its client area; and back.
    virtual void FitStandardWindow(QWidget* client) = 0;
    virtual void RestoreAreaBounds() = 0;

    // The current viewer as a widget (its place and visibility), or null.
    virtual QWidget* ActiveViewer() const = 0;
    virtual const THistoryList* History() const = 0;
    virtual bool Loading() const = 0;
    virtual int ScrollPosition() const = 0;
    virtual void SetScrollPosition(int y) = 0;
    // The size of the last picture loaded as a document.
    virtual QSize LastPictureSize() const = 0;
    virtual void Reload() = 0;
    // The current viewer shows document (its history entry when it has one); done runs once,
    // when it is there, could not be loaded, or after a while.
    virtual void BringDocument(const std::string& document, std::function<void()> done) = 0;
    // Finds text in the current viewer's frame named frame (the focused frame when empty), from
    // the frame's top when fromTop; done(found). False, and done not run, without a viewer.
    virtual bool FindInViewer(const std::string& frame, const QString& text, bool matchCase, bool fromTop,
                              std::function<void(bool)> done) = 0;
};

class IHtmlModule {
public:
    virtual ~IHtmlModule() = default;
    // The pane; null when there are no HTML areas.
    virtual std::unique_ptr<IHtmlPane> MakePane(const TDynamicHtmlArray& areas, const THtmlPaneParts& parts) = 0;
    // --print-pdf (see print/pdf_export.h).
    virtual int PrintDocumentToPdf(TDriveMap& drives, const TUserFolders& folders, const std::string& document,
                                   bool picture, const std::filesystem::path& out, std::string& error) = 0;
};

// The version of what crosses between the program and the module: this header and the classes
// it hands over. Raise it with every change to them; a module of another version is refused
// (the program and the module share objects by layout, and a stale one would crash).
inline constexpr int kHtmlModuleVersion = 1;

// The module's entry point. The program names the version it was built with, and the module
// writes its own to moduleVersion (a module from before the handshake writes nothing, so the
// program starts it at 0); on a difference the module returns null and the program refuses it.
// The first call that returns the module registers the document scheme with the engine, which
// must happen before the engine's first profile is made.
extern "C" IHtmlModule* VitrinaHtmlModule(int programVersion, int* moduleVersion);
using THtmlModuleEntry = IHtmlModule* (*)(int, int*);
inline constexpr const char* kHtmlModuleEntry = "VitrinaHtmlModule";

}  // namespace vitrina
