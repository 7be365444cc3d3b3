#pragma once
// Archive pages as the HTML pane asks for them: which documents are archive pages, a page for
// an archive, and a member unpacked before a link into it is followed.
#include <string>

namespace vitrina {

class IArchivePages {
public:
    virtual ~IArchivePages() = default;
    virtual bool IsArchivePage(const std::string& file) const = 0;
    virtual void ExtractArchive(const std::string& file) = 0;
    virtual void OpenArchivePage(const std::string& file, const std::string& document) = 0;
};

}  // namespace vitrina
