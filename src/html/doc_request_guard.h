#pragma once
// Keeps documents off the network: every request a page makes (a page, frame, style, script,
// picture, fetch, XHR, web socket, prefetch, ping) whose scheme is not the document scheme is
// refused before it leaves. "file:" is refused with the rest; links the reader clicks to the web
// or to mail are handed to the desktop by the page before any request is made.
#include <QWebEngineUrlRequestInterceptor>

namespace vitrina {

class TDocRequestGuard : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace vitrina
