#pragma once
// The fonts-folder object; installing the fonts of a folder comes with the fonts and games work.
#include <string>

namespace vitrina {

class TNavFont {
public:
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace vitrina
