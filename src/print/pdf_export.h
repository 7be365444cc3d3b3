#pragma once
// --print-pdf: a document of the disc written to a PDF file as the preview would print it (at
// the start scale, with page numbers), without a window. For authors checking pages in bulk.
#include <filesystem>
#include <string>

namespace vitrina {

class TDriveMap;
class TUserFolders;

// document: a Windows path, a path relative to the disc's program folder, or a host file (1251);
// a picture is fitted to one sheet. 0 when written; otherwise error holds one line and the
// result is 1.
int PrintDocumentToPdf(TDriveMap& drives, const TUserFolders& folders, const std::string& document, bool picture,
                       const std::filesystem::path& out, std::string& error);

}  // namespace vitrina
