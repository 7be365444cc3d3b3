// new: a starter source tree for an author. The sample disc's skin under the new disc's own
// title, and (with --from) a folder of HTML pages as its documents, with a contents tree made
// from their folders and titles, a contents page, chapter buttons and the keyword index.
#include <QFile>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "archive/archive_page_files.h"
#include "html/doc_mime.h"
#include "html/visible_text.h"
#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/read_bin.h"
#include "search/index_builder.h"
#include "subcommands.h"

namespace fs = std::filesystem;

namespace vitrina::disc {

namespace {

constexpr std::size_t kChapterButtons = 6;

// One line of a contents tree; text is UTF-8, the way an author writes descriptions.
struct TContentsLine {
    int level = 0;
    std::string document;  // "folder\page.htm", empty for a heading
    std::string caption;
};

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteHostFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string StarterTemplate(const QString& name) {
    QFile file(QStringLiteral(":/starter/") + name);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("the tool lacks its template " + name.toStdString());
    return file.readAll().toStdString();
}

std::string ReplaceAll(std::string text, const std::map<std::string, std::string>& values) {
    for (const auto& [key, value] : values) {
        for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
            text.replace(at, key.size(), value);
        }
    }
    return text;
}

// Descriptions find their keys by substring in lower-cased lines, so a value may hold none of
// the words that start a header entry or a section, nor the separators of keys and lists.
// A text that would be read as something else gives way to fallback.
std::string DescriptionValue(const std::string& utf8, const std::string& fallback) {
    static const char* const reserved[] = {"title", "codec", "rolic", "helpwin", "background", "icon",
                                           "bgsounddef", "vertexmain", "minimize", "close", "button",
                                           "switchone", "switchgrp", "_html", "_findtxt", "_path", "_clip",
                                           "_text", "_image", "_popup", "_screen"};
    std::string value;
    for (char c : utf8) {
        if (c == ';' || c == '[' || c == ']' || c == '=') continue;
        value += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    }
    value = Trim(value);
    const std::string lower = LowerAscii(value);
    for (const char* word : reserved) {
        if (lower.find(word) != std::string::npos) return fallback;
    }
    return value.empty() ? fallback : value;
}

// A chapter button holds about twelve letters; popup captions take neither "." nor "\".
std::string ButtonCaption(const std::string& utf8) {
    QString caption = QString::fromStdString(utf8);
    caption.replace(QLatin1Char('.'), QLatin1Char(' ')).replace(QLatin1Char('\\'), QLatin1Char(' '));
    caption = caption.simplified();
    if (caption.size() > 12) caption = caption.left(11).trimmed() + QChar(0x2026);
    return caption.toStdString();
}

// A page of links in Windows-1251, the documents' own encoding; levels become indents.
std::string LinkPage(const std::string& title, const std::vector<TContentsLine>& lines, int baseLevel) {
    std::string html = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                       "<title>" + EscapeHtml(title) + "</title></head>\n<body style=\"font-family: Arial, sans-serif\">\n"
                       "<h2>" + EscapeHtml(title) + "</h2>\n";
    for (const auto& line : lines) {
        html += "<p style=\"margin: 4px 0 4px " + std::to_string(24 * (line.level - baseLevel)) + "px\">";
        if (line.document.empty()) {
            html += "<b>" + EscapeHtml(line.caption) + "</b>";
        } else {
            std::string href = line.document;
            std::replace(href.begin(), href.end(), '\\', '/');
            html += "<a href=\"" + EscapeHtml(href) + "\">" + EscapeHtml(line.caption) + "</a>";
        }
        html += "</p>\n";
    }
    return Utf8ToCp1251(html + "</body></html>\n");
}

// Tree lines keep their case and are split at ";" only.
std::string TreeDescription(const std::vector<TContentsLine>& lines) {
    std::string text;
    for (const auto& line : lines) {
        std::string caption = line.caption;
        for (char& c : caption) {
            if (c == ';') c = ',';
            if (static_cast<unsigned char>(c) < 32) c = ' ';
        }
        text += std::string(static_cast<std::size_t>(line.level), '\t') + line.document + "; " + caption + "\n";
    }
    return text;
}

// A page that declares no charset is read as Windows-1251, as the discs' pages are; today's
// pages are mostly UTF-8, so one that is valid UTF-8 with letters beyond ASCII says so.
std::string DeclareUtf8(const std::string& page) {
    if (!DeclaredCharset(page).empty() || std::all_of(page.begin(), page.end(), [](char c) { return c >= 0; })) {
        return page;
    }
    const QByteArray bytes = QByteArray::fromStdString(page);
    if (QString::fromUtf8(bytes).toUtf8() != bytes) return page;
    const std::string meta = "<meta charset=\"utf-8\">";
    const std::size_t head = LowerAscii(page.substr(0, kContentHeadLength)).find("<head>");
    std::string marked = page;
    marked.insert(head == std::string::npos ? 0 : head + 6, meta);
    return marked;
}

bool IsPage(const fs::path& path) {
    const std::string extension = LowerAscii(path.extension().string());
    return extension == ".htm" || extension == ".html";
}

std::string WindowsForm(const fs::path& relative) {
    std::string name;
    for (const auto& part : relative) name += (name.empty() ? "" : "\\") + part.string();
    return name;
}

// The documents of FOLDER copied into documents/ as they lie (so their links keep working), and
// their contents: the pages at the top first, then one chapter per folder, a heading per
// folder below it. Regular files only: a link could lead anywhere.
class TDocumentTree {
public:
    TDocumentTree(const fs::path& from, const fs::path& documents) {
        std::vector<fs::path> files;
        for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator(); ++it) {
            if (it->is_symlink()) {
                it.disable_recursion_pending();
                continue;
            }
            if (it->is_regular_file()) files.push_back(fs::relative(it->path(), from));
        }
        std::sort(files.begin(), files.end());
        for (const auto& relative : files) {
            const std::string bytes = IsPage(relative) ? DeclareUtf8(ReadHostFile(from / relative))
                                                       : ReadHostFile(from / relative);
            WriteHostFile(documents / relative, bytes);
            names_.insert(LowerAscii(relative.string()));
            if (!IsPage(relative)) continue;
            std::string title = Cp1251ToUtf8(ExtractTitle(DocumentAs1251(bytes)));
            if (Trim(title).empty()) title = relative.stem().string();
            pages_.push_back({relative, title});
        }
    }

    bool Taken(const std::string& name) const { return names_.count(LowerAscii(name)) > 0; }
    std::vector<TContentsLine> TopPages() const {
        std::vector<TContentsLine> lines;
        for (const auto& page : pages_) {
            if (!page.path.has_parent_path()) lines.push_back({0, WindowsForm(page.path), page.title});
        }
        return lines;
    }
    std::vector<std::string> Folders() const {
        std::vector<std::string> folders;
        for (const auto& page : pages_) {
            if (!page.path.has_parent_path()) continue;
            const std::string top = page.path.begin()->string();
            if (std::find(folders.begin(), folders.end(), top) == folders.end()) folders.push_back(top);
        }
        return folders;
    }
    // The pages below a top-level folder, at level 1, with a heading for each folder below it.
    std::vector<TContentsLine> Chapter(const std::string& folder) const {
        std::vector<TContentsLine> lines;
        std::vector<std::string> shown = {folder};
        for (const auto& page : pages_) {
            if (!page.path.has_parent_path() || page.path.begin()->string() != folder) continue;
            std::vector<std::string> parts;
            for (const auto& part : page.path.parent_path()) parts.push_back(part.string());
            std::size_t same = 0;
            while (same < parts.size() && same < shown.size() && parts[same] == shown[same]) ++same;
            for (std::size_t depth = same; depth < parts.size(); ++depth) {
                lines.push_back({static_cast<int>(depth), "", parts[depth]});
            }
            shown = parts;
            lines.push_back({static_cast<int>(parts.size()), WindowsForm(page.path), page.title});
        }
        return lines;
    }
    std::vector<TContentsLine> Alphabet() const {
        std::vector<TContentsLine> pages;
        for (const auto& page : pages_) pages.push_back({1, WindowsForm(page.path), page.title});
        std::stable_sort(pages.begin(), pages.end(), [](const TContentsLine& a, const TContentsLine& b) {
            return QString::fromStdString(a.caption).compare(QString::fromStdString(b.caption), Qt::CaseInsensitive) < 0;
        });
        std::vector<TContentsLine> lines;
        QString letter;
        for (auto& page : pages) {
            const QString first = QString::fromStdString(page.caption).left(1).toUpper();
            if (first != letter) lines.push_back({0, "", (letter = first).toStdString()});
            lines.push_back(std::move(page));
        }
        return lines;
    }

private:
    struct TPage {
        fs::path path;
        std::string title;
    };
    std::vector<TPage> pages_;
    std::set<std::string> names_;
};

// The sample disc, installed beside the tool or built beside it in the build tree.
fs::path SkinDisc(const TArgs& args) {
    if (const std::string given = args.Option("--skin", ""); !given.empty()) return Cp1251ToUtf8(given);
    std::error_code error;
    const fs::path bin = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& candidate : {bin / "../share/vitrina/sample-disc", bin / "../../sample-disc"}) {
        if (fs::is_regular_file(candidate / "Vuv.dhl")) return candidate.lexically_normal();
    }
    throw EUsage("the sample disc is not beside the tool: name a disc whose skin to take with --skin");
}

// The title bar of the sample's screens carries its title as lettering: each row of that band
// is painted over with the colour of its own left end, for the new title to be written on it.
void ClearHeading(std::string& bmp) {
    auto number = [&](std::size_t at, int size) {
        std::int64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value * 256 + static_cast<unsigned char>(bmp[at + i]);
        return size == 4 && value >= 0x80000000LL ? value - 0x100000000LL : value;
    };
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0 || number(28, 2) != 24) return;
    const std::int64_t offset = number(10, 4), width = number(18, 4), height = number(22, 4);
    const std::int64_t rows = height < 0 ? -height : height, stride = (width * 3 + 3) / 4 * 4;
    constexpr std::int64_t kTop = 10, kBottom = 44, kLeft = 53, kRight = 676;
    if (width <= kRight || rows <= kBottom || offset + stride * rows > static_cast<std::int64_t>(bmp.size())) return;
    for (std::int64_t y = kTop; y < kBottom; ++y) {
        const std::int64_t row = offset + stride * (height > 0 ? rows - 1 - y : y);
        for (std::int64_t x = kLeft + 1; x < kRight; ++x) {
            for (int c = 0; c < 3; ++c) bmp[row + x * 3 + c] = bmp[row + kLeft * 3 + c];
        }
    }
}

// Every picture the descriptions name, the window's, the dialogs' and the progress bar's, from
// the skin disc's container; the screens without the sample's title.
void CopySkin(const fs::path& disc, const fs::path& skin, const std::string& descriptions) {
    TReadBin container;
    try {
        container.Open(disc / "Vuv.dhl");
    } catch (const EContainerError& e) {
        throw EUsage("cannot read the skin of " + disc.string() + ": " + e.what());
    }
    std::string dialog;
    if (container.ReadBuffer("Dialog.cfs", dialog) < 0) throw EUsage("the skin disc has no Dialog.cfs");
    std::string dialogText;
    for (const auto& line : DecodeDescription(dialog, false)) dialogText += Cp1251ToUtf8(line) + "\n";
    WriteHostFile(skin / "Dialog.cfs", dialogText);

    std::set<std::string> pictures = {"status_up.bmp", "status_dn.bmp"};
    const std::string all = descriptions + dialogText;
    static const std::regex name(R"([A-Za-z0-9_\-]+\.(bmp|ico))", std::regex::icase);
    for (auto it = std::sregex_iterator(all.begin(), all.end(), name); it != std::sregex_iterator(); ++it) {
        pictures.insert(it->str());
    }
    static const std::regex screen(R"(_screen=([A-Za-z0-9_\-]+\.bmp))", std::regex::icase);
    std::set<std::string> screens;
    for (auto it = std::sregex_iterator(descriptions.begin(), descriptions.end(), screen); it != std::sregex_iterator(); ++it) {
        screens.insert((*it)[1].str());
    }
    for (const auto& picture : pictures) {
        std::string bytes;
        if (container.ReadBuffer(picture, bytes) < 0) continue;
        if (screens.count(picture)) ClearHeading(bytes);
        WriteHostFile(skin / picture, bytes);
    }
}

void CopySounds(const fs::path& disc, const fs::path& files) {
    if (!fs::is_directory(disc / "sounds")) return;
    for (const auto& entry : fs::directory_iterator(disc / "sounds")) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            WriteHostFile(files / "sounds" / entry.path().filename(), ReadHostFile(entry.path()));
        }
    }
}

std::string FreeName(const TDocumentTree* tree, const std::string& stem) {
    for (int n = 0;; ++n) {
        const std::string name = stem + (n ? "_" + std::to_string(n) : "") + ".htm";
        if (!tree || !tree->Taken(name)) return name;
    }
}

}  // namespace

int NewCommand(const TArgs& args) {
    args.ExpectCount(1);
    const fs::path source = Cp1251ToUtf8(args.At(0, "SOURCE"));
    if (fs::exists(source) && !(fs::is_directory(source) && fs::is_empty(source))) {
        throw EUsage(source.string() + " exists and is not an empty folder");
    }
    const std::string fromOption = args.Option("--from", "");
    const fs::path from = Cp1251ToUtf8(fromOption);
    if (!fromOption.empty() && !fs::is_directory(from)) throw EUsage("no folder " + from.string());
    const fs::path disc = SkinDisc(args);
    if (!fs::is_regular_file(disc / "Vuv.dhl")) throw EUsage("no Vuv.dhl in " + disc.string());

    const fs::path named = fs::absolute(fromOption.empty() ? source : from).lexically_normal();
    const std::string defaultTitle = named.has_filename() ? named.filename().string() : named.parent_path().filename().string();
    const std::string title = DescriptionValue(Cp1251ToUtf8(args.Option("--title", Utf8ToCp1251(defaultTitle))), "Новый диск");

    const fs::path documents = source / "documents";
    fs::create_directories(documents);
    std::optional<TDocumentTree> tree;
    if (!fromOption.empty()) tree.emplace(from, documents);
    const TDocumentTree* pages = tree ? &*tree : nullptr;

    // The contents: the page itself, the pages at the top, then a chapter page per folder.
    const std::string contents = FreeName(pages, "soderzhanie");
    std::vector<TContentsLine> lines = {{0, contents, "Содержание"}};
    std::vector<TContentsLine> chapters;
    if (pages) {
        for (const auto& page : pages->TopPages()) chapters.push_back(page);
        int number = 0;
        for (const auto& folder : pages->Folders()) {
            const TContentsLine chapter{0, FreeName(pages, "glava" + std::to_string(++number)), folder};
            const auto chapterLines = pages->Chapter(folder);
            WriteHostFile(documents / chapter.document, LinkPage(folder, chapterLines, 1));
            chapters.push_back(chapter);
            lines.push_back(chapter);
            lines.insert(lines.end(), chapterLines.begin(), chapterLines.end());
        }
        const auto top = pages->TopPages();
        lines.insert(lines.begin() + 1, top.begin(), top.end());
    }
    if (chapters.empty()) {
        const TContentsLine first{0, FreeName(pages, "nachalo"), "Первая страница"};
        WriteHostFile(documents / first.document,
                      Utf8ToCp1251("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                   "charset=windows-1251\"><title>Первая страница</title></head>\n"
                                   "<body style=\"font-family: Arial, sans-serif\"><h2>" + EscapeHtml(title) +
                                   "</h2>\n<p>Положите страницы диска в папку documents и впишите их в "
                                   "skin/tree1.cfs.</p></body></html>\n"));
        chapters.push_back(first);
        lines.push_back(first);
    }
    WriteHostFile(documents / contents, LinkPage("Содержание", std::vector(lines.begin() + 1, lines.end()), 0));

    std::string buttons, captions, commands;
    for (std::size_t i = 0; i < chapters.size() && i < kChapterButtons; ++i) {
        const std::string caption = DescriptionValue(ButtonCaption(chapters[i].caption), "Глава " + std::to_string(i + 1));
        const int letters = QString::fromStdString(caption).size();
        buttons += ReplaceAll(StarterTemplate("ChapterButton.cfs"),
                              {{"@VX@", std::to_string(31 + 111 * i)},
                               {"@TX@", std::to_string(std::max(4, (98 - 7 * letters) / 2))},
                               {"@CAPTION@", caption},
                               {"@DOCUMENT@", chapters[i].document}});
        captions += (i ? "; " : "") + caption;
        commands += (i ? "; screen2=" : "screen2=") + chapters[i].document;
    }
    const std::map<std::string, std::string> values = {{"@TITLE@", title},
                                                       {"@CONTENTS@", contents},
                                                       {"@CHAPTERS@\n", buttons},
                                                       {"@CHAPTER_CAPTIONS@", captions},
                                                       {"@CHAPTER_COMMANDS@", commands}};
    const fs::path skin = source / "skin";
    const std::string structText = ReplaceAll(StarterTemplate("Struct.cfs"), values);
    const std::string aboutText = ReplaceAll(StarterTemplate("About.cfs"), values);
    WriteHostFile(skin / "Struct.cfs", structText);
    WriteHostFile(skin / "About.cfs", aboutText);
    WriteHostFile(skin / "tree1.cfs", TreeDescription(lines));
    if (pages) WriteHostFile(skin / "tree2.cfs", TreeDescription(pages->Alphabet()));
    CopySkin(disc, skin, structText + aboutText);

    const fs::path files = source / "files";
    CopySounds(disc, files);
    const TIndexFiles index = BuildIndexFromFolder(documents);
    WriteHostFile(files / "keywords.idx", index.keywords);
    WriteHostFile(files / "index.idx", index.index);
    WriteHostFile(files / "files.idx", index.files);
    return kOk;
}

}  // namespace vitrina::disc
