#include "panes/follow_link.h"

#include "html/doc_url.h"
#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

bool Has(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// The link with its eighth character (the ":" of "rungame:"/"delgame:") removed.
std::string GameCommand(const std::string& link) {
    std::string command = link;
    if (command.size() > 7) command.erase(7, 1);
    return command;
}

std::string GameKey(const std::string& link) {
    const std::string command = GameCommand(link);
    const auto eq = command.rfind('=');
    return eq == std::string::npos ? std::string() : Trim(command.substr(eq + 1));
}

}  // namespace

TLinkDecision DecideLink(const TLinkContext& c) {
    TLinkDecision d;
    const std::string lower = LowerCase1251(c.link);
    const std::string resolved = LowerCase1251(ResolveLink(c.link, c.currentFile));
    const std::string ext = ExtensionOf(resolved);
    const bool anchor = !c.link.empty() && c.link[0] == '#';
    // The link kinds below are schemes: a path that holds "http:" or "rungame:" in a name (an
    // archive member's, say) is a path.
    const std::string protocol = ProtocolOf(c.link);
    const bool kind = !protocol.empty() && protocol != "file";
    auto exists = [&](const std::string& file) { return c.fileExists && c.fileExists(file); };
    d.resolved = resolved;

    if (SameText1251(c.target, "_blank")) {
        d.handled = true;
        d.visited = resolved;
        const std::string file = resolved.substr(0, resolved.find('#'));
        if (!exists(file)) return d;
        d.action = TLinkAction::PictureWindow;
        d.argument = file;
        return d;
    }
    // "https:" goes to the browser as well: the pane cannot show web pages.
    if (kind && (Has(lower, "http:") || Has(lower, "https:") || Has(lower, "mailto:"))) {
        d.handled = true;
        d.visited = resolved;
        d.action = TLinkAction::ShellOpenLink;
        d.argument = c.link;
        return d;
    }
    if (kind && Has(lower, "printhtml:")) {
        d.handled = true;
        std::string rest = c.link;
        if (const auto at = rest.find("printhtml:"); at != std::string::npos) rest.erase(at, 10);
        d.argument = ResolveLink(rest, c.currentFile);
        d.visited = d.argument;
        d.action = TLinkAction::Print;
        return d;
    }
    if (kind && Has(lower, "copy:")) {
        d.handled = true;
        d.visited = resolved;
        d.action = TLinkAction::CopyFile;
        d.argument = LowerCase1251(ResolveLink(c.link.size() > 5 ? c.link.substr(5) : "", c.currentFile));
        return d;
    }
    if (kind && Has(lower, "copylist:")) {
        d.handled = true;
        d.visited = resolved;
        d.action = TLinkAction::CopyListEntry;
        d.argument = c.link.size() > 9 ? c.link.substr(9) : "";
        return d;
    }
    if (kind && (Has(lower, "rungame:") || Has(lower, "delgame:"))) {
        d.handled = true;
        d.visited = resolved;
        d.action = TLinkAction::Command;
        d.argument = GameCommand(c.link);
        return d;
    }
    // Any other scheme is no document and nothing the program does, whatever its name ends in.
    if (kind) {
        d.handled = true;
        return d;
    }
    if (c.archivePage && !exists(resolved.substr(0, resolved.find('#'))) && !anchor) d.extractFirst = true;

    if (Has(ext, ".htm") || anchor || Has(ext, ".txt") || Has(ext, ".inf") || Has(ext, ".diz") ||
        Has(ext, ".bmp") || Has(ext, ".gif") || Has(ext, ".jpg") || Has(ext, ".jpeg")) {
        if (c.archivePage) {
            if (!Has(FileNamePart(resolved), "as_") && !anchor) {
                d.handled = true;
                d.action = TLinkAction::OpenDocument;
                d.argument = resolved;
            }
        } else if (ext.starts_with(".htm")) {
            d.treeFollows = resolved;
        }
        return d;
    }

    d.handled = true;
    d.visited = resolved;
    std::string file = resolved;
    const std::string drive = DriveOf(file);
    // Links written for another drive letter still reach the disc.
    if (!drive.empty() && !SameText1251(drive, c.programDrive) && !c.archivePage)
        file = LowerCase1251(c.programDrive) + file.substr(3);
    if (Has(ext, ".zip")) {
        d.action = TLinkAction::SaveZip;
    } else if (Has(ext, ".rar")) {
        d.action = TLinkAction::OpenArchivePage;
        d.secondArgument = c.currentFile;
    } else if (Has(ext, ".wav")) {
        d.action = TLinkAction::PlayMedia;
    } else if (Has(ext, ".exe") || Has(ext, ".com")) {
        d.action = TLinkAction::RunProgram;
    } else {
        d.action = TLinkAction::ShellOpenFile;
    }
    d.argument = file;
    return d;
}

std::string LinkStatusText(const TLinkStatusContext& c) {
    if (c.link.empty() || c.archivePage) return {};
    std::string text;
    const std::string protocol = ProtocolOf(c.link);
    auto present = [&](const std::string& value) {
        return c.gameValuePresent && c.gameValuePresent(GameKey(c.link), value);
    };
    if (c.link[0] == '#') {
        text = c.currentFile.substr(0, c.currentFile.find('#')) + c.link;
    } else if (!protocol.empty() && protocol != "file") {
        if (protocol == "copy") {
            const std::string source = LowerCase1251(ResolveLink(c.link.substr(5), c.currentFile));
            text = c.pathInputExists ? Utf8ToCp1251("Копирование файла \"") + source +
                                           Utf8ToCp1251("\" в каталог \"") + c.currentPath + "\""
                                     : source;
        } else if (protocol == "rungame") {
            text = Utf8ToCp1251(present("exename") ? "Запустить игру" : "Установить игру");
        } else if (protocol == "delgame") {
            text = Utf8ToCp1251(present("instdir") ? "Удалить игру" : "Игра не установлена");
        } else {
            text = c.link;
        }
    } else {
        text = LowerCase1251(ResolveLink(c.link, c.currentFile));
    }
    if (!Trim(c.target).empty()) return "Url: " + text + "  Target: " + c.target;
    return text;
}

}  // namespace vitrina
