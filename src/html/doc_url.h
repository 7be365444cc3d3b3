#pragma once
// Documents are addressed inside the engine by URLs of our own scheme: the drive letter is the
// host and the Windows path the URL path, so the engine resolves relative links (with "\" or
// "/") exactly as a Windows path would be joined. Paths and link texts are 1251 here.
#include <QUrl>

#include <string>
#include <string_view>

namespace vitrina {

inline constexpr char kDocScheme[] = "vitrina";

// "d:\html\page.htm#part" -> vitrina://d/html/page.htm#part. Invalid for a path without drive.
QUrl DocUrl(std::string_view windowsPath);
// The Windows path of one of our URLs, without fragment; empty for any other URL.
std::string DocPath(const QUrl& url);
// The link as the pane judges it, for a URL the engine resolved against the current document:
// our URLs give their Windows path (plus "#fragment"), a fragment of the current document
// gives "#fragment", "file:" and drive-letter URLs give Windows paths, anything else ("http:",
// "copy:", "rungame:" ...) its decoded text.
std::string LinkText(const QUrl& url, const QUrl& current);

// A link expanded against the current document into a full file name, the way the engine of
// the disc expands links: "file:" dropped, %XX decoded, then "/" as "\", "\..." from the drive root,
// relative links from the document's folder, "." and ".." folded. Links with a protocol other
// than a drive letter come back unchanged. A fragment is kept.
std::string ResolveLink(std::string_view link, std::string_view currentFile);

// "d:\" of "d:\html\x.htm"; empty when the name has no drive letter.
std::string DriveOf(std::string_view path);
// The last "." part of the file name ("" when there is none).
std::string ExtensionOf(std::string_view path);
// "http" of "http://x", "" for "d:\x" (a drive letter is no protocol) and for plain names.
std::string ProtocolOf(std::string_view link);

}  // namespace vitrina
