#include "html/link_policy.h"

#include "html/doc_url.h"

namespace vitrina {
namespace {

// The link kinds the pane carries out; "file:" and drive letters name documents as paths.
bool IsOwnLinkKind(const QUrl& url) {
    static const QStringList kKinds = {"http", "https", "mailto", "printhtml", "copy", "copylist", "rungame", "delgame", "file"};
    const QString scheme = url.scheme().toLower();
    return scheme.size() == 1 || kKinds.contains(scheme);
}

}  // namespace

TLinkPolicy::TRoute TLinkPolicy::Route(const QUrl& url, bool linkClick) {
    if (linkClick) return url.scheme() == QLatin1String(kDocScheme) || IsOwnLinkKind(url) ? TRoute::Pane : TRoute::Refused;
    return EngineMayLoad(url) ? TRoute::Engine : TRoute::Refused;
}

bool TLinkPolicy::EngineMayLoad(const QUrl& url) {
    if (url.scheme() == QLatin1String(kDocScheme)) return true;
    return url.scheme() == QLatin1String("about") && (url.path() == QLatin1String("blank") || url.path() == QLatin1String("srcdoc"));
}

void TLinkPolicy::ReaderInput() { pressed_.clear(); }

void TLinkPolicy::LinkPressed(const QUrl& url) {
    pressed_ = url;
    since_.start();
}

bool TLinkPolicy::TakePermit(const QUrl& url) {
    // The navigation of a press follows it at once; a link the page clicks much later on its own
    // (after stopping the reader's) is not the reader's.
    constexpr qint64 kPressLastsMs = 2000;
    if (pressed_.isEmpty() || since_.elapsed() >= kPressLastsMs) return false;
    if (pressed_.adjusted(QUrl::NormalizePathSegments) != url.adjusted(QUrl::NormalizePathSegments)) return false;
    pressed_.clear();
    return true;
}

}  // namespace vitrina
