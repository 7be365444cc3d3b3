#include "html/doc_page.h"

#include <QTimer>

#include "html/link_policy.h"

namespace vitrina {
namespace {

// Stands in for the new window: it sees the navigation the new window would make, hands the
// URL over and goes away without loading anything.
class TNewWindowCatcher : public QWebEnginePage {
public:
    TNewWindowCatcher(QWebEngineProfile* profile, TDocPage* owner) : QWebEnginePage(profile, owner), owner_(owner) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame && !done_) {
            done_ = true;
            if (owner_->OnNewWindowLink && TLinkPolicy::Route(url, true) != TLinkPolicy::TRoute::Refused) {
                // After this call returns: the handler may show windows or load documents.
                QTimer::singleShot(0, owner_, [owner = owner_, url] {
                    if (owner->OnNewWindowLink) owner->OnNewWindowLink(url);
                });
            }
            deleteLater();
        }
        return false;
    }

private:
    TDocPage* owner_;
    bool done_ = false;
};

}  // namespace

TDocPage::TDocPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

bool TDocPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    switch (TLinkPolicy::Route(url, type == NavigationTypeLinkClicked)) {
    case TLinkPolicy::TRoute::Engine:
        return true;
    case TLinkPolicy::TRoute::Refused:
        return false;
    case TLinkPolicy::TRoute::Pane:
        break;
    }
    // What the pane leaves to the engine, the engine still loads only when it is a document.
    const bool follow = !OnLinkClicked || OnLinkClicked(url, isMainFrame);
    return follow && TLinkPolicy::EngineMayLoad(url);
}

QWebEnginePage* TDocPage::createWindow(WebWindowType) { return new TNewWindowCatcher(profile(), this); }

void TDocPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                        const QString&) {
    if (!ScriptMarker.isEmpty() && message.startsWith(ScriptMarker) && OnScriptMessage)
        OnScriptMessage(message.mid(ScriptMarker.size()));
}

}  // namespace vitrina
