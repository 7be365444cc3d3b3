#pragma once
// What a clicked link does in the HTML pane, and what the pane says about a link under the
// pointer. Decided here without a window so every rule can be checked on its own; the pane
// carries the decision out.
#include <functional>
#include <string>

namespace vitrina {

enum class TLinkAction {
    None,            // nothing beyond what the decision's flags say
    PictureWindow,   // "_blank": show the file in a picture window (argument: file name)
    ShellOpenLink,   // web and mail links: the user's browser or mail program (argument: link)
    Print,           // "printhtml:": print that file
    CopyFile,        // "copy:": copy the source (argument) into the path input box's folder
    CopyListEntry,   // "copylist:": argument is the form control's name
    Command,         // "rungame:"/"delgame:": argument is the command for the dispatcher
    OpenDocument,    // open the argument in the current viewer (archive listing pages)
    SaveZip,         // ".zip": offer a save dialog for the file
    OpenArchivePage, // ".rar": argument is the archive, secondArgument the current document
    PlayMedia,       // ".wav": the music player plays the file
    RunProgram,      // ".exe"/".com": start the program in its folder
    ShellOpenFile,   // anything else: hand the file to the shell in its folder
};

struct TLinkContext {
    std::string target;       // target frame name
    std::string link;         // the link, absolute or relative to currentFile
    std::string currentFile;  // the current document
    std::string programDrive; // "d:\"
    bool archivePage = false; // the viewer shows an archive listing page
    std::function<bool(const std::string&)> fileExists;  // StoreFileExists
};

struct TLinkDecision {
    std::string resolved;       // the link expanded against the current document, lower case
    bool handled = false;       // false: the engine follows the link itself
    std::string visited;        // added to the visited links when not empty
    bool extractFirst = false;  // extract the archive's file (resolved) into the page folder first
    std::string treeFollows;    // the shown contents tree follows this document
    TLinkAction action = TLinkAction::None;
    std::string argument;
    std::string secondArgument;
};

// FollowLink's tests, in their order.
TLinkDecision DecideLink(const TLinkContext& context);

struct TLinkStatusContext {
    std::string target;
    std::string link;         // as written in the document
    std::string currentFile;  // the document holding the link
    bool archivePage = false;
    bool pathInputExists = false;
    std::string currentPath;  // the path input box's folder
    // Whether the game record of key holds the value (Part of the game installer).
    std::function<bool(const std::string& key, const std::string& value)> gameValuePresent;
};

// ShowLinkStatus: the status bar's text for a link under the pointer ("" shows nothing).
std::string LinkStatusText(const TLinkStatusContext& context);

}  // namespace vitrina
