#include "html/doc_url.h"

#include <cctype>

#include "platform/cp1251.h"
#include "resources/description.h"
#include "resources/windows_path.h"

namespace vitrina {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string Utf8PathTo1251(const QString& path) { return BackslashPath(Utf8ToCp1251(path.toUtf8().toStdString())); }

}  // namespace

QUrl DocUrl(std::string_view windowsPath) {
    std::string_view path = windowsPath;
    std::string fragment;
    if (const auto hash = path.find('#'); hash != std::string_view::npos) {
        fragment = std::string(path.substr(hash + 1));
        path = path.substr(0, hash);
    }
    if (!HasDrive(path)) return {};
    std::string rest(path.substr(2));
    for (char& c : rest)
        if (c == '\\') c = '/';
    if (rest.empty() || rest[0] != '/') rest.insert(rest.begin(), '/');
    QUrl url;
    url.setScheme(kDocScheme);
    url.setHost(QString(QChar(std::tolower(static_cast<unsigned char>(path[0])))));
    url.setPath(QString::fromUtf8(Cp1251ToUtf8(rest)), QUrl::DecodedMode);
    if (windowsPath.find('#') != std::string_view::npos)
        url.setFragment(QString::fromUtf8(Cp1251ToUtf8(fragment)), QUrl::DecodedMode);
    return url;
}

std::string DocPath(const QUrl& url) {
    if (url.scheme() != kDocScheme || url.host().size() != 1) return {};
    std::string path = Utf8PathTo1251(url.path(QUrl::FullyDecoded));
    if (path.empty()) path = "\\";
    return url.host().toStdString() + ":" + path;
}

std::string LinkText(const QUrl& url, const QUrl& current) {
    const QString scheme = url.scheme();
    if (scheme == kDocScheme) {
        std::string path = DocPath(url);
        if (!url.hasFragment()) return path;
        const std::string fragment = Utf8ToCp1251(url.fragment(QUrl::FullyDecoded).toUtf8().toStdString());
        if (SameText1251(path, DocPath(current))) return "#" + fragment;
        return path + "#" + fragment;
    }
    if (scheme == "file") {
        std::string path = Utf8PathTo1251(url.path(QUrl::FullyDecoded));
        if (path.size() >= 3 && path[0] == '\\' && HasDrive(path.substr(1))) return path.substr(1);
        return "z:" + path;
    }
    std::string text = Utf8ToCp1251(QUrl::fromPercentEncoding(url.toEncoded()).toUtf8().toStdString());
    return scheme.size() == 1 ? BackslashPath(text) : text;
}

std::string ResolveLink(std::string_view link, std::string_view currentFile) {
    std::string text = Trim(link);
    if (text.size() >= 5 && LowerAscii(text.substr(0, 5)) == "file:") {
        std::string rest = text.substr(5);
        std::size_t slashes = 0;
        while (slashes < rest.size() && (rest[slashes] == '/' || rest[slashes] == '\\')) ++slashes;
        if (HasDrive(std::string_view(rest).substr(slashes)))
            text = rest.substr(slashes);
        else
            text = slashes ? "\\" + rest.substr(slashes) : rest;
    }
    if (!ProtocolOf(text).empty()) return text;

    std::string fragment;
    if (const auto hash = text.find('#'); hash != std::string::npos) {
        fragment = text.substr(hash);
        text.erase(hash);
    }
    // Decoded first: an encoded separator is read as one, never kept inside a name.
    text = BackslashPath(PercentDecode(text));

    std::string current(currentFile.substr(0, currentFile.find('#')));
    if (text.empty()) return current + fragment;
    if (HasDrive(text)) return FoldPath(text) + fragment;
    if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') return text + fragment;
    if (!HasDrive(current)) return FolderPart(current) + text + fragment;
    if (text[0] == '\\') return FoldPath(current.substr(0, 2) + text) + fragment;
    return FoldPath(FolderPart(current) + text) + fragment;
}

std::string DriveOf(std::string_view path) {
    if (!HasDrive(path)) return {};
    return LowerAscii(path.substr(0, 2)) + "\\";
}

std::string ExtensionOf(std::string_view path) {
    const std::string name = FileNamePart(path.substr(0, path.find('#')));
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ProtocolOf(std::string_view link) {
    const auto colon = link.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(link[0])) return {};
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = link[i];
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return {};
    }
    return LowerAscii(link.substr(0, colon));
}

}  // namespace vitrina
