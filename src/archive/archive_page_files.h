#pragma once
// The pages that show an archive like a folder: a frameset, a column bar and a listing page per
// directory, as single-byte text with CR LF line ends. Names from the archive are escaped, so a
// member cannot put markup into the reader's document view.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QDateTime;
class QLocale;

namespace vitrina {

class TArchiveListing;
struct TRarPass;

struct TPageFile {
    std::string name;   // file name in the page folder
    std::string bytes;  // 1251
};

// The page folder's name for an archive path: "as_" + the path with its last "\", ":" or "."
// and then every "\" and ":" turned into "_".
std::string ArchivePageFolderName(std::string_view archivePath);
// "as_" + the archive's file name + ".htm".
std::string FramesetPageName(std::string_view archivePath);

// "999 байт", "2 Кбайт" (thousands of 1000, halves to even, the locale's digit grouping).
std::string ArchiveSizeText(std::uint32_t size, const QLocale& locale);
// "dd mmm yy hh:nn" with the locale's short month name; empty for 0 or a time that is no date.
std::string ArchiveTimeText(std::uint32_t dosTime, const QLocale& locale);
// A local date and time as a DOS date-time number (years 1980 to 2107).
std::uint32_t DosDateTime(const QDateTime& local);

// Text and attribute values from an archive: & < > " escaped.
std::string EscapeHtml(std::string_view text);

// The frameset page first, then the bar page, then one listing page per directory. now (a DOS
// date-time) makes the listing pages' names unique to this listing.
std::vector<TPageFile> ArchivePageFiles(const TArchiveListing& listing, const std::string& archivePath,
                                        std::uint32_t now, const QLocale& locale);

// Lists the archive of the pass and writes its pages into folder (the pass's archive name is the
// one the pages show). A listing that ends early still gives pages for what was read. Returns
// false when the listing showed a message.
bool WriteArchivePages(const TRarPass& list, std::uint32_t now, const QLocale& locale, const std::filesystem::path& folder,
                       const std::function<void(const std::string& message)>& onMessage);

}  // namespace vitrina
