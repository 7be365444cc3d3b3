#include "archive/archive_page_files.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <utility>

#include "archive/archive_listing.h"
#include "archive/rar_pass.h"
#include "platform/cp1251.h"
#include "resources/windows_path.h"

namespace vitrina {

namespace {

constexpr char kFrameset[] =
    "<html> <head> <title>archivename</title> </head> <frameset rows=\"50,*\" frameborder=0> <frame "
    "src=\"as_bar.htm\" name=\"Top\"> <frame src=\"filename\" name=\"Bot\"> </frameset> </head> </html>";
constexpr char kPageHead[] =
    "<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"> "
    "<title>archivename</title> </head> <body bgcolor=\"#FFFFFF\" text=\"#000000\"> <table border=\"0\" "
    "cellpadding=3 width=\"100%\" cols=\"3\">";
constexpr char kColumnBar[] =
    "<table border cellpadding=3 width=\"100%\" cols=\"3\" bordercolor=\"#37ffcd\"> <tr> <th align=\"left\" "
    "width=\"50%\" nowrap>Имя</th> <th align=\"right\" width=\"25%\" nowrap>Размер</th> <th align=\"left\" "
    "width=\"25%\" nowrap>Дата</th> </tr>";
constexpr char kRowStart[] = "<tr> <td width=\"50%\"><a href=\"reffile\">";
constexpr char kRowName[] = "refname</a></td>";
constexpr char kRowEnd[] = "<td align=\"right\" width=\"25%\">size</td> <td width=\"25%\">time</td> </tr>";
constexpr char kPageEnd[] = "</table> </body> </html>";
constexpr char kLineEnd[] = "\r\n";

// Each placeholder's first place in the template takes its value. The places are found in the
// template itself, so a value that holds a later placeholder's word is left as it is.
std::string Fill(std::string_view templ, std::initializer_list<std::pair<std::string_view, std::string>> values) {
    std::vector<std::pair<std::size_t, const std::pair<std::string_view, std::string>*>> places;
    for (const auto& v : values)
        if (const auto at = templ.find(v.first); at != std::string_view::npos) places.push_back({at, &v});
    std::sort(places.begin(), places.end());
    std::string out;
    std::size_t from = 0;
    for (const auto& [at, v] : places) {
        if (at < from) continue;
        out.append(templ.substr(from, at - from)).append(v->second);
        from = at + v->first.size();
    }
    return out.append(templ.substr(from));
}

std::string Template(const char* utf8) { return Utf8ToCp1251(utf8); }

std::string Title(const std::string& archivePath) {
    return Utf8ToCp1251("Содержимое архива: ") + EscapeHtml(archivePath);
}

// A link target: a path relative to the page ("./" first, so that no scheme can be read from a
// member's name), the characters a URL reads as its own encoded, then the attribute escaped.
std::string LinkTarget(std::string_view target) {
    std::string encoded = "./";
    for (char c : target) {
        if (c == '#' || c == '%' || c == '?' || c == ':') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            encoded += hex;
        } else {
            encoded += c;
        }
    }
    return EscapeHtml(encoded);
}

std::string Row(const std::string& target, const std::string& text, const std::string& size, const std::string& time) {
    return Fill(Template(kRowStart), {{"reffile", LinkTarget(target)}}) + Fill(Template(kRowName), {{"refname", EscapeHtml(text)}}) +
           Fill(Template(kRowEnd), {{"size", size}, {"time", time}});
}

std::string TwoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

}  // namespace

std::string ArchivePageFolderName(std::string_view archivePath) {
    std::string name(archivePath);
    if (const auto last = name.find_last_of("\\:."); last != std::string::npos) name[last] = '_';
    for (char& c : name)
        if (c == '\\' || c == ':') c = '_';
    return "as_" + name;
}

std::string FramesetPageName(std::string_view archivePath) { return "as_" + FileNamePart(archivePath) + ".htm"; }

std::string ArchiveSizeText(std::uint32_t size, const QLocale& locale) {
    if (size <= 999) return std::to_string(size) + Utf8ToCp1251(" байт");
    const auto thousands = static_cast<qlonglong>(std::nearbyint(size / 1000.0));  // halves to even
    return Utf8ToCp1251(locale.toString(thousands).toStdString() + " Кбайт");
}

std::string ArchiveTimeText(std::uint32_t dosTime, const QLocale& locale) {
    const int year = 1980 + int(dosTime >> 25), month = int((dosTime >> 21) & 15), day = int((dosTime >> 16) & 31);
    const int hour = int((dosTime >> 11) & 31), minute = int((dosTime >> 5) & 63);
    if (dosTime == 0 || !QDate::isValid(year, month, day) || hour > 23 || minute > 59) return {};
    return TwoDigits(day) + " " + Utf8ToCp1251(locale.monthName(month, QLocale::ShortFormat).toStdString()) + " " +
           TwoDigits(year % 100) + " " + TwoDigits(hour) + ":" + TwoDigits(minute);
}

std::uint32_t DosDateTime(const QDateTime& local) {
    const QDate d = local.date();
    const QTime t = local.time();
    const int year = std::clamp(d.year(), 1980, 2107) - 1980;
    return std::uint32_t(year) << 25 | std::uint32_t(d.month()) << 21 | std::uint32_t(d.day()) << 16 |
           std::uint32_t(t.hour()) << 11 | std::uint32_t(t.minute()) << 5 | std::uint32_t(t.second() / 2);
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

bool WriteArchivePages(const TRarPass& list, std::uint32_t now, const QLocale& locale, const std::filesystem::path& folder,
                       const std::function<void(const std::string& message)>& onMessage) {
    TArchiveListing listing;
    const bool clean = RunRarPass(list, [&](const TRarEntry& entry) { listing.Add(entry); }, onMessage);
    listing.DeriveDirectories();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const TPageFile& page : ArchivePageFiles(listing, list.archiveName, now, locale)) {
        std::ofstream out(folder / page.name, std::ios::binary | std::ios::trunc);
        out << page.bytes;
    }
    return clean;
}

std::vector<TPageFile> ArchivePageFiles(const TArchiveListing& listing, const std::string& archivePath,
                                        std::uint32_t now, const QLocale& locale) {
    const std::vector<RInfoFiles> pages = listing.Pages("as_", std::to_string(now) + ".htm");
    std::vector<TPageFile> files;
    files.push_back({FramesetPageName(archivePath),
                     Fill(Template(kFrameset), {{"archivename", Title(archivePath)}, {"filename", pages[0].page}}) + kLineEnd});
    files.push_back({"as_bar.htm", Template(kPageHead) + kLineEnd + Template(kColumnBar) + kLineEnd + kPageEnd + kLineEnd});
    for (const RInfoFiles& page : pages) {
        std::string text = Fill(Template(kPageHead), {{"archivename", Title(archivePath)}}) + kLineEnd;
        for (const RListDir& d : page.dirs) text += Row(d.page, d.name, {}, ArchiveTimeText(d.time, locale)) + kLineEnd;
        for (const RListFiles& f : page.files)
            text += Row(f.name, ArchiveNameOf(f.name), ArchiveSizeText(f.size, locale), ArchiveTimeText(f.time, locale)) + kLineEnd;
        files.push_back({page.page, text + kPageEnd + kLineEnd});
    }
    return files;
}

}  // namespace vitrina
