#pragma once
// Copying from the HTML pane into the folder of the path box: a file a link names, the document
// on view with its pictures' folder, the selected entry of a drop-down list. Paths are Windows
// paths (1251); the drive map turns them into host paths.
#include <QString>

#include <string>
#include <vector>

#include "html/html_viewer.h"

namespace vitrina {

class TDriveMap;

enum class TCopyOutcome {
    Copied,
    NotOnDisk,  // the source is held only in the document store (or is no file): nothing copied
    Failed,     // the target cannot be named on the host, or the copy failed
    Refused,    // the source is a file of the host's (z:), not of the disc: nothing copied
};

class THtmlFileCopier {
public:
    explicit THtmlFileCopier(const TDriveMap& drives) : drives_(drives) {}

    // The file into the folder (with its trailing "\") under its own file name, over a file of
    // that name; missing folders are made. A source on z: is refused.
    TCopyOutcome CopyFileInto(const std::string& source, const std::string& folder) const;
    // The same for a document, with "<name>.files" beside it (its pictures, saved with the page)
    // copied beside the target with every file at its relative place.
    TCopyOutcome CopyDocumentInto(const std::string& document, const std::string& folder) const;

    // What a list-entry copy puts on the clipboard, in order: the selected item of every
    // drop-down list (one item shown) named so, ignoring case; other controls give nothing.
    static std::vector<QString> ListEntries(const std::vector<TFormControl>& controls, const std::string& name);

private:
    const TDriveMap& drives_;
};

}  // namespace vitrina
