#pragma once
// Archive pages as the HTML pane asks for them: the pane's archive mark after each load, a page
// for an archive, and the archive unpacked beside its pages before a link into it is followed.
#include <string>

namespace vitrina {

class IArchivePages {
public:
    virtual ~IArchivePages() = default;
    // The pane's archive mark once it has loaded document, given the mark it had.
    virtual bool UpdateArchiveFlag(bool flag, const std::string& document) const = 0;
    virtual void ExtractIntoPageFolder() = 0;
    // A link to an archive (or an archive dropped on the window), from the document shown.
    virtual void OpenArchivePage(const std::string& archive, const std::string& document) = 0;
};

}  // namespace vitrina
