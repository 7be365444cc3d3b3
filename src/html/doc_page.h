#pragma once
// The page that decides navigation: link clicks (main frame or frames) and new windows asked for
// by target "_blank" or window.open go to the viewer before the engine may follow them.
#include <QWebEnginePage>

#include <functional>

namespace vitrina {

class TDocPage : public QWebEnginePage {
public:
    explicit TDocPage(QWebEngineProfile* profile, QObject* parent = nullptr);

    // A link click: true lets the engine follow it.
    std::function<bool(const QUrl& url, bool isMainFrame)> OnLinkClicked;
    // A link meant for a new window; the engine never opens one itself.
    std::function<void(const QUrl& url)> OnNewWindowLink;
    // A message of the injected script (the marker already removed).
    std::function<void(const QString& message)> OnScriptMessage;
    // Console messages starting with this marker come from the injected script.
    QString ScriptMarker;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override;
};

}  // namespace vitrina
